#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "platform/ManualLoop.h"
#include "support/FakeControlHost.h"
#include "support/RecordingCanvas.h"
#include "terminal/SimpleTerminal.h"
#include "terminal/TerminalView.h"

namespace {

using Kind = CanvasCall::Kind;

constexpr TColor clRed = 0x0000FF;

/// Counts repaint requests and gives the focus when allowed to.
class FakeHost : public ControlHost {
public:
    explicit FakeHost(Control& control) : fControl(control) {}
    void InvalidateRect(const TRect&) override { ++Invalidations; }
    void ScrollInfoChanged(TScrollBarKind, const TScrollInfo&) override {}
    void SetCapture(bool) override {}
    void SetCursorShape(TCursorShape) override {}
    void SetFocus() override
    {
        if (TakesFocus) fControl.FocusChanged(true);
    }
    void CaretChanged(bool, const TRect&) override {}
    void Beep() override {}

    int Invalidations = 0;
    bool TakesFocus = true;

private:
    Control& fControl;
};

/// A loaded terminal of 80 x 24 cells of 10 x 18 pixels in a window that fits it exactly.
class TerminalViewTest : public ::testing::Test {
protected:
    TerminalViewTest()
    {
        MainLoop::SetCurrent(&loop);
        term.SetHost(&host);
        term.SetBounds(0, 0, 800, 432);
        term.Loaded();
    }
    ~TerminalViewTest() override { term.SetHost(nullptr); }

    /// The calls made on the current bitmap since the last look.
    std::vector<CanvasCall> TakeBitmapCalls(Kind what)
    {
        RecordingCanvas& canvas = graphics.Bitmaps.back()->Recorder;
        std::vector<CanvasCall> calls = canvas.Of(what);
        canvas.Calls.clear();
        return calls;
    }

    /// What the window shows now: the calls of one paint.
    RecordingCanvas PaintWindow()
    {
        RecordingCanvas window;
        term.Paint(window);
        return window;
    }

    std::vector<TRect> CursorBands()
    {
        std::vector<TRect> bands;
        for (const CanvasCall& c : PaintWindow().Of(Kind::InvertRect)) bands.push_back(c.Rect);
        return bands;
    }

    ManualLoop loop;
    RecordingGraphicsFactory graphics;
    TSimpleTerminal term;
    FakeHost host{term};
};

TEST_F(TerminalViewTest, LoadedGivesABlankBitmapOfTheUsedCellsAndPaintCopiesIt)
{
    EXPECT_EQ(term.CellWidth(), 10);
    EXPECT_EQ(term.CellHeight(), 18);
    const Bitmap* bitmap = term.View().DisplayBitMap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 800);
    EXPECT_EQ(bitmap->Height(), 432);
    std::vector<CanvasCall> fills = TakeBitmapCalls(Kind::FillRect);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.back().Rect, (TRect{0, 0, 800, 432}));
    EXPECT_EQ(fills.back().Color, term.Color());

    RecordingCanvas window = PaintWindow();
    std::vector<CanvasCall> copies = window.Of(Kind::CopyRect);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Source, bitmap);
    EXPECT_EQ(copies[0].Rect, (TRect{0, 0, 800, 432}));
    EXPECT_EQ(copies[0].SourceRect, (TRect{0, 0, 800, 432}));
    EXPECT_TRUE(window.Of(Kind::FillRect).empty());
    EXPECT_FALSE(term.View().ScrollBars().Vert.Visible);
    EXPECT_FALSE(term.View().ScrollBars().Horz.Visible);
}

TEST_F(TerminalViewTest, CellsAreDrawnAtPaintOneRunPerLook)
{
    const TFont font = term.Font();
    term.WriteString(u"ab");
    term.SetCurrentFontColor(clRed);
    term.SetCurrentBgColor(clNavy);
    term.Write(u'R');
    // clNone keeps what the cell holds.
    term.SetCurrentFontColor(clNone);
    term.SetCurrentBgColor(clNone);
    term.GotoXY(2, 0);
    term.Write(u'S');
    TTerminalCharAttributes attributes;
    attributes.Include(tca_Inverted);
    term.SetCurrentAttributes(attributes);
    term.Write(u'I');
    attributes = {};
    attributes.Include(tca_Bold);
    attributes.Include(tca_Underlined);
    term.SetCurrentAttributes(attributes);
    term.Write(u'B');
    TakeBitmapCalls(Kind::TextOut);
    EXPECT_TRUE(TakeBitmapCalls(Kind::TextOut).empty());

    PaintWindow();
    std::vector<CanvasCall> texts = TakeBitmapCalls(Kind::TextOut);
    struct Expected {
        std::u16string text;
        int left;
        TColor font, back;
        TFontStyles style;
    } expected[] = {
        {u"ab", 0, font.Color, term.Color(), 0},
        {u"S", 20, clRed, clNavy, 0},
        {u"I", 30, term.Color(), font.Color, 0},
        {u"B", 40, font.Color, term.Color(), TFontStyles(int(TFontStyle::fsBold) | int(TFontStyle::fsUnderline))},
    };
    ASSERT_EQ(texts.size(), std::size(expected));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        const CanvasCall& c = texts[i];
        EXPECT_EQ(c.Text, expected[i].text);
        EXPECT_EQ(c.Point, (TPoint{expected[i].left, 0}));
        EXPECT_EQ(c.Rect, (TRect{expected[i].left, 0, expected[i].left + 10 * int(c.Text.size()), 18}));
        EXPECT_EQ(c.Value & int(ETO_OPAQUE), int(ETO_OPAQUE));
        EXPECT_EQ(c.Dx, std::vector<int>(c.Text.size(), 10));
        EXPECT_EQ(c.Color, expected[i].font);
        EXPECT_EQ(c.Background, expected[i].back);
        EXPECT_EQ(c.Font.Style, expected[i].style);
        EXPECT_EQ(c.Font.Name, font.Name);
    }
}

