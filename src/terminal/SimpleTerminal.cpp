#include "terminal/SimpleTerminal.h"

#include <algorithm>
#include <climits>
#include "terminal/TerminalView.h"

namespace {

bool IsPrintable(char16_t c)
{
    return (c >= 32 && c <= 127) || (c >= 160 && c <= 255);
}

/// a + b without overflow, limited to the int range.
int SaturatedAdd(int a, int b)
{
    return int(std::clamp<long long>(static_cast<long long>(a) + b, INT_MIN, INT_MAX));
}

}  // namespace

TSimpleTerminal::TSimpleTerminal()
    : ScreenBuffer(std::make_unique<TTerminalScreen>()), fView(std::make_unique<TTerminalView>(*this))
{
    fObserver = fView.get();
    for (std::size_t row = 0; row < fRowMap.size(); ++row) fRowMap[row] = std::uint8_t(row);
    fRowWidth.fill(std::uint8_t(TerminalMaxColumns));
    // Blank from the start, so that nothing is ever read from cells that were never set.
    BlankAll();
    InitHorzTabStops(fDefaultHorzTabSpacing);
}

TSimpleTerminal::~TSimpleTerminal() = default;

void TSimpleTerminal::SetObserver(TTerminalScreenObserver* observer)
{
    fObserver = observer;
    fDamage = {};
    fReportedCursor = {fCurrentColumn, fCurrentRow};
    fFollowCursor = false;
    fChangesPending = false;
}

void TSimpleTerminal::FlushChanges()
{
    if (!fObserver) return;
    const TRect damage = fDamage;
    const bool follow = fFollowCursor;
    const TPoint from = fReportedCursor;
    const TPoint to{fCurrentColumn, fCurrentRow};
    fDamage = {};
    fFollowCursor = false;
    fReportedCursor = to;
    fChangesPending = false;
    if (!damage.IsEmpty()) fObserver->CellsDamaged(damage);
    if (follow) fObserver->CursorMoved(from, to);
}

void TSimpleTerminal::MarkPending()
{
    if (fChangesPending || !fObserver) return;
    fChangesPending = true;
    fObserver->ChangesPending();
}

void TSimpleTerminal::Damage(int left, int top, int right, int bottom)
{
    if (!fObserver) return;
    if (fDamage.IsEmpty()) {
        fDamage = {left, top, right, bottom};
    } else {
        fDamage.Left = std::min(fDamage.Left, left);
        fDamage.Top = std::min(fDamage.Top, top);
        fDamage.Right = std::max(fDamage.Right, right);
        fDamage.Bottom = std::max(fDamage.Bottom, bottom);
    }
    MarkPending();
}

void TSimpleTerminal::CursorChanged()
{
    fFollowCursor = true;
    MarkPending();
}

void TSimpleTerminal::Write(char16_t Ch)
{
    if (IsPrintable(Ch)) {
        TTerminalChar& cell = Row(fCurrentRow)[std::size_t(fCurrentColumn)];
        std::uint8_t& width = RowWidth(fCurrentRow);
        if (fCurrentColumn >= width) width = std::uint8_t(fCurrentColumn + 1);
        cell.Attributes = fCurrentCharAttributes;
        cell.Attributes.Exclude(tca_Null);
        cell.Character = Ch;
        if (fCurrentFontColor != clNone) cell.FontColor = fCurrentFontColor;
        if (fCurrentBgColor != clNone) cell.BgColor = fCurrentBgColor;
        Damage(fCurrentColumn, fCurrentRow, fCurrentColumn + 1, fCurrentRow + 1);
        if (++fCurrentColumn >= fColumns) {
            if (fAllowLineWrap) {
                fCurrentColumn = 0;
                LineFeed();
            } else {
                fCurrentColumn = fColumns - 1;
            }
        }
        CursorChanged();
        return;
    }
    switch (Ch) {
    case 13:
        if (fCurrentColumn != 0) {
            fCurrentColumn = 0;
            CursorChanged();
        }
        break;
    case 8:
        if (fCurrentColumn >= 1) {
            --fCurrentColumn;
            CursorChanged();
        }
        break;
    case 9:
        GotoNextHorzTabStop(1);
        break;
    case 10:
        LineFeed();
        break;
    default:
        break;
    }
}

void TSimpleTerminal::LineFeed()
{
    if (fCurrentRow == fScrollRegionLastRow) {
        if (!fScrollLock) ScrollRegion(1);
    } else if (fCurrentRow < fRows - 1) {
        ++fCurrentRow;
        CursorChanged();
    }
}

void TSimpleTerminal::WriteString(std::u16string_view S)
{
    for (char16_t c : S) Write(c);
}

