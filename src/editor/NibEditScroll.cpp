// The editor control: the top row and left column, the scroll bars, the wheel, bringing the caret
// into view, the caret's shape and place, and the highlighter range rescans after line changes.
#include <climits>
#include <cstdlib>
#include <utility>

#include "editor/NibEdit.h"
#include "editor/NibEditMiscProcs.h"
#include "platform/MulDiv.h"

namespace {

constexpr int ScrollLimit = 32767;

/// A bar over a range that may exceed what a scroll bar holds: above 32767 it is scaled to 0..32767.
TScrollInfo ScaledBar(int MaxScroll, int Page, int Position)
{
    TScrollInfo info;
    if (MaxScroll <= ScrollLimit) {
        info.Min = 1;
        info.Max = std::max(MaxScroll, 1);
        info.Page = Page;
        info.Position = Position;
    } else {
        info.Min = 0;
        info.Max = ScrollLimit;
        info.Page = MulDiv(ScrollLimit, Page, MaxScroll);
        info.Position = MulDiv(ScrollLimit, Position, MaxScroll);
    }
    return info;
}

/// The position that a thumb position stands for on a bar made by ScaledBar.
int UnscaledPosition(int MaxScroll, int Pos)
{
    return MaxScroll > ScrollLimit ? MulDiv(MaxScroll, Pos, ScrollLimit) : Pos;
}

} // namespace

// --- Top row and left column ------------------------------------------------------------------------

void TCustomNibEdit::SetTopLine(int Value)
{
    const int rows = DisplayLineCount();
    const int max = fOptions.Contains(eoScrollPastEof) ? rows : rows - fLinesInWindow + 1;
    Value = std::max(std::min(Value, max), 1);
    if (Value == fTopLine) return;
    const int delta = fTopLine - Value;
    fTopLine = Value;
    if (std::abs(delta) < fLinesInWindow) ScrollWindow(ClientRect(), 0, fTextHeight * delta);
    else Invalidate();
    UpdateScrollBars();
    StatusChanged({scTopLine});
}

void TCustomNibEdit::SetLeftChar(int Value)
{
    if (fWordWrapPlugin) Value = 1;
    int bound;
    if (fOptions.Contains(eoScrollPastEol)) {
        bound = fOptions.Contains(eoAutoSizeMaxScrollWidth) ? INT_MAX - fCharsInWindow
                                                            : HorzMaxScroll() - fCharsInWindow + 1;
    } else {
        const int longest = fLines->LengthOfLongestLine();
        bound = longest > fCharsInWindow ? longest - fCharsInWindow + 1 : 1;
    }
    Value = ClampInt(Value, 1, bound);
    if (Value == fLeftChar) return;
    const int delta = fLeftChar - Value;
    fLeftChar = Value;
    UpdateTextOffset();
    if (std::abs(delta) < fCharsInWindow) {
        TRect text = ClientRect();
        text.Left += fGutterWidth + 2;
        ScrollWindow(text, delta * fCharWidth, 0);
    } else {
        InvalidateLines(-1, -1);
    }
    if (fOptions.Contains(eoAutoSizeMaxScrollWidth) && fOptions.Contains(eoScrollPastEol) &&
        fMaxScrollWidth < fLeftChar + fCharsInWindow)
        SetMaxScrollWidth(fLeftChar + fCharsInWindow);
    else
        UpdateScrollBars();
    StatusChanged({scLeftChar});
}

void TCustomNibEdit::SetMaxScrollWidth(int Value)
{
    Value = ClampInt(Value, 1, INT_MAX - 1);
    if (Value == fMaxScrollWidth) return;
    fMaxScrollWidth = Value;
    if (fOptions.Contains(eoScrollPastEol)) UpdateScrollBars();
}

// --- Scroll bars --------------------------------------------------------------------------------

int TCustomNibEdit::HorzMaxScroll() const
{
    // Past line ends the range reaches MaxScrollWidth, and always the end of the longest line.
    if (fOptions.Contains(eoScrollPastEol))
        return std::max(fMaxScrollWidth, fLines->LengthOfLongestLineBeyond(fMaxScrollWidth));
    return std::max(fLines->LengthOfLongestLine(), 1);
}

int TCustomNibEdit::VertMaxScroll() const
{
    const int rows = DisplayLineCount();
    return fOptions.Contains(eoScrollPastEof) ? rows + fLinesInWindow - 1 : rows;
}

