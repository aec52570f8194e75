#include "platform/ActionLayout.h"

#include "platform/FileReplacement.h"
#include "platform/Folders.h"

namespace {

constexpr std::string_view FormatLine = "Tavlo layout 1";

void AppendItems(std::string& out, const std::vector<TLayoutItem>& items)
{
    for (const TLayoutItem& item : items) {
        switch (item.Kind) {
        case TLayoutItemKind::liAction: out += "action " + ToUtf8(item.Name) + "\r\n"; break;
        case TLayoutItemKind::liSeparator: out += "-\r\n"; break;
        case TLayoutItemKind::liSubMenu:
            out += "menu " + ToUtf8(item.Name) + "\r\n";
            AppendItems(out, item.Items);
            out += "end\r\n";
            break;
        }
    }
}

/// The text after "keyword " when line starts with it.
std::optional<std::string_view> After(std::string_view line, std::string_view keyword)
{
    if (line.size() <= keyword.size() || line.substr(0, keyword.size()) != keyword || line[keyword.size()] != ' ')
        return std::nullopt;
    return line.substr(keyword.size() + 1);
}

} // namespace

std::string LayoutToText(const TActionLayout& layout)
{
    std::string out(FormatLine);
    out += "\r\n";
    for (const TActionBarLayout& bar : layout.Bars) {
        out += "bar " + ToUtf8(bar.Name) + "\r\n";
        AppendItems(out, bar.Items);
    }
    return out;
}

std::optional<TActionLayout> LayoutFromText(std::string_view text, const TActionExists& actionExists)
{
    TActionLayout layout;
    // The item lists being filled: the current bar's, then one per open sub-menu.
    std::vector<std::vector<TLayoutItem>*> open;
    bool first = true;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (first) {
            if (line != FormatLine) return std::nullopt;
            first = false;
            continue;
        }
        if (line.empty()) continue;
        if (auto name = After(line, "bar")) {
            if (open.size() > 1) return std::nullopt;
            layout.Bars.push_back({FromUtf8(*name), {}});
            open.assign(1, &layout.Bars.back().Items);
            continue;
        }
        if (open.empty()) return std::nullopt;
        std::vector<TLayoutItem>& items = *open.back();
        if (auto name = After(line, "action")) {
            UnicodeString action = FromUtf8(*name);
            if (actionExists(action)) items.push_back({TLayoutItemKind::liAction, action, {}});
        } else if (line == "-") {
            items.push_back({TLayoutItemKind::liSeparator, {}, {}});
        } else if (auto caption = After(line, "menu")) {
            items.push_back({TLayoutItemKind::liSubMenu, FromUtf8(*caption), {}});
            open.push_back(&items.back().Items);
        } else if (line == "end" && open.size() > 1) {
            open.pop_back();
        } else {
            return std::nullopt;
        }
    }
    if (first || open.size() > 1) return std::nullopt;
    return layout;
}

UnicodeString SaveLayoutFile(const TActionLayout& layout, const UnicodeString& fileName)
{
    return SaveFileSafely(fileName, LayoutToText(layout));
}

std::optional<TActionLayout> LoadLayoutFile(const UnicodeString& fileName, const TActionExists& actionExists)
{
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes)) return std::nullopt;
    return LayoutFromText(bytes, actionExists);
}

bool UserLayoutIsCurrent(const UnicodeString& layoutFileName, const UnicodeString& programFileName)
{
    if (!FileExists(layoutFileName)) return false;
    return FileModifiedTime(layoutFileName).value_or(0) > FileModifiedTime(programFileName).value_or(0);
}
