#include "editor/PaintFixture.h"

namespace {

/// The calls that fall inside the gutter (the text output's rectangle, the line's x).
std::vector<CanvasCall> InGutter(const RecordingCanvas& canvas, CanvasCall::Kind kind, int gutterWidth)
{
    std::vector<CanvasCall> result;
    for (const CanvasCall& c : canvas.Of(kind)) {
        const int x = c.HasRect ? c.Rect.Left : c.Point.X;
        if (x < gutterWidth) result.push_back(c);
    }
    return result;
}

} // namespace

class GutterTest : public PaintTest {
protected:
    std::vector<CanvasCall> GutterTexts() const
    {
        return InGutter(canvas, CanvasCall::Kind::TextOut, edit.GutterWidth());
    }
    TNibEditMark& AddMark(int line, int image, int bookmark)
    {
        auto mark = std::make_unique<TNibEditMark>(&edit);
        mark->SetLine(line);
        mark->SetImageIndex(image);
        mark->SetBookmarkNumber(bookmark);
        mark->SetInternalImage(true);
        mark->SetVisible(true);
        TNibEditMark& result = *mark;
        edit.Marks().Add(std::move(mark));
        return result;
    }
    /// Where the bookmark glyphs were copied to.
    std::vector<TPoint> Glyphs() const
    {
        std::vector<TPoint> result;
        for (const CanvasCall& c : canvas.Of(CanvasCall::Kind::CopyRect)) result.push_back({c.Rect.Left, c.Rect.Top});
        return result;
    }
};

TEST_F(GutterTest, LineNumbersAreRightAlignedOnTheGutterColourAndTheRestIsErased)
{
    edit.Gutter().SetShowLineNumbers(true);
    SetLines({u"a", u"b"});
    edit.OnGutterGetText = [](TObject*, int line, UnicodeString& text) {
        if (line == 2) text = u"two";
    };
    Paint();
    const int gw = edit.GutterWidth();
    ASSERT_EQ(gw, 16 + 2 + 4 * Cell + 2);
    const std::vector<CanvasCall> texts = GutterTexts();
    ASSERT_EQ(texts.size(), 3u);
    const struct {
        UnicodeString text;
        int x, top;
    } expected[] = {{u"   1", gw - 4 - 4 * Cell, 0}, {u"two", gw - 4 - 3 * Cell, Row}};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(texts[i].Text, expected[i].text);
        EXPECT_EQ(texts[i].Point, (TPoint{expected[i].x, expected[i].top}));
        EXPECT_EQ(texts[i].Rect, (TRect{0, expected[i].top, gw, expected[i].top + Row}));
        EXPECT_EQ(unsigned(texts[i].Value), unsigned(ETO_OPAQUE | ETO_CLIPPED));
        EXPECT_EQ(texts[i].Background, edit.Gutter().Color());
        EXPECT_EQ(texts[i].Color, edit.Gutter().Font().Color);
    }
    // Below the last number the gutter is erased by an empty opaque output.
    EXPECT_EQ(texts[2].Text, u"");
    EXPECT_EQ(texts[2].Rect, (TRect{0, 2 * Row, gw, 160}));
    EXPECT_EQ(texts[2].Value & ETO_OPAQUE, unsigned(ETO_OPAQUE));
}

TEST_F(GutterTest, NumbersStandOnTheGradientWithoutErasing)
{
    edit.Gutter().SetShowLineNumbers(true);
    edit.Gutter().SetGradient(true);
    SetLines({u"a", u"b"});
    Paint();
    const std::vector<CanvasCall> texts = GutterTexts();
    ASSERT_EQ(texts.size(), 2u);
    for (const CanvasCall& t : texts) EXPECT_EQ(t.Value & ETO_OPAQUE, 0);
    const auto styles = canvas.Of(CanvasCall::Kind::SetBrushStyle);
    ASSERT_FALSE(styles.empty());
    EXPECT_EQ(styles.back().Value, int(TBrushStyle::bsSolid));  // set back after the numbers
    // The gradient covers the gutter from its top to the window's bottom.
    int bottom = 0;
    for (const CanvasCall& f : InGutter(canvas, CanvasCall::Kind::FillRect, edit.GutterWidth()))
        bottom = std::max(bottom, f.Rect.Bottom);
    EXPECT_EQ(bottom, 160);
}

