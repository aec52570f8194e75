#pragma once
// The names a Forth document defines with ":", for the highlighter's local words.
#include <vector>
#include "editor/NibEditTextBuffer.h"

/// The word after each ":" that opens a definition, in the order met. The document is read as the
/// block converter reads it with every layout option off: as the 8-bit bytes it saves as, comments
/// dropped, defining words and string words glued to what follows them, each token as a block holds
/// it. A ":" met inside a definition (before its ";") starts nothing. PairedWords are the document's
/// own defining words. Reads the lines in place, in one pass.
/// Names holds the names of the previous scan and is given the new ones; true when they differ.
bool ScanLocalWords(const TNibEditStringList& Lines, const TStringList& PairedWords, std::vector<UnicodeString>& Names);
