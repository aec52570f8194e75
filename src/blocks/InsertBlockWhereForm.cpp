#include "blocks/InsertBlockWhereForm.h"
#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include "platform/qt/QtWindowPlacement.h"

namespace {

QString Q(const char16_t* s) { return QString::fromStdU16String(s); }

}  // namespace

TInsertBlockWhereForm::TInsertBlockWhereForm(TInsertBlockWhereDlg& dialog, QWidget* parent)
    : QDialog(parent), fDialog(dialog), fGroup(new QButtonGroup(this))
{
    setWindowTitle(Q(TInsertBlockWhereDlg::Caption));
    auto* box = new QGroupBox(Q(TInsertBlockWhereDlg::GroupCaption));
    auto* boxLayout = new QVBoxLayout(box);
    for (int i = 0; i < int(TInsertBlockWhereDlg::Items.size()); ++i) {
        auto* radio = new QRadioButton(Q(TInsertBlockWhereDlg::Items[std::size_t(i)]));
        fGroup->addButton(radio, i);
        boxLayout->addWidget(radio);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
    fDialog.SetView(this);
}

TInsertBlockWhereForm::~TInsertBlockWhereForm() { fDialog.SetView(nullptr); }

TModalResult TInsertBlockWhereForm::ShowModal(int& ItemIndex)
{
    if (QAbstractButton* button = fGroup->button(ItemIndex)) button->setChecked(true);
    PlaceWindow(this, parentWidget());
    if (exec() != QDialog::Accepted) return TModalResult::mrCancel;
    ItemIndex = fGroup->checkedId();
    return TModalResult::mrOk;
}
