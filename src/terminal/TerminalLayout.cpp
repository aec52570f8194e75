#include "terminal/TerminalLayout.h"

#include <algorithm>

TSize CellSizeFromExtent(TSize sampleExtent)
{
    const int count = int(CellSample.size());
    const int width = (std::max(sampleExtent.cx, 0) + count - 1) / count;
    return {width + 2, std::max(sampleExtent.cy, 0) + 2};
}

TSize MeasureCell(Canvas& canvas) { return CellSizeFromExtent(canvas.TextExtent(CellSample)); }

TSize BitmapSize(int columns, int rows, TSize cell) { return {columns * cell.cx, rows * cell.cy}; }

TRect CellRect(int column, int row, TSize cell)
{
    const int left = column * cell.cx;
    const int top = row * cell.cy;
    return {left, top, left + cell.cx, top + cell.cy};
}

TRect CursorBand(int column, int row, TSize cell)
{
    TRect r = CellRect(column, row, cell);
    r.Top = r.Bottom - 4;
    return r;
}

namespace {

/// Sets Max (at least 0) and lowers the kept Min and Position to it.
void SetRange(TTerminalScrollBar& bar, int max, const TTerminalScrollBar& old)
{
    bar.Max = std::max(max, 0);
    bar.Min = std::min(old.Min, bar.Max);
    bar.Position = std::clamp(old.Position, bar.Min, bar.Max);
}

}  // namespace

TTerminalScrollBars LayoutScrollBars(TSize client, TSize bitmap, TSize cell, int barSize,
                                     const TTerminalScrollBars& old)
{
    bool vert = client.cy < bitmap.cy;
    bool horz = client.cx < bitmap.cx;
    // One bar takes room from the other direction; "or equal" as the control has always counted it.
    if (vert && !horz)
        horz = client.cx - barSize <= bitmap.cx;
    else if (horz && !vert)
        vert = client.cy - barSize <= bitmap.cy;

    TTerminalScrollBars bars;
    bars.Vert.Min = old.Vert.Min;
    bars.Vert.Position = old.Vert.Position;
    bars.Horz.Min = old.Horz.Min;
    bars.Horz.Position = old.Horz.Position;
    if (vert) {
        TTerminalScrollBar& v = bars.Vert;
        const int visibleHeight = client.cy - (horz ? barSize : 0);
        v.Visible = true;
        v.Bounds = {client.cx - barSize, 0, client.cx, visibleHeight};
        SetRange(v, bitmap.cy + 1 - visibleHeight, old.Vert);
        v.LargeChange = cell.cy;
        v.SmallChange = cell.cy / 4 + 1;
    }
    if (horz) {
        TTerminalScrollBar& h = bars.Horz;
        const int visibleWidth = client.cx - (vert ? barSize : 0);
        h.Visible = true;
        h.Bounds = {0, client.cy - barSize, visibleWidth, client.cy};
        SetRange(h, bitmap.cx - visibleWidth, old.Horz);
        h.LargeChange = cell.cx;
        h.SmallChange = cell.cx / 4 + 1;
    }
    return bars;
}

TRect ViewRect(TSize client, const TTerminalScrollBars& bars, int barSize)
{
    const int width = client.cx - (bars.Vert.Visible ? barSize + 1 : 0);
    const int height = client.cy - (bars.Horz.Visible ? barSize + 1 : 0);
    const int left = bars.Horz.Visible ? bars.Horz.Position : 0;
    const int top = bars.Vert.Visible ? bars.Vert.Position : 0;
    return {left, top, left + width - 1, top + height - 1};
}

int ScrollIntoViewDelta(int cellStart, int cellEnd, int viewStart, int viewEnd)
{
    if (cellEnd - viewEnd >= 1) return cellEnd - viewEnd;
    if (viewStart - cellStart >= 1) return cellStart - viewStart;
    return 0;
}
