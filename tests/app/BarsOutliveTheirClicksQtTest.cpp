// The bars are rebuilt by actions that their own buttons and menu items run (Customise, Default
// Layout): no widget that delivers such a click may be gone before the click has returned.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include "QtMainWindowFixture.h"
#include "app/MainLayout.h"
#include "app/ProgramForms.h"
#include "app/ProgramFormsForm.h"
#include "app/Unit1Form.h"
#include "platform/qt/CustomizeDialog.h"
#include "platform/qt/QtActionBars.h"
#include "support/MemoryClipboard.h"
#include "support/ScriptedDialogs.h"

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

enum class Route { ToolButton, MenuItem };
/// What the user does in the Customise dialog: nothing opens (Default Layout), OK, or Remove
/// the tool bar's last item and then OK.
enum class Answer { NoDialog, Ok, RemoveThenOk };

struct RebuildCase {
    const char* Name;
    Route How;
    /// The bar that holds the button, or the caption of the menu that holds the item.
    const char16_t* Holder;
    const char16_t* Action;
    Answer Dialog;
    TMainPage Page = pgTerminal;
    /// The user's layout has put the action first on that bar or menu.
    bool PutOnBar = false;
};

const RebuildCase RebuildCases[] = {
    {"CustomiseOnTheToolBarOk", Route::ToolButton, MainToolBarName, u"CustomiseAct", Answer::Ok},
    {"CustomiseOnTheToolBarChangedOk", Route::ToolButton, MainToolBarName, u"CustomiseAct", Answer::RemoveThenOk},
    {"CustomiseInTheSettingsMenuOk", Route::MenuItem, u"&Settings", u"CustomiseAct", Answer::Ok},
    {"CustomiseInTheSettingsMenuChangedOk", Route::MenuItem, u"&Settings", u"CustomiseAct", Answer::RemoveThenOk},
    {"CustomiseOnAPagesOwnBar", Route::ToolButton, BlockToolBarName, u"CustomiseAct", Answer::RemoveThenOk,
     pgBlockManager, true},
    {"DefaultLayoutInTheSettingsMenu", Route::MenuItem, u"&Settings", u"DefaultLayoutAct", Answer::NoDialog},
    {"DefaultLayoutOnTheToolBar", Route::ToolButton, MainToolBarName, u"DefaultLayoutAct", Answer::NoDialog,
     pgTerminal, true},
    {"DefaultLayoutOnAPagesOwnBar", Route::ToolButton, LineToolBarName, u"DefaultLayoutAct", Answer::NoDialog,
     pgBlockManager, true},
    {"DefaultLayoutInAMenuOfTheCodeEditor", Route::MenuItem, u"&Editor", u"DefaultLayoutAct", Answer::NoDialog,
     pgCodeEditor, true},
};

void PrintTo(const RebuildCase& c, std::ostream* os) { *os << c.Name; }

TActionBarLayout& BarOf(TActionLayout& layout, const UnicodeString& name)
{
    for (TActionBarLayout& bar : layout.Bars)
        if (bar.Name == name) return bar;
    throw std::logic_error("no such bar");
}

/// The item list of a tool bar, or of a menu of the menu bar.
std::vector<TLayoutItem>& ItemsOf(TActionLayout& layout, const UnicodeString& holder, Route how)
{
    if (how == Route::ToolButton) return BarOf(layout, holder).Items;
    for (TLayoutItem& menu : BarOf(layout, MainMenuBarName).Items)
        if (menu.Name == holder) return menu.Items;
    throw std::logic_error("no such menu");
}

QAbstractButton* ButtonCaptioned(QWidget* parent, const QString& caption)
{
    for (QAbstractButton* button : parent->findChildren<QAbstractButton*>())
        if (button->text().remove(u'&') == caption && button->isVisible()) return button;
    return nullptr;
}

class BarsOutliveTheirClicksQtTest : public QtMainWindowFixture, public ::testing::WithParamInterface<RebuildCase> {
protected:
    /// Counts the watched widgets that are destroyed while a click is being delivered.
    void Watch(QObject* widget)
    {
        watched.push_back(widget);
        QObject::connect(widget, &QObject::destroyed, [this] {
            if (inFlight) ++destroyedInFlight;
        });
    }

