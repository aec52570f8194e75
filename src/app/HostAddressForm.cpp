#include "app/HostAddressForm.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include "platform/qt/QtWindowPlacement.h"

namespace {
QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }
}  // namespace

THostAddressFormWidget::THostAddressFormWidget(THostAddressForm& form, QWidget* parent)
    : QDialog(parent), fForm(form), fHost(new QLineEdit), fPort(new QLineEdit),
      fConnect(new QPushButton(Q(form.ConnectAct.Caption)))
{
    setWindowTitle(QStringLiteral("Connect To TCP Host"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Host Address:"), fHost);
    fields->addRow(QStringLiteral("Host Port:"), fPort);
    fHost->setMinimumWidth(200);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(fConnect, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    fConnect->setDefault(true);

    auto* page = new QVBoxLayout(this);
    page->addLayout(fields);
    page->addWidget(buttons);

    connect(fHost, &QLineEdit::textEdited, this, [this] { EditsChanged(); });
    connect(fPort, &QLineEdit::textEdited, this, [this] { EditsChanged(); });
    connect(fConnect, &QPushButton::clicked, this, [this] {
        EditsChanged();
        if (fForm.ConnectAct.Execute()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    adjustSize();
    fForm.SetView(this);
}

THostAddressFormWidget::~THostAddressFormWidget() { fForm.SetView(nullptr); }

void THostAddressFormWidget::EditsChanged()
{
    fForm.HostAddressEdit = fHost->text().toStdU16String();
    fForm.HostPortEdit = fPort->text().toStdU16String();
    fForm.ConnectAct.Update();
    fConnect->setEnabled(fForm.ConnectAct.Enabled);
}

void THostAddressFormWidget::ShowModal(THostAddressForm& form)
{
    fHost->setText(Q(form.HostAddressEdit));
    fPort->setText(Q(form.HostPortEdit));
    EditsChanged();
    PlaceWindowAt(this, parentWidget(), {form.Left, form.Top});
    exec();
}

TPoint THostAddressFormWidget::Size() const
{
    const QSize size = FrameSizeOf(this, parentWidget());
    return {size.width(), size.height()};
}
