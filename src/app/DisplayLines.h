#pragma once
// The terminal screen as plain text: for Save Display and the snapshot viewer.
#include "platform/StringList.h"
#include "terminal/SimpleTerminal.h"

/// One line per used row up to the last row that shows a character; each line without trailing
/// blanks and control characters.
void GetDisplayLines(const TSimpleTerminal& terminal, TStringList& Lines);

/// Writes the screen's lines to a text file (8-bit text, CR LF after each line), replacing an old
/// file only once the new one is complete. Returns why it failed, or empty on success.
UnicodeString SaveDisplayText(const TSimpleTerminal& terminal, const UnicodeString& fileName);
