#include "codeeditor/CodeEditorPageForm.h"
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>
#include "codeeditor/FindDialogForm.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtActionBars.h"

TCodeEditorPageForm::TCodeEditorPageForm(TCodeEditorPage& page, QWidget* parent)
    : QWidget(parent),
      fPage(page),
      fHost(new ControlHostWidget(page.ScriptEdit)),
      fFindDialog(new TFindDialogForm(false, this)),
      fReplaceDialog(new TFindDialogForm(true, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fHost, 1);
    auto* status = new QStatusBar;
    status->setSizeGripEnabled(false);
    for (const char16_t* text : CodeStatusDesign) {
        auto* panel = new QLabel(QString::fromStdU16String(text));
        fPanels.push_back(panel);
        status->addWidget(panel);
    }
    layout->addWidget(status);

    // Dialogs are parented to the page so that they go with it, but float as windows of their own.
    for (TFindDialogForm* dialog : {fFindDialog, fReplaceDialog}) {
        dialog->setWindowFlags(Qt::Dialog);
        // Closing a dialog gives the keys back to the main window.
        dialog->OnClose = [this] {
            window()->activateWindow();
            FocusEditor();
        };
    }
    fFindDialog->OnFind = [this] { fPage.FindDialog1Find(); };
    fReplaceDialog->OnFind = [this] { fPage.ReplaceDialog1Find(); };
    fReplaceDialog->OnReplace = [this] { fPage.ReplaceDialog1Replace(); };
    fPage.SetView(this);
}

TCodeEditorPageForm::~TCodeEditorPageForm()
{
    fPage.SetView(nullptr);
    // The host shows the page's editor: it goes before the page does.
    delete fHost;
}

void TCodeEditorPageForm::StatusChanged(int Panel, const UnicodeString& Text)
{
    if (Panel >= 0 && std::size_t(Panel) < fPanels.size()) fPanels[std::size_t(Panel)]->setText(QString::fromStdU16String(Text));
}

void TCodeEditorPageForm::ShowFindDialog(TFindDialogData& Dialog) { fFindDialog->ShowFor(Dialog); }

void TCodeEditorPageForm::ShowReplaceDialog(TFindDialogData& Dialog) { fReplaceDialog->ShowFor(Dialog); }

void TCodeEditorPageForm::AddPopUpMenu(const QtActionBars& bars)
{
    bars.AddPopUpMenu(fHost->Surface(),
                      {fPage.EditorUndoAct, fPage.EditorRedoAct, nullptr, fPage.EditorCopyAct, fPage.EditorCutAct,
                       fPage.EditorPasteAct, nullptr, fPage.EditorSelectAllAct, nullptr, fPage.AutoIndentAct,
                       fPage.EditIndentLinesAct, fPage.EditOutdentLinesAct});
}

void TCodeEditorPageForm::FocusEditor() { fHost->Surface()->setFocus(); }
