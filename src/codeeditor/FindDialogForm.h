#pragma once
// The find dialog and the replace dialog of the Code Editor: modeless, with the find text, the
// replace text (replace dialog only), whole word, match case and, unless hidden, the direction.
#include <functional>
#include <QDialog>
#include "codeeditor/CodeEditorPage.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

class TFindDialogForm : public QDialog {
public:
    /// Replace adds the replace text and the Replace and Replace All buttons.
    TFindDialogForm(bool Replace, QWidget* parent);

    /// Find Next pressed; the data holds what the dialog shows.
    std::function<void()> OnFind;
    /// Replace or Replace All pressed (frReplace or frReplaceAll set).
    std::function<void()> OnReplace;
    /// The dialog closed.
    std::function<void()> OnClose;

    /// Shows the data's texts and options and raises the dialog; the dialog writes back into it.
    void ShowFor(TFindDialogData& Data);

    QLineEdit* FindEdit() const { return fFind; }
    QLineEdit* ReplaceEdit() const { return fReplace; }
    QCheckBox* WholeWord() const { return fWholeWord; }
    QCheckBox* MatchCase() const { return fMatchCase; }
    QRadioButton* Down() const { return fDown; }

protected:
    void done(int result) override;

private:
    /// Writes the widgets into the data with the extra options of the pressed button.
    void Store(TFindOptions Extra);

    TFindDialogData* fData = nullptr;
    QLineEdit* fFind;
    QLineEdit* fReplace = nullptr;
    QCheckBox* fWholeWord;
    QCheckBox* fMatchCase;
    QGroupBox* fDirection;
    QRadioButton* fUp;
    QRadioButton* fDown;
};
