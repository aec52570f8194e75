#pragma once
// The customise dialog: the user adds actions and separators to the bars and menus, removes
// items and moves them. It edits a copy of the layout; Layout() gives the result.
#include <vector>
#include <QDialog>
#include "platform/ActionLayout.h"
#include "platform/Actions.h"

class QTreeWidget;
class QTreeWidgetItem;

class CustomizeDialog : public QDialog {
public:
    /// The lists must outlive the dialog.
    CustomizeDialog(std::vector<TActionList*> lists, const TActionLayout& layout, QWidget* parent = nullptr);

    /// The layout as the user left it.
    TActionLayout Layout() const;

    /// The bars and their items; the selected item is where the buttons act.
    QTreeWidget* LayoutTree() const { return fLayoutTree; }
    /// The actions by category; the selected action is the one "Add" places.
    QTreeWidget* ActionTree() const { return fActionTree; }

    /// Places the selected action after the selected item, or last inside a selected bar or menu;
    /// not when that bar or menu holds it already.
    void AddSelectedAction();
    void AddSeparator();
    /// Removes the selected item (bars stay).
    void RemoveSelected();
    /// Moves the selected item up (-1) or down (+1) among its neighbours.
    void MoveSelected(int delta);

private:
    void AddTreeItems(QTreeWidgetItem* parent, const std::vector<TLayoutItem>& items);
    std::vector<TLayoutItem> ReadTreeItems(const QTreeWidgetItem* parent) const;
    QTreeWidgetItem* NewItem(const TLayoutItem& item) const;
    void Place(QTreeWidgetItem* item);

    std::vector<TActionList*> fLists;
    QTreeWidget* fLayoutTree;
    QTreeWidget* fActionTree;
};
