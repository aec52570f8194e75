// The editor control: keys, typed characters (also Alt + keypad codes), input-method text, and
// the mouse: clicks, Shift and Alt clicks, selecting by dragging with scrolling at the edges,
// dragging the selection, and gutter clicks.
#include <algorithm>
#include <cstdlib>

#include "editor/NibEdit.h"

namespace {

constexpr std::uint16_t VkNumpad0 = 96;
constexpr std::uint16_t VkNumpad9 = 105;

} // namespace

void TCustomNibEdit::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    fKbdHandler->ExecuteKeyDown(this, Key, Shift);
    if (fDragging && Key == VK::ESCAPE) {
        Key = 0;
        DragCanceled();
        return;
    }
    if (fDragging && Key == VK::CONTROL) DragCursorFollowsCtrl(Shift | ssCtrl);
    void* data = nullptr;
    const TNibEditorCommand command = TranslateKeyCode(Key, Shift, data);
    if (command != ecNone) {
        Key = 0;
        SetStateFlag(sfIgnoreNextChar);
        CommandProcessor(command, u'\0', data);
    } else {
        ClearStateFlag(sfIgnoreNextChar);
    }
}

void TCustomNibEdit::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if ((Shift & ssAlt) && Key >= VkNumpad0 && Key <= VkNumpad9) FCharCodeString += char16_t(u'0' + (Key - VkNumpad0));
    if (Key == VK::MENU) {
        if (!FCharCodeString.empty() && FCharCodeString.size() <= 5) {
            int code = 0;
            for (char16_t c : FCharCodeString) code = code * 10 + (c - u'0');
            // Codes below 256 are the platform's own. For the others it sends no character, so
            // nothing is marked to be ignored: that would swallow the next real keystroke.
            if (code >= 256 && code <= 65535) DoKeyPressW(char16_t(code));
        }
        FCharCodeString.clear();
    }
    if (fDragging && Key == VK::CONTROL) DragCursorFollowsCtrl(Shift & ~ssCtrl);
    fKbdHandler->ExecuteKeyUp(this, Key, Shift);
}

void TCustomNibEdit::DragCursorFollowsCtrl(TShiftState Shift)
{
    bool accept = false;
    DragOver(this, fLastMouse.X, fLastMouse.Y, dsDragMove, Shift, accept);
}

void TCustomNibEdit::KeyPress(char16_t& Key) { DoKeyPressW(Key); }

void TCustomNibEdit::DoKeyPressW(char16_t Key)
{
    Fire(OnKeyPressW, this, Key);
    if (Key != u'\0') KeyPressW(Key);
}

void TCustomNibEdit::KeyPressW(char16_t& Key)
{
    if (HasStateFlag(sfIgnoreNextChar)) {
        ClearStateFlag(sfIgnoreNextChar);
        return;
    }
    fKbdHandler->ExecuteKeyPress(this, Key);
    if (Key != u'\0') CommandProcessor(ecChar, Key, nullptr);
}

void TCustomNibEdit::InputMethodText(const UnicodeString& Text)
{
    if (!Text.empty()) CommandProcessor(ecImeStr, u'\0', const_cast<char16_t*>(Text.c_str()));
}

void TCustomNibEdit::ComputeCaret(int X, int Y)
{
    TDisplayCoord p = PixelsToNearestRowColumn(X, Y);
    p.Row = std::clamp(p.Row, 1, std::max(1, DisplayLineCount()));
    InternalSetCaretXY(DisplayToBufferPos(p));
}

void TCustomNibEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TBufferCoord savedBegin = fBlockBegin, savedEnd = fBlockEnd;
    const bool hadSelection = SelAvail();
    if (Button == TMouseButton::mbLeft && hadSelection) {
        fMouseDownX = X;
        fMouseDownY = Y;
    }
    if (Button == TMouseButton::mbLeft && (Shift & ssDouble)) return;
    fLastMouse = {X, Y};
    fLastMouseShift = Shift;
    fKbdHandler->ExecuteMouseDown(this, Button, Shift, X, Y);

    if (Button == TMouseButton::mbLeft) {
        ComputeCaret(X, Y);
    } else if (Button == TMouseButton::mbRight) {
        if (!fOptions.Contains(eoRightMouseMovesCursor) ||
            IsPointInSelection(DisplayToBufferPos(PixelsToRowColumn(X, Y))))
            return;
        InvalidateSelection();
        fBlockEnd = fBlockBegin;
        ComputeCaret(X, Y);
    }

    bool mayDrag = false;
    if (Button == TMouseButton::mbLeft) {
        fBlockBegin = savedBegin;
        fBlockEnd = savedEnd;
        SetCapture(true);
        ClearStateFlag(sfWaitForDragging);
        mayDrag = hadSelection && fOptions.Contains(eoDragDropEditing) && X >= fGutterWidth + 2 &&
                  fSelectionMode == smNormal && IsPointInSelection(DisplayToBufferPos(PixelsToRowColumn(X, Y)));
    }
    if (mayDrag) {
        SetStateFlag(sfWaitForDragging);
    } else if (!HasStateFlag(sfDblClicked)) {
        if (Shift & ssShift) {
            SetBlockEnd(CaretXY());
        } else {
            if (fOptions.Contains(eoAltSetsColumnMode) && fActiveSelectionMode != smLine)
                SetSelectionMode((Shift & ssAlt) ? smColumn : smNormal);
            SetBlockBegin(CaretXY());
        }
    }
    if (X < fGutterWidth) SetStateFlag(sfPossibleGutterClick);
    if (HasStateFlag(sfPossibleGutterClick) && Button == TMouseButton::mbRight) DoOnGutterClick(Button, X, Y);
    // The click gives the editor itself the focus, past any control of its focus list.
    Control::SetFocus();
}

