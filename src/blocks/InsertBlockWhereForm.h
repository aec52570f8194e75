#pragma once
// The widgets of "Insert Empty Block": the radio group of places, OK and Cancel.
#include <QDialog>
#include "blocks/InsertBlockWhere.h"

class QButtonGroup;

class TInsertBlockWhereForm : public QDialog, public TInsertBlockWhereView {
public:
    /// Becomes the dialog's view while it exists; parent is the window that opens it.
    TInsertBlockWhereForm(TInsertBlockWhereDlg& dialog, QWidget* parent);
    ~TInsertBlockWhereForm() override;

    TModalResult ShowModal(int& ItemIndex) override;
    QButtonGroup* InsertPosition() const { return fGroup; }

private:
    TInsertBlockWhereDlg& fDialog;
    QButtonGroup* fGroup;
};
