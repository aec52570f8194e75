#pragma once
// Forth source text into Forth blocks of 1024 bytes (16 lines of 64). The source is read word by
// word: comments are dropped, words that belong together stay together (a defining word and its
// name, a string word and its string), and the words are packed into lines with one blank between
// them. The source's own line layout is not kept.
#include <string>
#include <string_view>
#include "platform/StringList.h"
#include "platform/Text.h"

/// Builds the converter's word lists (comment, name, string and definition words), so that the
/// first conversion does not pay for it; the program calls it at start-up.
void InitTextToBlockWords();

/// The caption line of block N (1-based): empty for an empty caption; ".( caption )" for the first
/// block or when only the first block gets one; else numbered, as ".( caption  N )" when
/// CaptionPrintableAll, or as the comment "( caption  N )". The caption is cut to 54 characters.
AnsiString CaptionText(const UnicodeString& Caption, int N, bool CaptionAllBlocks, bool CaptionPrintableAll);

/// Converts Source into whole blocks, one after the other; no block at all when the source holds
/// no word outside comments.
/// - Caption: names the document on the first line of the first block, or of every block when
///   CaptionAllBlocks; empty for none.
/// - CompileStartsLine: each definition (":", ":NONAME", "DOES>") starts a new line.
/// - WordWrap: a word that would reach the end of its line starts the next one.
/// - PairedWords: the document's own defining words, whose next word stays with them.
/// A word too long for an empty block is cut to fit, so every conversion ends.
std::string ConvertTextToBlocks(const UnicodeString& Caption, std::string_view Source, bool CompileStartsLine,
                                bool WordWrap, bool CaptionAllBlocks, bool CaptionPrintableAll,
                                const TStringList& PairedWords);