TEST_F(GutterTest, BorderStyles)
{
    SetLines({u"a"});
    edit.Gutter().SetBorderColor(clRed);
    const int gw = edit.GutterWidth();
    const struct {
        TNibGutterBorderStyle style;
        std::vector<std::pair<int, TColor>> lines;  // x and colour of each vertical line
    } cases[] = {
        {gbsNone, {}},
        {gbsMiddle, {{gw - 2, clRed}, {gw - 1, edit.Gutter().Color()}}},
        {gbsRight, {{gw - 1, clRed}}},
    };
    for (const auto& c : cases) {
        edit.Gutter().SetBorderStyle(c.style);
        Paint();
        std::vector<std::pair<int, TColor>> lines;
        for (const CanvasCall& l : InGutter(canvas, CanvasCall::Kind::LineTo, gw)) {
            EXPECT_EQ(l.Point.Y, 160);
            lines.push_back({l.Point.X, l.Color});
        }
        EXPECT_EQ(lines, c.lines) << int(c.style);
    }
}

TEST_F(GutterTest, WithoutNumbersTheGutterIsFilledWithItsColour)
{
    SetLines({u"a"});
    edit.Gutter().SetColor(clMoneyGreen);
    const TRect clip{0, Row, 50, 3 * Row};
    Paint(&clip);
    const std::vector<CanvasCall> fills = InGutter(canvas, CanvasCall::Kind::FillRect, edit.GutterWidth());
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].Rect, (TRect{0, Row, edit.GutterWidth(), 3 * Row}));
    EXPECT_EQ(fills[0].Color, clMoneyGreen);
}

TEST_F(GutterTest, OneBuiltInGlyphPerRowAndMarkOffsetsForTheApplication)
{
    SetLines({u"a", u"b", u"c", u"d"});
    AddMark(1, 0, 0);
    AddMark(1, 1, 1);   // a second glyph beside the same row is not drawn
    AddMark(2, 3, -1);  // a plain mark
    AddMark(4, 2, 2).SetVisible(false);
    std::vector<std::pair<int, int>> painted;  // line and x handed to the application
    edit.OnGutterPaint = [&](TObject*, int line, int x, int y) {
        EXPECT_EQ(y, (line - 1) * Row);
        painted.push_back({line, x});
    };
    Paint();
    const int margin = edit.BookMarkOptions().LeftMargin();
    const int step = edit.BookMarkOptions().Xoffset();
    const int centred = (Row - 14) / 2;  // the glyphs are 14 pixels high
    EXPECT_EQ(Glyphs(), (std::vector<TPoint>{{margin, centred}, {margin, Row + centred}}));
    EXPECT_EQ(painted, (std::vector<std::pair<int, int>>{{1, 2 * step}, {2, step}, {3, 0}, {4, 0}}));

    edit.BookMarkOptions().SetGlyphsVisible(false);
    painted.clear();
    Paint();
    EXPECT_TRUE(Glyphs().empty());
    EXPECT_EQ(painted, (std::vector<std::pair<int, int>>{{1, 0}, {2, 0}, {3, 0}, {4, 0}}));
}

