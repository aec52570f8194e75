#pragma once
// The widgets of "Terminal Settings": five pages of controls with OK and Cancel. What they do is
// TConfigTerm's; this side only shows its controls' state and reads it back.
#include <array>
#include <QDialog>
#include "settings/ConfigTerm.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;
class TColorBox;

class TConfigTermForm : public QDialog, public TConfigTermView {
public:
    TConfigTermForm(TConfigTerm& logic, QWidget* parent);
    ~TConfigTermForm() override;

    void ControlsChanged(const TConfigTermControls& controls) override;
    void ReadControls(TConfigTermControls& controls) override;
    TModalResult ShowModal() override;

    QTabWidget* Pages() const { return fPages; }

private:
    QWidget* TerminalPage();
    QWidget* CommandCodesPage();
    QWidget* ComPortPage();
    QWidget* EditorPage();
    QWidget* BlockFilePage();
    /// The samples in the colours and fonts the controls hold now.
    void ShowSamples();
    /// The obeyed or blocked image on each control-code button.
    void ShowCtrlCodes();

    TConfigTerm& fLogic;
    TConfigTermControls fShown;
    QTabWidget* fPages;

    TColorBox* fBgColor;
    TColorBox* fTextColor;
    QLabel* fTextSample;
    QSpinBox* fColumns;
    QSpinBox* fRows;
    QSpinBox* fPasteDelay;
    QSpinBox* fTabSize;
    QCheckBox* fAbortPaste;

    std::array<QPushButton*, 21> fCtrlButtons{};
    QCheckBox* fCrIsNewLine;
    QCheckBox* fBackspaceErases;

    QComboBox* fComPort;
    QComboBox* fBaudRate;
    QButtonGroup* fParity;
    QButtonGroup* fDataBits;
    QButtonGroup* fStopBits;
    QComboBox* fDtr;
    QComboBox* fRts;
    QCheckBox* fCtsFlow;
    QCheckBox* fDsrFlow;
    QCheckBox* fTxFlow;
    QCheckBox* fRxFlow;
    QLineEdit* fXon;
    QLineEdit* fXoff;

    TColorBox* fEditorBg;
    std::array<TColorBox*, 6> fWordColors{};
    QWidget* fEditorSample;
    std::array<QLabel*, 6> fWordSamples{};
    QCheckBox* fHighlighting;
    QSpinBox* fEditorTabSize;
    QSpinBox* fMaxBase;

    QCheckBox* fCompileStartsLine;
    QCheckBox* fWordWrap;
    QCheckBox* fSyncBlockFile;
    QButtonGroup* fCaptionBlocks;
};
