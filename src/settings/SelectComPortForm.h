#pragma once
// The widgets of "Select Com Port": the grid of ports with OK and Cancel, and the watch on the
// device folders that tells the picker when devices come and go.
#include <QDialog>
#include "settings/SelectComPort.h"

class QFileSystemWatcher;
class QTableWidget;

class TSelectComPortForm : public QDialog, public TSelectComPortView {
public:
    TSelectComPortForm(TSelectComPortDlg& logic, QWidget* parent);
    ~TSelectComPortForm() override;

    void RowsChanged() override;
    TModalResult ShowModal() override;

    QTableWidget* ValueListEditor1() const { return fGrid; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TSelectComPortDlg& fLogic;
    QTableWidget* fGrid;
    QFileSystemWatcher* fWatcher;
};