TEST_F(GutterTest, TheKindDrawnFirstTakesTheRow)
{
    SetLines({u"a"});
    AddMark(1, 5, 5);   // bookmark, glyph 5
    AddMark(1, 7, -1);  // plain mark, glyph 7
    for (bool bookmarksFirst : {true, false}) {
        edit.BookMarkOptions().SetDrawBookmarksFirst(bookmarksFirst);
        Paint();
        const std::vector<CanvasCall> copies = canvas.Of(CanvasCall::Kind::CopyRect);
        ASSERT_EQ(copies.size(), 1u) << bookmarksFirst;
        const int glyphWidth = copies[0].SourceRect.Width();
        EXPECT_EQ(copies[0].SourceRect.Left, (bookmarksFirst ? 5 : 7) * glyphWidth) << bookmarksFirst;
    }
}

TEST_F(GutterTest, InvalidatingTheGutterOfALineOutsideTheTextDoesNothing)
{
    SetLines({u"a", u"b", u"c"});
    host->Reset();
    for (int line : {0, 4, 50, -1}) edit.InvalidateGutterLine(line);
    EXPECT_TRUE(host->Invalidated.empty());
    edit.InvalidateGutterLine(2);
    EXPECT_EQ(host->Invalidated, (std::vector<TRect>{{0, Row, edit.GutterWidth(), 2 * Row}}));
}

TEST_F(GutterTest, WrappedLineHasItsNumberOnTheFirstRowAndGlyphsOnTheOthers)
{
    edit.Gutter().SetShowLineNumbers(true);
    SetLines({u"x", u"aaaa bbbb cccc dddd eeee ffff gggg hhhh", u"y"});
    edit.SetWordWrap(true);
    ASSERT_EQ(edit.LineToRow(3) - edit.LineToRow(2), 3);
    Paint();
    std::vector<std::pair<UnicodeString, int>> numbers;  // text and top of each output with text
    for (const CanvasCall& t : GutterTexts())
        if (!t.Text.empty()) numbers.push_back({t.Text, t.Rect.Top});
    EXPECT_EQ(numbers, (std::vector<std::pair<UnicodeString, int>>{{u"   1", 0}, {u"   2", Row}, {u"   3", 4 * Row}}));
    // The continuation rows are erased, then carry the glyph right-aligned like the numbers.
    const int glyphX = edit.GutterWidth() - edit.Gutter().RightOffset() - 2 - edit.WordWrapGlyph().Width();
    std::vector<int> glyphRows;
    for (const CanvasCall& c : canvas.Of(CanvasCall::Kind::CopyRect)) {
        EXPECT_EQ(c.Rect.Left, glyphX);
        glyphRows.push_back(c.Rect.Top / Row);
    }
    EXPECT_EQ(glyphRows, (std::vector<int>{2, 3}));
    bool erased = false;
    for (const CanvasCall& t : GutterTexts())
        erased |= t.Text.empty() && t.Rect.Top == 2 * Row && t.Rect.Bottom == 4 * Row;
    EXPECT_TRUE(erased);
}

TEST_F(GutterTest, MarksWithoutBuiltInGlyphsComeFromTheBookmarkImages)
{
    SetLines({u"a", u"b"});
    TCustomImageList images(10, 12);
    std::unique_ptr<Bitmap> picture = graphics.CreateBitmap(10, 12);
    for (int i = 0; i < 3; ++i) images.Add(*picture);
    edit.BookMarkOptions().SetBookmarkImages(&images);
    edit.SetBookMark(1, 1, 1);  // takes its picture from the list now
    AddMark(1, 2, -1).SetInternalImage(false);
    AddMark(2, 5, -1).SetInternalImage(false);  // no such picture: not drawn
    Paint();
    const int margin = edit.BookMarkOptions().LeftMargin();
    const int step = edit.BookMarkOptions().Xoffset();
    EXPECT_EQ(Glyphs(), (std::vector<TPoint>{{margin, 0}, {margin + step, 0}}));
    const std::vector<CanvasCall> copies = canvas.Of(CanvasCall::Kind::CopyRect);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].SourceRect, (TRect{10, 0, 20, 12}));
    EXPECT_EQ(copies[1].SourceRect, (TRect{20, 0, 30, 12}));
}
