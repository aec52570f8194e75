#pragma once
// Where the current line stands in the block file, as the Block Manager's status bar shows it.
#include "platform/Text.h"

/// The status bar's panels that change; the others are labels.
enum TBlockStatusPanel : int {
    spLine = 1, spLines = 2, spBlock = 4, spBlocks = 5, spLineInBlock = 7, spFileName = 9
};

/// 1-based positions; all 0 when there are no lines.
struct TBlockPosition {
    int Line = 0;
    int Block = 0;
    int Blocks = 0;
    int Lines = 0;
    int LineInBlock = 0;
    friend bool operator==(const TBlockPosition&, const TBlockPosition&) = default;
};

/// The position of the grid's current row among lineCount lines of 16 to a block.
TBlockPosition GetBlockPosition(int row, int lineCount);

/// "--" for a number below 1, else the number in decimal.
UnicodeString NumberOrDashes(int N);

/// The file name panel's text: the name, or "(none)".
UnicodeString BlockFileNameText(const UnicodeString& fileName);