TEST_F(TerminalViewTest, BlankCellsPaintInTheControlsColours)
{
    term.SetCurrentFontColor(clRed);
    term.SetCurrentBgColor(clNavy);
    term.GotoXY(0, 1);
    term.WriteString(u"xyz");
    term.ClrLine();
    TakeBitmapCalls(Kind::FillRect);
    PaintWindow();
    EXPECT_TRUE(TakeBitmapCalls(Kind::TextOut).empty());
    graphics.Bitmaps.back()->Recorder.Calls.clear();

    // A colour change redraws every cell: the blank ones in the new colour, without text.
    term.SetColor(clYellow);
    PaintWindow();
    std::vector<CanvasCall> fills = TakeBitmapCalls(Kind::FillRect);
    ASSERT_FALSE(fills.empty());
    for (const CanvasCall& c : fills) EXPECT_EQ(c.Color, clYellow);
    EXPECT_EQ(fills[1].Rect, (TRect{0, 18, 800, 36}));
}

TEST_F(TerminalViewTest, TheCursorBandBlinksAndGoesWithDisplayCursor)
{
    term.GotoXY(3, 2);
    EXPECT_EQ(CursorBands(), std::vector<TRect>{(TRect{30, 50, 40, 54})});
    loop.AdvanceMs(500);
    EXPECT_TRUE(CursorBands().empty());
    loop.AdvanceMs(500);
    EXPECT_EQ(CursorBands().size(), 1u);

    term.SetDisplayCursor(false);
    EXPECT_TRUE(CursorBands().empty());
    loop.AdvanceMs(1500);
    EXPECT_TRUE(CursorBands().empty());
    term.SetDisplayCursor(true);
    EXPECT_EQ(CursorBands(), std::vector<TRect>{(TRect{30, 50, 40, 54})});
}

TEST_F(TerminalViewTest, AFontChangeResizesCellsAndBitmapAndKeepsTextAndCursor)
{
    term.WriteString(u"abc");
    PaintWindow();
    // The new font is twice as wide: the sample measures 16 pixels a character.
    graphics.DoubleWidth.insert(CellSample.begin(), CellSample.end());
    TFont font = term.Font();
    font.Name = u"Other Mono";
    term.SetFont(font);
    EXPECT_EQ(term.CellWidth(), 18);
    EXPECT_EQ(term.View().DisplayBitMap()->Width(), 80 * 18);

    std::vector<CanvasCall> texts = TakeBitmapCalls(Kind::TextOut);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].Text, u"abc");
    EXPECT_EQ(texts[0].Dx, (std::vector<int>{18, 18, 18}));
    EXPECT_EQ(texts[0].Font.Name, u"Other Mono");
    EXPECT_EQ(CursorBands(), std::vector<TRect>{(TRect{54, 14, 72, 18})});
}

TEST_F(TerminalViewTest, ScrollsOfOneRegionMoveTheBandOnceAtPaint)
{
    term.GotoXY(0, 23);
    PaintWindow();
    TakeBitmapCalls(Kind::ScrollBand);
    term.WriteString(u"a\r\nb\r\nc\r\nd");
    EXPECT_TRUE(TakeBitmapCalls(Kind::ScrollBand).empty());
    PaintWindow();
    RecordingCanvas& canvas = graphics.Bitmaps.back()->Recorder;
    std::vector<CanvasCall> scrolls = canvas.Of(Kind::ScrollBand);
    ASSERT_EQ(scrolls.size(), 1u);
    EXPECT_EQ(scrolls[0].Rect, (TRect{0, 0, 800, 432}));
    EXPECT_EQ(scrolls[0].Point, (TPoint{0, -3 * 18}));
    std::vector<std::pair<std::u16string, int>> texts;
    for (const CanvasCall& c : canvas.Of(Kind::TextOut)) texts.push_back({c.Text, c.Point.Y / 18});
    EXPECT_EQ(texts, (std::vector<std::pair<std::u16string, int>>{{u"a", 20}, {u"b", 21}, {u"c", 22}, {u"d", 23}}));
}

