#include "codeeditor/EditPairsDlgForm.h"
#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include "platform/qt/QtWindowPlacement.h"

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

}  // namespace

TEditPairsDlgForm::TEditPairsDlgForm(TEditPairsForm& dialog, QWidget* parent)
    : QDialog(parent), fDialog(dialog), fList(new QListWidget), fEdit(new QLineEdit)
{
    setWindowTitle(Q(TEditPairsForm::Caption));
    fList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    fEdit->setToolTip(Q(TEditPairsForm::AddWordHint));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(Q(TEditPairsForm::LabelCaption)), 0, 0, 1, 2);
    layout->addWidget(fList, 1, 0, 1, 2);
    layout->addWidget(fEdit, 2, 0, 1, 2);
    int column = 0;
    int row = 3;
    for (TAction* action : {fDialog.AddAct, fDialog.RemoveAct, fDialog.OkAct, fDialog.CancelAct}) {
        auto* button = new QPushButton(Q(action->Caption));
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, this, [this, action] { Run(action); });
        if (!action->ShortCut.empty()) {
            // The shortcut works wherever the focus is inside the dialog.
            auto* shortcut = new QAction(this);
            shortcut->setShortcut(QKeySequence(Q(action->ShortCut), QKeySequence::PortableText));
            QObject::connect(shortcut, &QAction::triggered, this, [this, action] { Run(action); });
            addAction(shortcut);
        }
        fButtons[action] = button;
        layout->addWidget(button, row, column);
        if (++column == 2) column = 0, ++row;
    }
    QObject::connect(fEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!fShowing) fDialog.SetAddWordEdit(text.toStdU16String());
    });
    QObject::connect(fList, &QListWidget::itemSelectionChanged, this, [this] {
        if (fShowing) return;
        for (int i = 0; i < fList->count(); ++i)
            if (fDialog.Selected(i) != fList->item(i)->isSelected()) fDialog.SetSelected(i, fList->item(i)->isSelected());
    });
    QObject::connect(fList, &QListWidget::itemClicked, this,
                     [this](QListWidgetItem* item) { fDialog.PairedWordsListClick(fList->row(item)); });
    fDialog.SetView(this);
    // Its size is known before the first show, for the first centring.
    resize(sizeHint());
    fDialog.Bounds = {0, 0, width(), height()};
}

TEditPairsDlgForm::~TEditPairsDlgForm() { fDialog.SetView(nullptr); }

TModalResult TEditPairsDlgForm::ShowModal()
{
    // The page centred the dialog at the size it knew, which before the first show lacks the
    // window manager's frame: centred again with the frame (the owner's until the dialog has one
    // of its own), it opens in one place every time.
    KeepFrameSize();
    if (parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        fDialog.CentreOn({owner.left(), owner.top(), owner.left() + owner.width(), owner.top() + owner.height()});
    }
    PlaceWindowAt(this, parentWidget(), {fDialog.Bounds.Left, fDialog.Bounds.Top});
    fEdit->setFocus();
    return exec() == QDialog::Accepted ? TModalResult::mrOk : TModalResult::mrCancel;
}

void TEditPairsDlgForm::KeepFrameSize()
{
    const QSize size = FrameSizeOf(this, parentWidget());
    fDialog.Bounds.Right = fDialog.Bounds.Left + size.width();
    fDialog.Bounds.Bottom = fDialog.Bounds.Top + size.height();
}

void TEditPairsDlgForm::Changed()
{
    fShowing = true;
    const TStringList& items = fDialog.Items();
    if (fList->count() != items.Count()) {
        fList->clear();
        for (int i = 0; i < items.Count(); ++i) fList->addItem(Q(items[i]));
    }
    for (int i = 0; i < items.Count(); ++i) {
        fList->item(i)->setText(Q(items[i]));
        fList->item(i)->setSelected(fDialog.Selected(i));
    }
    if (fEdit->text().toStdU16String() != fDialog.AddWordEdit()) fEdit->setText(Q(fDialog.AddWordEdit()));
    for (const auto& [action, button] : fButtons) button->setEnabled(action->Enabled);
    fShowing = false;
}

void TEditPairsDlgForm::Run(TAction* action)
{
    fDialog.ModalResult = TModalResult::mrNone;
    action->Execute();
    if (fDialog.ModalResult == TModalResult::mrOk) accept();
    else if (fDialog.ModalResult == TModalResult::mrCancel) reject();
}
