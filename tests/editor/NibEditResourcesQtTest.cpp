#include <gtest/gtest.h>

#include <QImage>
#include "editor/NibEditMiscClasses.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/QtCanvas.h"

namespace {
constexpr TColor clLime = 0x00FF00;
}

TEST(NibEditResourcesQtTest, GlyphsDrawTransparentlyOnTheCanvas)
{
    QtTestGraphics graphics;
    QtBitmap target(60, 20);
    Canvas& canvas = target.GetCanvas();
    canvas.SetBrushColor(clYellow);
    canvas.FillRect({0, 0, 60, 20});

    TNibGlyph wrapped(u"NibEditWrapped", clLime);
    wrapped.Draw(canvas, 0, 0, 20);
    TNibInternalImage marks(u"NibEditInternalImages", 10);
    marks.Draw(canvas, 7, 30, 0, 20);

    const QImage& image = target.Image();
    int lime = 0, ink = 0, yellow = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 15; ++x) {
            const QColor c = image.pixelColor(x, y);
            lime += c == QColor(0, 255, 0);
            yellow += c == QColor(255, 255, 0);
            ink += c == QColor(0, 0, 128);
        }
    }
    EXPECT_EQ(lime, 0) << "the transparent colour leaves the yellow below";
    EXPECT_GT(yellow, 100);
    EXPECT_GT(ink, 8);

    // The bookmark glyph is opaque: a frame with a digit inside.
    EXPECT_EQ(image.pixelColor(31, 10), QColor(0, 0, 0));
    int dark = 0;
    for (int y = 5; y < 15; ++y)
        for (int x = 33; x < 39; ++x) dark += image.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(dark, 4);
}
