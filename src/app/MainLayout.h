#pragma once
// The main window's menu bar and tool bar as designed: one table of rows in the order of the
// layout file, so that new actions take their place by adding a row.
#include "platform/ActionLayout.h"

enum class TDesignRowKind : std::uint8_t { drBar, drMenu, drEnd, drAction, drSeparator };

/// One row of the designed layout: a bar, a sub-menu (closed by drEnd), an action, a separator.
struct TDesignRow {
    TDesignRowKind Kind;
    const char16_t* Name = u"";
};

/// The names of the menu bar and of the window's tool bar.
inline constexpr const char16_t* MainMenuBarName = u"Main Menu";
inline constexpr const char16_t* MainToolBarName = u"Tool Bar";
/// The Block Manager page's own tool bars, left and right of its grid: the terminal's tool bar
/// would otherwise carry page actions that are disabled on every other page.
inline constexpr const char16_t* BlockToolBarName = u"Block Tool Bar";
inline constexpr const char16_t* LineToolBarName = u"Line Tool Bar";

/// The designed layout built from its table.
TActionLayout DesignedLayout();
