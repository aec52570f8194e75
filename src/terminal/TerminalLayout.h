#pragma once
// Pixel arithmetic of the terminal screen: cell size, bitmap size, cell and cursor rectangles,
// the two scroll bars and the view over the bitmap. Pure functions, so the numbers are tested alone.
#include <string_view>
#include "platform/Canvas.h"
#include "platform/Graphics.h"

/// The text whose extent gives the size of one cell.
inline constexpr std::u16string_view CellSample = u"1234567890ABCDEFGHIJKLMNOP~1!@#$%^&*()_{}[]><?gjq";

/// Cell size from the sample's extent: the average width rounded up and the height, each plus 2.
TSize CellSizeFromExtent(TSize sampleExtent);
/// Cell size of the canvas's current font.
TSize MeasureCell(Canvas& canvas);
/// The bitmap that holds every used cell.
TSize BitmapSize(int columns, int rows, TSize cell);
TRect CellRect(int column, int row, TSize cell);
/// The bottom 4 pixel rows of a cell: what the cursor inverts.
TRect CursorBand(int column, int row, TSize cell);

/// One scroll bar of the terminal, with the ranges of the form library's scroll bar (position
/// from Min to Max).
struct TTerminalScrollBar {
    bool Visible = false;
    /// Where the bar lies in the control's client area (empty while hidden).
    TRect Bounds;
    int Min = 0;
    int Max = 0;
    int Position = 0;
    int LargeChange = 1;
    int SmallChange = 1;
    friend bool operator==(const TTerminalScrollBar&, const TTerminalScrollBar&) = default;
};

struct TTerminalScrollBars {
    TTerminalScrollBar Vert;
    TTerminalScrollBar Horz;
};

/// The resize handling: which bars show, where they lie and their ranges, for a client area and a
/// bitmap; `old` gives the positions (and Min) to keep, lowered to Max when above it. `barSize`
/// is the width of the vertical bar and the height of the horizontal one.
TTerminalScrollBars LayoutScrollBars(TSize client, TSize bitmap, TSize cell, int barSize,
                                     const TTerminalScrollBars& old);

/// The part of the bitmap the window shows: left/top are the bar positions, right/bottom are the
/// last visible pixel (inclusive), as the scroll-into-view arithmetic counts them.
TRect ViewRect(TSize client, const TTerminalScrollBars& bars, int barSize);

/// How far one bar moves so that a cell spanning cellStart..cellEnd (end exclusive) comes into a
/// view spanning viewStart..viewEnd (end inclusive): positive forward, negative back, 0 when it shows.
int ScrollIntoViewDelta(int cellStart, int cellEnd, int viewStart, int viewEnd);
