#include "editor/PaintFixture.h"

namespace {

constexpr unsigned OpaqueClipped = ETO_OPAQUE | ETO_CLIPPED;
constexpr char16_t Arrow[] = u"\u2192";

TNibEditorOptions With(TNibEditorOptions options, TNibEditorOption option)
{
    options.Include(option);
    return options;
}

std::vector<CanvasCall> Fills(const RecordingCanvas& canvas, int top)
{
    std::vector<CanvasCall> result;
    for (const CanvasCall& c : canvas.Of(CanvasCall::Kind::FillRect))
        if (c.Rect.Top == top) result.push_back(c);
    return result;
}

} // namespace

TEST_F(PaintTest, PlainLinesAreOneOpaqueOutputEachAndTheRestIsBackground)
{
    SetLines({u"abc", u"de"});
    Paint();
    ASSERT_EQ(TextOuts(0).size(), 1u);
    const CanvasCall first = TextOuts(0)[0];
    EXPECT_EQ(first.Text, u"abc");
    EXPECT_EQ(first.Point, (TPoint{X(1), 0}));
    EXPECT_EQ(first.Rect, (TRect{X(1), 0, 192, Row}));
    EXPECT_EQ(unsigned(first.Value), OpaqueClipped);
    EXPECT_EQ(first.Background, clWindow);
    EXPECT_EQ(first.Color, edit.Font().Color);
    EXPECT_EQ(RowText(1), u"de");

    // The two pixels left of the text and everything below the last line show the editor colour.
    std::vector<TRect> fills;
    for (const CanvasCall& c : canvas.Of(CanvasCall::Kind::FillRect))
        if (c.Color == clWindow) fills.push_back(c.Rect);
    EXPECT_NE(std::find(fills.begin(), fills.end(), TRect{30, 0, 32, 160}), fills.end());
    EXPECT_NE(std::find(fills.begin(), fills.end(), TRect{32, 2 * Row, 192, 160}), fills.end());
}

TEST_F(PaintTest, SpecialCharactersShowAsGlyphsWithAndWithoutHighlighter)
{
    struct Case {
        UnicodeString line;
        UnicodeString shown;
        std::vector<int> arrows;  // x of each tab arrow
    };
    const Case cases[] = {
        {u"a  b", u"a\u2219\u2219b\u00B6", {}},
        {u"", u"\u00B6", {}},
        // A tab to the next stop of 8 shows as blanks with one arrow in the middle of its cells.
        {u"\tx", u"        x\u00B6", {X(4) + Cell / 2}},
        {u"ab\tx", u"ab      x\u00B6", {X(5) + Cell / 2}},
    };
    edit.SetOptions(With(edit.Options(), eoShowSpecialChars));
    for (bool highlighted : {false, true}) {
        if (highlighted) UseForth();
        for (const Case& c : cases) {
            SetLines({c.line});
            Paint();
            UnicodeString text;
            std::vector<int> arrows;
            for (const CanvasCall& call : TextOuts(0)) {
                if (call.Text == Arrow) arrows.push_back(call.Point.X);
                else text += call.Text;
            }
            EXPECT_EQ(text, c.shown) << highlighted;
            EXPECT_EQ(arrows, c.arrows) << highlighted;
        }
    }
}

TEST_F(PaintTest, LineEndMarkTakesTheCommentColoursOnlyAfterAComment)
{
    UseForth();
    forth.SpaceAttri()->SetBackground(clMoneyGreen);
    forth.CommentAttri()->SetBackground(clYellow);
    edit.SetOptions(With(edit.Options(), eoShowSpecialChars));
    SetLines({u"DUP \\ note", u"DUP"});
    Paint();
    for (int row : {0, 1}) {
        const CanvasCall mark = TextOuts(row).back();
        ASSERT_EQ(mark.Text, u"\u00B6");
        EXPECT_EQ(mark.Color, row == 0 ? clGreen : clNavy) << row;
        EXPECT_EQ(mark.Background, row == 0 ? clYellow : clMoneyGreen) << row;
    }
}

