#include "settings/SelectComPortForm.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include "platform/qt/QtWindowPlacement.h"

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

/// The folders whose entries change when a serial device comes or goes.
const QStringList DeviceFolders = {QStringLiteral("/dev"), QStringLiteral("/dev/serial/by-id")};

}  // namespace

TSelectComPortForm::TSelectComPortForm(TSelectComPortDlg& logic, QWidget* parent)
    : QDialog(parent), fLogic(logic), fGrid(new QTableWidget(0, 2)), fWatcher(new QFileSystemWatcher(this))
{
    setWindowTitle(QStringLiteral("Select Com Port"));
    fGrid->setHorizontalHeaderLabels({QStringLiteral("Port Name"), QStringLiteral("Device")});
    fGrid->verticalHeader()->hide();
    fGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    fGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    fGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fGrid->setColumnWidth(0, 85);
    fGrid->setColumnWidth(1, 174);
    fGrid->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(fGrid, &QTableWidget::itemSelectionChanged, this, [this] {
        const QList<QTableWidgetItem*> selected = fGrid->selectedItems();
        const int row = selected.isEmpty() ? -1 : selected.first()->row();
        if (row != fLogic.Selected()) fLogic.SetSelected(row);
    });
    connect(fGrid, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    connect(fWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { fLogic.DeviceChange(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fGrid);
    layout->addWidget(buttons);
    resize(320, 260);
    fLogic.SetView(this);
}

TSelectComPortForm::~TSelectComPortForm() { fLogic.SetView(nullptr); }

void TSelectComPortForm::RowsChanged()
{
    const std::vector<TComPortRow>& rows = fLogic.Rows();
    QSignalBlocker quiet(fGrid);
    fGrid->setRowCount(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
        fGrid->setItem(i, 0, new QTableWidgetItem(Q(rows[std::size_t(i)].PortName)));
        fGrid->setItem(i, 1, new QTableWidgetItem(Q(rows[std::size_t(i)].Device)));
    }
    fGrid->clearSelection();
    if (fLogic.Selected() >= 0) fGrid->selectRow(fLogic.Selected());
}

TModalResult TSelectComPortForm::ShowModal()
{
    PlaceWindow(this, parentWidget());
    return exec() == QDialog::Accepted ? TModalResult::mrOk : TModalResult::mrCancel;
}

void TSelectComPortForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Only a shown picker watches: the folders are not watched for the rest of the run.
    for (const QString& folder : DeviceFolders)
        if (QFileInfo(folder).isDir()) fWatcher->addPath(folder);
    fLogic.FormActivate();
}

void TSelectComPortForm::hideEvent(QHideEvent* event)
{
    if (!fWatcher->directories().isEmpty()) fWatcher->removePaths(fWatcher->directories());
    fLogic.FormHide();
    QDialog::hideEvent(event);
}
