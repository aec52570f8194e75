#include "blocks/BlockGrid.h"
#include <algorithm>
#include "platform/Clipboard.h"

namespace {

/// Width of the lines between cells.
constexpr int GridLine = 1;
constexpr TColor GridLineColor = 0xC0C0C0;
constexpr TColor EditBackground = clWhite;
constexpr TColor EditSelectionBackground = clNavy;
/// Rows one wheel notch scrolls.
constexpr int WheelRows = 3;
constexpr std::uint16_t VK_F2 = VK::F1 + 1;

}  // namespace

TBlockGrid::TBlockGrid() { UpdateScrollBar(); }

void TBlockGrid::SetRowCount(int count)
{
    count = std::max(count, 1);
    if (count == fRowCount) return;
    fRowCount = count;
    const int last = fRowCount - 1;
    fRow = std::min(fRow, last);
    fAnchor = std::min(fAnchor, last);
    fSelTop = std::min(fSelTop, last);
    fSelBottom = std::min(fSelBottom, last);
    fTopRow = std::clamp(fTopRow, 0, std::max(0, fRowCount - VisibleRowCount()));
    UpdateScrollBar();
    Invalidate();
}

void TBlockGrid::SetRow(int row) { MoveTo(row, false); }

void TBlockGrid::SetTopRow(int row)
{
    row = std::clamp(row, 0, std::max(0, fRowCount - VisibleRowCount()));
    if (row == fTopRow) return;
    fTopRow = row;
    // The edited row may leave the view: painting shows the caret again where it belongs.
    if (fEditing) SetCaret(false, {});
    UpdateScrollBar();
    Invalidate();
}

int TBlockGrid::VisibleRowCount() const { return std::max(1, ClientHeight() / (fRowHeight + GridLine)); }

void TBlockGrid::SetSelection(const TGridRect& selection)
{
    const int last = fRowCount - 1;
    const int top = std::clamp(std::min(selection.Top, selection.Bottom), 0, last);
    const int bottom = std::clamp(std::max(selection.Top, selection.Bottom), 0, last);
    if (fEditing) SetEditorMode(false);
    const int old = fRow;
    fRow = std::clamp(fRow, top, bottom);
    // Shift+arrow keys go on from the end away from the current row.
    fAnchor = fRow == top ? bottom : top;
    SelectRows(top, bottom);
    ScrollIntoView(fRow);
    if (fRow != old) Fire(OnClick, this);
}

void TBlockGrid::SetEditorMode(bool editing)
{
    if (editing == fEditing) return;
    if (editing) {
        fEditText.clear();
        if (OnGetEditText) OnGetEditText(1, fRow, fEditText);
        fEditOriginal = fEditText;
        fEditCaret = fEditAnchor = int(fEditText.size());
        fEditScroll = 0;
        fEditing = true;
        ScrollIntoView(fRow);
        InvalidateRows(fRow, fRow);
        return;
    }
    // Editing mode ends before the owner hears of the text: it commits only then.
    fEditing = false;
    SetCaret(false, {});
    InvalidateRows(fRow, fRow);
    UnicodeString text = std::move(fEditText);
    fEditText.clear();
    if (OnSetEditText) OnSetEditText(1, fRow, text);
}

void TBlockGrid::SetColWidths(int col, int width)
{
    fColWidths[col == 0 ? 0 : 1] = std::max(width, 0);
    Invalidate();
}

void TBlockGrid::SetDefaultRowHeight(int height)
{
    fRowHeight = std::max(height, 1);
    fTopRow = std::clamp(fTopRow, 0, std::max(0, fRowCount - VisibleRowCount()));
    UpdateScrollBar();
    Invalidate();
}

TRect TBlockGrid::CellRect(int col, int row) const
{
    if (row < fTopRow || row >= fRowCount) return {};
    const int top = (row - fTopRow) * (fRowHeight + GridLine);
    if (top >= ClientHeight()) return {};
    const int left = col == 0 ? 0 : fColWidths[0] + GridLine;
    return {left, top, left + ColWidths(col), top + fRowHeight};
}

