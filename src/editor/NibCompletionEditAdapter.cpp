#include "editor/NibCompletionEditAdapter.h"
#include <algorithm>

void TNibCompletionEditAdapter::SetEditorFocus()
{
    // The newest control of the list takes the focus when it can; else the editor does.
    if (!fFocusList.empty()) {
        Control* last = fFocusList.back();
        if (last->Visible() && last->Enabled()) {
            last->SetFocus();
            return;
        }
    }
    fEdit.SetFocus();
}

void TNibCompletionEditAdapter::RemoveFocusControl(Control* AControl)
{
    const auto i = std::find(fFocusList.rbegin(), fFocusList.rend(), AControl);
    if (i != fFocusList.rend()) fFocusList.erase(std::next(i).base());
}

TCustomNibEdit* CompletionEdit(TNibCompletionEditor* AEditor)
{
    auto* adapter = dynamic_cast<TNibCompletionEditAdapter*>(AEditor);
    return adapter ? &adapter->Edit() : nullptr;
}
