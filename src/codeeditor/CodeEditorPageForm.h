#pragma once
// The widgets of the Code Editor page: the hosted editor, the status bar, the find and replace
// dialogs.
#include <vector>
#include <QWidget>
#include "codeeditor/CodeEditorPage.h"

class ControlHostWidget;
class QLabel;
class QtActionBars;
class TFindDialogForm;

class TCodeEditorPageForm : public QWidget, public TCodeEditorView {
public:
    /// Becomes the page's view while it exists.
    explicit TCodeEditorPageForm(TCodeEditorPage& page, QWidget* parent = nullptr);
    ~TCodeEditorPageForm() override;

    void StatusChanged(int Panel, const UnicodeString& Text) override;
    void ShowFindDialog(TFindDialogData& Dialog) override;
    void ShowReplaceDialog(TFindDialogData& Dialog) override;

    /// The editor's pop-up menu: undo, redo, clipboard, select all, auto indent, indent, outdent.
    void AddPopUpMenu(const QtActionBars& bars);
    /// The editor takes the keys.
    void FocusEditor();

    ControlHostWidget* EditorHost() const { return fHost; }
    TFindDialogForm* FindDialog() const { return fFindDialog; }
    TFindDialogForm* ReplaceDialog() const { return fReplaceDialog; }
    QLabel* StatusPanel(int Panel) const { return fPanels.at(std::size_t(Panel)); }

private:
    TCodeEditorPage& fPage;
    ControlHostWidget* fHost;
    std::vector<QLabel*> fPanels;
    TFindDialogForm* fFindDialog;
    TFindDialogForm* fReplaceDialog;
};