int TBlockGrid::RowAt(int y) const
{
    if (y < 0) return fTopRow > 0 ? fTopRow - 1 : 0;
    const int row = fTopRow + y / (fRowHeight + GridLine);
    return row < fRowCount ? row : -1;
}

int TBlockGrid::GridWidth() const { return fColWidths[0] + fColWidths[1] + 2 * GridLine; }

void TBlockGrid::MoveTo(int row, bool extend)
{
    if (fEditing) SetEditorMode(false);
    row = std::clamp(row, 0, fRowCount - 1);
    const int old = fRow;
    fRow = row;
    if (!extend) fAnchor = row;
    SelectRows(std::min(fAnchor, row), std::max(fAnchor, row));
    ScrollIntoView(row);
    if (row != old) Fire(OnClick, this);
}

void TBlockGrid::SelectRows(int top, int bottom)
{
    InvalidateRows(fSelTop, fSelBottom);
    fSelTop = top;
    fSelBottom = bottom;
    InvalidateRows(fSelTop, fSelBottom);
}

void TBlockGrid::ScrollIntoView(int row)
{
    if (row < fTopRow) SetTopRow(row);
    else if (row >= fTopRow + VisibleRowCount()) SetTopRow(row - VisibleRowCount() + 1);
}

void TBlockGrid::UpdateScrollBar()
{
    const int visible = VisibleRowCount();
    SetScrollInfo(TScrollBarKind::sbVertical, {0, fRowCount - 1, visible, fTopRow, fRowCount > visible});
}

void TBlockGrid::InvalidateRows(int first, int last)
{
    const int from = std::max(first, fTopRow);
    const int to = std::min(last, fTopRow + VisibleRowCount());
    if (from > to) return;
    const int step = fRowHeight + GridLine;
    InvalidateRect({0, (from - fTopRow) * step, GridWidth(), (to - fTopRow + 1) * step});
}

void TBlockGrid::Resize()
{
    fTopRow = std::clamp(fTopRow, 0, std::max(0, fRowCount - VisibleRowCount()));
    UpdateScrollBar();
    Invalidate();
}

void TBlockGrid::Paint(Canvas& canvas)
{
    const int step = fRowHeight + GridLine;
    const int width = GridWidth();
    int y = 0;
    for (int row = fTopRow; row < fRowCount && y < ClientHeight(); ++row, y += step) {
        for (int col = 0; col < ColCount; ++col) {
            const TRect rect = CellRect(col, row);
            if (col == 1 && fEditing && row == fRow) {
                PaintEditor(canvas, rect);
                continue;
            }
            TGridDrawState state = col == 0 ? gdFixed : 0;
            if (col == 1 && row >= fSelTop && row <= fSelBottom) state |= gdSelected;
            if (col == 1 && row == fRow && Focused()) state |= gdFocused;
            canvas.SetClipRect(rect);
            if (OnDrawCell) OnDrawCell(canvas, col, row, rect, state);
            canvas.ClearClip();
            if (state & gdFocused) {
                canvas.SetBrushColor(clBlack);
                canvas.FrameRect(rect);
            }
        }
        canvas.SetBrushColor(GridLineColor);
        canvas.FillRect({fColWidths[0], y, fColWidths[0] + GridLine, y + fRowHeight});
        canvas.FillRect({width - GridLine, y, width, y + fRowHeight});
        canvas.FillRect({0, y + fRowHeight, width, y + step});
    }
    canvas.SetBrushColor(Color());
    if (y < ClientHeight()) canvas.FillRect({0, y, ClientWidth(), ClientHeight()});
    if (width < ClientWidth()) canvas.FillRect({width, 0, ClientWidth(), std::min(y, ClientHeight())});
}

