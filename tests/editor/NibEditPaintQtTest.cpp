#include <gtest/gtest.h>

#include <memory>
#include <vector>
#include <QFontMetrics>
#include <QImage>
#include "editor/NibEdit.h"
#include "highlighter/NibHighlighterTavlo.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtColor.h"
#include "support/FakeControlHost.h"

namespace {

constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGreen = 0x008000;

/// Forth source in the editor on the Qt canvas, in the test face: keywords blue, comments green,
/// line numbers shown.
class EditorPixelsQtTest : public ::testing::Test {
protected:
    EditorPixelsQtTest()
    {
        edit = std::make_unique<TNibEdit>();
        edit->SetFont(InTestFace(edit->Font()));
        edit->Gutter().SetFont(InTestFace(edit->Gutter().Font()));
        for (const char16_t* word : {u":", u";", u"DUP", u"*", u"\\"}) forth.KeyWords().Add(word);
        forth.KeyAttri()->SetForeground(clBlue);
        forth.CommentAttri()->SetForeground(clGreen);
        edit->SetHighlighter(&forth);
        edit->Gutter().SetShowLineNumbers(true);
        edit->Lines().Add(u": SQ DUP * ;");
        edit->Lines().Add(u"\\ squares");
        window = std::make_unique<FakeControlHost>(*edit, 320, 120);
    }
    ~EditorPixelsQtTest() override { edit->SetHighlighter(nullptr); }

    /// What the window shows after one paint.
    QImage Window()
    {
        QImage image(edit->ClientWidth(), edit->ClientHeight(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QtCanvas canvas(image);
        edit->Paint(canvas);
        canvas.Flush();
        return image;
    }
    /// The pixels of a display cell (column, row from 1) that have exactly that colour.
    int Count(const QImage& image, int column, int row, TColor color) const
    {
        const TPoint p = edit->RowColumnToPixels({column, row});
        const QColor want = ToQColor(ColorToRGB(color));
        int n = 0;
        for (int y = p.Y; y < p.Y + edit->LineHeight(); ++y)
            for (int x = p.X; x < p.X + edit->CharWidth(); ++x) n += image.pixelColor(x, y) == want;
        return n;
    }
    int CellArea() const { return edit->CharWidth() * edit->LineHeight(); }

    /// The pixels of a display cell (column, row from 1) that no ink of `glyph` can reach in any
    /// style of the editor's face: those outside its box, widened by a pixel for the smoothing.
    std::vector<QPoint> InkFree(int column, int row, char16_t glyph) const
    {
        const TPoint p = edit->RowColumnToPixels({column, row});
        QRect ink;
        for (TFontStyles style = 0; style < 4; ++style) {  // every mix of bold and italic
            TFont font = edit->Font();
            font.Style = style;
            const QFontMetrics metrics(ToQFont(font));
            ink |= metrics.boundingRect(QChar(glyph)).translated(p.X, p.Y + metrics.ascent());
        }
        ink.adjust(-1, -1, 1, 1);
        std::vector<QPoint> free;
        for (int y = p.Y; y < p.Y + edit->LineHeight(); ++y)
            for (int x = p.X; x < p.X + edit->CharWidth(); ++x)
                if (!ink.contains(x, y)) free.emplace_back(x, y);
        return free;
    }
    /// How many of those pixels have exactly that colour.
    static int Count(const QImage& image, const std::vector<QPoint>& pixels, TColor color)
    {
        const QColor want = ToQColor(ColorToRGB(color));
        int n = 0;
        for (QPoint p : pixels) n += image.pixelColor(p) == want;
        return n;
    }

    QtTestGraphics graphics;
    TNibTavloHighlighter forth;
    std::unique_ptr<TNibEdit> edit;
    std::unique_ptr<FakeControlHost> window;
};

} // namespace

TEST_F(EditorPixelsQtTest, HighlightedTextSelectionAndGutterReachThePixels)
{
    edit->SetCaretAndSelection({7, 1}, {6, 1}, {7, 1});  // the D of DUP
    const QImage image = Window();
    ASSERT_EQ(edit->LeftChar(), 1);
    EXPECT_EQ(image.pixelColor(2, 2), ToQColor(ColorToRGB(edit->Gutter().Color())));
    // Nothing is left unpainted.
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) ASSERT_NE(image.pixelColor(x, y), QColor(Qt::magenta)) << x << "," << y;

    // The selection band lies behind the selected glyph; the next cell keeps the window colour.
    const std::vector<QPoint> behindD = InkFree(6, 1, u'D');
    ASSERT_GT(behindD.size(), 0u);
    EXPECT_EQ(Count(image, behindD, clHighlight), int(behindD.size()));
    EXPECT_GT(Count(image, 7, 1, clBlue), 0) << "the U of DUP in the keyword colour";
    const std::vector<QPoint> behindU = InkFree(7, 1, u'U');
    ASSERT_GT(behindU.size(), 0u);
    EXPECT_EQ(Count(image, behindU, clWindow), int(behindU.size()));
    EXPECT_GT(Count(image, 4, 2, clGreen), 0) << "the comment";
    EXPECT_EQ(Count(image, 20, 2, clWindow), CellArea());
    EXPECT_EQ(Count(image, 1, 4, clWindow), CellArea()) << "below the text";

    // A line number: dark ink on the gutter beside row 1, left of the border.
    int ink = 0;
    for (int y = 0; y < edit->LineHeight(); ++y)
        for (int x = 0; x < edit->GutterWidth() - 2; ++x) ink += image.pixelColor(x, y).lightness() < 100;
    EXPECT_GT(ink, 0);
}

TEST_F(EditorPixelsQtTest, HostedEditorPaintsOnceAndPlacesItsCaretWithoutRepaintingForEver)
{
    window.reset();
    ControlHostWidget host(*edit);
    host.resize(320, 120);
    int paints = 0;
    edit->OnPaint = [&](TObject*, Canvas&) { ++paints; };
    host.show();
    edit->FocusChanged(true);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_GE(paints, 1);
    const int settled = paints;
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(paints, settled);
    EXPECT_TRUE(edit->CaretVisible());

    const QImage shown = host.Surface()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(2, 2), ToQColor(ColorToRGB(edit->Gutter().Color())));
}
