#include "blocks/InsertBlockWhere.h"

TModalResult TInsertBlockWhereDlg::ShowModal()
{
    if (!fView) return TModalResult::mrCancel;
    int choice = ItemIndex;
    TModalResult result = fView->ShowModal(choice);
    if (result == TModalResult::mrOk) ItemIndex = choice;
    return result == TModalResult::mrOk ? TModalResult::mrOk : TModalResult::mrCancel;
}