TEST_F(TerminalViewTest, ABandMovedByMoreThanItsHeightIsDrawnFromTheBufferWithoutACopy)
{
    term.GotoXY(0, 23);
    PaintWindow();
    TakeBitmapCalls(Kind::TextOut);
    // Each line longer than the one before, so that no damage left from an earlier line covers it.
    auto line = [](int i) { return std::u16string(std::size_t(i + 1), char16_t(u'A' + i)); };
    for (int i = 0; i < 30; ++i) term.WriteString(line(i) + u"\r\n");
    PaintWindow();
    RecordingCanvas& canvas = graphics.Bitmaps.back()->Recorder;
    EXPECT_TRUE(canvas.Of(Kind::ScrollBand).empty());
    std::vector<std::pair<std::u16string, int>> texts, expected;
    for (const CanvasCall& c : canvas.Of(Kind::TextOut)) texts.push_back({c.Text, c.Point.Y / 18});
    // The last 23 lines on rows 0..22 above the blank cursor row.
    for (int row = 0; row < 23; ++row) expected.push_back({line(7 + row), row});
    EXPECT_EQ(texts, expected);
}

TEST_F(TerminalViewTest, AFloodPaintsAtMostOncePerFrame)
{
    PaintWindow();
    host.Invalidations = 0;
    for (int i = 0; i < 5000; ++i) term.Write(char16_t(u'a' + i % 26));
    loop.AdvanceMs(TTerminalView::FrameMs - 1);
    EXPECT_EQ(host.Invalidations, 0);
    loop.AdvanceMs(1);
    EXPECT_EQ(host.Invalidations, 1);
    term.WriteString(u"more");
    loop.AdvanceMs(100);
    EXPECT_EQ(host.Invalidations, 1);
    // After a quiet frame the next change asks at once.
    PaintWindow();
    loop.AdvanceMs(100);
    term.Write(u'x');
    EXPECT_EQ(host.Invalidations, 2);
}

class TerminalScrollTest : public TerminalViewTest {
protected:
    /// 200 rows in a window 30 rows high with room for the vertical bar.
    TerminalScrollTest()
    {
        term.SetRows(200);
        term.SetBounds(0, 0, 818, 30 * 18);
    }
};

TEST_F(TerminalScrollTest, WritingOnRow150BringsItToTheBottomOfTheWindow)
{
    const TTerminalScrollBar& bar = term.View().ScrollBars().Vert;
    EXPECT_TRUE(bar.Visible);
    EXPECT_FALSE(term.View().ScrollBars().Horz.Visible);
    EXPECT_EQ(bar.Max, 200 * 18 + 1 - 540);
    EXPECT_EQ(bar.Bounds, (TRect{801, 0, 818, 540}));
    term.GotoXY(0, 150);
    term.Write(u'x');
    std::vector<CanvasCall> copies = PaintWindow().Of(Kind::CopyRect);
    EXPECT_EQ(bar.Position, 151 * 18 - 539);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].SourceRect, (TRect{0, 151 * 18 - 539, 800, 151 * 18 + 1}));
    EXPECT_EQ(copies[0].Rect, (TRect{0, 0, 800, 540}));
    EXPECT_EQ(term.ScrollInfo(TScrollBarKind::sbVertical).Position, bar.Position);
    EXPECT_TRUE(term.ScrollInfo(TScrollBarKind::sbVertical).Visible);
}

TEST_F(TerminalScrollTest, RowsOutOfSightAreDrawnWhenTheyComeIntoTheView)
{
    term.GotoXY(0, 199);
    PaintWindow();
    TakeBitmapCalls(Kind::TextOut);
    term.SetScrollToCursor(false);
    term.GotoXY(0, 0);
    term.Write(u'q');
    term.GotoXY(0, 199);
    term.Write(u'z');
    PaintWindow();
    std::vector<CanvasCall> texts = TakeBitmapCalls(Kind::TextOut);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, u"z");

    term.Scroll(TScrollBarKind::sbVertical, TScrollCode::scTop, 0);
    PaintWindow();
    texts = TakeBitmapCalls(Kind::TextOut);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, u"q");
    EXPECT_EQ(texts[0].Point, (TPoint{0, 0}));
}

