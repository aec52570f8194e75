#include "app/frmTextViewerForm.h"
#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>
#include "platform/qt/QtColor.h"
#include "platform/qt/QtIcons.h"
#include "platform/qt/QtWindowPlacement.h"

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

}  // namespace

TTextViewerForm::TTextViewerForm(QWidget* parent)
    : QWidget(parent, Qt::Window), fText(new QPlainTextEdit), fFind(new QLineEdit),
      fWholeWord(new QCheckBox(QStringLiteral("Whole Words"))), fMatchCase(new QCheckBox(QStringLiteral("Match Case")))
{
    setWindowTitle(QStringLiteral("Screen Snapshot"));
    resize(700, 500);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* toolBar = new QHBoxLayout;
    toolBar->setContentsMargins(4, 4, 4, 4);
    toolBar->addWidget(new QLabel(QStringLiteral("Find:")));
    toolBar->addWidget(fFind, 1);
    auto* findNext = new QToolButton;
    findNext->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addWidget(findNext);
    toolBar->addWidget(fWholeWord);
    toolBar->addWidget(fMatchCase);
    layout->addLayout(toolBar);

    TFont font;
    font.Name = u"Lucida Console";
    font.Height = -13;
    fText->setFont(ToQFont(font));
    fText->setReadOnly(true);
    fText->setLineWrapMode(QPlainTextEdit::NoWrap);
    fText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    fText->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(fText, 1);

    auto* statusBar1 = new QStatusBar;
    for (int i = 0; i < TTextViewer::StatusPanelCount; ++i) {
        auto* panel = new QLabel;
        fPanels.push_back(panel);
        statusBar1->addWidget(panel);
    }
    layout->addWidget(statusBar1);

    // The logic comes after the widgets, since it shows its first state through them.
    fLogic = std::make_unique<TTextViewer>(*this);
    for (const auto& action : fLogic->ActionList1.Actions()) {
        auto* qtAction = new QAction(Q(action->Caption), this);
        qtAction->setToolTip(Q(action->Hint));
        qtAction->setIcon(ActionIcon(action->ImageName));
        qtAction->setShortcut(QKeySequence(Q(action->ShortCut), QKeySequence::PortableText));
        qtAction->setShortcutContext(Qt::WindowShortcut);
        TAction* logic = action.get();
        QObject::connect(qtAction, &QAction::triggered, this, [logic] { logic->Execute(); });
        addAction(qtAction);
        fActions.push_back({logic, qtAction});
    }
    findNext->setDefaultAction(ActionOf(fLogic->FindNextAct));

    QObject::connect(fFind, &QLineEdit::textChanged, this, [this](const QString& text) {
        fLogic->FindTextEdit = text.toStdU16String();
        UpdateActions();
    });
    QObject::connect(fWholeWord, &QCheckBox::toggled, this, [this](bool on) { fLogic->WholeWordBtn = on; });
    QObject::connect(fMatchCase, &QCheckBox::toggled, this, [this](bool on) { fLogic->MatchCaseBtn = on; });
    fFind->installEventFilter(this);
    QObject::connect(fText, &QPlainTextEdit::selectionChanged, this, [this] { TextSelectionMoved(); });
    QObject::connect(fText, &QPlainTextEdit::cursorPositionChanged, this, [this] { TextSelectionMoved(); });
    QObject::connect(fText, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateActions();
        QMenu menu(this);
        menu.addAction(ActionOf(fLogic->SelectAllAct));
        menu.addAction(ActionOf(fLogic->CopyToClipboardAct));
        menu.addSeparator();
        menu.addAction(ActionOf(fLogic->FindNextAct));
        menu.exec(fText->viewport()->mapToGlobal(at));
    });
    UpdateActions();
}

TTextViewerForm::~TTextViewerForm() = default;

QAction* TTextViewerForm::ActionOf(const TAction* action) const
{
    for (const auto& [logic, qtAction] : fActions)
        if (logic == action) return qtAction;
    return nullptr;
}

void TTextViewerForm::UpdateActions()
{
    for (const auto& [logic, qtAction] : fActions) {
        logic->Update();
        qtAction->setEnabled(logic->Enabled);
    }
}

void TTextViewerForm::TextChanged(const UnicodeString& text)
{
    // Updates suspended while filling: one repaint for the whole text.
    fText->setUpdatesEnabled(false);
    fSettingSelection = true;
    fText->setPlainText(Q(text));
    fSettingSelection = false;
    fText->setUpdatesEnabled(true);
}

void TTextViewerForm::SelectionChanged(int start, int length)
{
    if (fSettingSelection) return;
    fSettingSelection = true;
    QTextCursor cursor = fText->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    fText->setTextCursor(cursor);
    fSettingSelection = false;
    UpdateActions();
}

void TTextViewerForm::TextSelectionMoved()
{
    if (fSettingSelection) return;
    const QTextCursor cursor = fText->textCursor();
    fSettingSelection = true;
    fLogic->SetSelection(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
    fSettingSelection = false;
    UpdateActions();
}

void TTextViewerForm::StatusPanelChanged(int panel, const UnicodeString& text)
{
    if (panel >= 0 && std::size_t(panel) < fPanels.size()) fPanels[std::size_t(panel)]->setText(Q(text));
}

void TTextViewerForm::ShowViewer()
{
    PlaceWindow(this, parentWidget());
    if (isMinimized()) showNormal();
    else show();
    raise();
    activateWindow();
}

void TTextViewerForm::FocusText() { fText->setFocus(Qt::OtherFocusReason); }

void TTextViewerForm::FocusFindEdit()
{
    fFind->setFocus(Qt::ShortcutFocusReason);
    fFind->selectAll();
}

bool TTextViewerForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == fFind && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            TShiftState shift = 0;
            if (key->modifiers() & Qt::ShiftModifier) shift |= ssShift;
            if (key->modifiers() & Qt::ControlModifier) shift |= ssCtrl;
            if (key->modifiers() & Qt::AltModifier) shift |= ssAlt;
            if (fLogic->FindTextEditKeyDown(VK::RETURN, shift)) {
                // Find Next moved the focus to the text: it goes back to the edit.
                fFind->setFocus(Qt::OtherFocusReason);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