TEST_F(PaintTest, TokensThatLookAlikeAreDrawnAsOneRun)
{
    UseForth();
    SetLines({u"DUP DROP 12"});
    Paint();
    const std::vector<CanvasCall> runs = TextOuts(0);
    ASSERT_EQ(runs.size(), 2u);
    // The blanks between the keywords join their run: blanks show no foreground.
    EXPECT_EQ(runs[0].Text, u"DUP DROP ");
    EXPECT_EQ(runs[0].Color, clBlue);
    EXPECT_TRUE(HasStyle(runs[0].Font.Style, TFontStyle::fsBold));
    EXPECT_EQ(runs[0].Rect, (TRect{X(1), 0, X(10), Row}));
    EXPECT_EQ(runs[1].Text, u"12");
    EXPECT_EQ(runs[1].Color, clRed);
    EXPECT_EQ(runs[1].Rect, (TRect{X(10), 0, X(12), Row}));
    EXPECT_FALSE(HasStyle(runs[1].Font.Style, TFontStyle::fsBold));
}

TEST_F(PaintTest, SelectionInsideARunSplitsItIntoSeparateOutputs)
{
    UseForth();
    SetLines({u"DUP DROP 12"});
    Select({2, 1}, {6, 1});
    Paint();
    const std::vector<CanvasCall> parts = TextOuts(0);
    ASSERT_GE(parts.size(), 3u);
    const struct {
        int left, right;
        TColor background, foreground;
    } expected[] = {
        {X(1), X(2), clWindow, clBlue},
        {X(2), X(6), clHighlight, clHighlightText},
        {X(6), X(10), clWindow, clBlue},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(parts[i].Rect.Left, expected[i].left) << i;
        EXPECT_EQ(parts[i].Rect.Right, expected[i].right) << i;
        EXPECT_EQ(parts[i].Background, expected[i].background) << i;
        EXPECT_EQ(parts[i].Color, expected[i].foreground) << i;
    }
}

TEST_F(PaintTest, WhollySelectedRowIsSelectionColouredToTheWindowEdge)
{
    for (bool highlighted : {false, true}) {
        if (highlighted) UseForth();
        SetLines({u"DUP", u"DROP", u"12"});
        Select({2, 1}, {2, 3});
        Paint();
        for (const CanvasCall& c : TextOuts(1)) EXPECT_EQ(c.Background, clHighlight) << highlighted;
        int right = TextOuts(1).back().Rect.Right;
        for (const CanvasCall& f : Fills(canvas, Row))
            if (f.Rect.Left >= X(1)) {
                EXPECT_EQ(f.Color, clHighlight) << highlighted;
                right = std::max(right, f.Rect.Right);
            }
        EXPECT_GE(right, 192) << highlighted;
        // The last row is selected up to its second column only.
        int selected = 0;
        for (const CanvasCall& c : TextOuts(2)) {
            if (c.Rect.IsEmpty()) continue;
            if (c.Rect.Right <= X(2)) ++selected;
            EXPECT_EQ(c.Background, c.Rect.Right <= X(2) ? clHighlight : clWindow) << highlighted;
        }
        EXPECT_EQ(selected, 1) << highlighted;
    }
}

TEST_F(PaintTest, SpecialLineSwapsItsOwnColoursForTheSelection)
{
    edit.OnSpecialLineColors = [](TObject*, int line, bool& special, TColor& fg, TColor& bg) {
        if (line != 2) return;
        special = true;
        fg = clWhite;
        bg = clNavy;
    };
    SetLines({u"ab", u"cd"});
    Select({1, 1}, {2, 2});
    Paint();
    EXPECT_EQ(TextOuts(0)[0].Background, clHighlight);
    const std::vector<CanvasCall> special = TextOuts(1);
    ASSERT_EQ(special.size(), 2u);
    // Unselected first, then the selected part in the line's colours swapped.
    EXPECT_EQ(special[0].Rect, (TRect{X(2), Row, 192, 2 * Row}));
    EXPECT_EQ(special[0].Background, clNavy);
    EXPECT_EQ(special[0].Color, clWhite);
    EXPECT_EQ(special[1].Rect, (TRect{X(1), Row, X(2), 2 * Row}));
    EXPECT_EQ(special[1].Background, clWhite);
    EXPECT_EQ(special[1].Color, clNavy);
}

