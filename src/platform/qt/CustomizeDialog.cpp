#include "platform/qt/CustomizeDialog.h"

#include <map>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include "platform/qt/QtIcons.h"

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

/// Item data: what the row is, and the action name, menu caption or bar name it stands for.
constexpr int KindRole = Qt::UserRole;
constexpr int NameRole = Qt::UserRole + 1;
/// The kind of a bar row, beside the item kinds.
constexpr int BarKind = 100;

const QString SeparatorText = QStringLiteral("----------");

int KindOf(const QTreeWidgetItem* item) { return item->data(0, KindRole).toInt(); }
UnicodeString NameOf(const QTreeWidgetItem* item) { return item->data(0, NameRole).toString().toStdU16String(); }
/// A menu caption as the menu shows it: "&&" is an ampersand, a single one marks the access key.
QString WithoutAccessKey(QString caption)
{
    return caption.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
}

bool IsContainer(const QTreeWidgetItem* item)
{
    return KindOf(item) == BarKind || KindOf(item) == int(TLayoutItemKind::liSubMenu);
}

QPushButton* Button(QVBoxLayout* column, const QString& caption, const QString& hint)
{
    auto* button = new QPushButton(caption);
    button->setToolTip(hint);
    column->addWidget(button);
    return button;
}

} // namespace

