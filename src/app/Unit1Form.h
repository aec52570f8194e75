#pragma once
// The main window's widgets: the menus and tool bars, the three pages, the hosted terminal and the
// Block Manager's status bar.
#include <memory>
#include <vector>
#include <QMainWindow>
#include "app/Unit1.h"

class ControlHostWidget;
class TBlockManagerForm;
class TCodeEditorPageForm;
class TNibCompletionProposalForm;
class QtActionBars;
class QDialog;
class QLabel;
class QTabWidget;

class TTavloTerminalForm : public QMainWindow, public TTavloTerminalView {
public:
    TTavloTerminalForm();
    /// Runs FormDestroy.
    ~TTavloTerminalForm() override;

    TTavloTerminal& Logic() { return *fLogic; }
    QTabWidget* PageControl1() const { return fPages; }

    void CaptionChanged(const UnicodeString& caption) override;
    void ActivePageChanged(TMainPage page) override;
    void BlockStatusChanged(int panel, const UnicodeString& text) override;
    void HostAddressFormCreated(THostAddressForm& form) override;
    void ShowLayout(const TActionLayout& layout) override;
    void ShowCustomizeDialog() override;
    TRect WindowBounds() const override;

    /// The menu bar and tool bars.
    QtActionBars& ActionBars() const { return *fActionBars; }
    /// The size that shows every action of the bars on each page: the designed size, grown where
    /// the bars need more. The first show takes it, as far as the screen holds it.
    QSize FirstSize() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QTabWidget* fPages;
    QWidget* fBlockTabSheet;
    QWidget* fCodeEditorTabSheet;
    std::vector<QLabel*> fBlockStatusPanels;
    std::unique_ptr<TTavloTerminal> fLogic;
    ControlHostWidget* fTerminalHost = nullptr;
    TBlockManagerForm* fBlockManagerForm = nullptr;
    TCodeEditorPageForm* fCodeEditorPageForm = nullptr;
    /// The Code Editor's completion list on the screen; goes before the proposal it shows.
    std::unique_ptr<TNibCompletionProposalForm> fCompletionProposalForm;
    std::unique_ptr<QDialog> fHostAddressDialog;
    std::unique_ptr<QtActionBars> fActionBars;
    /// The first show has given the window its first size.
    bool fSized = false;
};
