#include "platform/qt/QtActionBars.h"

#include <cstdlib>
#include <QAction>
#include <QKeySequence>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include "platform/qt/QtIcons.h"

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

/// How often the enabled states are refreshed while the program is idle.
constexpr int IdleUpdateMs = 100;

/// A tool button's caption on two lines, broken at the blank nearest its middle, so that a bar of
/// many actions fits a narrow screen; a single word stays on one line.
QString ToolButtonText(const UnicodeString& caption)
{
    const int middle = int(caption.size()) / 2;
    int best = -1;
    for (int i = 0; i < int(caption.size()); ++i)
        if (caption[std::size_t(i)] == u' ' && (best < 0 || std::abs(i - middle) < std::abs(best - middle))) best = i;
    if (best < 0) return Q(caption);
    return Q(caption.substr(0, std::size_t(best))) + u'\n' + Q(caption.substr(std::size_t(best) + 1));
}

} // namespace

QtActionBars::QtActionBars(QMainWindow& window, std::vector<TActionList*> lists, UnicodeString menuBarName)
    : fWindow(window), fLists(std::move(lists)), fMenuBarName(std::move(menuBarName))
{
    for (TActionList* list : fLists) {
        for (const auto& action : list->Actions()) {
            auto* qtAction = new QAction(Q(action->Caption), this);
            qtAction->setObjectName(Q(action->Name));
            qtAction->setToolTip(Q(action->Hint));
            qtAction->setStatusTip(Q(action->Hint));
            qtAction->setIcon(ActionIcon(action->ImageName));
            qtAction->setIconText(ToolButtonText(action->Caption));
            fImageNames[action.get()] = action->ImageName;
            if (!action->ShortCut.empty())
                qtAction->setShortcut(QKeySequence(Q(action->ShortCut), QKeySequence::PortableText));
            TAction* target = action.get();
            QObject::connect(qtAction, &QAction::triggered, this, [target] { target->Execute(); });
            // Shortcuts work whether or not the action stands on a bar.
            fWindow.addAction(qtAction);
            fQtActions[target] = qtAction;
            fActionOf[qtAction] = target;
        }
    }
    fIdleTimer.setInterval(IdleUpdateMs);
    QObject::connect(&fIdleTimer, &QTimer::timeout, this, [this] { UpdateActions(); });
    fIdleTimer.start();
}

void QtActionBars::Show(const TActionLayout& layout)
{
    for (QToolBar* bar : fToolBars) {
        if (bar->parentWidget() == &fWindow) fWindow.removeToolBar(bar);
        else if (QLayout* slot = bar->parentWidget() ? bar->parentWidget()->layout() : nullptr) slot->removeWidget(bar);
        bar->hide();
        // A click on one of its own buttons may be what asked for the new layout: the bar goes
        // once that event has returned.
        bar->deleteLater();
    }
    fToolBars.clear();
    fBarNames.clear();
    fMenuBarIndex = -1;
    // A fresh menu bar: setMenuBar deletes the old one with its menus once the running event has
    // returned, as with the tool bars.
    // Made inside the window: a menu bar without a parent maps as a window of its own when shown.
    auto* menuBar = new QMenuBar(&fWindow);
    for (const TActionBarLayout& bar : layout.Bars) {
        fBarNames.push_back(bar.Name);
        if (bar.Name == fMenuBarName && fMenuBarIndex < 0) {
            fMenuBarIndex = int(fBarNames.size()) - 1;
            AddItems(menuBar, bar.Items);
            continue;
        }
        auto slot = fBarSlots.find(bar.Name);
        QWidget* host = slot != fBarSlots.end() && slot->second->layout() ? slot->second : nullptr;
        auto* toolBar = new QToolBar(Q(bar.Name), host ? host : &fWindow);
        toolBar->setObjectName(Q(bar.Name));
        toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        AddItems(toolBar, bar.Items);
        if (host) {
            toolBar->setOrientation(Qt::Vertical);
            toolBar->setMovable(false);
            host->layout()->addWidget(toolBar);
        } else {
            fWindow.addToolBar(toolBar);
        }
        fToolBars.push_back(toolBar);
    }
    fWindow.setMenuBar(menuBar);
    menuBar->setVisible(fMenuBarIndex >= 0);
    UpdateActions();
}