CustomizeDialog::CustomizeDialog(std::vector<TActionList*> lists, const TActionLayout& layout, QWidget* parent)
    : QDialog(parent), fLists(std::move(lists)), fLayoutTree(new QTreeWidget), fActionTree(new QTreeWidget)
{
    setWindowTitle(QStringLiteral("Customize"));
    resize(640, 440);

    fLayoutTree->setHeaderLabel(QStringLiteral("Menus and Tool Bars"));
    for (const TActionBarLayout& bar : layout.Bars) {
        auto* barItem = new QTreeWidgetItem(fLayoutTree, {Q(bar.Name)});
        barItem->setData(0, KindRole, BarKind);
        barItem->setData(0, NameRole, Q(bar.Name));
        AddTreeItems(barItem, bar.Items);
    }
    fLayoutTree->expandAll();

    fActionTree->setHeaderLabel(QStringLiteral("Actions"));
    std::map<UnicodeString, QTreeWidgetItem*> categories;
    for (TActionList* list : fLists) {
        for (const auto& action : list->Actions()) {
            QTreeWidgetItem*& category = categories[action->Category];
            if (!category) category = new QTreeWidgetItem(fActionTree, {Q(action->Category)});
            auto* item = new QTreeWidgetItem(category, {Q(action->Caption)});
            item->setIcon(0, ActionIcon(action->ImageName));
            item->setToolTip(0, Q(action->Hint));
            item->setData(0, KindRole, int(TLayoutItemKind::liAction));
            item->setData(0, NameRole, Q(action->Name));
        }
    }
    fActionTree->expandAll();

    auto* buttons = new QVBoxLayout;
    connect(
        Button(buttons, QStringLiteral("Add"), QStringLiteral("Place the selected action on the selected bar or menu")),
        &QPushButton::clicked, this, [this] { AddSelectedAction(); });
    connect(Button(buttons, QStringLiteral("Separator"), QStringLiteral("Place a separator")), &QPushButton::clicked,
            this, [this] { AddSeparator(); });
    connect(Button(buttons, QStringLiteral("Remove"), QStringLiteral("Remove the selected item")),
            &QPushButton::clicked, this, [this] { RemoveSelected(); });
    connect(Button(buttons, QStringLiteral("Move Up"), QStringLiteral("Move the selected item up")),
            &QPushButton::clicked, this, [this] { MoveSelected(-1); });
    connect(Button(buttons, QStringLiteral("Move Down"), QStringLiteral("Move the selected item down")),
            &QPushButton::clicked, this, [this] { MoveSelected(1); });
    buttons->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addWidget(fLayoutTree, 1);
    columns->addLayout(buttons);
    columns->addWidget(fActionTree, 1);
    auto* okCancel = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(okCancel, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(okCancel, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* page = new QVBoxLayout(this);
    page->addLayout(columns);
    page->addWidget(okCancel);
}

QTreeWidgetItem* CustomizeDialog::NewItem(const TLayoutItem& item) const
{
    QString text = SeparatorText;
    QIcon icon;
    if (item.Kind == TLayoutItemKind::liSubMenu) text = WithoutAccessKey(Q(item.Name));
    if (item.Kind == TLayoutItemKind::liAction) {
        TAction* action = FindAction(fLists, item.Name);
        text = action ? Q(action->Caption) : Q(item.Name);
        if (action) icon = ActionIcon(action->ImageName);
    }
    auto* row = new QTreeWidgetItem({text});
    row->setIcon(0, icon);
    row->setData(0, KindRole, int(item.Kind));
    row->setData(0, NameRole, Q(item.Name));
    return row;
}

void CustomizeDialog::AddTreeItems(QTreeWidgetItem* parent, const std::vector<TLayoutItem>& items)
{
    for (const TLayoutItem& item : items) {
        QTreeWidgetItem* row = NewItem(item);
        parent->addChild(row);
        AddTreeItems(row, item.Items);
    }
}

std::vector<TLayoutItem> CustomizeDialog::ReadTreeItems(const QTreeWidgetItem* parent) const
{
    std::vector<TLayoutItem> items;
    for (int i = 0; i < parent->childCount(); ++i) {
        const QTreeWidgetItem* row = parent->child(i);
        auto kind = TLayoutItemKind(KindOf(row));
        items.push_back(
            {kind, kind == TLayoutItemKind::liSeparator ? UnicodeString() : NameOf(row), ReadTreeItems(row)});
    }
    return items;
}

TActionLayout CustomizeDialog::Layout() const
{
    TActionLayout layout;
    for (int i = 0; i < fLayoutTree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* bar = fLayoutTree->topLevelItem(i);
        layout.Bars.push_back({NameOf(bar), ReadTreeItems(bar)});
    }
    return layout;
}

void CustomizeDialog::Place(QTreeWidgetItem* item)
{
    QTreeWidgetItem* selected = fLayoutTree->currentItem();
    if (!selected) {
        delete item;
        return;
    }
    if (IsContainer(selected)) {
        selected->addChild(item);
        selected->setExpanded(true);
    } else {
        QTreeWidgetItem* parent = selected->parent();
        parent->insertChild(parent->indexOfChild(selected) + 1, item);
    }
    fLayoutTree->setCurrentItem(item);
}

void CustomizeDialog::AddSelectedAction()
{
    QTreeWidgetItem* selected = fActionTree->currentItem();
    QTreeWidgetItem* target = fLayoutTree->currentItem();
    if (!selected || KindOf(selected) != int(TLayoutItemKind::liAction) || !selected->parent() || !target) return;
    // A bar or menu shows an action once.
    QTreeWidgetItem* parent = IsContainer(target) ? target : target->parent();
    for (int i = 0; i < parent->childCount(); ++i)
        if (KindOf(parent->child(i)) == int(TLayoutItemKind::liAction) && NameOf(parent->child(i)) == NameOf(selected))
            return;
    Place(NewItem({TLayoutItemKind::liAction, NameOf(selected), {}}));
}

void CustomizeDialog::AddSeparator() { Place(NewItem({TLayoutItemKind::liSeparator, {}, {}})); }

void CustomizeDialog::RemoveSelected()
{
    QTreeWidgetItem* selected = fLayoutTree->currentItem();
    if (selected && selected->parent()) delete selected;
}

void CustomizeDialog::MoveSelected(int delta)
{
    QTreeWidgetItem* selected = fLayoutTree->currentItem();
    if (!selected || !selected->parent()) return;
    QTreeWidgetItem* parent = selected->parent();
    int index = parent->indexOfChild(selected) + delta;
    if (index < 0 || index >= parent->childCount()) return;
    bool expanded = selected->isExpanded();
    parent->takeChild(parent->indexOfChild(selected));
    parent->insertChild(index, selected);
    selected->setExpanded(expanded);
    fLayoutTree->setCurrentItem(selected);
}
