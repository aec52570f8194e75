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

/// The names of the menu bar and of the tool bar.
inline constexpr const char16_t* MainMenuBarName = u"Main Menu";
inline constexpr const char16_t* MainToolBarName = u"Tool Bar";

/// The designed layout built from its table.
TActionLayout DesignedLayout();
