#include "terminal/TerminalView.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include "platform/ScopedFlag.h"
#include "terminal/SimpleTerminal.h"

namespace {

TRect Intersect(const TRect& a, const TRect& b)
{
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

TRect Offset(const TRect& r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }

/// How one cell is painted: its colours resolved against the control's, and its font style.
struct CellLook {
    bool Blank = false;
    TColor Font = clBlack;
    TColor Back = clWhite;
    TFontStyles Style = 0;
    friend bool operator==(const CellLook&, const CellLook&) = default;
};

CellLook LookOf(const TTerminalChar& cell, TColor fontColor, TColor color)
{
    CellLook look;
    if (cell.Attributes.Contains(tca_Null)) {
        look.Blank = true;
        look.Font = fontColor;
        look.Back = color;
        return look;
    }
    look.Font = cell.FontColor == clDefault ? fontColor : cell.FontColor;
    look.Back = cell.BgColor == clDefault ? color : cell.BgColor;
    if (cell.Attributes.Contains(tca_Inverted)) std::swap(look.Font, look.Back);
    if (cell.Attributes.Contains(tca_Underlined)) look.Style |= std::uint8_t(TFontStyle::fsUnderline);
    if (cell.Attributes.Contains(tca_Bold)) look.Style |= std::uint8_t(TFontStyle::fsBold);
    return look;
}

}  // namespace

TTerminalView::TTerminalView(TSimpleTerminal& terminal) : fTerminal(terminal)
{
    fTimer1.SetInterval(BlinkMs);
    fTimer1.OnTimer = [this] { Blink(); };
    fFrameTimer.OnTimer = [this] {
        fFrameTimer.SetEnabled(false);
        fTerminal.Invalidate();
    };
}

TTerminalView::~TTerminalView() = default;

TSize TTerminalView::ClientSize() const { return {fTerminal.ClientWidth(), fTerminal.ClientHeight()}; }

TRect TTerminalView::View() const { return ViewRect(ClientSize(), fBars, ScrollBarSize); }

void TTerminalView::Loaded()
{
    fLoaded = true;
    Relayout(false);
    if (fTerminal.ScrollToCursor()) ScrollIntoView();
    fShownDisplayCursor = fTerminal.DisplayCursor();
    fShownScrollToCursor = fTerminal.ScrollToCursor();
    fShownAutoSize = fTerminal.AutoSize();
    fTimer1.SetEnabled(fShownDisplayCursor);
}

void TTerminalView::Relayout(bool KeepContents)
{
    HideCursor();
    fDisplayBitMap.reset();
    ForgetPending();
    GraphicsFactory* factory = GraphicsFactory::CurrentOrNull();
    if (factory) {
        fDisplayBitMap = factory->CreateBitmap(0, 0);
        Canvas& canvas = fDisplayBitMap->GetCanvas();
        canvas.SetFont(fTerminal.Font());
        canvas.SetBrushColor(fTerminal.Color());
        fCanvasStyle = fTerminal.Font().Style;
        fCell = MeasureCell(canvas);
        const TSize size = BitmapSize(fTerminal.Columns(), fTerminal.Rows(), fCell);
        fDisplayBitMap->SetSize(size.cx, size.cy);
    }
    fCursorActiveFlag = false;
    fLastCursorLocation = {};
    if (fTerminal.AutoSize()) SizeClientToBitmap();
    if (KeepContents)
        RefreshDisplay();
    else
        FillBitmap();
    ShowCursor();
    UpdateScrollBars();
}

void TTerminalView::RefreshDisplay()
{
    if (!Ready()) return;
    ForgetPending();
    DrawCells({0, 0, fTerminal.Columns(), fTerminal.Rows()});
    RequestPaint();
}

void TTerminalView::FillBitmap()
{
    if (!fDisplayBitMap) return;
    Canvas& canvas = fDisplayBitMap->GetCanvas();
    canvas.SetBrushColor(fTerminal.Color());
    canvas.FillRect({0, 0, fDisplayBitMap->Width(), fDisplayBitMap->Height()});
    RequestPaint();
}

void TTerminalView::ForgetPending()
{
    fDamage.fill({});
    fScroll = {};
}

void TTerminalView::AddDamage(const TRect& cells)
{
    const int top = std::max(cells.Top, 0);
    const int bottom = std::min(cells.Bottom, TerminalMaxRows);
    for (int row = top; row < bottom; ++row) {
        DamagedSpan& span = fDamage[std::size_t(row)];
        if (span.Left >= span.Right) {
            span = {std::int16_t(cells.Left), std::int16_t(cells.Right)};
        } else {
            span.Left = std::min(span.Left, std::int16_t(cells.Left));
            span.Right = std::max(span.Right, std::int16_t(cells.Right));
        }
    }
}

void TTerminalView::ShiftDamage(int first, int last, int delta)
{
    // Rows that come into the band from outside it are blank ones, damaged by the model afterwards.
    auto band = fDamage.begin();
    if (delta < 0) {
        std::move(band + first - delta, band + last + 1, band + first);
        std::fill(band + last + 1 + delta, band + last + 1, DamagedSpan{});
    } else {
        std::move_backward(band + first, band + last + 1 - delta, band + last + 1);
        std::fill(band + first, band + first + delta, DamagedSpan{});
    }
}

void TTerminalView::DrawDamage(int firstRow, int lastRow)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, fTerminal.Rows() - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        DamagedSpan& span = fDamage[std::size_t(row)];
        if (span.Left >= span.Right) continue;
        const TRect cells{span.Left, row, span.Right, row + 1};
        span = {};
        DrawCells(cells);
    }
}

