#pragma once
// Which actions stand on which menu and tool bar, in which order: the model the bars are built
// from, and its layout file. The file is UTF-8 text, one line per item:
//   "Tavlo layout 1"      first line, the format
//   "bar <name>"          starts a menu bar or tool bar
//   "menu <caption>"      starts a sub-menu inside the current bar or menu, closed by "end"
//   "action <name>"       an action, by its name
//   "-"                   a separator
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include "platform/Text.h"

enum class TLayoutItemKind : std::uint8_t { liAction, liSeparator, liSubMenu };

/// One entry of a bar or menu: an action (Name is its name), a separator, or a sub-menu (Name is
/// its caption, Items what it holds).
struct TLayoutItem {
    TLayoutItemKind Kind = TLayoutItemKind::liAction;
    UnicodeString Name;
    std::vector<TLayoutItem> Items;
    friend bool operator==(const TLayoutItem&, const TLayoutItem&) = default;
};

/// A menu bar or tool bar and its items in order.
struct TActionBarLayout {
    UnicodeString Name;
    std::vector<TLayoutItem> Items;
    friend bool operator==(const TActionBarLayout&, const TActionBarLayout&) = default;
};

struct TActionLayout {
    std::vector<TActionBarLayout> Bars;
    friend bool operator==(const TActionLayout&, const TActionLayout&) = default;
};

/// Tells whether an action of that name exists in the program.
using TActionExists = std::function<bool(std::u16string_view name)>;

std::string LayoutToText(const TActionLayout& layout);
/// Nothing when the text is malformed; actions that do not exist are skipped.
std::optional<TActionLayout> LayoutFromText(std::string_view text, const TActionExists& actionExists);

/// Saves through a temporary file, so the old layout survives a failure. Empty on success, else
/// the reason.
UnicodeString SaveLayoutFile(const TActionLayout& layout, const UnicodeString& fileName);
/// Nothing when the file is missing, unreadable or malformed.
std::optional<TActionLayout> LoadLayoutFile(const UnicodeString& fileName, const TActionExists& actionExists);

/// True when the user's layout file exists and is newer than the program file, so it was made for
/// this program's actions. A time that cannot be read counts as 0.
bool UserLayoutIsCurrent(const UnicodeString& layoutFileName, const UnicodeString& programFileName);