void TCustomNibEdit::MouseMove(TShiftState Shift, int X, int Y)
{
    fLastMouse = {X, Y};
    fLastMouseShift = Shift;
    if (fDragging) {
        bool accept = false;
        DragOver(this, X, Y, dsDragMove, Shift, accept);
        return;
    }
    UpdateMouseCursor();
    if (!Captured()) return;
    if (HasStateFlag(sfWaitForDragging)) {
        // Below the drag distance a move is still part of a click: nothing changes.
        if (std::abs(fMouseDownX - X) >= DragWidth || std::abs(fMouseDownY - Y) >= DragHeight) {
            ClearStateFlag(sfWaitForDragging);
            fDragging = true;
        }
        return;
    }
    if (!(Shift & ssLeft)) return;
    ComputeScroll(X, Y);
    TDisplayCoord p = PixelsToNearestRowColumn(X, Y);
    p.Row = std::clamp(p.Row, 1, std::max(1, DisplayLineCount()));
    if (fScrollDeltaX != 0) p.Column = DisplayX();
    if (fScrollDeltaY != 0) p.Row = DisplayY();
    InternalSetCaretXY(DisplayToBufferPos(p));
    SetBlockEnd(CaretXY());
    if (HasStateFlag(sfPossibleGutterClick) && fBlockBegin.Line != fCaretY) SetStateFlag(sfGutterDragging);
}

void TCustomNibEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    fKbdHandler->ExecuteMouseUp(this, Button, Shift, X, Y);
    fScrollTimer.SetEnabled(false);
    if (fDragging) {
        fDragging = false;
        SetCapture(false);
        DragDrop(this, X, Y, Shift);
        return;
    }
    SetCapture(false);
    if (HasStateFlag(sfPossibleGutterClick) && X < fGutterWidth && Button != TMouseButton::mbRight) {
        DoOnGutterClick(Button, X, Y);
    } else if (HasStateFlag(sfWaitForDragging) && !HasStateFlag(sfDblClicked)) {
        ComputeCaret(X, Y);
        if (!(Shift & ssShift)) SetBlockBegin(CaretXY());
        SetBlockEnd(CaretXY());
        ClearStateFlag(sfWaitForDragging);
    }
    ClearStateFlag(sfDblClicked);
    ClearStateFlag(sfPossibleGutterClick);
    ClearStateFlag(sfGutterDragging);
}

void TCustomNibEdit::ComputeScroll(int X, int Y)
{
    if (!Captured() && !fDragging) {
        fScrollTimer.SetEnabled(false);
        return;
    }
    if (fCharWidth <= 0 || fTextHeight <= 0) return;
    TRect bounds{fGutterWidth, 0, fGutterWidth + fCharsInWindow * fCharWidth, fLinesInWindow * fTextHeight};
    if (fBorderStyle == bsNone) bounds = {bounds.Left + 2, bounds.Top + 2, bounds.Right - 2, bounds.Bottom - 2};
    if (X < bounds.Left) fScrollDeltaX = (X - bounds.Left) / fCharWidth - 1;
    else if (X >= bounds.Right) fScrollDeltaX = (X - bounds.Right) / fCharWidth + 1;
    else fScrollDeltaX = 0;
    if (Y < bounds.Top) fScrollDeltaY = (Y - bounds.Top) / fTextHeight - 1;
    else if (Y >= bounds.Bottom) fScrollDeltaY = (Y - bounds.Bottom) / fTextHeight + 1;
    else fScrollDeltaY = 0;
    const bool scroll = fScrollDeltaX != 0 || fScrollDeltaY != 0;
    if (scroll && !fScrollTimer.OnTimer) {
        fScrollTimer.SetInterval(100);
        fScrollTimer.OnTimer = [this] { DragScrollTick(); };
    }
    fScrollTimer.SetEnabled(scroll);
}

void TCustomNibEdit::DragScrollTick()
{
    const int rows = std::max(1, DisplayLineCount());
    TDisplayCoord c = PixelsToRowColumn(fLastMouse.X, fLastMouse.Y);
    c.Row = std::clamp(c.Row, 1, rows);
    if (fScrollDeltaX != 0) {
        SetLeftChar(fLeftChar + fScrollDeltaX);
        c.Column = fLeftChar + (fScrollDeltaX > 0 ? fCharsInWindow : 0);
    }
    if (fScrollDeltaY != 0) {
        SetTopLine(fTopLine + ((fLastMouseShift & ssShift) ? fScrollDeltaY * fLinesInWindow : fScrollDeltaY));
        c.Row = std::clamp(fTopLine + (fScrollDeltaY > 0 ? fLinesInWindow - 1 : 0), 1, rows);
    }
    const TBufferCoord target = DisplayToBufferPos(c);
    if (target != CaretXY()) {
        TNibPaintLock lock(*this);
        InternalSetCaretXY(target);
        if (Captured() && !fDragging) SetBlockEnd(CaretXY());
    }
    ComputeScroll(fLastMouse.X, fLastMouse.Y);
}

void TCustomNibEdit::DoOnGutterClick(TMouseButton Button, int X, int Y)
{
    if (!OnGutterClick) return;
    const int line = DisplayToBufferPos(PixelsToRowColumn(X, Y)).Line;
    if (line > fLines->Count()) return;
    TNibEditMarks marks;
    fMarkList->GetMarksForLine(line, marks);
    TNibEditMark* clicked = nullptr;
    int offset = 0;
    for (TNibEditMark* mark : marks) {
        if (!mark) continue;
        offset += fBookMarkOpt->Xoffset();
        if (X < offset) {
            clicked = mark;
            break;
        }
    }
    OnGutterClick(this, Button, X, Y, line, clicked);
}