    /// Answers the Customise dialog with its own buttons, once its modal loop runs.
    void AnswerDialog(Answer answer)
    {
        if (answer == Answer::NoDialog) return;
        QTimer::singleShot(0, [this, answer] {
            auto* dialog = dynamic_cast<CustomizeDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (answer == Answer::RemoveThenOk) {
                QTreeWidgetItem* bar = dialog->LayoutTree()->findItems(Q(MainToolBarName), Qt::MatchExactly)[0];
                dialog->LayoutTree()->setCurrentItem(bar->child(bar->childCount() - 1));
                QTest::mouseClick(ButtonCaptioned(dialog, QStringLiteral("Remove")), Qt::LeftButton);
            }
            dialogAnswered = true;
            QTest::mouseClick(ButtonCaptioned(dialog, QStringLiteral("OK")), Qt::LeftButton);
        });
    }

    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    TQtFormFactory forms;
    std::vector<QPointer<QObject>> watched;
    bool inFlight = false;
    int destroyedInFlight = 0;
    bool dialogAnswered = false;
};

TEST_P(BarsOutliveTheirClicksQtTest, TheClickedButtonOrMenuAndItsBarLiveUntilTheClickHasReturned)
{
    const RebuildCase& c = GetParam();
    CreateForms(forms);
    TTavloTerminalForm* window = forms.MainWindow();
    TTavloTerminal& logic = window->Logic();
    window->show();
    logic.SetActivePage(c.Page);
    TActionLayout before = logic.Layout();
    if (c.PutOnBar) {
        std::vector<TLayoutItem>& items = ItemsOf(before, c.Holder, c.How);
        items.insert(items.begin(), {TLayoutItemKind::liAction, c.Action, {}});
        logic.SetLayout(before);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Wide enough for every button of the bars.
    window->resize(window->FirstSize());
    QCoreApplication::processEvents();
    QAction* qtAction = window->ActionBars().QtAction(*FindAction(logic.ActionLists(), c.Action));
    ASSERT_NE(qtAction, nullptr);

    QWidget* target = nullptr;
    QPoint at;
    if (c.How == Route::ToolButton) {
        QToolBar* bar = window->findChild<QToolBar*>(Q(c.Holder));
        ASSERT_NE(bar, nullptr);
        target = bar->widgetForAction(qtAction);
        ASSERT_TRUE(target && target->isVisible());
        at = target->rect().center();
        Watch(bar);
    } else {
        QMenuBar* menuBar = window->menuBar();
        QAction* title = nullptr;
        for (QAction* item : menuBar->actions())
            if (item->text() == Q(c.Holder)) title = item;
        ASSERT_NE(title, nullptr);
        QTest::mouseClick(menuBar, Qt::LeftButton, {}, menuBar->actionGeometry(title).center());
        target = title->menu();
        ASSERT_TRUE(target->isVisible());
        at = static_cast<QMenu*>(target)->actionGeometry(qtAction).center();
        Watch(menuBar);
    }
    Watch(target);

    TActionLayout expected = before;
    if (c.Dialog == Answer::RemoveThenOk) BarOf(expected, MainToolBarName).Items.pop_back();
    if (c.Dialog == Answer::NoDialog) expected = DesignedLayout();
    AnswerDialog(c.Dialog);
    inFlight = true;
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    inFlight = false;

    EXPECT_EQ(destroyedInFlight, 0);
    EXPECT_EQ(dialogAnswered, c.Dialog != Answer::NoDialog);
    EXPECT_EQ(logic.Layout(), expected);
    EXPECT_EQ(window->ActionBars().Layout(), expected);
    // Once the click has returned, the bars it came from go.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QPointer<QObject>& widget : watched) EXPECT_TRUE(widget.isNull());
    EXPECT_TRUE(window->close());
}

INSTANTIATE_TEST_SUITE_P(Routes, BarsOutliveTheirClicksQtTest, ::testing::ValuesIn(RebuildCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
