// The editor control: the focus list, whose newest control takes the focus in the editor's place.
#include <algorithm>
#include "editor/NibEdit.h"

void TCustomNibEdit::AddFocusControl(Control* AControl) { fFocusList.push_back(AControl); }

void TCustomNibEdit::RemoveFocusControl(Control* AControl)
{
    const auto i = std::find(fFocusList.rbegin(), fFocusList.rend(), AControl);
    if (i != fFocusList.rend()) fFocusList.erase(std::next(i).base());
}

void TCustomNibEdit::SetFocus()
{
    if (!fFocusList.empty() && fFocusList.back()->CanFocus()) {
        fFocusList.back()->SetFocus();
        return;
    }
    Control::SetFocus();
}
