// The completion proposal's words: the input before the caret, the word before it, and what
// acceptance, a character typed in the list and cancellation do to the editor.
#include "editor/NibCompletionPrettyText.h"
#include "editor/NibCompletionProposal.h"
#include "editor/NibEditWords.h"

namespace {

/// Holds an editor's paint lock and undo block for a scope, with the selection in normal mode: a
/// word is replaced as text even while the user selects lines or columns, which would otherwise
/// take whole lines or a block with it. A failing event handler leaves nothing open.
class TWordReplacement {
public:
    explicit TWordReplacement(TCustomNibEdit& AEdit) : fEdit(AEdit), fMode(AEdit.ActiveSelectionMode())
    {
        fEdit.BeginUpdate();
        fEdit.BeginUndoBlock();
        fEdit.SetActiveSelectionMode(smNormal);
    }
    ~TWordReplacement() noexcept(false)
    {
        fEdit.SetActiveSelectionMode(fMode);
        fEdit.EndUndoBlock();
        fEdit.EndUpdate();
    }
    TWordReplacement(const TWordReplacement&) = delete;
    TWordReplacement& operator=(const TWordReplacement&) = delete;

private:
    TCustomNibEdit& fEdit;
    TNibSelectionMode fMode;
};

}  // namespace

UnicodeString TNibCompletionProposal::CurrentInput(const TCustomNibEdit& AEditor)
{
    const UnicodeString line = AEditor.LineText();
    const int caret = AEditor.CaretX();
    int i = caret - 1;
    UnicodeString input;
    if (i <= int(line.size())) {
        FAdjustCompletionStart = false;
        while (i >= 1 && line[std::size_t(i - 1)] > u' ' && !IsCompletionBreakChar(line[std::size_t(i - 1)])) --i;
        input = line.substr(std::size_t(i), std::size_t(caret - i - 1));
    } else {
        FAdjustCompletionStart = true;
    }
    FCompletionStart = i + 1;
    return input;
}

UnicodeString TNibCompletionProposal::PreviousWord(const TCustomNibEdit& AEditor) const
{
    const UnicodeString line = AEditor.LineText();
    int x = AEditor.CaretX() - 1;
    if (x == 0 || x > int(line.size()) || line.empty()) return {};
    if (IsCompletionBreakChar(line[std::size_t(x - 1)])) --x;
    int start = x;
    while (start >= 1 && !IsCompletionBreakChar(line[std::size_t(start - 1)])) --start;
    return line.substr(std::size_t(start), std::size_t(x - start));
}

UnicodeString TNibCompletionProposal::AcceptedValue(const UnicodeString& Selected, char16_t EndToken) const
{
    if (!(FOptions & scoEndCharCompletion) && EndToken != 0) return Selected;
    const int position = FForm->Position();
    if (position < 0 || position >= FForm->AssignedCount()) return Selected;
    if (!(FOptions & scoUseInsertList)) {
        // Pretty text goes into the editor as the plain text it shows.
        const UnicodeString& item = FForm->AssignedItem(position);
        return (FOptions & scoUsePrettyText) ? FormattedTextToPlain(item) : item;
    }
    const int index = (FOptions & scoLimitToMatchedText) ? FForm->AssignedIndex(position) : position;
    if (index < 0 || index >= InsertList().Count()) return Selected;
    return InsertList()[index];
}

void TNibCompletionProposal::AcceptFromPopup(TObject* Sender, TShiftState Shift, char16_t EndToken)
{
    TNibCompletionEditAdapter* adapter = AdapterOf(CurrentEdit());
    if (!adapter) return;
    TCustomNibEdit& edit = adapter->Edit();
    TWordReplacement replacement(edit);
    const TBufferCoord caret = edit.CaretXY();
    const TBufferCoord start{FCompletionStart, caret.Line};
    // Tab, Enter and a double click also replace the rest of the word right of the caret.
    TBufferCoord end = EndToken != 0 ? caret : WordEndEx(edit.Lines(), edit, caret);
    if (end.Char < start.Char) end = start;
    // A completion that starts past the line end inserts at the caret, as typing there does.
    if (start == end) edit.SetCaretXY(start);
    else edit.SetCaretAndSelection(end, start, end);
    const UnicodeString selected = edit.SelText();
    UnicodeString value = AcceptedValue(selected, EndToken);
    const int index = FForm->LogicalToPhysicalIndex(FForm->Position());
    Fire(OnCodeCompletion, this, value, Shift, index, EndToken);
    if (selected != value) edit.SetSelText(value);
    HideStep();
    adapter->SetEditorFocus();
    edit.EnsureCursorPosVisible();
    edit.SetCaretXY(edit.BlockEnd());
    Fire(OnAfterCodeCompletion, this, value, Shift, index, EndToken);
}

void TNibCompletionProposal::ForwardPopupChar(TObject* Sender, char16_t& Key)
{
    TCustomNibEdit* edit = CurrentEdit();
    if (!edit) return;
    edit->CommandProcessor(ecChar, Key, nullptr);
    if (TriggerChars().find(Key) != UnicodeString::npos && !FForm->Visible()) OpenForEditor(edit);
}

void TNibCompletionProposal::CancelFromPopup(TObject* Sender)
{
    FNoNextKey = false;
    if (TNibCompletionEditAdapter* adapter = AdapterOf(CurrentEdit())) {
        DeactivateTimer();
        if (FForm->Visible()) FForm->Deactivate();
        adapter->SetEditorFocus();
    }
    Fire(OnCancelled, this);
}

void TNibCompletionProposal::CancelCompletion()
{
    HideStep();
    Fire(OnCancelled, this);
}

void TNibCompletionProposal::HideStep()
{
    DeactivateTimer();
    FNoNextKey = false;
    if (FForm->Visible()) FForm->Deactivate();
}