void TCustomNibEdit::UpdateScrollBars()
{
    if (!HandleAllocated() || fPaintLock > 0) {
        SetStateFlag(sfScrollbarChanged);
        return;
    }
    ClearStateFlag(sfScrollbarChanged);
    const bool hideShow = fOptions.Contains(eoHideShowScrollbars);

    TScrollInfo horz;
    if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && !fWordWrapPlugin) {
        horz = ScaledBar(HorzMaxScroll(), fCharsInWindow, fLeftChar);
        horz.Visible = !(hideShow && horz.Min == 1 && horz.Max <= fCharsInWindow);
    }
    SetScrollInfo(TScrollBarKind::sbHorizontal, horz);

    TScrollInfo vert;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
        vert = ScaledBar(VertMaxScroll(), fLinesInWindow, fTopLine);
        vert.Visible = !(hideShow && vert.Min == 1 && vert.Max <= fLinesInWindow);
    }
    SetScrollInfo(TScrollBarKind::sbVertical, vert);
}

void TCustomNibEdit::Scroll(TScrollBarKind kind, TScrollCode code, int position)
{
    const bool oneLess = fOptions.Contains(eoScrollByOneLess);
    if (kind == TScrollBarKind::sbVertical) {
        const int page = oneLess ? fLinesInWindow - 1 : fLinesInWindow;
        switch (code) {
        case TScrollCode::scLineUp: SetTopLine(fTopLine - 1); break;
        case TScrollCode::scLineDown: SetTopLine(fTopLine + 1); break;
        case TScrollCode::scPageUp: SetTopLine(fTopLine - page); break;
        case TScrollCode::scPageDown: SetTopLine(fTopLine + page); break;
        case TScrollCode::scPosition:
        case TScrollCode::scTrack:
            FIsScrolling = true;
            SetTopLine(UnscaledPosition(VertMaxScroll(), position));
            if (fOptions.Contains(eoShowScrollHint)) ShowScrollHint(position);
            break;
        case TScrollCode::scTop: SetTopLine(1); break;
        case TScrollCode::scBottom: SetTopLine(DisplayLineCount()); break;
        case TScrollCode::scEndScroll:
            FIsScrolling = false;
            if (fOptions.Contains(eoShowScrollHint) && Host()) Host()->HideHint();
            break;
        }
    } else {
        const int page = oneLess ? fCharsInWindow - 1 : fCharsInWindow;
        switch (code) {
        case TScrollCode::scLineUp: SetLeftChar(fLeftChar - 1); break;
        case TScrollCode::scLineDown: SetLeftChar(fLeftChar + 1); break;
        case TScrollCode::scPageUp: SetLeftChar(fLeftChar - page); break;
        case TScrollCode::scPageDown: SetLeftChar(fLeftChar + page); break;
        case TScrollCode::scPosition:
        case TScrollCode::scTrack:
            FIsScrolling = true;
            SetLeftChar(UnscaledPosition(HorzMaxScroll(), position));
            break;
        case TScrollCode::scTop: SetLeftChar(1); break;
        case TScrollCode::scBottom:
            SetLeftChar(fOptions.Contains(eoScrollPastEol) ? HorzMaxScroll() - fCharsInWindow + 1
                                                           : fLines->LengthOfLongestLine());
            break;
        case TScrollCode::scEndScroll: FIsScrolling = false; break;
        }
    }
    Fire(OnScroll, this, kind);
}

bool TCustomNibEdit::MouseWheel(TShiftState shift, int wheelDelta, TPoint pos)
{
    int step = 3;
    if (shift & ssCtrl) {
        step = fLinesInWindow;
        if (fOptions.Contains(eoHalfPageScroll)) step >>= 1;
    }
    fMouseWheelAccumulator += wheelDelta;
    const int notches = fMouseWheelAccumulator / 120;
    fMouseWheelAccumulator %= 120;
    SetTopLine(fTopLine - notches * step);
    Fire(OnScroll, this, TScrollBarKind::sbVertical);
    return true;
}

// --- Bringing the caret into view ---------------------------------------------------------------

