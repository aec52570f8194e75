#pragma once
// The widgets of "Connect To TCP Host": the host and port edits, "Connect" and "Cancel". What
// they do is THostAddressForm's.
#include <QDialog>
#include "app/HostAddress.h"

class QLineEdit;
class QPushButton;

class THostAddressFormWidget : public QDialog, public THostAddressFormView {
public:
    THostAddressFormWidget(THostAddressForm& form, QWidget* parent);
    ~THostAddressFormWidget() override;

    void ShowModal(THostAddressForm& form) override;
    TPoint Size() const override;

    QLineEdit* HostAddressEdit() const { return fHost; }
    QLineEdit* HostPortEdit() const { return fPort; }
    QPushButton* ConnectButton() const { return fConnect; }

private:
    /// The edits into the form, and the Connect button's enabled state from its action.
    void EditsChanged();

    THostAddressForm& fForm;
    QLineEdit* fHost;
    QLineEdit* fPort;
    QPushButton* fConnect;
};
