#include <gtest/gtest.h>

#include "support/RecordingCanvas.h"
#include "terminal/TerminalLayout.h"

namespace {

TEST(TerminalLayout, CellIsTheSamplesAverageWidthRoundedUpAndItsHeightEachPlusTwo)
{
    RecordingCanvas canvas;
    EXPECT_EQ(MeasureCell(canvas), (TSize{8 + 2, 16 + 2}));
    struct Case {
        TSize extent;
        TSize cell;
    } cases[] = {
        {{49 * 7, 14}, {9, 16}},
        {{49 * 7 + 1, 14}, {10, 16}},
        {{0, 0}, {2, 2}},
    };
    for (const Case& c : cases) EXPECT_EQ(CellSizeFromExtent(c.extent), c.cell) << c.extent.cx;
    EXPECT_EQ(BitmapSize(80, 200, {10, 16}), (TSize{800, 3200}));
    EXPECT_EQ(CellRect(3, 2, {10, 16}), (TRect{30, 32, 40, 48}));
    EXPECT_EQ(CursorBand(3, 2, {10, 16}), (TRect{30, 44, 40, 48}));
}

constexpr TSize Cell{10, 16};
constexpr TSize Screen{800, 3200};  // 80 columns, 200 rows

TEST(TerminalLayout, ScrollBarsShowWhereTheBitmapDoesNotFit)
{
    struct Case {
        TSize client;
        bool vert, horz;
        int vertMax, horzMax;
    } cases[] = {
        {{818, 480}, true, false, 2721, 0},
        // The vertical bar leaves exactly the bitmap's width: "or equal" shows the second bar.
        {{817, 480}, true, true, 3201 - 463, 0},
        {{800, 3200}, false, false, 0, 0},
        {{799, 3300}, false, true, 0, 1},
        {{799, 3218}, false, true, 0, 1},
        {{799, 3217}, true, true, 1, 18},
        {{900, 4000}, false, false, 0, 0},
    };
    for (const Case& c : cases) {
        TTerminalScrollBars bars = LayoutScrollBars(c.client, Screen, Cell, 17, {});
        SCOPED_TRACE(std::to_string(c.client.cx) + "x" + std::to_string(c.client.cy));
        EXPECT_EQ(bars.Vert.Visible, c.vert);
        EXPECT_EQ(bars.Horz.Visible, c.horz);
        if (c.vert) { EXPECT_EQ(bars.Vert.Max, c.vertMax); }
        if (c.horz) { EXPECT_EQ(bars.Horz.Max, c.horzMax); }
    }

    TTerminalScrollBars bars = LayoutScrollBars({817, 480}, Screen, Cell, 17, {});
    EXPECT_EQ(bars.Vert.Bounds, (TRect{800, 0, 817, 463}));
    EXPECT_EQ(bars.Horz.Bounds, (TRect{0, 463, 800, 480}));
    EXPECT_EQ(bars.Vert.LargeChange, 16);
    EXPECT_EQ(bars.Vert.SmallChange, 5);
    EXPECT_EQ(bars.Horz.LargeChange, 10);
    EXPECT_EQ(bars.Horz.SmallChange, 3);
}

TEST(TerminalLayout, PositionsAreKeptAndLoweredToMax)
{
    TTerminalScrollBars old;
    old.Vert.Position = 1000;
    old.Horz.Position = 50;
    TTerminalScrollBars bars = LayoutScrollBars({818, 480}, Screen, Cell, 17, old);
    EXPECT_EQ(bars.Vert.Position, 1000);
    bars = LayoutScrollBars({818, 2500}, Screen, Cell, 17, old);
    EXPECT_EQ(bars.Vert.Max, 701);
    EXPECT_EQ(bars.Vert.Position, 701);
    bars = LayoutScrollBars({400, 480}, Screen, Cell, 17, old);
    EXPECT_EQ(bars.Horz.Position, 50);
}

TEST(TerminalLayout, TheViewFollowsACellIntoItByTheLeastMove)
{
    TTerminalScrollBars bars = LayoutScrollBars({818, 480}, Screen, Cell, 17, {});
    TRect view = ViewRect({818, 480}, bars, 17);
    EXPECT_EQ(view, (TRect{0, 0, 799, 479}));
    // Row 150 of 200 in a window 480 pixels high: its bottom comes to the view's bottom.
    TRect cell = CellRect(0, 150, Cell);
    EXPECT_EQ(ScrollIntoViewDelta(cell.Top, cell.Bottom, view.Top, view.Bottom), 1937);

    bars.Vert.Position = 1937;
    view = ViewRect({818, 480}, bars, 17);
    cell = CellRect(0, 150, Cell);
    EXPECT_EQ(ScrollIntoViewDelta(cell.Top, cell.Bottom, view.Top, view.Bottom), 0);
    cell = CellRect(0, 100, Cell);
    EXPECT_EQ(ScrollIntoViewDelta(cell.Top, cell.Bottom, view.Top, view.Bottom), 1600 - 1937);
}

}  // namespace
