// Buffer and display positions against a walk over each character of the line: lines of one-cell
// characters with leading tabs (whose columns the line store's counts give), tabs after text, wide
// glyphs, empty lines, and positions before, inside and past each line.
#include <gtest/gtest.h>

#include <random>

#include "editor/NibEditPositions.h"

namespace {

int Cells(char16_t c) { return c == u'\u4E00' ? 2 : 1; }

/// The cells of the character at 0-based i of the line standing at column x (0-based).
int CellsAt(const UnicodeString& line, std::size_t i, int x, int tabWidth)
{
    if (i >= line.size()) return 1;
    return line[i] == u'\t' ? tabWidth - x % tabWidth : Cells(line[i]);
}

int ColumnOf(const UnicodeString& line, int chr, int tabWidth)
{
    int x = 0;
    for (std::size_t i = 0; i + 1 < std::size_t(chr); ++i) x += CellsAt(line, i, x, tabWidth);
    return x + 1;
}

int CharAt(const UnicodeString& line, int column, int tabWidth)
{
    int x = 0;
    std::size_t i = 0;
    for (;; ++i) {
        const int w = CellsAt(line, i, x, tabWidth);
        if (column <= x + w) break;
        x += w;
    }
    return int(i) + 1;
}

int FirstCharFrom(const UnicodeString& line, int column, int tabWidth)
{
    int x = 0;
    std::size_t i = 0;
    for (; x + 1 < column; ++i) x += CellsAt(line, i, x, tabWidth);
    return int(i) + 1;
}

TEST(NibEditPositions, ColumnsAndCharsAgreeWithAWalkOverTheLine)
{
    std::mt19937 random(77);
    TNibEditStringList lines(Cells);
    for (int round = 0; round < 400; ++round) {
        static const char16_t pieces[] = {u'a', u' ', u'\t', u'\u4E00'};
        UnicodeString line(random() % 4, u'\t');
        const unsigned kinds = random() % 3 == 0 ? 4 : random() % 2 ? 3 : 2;
        for (unsigned n = random() % 12; n > 0; --n) line += pieces[random() % kinds];
        lines.Clear();
        lines.Add(line);
        TNibEditLayout layout;
        layout.Lines = &lines;
        layout.TabWidth = int(1 + random() % 9);
        layout.CharCells = Cells;
        const int end = int(line.size()) + 4;
        for (int chr = 1; chr <= end; ++chr) {
            const TDisplayCoord p = BufferToDisplayPos(layout, {chr, 1});
            ASSERT_EQ(p.Column, ColumnOf(line, chr, layout.TabWidth)) << ToUtf8(line) << " char " << chr;
        }
        const int width = ColumnOf(line, int(line.size()) + 1, layout.TabWidth) + 3;
        for (int column = -1; column <= width; ++column) {
            const TBufferCoord b = DisplayToBufferPos(layout, {column, 1});
            ASSERT_EQ(b.Char, CharAt(line, column, layout.TabWidth)) << ToUtf8(line) << " column " << column;
            ASSERT_EQ(CharStartingAtOrAfter(layout, 1, column), FirstCharFrom(line, column, layout.TabWidth))
                << ToUtf8(line) << " column " << column;
        }
    }
}

}  // namespace
