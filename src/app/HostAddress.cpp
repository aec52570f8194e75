#include "app/HostAddress.h"

THostAddressForm::THostAddressForm()
{
    ConnectAct.Name = u"ConnectAct";
    ConnectAct.Caption = u"Connect";
    ConnectAct.OnExecute = [this](TObject*) { ModalResult = TModalResult::mrOk; };
    ConnectAct.OnUpdate = [this](TObject*) { ConnectAct.Enabled = !HostAddressEdit.empty() && !HostPortEdit.empty(); };
}

TModalResult THostAddressForm::ShowModal()
{
    ModalResult = TModalResult::mrNone;
    if (fView) fView->ShowModal(*this);
    if (ModalResult == TModalResult::mrNone) ModalResult = TModalResult::mrCancel;
    return ModalResult;
}
