#pragma once
// The widgets of the snapshot viewer "Screen Snapshot": the find bar, the read-only text and the
// status bar. What they do is TTextViewer's.
#include <memory>
#include <vector>
#include <QWidget>
#include "app/frmTextViewer.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

class TTextViewerForm : public QWidget, public TTextViewerView {
public:
    /// A window of its own above `parent` (the main window).
    explicit TTextViewerForm(QWidget* parent = nullptr);
    ~TTextViewerForm() override;

    TTextViewer& Logic() { return *fLogic; }
    QPlainTextEdit* TextViewer() const { return fText; }
    QLineEdit* FindTextEdit() const { return fFind; }
    QCheckBox* WholeWordBtn() const { return fWholeWord; }
    QCheckBox* MatchCaseBtn() const { return fMatchCase; }
    QLabel* StatusPanelLabel(int panel) const { return fPanels.at(std::size_t(panel)); }
    /// The Qt action of a viewer action, by name ("FindNextAct" ...).
    QAction* ActionOf(const TAction* action) const;

    void TextChanged(const UnicodeString& text) override;
    void SelectionChanged(int start, int length) override;
    void StatusPanelChanged(int panel, const UnicodeString& text) override;
    void ShowViewer() override;
    void FocusText() override;
    void FocusFindEdit() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The selection of the text widget went somewhere: the logic follows.
    void TextSelectionMoved();
    void UpdateActions();

    QPlainTextEdit* fText;
    QLineEdit* fFind;
    QCheckBox* fWholeWord;
    QCheckBox* fMatchCase;
    std::vector<QLabel*> fPanels;
    std::vector<std::pair<TAction*, QAction*>> fActions;
    bool fSettingSelection = false;
    std::unique_ptr<TTextViewer> fLogic;
};