void TCustomNibEdit::EnsureCursorPosVisibleEx(bool ForceToMiddle, bool EvenIfVisible)
{
    TNibPaintLock lock(*this);
    const TDisplayCoord caret = DisplayXY();
    const int x = caret.Column;
    if (x < fLeftChar) SetLeftChar(x);
    else if (x >= fCharsInWindow + fLeftChar) SetLeftChar(x - fCharsInWindow + 1);
    else SetLeftChar(fLeftChar);

    const int r = caret.Row;
    const int m = fLinesInWindow / 2;
    if (!ForceToMiddle) {
        if (r < fTopLine) SetTopLine(r);
        else if (r > fTopLine + std::max(1, fLinesInWindow) - 1) SetTopLine(r - (fLinesInWindow - 1));
        else SetTopLine(fTopLine);
    } else if (r < fTopLine) {
        SetTopLine(r - m < 0 ? 1 : r - m + 1);
    } else if (r > fTopLine + fLinesInWindow - 1) {
        SetTopLine(r - (fLinesInWindow - 1) + m);
    } else if (EvenIfVisible) {
        SetTopLine(r - m + 1);
    }
}

// --- Caret shape and place --------------------------------------------------------------------------

void TCustomNibEdit::InitializeCaret()
{
    const TNibEditCaretType shape = fInserting ? fInsertCaret : fOverwriteCaret;
    switch (shape) {
    case ctVerticalLine:
        fCaretSize = {2, fTextHeight - 2};
        fCaretOffset = {-1, 0};
        break;
    case ctHorizontalLine:
        fCaretSize = {fCharWidth, 2};
        fCaretOffset = {0, fTextHeight - 2};
        break;
    case ctHalfBlock:
        fCaretSize = {fCharWidth, (fTextHeight - 2) / 2};
        fCaretOffset = {0, fCaretSize.cy};
        break;
    case ctBlock:
        fCaretSize = {fCharWidth, fTextHeight - 2};
        fCaretOffset = {0, 0};
        break;
    }
    ClearStateFlag(sfCaretVisible);
    if (Focused() || fAlwaysShowCaret) UpdateCaret();
}

void TCustomNibEdit::UpdateCaret()
{
    if (fPaintLock > 0 || (!Focused() && !fAlwaysShowCaret)) {
        SetStateFlag(sfCaretChanged);
        return;
    }
    ClearStateFlag(sfCaretChanged);
    TDisplayCoord p = DisplayXY();
    if (fWordWrapPlugin) p.Column = std::min(p.Column, fCharsInWindow + 1);
    TPoint pt = RowColumnToPixels(p);
    pt.X += fCaretOffset.X;
    pt.Y += fCaretOffset.Y;
    const TRect caret{pt.X, pt.Y, pt.X + fCaretSize.cx, pt.Y + fCaretSize.cy};
    TRect client = ClientRect();
    client.Left += fGutterWidth;
    const bool inside = pt.X >= client.Left && pt.X < client.Right && pt.Y >= client.Top && pt.Y < client.Bottom;
    if (inside && !fOptions.Contains(eoNoCaret)) {
        SetCaret(true, caret);
        SetStateFlag(sfCaretVisible);
    } else {
        SetCaret(false, caret);
        ClearStateFlag(sfCaretVisible);
    }
}

void TCustomNibEdit::SetAlwaysShowCaret(bool Value)
{
    if (fAlwaysShowCaret == Value) return;
    fAlwaysShowCaret = Value;
    if (Focused()) return;
    if (Value) InitializeCaret();
    else HideCaret();
}

void TCustomNibEdit::DoEnter()
{
    CommandProcessor(ecGotFocus, u'\0', nullptr);
    InitializeCaret();
    if (fHideSelection && SelAvail()) InvalidateSelection();
}

void TCustomNibEdit::DoExit()
{
    CommandProcessor(ecLostFocus, u'\0', nullptr);
    if (!fAlwaysShowCaret) HideCaret();
    if (fHideSelection && SelAvail()) InvalidateSelection();
}

// --- Line-store notifications and range rescans --------------------------------------------------

int TCustomNibEdit::ScanFrom(int Index)
{
    const int count = fLines->Count();
    if (Index >= count) return Index;
    if (Index > 0) fHighlighter->SetRange(fLines->GetRange(Index - 1));
    else fHighlighter->ResetRange();
    for (;;) {
        fHighlighter->ScanLineRange(fLines->Get(Index), Index);
        const TNibRange range = fHighlighter->GetRange();
        if (range == fLines->GetRange(Index)) return Index;
        fLines->PutRange(Index, range);
        if (++Index == count) return Index - 1;
    }
}

