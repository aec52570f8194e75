#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QPalette>
#include "platform/QtTestApplication.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtColor.h"

namespace {

struct ColorCase {
    TColor Color;
    int R, G, B;
};

TEST(QtColorQtTest, ColoursKeepRedInTheLowByteBothWays)
{
    TestApplication();
    const ColorCase cases[] = {{0x0000FF, 255, 0, 0}, {clYellow, 255, 255, 0}, {clNavy, 0, 0, 128},
                               {clMoneyGreen, 0xC0, 0xDC, 0xC0}};
    for (const ColorCase& c : cases) {
        QColor q = ToQColor(c.Color);
        EXPECT_EQ(q, QColor(c.R, c.G, c.B)) << std::hex << c.Color;
        EXPECT_EQ(FromQColor(q), c.Color) << std::hex << c.Color;
    }
    EXPECT_EQ(ToQColor(clNone).alpha(), 0);
}

TEST(QtColorQtTest, SystemColoursComeFromThePalette)
{
    QtTestGraphics graphics;
    EXPECT_EQ(ColorToRGB(TColor(0xFF00000Du)), FromQColor(QGuiApplication::palette().color(QPalette::Highlight)));
}

TEST(QtColorQtTest, NegativeFontHeightIsThePixelHeight)
{
    TestApplication();
    TFont font;
    font.Name = TestFixedFace;
    font.Height = -13;
    font.Style = std::uint8_t(TFontStyle::fsBold);
    QFont q = ToQFont(font);
    EXPECT_EQ(q.pixelSize(), 13);
    EXPECT_TRUE(q.bold());
    TFont back = FromQFont(q, clNavy);
    EXPECT_EQ(back.Height, -13);
    EXPECT_EQ(back.Style, font.Style);
    EXPECT_EQ(back.Color, clNavy);
}

TEST(QtColorQtTest, FontQualityChoosesTheSmoothing)
{
    TestApplication();
    TFont font;
    EXPECT_EQ(ToQFont(font).styleStrategy() & QFont::NoAntialias, 0);
    font.Quality = TFontQuality::fqNonAntialiased;
    EXPECT_NE(ToQFont(font).styleStrategy() & QFont::NoAntialias, 0);
    font.Quality = TFontQuality::fqAntialiased;
    EXPECT_NE(ToQFont(font).styleStrategy() & QFont::PreferAntialias, 0);
}

class QtCanvasQtTest : public ::testing::Test {
protected:
    QtCanvasQtTest() { TestApplication(); }
    QColor Pixel(int x, int y) const { return static_cast<const QtBitmap&>(bitmap).Image().pixelColor(x, y); }