void TSimpleTerminal::GetXY(int& aColumn, int& aRow) const
{
    aColumn = fCurrentColumn;
    aRow = fCurrentRow;
}

void TSimpleTerminal::GotoXY(int aColumn, int aRow)
{
    if (aRow < 0 || aRow >= fRows || aColumn < 0 || aColumn >= fColumns) return;
    if (aColumn == fCurrentColumn && aRow == fCurrentRow) return;
    fCurrentColumn = aColumn;
    fCurrentRow = aRow;
    CursorChanged();
}

void TSimpleTerminal::GotoRow(int aRow) { GotoXY(fCurrentColumn, aRow); }

void TSimpleTerminal::GotoColumn(int aColumn) { GotoXY(aColumn, fCurrentRow); }

void TSimpleTerminal::GoHome() { GotoXY(0, 0); }

void TSimpleTerminal::GoNextColumn(int aRepeatCount)
{
    if (aRepeatCount > 0) GotoXY(std::min(SaturatedAdd(fCurrentColumn, aRepeatCount), fColumns - 1), fCurrentRow);
}

void TSimpleTerminal::GoPriorColumn(int aRepeatCount)
{
    if (aRepeatCount > 0) GotoXY(std::max(fCurrentColumn - aRepeatCount, 0), fCurrentRow);
}

void TSimpleTerminal::GoNextRow(int aRepeatCount, bool aGotoFirstColumn)
{
    if (aRepeatCount > 0)
        GotoXY(aGotoFirstColumn ? 0 : fCurrentColumn, std::min(SaturatedAdd(fCurrentRow, aRepeatCount), fRows - 1));
}

void TSimpleTerminal::GoPriorRow(int aRepeatCount, bool aGotoFirstColumn)
{
    if (aRepeatCount > 0) GotoXY(aGotoFirstColumn ? 0 : fCurrentColumn, std::max(fCurrentRow - aRepeatCount, 0));
}

void TSimpleTerminal::SaveCursorXY() { fSavedCursorXY = {fCurrentColumn, fCurrentRow}; }

void TSimpleTerminal::RestoreCursorXY() { GotoXY(fSavedCursorXY.X, fSavedCursorXY.Y); }

TTerminalChar TSimpleTerminal::GetCharAtXY(int aColumn, int aRow) const
{
    if (aColumn < 0 || aColumn >= fColumns || aRow < 0 || aRow >= fRows) return BlankTerminalChar;
    return Row(aRow)[std::size_t(aColumn)];
}

TTerminalChar TSimpleTerminal::GetCharAtCursor() const { return GetCharAtXY(fCurrentColumn, fCurrentRow); }

void TSimpleTerminal::BlankCells(int row, int firstColumn, int endColumn)
{
    if (firstColumn >= endColumn) return;
    std::uint8_t& width = RowWidth(row);
    if (firstColumn < width) {
        auto& cells = Row(row);
        std::fill(cells.begin() + firstColumn, cells.begin() + std::min<int>(endColumn, width), BlankTerminalChar);
        if (endColumn >= width) width = std::uint8_t(firstColumn);
    }
    Damage(firstColumn, row, endColumn, row + 1);
}

void TSimpleTerminal::BlankRows(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        auto& cells = Row(row);
        std::fill(cells.begin(), cells.begin() + RowWidth(row), BlankTerminalChar);
        RowWidth(row) = 0;
    }
    if (first <= last) Damage(0, first, fColumns, last + 1);
}

void TSimpleTerminal::BlankAll()
{
    for (std::size_t row = 0; row < ScreenBuffer->size(); ++row) {
        auto& cells = (*ScreenBuffer)[row];
        std::fill(cells.begin(), cells.begin() + fRowWidth[row], BlankTerminalChar);
        fRowWidth[row] = 0;
    }
}

void TSimpleTerminal::ClrLine() { BlankCells(fCurrentRow, 0, fColumns); }

void TSimpleTerminal::ClrToEol() { BlankCells(fCurrentRow, fCurrentColumn, fColumns); }

void TSimpleTerminal::ClrToEop()
{
    ClrToEol();
    for (int row = fCurrentRow + 1; row < fRows; ++row) BlankCells(row, 0, fColumns);
}

void TSimpleTerminal::ClrToNull()
{
    const auto& cells = Row(fCurrentRow);
    int end = fCurrentColumn;
    while (end < fColumns && !cells[std::size_t(end)].Attributes.Contains(tca_Null)) ++end;
    BlankCells(fCurrentRow, fCurrentColumn, end);
}

void TSimpleTerminal::ClrScreen()
{
    FlushChanges();
    BlankAll();
    if (fObserver) fObserver->ScreenCleared();
}