TEST_F(PaintTest, ActiveLineColourIsTheCaretLinesBackground)
{
    UseForth();
    forth.NumberAttri()->SetBackground(clMoneyGreen);
    edit.SetActiveLineColor(clYellow);
    SetLines({u"DUP 12", u"DUP 12"});
    edit.SetCaretXY({1, 1});
    Paint();
    for (const CanvasCall& c : TextOuts(0)) EXPECT_EQ(c.Background, clYellow) << UnicodeString(c.Text).size();
    EXPECT_EQ(Fills(canvas, 0).back().Color, clYellow);
    const std::vector<CanvasCall> other = TextOuts(1);
    ASSERT_EQ(other.size(), 2u);
    EXPECT_EQ(other[0].Background, clWindow);
    EXPECT_EQ(other[1].Background, clMoneyGreen);
    EXPECT_EQ(Fills(canvas, Row).back().Color, clWindow);
}

TEST_F(PaintTest, WideGlyphCutByTheLeftEdgeStartsWhereItsFirstCellWouldBe)
{
    SetLines({u"a\u4E2Db"});  // the glyph takes display columns 2 and 3
    struct Case {
        int leftChar;
        int x;
    };
    for (const Case c : {Case{2, X(1)}, Case{3, X(1) - Cell}}) {
        edit.SetLeftChar(c.leftChar);
        Paint();
        ASSERT_FALSE(TextOuts(0).empty());
        EXPECT_EQ(TextOuts(0)[0].Point.X, c.x) << c.leftChar;
        EXPECT_EQ(TextOuts(0)[0].Text, u"\u4E2Db") << c.leftChar;
        EXPECT_EQ(TextOuts(0)[0].Dx, (std::vector<int>{2 * Cell, Cell})) << c.leftChar;
    }
}

// A character after a wide glyph and a tab is drawn in the column that positions give it, so the
// caret and a click land on what the user sees.
TEST_F(PaintTest, CharactersAfterAWideGlyphAndATabStandWherePositionsPutThem)
{
    edit.SetTabWidth(4);
    for (const UnicodeString& line : {UnicodeString(u"\u4E2D\tx"), UnicodeString(u"a\u4E2D\t\u4E2D\tyz")}) {
        SetLines({line});
        Paint();
        // Where each drawn character went, left to right: the line's characters other than its
        // tabs, which are drawn as blanks, and the fillers of its wide glyphs.
        std::vector<int> drawnAt;
        for (const CanvasCall& c : TextOuts(0)) {
            int at = c.Point.X;
            for (std::size_t i = 0; i < c.Text.size(); ++i) {
                if (c.Text[i] != u' ' && c.Text[i] != NibWideGlyphFiller) drawnAt.push_back(at);
                at += i < c.Dx.size() ? c.Dx[i] : Cell;
            }
        }
        std::size_t k = 0;
        for (int chr = 1; chr <= int(line.size()); ++chr) {
            if (line[std::size_t(chr - 1)] == u'\t') continue;
            const TDisplayCoord p = edit.BufferToDisplayPos({chr, 1});
            ASSERT_LT(k, drawnAt.size()) << ToUtf8(line);
            EXPECT_EQ(drawnAt[k++], X(p.Column)) << ToUtf8(line) << " char " << chr;
            EXPECT_EQ(edit.DisplayToBufferPos(p).Char, chr) << ToUtf8(line) << " char " << chr;
        }
    }
}

