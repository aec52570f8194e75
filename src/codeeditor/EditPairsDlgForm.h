#pragma once
// The widgets of "Edit Paired Words": the sorted multi-select list, the edit for a new word, and
// the Add, Remove, Ok and Cancel buttons of the dialog's actions.
#include <map>
#include <QDialog>
#include "codeeditor/EditPairsDlg.h"

class QLineEdit;
class QListWidget;
class QPushButton;

class TEditPairsDlgForm : public QDialog, public TEditPairsView {
public:
    /// Becomes the dialog's view while it exists; parent is the window that opens it.
    TEditPairsDlgForm(TEditPairsForm& dialog, QWidget* parent);
    ~TEditPairsDlgForm() override;

    TModalResult ShowModal() override;
    void Changed() override;

    QListWidget* PairedWordsList() const { return fList; }
    QLineEdit* AddWordEdit() const { return fEdit; }
    QPushButton* Button(const TAction* action) const { return fButtons.at(action); }

private:
    /// Runs an action and closes the dialog when it set a modal result.
    void Run(TAction* action);
    /// The dialog's bounds take the size it shows at, frame included.
    void KeepFrameSize();

    TEditPairsForm& fDialog;
    QListWidget* fList;
    QLineEdit* fEdit;
    std::map<const TAction*, QPushButton*> fButtons;
    /// Set while the widgets are being filled from the dialog, so that their signals are ignored.
    bool fShowing = false;
};