void TSimpleTerminal::SetScrollRegionToAllRows()
{
    fScrollRegionFirstRow = 0;
    fScrollRegionLastRow = fRows - 1;
}

void TSimpleTerminal::SetScrollRegion(int aFirstRow, int aLastRow)
{
    const int first = std::clamp(aFirstRow, 0, fRows - 1);
    const int last = std::clamp(aLastRow, 0, fRows - 1);
    if (first > last) return;
    fScrollRegionFirstRow = first;
    fScrollRegionLastRow = last;
}

void TSimpleTerminal::ScrollRegion(int RowDelta)
{
    if (RowDelta > 0)
        ScrollUp(fScrollRegionFirstRow, fScrollRegionLastRow, RowDelta);
    else if (RowDelta < 0)
        ScrollDown(fScrollRegionFirstRow, fScrollRegionLastRow, RowDelta == INT_MIN ? INT_MAX : -RowDelta);
}

bool TSimpleTerminal::ClampScroll(int& first, int& last, int n, int& move, int& blank) const
{
    if (n <= 0) return false;
    first = std::clamp(first, 0, fRows - 1);
    last = std::clamp(last, 0, fRows - 1);
    if (first > last) return false;
    const int count = last - first + 1;
    move = count > n ? count - n : 0;
    blank = count > n ? n : count;
    return true;
}

void TSimpleTerminal::ScrollUp(int first, int last, int n)
{
    int move = 0;
    int blank = 0;
    if (!ClampScroll(first, last, n, move, blank)) return;
    if (move > 0) {
        FlushChanges();
        if (fObserver) fObserver->RowsMoved(first + n, last, -n);
    }
    // The rows that scroll out come back at the other end of the region, to be blanked there.
    std::rotate(fRowMap.begin() + first, fRowMap.begin() + first + blank, fRowMap.begin() + last + 1);
    BlankRows(last - blank + 1, last);
}

void TSimpleTerminal::ScrollDown(int first, int last, int n)
{
    int move = 0;
    int blank = 0;
    if (!ClampScroll(first, last, n, move, blank)) return;
    if (move > 0) {
        FlushChanges();
        if (fObserver) fObserver->RowsMoved(first, last - n, n);
    }
    std::rotate(fRowMap.begin() + first, fRowMap.begin() + last + 1 - blank, fRowMap.begin() + last + 1);
    BlankRows(first, first + blank - 1);
}

void TSimpleTerminal::DeleteRows(int aStartRow, int aRowCount)
{
    if (aStartRow >= fScrollRegionFirstRow && aStartRow <= fScrollRegionLastRow)
        ScrollUp(aStartRow, fScrollRegionLastRow, aRowCount);
}

void TSimpleTerminal::DeleteCursorRows(int aRowCount) { DeleteRows(fCurrentRow, aRowCount); }

void TSimpleTerminal::InsertRows(int aStartRow, int aRowCount)
{
    if (aStartRow >= fScrollRegionFirstRow && aStartRow <= fScrollRegionLastRow)
        ScrollDown(aStartRow, fScrollRegionLastRow, aRowCount);
}

void TSimpleTerminal::InsertCursorRows(int aRowCount) { InsertRows(fCurrentRow, aRowCount); }

void TSimpleTerminal::ClearHorzTabStops() { fHorzTabStops.fill(false); }

void TSimpleTerminal::InitHorzTabStops(int Spacing)
{
    for (int column = 0; column < TerminalMaxColumns; ++column)
        fHorzTabStops[std::size_t(column)] = Spacing >= 1 && column % Spacing == 0;
}

void TSimpleTerminal::SetHorzTabStop(int aColumn)
{
    if (aColumn >= 0 && aColumn < TerminalMaxColumns) fHorzTabStops[std::size_t(aColumn)] = true;
}

void TSimpleTerminal::ClearHorzTabStop(int aColumn)
{
    if (aColumn >= 0 && aColumn < TerminalMaxColumns) fHorzTabStops[std::size_t(aColumn)] = false;
}

void TSimpleTerminal::SetColumnTabStop() { SetHorzTabStop(fCurrentColumn); }

void TSimpleTerminal::ClearColumnTabStop() { ClearHorzTabStop(fCurrentColumn); }

void TSimpleTerminal::GotoHorzTabStop(int aRepeatCount, int step)
{
    const int wanted = std::max(aRepeatCount, 1);
    int met = 0;
    int column = fCurrentColumn;
    for (int c = fCurrentColumn + step; c >= 0 && c < fColumns && met < wanted; c += step) {
        if (fHorzTabStops[std::size_t(c)]) {
            column = c;
            ++met;
        }
    }
    if (column != fCurrentColumn) {
        fCurrentColumn = column;
        CursorChanged();
    }
}

