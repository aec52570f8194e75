#pragma once
// The names a Forth document defines with ":", found in the converter's output (comments gone,
// words separated by blanks), for the highlighter's local words.
#include <string_view>
#include "platform/StringList.h"

/// Adds to Result the word after each ":" that opens a definition; a ":" met inside a definition
/// (before its ";") starts nothing. A word is a run of bytes above 32.
void ScanLocalWords(std::string_view ConvertedText, TStringList& Result);
