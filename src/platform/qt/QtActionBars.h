#pragma once
#include <initializer_list>
// The menu bar and tool bars of a main window, built from a layout over the program's actions.
// Every action gets one Qt action: its menu items and tool buttons trigger the action's Execute,
// and an idle timer shows the enabled state and the image that its handlers set. Tool buttons show
// the image above the caption, menu items beside it.
#include <map>
#include <vector>
#include <QObject>
#include <QTimer>
#include "platform/ActionLayout.h"
#include "platform/Actions.h"

class QAction;
class QMainWindow;
class QToolBar;
class QWidget;

class QtActionBars : public QObject {
public:
    /// The bar of the layout named menuBarName becomes the window's menu bar, every other bar a
    /// tool bar. The lists must outlive this object.
    QtActionBars(QMainWindow& window, std::vector<TActionList*> lists, UnicodeString menuBarName);

    /// Replaces the window's menu bar and tool bars with those of the layout.
    void Show(const TActionLayout& layout);
    /// The layout as the bars show it now, read from the widgets.
    TActionLayout Layout() const;

    /// The Qt action that stands for an action of the lists; nullptr for others.
    QAction* QtAction(const TAction& action) const;
    /// Gives `target` a pop-up menu of these actions; a null entry is a separator.
    void AddPopUpMenu(QWidget* target, std::initializer_list<TAction*> items) const;
    /// The tool bars as shown, in layout order.
    const std::vector<QToolBar*>& ToolBars() const { return fToolBars; }

    /// The bar of that name is shown upright inside slot (a widget with a box layout) instead of
    /// the window's tool bar area: a page's own tool bar. Takes effect at the next Show.
    void HostBar(const UnicodeString& barName, QWidget* slot);
    /// Makes the shortcuts of a page's actions work only while the focus is inside that page, so
    /// that pages may share a shortcut (Qt fires nothing for a shortcut two live actions share).
    void ScopeToPage(const TActionList& list, QWidget* page);
    /// Runs every Update handler and shows the enabled states; the idle timer calls it.
    void UpdateActions();

private:
    void AddItems(QWidget* container, const std::vector<TLayoutItem>& items);
    std::vector<TLayoutItem> ReadItems(const QList<QAction*>& actions) const;

    QMainWindow& fWindow;
    std::vector<TActionList*> fLists;
    UnicodeString fMenuBarName;
    std::map<const TAction*, QAction*> fQtActions;
    std::map<const QAction*, const TAction*> fActionOf;
    /// The image each Qt action shows, to follow an action whose image changes.
    std::map<const TAction*, UnicodeString> fImageNames;
    std::vector<QToolBar*> fToolBars;
    std::map<UnicodeString, QWidget*> fBarSlots;
    /// The bars' names in layout order, and which of them is the menu bar (-1: none).
    std::vector<UnicodeString> fBarNames;
    int fMenuBarIndex = -1;
    QTimer fIdleTimer;
};