    QtBitmap bitmap{40, 20};
    Canvas& canvas = bitmap.GetCanvas();
};

TEST_F(QtCanvasQtTest, FillOpaqueTextAndClipUseTheBrushWithinTheirRectangles)
{
    canvas.SetBrushColor(clYellow);
    canvas.FillRect({0, 0, 10, 10});
    EXPECT_EQ(Pixel(9, 9), QColor(255, 255, 0));
    EXPECT_EQ(Pixel(10, 10), QColor(Qt::white));

    canvas.SetBrushColor(clNavy);
    canvas.SetClipRect({0, 0, 20, 20});
    TRect cell{10, 0, 30, 20};
    canvas.ExtTextOut(10, 0, ETO_OPAQUE, &cell, u"", nullptr);
    EXPECT_EQ(Pixel(19, 5), QColor(0, 0, 128));
    EXPECT_EQ(Pixel(25, 5), QColor(Qt::white));  // outside the clip
    canvas.ClearClip();

    canvas.SetBrushStyle(TBrushStyle::bsClear);
    canvas.FillRect({30, 0, 40, 10});
    EXPECT_EQ(Pixel(35, 5), QColor(Qt::white));
}

TEST_F(QtCanvasQtTest, ScrollBandMovesPixelsAndKeepsWhatIsUncovered)
{
    canvas.SetBrushColor(0x0000FF);
    canvas.FillRect({0, 0, 4, 4});
    canvas.ScrollBand({0, 0, 40, 20}, 10, 0);
    EXPECT_EQ(Pixel(11, 1), QColor(255, 0, 0));
    EXPECT_EQ(Pixel(1, 1), QColor(255, 0, 0));  // uncovered: old pixels stay
    EXPECT_EQ(Pixel(5, 1), QColor(Qt::white));
}

TEST_F(QtCanvasQtTest, VerticalScrollBandsMoveRowsWithinTheBandOnly)
{
    // Rows 0..3 red, 4..7 yellow; a band of the left half moves up, the whole width moves down.
    canvas.SetBrushColor(0x0000FF);
    canvas.FillRect({0, 0, 40, 4});
    canvas.SetBrushColor(clYellow);
    canvas.FillRect({0, 4, 40, 8});
    canvas.ScrollBand({0, 0, 20, 8}, 0, -4);
    EXPECT_EQ(Pixel(5, 1), QColor(255, 255, 0));
    EXPECT_EQ(Pixel(5, 6), QColor(255, 255, 0));  // uncovered: old pixels stay
    EXPECT_EQ(Pixel(25, 1), QColor(255, 0, 0));   // outside the band
    canvas.ScrollBand({0, 0, 40, 20}, 0, 6);
    EXPECT_EQ(Pixel(25, 7), QColor(255, 0, 0));
    EXPECT_EQ(Pixel(25, 1), QColor(255, 0, 0));
    EXPECT_EQ(Pixel(25, 19), QColor(Qt::white));  // row 13 was white
    EXPECT_EQ(Pixel(5, 7), QColor(255, 255, 0));
}

TEST_F(QtCanvasQtTest, TextPlacesEachCodeUnitAtItsAdvanceAndMetricsAgree)
{
    TFont font;
    font.Name = TestFixedFace;
    font.Height = -14;
    canvas.SetFont(font);
    TTextMetric tm = canvas.TextMetrics();
    EXPECT_EQ(tm.Height, tm.Ascent + tm.Descent);
    TABC abc = canvas.CharABCWidths(u'W');
    EXPECT_EQ(abc.A + abc.B + abc.C, canvas.TextExtent(u"W").cx);

    // "I" with an advance of 20 lands its ink in the second 20-pixel cell only.
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    canvas.SetTextColor(clBlack);
    const int dx[] = {20, 20};
    canvas.ExtTextOut(0, 0, 0, nullptr, u" I", dx);
    auto inkIn = [&](int left, int right) {
        for (int x = left; x < right; ++x)
            for (int y = 0; y < 20; ++y)
                if (Pixel(x, y) != QColor(Qt::white)) return true;
        return false;
    };
    EXPECT_FALSE(inkIn(0, 20));
    EXPECT_TRUE(inkIn(20, 40));
}

}  // namespace

TEST_F(QtCanvasQtTest, EveryCodeUnitAnswersWidthQuestions)
{
    TFont font;
    font.Name = TestFixedFace;
    font.Height = -14;
    canvas.SetFont(font);
    const int m = canvas.TextExtent(u"M").cx;
    EXPECT_GT(m, 0);
    for (char16_t c : {u'\xD800', u'\xDC00', u'\u200B', u'\u0301', u'\0'}) {
        const char16_t text[] = {c};
        const TSize size = canvas.TextExtent(std::u16string_view(text, 1));
        EXPECT_GE(size.cx, 0) << int(c);
        EXPECT_GT(size.cy, 0) << int(c);
        const TABC abc = canvas.CharABCWidths(c);
        EXPECT_GE(abc.A + abc.B + abc.C, 0) << int(c);
    }
    EXPECT_EQ(canvas.TextExtent(u"\u200B").cx, 0);

    font.Style = std::uint8_t(TFontStyle::fsItalic);
    canvas.SetFont(font);
    const TABC italic = canvas.CharABCWidths(u'M');
    EXPECT_EQ(italic.A + italic.B + italic.C, canvas.TextExtent(u"M").cx);
    EXPECT_EQ(canvas.GetBrushStyle(), TBrushStyle::bsSolid);
}