TEST_F(PaintTest, OnlyTheDirtyRectangleIsPainted)
{
    SetLines({u"one", u"two", u"three", u"four"});
    const TRect row2{X(2), Row, X(4), 2 * Row};
    Paint(&row2);
    // Rows and columns follow the clip; what lies beyond it is left to the canvas's clipping.
    EXPECT_TRUE(TextOuts(0).empty());
    ASSERT_EQ(TextOuts(1).size(), 1u);
    EXPECT_EQ(TextOuts(1)[0].Text, u"wo");
    EXPECT_EQ(TextOuts(1)[0].Rect, (TRect{X(1), Row, X(4), 2 * Row}));
    EXPECT_TRUE(TextOuts(3).empty());
    for (const CanvasCall& c : canvas.Calls) {
        if (c.HasRect && c.What != CanvasCall::Kind::SetClipRect) {
            EXPECT_GE(c.Rect.Right, edit.GutterWidth());
        }
    }

    const TRect gutterOnly{0, 0, 20, 160};
    Paint(&gutterOnly);
    for (int row = 0; row < 4; ++row) EXPECT_TRUE(TextOuts(row).empty()) << row;
}

TEST_F(PaintTest, RightEdgeIsDrawnOnlyWhereTheDirtyRectangleReachesIt)
{
    host.reset();
    host = std::make_unique<FakeControlHost>(edit, 800, 64);
    SetLines({u"a", u"b"});
    const int x = X(81);
    Paint();
    int lines = 0;
    for (const CanvasCall& c : canvas.Of(CanvasCall::Kind::LineTo)) {
        if (c.Point.X != x) continue;
        EXPECT_EQ(c.Color, edit.RightEdgeColor());
        ++lines;
    }
    EXPECT_EQ(lines, 3);  // two rows and the empty area below them

    const TRect left{0, 0, x - 10, 64};
    Paint(&left);
    for (const CanvasCall& c : canvas.Of(CanvasCall::Kind::LineTo)) EXPECT_NE(c.Point.X, x);
    for (const CanvasCall& c : canvas.Of(CanvasCall::Kind::SetPenColor)) EXPECT_NE(c.Color, edit.RightEdgeColor());
}

TEST_F(PaintTest, HiddenSelectionIsNotShownWithoutFocus)
{
    SetLines({u"abc"});
    Select({1, 1}, {3, 1});
    edit.SetHideSelection(true);
    edit.FocusChanged(false);
    Paint();
    for (const CanvasCall& c : TextOuts(0)) EXPECT_NE(c.Background, clHighlight);
    edit.FocusChanged(true);
    Paint();
    const std::vector<CanvasCall> shown = TextOuts(0);
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const CanvasCall& c) { return c.Background == clHighlight; }));
}

TEST_F(PaintTest, OnPaintFollowsWithTheEditorsFontAndColour)
{
    SetLines({u"abc"});
    std::size_t callsBefore = 0;
    TFont font;
    edit.OnPaint = [&](TObject*, Canvas& c) {
        callsBefore = canvas.Calls.size();
        font = c.Font();
    };
    Paint();
    EXPECT_GT(callsBefore, 0u);
    EXPECT_EQ(font, edit.Font());
}

TEST_F(PaintTest, WrappedLineShowsEachRowsOwnPart)
{
    struct Case {
        std::vector<UnicodeString> lines;
        std::vector<UnicodeString> rows;
    };
    const Case cases[] = {
        // Rows break before a blank; no row shows the character that starts the next one.
        {{u"x", u"aaaa bbbb cccc dddd eeee ffff gggg hhhh ii", u"y"},
         {u"x", u"aaaa bbbb cccc dddd", u" eeee ffff gggg hhhh", u" ii", u"y"}},
        // A tab of six cells before the break does not shift the next row, which ends in a
        // wide glyph.
        {{u"ab\tcdefghijklmnopqrstuvwxyz\u4E2Dz"}, {u"ab      cdefghijklmn", u"opqrstuvwxyz\u4E2Dz"}},
    };
    for (bool highlighted : {false, true}) {
        if (highlighted) UseForth();
        for (const Case& c : cases) {
            SetLines(c.lines);
            edit.SetWordWrap(true);
            ASSERT_EQ(edit.DisplayLineCount(), int(c.rows.size()));
            Paint();
            for (int row = 0; row < int(c.rows.size()); ++row)
                EXPECT_EQ(RowText(row), c.rows[std::size_t(row)]) << highlighted << " row " << row;
            edit.SetWordWrap(false);
        }
    }
}

