#include "codeeditor/FindDialogForm.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include "platform/qt/QtWindowPlacement.h"

TFindDialogForm::TFindDialogForm(bool Replace, QWidget* parent)
    : QDialog(parent),
      fFind(new QLineEdit),
      fWholeWord(new QCheckBox(QStringLiteral("Match &whole word only"))),
      fMatchCase(new QCheckBox(QStringLiteral("Match &case"))),
      fDirection(new QGroupBox(QStringLiteral("Direction"))),
      fUp(new QRadioButton(QStringLiteral("&Up"))),
      fDown(new QRadioButton(QStringLiteral("&Down")))
{
    setWindowTitle(Replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);
    auto* fields = new QGridLayout;
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"));
    findLabel->setBuddy(fFind);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(fFind, 0, 1);
    if (Replace) {
        fReplace = new QLineEdit;
        auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"));
        replaceLabel->setBuddy(fReplace);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(fReplace, 1, 1);
    }
    auto* direction = new QHBoxLayout(fDirection);
    direction->addWidget(fUp);
    direction->addWidget(fDown);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(fWholeWord);
    left->addWidget(fMatchCase);
    left->addWidget(fDirection);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](const QString& caption, std::function<void()> pressed) {
        auto* button = new QPushButton(caption);
        QObject::connect(button, &QPushButton::clicked, this, [pressed] { pressed(); });
        buttons->addWidget(button);
        return button;
    };
    addButton(QStringLiteral("&Find Next"), [this] {
        Store({});
        if (OnFind) OnFind();
    })->setDefault(true);
    if (Replace) {
        addButton(QStringLiteral("&Replace"), [this] {
            Store({frReplace});
            if (OnReplace) OnReplace();
        });
        addButton(QStringLiteral("Replace &All"), [this] {
            Store({frReplaceAll});
            if (OnReplace) OnReplace();
        });
    }
    addButton(QStringLiteral("Cancel"), [this] { reject(); });
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
}

void TFindDialogForm::ShowFor(TFindDialogData& Data)
{
    fData = &Data;
    fFind->setText(QString::fromStdU16String(Data.FindText));
    if (fReplace) fReplace->setText(QString::fromStdU16String(Data.ReplaceText));
    fWholeWord->setChecked(Data.Options.Contains(frWholeWord));
    fMatchCase->setChecked(Data.Options.Contains(frMatchCase));
    (Data.Options.Contains(frDown) ? fDown : fUp)->setChecked(true);
    fDirection->setVisible(!Data.Options.Contains(frHideUpDown));
    PlaceWindow(this, parentWidget());
    show();
    raise();
    activateWindow();
    fFind->setFocus();
    fFind->selectAll();
}

void TFindDialogForm::Store(TFindOptions Extra)
{
    if (!fData) return;
    fData->FindText = fFind->text().toStdU16String();
    if (fReplace) fData->ReplaceText = fReplace->text().toStdU16String();
    TFindOptions options = Extra;
    if (fData->Options.Contains(frHideUpDown)) options.Include(frHideUpDown);
    if (fDown->isChecked()) options.Include(frDown);
    if (fWholeWord->isChecked()) options.Include(frWholeWord);
    if (fMatchCase->isChecked()) options.Include(frMatchCase);
    fData->Options = options;
}

void TFindDialogForm::done(int result)
{
    QDialog::done(result);
    if (OnClose) OnClose();
}