void TTerminalView::MovePendingBand()
{
    if (!Ready()) return;
    if (fScroll.Delta != 0) {
        const int count = fScroll.Last - fScroll.First + 1;
        // A move of the whole band or more leaves nothing to copy: every row of it is damaged.
        if (std::abs(fScroll.Delta) < count) {
            const TRect band{0, fScroll.First * fCell.cy, fTerminal.Columns() * fCell.cx, (fScroll.Last + 1) * fCell.cy};
            fDisplayBitMap->GetCanvas().ScrollBand(band, 0, fScroll.Delta * fCell.cy);
        }
        fScroll = {};
    }
}

void TTerminalView::DrawCells(const TRect& cells)
{
    const TRect used = Intersect(cells, {0, 0, fTerminal.Columns(), fTerminal.Rows()});
    if (used.IsEmpty() || !fDisplayBitMap) return;
    Canvas& canvas = fDisplayBitMap->GetCanvas();
    const TColor fontColor = fTerminal.Font().Color;
    const TColor color = fTerminal.Color();
    std::array<int, TerminalMaxColumns> dx;
    dx.fill(fCell.cx);
    UnicodeString text;
    for (int row = used.Top; row < used.Bottom; ++row) {
        // Neighbouring cells that look alike are drawn as one run: one fill and one text output.
        int column = used.Left;
        while (column < used.Right) {
            const CellLook look = LookOf(fTerminal.GetCharAtXY(column, row), fontColor, color);
            text.clear();
            int end = column;
            for (; end < used.Right; ++end) {
                const TTerminalChar cell = fTerminal.GetCharAtXY(end, row);
                if (end > column && !(LookOf(cell, fontColor, color) == look)) break;
                text.push_back(cell.Character);
            }
            const TRect rect{column * fCell.cx, row * fCell.cy, end * fCell.cx, (row + 1) * fCell.cy};
            canvas.SetBrushColor(look.Back);
            if (look.Blank) {
                canvas.FillRect(rect);
            } else {
                if (look.Style != fCanvasStyle) {
                    TFont font = fTerminal.Font();
                    font.Style = look.Style;
                    canvas.SetFont(font);
                    fCanvasStyle = look.Style;
                }
                canvas.SetTextColor(look.Font);
                canvas.ExtTextOut(rect.Left, rect.Top, ETO_OPAQUE, &rect, text, dx.data());
            }
            column = end;
        }
    }
}

void TTerminalView::ShowCursor()
{
    HideCursor();
    if (!Ready() || !fTerminal.DisplayCursor()) return;
    int column = 0;
    int row = 0;
    fTerminal.GetXY(column, row);
    fLastCursorLocation = {column, row};
    fCursorActiveFlag = true;
    RequestPaint();
}

void TTerminalView::HideCursor()
{
    if (!fCursorActiveFlag) return;
    fCursorActiveFlag = false;
    RequestPaint();
}

void TTerminalView::Blink()
{
    if (!fTerminal.DisplayCursor()) return;
    if (fCursorActiveFlag)
        HideCursor();
    else
        ShowCursor();
}