TEST_F(PaintTest, NoRightEdgeLineWhenItIsOff)
{
    host.reset();
    host = std::make_unique<FakeControlHost>(edit, 800, 64);
    SetLines({u"a"});
    edit.SetRightEdge(0);
    Paint();
    for (const CanvasCall& c : canvas.Of(CanvasCall::Kind::LineTo)) EXPECT_LT(c.Point.X, edit.GutterWidth());
}

TEST_F(PaintTest, AnEditorWithoutLinesShowsOneEmptyLine)
{
    edit.Lines().Clear();
    edit.SetOptions(With(edit.Options(), eoShowSpecialChars));
    for (bool wrapped : {false, true}) {
        edit.SetWordWrap(wrapped);
        for (bool highlighted : {false, true}) {
            if (highlighted) UseForth();
            else edit.SetHighlighter(nullptr);
            Paint();
            EXPECT_EQ(RowText(0), u"\u00B6") << wrapped << highlighted;
            EXPECT_TRUE(TextOuts(1).empty()) << wrapped << highlighted;
        }
    }
}

// The rows of a wrapped line painted in one pass, the highlighter going on from row to row, read
// as each row painted alone, the scan started afresh on it: tokens over several rows (a comment,
// a line comment, a wide glyph, a tab), with and without a selection and special characters.
TEST_F(PaintTest, WrappedRowsPaintedTogetherMatchEachRowPaintedAlone)
{
    UseForth();
    SetLines({u"DUP ( a comment that runs over three rows of the window ) DROP 12 \u4E2D DUP",
              u"x\tDUP \\ a line comment running on to the end of a second row"});
    edit.SetWordWrap(true);
    const int rows = edit.DisplayLineCount();
    ASSERT_GE(rows, 6);
    for (bool special : {false, true}) {
        edit.SetOptions(special ? With(edit.Options(), eoShowSpecialChars) : NibDefaultOptions);
        for (bool selected : {false, true}) {
            if (selected) Select({10, 1}, {30, 2});
            else edit.SetCaretXY({1, 1});
            Paint();
            std::vector<std::vector<CanvasCall>> together;
            UnicodeString shown;
            for (int row = 0; row < rows; ++row) {
                together.push_back(TextOuts(row));
                shown += RowText(row);
            }
            // Text outputs are clipped at the selection's edges, so only an unselected pass reads
            // as the text.
            if (!special && !selected)
                EXPECT_EQ(shown, edit.Lines()[0] + u"x       " + edit.Lines()[1].substr(2));
            for (int row = 0; row < rows; ++row) {
                const TRect band{0, row * Row, edit.ClientWidth(), (row + 1) * Row};
                Paint(&band);
                const std::vector<CanvasCall> alone = TextOuts(row);
                ASSERT_EQ(alone.size(), together[std::size_t(row)].size()) << special << selected << " row " << row;
                for (std::size_t k = 0; k < alone.size(); ++k) {
                    const CanvasCall& a = alone[k];
                    const CanvasCall& t = together[std::size_t(row)][k];
                    EXPECT_EQ(a.Text, t.Text) << special << selected << " row " << row;
                    EXPECT_EQ(a.Point.X, t.Point.X) << special << selected << " row " << row;
                    EXPECT_EQ(a.Color, t.Color) << special << selected << " row " << row;
                    EXPECT_EQ(a.Background, t.Background) << special << selected << " row " << row;
                }
            }
        }
    }
}
