// The editor control: caret position, selection ends and what they repaint.
#include <climits>

#include "editor/NibEdit.h"
#include "editor/NibEditMiscProcs.h"

namespace {

TRect UnionRect(const TRect& a, const TRect& b)
{
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

bool Before(const TBufferCoord& a, const TBufferCoord& b)
{
    return a.Line < b.Line || (a.Line == b.Line && a.Char < b.Char);
}

} // namespace

// --- Caret --------------------------------------------------------------------------------------

void TCustomNibEdit::SetCaretXY(const TBufferCoord& Value)
{
    TNibPaintLock lock(*this);
    fStatusChanges.Include(scSelection);
    SetCaretXYEx(true, Value);
    if (SelAvail()) InvalidateSelection();
    fBlockBegin = CaretXY();
    fBlockEnd = fBlockBegin;
}

void TCustomNibEdit::InternalSetCaretXY(const TBufferCoord& Value) { SetCaretXYEx(true, Value); }

void TCustomNibEdit::SetCaretXYEx(bool CallEnsureCursorPos, TBufferCoord Value)
{
    fCaretAtEOL = false;
    int nMaxX = fWordWrapPlugin ? INT_MAX : fMaxScrollWidth + 1;
    const bool pastEol = fOptions.Contains(eoScrollPastEol);
    Value.Line = std::min(Value.Line, fLines->Count());
    if (Value.Line < 1) {
        Value.Line = 1;
        if (!pastEol) nMaxX = 1;
    } else if (!pastEol) {
        nMaxX = fLines->LineCharLength(Value.Line - 1) + 1;
    } else if (!fWordWrapPlugin) {
        nMaxX = PastEolCharLimit(Value.Line);
    }
    if (Value.Char > nMaxX && !(pastEol && fOptions.Contains(eoAutoSizeMaxScrollWidth))) Value.Char = nMaxX;
    Value.Char = std::max(Value.Char, 1);

    const bool window = HandleAllocated();
    if (window) DoOnPaintTransient(ttBefore);
    if (Value.Char == fCaretX && Value.Line == fCaretY) {
        fLastCaretX = DisplayX();
    } else {
        TNibPaintLock lock(*this);
        if (Value.Char != fCaretX) {
            fCaretX = Value.Char;
            fStatusChanges.Include(scCaretX);
        }
        if (Value.Line != fCaretY) {
            if (fActiveLineColor != clNone) {
                InvalidateLine(Value.Line);
                InvalidateLine(fCaretY);
            }
            fCaretY = Value.Line;
            fStatusChanges.Include(scCaretY);
        }
        fLastCaretX = DisplayX();
        if (CallEnsureCursorPos) EnsureCursorPosVisible();
        SetStateFlag(sfCaretChanged);
        SetStateFlag(sfScrollbarChanged);
    }
    if (window) DoOnPaintTransient(ttAfter);
}

TDisplayCoord TCustomNibEdit::DisplayXY() const
{
    TDisplayCoord result = BufferToDisplayPos(CaretXY());
    if (fWordWrapPlugin && fCaretAtEOL) {
        if (result.Column == 1 && result.Row > 1) {
            --result.Row;
            result.Column = fWordWrapPlugin->GetRowLength(result.Row) + 1;
        } else {
            fCaretAtEOL = false;
        }
    }
    return result;
}

int TCustomNibEdit::DisplayY() const { return fWordWrapPlugin ? DisplayXY().Row : fCaretY; }

bool TCustomNibEdit::CaretInView() const
{
    const TDisplayCoord p = DisplayXY();
    return p.Column >= fLeftChar && p.Column <= fLeftChar + fCharsInWindow && p.Row >= fTopLine &&
           p.Row <= fTopLine + fLinesInWindow;
}

// --- Selection ------------------------------------------------------------------------------------

TBufferCoord TCustomNibEdit::BlockBegin() const { return Before(fBlockEnd, fBlockBegin) ? fBlockEnd : fBlockBegin; }

TBufferCoord TCustomNibEdit::BlockEnd() const { return Before(fBlockEnd, fBlockBegin) ? fBlockBegin : fBlockEnd; }

bool TCustomNibEdit::SelAvail() const
{
    return fBlockBegin.Char != fBlockEnd.Char ||
           (fBlockBegin.Line != fBlockEnd.Line && fActiveSelectionMode != smColumn);
}

bool TCustomNibEdit::SelTabBlock() const
{
    return fBlockBegin.Line != fBlockEnd.Line && fActiveSelectionMode != smColumn;
}

bool TCustomNibEdit::SelTabLine() const
{
    return BlockBegin().Char <= 1 && BlockEnd().Char > int(LineText().size()) && SelAvail();
}

int TCustomNibEdit::PastEolCharLimit(int Line) const
{
    // A replayed change goes back where it was made, whatever the width or word wrap is by now.
    if (fReplaying) return INT_MAX;
    const int end = Line >= 1 && Line <= fLines->Count() ? fLines->LineCharLength(Line - 1) + 1 : 1;
    return std::max(fMaxScrollWidth + 1, end);
}

TBufferCoord TCustomNibEdit::ClampSelectionEnd(TBufferCoord Value) const
{
    Value.Line = ClampInt(Value.Line, 1, fLines->Count());
    if (fOptions.Contains(eoScrollPastEol) && !fWordWrapPlugin) Value.Char = ClampInt(Value.Char, 1, PastEolCharLimit(Value.Line));
    else Value.Char = std::max(Value.Char, 1);
    if (fActiveSelectionMode == smNormal) {
        const int length = Value.Line <= fLines->Count() ? fLines->LineCharLength(Value.Line - 1) + 1 : 1;
        Value.Char = std::min(Value.Char, length);
    }
    return Value;
}

void TCustomNibEdit::SetBlockBegin(TBufferCoord Value)
{
    fActiveSelectionMode = fSelectionMode;
    Value = ClampSelectionEnd(Value);
    bool changed;
    if (SelAvail()) {
        const int first = std::min(Value.Line, std::min(fBlockBegin.Line, fBlockEnd.Line));
        const int last = std::max(Value.Line, std::max(fBlockBegin.Line, fBlockEnd.Line));
        fBlockBegin = Value;
        fBlockEnd = Value;
        InvalidateLines(first, last);
        changed = true;
    } else {
        changed = Value != fBlockBegin || Value != fBlockEnd;
        fBlockBegin = Value;
        fBlockEnd = Value;
    }
    if (changed) StatusChanged({scSelection});
}

void TCustomNibEdit::SetBlockEnd(TBufferCoord Value)
{
    fActiveSelectionMode = fSelectionMode;
    if (fOptions.Contains(eoNoSelection)) return;
    Value = ClampSelectionEnd(Value);
    if (Value == fBlockEnd) return;
    // A column block's columns follow its end's display column, which tabs and wide glyphs can move
    // while the char stays: then every line of the block may change.
    if (fActiveSelectionMode == smColumn &&
        (Value.Char != fBlockEnd.Char ||
         ColumnOfChar(Value.Line, Value.Char) != ColumnOfChar(fBlockEnd.Line, fBlockEnd.Char))) {
        const int first = std::min({fBlockBegin.Line, fBlockEnd.Line, Value.Line});
        const int last = std::max({fBlockBegin.Line, fBlockEnd.Line, Value.Line});
        fBlockEnd = Value;
        InvalidateLines(first, last);
    } else {
        const int oldLine = fBlockEnd.Line;
        fBlockEnd = Value;
        if (fActiveSelectionMode != smColumn || fBlockBegin.Char != fBlockEnd.Char)
            InvalidateLines(oldLine, fBlockEnd.Line);
    }
    StatusChanged({scSelection});
}

void TCustomNibEdit::SetCaretAndSelection(const TBufferCoord& ptCaret, const TBufferCoord& ptBefore,
                                          const TBufferCoord& ptAfter)
{
    const TNibSelectionMode mode = fActiveSelectionMode;
    TNibPaintLock lock(*this);
    InternalSetCaretXY(ptCaret);
    SetBlockBegin(ptBefore);
    SetBlockEnd(ptAfter);
    SetActiveSelectionMode(mode);
    // The ends were kept within the text by the chosen mode; a normal block kept active never
    // reaches past a line's end.
    if (mode == smNormal) {
        fBlockBegin = ClampSelectionEnd(fBlockBegin);
        fBlockEnd = ClampSelectionEnd(fBlockEnd);
    }
}

void TCustomNibEdit::SelectAll()
{
    const int count = fLines->Count();
    const TBufferCoord last = count > 0 ? TBufferCoord{1 + fLines->LineCharLength(count - 1), count}
                                        : TBufferCoord{1, 1};
    SetCaretAndSelection(last, {1, 1}, last);
    StatusChanged({scSelection});
}

// --- Invalidation ---------------------------------------------------------------------------------

void TCustomNibEdit::InvalidateRect(const TRect& ARect, bool Erase) { Control::InvalidateRect(ARect); }

void TCustomNibEdit::InvalidateArea(const TRect& rect)
{
    if (HasStateFlag(sfLinesChanging)) fInvalidateRect = UnionRect(fInvalidateRect, rect);
    else InvalidateRect(rect, false);
}

void TCustomNibEdit::InvalidateRows(int FirstRow, int LastRow, int Left, int Right)
{
    FirstRow = std::max(FirstRow, fTopLine);
    LastRow = std::min(LastRow, fTopLine + fLinesInWindow);
    if (LastRow < FirstRow) return;
    InvalidateArea({Left, (FirstRow - fTopLine) * fTextHeight, Right, (LastRow - fTopLine + 1) * fTextHeight});
}

void TCustomNibEdit::InvalidateLines(int FirstLine, int LastLine)
{
    if (!Visible() || !HandleAllocated()) return;
    if (FirstLine == -1 && LastLine == -1) {
        TRect r = ClientRect();
        r.Left += fGutterWidth;
        InvalidateArea(r);
        return;
    }
    FirstLine = std::max(FirstLine, 1);
    LastLine = std::max(LastLine, 1);
    if (LastLine < FirstLine) std::swap(FirstLine, LastLine);
    const int count = fLines->Count();
    if (LastLine >= count) LastLine = INT_MAX;
    if (fWordWrapPlugin) {
        FirstLine = LineToRow(FirstLine);
        if (LastLine < count) LastLine = LineToRow(LastLine + 1) - 1;
    }
    InvalidateRows(FirstLine, LastLine, fGutterWidth, ClientWidth());
}

void TCustomNibEdit::InvalidateLine(int ALine)
{
    if (!Visible() || !HandleAllocated() || ALine < 1 || ALine > fLines->Count()) return;
    if (fWordWrapPlugin) InvalidateRows(LineToRow(ALine), LineToRow(ALine + 1) - 1, fGutterWidth, ClientWidth());
    else if (ALine >= fTopLine && ALine <= fTopLine + fLinesInWindow) InvalidateRows(ALine, ALine, fGutterWidth, ClientWidth());
}

void TCustomNibEdit::InvalidateSelection() { InvalidateLines(BlockBegin().Line, BlockEnd().Line); }

void TCustomNibEdit::InvalidateGutterLines(int FirstLine, int LastLine)
{
    if (!Visible() || !HandleAllocated()) return;
    if (FirstLine == -1 && LastLine == -1) {
        InvalidateArea({0, 0, fGutterWidth, ClientHeight()});
        return;
    }
    if (LastLine < FirstLine) std::swap(FirstLine, LastLine);
    if (fWordWrapPlugin) {
        FirstLine = LineToRow(std::max(FirstLine, 1));
        LastLine = LastLine < fLines->Count() ? LineToRow(LastLine + 1) - 1 : INT_MAX;
    }
    InvalidateRows(FirstLine, LastLine, 0, fGutterWidth);
}

// --- Line-store change bracket ----------------------------------------------------------------------

void TCustomNibEdit::LinesChanging(TObject* Sender) { SetStateFlag(sfLinesChanging); }

void TCustomNibEdit::LinesChanged(TObject* Sender)
{
    if (fRescanningRanges) return;
    RescanPendingRanges();
    ClearStateFlag(sfLinesChanging);
    if (HandleAllocated()) UpdateScrollBars();
    // The selection collapses with or without a window: a stale one would let the next keystroke
    // replace text that is no longer what was selected.
    const TNibSelectionMode mode = fActiveSelectionMode;
    SetBlockBegin(CaretXY());
    fActiveSelectionMode = mode;
    const TRect pending = fInvalidateRect;
    fInvalidateRect = {};
    if (HandleAllocated()) InvalidateRect(pending, false);
    if (fGutter->ShowLineNumbers() && fGutter->AutoSize()) fGutter->AutoSizeDigitCount(fLines->Count());
    if (!fOptions.Contains(eoScrollPastEof)) SetTopLine(fTopLine);
}

void TCustomNibEdit::HideCaret()
{
    if (!HasStateFlag(sfCaretVisible)) return;
    SetCaret(false, CaretRect());
    ClearStateFlag(sfCaretVisible);
}

void TCustomNibEdit::ShowCaret()
{
    if (fOptions.Contains(eoNoCaret) || HasStateFlag(sfCaretVisible)) return;
    SetCaret(true, CaretRect());
    SetStateFlag(sfCaretVisible);
}
