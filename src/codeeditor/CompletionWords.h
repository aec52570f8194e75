#pragma once
// The code editor's completion words: the word file beside the program, one entry a line, the word
// optionally followed by a blank and a description.
#include <string_view>
#include "platform/StringList.h"
#include "platform/Text.h"

/// The word file of a program in ProgramFolder: "ForthWords.txt" beside the program file, else the
/// one an installation keeps in ../share/tavlo-terminal/; the one beside when neither exists.
UnicodeString ForthWordsFileIn(const UnicodeString& ProgramFolder);
/// The running program's word file.
UnicodeString ForthWordsFileName();

/// S with each backslash doubled, so that it shows as itself in formatted completion text.
UnicodeString EscapeCompletionText(std::u16string_view S);

/// The formatted completion item of a word: the word in bold, then its description.
UnicodeString CompletionItemText(std::u16string_view Word, std::u16string_view Description);

/// Splits a word-file line into its word and description, both trimmed; false for a blank line.
bool SplitCompletionLine(std::u16string_view Line, UnicodeString& Word, UnicodeString& Description);

/// Adds every entry of the word file to both lists: the word to InsertList, the item text to
/// ItemList. Entries come in sorted order and a line repeated (ignoring case) counts once. A file
/// that is missing or cannot be read adds nothing.
void LoadCompletionWordFile(const UnicodeString& FileName, TStringList& InsertList, TStringList& ItemList);