void TTerminalView::ScrollIntoView()
{
    if (!Ready() || !fTerminal.ScrollToCursor() || (!fBars.Vert.Visible && !fBars.Horz.Visible)) return;
    int column = 0;
    int row = 0;
    fTerminal.GetXY(column, row);
    if (column < 0 || column >= fTerminal.Columns() || row < 0 || row >= fTerminal.Rows()) return;
    const TRect cell = CellRect(column, row, fCell);
    const TRect view = View();
    // A window too small to show anything (not laid out yet) has nothing to follow with.
    if (view.Right < view.Left || view.Bottom < view.Top) return;
    bool changed = false;
    auto follow = [&changed](TTerminalScrollBar& bar, int delta) {
        if (!bar.Visible || delta == 0) return;
        const int position = std::clamp(bar.Position + delta, bar.Min, bar.Max);
        changed = changed || position != bar.Position;
        bar.Position = position;
    };
    follow(fBars.Vert, ScrollIntoViewDelta(cell.Top, cell.Bottom, view.Top, view.Bottom));
    follow(fBars.Horz, ScrollIntoViewDelta(cell.Left, cell.Right, view.Left, view.Right));
    if (changed) {
        PublishScrollBars();
        RequestPaint();
    }
}

void TTerminalView::MoveViewTop(int PositionDelta)
{
    TTerminalScrollBar& bar = fBars.Vert;
    if (!bar.Visible) return;
    bar.Position = std::clamp(bar.Position + PositionDelta, bar.Min, bar.Max);
    PublishScrollBars();
    RequestPaint();
}

void TTerminalView::UpdateScrollBars()
{
    if (Ready()) {
        fBars = LayoutScrollBars(ClientSize(), BitmapSize(fTerminal.Columns(), fTerminal.Rows(), fCell), fCell,
                                 ScrollBarSize, fBars);
    } else {
        fBars.Vert.Visible = false;
        fBars.Horz.Visible = false;
    }
    PublishScrollBars();
    RequestPaint();
}

void TTerminalView::PublishScrollBars()
{
    for (auto kind : {TScrollBarKind::sbVertical, TScrollBarKind::sbHorizontal}) {
        const TTerminalScrollBar& bar = kind == TScrollBarKind::sbVertical ? fBars.Vert : fBars.Horz;
        fTerminal.SetScrollInfo(kind, {bar.Min, bar.Max, 0, bar.Position, bar.Visible});
    }
}

void TTerminalView::Resize() { UpdateScrollBars(); }

void TTerminalView::Scroll(TScrollBarKind kind, TScrollCode code, int position)
{
    TTerminalScrollBar& bar = kind == TScrollBarKind::sbVertical ? fBars.Vert : fBars.Horz;
    int target = bar.Position;
    switch (code) {
    case TScrollCode::scLineUp: target -= bar.SmallChange; break;
    case TScrollCode::scLineDown: target += bar.SmallChange; break;
    case TScrollCode::scPageUp: target -= bar.LargeChange; break;
    case TScrollCode::scPageDown: target += bar.LargeChange; break;
    case TScrollCode::scTop: target = bar.Min; break;
    case TScrollCode::scBottom: target = bar.Max; break;
    case TScrollCode::scPosition:
    case TScrollCode::scTrack: target = position; break;
    case TScrollCode::scEndScroll: break;
    }
    bar.Position = std::clamp(target, bar.Min, bar.Max);
    PublishScrollBars();
    RequestPaint();
}

void TTerminalView::FontChanged()
{
    if (fLoaded) Relayout(true);
}

void TTerminalView::RequestPaint()
{
    // Without a host nothing shows; a host paints everything when it first shows the control.
    if (fInPaint || fPaintRequested || !fTerminal.Host()) return;
    fPaintRequested = true;
    MainLoop* loop = MainLoop::CurrentOrNull();
    const std::int64_t wait = loop && fPainted ? fLastPaintMs + FrameMs - loop->NowMs() : 0;
    if (wait <= 0) {
        fTerminal.Invalidate();
        return;
    }
    fFrameTimer.SetInterval(int(wait));
    fFrameTimer.SetEnabled(true);
}

