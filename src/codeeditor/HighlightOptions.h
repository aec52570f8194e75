#pragma once
// The code editor's colour options on the Forth highlighter.
#include "highlighter/NibHighlighterTavlo.h"
#include "platform/StringList.h"
#include "settings/ConfigUnit.h"

/// Switches highlighting on or off, colours the keyword, comment, number, string, symbol and
/// identifier attributes (plain style), sets the numeric base, and takes KeyWords as the keyword
/// list. The list is filled without the highlighter's change notification; the attributes notify.
void ApplyEditorHighlightOptions(const TConfigTermOptions& Options, const TStringList& KeyWords,
                                 TNibTavloHighlighter& Highlighter);
