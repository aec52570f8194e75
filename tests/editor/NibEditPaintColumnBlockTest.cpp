// A column block is painted as exactly the characters that a column copy takes: on each line the
// chars that start between the block's display columns, each painted whole (a tab or wide glyph
// that straddles an edge on the side where it starts), on whichever rows word wrap puts them.
#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "editor/PaintFixture.h"

namespace {

constexpr int TabWidth = 4;

/// The display column (word wrap aside) where each char of Line starts, for chars 1..Count + 1:
/// tabs reach the next stop, CJK ideographs take two cells, positions past the end one each.
std::vector<int> StartColumns(const UnicodeString& Line, int Count)
{
    std::vector<int> result(1, 0);
    int column = 1;
    for (int c = 1; c <= Count + 1; ++c) {
        result.push_back(column);
        const char16_t ch = c <= int(Line.size()) ? Line[std::size_t(c - 1)] : u' ';
        if (ch == u'\t') column += TabWidth - (column - 1) % TabWidth;
        else column += ch >= 0x4E00 && ch <= 0x9FFF ? 2 : 1;
    }
    return result;
}

std::vector<UnicodeString> SplitLines(const UnicodeString& Text)
{
    std::vector<UnicodeString> result(1);
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text.compare(i, 2, u"\r\n") == 0) {
            result.emplace_back();
            ++i;
        } else {
            result.back() += Text[i];
        }
    }
    return result;
}

} // namespace

class PaintColumnBlockTest : public PaintTest {
protected:
    using ScreenCell = std::pair<int, int>;  // screen row from 0, display column from 1

    /// The cells of the text area whose last paint (text background or fill) was the selection colour.
    std::set<ScreenCell> SelectedCells() const
    {
        std::map<ScreenCell, bool> cells;
        for (const CanvasCall& c : canvas.Calls) {
            TColor colour;
            if (c.What == CanvasCall::Kind::TextOut) colour = c.Background;
            else if (c.What == CanvasCall::Kind::FillRect) colour = c.Color;
            else continue;
            if (c.Rect.Bottom - c.Rect.Top != Row) continue;
            for (int column = 1; column <= edit.CharsInWindow(); ++column)
                if (c.Rect.Left <= X(column) && X(column) + Cell <= c.Rect.Right)
                    cells[{c.Rect.Top / Row, column}] = colour == clHighlight;
        }
        std::set<ScreenCell> selected;
        for (const auto& [cell, on] : cells)
            if (on) selected.insert(cell);
        return selected;
    }

    /// The screen cells of char Char of line Line: from its display position up to the next char's;
    /// a tab that word wrap breaks ends its first row and goes on at the start of the next.
    std::vector<ScreenCell> CellsOf(int Line, int Char, const std::vector<int>& starts) const
    {
        const TDisplayCoord from = edit.BufferToDisplayPos({Char, Line});
        const TDisplayCoord to = edit.BufferToDisplayPos({Char + 1, Line});
        const int width = starts[std::size_t(Char + 1)] - starts[std::size_t(Char)];
        const int onFirstRow = to.Row == from.Row ? width : width - (to.Column - 1);
        std::vector<ScreenCell> cells;
        for (int k = 0; k < onFirstRow; ++k) cells.push_back({from.Row - edit.TopLine(), from.Column + k});
        for (int k = onFirstRow; k < width; ++k) cells.push_back({to.Row - edit.TopLine(), 1 + k - onFirstRow});
        return cells;
    }
};

TEST_F(PaintColumnBlockTest, SelectedCellsAreTheCharsAColumnCopyTakes)
{
    struct Case {
        bool wrapped;
        std::vector<UnicodeString> lines;
        TBufferCoord from, to;
        UnicodeString copy;
    };
    const Case cases[] = {
        // Block columns 3..6. Line 2: a tab over columns 2-4 starts left of the block; line 3: a
        // tab over 5-8 starts inside it; line 4: the glyph over 2-3 starts left of it; line 5:
        // the glyph over 6-7 starts inside it; line 6 is filled with blanks.
        {false,
         {u"abcdefgh", u"a\tbcdef", u"abcd\tef", u"a\u4E2Dbcde", u"abcde\u4E2Df", u"ab"},
         {3, 1},
         {7, 6},
         u"cdef\r\nbc\r\ncd\t\r\nbcd\r\ncde\u4E2D\r\n    "},
        // Ends with equal chars hold nothing, though the tab sets their columns apart.
        {false, {u"abcdefgh", u"ab\tcdef"}, {4, 1}, {4, 2}, u""},
        // Block columns 18..22 of 20-column rows (its corners given right to left), every line
        // wrapping inside the block. Line 2: the tab over 17-20, broken over two rows, starts left
        // of it; line 3: the tab over 21-24 starts inside it; line 4: the glyph over 17-18 starts
        // left of it; line 5: the glyph over 22-23 starts inside it.
        {true,
         {u"abcdefghijklmnopqrstuvwxyz", u"abcdefghijklmnop\tqrstuvw", u"abcdefghijklmnopqrst\tuv",
          u"abcdefghijklmnop\u4E2Dxyzab", u"abcdefghijklmnopqrstu\u4E2Dcd"},
         {23, 1},
         {18, 5},
         u"rstuv\r\nqr\r\nrst\t\r\nxyza\r\nrstu\u4E2D"},
    };
    edit.SetTabWidth(TabWidth);
    for (bool highlighted : {false, true}) {
        if (highlighted) UseForth();
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "wrapped " << c.wrapped << " highlighted " << highlighted);
            edit.SetWordWrap(c.wrapped);
            SetLines(c.lines);
            edit.SetSelectionMode(smColumn);
            Select(c.from, c.to);
            ASSERT_EQ(edit.SelText(), c.copy);
            const std::vector<UnicodeString> copied = SplitLines(edit.SelText());

            Paint();
            std::set<ScreenCell> selected = SelectedCells();
            for (int line = 1; line <= int(c.lines.size()); ++line) {
                const UnicodeString& text = c.lines[std::size_t(line - 1)];
                // Each char, and a few positions past the end, whole or not at all in the block.
                const int count = int(text.size()) + 4;
                const std::vector<int> starts = StartColumns(text, count);
                UnicodeString painted;
                for (int ch = 1; ch <= count; ++ch) {
                    int hits = 0;
                    const std::vector<ScreenCell> cells = CellsOf(line, ch, starts);
                    for (const ScreenCell& cell : cells) hits += int(selected.erase(cell));
                    EXPECT_TRUE(hits == 0 || hits == int(cells.size())) << "char " << ch << " of line " << line;
                    if (hits > 0) painted += ch <= int(text.size()) ? text[std::size_t(ch - 1)] : u' ';
                    EXPECT_EQ(edit.IsPointInSelection({ch, line}), hits > 0) << "char " << ch << " of line " << line;
                }
                const int index = line - std::min(c.from.Line, c.to.Line);
                const UnicodeString expected =
                    index >= 0 && index < int(copied.size()) ? copied[std::size_t(index)] : UnicodeString();
                EXPECT_EQ(painted, expected) << "line " << line;
            }
            // No cell outside the copied chars, such as the space after a wrapped row, is selected.
            for (const ScreenCell& cell : selected) ADD_FAILURE() << "row " << cell.first << " column " << cell.second;
        }
    }
}
