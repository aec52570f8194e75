// The editor control: upper, lower, toggle and title case of the word at the caret or the selection.
#include "editor/NibAssert.h"
#include "editor/NibEdit.h"
#include "editor/NibUnicode.h"

namespace {

UnicodeString ChangeCase(TNibEditorCommand Cmd, const UnicodeString& S)
{
    switch (Cmd) {
    case ecUpperCase:
    case ecUpperCaseBlock: return UpperCaseWide(S);
    case ecLowerCase:
    case ecLowerCaseBlock: return LowerCaseWide(S);
    case ecToggleCase:
    case ecToggleCaseBlock: {
        UnicodeString result = S;
        for (char16_t& c : result) c = CharUpperWide(c) == c ? CharLowerWide(c) : CharUpperWide(c);
        return result;
    }
    default: return UpperCaseWide(S.substr(0, 1)) + LowerCaseWide(S.substr(std::min<std::size_t>(1, S.size())));
    }
}

} // namespace

void TCustomNibEdit::DoCaseChange(TNibEditorCommand Cmd)
{
    NibAssert((Cmd >= ecUpperCase && Cmd <= ecTitleCase) || (Cmd >= ecUpperCaseBlock && Cmd <= ecToggleCaseBlock),
              "NibEdit\\Source\\NibEdit", __LINE__);
    const bool hadSelection = SelAvail();
    const TBufferCoord oldBegin = fBlockBegin, oldEnd = fBlockEnd, oldCaret = CaretXY();
    const bool wordCommand = Cmd < ecUpperCaseBlock;
    if (wordCommand) {
        SetSelWord();
        for (int i = 0; i < 2 && !SelAvail(); ++i) {
            SetCaretXY(::PrevWordPosEx(*fLines, *this, CaretXY()));
            SetSelWord();
        }
    } else if (!hadSelection) {
        if (fCaretX > int(LineText().size()) && fCaretY < fLines->Count()) SetCaretXY({1, fCaretY + 1});
        else MoveCaretHorz(1, true);
    }
    // The selected characters only: a column block's filling blanks are not text to convert.
    const UnicodeString text = SelectedText(false);
    if (!text.empty()) {
        const UnicodeString changed = ChangeCase(Cmd, text);
        BeginUndoBlock();
        try {
            if (hadSelection) fUndoList->AddChange(crSelection, oldBegin, oldEnd, {}, fActiveSelectionMode);
            else fUndoList->AddChange(crSelection, oldCaret, oldCaret, {}, fActiveSelectionMode);
            fUndoList->AddChange(crCaret, oldCaret, oldCaret, {}, fActiveSelectionMode);
            SetSelText(changed);
        } catch (...) {
            EndUndoBlock();
            throw;
        }
        EndUndoBlock();
    }
    if (!wordCommand && hadSelection) {
        SetCaretAndSelection(CaretXY(), oldBegin, oldEnd);
        return;
    }
    if (!wordCommand) return;
    SetCaretXY(oldCaret);
}