void TBlockGrid::PaintEditor(Canvas& canvas, const TRect& rect)
{
    canvas.SetFont(Font());
    const int selStart = std::min(fEditCaret, fEditAnchor), selEnd = std::max(fEditCaret, fEditAnchor);
    auto widthOf = [&](int n) { return canvas.TextExtent(std::u16string_view(fEditText).substr(0, std::size_t(n))).cx; };
    // Keep the caret inside the cell, scrolling the text sideways as far as needed.
    const int room = std::max(rect.Width() - 4, 1);
    const int caretX = widthOf(fEditCaret);
    if (caretX - fEditScroll > room) fEditScroll = caretX - room;
    if (caretX < fEditScroll) fEditScroll = caretX;
    const int textLeft = rect.Left + 2 - fEditScroll;
    const int textTop = rect.Top + std::max((rect.Height() - canvas.TextMetrics().Height) / 2, 0);

    canvas.SetClipRect(rect);
    canvas.SetBrushColor(EditBackground);
    canvas.FillRect(rect);
    const std::u16string_view text(fEditText);
    canvas.SetTextColor(clBlack);
    canvas.TextOut(textLeft, textTop, text.substr(0, std::size_t(selStart)));
    if (selEnd > selStart) {
        const int x0 = textLeft + widthOf(selStart);
        canvas.SetBrushColor(EditSelectionBackground);
        canvas.SetTextColor(clWhite);
        canvas.ExtTextOut(x0, textTop, ETO_OPAQUE, nullptr, text.substr(std::size_t(selStart), std::size_t(selEnd - selStart)),
                          nullptr);
        canvas.SetBrushColor(EditBackground);
        canvas.SetTextColor(clBlack);
    }
    canvas.TextOut(textLeft + widthOf(selEnd), textTop, text.substr(std::size_t(selEnd)));
    canvas.ClearClip();

    const TRect caret{textLeft + caretX, rect.Top + 1, textLeft + caretX + 1, rect.Bottom - 1};
    // The host repaints when the caret moves: tell it only of a change, or painting never ends.
    if (CaretVisible() != Focused() || CaretRect() != caret) SetCaret(Focused(), caret);
}

void TBlockGrid::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (OnKeyDown) OnKeyDown(key, shift);
    if (key == 0) return;
    if (fEditing) EditKey(key, shift);
    else GridKey(key, shift);
}

void TBlockGrid::GridKey(std::uint16_t key, TShiftState shift)
{
    const bool extend = (shift & ssShift) != 0;
    switch (key) {
    case VK::UP: MoveTo(fRow - 1, extend); break;
    case VK::DOWN: MoveTo(fRow + 1, extend); break;
    case VK::PRIOR: MoveTo(fRow - VisibleRowCount(), extend); break;
    case VK::NEXT: MoveTo(fRow + VisibleRowCount(), extend); break;
    case VK::HOME:
        if (shift & ssCtrl) MoveTo(0, extend);
        break;
    case VK::END:
        if (shift & ssCtrl) MoveTo(fRowCount - 1, extend);
        break;
    case VK::RETURN:
    case VK_F2:
        SetEditorMode(true);
        break;
    default: break;
    }
}

void TBlockGrid::EditKey(std::uint16_t key, TShiftState shift)
{
    const bool extend = (shift & ssShift) != 0;
    const int length = int(fEditText.size());
    switch (key) {
    case VK::ESCAPE:
        fEditText = fEditOriginal;
        SetEditorMode(false);
        break;
    case VK::RETURN: SetEditorMode(false); break;
    case VK::UP:
    case VK::DOWN:
    case VK::PRIOR:
    case VK::NEXT: GridKey(key, shift); break;
    case VK::LEFT: EditMoveCaret(fEditCaret != fEditAnchor && !extend ? std::min(fEditCaret, fEditAnchor) : fEditCaret - 1, extend); break;
    case VK::RIGHT: EditMoveCaret(fEditCaret != fEditAnchor && !extend ? std::max(fEditCaret, fEditAnchor) : fEditCaret + 1, extend); break;
    case VK::HOME: EditMoveCaret(0, extend); break;
    case VK::END: EditMoveCaret(length, extend); break;
    case VK::BACK:
        if (fEditCaret == fEditAnchor) EditMoveCaret(fEditCaret - 1, true);
        EditInsert({});
        break;
    case VK::DELETE_:
        if (shift & ssShift) {
            EditKey('X', ssCtrl);
            break;
        }
        if (fEditCaret == fEditAnchor) EditMoveCaret(fEditCaret + 1, true);
        EditInsert({});
        break;
    default:
        if (!(shift & ssCtrl)) break;
        if (key == 'A') {
            fEditAnchor = 0;
            EditMoveCaret(length, true);
        } else if (key == 'C' || key == 'X') {
            const int from = std::min(fEditCaret, fEditAnchor), to = std::max(fEditCaret, fEditAnchor);
            if (from == to) break;
            Clipboard::Current().SetText(fEditText.substr(std::size_t(from), std::size_t(to - from)));
            if (key == 'X') EditInsert({});
        } else if (key == 'V' && Clipboard::Current().HasText()) {
            // One line only: the rest of a copied text would vanish into the line's end.
            UnicodeString text = Clipboard::Current().Text();
            text = text.substr(0, text.find_first_of(u"\r\n"));
            EditInsert(text);
        }
        break;
    }
}

