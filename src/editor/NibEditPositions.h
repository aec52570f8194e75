#pragma once
// Conversions between the editor's three coordinate systems: buffer positions (character and line),
// display positions (column and row, after tabs, wide glyphs and word wrap) and character indexes
// into the whole text (from 0, each line break counting 2).
#include <functional>

#include "editor/NibEditBufferPlugin.h"
#include "editor/NibEditTextBuffer.h"
#include "editor/NibEditTypes.h"

/// What the conversions read of the editor.
struct TNibEditLayout {
    const TNibEditStringList* Lines = nullptr;
    int TabWidth = 8;
    /// Cells a character takes in the editor's font (its text width over the character width,
    /// rounded up); every character takes one cell without it, and one below U+0080 in every font.
    std::function<int(char16_t)> CharCells;
    /// The word-wrap plug-in while word wrap is on, else null.
    INibEditBufferPlugin* WordWrap = nullptr;
};

TDisplayCoord BufferToDisplayPos(const TNibEditLayout& Layout, const TBufferCoord& p);
/// A column inside a tab or a wide glyph gives that character.
TBufferCoord DisplayToBufferPos(const TNibEditLayout& Layout, const TDisplayCoord& p);
/// The first char of a line (word wrap aside) that starts at or after a display column; past the
/// line's end each position takes one column.
int CharStartingAtOrAfter(const TNibEditLayout& Layout, int Line, int Column);
int LineToRow(const TNibEditLayout& Layout, int aLine);
int RowToLine(const TNibEditLayout& Layout, int aRow);
/// The number of rows the text takes on screen.
int DisplayLineCount(const TNibEditLayout& Layout);

/// The buffer position of a character index; (1, Count + 1) past the text; an index on a line
/// break gives a character past that line's end.
TBufferCoord CharIndexToRowCol(const TNibEditStringList& Lines, int Index);
/// The character index of a buffer position, its line kept within the text; 0 for an empty text.
int RowColToCharIndex(const TNibEditStringList& Lines, const TBufferCoord& RowCol);