void TTerminalView::Paint(Canvas& canvas)
{
    fPaintRequested = false;
    fFrameTimer.SetEnabled(false);
    if (MainLoop* loop = MainLoop::CurrentOrNull()) fLastPaintMs = loop->NowMs();
    fPainted = true;
    ScopedFlag inPaint(fInPaint);

    const TRect client = fTerminal.ClientRect();
    canvas.SetBrushColor(fTerminal.Color());
    if (!Ready()) {
        canvas.FillRect(client);
        return;
    }
    fTerminal.FlushChanges();
    MovePendingBand();
    // Rows out of sight keep their damage until they come into the view.
    const TRect view = View();
    DrawDamage(view.Top / fCell.cy, view.Bottom / fCell.cy);

    const TRect shown{view.Left, view.Top, view.Right + 1, view.Bottom + 1};
    const TRect source = Intersect(shown, {0, 0, fDisplayBitMap->Width(), fDisplayBitMap->Height()});
    if (source.IsEmpty()) {
        canvas.FillRect(client);
        return;
    }
    const TRect dest = Offset(source, -view.Left, -view.Top);
    canvas.CopyRect(dest, *fDisplayBitMap, source);
    // What lies beyond the bitmap shows the control colour (the view starts inside the bitmap).
    const TRect right{dest.Right, client.Top, client.Right, client.Bottom};
    const TRect below{client.Left, dest.Bottom, dest.Right, client.Bottom};
    if (!right.IsEmpty()) canvas.FillRect(right);
    if (!below.IsEmpty()) canvas.FillRect(below);
    if (fCursorActiveFlag) {
        const TRect band = Intersect(CursorBand(fLastCursorLocation.X, fLastCursorLocation.Y, fCell), source);
        if (!band.IsEmpty()) canvas.InvertRect(Offset(band, -view.Left, -view.Top));
    }
}

void TTerminalView::ChangesPending() { RequestPaint(); }

void TTerminalView::CellsDamaged(const TRect& cells)
{
    AddDamage(cells);
    ShowCursor();
}

void TTerminalView::CursorMoved(TPoint from, TPoint to)
{
    ScrollIntoView();
    ShowCursor();
}

void TTerminalView::RowsMoved(int firstRow, int lastRow, int rowDelta)
{
    // Nothing is drawn yet: the bitmap will be drawn whole from the buffer.
    if (!Ready()) return;
    const int first = std::min(firstRow, firstRow + rowDelta);
    const int last = std::max(lastRow, lastRow + rowDelta);
    // Moves of one band in one direction add up to one copy; anything else moves what waits first.
    if (fScroll.Delta != 0 && (fScroll.First != first || fScroll.Last != last || (fScroll.Delta < 0) != (rowDelta < 0)))
        MovePendingBand();
    const int count = last - first + 1;
    const bool wasWhole = std::abs(fScroll.Delta) >= count;
    fScroll.First = first;
    fScroll.Last = last;
    fScroll.Delta += rowDelta;
    // Once the band has moved by its whole height nothing of it is copied: all of it is drawn
    // again from the buffer, and further moves (a flood) cost nothing more here.
    if (std::abs(fScroll.Delta) < count)
        ShiftDamage(first, last, rowDelta);
    else if (!wasWhole)
        AddDamage({0, first, fTerminal.Columns(), last + 1});
    RequestPaint();
}

void TTerminalView::ScreenCleared()
{
    ForgetPending();
    FillBitmap();
    ShowCursor();
}

void TTerminalView::ScreenReset()
{
    fBars.Vert.Position = 0;
    fBars.Horz.Position = 0;
    PublishScrollBars();
    fCursorActiveFlag = false;
    fLastCursorLocation = {};
    fShownDisplayCursor = true;
    ForgetPending();
    FillBitmap();
    ShowCursor();
}

void TTerminalView::SizeChanged()
{
    if (fLoaded) Relayout(true);
}

void TTerminalView::SizeClientToBitmap()
{
    if (fDisplayBitMap) fTerminal.SetClientSize(fDisplayBitMap->Width(), fDisplayBitMap->Height());
}

void TTerminalView::ViewOptionsChanged()
{
    const bool autoSize = fTerminal.AutoSize();
    if (autoSize != fShownAutoSize && Ready()) {
        fShownAutoSize = autoSize;
        if (autoSize) {
            SizeClientToBitmap();
            UpdateScrollBars();
        }
    }
    const bool displayCursor = fTerminal.DisplayCursor();
    if (displayCursor != fShownDisplayCursor && Ready()) {
        fShownDisplayCursor = displayCursor;
        fTimer1.SetEnabled(displayCursor);
        if (displayCursor)
            ShowCursor();
        else
            HideCursor();
    }
    const bool scrollToCursor = fTerminal.ScrollToCursor();
    if (scrollToCursor != fShownScrollToCursor) {
        fShownScrollToCursor = scrollToCursor;
        if (scrollToCursor) ScrollIntoView();
    }
}
