// Keys, characters, clicks, the wheel and the scroll bar of the popup.
#include <algorithm>
#include "editor/NibCompletionPopup.h"

bool TNibBaseCompletionProposalForm::IsBreakChar(char16_t c) const
{
    if (IsCompletionBreakChar) return IsCompletionBreakChar(c);
    return FEndOfTokenChr.find(c) != UnicodeString::npos;
}

void TNibBaseCompletionProposalForm::EditorCommand(TNibEditorCommand Command, char16_t AChar)
{
    if (FCurrentEditor) FCurrentEditor->CommandProcessor(Command, AChar, nullptr);
}

void TNibBaseCompletionProposalForm::ShrinkFilterOrCancel(TNibEditorCommand Command)
{
    if (FCurrentString.empty()) {
        EditorCommand(Command);
        Fire(OnCancel, this);
        return;
    }
    SetCurrentString(FCurrentString.substr(0, FCurrentString.size() - 1));
    EditorCommand(Command);
}

void TNibBaseCompletionProposalForm::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (FDisplayKind != ctCode) return;
    switch (key) {
    case VK::BACK:
        if ((shift & (ssShift | ssAlt | ssCtrl)) == 0) ShrinkFilterOrCancel(ecDeleteLastChar);
        break;
    case VK::TAB:
        if (FCompleteWithTab) Fire(OnValidate, this, shift, u'\0');
        break;
    case VK::RETURN:
        if (FCompleteWithEnter) Fire(OnValidate, this, shift, u'\0');
        break;
    case VK::ESCAPE: Fire(OnCancel, this); break;
    case VK::PRIOR: MoveSelection(-FLinesInWindow); break;
    case VK::NEXT: MoveSelection(FLinesInWindow); break;
    case VK::HOME: SetPosition(0); break;
    case VK::END: SetPosition(AssignedCount() - 1); break;
    case VK::LEFT: ShrinkFilterOrCancel(ecLeft); break;
    case VK::RIGHT: {
        char16_t c = u' ';
        if (FCurrentEditor) {
            const UnicodeString line = FCurrentEditor->LineText();
            const int x = FCurrentEditor->CaretX();
            if (x >= 1 && x <= int(line.size())) c = line[std::size_t(x - 1)];
        }
        if (IsBreakChar(c)) Fire(OnCancel, this);
        else SetCurrentString(FCurrentString + c);
        EditorCommand(ecRight);
        break;
    }
    case VK::UP:
        if (shift & ssCtrl) SetPosition(0);
        else MoveSelection(-1);
        break;
    case VK::DOWN:
        if (shift & ssCtrl) SetPosition(AssignedCount() - 1);
        else MoveSelection(1);
        break;
    case VK::DELETE_: EditorCommand(ecDeleteChar); break;
    default: break;
    }
    Invalidate();
}

void TNibBaseCompletionProposalForm::KeyPress(char16_t& key)
{
    if (FDisplayKind != ctCode) return;
    switch (key) {
    case u'\b': Fire(OnKeyPress, this, key); return;
    case u'\r':
    case u'\x1B': return;
    case u'\t':
        // The Tab key has accepted already; it must not also reach the text.
        if (FCompleteWithTab) return;
        break;
    default: break;
    }
    if (key < u' ') {
        EditorCommand(ecChar, key);
        Fire(OnCancel, this);
        return;
    }
    if (IsBreakChar(key) && OnValidate) OnValidate(this, 0, key == u' ' ? u'\0' : key);
    SetCurrentString(FCurrentString + key);
    Fire(OnKeyPress, this, key);
}

void TNibBaseCompletionProposalForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    SetPosition(TopRow() + (y - FHeightBuffer) / std::max(FEffectiveItemHeight, 1));
}

void TNibBaseCompletionProposalForm::DblClick()
{
    if (FDisplayKind == ctCode) Fire(OnValidate, this, TShiftState(0), u'\0');
}

bool TNibBaseCompletionProposalForm::MouseWheel(TShiftState shift, int wheelDelta, TPoint pos)
{
    int lines = (shift & ssCtrl) ? FLinesInWindow : FWheelScrollLines;
    FMouseWheelAccumulator += wheelDelta;
    const int notches = FMouseWheelAccumulator / 120;
    FMouseWheelAccumulator %= 120;
    if (lines == -1 || lines > FLinesInWindow) lines = FLinesInWindow;
    // Past either end the selection stops on the first or last item, as paging does.
    if (notches != 0) MoveSelection(-lines * notches);
    return true;
}

void TNibBaseCompletionProposalForm::Scroll(TScrollBarKind kind, TScrollCode code, int position)
{
    if (kind != TScrollBarKind::sbVertical || code == TScrollCode::scEndScroll) return;
    const int top = TopRow();
    switch (code) {
    case TScrollCode::scLineUp: SetTopRow(top - 1); break;
    case TScrollCode::scLineDown: SetTopRow(top + 1); break;
    case TScrollCode::scPageUp: SetTopRow(top - FLinesInWindow); break;
    case TScrollCode::scPageDown: SetTopRow(top + FLinesInWindow); break;
    case TScrollCode::scTop: SetTopRow(0); break;
    case TScrollCode::scBottom: SetTopRow(ScrollInfo(kind).Max); break;
    default: SetTopRow(position); break;
    }
    // The selection stays among the visible rows.
    if (FPosition < TopRow()) SetPosition(TopRow());
    else if (FPosition > TopRow() + FLinesInWindow - 1) SetPosition(TopRow() + FLinesInWindow - 1);
    else Invalidate();
    if (FCurrentEditor) {
        FCurrentEditor->SetEditorFocus();
        FCurrentEditor->SetAlwaysShowCaret(false);
        FCurrentEditor->SetAlwaysShowCaret(true);
    }
}
