#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include "app/ReceiveProcedure.h"
#include "platform/ManualLoop.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtColor.h"
#include "terminal/TerminalView.h"

namespace {

constexpr TColor clRed = 0x0000FF;

/// The terminal as the main window designs it, in the test face, on the Qt canvas, fed through the
/// receive procedure.
class TerminalPixelsQtTest : public ::testing::Test {
protected:
    TerminalPixelsQtTest()
    {
        MainLoop::SetCurrent(&loop);
        options.AllowedCtrlCodes = TConfigTermCtrlCodes::All();
        term.SetColor(clNavy);
        TFont font = InTestFace(term.Font());
        font.Height = -13;
        font.Color = clYellow;
        term.SetFont(font);
        term.Loaded();
        const Bitmap* bitmap = term.View().DisplayBitMap();
        term.SetBounds(0, 0, bitmap->Width(), bitmap->Height());
    }

    void Feed(const std::string& bytes)
    {
        for (char b : bytes) RxChar(state, context, std::uint8_t(b));
    }

    /// What the window shows: one paint on an image of the client's size.
    QImage Window()
    {
        QImage image(term.ClientWidth(), term.ClientHeight(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QtCanvas canvas(image);
        term.Paint(canvas);
        canvas.Flush();
        return image;
    }

    TRect Cell(int column, int row) const
    {
        const int w = term.CellWidth();
        const int h = term.CellHeight();
        return {column * w, row * h, (column + 1) * w, (row + 1) * h};
    }

    /// How many pixels of r have exactly that colour.
    static int Count(const QImage& image, const TRect& r, TColor color)
    {
        const QRgb wanted = ToQColor(color).rgb();
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += image.pixel(x, y) == wanted;
        return n;
    }

    /// How many pixels of r are nearer to `ink` than to `back` (text is drawn smoothed).
    static int Inky(const QImage& image, const TRect& r, TColor ink, TColor back)
    {
        auto distance = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        };
        const QRgb i = ToQColor(ink).rgb();
        const QRgb b = ToQColor(back).rgb();
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += distance(image.pixel(x, y), i) < distance(image.pixel(x, y), b);
        return n;
    }

    static int Area(const TRect& r) { return r.Width() * r.Height(); }

    ManualLoop loop;
    QtTestGraphics graphics;
    TSimpleTerminal term;
    TComOkBuffer okBuffer;
    TConfigTermOptions options;
    bool inPaste = false;
    bool abortPaste = false;
    TRxState state;
    TRxContext context{term, okBuffer, options, inPaste, abortPaste, [](std::uint8_t) {}, [] {}};
};

TEST_F(TerminalPixelsQtTest, AStreamShowsItsCharactersInTheirCellsAndColours)
{
    Feed("ab");
    Feed(std::string{2, 2, 5});  // row 2, column 5
    term.SetCurrentFontColor(clRed);
    term.SetCurrentBgColor(clWhite);
    Feed("X");
    const QImage image = Window();

    struct Expect {
        int column, row;
        TColor back, ink;
        bool blank;
    } cells[] = {
        {0, 0, clNavy, clYellow, false}, {1, 0, clNavy, clYellow, false}, {2, 0, clNavy, clYellow, true},
        {4, 2, clNavy, clYellow, true},  {5, 2, clWhite, clRed, false},   {79, 23, clNavy, clYellow, true},
    };
    for (const Expect& e : cells) {
        SCOPED_TRACE(std::to_string(e.column) + "," + std::to_string(e.row));
        const TRect r = Cell(e.column, e.row);
        const int back = Count(image, r, e.back);
        if (e.blank) {
            EXPECT_EQ(back, Area(r));
        } else {
            // Ink in the text colour on the cell's background, the top-left corner left clear.
            EXPECT_GT(back, Area(r) / 2);
            EXPECT_GT(Inky(image, r, e.ink, e.back), 3);
            EXPECT_EQ(image.pixel(r.Left, r.Top), ToQColor(e.back).rgb());
        }
    }

    // The cursor, now at 6,2: the bottom 4 pixel rows of its cell inverted.
    const TRect cursor = Cell(6, 2);
    const TRect band{cursor.Left, cursor.Bottom - 4, cursor.Right, cursor.Bottom};
    EXPECT_EQ(Count(image, band, TColor(0xFFFFFF ^ clNavy)), Area(band));
    EXPECT_EQ(Count(image, {cursor.Left, cursor.Top, cursor.Right, band.Top}, clNavy), Area(cursor) - Area(band));
    loop.AdvanceMs(500);
    EXPECT_EQ(Count(Window(), cursor, clNavy), Area(cursor));
}

TEST_F(TerminalPixelsQtTest, AnUnderlinedRunIsUnderlinedUnderEachOfItsCells)
{
    TTerminalCharAttributes underlined;
    underlined.Include(tca_Underlined);
    Feed("text and then ");
    term.SetCurrentAttributes(underlined);
    Feed("a  b");
    term.SetCurrentAttributes({});
    Feed("  ");
    const QImage image = Window();
    for (int column = 14; column < 18; ++column)
        EXPECT_GT(Inky(image, Cell(column, 0), clYellow, clNavy), 3) << column;
    for (int column : {13, 18}) EXPECT_EQ(Count(image, Cell(column, 0), clNavy), Area(Cell(column, 0))) << column;
}

TEST_F(TerminalPixelsQtTest, AMissingFaceGivesWayToTheSystemsFixedPitchFontAndIsKept)
{
    TFont font = term.Font();
    font.Name = u"Lucidia Console";
    term.SetFont(font);
    EXPECT_EQ(term.Font().Name, u"Lucidia Console");
    const QFontInfo used(ToQFont(term.Font()));
    EXPECT_TRUE(used.fixedPitch()) << used.family().toStdString();
    // The system's fixed font, where the font database holds it fixed-pitch: a "mono" face with
    // glyphs wider than its cell (Noto Sans Mono) is not, and gives way to one that is.
    const QFontInfo system(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (system.fixedPitch()) EXPECT_EQ(used.family(), system.family());
    // Fixed pitch: the cell is the common advance plus 2.
    QFontMetrics metrics(ToQFont(term.Font()));
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
    EXPECT_EQ(term.CellWidth(), metrics.horizontalAdvance(QLatin1Char('W')) + 2);
}

}  // namespace