void QtActionBars::AddItems(QWidget* container, const std::vector<TLayoutItem>& items)
{
    for (const TLayoutItem& item : items) {
        switch (item.Kind) {
        case TLayoutItemKind::liAction:
            if (TAction* action = FindAction(fLists, item.Name)) container->addAction(fQtActions.at(action));
            break;
        case TLayoutItemKind::liSeparator: {
            auto* separator = new QAction(container);
            separator->setSeparator(true);
            container->addAction(separator);
            break;
        }
        case TLayoutItemKind::liSubMenu: {
            auto* menu = new QMenu(Q(item.Name), container);
            AddItems(menu, item.Items);
            container->addAction(menu->menuAction());
            break;
        }
        }
    }
}

TActionLayout QtActionBars::Layout() const
{
    TActionLayout layout;
    std::size_t toolBar = 0;
    for (std::size_t i = 0; i < fBarNames.size(); ++i) {
        const QWidget* bar = int(i) == fMenuBarIndex ? fWindow.menuWidget() : fToolBars[toolBar++];
        layout.Bars.push_back({fBarNames[i], ReadItems(bar->actions())});
    }
    return layout;
}

std::vector<TLayoutItem> QtActionBars::ReadItems(const QList<QAction*>& actions) const
{
    std::vector<TLayoutItem> items;
    for (QAction* qtAction : actions) {
        if (QMenu* menu = QMenu::menuInAction(qtAction)) {
            items.push_back({TLayoutItemKind::liSubMenu, menu->title().toStdU16String(), ReadItems(menu->actions())});
        } else if (qtAction->isSeparator()) {
            items.push_back({TLayoutItemKind::liSeparator, {}, {}});
        } else if (auto found = fActionOf.find(qtAction); found != fActionOf.end()) {
            items.push_back({TLayoutItemKind::liAction, found->second->Name, {}});
        }
    }
    return items;
}

QAction* QtActionBars::QtAction(const TAction& action) const
{
    auto found = fQtActions.find(&action);
    return found == fQtActions.end() ? nullptr : found->second;
}

void QtActionBars::AddPopUpMenu(QWidget* target, std::initializer_list<TAction*> items) const
{
    target->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (TAction* action : items) {
        if (!action) {
            auto* separator = new QAction(target);
            separator->setSeparator(true);
            target->addAction(separator);
        } else if (QAction* qtAction = QtAction(*action)) {
            target->addAction(qtAction);
        }
    }
}

void QtActionBars::HostBar(const UnicodeString& barName, QWidget* slot) { fBarSlots[barName] = slot; }

void QtActionBars::ScopeToPage(const TActionList& list, QWidget* page)
{
    for (const auto& action : list.Actions()) {
        QAction* qtAction = fQtActions.at(action.get());
        fWindow.removeAction(qtAction);
        qtAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        page->addAction(qtAction);
    }
}

void QtActionBars::UpdateActions()
{
    for (TActionList* list : fLists) {
        list->UpdateActions();
        for (const auto& action : list->Actions())
        {
            QAction* qtAction = fQtActions.at(action.get());
            qtAction->setEnabled(action->Enabled);
            // Qt would toggle a checkable action on its own: the mark follows the action only.
            qtAction->setCheckable(action->AutoCheck || action->Checked);
            qtAction->setChecked(action->Checked);
            // An Update or Execute handler may give the action another image.
            UnicodeString& shown = fImageNames[action.get()];
            if (shown != action->ImageName) {
                shown = action->ImageName;
                qtAction->setIcon(ActionIcon(shown));
            }
        }
    }
}
