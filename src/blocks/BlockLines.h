#pragma once
// The Block Manager's lines: a Forth block is 16 lines of 64 characters, and every loader brings
// its lines into that shape with WrapBlockLines.
#include "platform/StringList.h"
#include "platform/Text.h"

/// Characters in one line of a block, lines in one block, bytes in one block.
constexpr int BlockLineLength = 64;
constexpr int BlockLinesPerBlock = 16;
constexpr int BlockSize = BlockLineLength * BlockLinesPerBlock;

/// Splits the head off a line: a line of at most 64 characters is the head whole and leaves S
/// empty; a longer one breaks after the last blank within its first 64 characters (the head is
/// right-trimmed, the rest stays in S untrimmed); with no blank there, the head is the whole
/// over-long line and S becomes empty.
UnicodeString SplitBlockLine(UnicodeString& S);

/// Right-trims every line and breaks each longer than 64 characters with SplitBlockLine, in time
/// that grows with the length of the text; the first piece keeps the line's object. An over-long
/// line that cannot be broken stays whole, followed by one inserted empty line. Lines must not be
/// sorted.
void WrapBlockLines(TStringList& Lines);

/// True when no line is longer than 64 characters, so the lines can be stored as a block file.
bool BlockLinesFit(const TStringList& Lines);