void TCustomNibEdit::ScanRanges()
{
    fPendingRescan = {};
    if (!fHighlighter || fLines->Count() == 0) return;
    fHighlighter->ResetRange();
    for (int i = 0; i < fLines->Count(); ++i) {
        fHighlighter->ScanLineRange(fLines->Get(i), i);
        fLines->PutRange(i, fHighlighter->GetRange());
    }
}

void TCustomNibEdit::RescanLater(int First, int Last)
{
    if (!fPendingRescan.Empty() && !fPendingRescan.Touches(First, Last)) RescanPendingRanges();
    fPendingRescan.Add(First, Last);
    if (!HasStateFlag(sfLinesChanging)) RescanPendingRanges();
}

void TCustomNibEdit::RescanPendingRanges()
{
    const TNibRescanSpan span = std::exchange(fPendingRescan, {});
    if (span.Empty() || !fHighlighter || span.First >= fLines->Count()) return;
    // Each stored range is a change of the line store: one update holds them, and its end, which
    // would otherwise come once a line, is left to the change that made the rescan due.
    const bool changing = HasStateFlag(sfLinesChanging);
    const auto endUpdate = [&] {
        fLines->EndUpdate();
        fRescanningRanges = false;
        if (!changing) ClearStateFlag(sfLinesChanging);
    };
    int s = span.First, last;
    fRescanningRanges = true;
    fLines->BeginUpdate();
    try {
        do {
            last = ScanFrom(s);
            s = last + 1;
        } while (s <= span.Last && s < fLines->Count());
    } catch (...) {
        endUpdate();
        throw;
    }
    endUpdate();
    InvalidateLines(span.First + 1, last + 1);
}

void TCustomNibEdit::ListCleared(TObject* Sender)
{
    fPendingRescan = {};
    if (fWordWrapPlugin) fWordWrapPlugin->Reset();
    fLinesToTrim.clear();
    ClearUndo();
    fInvalidateRect = {};
    Invalidate();
    SetCaretXY({1, 1});
    SetTopLine(1);
    SetLeftChar(1);
    StatusChanged({scAll});
}

void TCustomNibEdit::ListDeleted(TObject* Sender, int Index, int Count)
{
    fPendingRescan.Deleted(Index, Count);
    if (fWordWrapPlugin) fWordWrapPlugin->LinesDeleted(Index, Count);
    if (fHighlighter && fLines->Count() > 0) RescanLater(Index, Index);
    std::erase_if(fLinesToTrim, [&](int i) { return i >= Index && i < Index + Count; });
    for (int& i : fLinesToTrim)
        if (i >= Index + Count) i -= Count;
    InvalidateLines(Index + 1, INT_MAX);
    InvalidateGutterLines(Index + 1, INT_MAX);
}

void TCustomNibEdit::GrowMaxScrollWidthFor(int Index)
{
    if (!fOptions.Contains(eoAutoSizeMaxScrollWidth)) return;
    const int length = fLines->GetExpandedStringLength(Index);
    if (length > fMaxScrollWidth) SetMaxScrollWidth(length);
}

void TCustomNibEdit::ListInserted(TObject* Sender, int Index, int Count)
{
    fPendingRescan.Inserted(Index, Count);
    if (fWordWrapPlugin) fWordWrapPlugin->LinesInserted(Index, Count);
    if (fHighlighter) RescanLater(Index, Index + Count - 1);
    for (int& i : fLinesToTrim)
        if (i >= Index) i += Count;
    InvalidateLines(Index + 1, INT_MAX);
    InvalidateGutterLines(Index + 1, INT_MAX);
    GrowMaxScrollWidthFor(Index);
}

void TCustomNibEdit::ListPutted(TObject* Sender, int Index, int Count)
{
    int last = Index + 1;
    if (fWordWrapPlugin && fWordWrapPlugin->LinesPutted(Index, Count) != 0) {
        last = INT_MAX;
        InvalidateGutterLines(Index + 1, last);
    }
    if (fHighlighter) {
        RescanLater(Index, Index + Count - 1);
        if (fLines != fOrigLines.get()) last = INT_MAX;
    }
    InvalidateLines(Index + 1, last);
    GrowMaxScrollWidthFor(Index);
}
