#include "app/Unit1Form.h"
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include "app/HostAddressForm.h"
#include "app/MainLayout.h"
#include "blocks/BlockManagerForm.h"
#include "codeeditor/CodeEditorPageForm.h"
#include "editor/NibCompletionProposalForm.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/CustomizeDialog.h"
#include "platform/qt/QtActionBars.h"
#include "platform/qt/QtWindowPlacement.h"

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

/// The window's size as designed; the first show grows it to show every action of its bars.
constexpr QSize DesignSize(900, 700);

// The Block Manager's status bar panels as designed.
const char16_t* const BlockStatusDesign[] = {u"Line:",  u"--", u"--",         u"Block:",     u"--",
                                             u"--",     u"Block Line:", u"--", u"File Name:", u"(none)"};

}  // namespace

TTavloTerminalForm::TTavloTerminalForm()
    : fPages(new QTabWidget(this)), fBlockTabSheet(new QWidget), fCodeEditorTabSheet(new QWidget)
{
    resize(DesignSize);
    setCentralWidget(fPages);

    auto* terminalTabSheet = new QWidget;
    auto* terminalLayout = new QVBoxLayout(terminalTabSheet);
    terminalLayout->setContentsMargins(0, 0, 0, 0);
    fPages->addTab(terminalTabSheet, QStringLiteral("Terminal"));

    auto* blockLayout = new QVBoxLayout(fBlockTabSheet);
    blockLayout->setContentsMargins(0, 0, 0, 0);
    auto* statusBar1 = new QStatusBar;
    statusBar1->setSizeGripEnabled(false);
    for (const char16_t* text : BlockStatusDesign) {
        auto* panel = new QLabel(Q(text));
        fBlockStatusPanels.push_back(panel);
        statusBar1->addWidget(panel);
    }
    blockLayout->addWidget(statusBar1);
    fPages->addTab(fBlockTabSheet, QStringLiteral("Block Manager"));
    fPages->addTab(fCodeEditorTabSheet, QStringLiteral("Code Editor"));
    auto* codeLayout = new QVBoxLayout(fCodeEditorTabSheet);
    codeLayout->setContentsMargins(0, 0, 0, 0);

    fLogic = std::make_unique<TTavloTerminal>(*this);
    fTerminalHost = new ControlHostWidget(fLogic->SimpleTerminal1, terminalTabSheet);
    terminalLayout->addWidget(fTerminalHost);
    fBlockManagerForm = new TBlockManagerForm(fLogic->BlockManager);
    blockLayout->insertWidget(0, fBlockManagerForm, 1);
    fCodeEditorPageForm = new TCodeEditorPageForm(fLogic->CodeEditorPage);
    codeLayout->addWidget(fCodeEditorPageForm);
    fCompletionProposalForm =
        std::make_unique<TNibCompletionProposalForm>(fLogic->CodeEditorPage.NibCompletionProposal1, this);
    setWindowTitle(Q(fLogic->Caption()));
    fActionBars = std::make_unique<QtActionBars>(*this, fLogic->ActionLists(), MainMenuBarName);
    // The pages may give their actions the same shortcuts.
    fActionBars->ScopeToPage(fLogic->BLockUpload, fBlockTabSheet);
    fActionBars->ScopeToPage(fLogic->CodeEditor, fCodeEditorTabSheet);
    fBlockManagerForm->AddPopUpMenu(*fActionBars);
    fBlockManagerForm->HostToolBars(*fActionBars, BlockToolBarName, LineToolBarName);
    fCodeEditorPageForm->AddPopUpMenu(*fActionBars);
    fActionBars->Show(fLogic->Layout());
    fPages->setCurrentIndex(fLogic->ActivePage());

    QObject::connect(fPages, &QTabWidget::currentChanged, this,
                     [this](int index) { fLogic->SetActivePage(TMainPage(index)); });
}

TTavloTerminalForm::~TTavloTerminalForm()
{
    fCompletionProposalForm.reset();
    fLogic->FormDestroy();
    // The hosts show controls that go with the logic: the hosts go first.
    delete fTerminalHost;
    delete fBlockManagerForm;
    delete fCodeEditorPageForm;
}

void TTavloTerminalForm::CaptionChanged(const UnicodeString& caption) { setWindowTitle(Q(caption)); }

void TTavloTerminalForm::ActivePageChanged(TMainPage page)
{
    fPages->setCurrentIndex(page);
    // The code editor takes the keys of its page, as the terminal does of its own.
    if (page == pgCodeEditor && fCodeEditorPageForm) fCodeEditorPageForm->FocusEditor();
}

void TTavloTerminalForm::BlockStatusChanged(int panel, const UnicodeString& text)
{
    if (panel >= 0 && std::size_t(panel) < fBlockStatusPanels.size()) fBlockStatusPanels[std::size_t(panel)]->setText(Q(text));
}

void TTavloTerminalForm::HostAddressFormCreated(THostAddressForm& form)
{
    fHostAddressDialog = std::make_unique<THostAddressFormWidget>(form, this);
}

void TTavloTerminalForm::ShowLayout(const TActionLayout& layout) { fActionBars->Show(layout); }

void TTavloTerminalForm::ShowCustomizeDialog()
{
    CustomizeDialog dialog(fLogic->ActionLists(), fLogic->Layout(), this);
    PlaceWindow(&dialog, this);
    if (dialog.exec() == QDialog::Accepted) fLogic->SetLayout(dialog.Layout());
}

TRect TTavloTerminalForm::WindowBounds() const
{
    const QRect frame = frameGeometry();
    return {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
}

QSize TTavloTerminalForm::FirstSize() const { return sizeHint().expandedTo(DesignSize); }

void TTavloTerminalForm::showEvent(QShowEvent* event)
{
    // Sized at the first show, when the bars show the layout that was loaded with the settings.
    if (!fSized) {
        fSized = true;
        resize(FirstWindowSize(this, FirstSize()));
    }
    QMainWindow::showEvent(event);
}

void TTavloTerminalForm::closeEvent(QCloseEvent* event)
{
    // Stays open unless the close question allows it, also when saving the settings fails.
    event->ignore();
    bool canClose = true;
    fLogic->FormCloseQuery(canClose);
    if (canClose) event->accept();
}