void TBlockGrid::KeyPress(char16_t& key)
{
    // Control characters come with keys that KeyDown has handled already.
    if (key < u' ' || key == 0x7F) return;
    if (!fEditing) {
        SetEditorMode(true);
        if (!fEditing) return;
        // A typed character replaces the whole text, as grids do.
        fEditAnchor = 0;
    }
    EditInsert(std::u16string_view(&key, 1));
}

void TBlockGrid::InputMethodText(const UnicodeString& text)
{
    for (char16_t c : text) KeyPress(c);
}

void TBlockGrid::EditInsert(std::u16string_view text)
{
    const int from = std::min(fEditCaret, fEditAnchor), to = std::max(fEditCaret, fEditAnchor);
    fEditText.replace(std::size_t(from), std::size_t(to - from), text);
    fEditCaret = fEditAnchor = from + int(text.size());
    InvalidateRows(fRow, fRow);
}

void TBlockGrid::EditMoveCaret(int caret, bool extend)
{
    fEditCaret = std::clamp(caret, 0, int(fEditText.size()));
    if (!extend) fEditAnchor = fEditCaret;
    InvalidateRows(fRow, fRow);
}

void TBlockGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    SetFocus();
    if (button != TMouseButton::mbLeft || x >= GridWidth()) return;
    const int row = RowAt(y);
    if (row < 0) return;
    if (fEditing && row == fRow) return;
    MoveTo(row, (shift & ssShift) != 0);
    fMouseSelecting = true;
    SetCapture(true);
}

void TBlockGrid::MouseMove(TShiftState shift, int x, int y)
{
    if (!fMouseSelecting) return;
    const int row = RowAt(y);
    MoveTo(row < 0 ? fRowCount - 1 : row, true);
}

void TBlockGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!fMouseSelecting) return;
    fMouseSelecting = false;
    SetCapture(false);
}

void TBlockGrid::DblClick()
{
    fMouseSelecting = false;
    SetCapture(false);
    SetEditorMode(true);
}

bool TBlockGrid::MouseWheel(TShiftState shift, int wheelDelta, TPoint pos)
{
    SetTopRow(fTopRow - wheelDelta / 120 * WheelRows);
    return true;
}

void TBlockGrid::Scroll(TScrollBarKind kind, TScrollCode code, int position)
{
    if (kind != TScrollBarKind::sbVertical) return;
    switch (code) {
    case TScrollCode::scLineUp: SetTopRow(fTopRow - 1); break;
    case TScrollCode::scLineDown: SetTopRow(fTopRow + 1); break;
    case TScrollCode::scPageUp: SetTopRow(fTopRow - VisibleRowCount()); break;
    case TScrollCode::scPageDown: SetTopRow(fTopRow + VisibleRowCount()); break;
    case TScrollCode::scTop: SetTopRow(0); break;
    case TScrollCode::scBottom: SetTopRow(fRowCount); break;
    case TScrollCode::scPosition:
    case TScrollCode::scTrack: SetTopRow(position); break;
    case TScrollCode::scEndScroll: break;
    }
}

void TBlockGrid::DoEnter() { InvalidateRows(fRow, fRow); }

void TBlockGrid::DoExit()
{
    // What was typed is kept when the focus goes elsewhere.
    if (fEditing) SetEditorMode(false);
    else InvalidateRows(fRow, fRow);
}
