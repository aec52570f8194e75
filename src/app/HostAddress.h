#pragma once
// "Connect To TCP Host": the host and port of a TCP link. This is what the dialog does; its
// widgets live in HostAddressForm.
#include "platform/Actions.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "platform/Text.h"

class THostAddressForm;

/// The widgets that show the dialog.
class THostAddressFormView {
public:
    virtual ~THostAddressFormView() = default;
    /// Shows the dialog at the form's Left and Top until ModalResult is set or it is closed.
    virtual void ShowModal(THostAddressForm& form) = 0;
    /// The dialog's size on the screen.
    virtual TPoint Size() const = 0;
};

class THostAddressForm : public TObject {
public:
    THostAddressForm();

    UnicodeString HostAddressEdit;
    UnicodeString HostPortEdit;
    /// "Connect": closes the dialog with OK; enabled only while both edits hold text.
    TAction ConnectAct;
    TModalResult ModalResult = TModalResult::mrNone;
    int Left = 0;
    int Top = 0;

    /// Shows the dialog; mrCancel when it was closed otherwise or has no widgets.
    TModalResult ShowModal();
    int Width() const { return fView ? fView->Size().X : 0; }
    int Height() const { return fView ? fView->Size().Y : 0; }
    /// The widget side sets itself here while it exists.
    void SetView(THostAddressFormView* view) { fView = view; }

private:
    THostAddressFormView* fView = nullptr;
};