void TSimpleTerminal::GotoNextHorzTabStop(int aRepeatCount)
{
    GotoHorzTabStop(aRepeatCount, 1);
}

void TSimpleTerminal::GotoPriorHorzTabStop(int aRepeatCount)
{
    GotoHorzTabStop(aRepeatCount, -1);
}

void TSimpleTerminal::Reset()
{
    fCurrentCharAttributes = {};
    fCurrentFontColor = clNone;
    fCurrentBgColor = clNone;
    fCurrentColumn = 0;
    fCurrentRow = 0;
    BlankAll();
    fDisplayCursor = true;
    SetScrollRegionToAllRows();
    fSavedCursorXY = {};
    // Whatever was collected is covered by the reset.
    fDamage = {};
    fFollowCursor = false;
    fReportedCursor = {};
    fChangesPending = false;
    if (fObserver) fObserver->ScreenReset();
}

void TSimpleTerminal::SetRows(int value)
{
    if (value < 1 || value > TerminalMaxRows || value == fRows) return;
    FlushChanges();
    fRows = value;
    SetScrollRegionToAllRows();
    if (fCurrentRow >= fRows) fCurrentRow = fRows - 1;
    fReportedCursor = {fCurrentColumn, fCurrentRow};
    if (fObserver) fObserver->SizeChanged();
}

void TSimpleTerminal::SetColumns(int value)
{
    if (value < 1 || value > TerminalMaxColumns || value == fColumns) return;
    FlushChanges();
    fColumns = value;
    if (fCurrentColumn >= fColumns) fCurrentColumn = fColumns - 1;
    fReportedCursor = {fCurrentColumn, fCurrentRow};
    if (fObserver) fObserver->SizeChanged();
}

void TSimpleTerminal::SetHorzTabSpacing(int value)
{
    fDefaultHorzTabSpacing = value >= 256 ? 254 : std::max(value, 0);
    InitHorzTabStops(fDefaultHorzTabSpacing);
}

void TSimpleTerminal::SetDisplayCursor(bool value)
{
    if (value == fDisplayCursor) return;
    FlushChanges();
    fDisplayCursor = value;
    if (fObserver) fObserver->ViewOptionsChanged();
}

void TSimpleTerminal::SetScrollToCursor(bool value)
{
    if (value == fAuotScrollToCursor) return;
    FlushChanges();
    fAuotScrollToCursor = value;
    if (fObserver) fObserver->ViewOptionsChanged();
}

void TSimpleTerminal::SetAutoSize(bool value)
{
    if (value == fAutoSize) return;
    FlushChanges();
    fAutoSize = value;
    if (fObserver) fObserver->ViewOptionsChanged();
}

TDlgCodes TSimpleTerminal::DlgCode() const
{
    TDlgCodes codes = 0;
    if (FWantTabs) codes |= DLGC_WANTTAB;
    if (FWantArrows) codes |= DLGC_WANTARROWS;
    if (FWantReturns) codes |= DLGC_WANTALLKEYS;
    return codes;
}

void TSimpleTerminal::Loaded()
{
    fCurrentFontColor = clNone;
    fCurrentBgColor = clNone;
    fCurrentColumn = 0;
    fCurrentRow = 0;
    BlankAll();
    fDamage = {};
    fFollowCursor = false;
    fReportedCursor = {};
    fChangesPending = false;
    InitHorzTabStops(fDefaultHorzTabSpacing);
    fView->Loaded();
}

void TSimpleTerminal::RefreshDisplay() { fView->RefreshDisplay(); }

void TSimpleTerminal::MoveViewTop(int PositionDelta) { fView->MoveViewTop(PositionDelta); }

int TSimpleTerminal::CellHeight() const { return fView->CellSize().cy; }

int TSimpleTerminal::CellWidth() const { return fView->CellSize().cx; }

void TSimpleTerminal::SetFont(const TFont& font)
{
    if (font == Font()) return;
    FlushChanges();
    Control::SetFont(font);
    fView->FontChanged();
}

void TSimpleTerminal::SetColor(TColor color)
{
    if (color == Color()) return;
    Control::SetColor(color);
    // Blank cells and cells in the control's colour change with it.
    fView->RefreshDisplay();
}

void TSimpleTerminal::Paint(Canvas& canvas) { fView->Paint(canvas); }

void TSimpleTerminal::Resize() { fView->Resize(); }

void TSimpleTerminal::Scroll(TScrollBarKind kind, TScrollCode code, int position) { fView->Scroll(kind, code, position); }

void TSimpleTerminal::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft || button == TMouseButton::mbRight) {
        if (!Focused()) SetFocus();
        if (!Focused()) return;
    }
    Fire(OnMouseDown, this, button, shift, x, y);
}
