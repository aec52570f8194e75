// Buffer and display positions against the line as it is painted (tabs expanded, then wide glyphs
// widened): lines of one-cell characters with leading tabs (whose columns the line store's counts
// give), tabs after text and after wide glyphs, empty lines, and positions before, inside and past
// each line.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "editor/NibEditPositions.h"

namespace {

int Cells(char16_t c) { return c == u'\u4E00' ? 2 : 1; }

/// The cells the first `count` characters of the line take as the line is painted: its tabs
/// expanded by the line store's expander, then each character's cells; past the end one a position.
int PaintedCells(const UnicodeString& line, int count, int tabWidth)
{
    const std::size_t inLine = std::min(line.size(), std::size_t(std::max(count, 0)));
    bool hasTabs = false;
    int cells = 0;
    for (char16_t c : SelectTabExpander(tabWidth)(std::u16string_view(line).substr(0, inLine), tabWidth, hasTabs))
        cells += Cells(c);
    return cells + std::max(count - int(inLine), 0);
}

int ColumnOf(const UnicodeString& line, int chr, int tabWidth) { return PaintedCells(line, chr - 1, tabWidth) + 1; }

/// The character painted at a column.
int CharAt(const UnicodeString& line, int column, int tabWidth)
{
    int chr = 1;
    while (PaintedCells(line, chr, tabWidth) < column) ++chr;
    return chr;
}

int FirstCharFrom(const UnicodeString& line, int column, int tabWidth)
{
    int chr = 1;
    while (PaintedCells(line, chr - 1, tabWidth) + 1 < column) ++chr;
    return chr;
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
