#pragma once
// The widgets of the block transfer dialog: the block range, the target's state, the pad choice,
// the status and progress, and the start button. What they do is TUploadDialog's.
#include <QDialog>
#include "blocks/UploadDlg.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QGroupBox;

class TUploadDialogForm : public QDialog, public TUploadDialogView {
public:
    /// Shows the dialog's state and sets itself as its view while it exists.
    explicit TUploadDialogForm(TUploadDialog& dialog, QWidget* parent = nullptr);
    ~TUploadDialogForm() override;

    void ShowModal() override;
    void CloseModal() override;
    void Changed() override;
    /// Closing the window closes the dialog, whatever it is doing.
    void reject() override;

    QSpinBox* FirstBlock() const { return fFirstBlock; }
    QSpinBox* SourceBlocks() const { return fSourceBlocks; }
    QPushButton* StartBtn() const { return fStartBtn; }
    QLabel* AvailableBlocks() const { return fAvailableBlocks; }
    QLabel* CodeState() const { return fCodeState; }
    QLabel* StatusLabel() const { return fStatus; }
    QProgressBar* ProgressBar1() const { return fProgress; }

private:
    TUploadDialog& fDialog;
    QSpinBox* fFirstBlock;
    QSpinBox* fSourceBlocks;
    QLabel* fAvailableBlocks;
    QLabel* fCodeLamp;
    QLabel* fCodeState;
    QGroupBox* fPadByte;
    QRadioButton* fPadSpaces;
    QRadioButton* fPadNulls;
    QLabel* fStatus;
    QProgressBar* fProgress;
    QPushButton* fStartBtn;
};
