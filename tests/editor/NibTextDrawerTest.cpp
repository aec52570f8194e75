#include <gtest/gtest.h>

#include "editor/NibAssert.h"
#include "editor/NibTextDrawer.h"
#include "support/RecordingCanvas.h"

namespace {

constexpr TFontStyles Bold = std::uint8_t(TFontStyle::fsBold);
constexpr TFontStyles Italic = std::uint8_t(TFontStyle::fsItalic);

/// Italic glyphs lean 3 pixels out of their cell.
class ItalicCanvas : public RecordingCanvas {
public:
    TABC CharABCWidths(char16_t c) override
    {
        TABC abc = RecordingCanvas::CharABCWidths(c);
        if (HasStyle(Font().Style, TFontStyle::fsItalic)) abc.C = 3;
        return abc;
    }
};

class TextDrawer : public ::testing::Test {
protected:
    RecordingGraphicsFactory factory;
    TFont font;
};

} // namespace

TEST_F(TextDrawer, DrawersWithTheSameFontShareOneRecord)
{
    TheFontsInfoManager& manager = TheFontsInfoManager::Get();
    const int before = manager.Count();
    auto a = std::make_unique<TheTextDrawer>(0, font);
    TFont italic = font;
    italic.Style = Italic;
    auto b = std::make_unique<TheTextDrawer>(0, italic);
    const TheSharedFontsInfo* info = a->FontStock().FontsInfo();
    EXPECT_EQ(info, b->FontStock().FontsInfo());
    EXPECT_EQ(info->RefCount, 2);
    EXPECT_EQ(manager.Count(), before + 1);
    EXPECT_TRUE(info->FontsData[Italic].Handle);

    a.reset();
    EXPECT_EQ(info->RefCount, 1);
    EXPECT_EQ(info->LockCount, 1);
    EXPECT_TRUE(info->FontsData[Italic].Handle) << "the other drawer still uses the fonts";
    b.reset();
    EXPECT_EQ(manager.Count(), before);

    TFont other = font;
    other.Name = u"Other Mono";
    TheTextDrawer c(0, font), d(0, other);
    EXPECT_NE(c.FontStock().FontsInfo(), d.FontStock().FontsInfo());
}

TEST_F(TextDrawer, ReleasedHandlesAreMadeAgainOnUse)
{
    TheTextDrawer drawer(0, font);
    const TheSharedFontsInfo* info = drawer.FontStock().FontsInfo();
    drawer.ReleaseTemporaryResources();
    EXPECT_EQ(info->LockCount, 0);
    EXPECT_FALSE(info->FontsData[0].Handle);
    drawer.SetStyle(Bold);
    EXPECT_EQ(info->LockCount, 1);
    EXPECT_TRUE(info->FontsData[Bold].Handle);
    EXPECT_EQ(drawer.GetCharWidth(), 8);
    EXPECT_EQ(drawer.GetCharHeight(), 16);
}

TEST_F(TextDrawer, EveryCharacterStartsOnACellBoundary)
{
    TheTextDrawer drawer(0, font);
    RecordingCanvas canvas;
    drawer.BeginDrawing(canvas);
    drawer.ExtTextOut(4, 2, tooOpaque | tooClipped, TRect{4, 2, 44, 18}, u"a\u4E00\u0301\u200Bb");
    drawer.EndDrawing();
    auto out = canvas.Of(CanvasCall::Kind::TextOut);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].Dx, (std::vector<int>{8, 16, 8, 8, 8}));
    EXPECT_EQ(out[0].Value, int(ETO_OPAQUE | ETO_CLIPPED));
    EXPECT_EQ(out[0].Rect, (TRect{4, 2, 44, 18}));
    EXPECT_EQ(out[0].Point, (TPoint{4, 2}));

    drawer.SetCharExtra(2);
    EXPECT_EQ(drawer.GetCharWidth(), 10);
    drawer.BeginDrawing(canvas);
    drawer.ExtTextOut(0, 0, 0, TRect{}, u"ab\u4E00");
    drawer.EndDrawing();
    EXPECT_EQ(drawer.LastAdvances(), (std::vector<int>{10, 10, 20}));
}

TEST_F(TextDrawer, OverhangingLastGlyphWidensTheClipInItsOwnStyle)
{
    TheTextDrawer drawer(0, font);
    ItalicCanvas canvas;
    drawer.BeginDrawing(canvas);
    drawer.ExtTextOut(0, 0, tooClipped, TRect{0, 0, 16, 16}, u"ab");
    EXPECT_EQ(canvas.Calls.back().Rect.Right, 16);
    drawer.SetStyle(Italic);
    drawer.ExtTextOut(0, 0, tooClipped, TRect{0, 0, 16, 16}, u"ab");
    EXPECT_EQ(canvas.Calls.back().Rect.Right, 19);
    EXPECT_EQ(canvas.Calls.back().Dx, (std::vector<int>{8, 11}));
    drawer.SetStyle(0);
    drawer.ExtTextOut(0, 0, tooClipped, TRect{0, 0, 16, 16}, u"ab");
    EXPECT_EQ(canvas.Calls.back().Rect.Right, 16);
    drawer.EndDrawing();
}

TEST_F(TextDrawer, NestedDrawingOnOneCanvasCountsAndRestoresTheFontAtTheEnd)
{
    TheTextDrawer drawer(0, font);
    drawer.SetForeColor(clNavy);
    drawer.SetBackColor(clYellow);
    RecordingCanvas canvas;
    TFont own;
    own.Name = u"Canvas Font";
    canvas.SetFont(own);
    drawer.BeginDrawing(canvas);
    EXPECT_EQ(canvas.TextColor, clNavy);
    EXPECT_EQ(canvas.BrushColor, clYellow);
    drawer.BeginDrawing(canvas);
    drawer.SetStyle(Bold);
    EXPECT_EQ(canvas.Font().Style, Bold);
    EXPECT_EQ(canvas.Font().Name, font.Name);
    drawer.SetForeColor(clBlack);
    EXPECT_EQ(canvas.TextColor, clBlack);
    drawer.EndDrawing();
    EXPECT_EQ(canvas.Font().Name, font.Name);
    drawer.EndDrawing();
    EXPECT_EQ(canvas.Font().Name, u"Canvas Font");
    EXPECT_THROW(drawer.EndDrawing(), EAssertionFailed);

    RecordingCanvas other;
    drawer.BeginDrawing(canvas);
    EXPECT_THROW(drawer.BeginDrawing(other), EAssertionFailed);
    drawer.EndDrawing();
}

TEST_F(TextDrawer, BaseStyleSetsTheCellSize)
{
    TheTextDrawer drawer(Bold, font);
    EXPECT_EQ(drawer.FontStock().FontsInfo()->FontsData[Bold].CharAdv, 8);
    drawer.SetBaseStyle(0);
    EXPECT_EQ(drawer.GetCharWidth(), 8);
    EXPECT_EQ(drawer.Style(), 0);
    EXPECT_EQ(drawer.TextWidth(u"a\u4E00"), 24);
    EXPECT_EQ(drawer.TextExtent(u"ab").cy, 16);
}