TEST_F(TerminalScrollTest, ScrollEventsAndMoveViewTopStayWithinTheBar)
{
    const TTerminalScrollBar& bar = term.View().ScrollBars().Vert;
    struct Step {
        TScrollCode code;
        int position;
        int expected;
    } steps[] = {
        {TScrollCode::scLineDown, 0, 5},    {TScrollCode::scPageDown, 0, 23}, {TScrollCode::scLineUp, 0, 18},
        {TScrollCode::scTrack, 5000, 3061}, {TScrollCode::scPageUp, 0, 3043}, {TScrollCode::scTop, 0, 0},
        {TScrollCode::scPageUp, 0, 0},      {TScrollCode::scBottom, 0, 3061}, {TScrollCode::scPosition, 100, 100},
    };
    for (const Step& s : steps) {
        term.Scroll(TScrollBarKind::sbVertical, s.code, s.position);
        EXPECT_EQ(bar.Position, s.expected) << int(s.code);
    }
    term.MoveViewTop(-150);
    EXPECT_EQ(bar.Position, 0);
    term.MoveViewTop(18);
    EXPECT_EQ(bar.Position, 18);
    EXPECT_EQ(PaintWindow().Of(Kind::CopyRect)[0].SourceRect.Top, 18);
}

TEST(TerminalViewLayout, AWindowNotYetLaidOutLeavesTheViewAtTheTop)
{
    ManualLoop loop;
    MainLoop::SetCurrent(&loop);
    RecordingGraphicsFactory graphics;
    TSimpleTerminal term;
    term.SetRows(200);
    term.Loaded();
    term.SetBounds(0, 0, 818, 540);
    EXPECT_TRUE(term.View().ScrollBars().Vert.Visible);
    EXPECT_EQ(term.View().ScrollBars().Vert.Position, 0);
}

TEST_F(TerminalViewTest, AClickTakesTheFocusOrIsDropped)
{
    int clicks = 0;
    term.OnMouseDown = [&clicks](TObject*, TMouseButton, TShiftState, int, int) { ++clicks; };
    host.TakesFocus = false;
    term.MouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
    term.MouseDown(TMouseButton::mbRight, ssRight, 5, 5);
    EXPECT_EQ(clicks, 0);
    host.TakesFocus = true;
    term.MouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
    EXPECT_TRUE(term.Focused());
    EXPECT_EQ(clicks, 1);
}

TEST(TerminalViewNotReady, StoresEveryWriteAndPaintsTheControlColour)
{
    ManualLoop loop;
    MainLoop::SetCurrent(&loop);
    TSimpleTerminal term;
    term.SetBounds(0, 0, 100, 50);
    term.Write(u'q');
    EXPECT_EQ(term.GetCharAtXY(0, 0).Character, u'q');
    // Without a graphics backend the view never gets a bitmap.
    term.Loaded();
    term.Write(u'r');
    EXPECT_EQ(term.GetCharAtXY(0, 0).Character, u'r');
    EXPECT_FALSE(term.View().Ready());
    RecordingCanvas window;
    term.Paint(window);
    ASSERT_EQ(window.Of(Kind::FillRect).size(), 1u);
    EXPECT_EQ(window.Of(Kind::FillRect)[0].Color, term.Color());
    EXPECT_TRUE(window.Of(Kind::CopyRect).empty());
}

TEST(TerminalAutoSize, TheClientTakesTheBitmapsSizeWhileOnAndAsItChanges)
{
    ManualLoop loop;
    MainLoop::SetCurrent(&loop);
    RecordingGraphicsFactory graphics;
    TSimpleTerminal term;
    term.SetAutoSize(false);
    FakeControlHost host(term, 300, 200);
    term.Loaded();
    EXPECT_EQ(term.ClientWidth(), 300);
    EXPECT_TRUE(term.View().ScrollBars().Vert.Visible);
    EXPECT_TRUE(term.View().ScrollBars().Horz.Visible);

    term.SetAutoSize(true);
    EXPECT_EQ(term.ClientWidth(), 80 * term.CellWidth());
    EXPECT_EQ(term.ClientHeight(), 24 * term.CellHeight());
    EXPECT_FALSE(term.View().ScrollBars().Vert.Visible);
    EXPECT_FALSE(term.View().ScrollBars().Horz.Visible);

    // A new bitmap for more rows brings the client along.
    term.SetRows(30);
    EXPECT_EQ(term.ClientHeight(), 30 * term.CellHeight());

    // Off, the client keeps whatever size it is given.
    term.SetAutoSize(false);
    host.RequestClientSize(300, 200);
    term.SetRows(40);
    EXPECT_EQ(term.ClientHeight(), 200);
    EXPECT_TRUE(term.View().ScrollBars().Vert.Visible);
}

}  // namespace
