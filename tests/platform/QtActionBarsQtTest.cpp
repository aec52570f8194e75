#include "platform/qt/QtActionBars.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include "platform/QtTestApplication.h"
#include "platform/qt/CustomizeDialog.h"
#include "platform/qt/QtIcons.h"

namespace {

using K = TLayoutItemKind;

/// Two lists of actions that count their runs; the page lists share a shortcut.
class ActionBarsTest : public ::testing::Test {
protected:
    ActionBarsTest()
    {
        for (const char16_t* name : {u"ConnectAct", u"CloseAct", u"OptionsAct"})
            Add(terminal, name, u"");
        Add(blocks, u"BlockCopyAct", u"Ctrl+C");
        Add(code, u"CodeCopyAct", u"Ctrl+C");
    }

    void Add(TActionList& list, const char16_t* name, const char16_t* shortCut)
    {
        TAction action;
        action.Name = name;
        action.Category = list.Name();
        action.Caption = UnicodeString(u"Caption of ") + name;
        action.Hint = UnicodeString(u"Hint of ") + name;
        action.ShortCut = shortCut;
        action.OnExecute = [this, n = UnicodeString(name)](TObject*) { runs.push_back(n); };
        action.OnUpdate = [this](TObject* sender) {
            auto* a = static_cast<TAction*>(sender);
            a->Enabled = a->Name != disabled;
        };
        list.Add(std::move(action));
    }

    static TActionLayout Sample()
    {
        TActionLayout layout;
        layout.Bars.push_back({u"Main Menu",
                               {{K::liSubMenu,
                                 u"&Link",
                                 {{K::liAction, u"ConnectAct", {}},
                                  {K::liSeparator, u"", {}},
                                  {K::liSubMenu, u"More", {{K::liAction, u"CloseAct", {}}}}}},
                                {K::liAction, u"OptionsAct", {}}}});
        layout.Bars.push_back({u"Tools",
                               {{K::liAction, u"ConnectAct", {}},
                                {K::liSeparator, u"", {}},
                                {K::liSubMenu, u"Copy", {{K::liAction, u"BlockCopyAct", {}}}}}});
        layout.Bars.push_back({u"Empty", {}});
        return layout;
    }

    QApplication& app = TestApplication();
    TActionList terminal{u"Terminal"}, blocks{u"BLockUpload"}, code{u"CodeEditor"};
    std::vector<UnicodeString> runs;
    UnicodeString disabled;
    QMainWindow window;
};

TEST_F(ActionBarsTest, BarsBuiltFromALayoutReadBackAsTheSameLayout)
{
    QtActionBars bars(window, {&terminal, &blocks, &code}, u"Main Menu");
    bars.Show(Sample());
    EXPECT_EQ(bars.Layout(), Sample());
    ASSERT_EQ(bars.ToolBars().size(), 2u);
    EXPECT_EQ(bars.ToolBars()[0]->windowTitle(), QStringLiteral("Tools"));

    QList<QAction*> top = window.menuBar()->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->text(), QStringLiteral("&Link"));
    EXPECT_EQ(top[1]->text(), QStringLiteral("Caption of OptionsAct"));
    EXPECT_EQ(top[1]->toolTip(), QStringLiteral("Hint of OptionsAct"));

    // Showing another layout replaces the bars.
    TActionLayout other;
    other.Bars.push_back({u"Tools", {{K::liAction, u"CloseAct", {}}}});
    bars.Show(other);
    EXPECT_EQ(bars.Layout(), other);
    // The old bars go once the running event (here: none) has returned.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.findChildren<QToolBar*>().size(), 1);
    EXPECT_FALSE(window.menuBar()->isVisibleTo(&window));
}

TEST_F(ActionBarsTest, AHostedBarStandsUprightInItsSlotAndReadsBackInLayoutOrder)
{
    QWidget slot;
    new QVBoxLayout(&slot);
    QtActionBars bars(window, {&terminal, &blocks, &code}, u"Main Menu");
    bars.HostBar(u"Tools", &slot);
    bars.Show(Sample());
    EXPECT_EQ(bars.Layout(), Sample());
    ASSERT_EQ(bars.ToolBars().size(), 2u);
    QToolBar* hosted = bars.ToolBars()[0];
    EXPECT_EQ(hosted->parentWidget(), &slot);
    EXPECT_EQ(hosted->orientation(), Qt::Vertical);
    EXPECT_EQ(slot.layout()->indexOf(hosted), 0);
    EXPECT_EQ(bars.ToolBars()[1]->parentWidget(), &window);

    // Another layout replaces the hosted bar too; a bar of another name stays with the window.
    TActionLayout other;
    other.Bars.push_back({u"Other", {{K::liAction, u"CloseAct", {}}}});
    bars.Show(other);
    EXPECT_EQ(slot.layout()->count(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(slot.findChildren<QToolBar*>().size(), 0);
    EXPECT_EQ(bars.ToolBars()[0]->parentWidget(), &window);
}

TEST_F(ActionBarsTest, MenuItemsAndToolButtonsRunTheirActionWhileItIsEnabled)
{
    QtActionBars bars(window, {&terminal, &blocks, &code}, u"Main Menu");
    bars.Show(Sample());
    QMenu* link = QMenu::menuInAction(window.menuBar()->actions()[0]);
    ASSERT_NE(link, nullptr);
    link->actions()[0]->trigger();
    bars.ToolBars()[0]->actions()[0]->trigger();
    EXPECT_EQ(runs, (std::vector<UnicodeString>{u"ConnectAct", u"ConnectAct"}));

    disabled = u"ConnectAct";
    bars.UpdateActions();
    EXPECT_FALSE(link->actions()[0]->isEnabled());
    EXPECT_TRUE(window.menuBar()->actions()[1]->isEnabled());
}

TEST_F(ActionBarsTest, PageShortcutsLiveOnlyInTheirPage)
{
    QWidget pages;
    auto* blockPage = new QWidget(&pages);
    auto* codePage = new QWidget(&pages);
    QtActionBars bars(window, {&terminal, &blocks, &code}, u"Main Menu");
    bars.ScopeToPage(blocks, blockPage);
    bars.ScopeToPage(code, codePage);

    for (auto [action, page] :
         {std::pair{blocks.Find(u"BlockCopyAct"), blockPage}, std::pair{code.Find(u"CodeCopyAct"), codePage}}) {
        QAction* qtAction = bars.QtAction(*action);
        ASSERT_NE(qtAction, nullptr);
        EXPECT_EQ(qtAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
        EXPECT_EQ(qtAction->shortcutContext(), Qt::WidgetWithChildrenShortcut);
        EXPECT_TRUE(page->actions().contains(qtAction));
        EXPECT_FALSE(window.actions().contains(qtAction));
    }
    // The window's own actions answer their shortcuts anywhere in the window.
    QAction* connect = bars.QtAction(*terminal.Find(u"ConnectAct"));
    EXPECT_EQ(connect->shortcutContext(), Qt::WindowShortcut);
    EXPECT_TRUE(window.actions().contains(connect));
}

/// The picture an icon draws at a size, to tell icons apart.
QImage Picture(const QIcon& icon) { return icon.pixmap(24, 24).toImage(); }

TEST_F(ActionBarsTest, ToolButtonsShowTheImageAboveTheCaptionAndFollowAChangedImage)
{
    TActionList captions{u"Captions"};
    for (const char16_t* caption : {u"Close", u"Open File", u"Abort Paste", u"Transform To Block Editor"}) {
        TAction action;
        action.Name = caption;
        action.Caption = caption;
        action.ImageName = u"document-open";
        captions.Add(std::move(action));
    }
    terminal.Find(u"ConnectAct")->ImageName = u"document-open";
    QtActionBars bars(window, {&terminal, &captions}, u"Main Menu");
    bars.Show({{{u"Tools", {{K::liAction, u"ConnectAct", {}}, {K::liAction, u"CloseAct", {}}}}}});
    ASSERT_EQ(bars.ToolBars().size(), 1u);
    EXPECT_EQ(bars.ToolBars()[0]->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

    // Two lines keep a bar of many actions narrow; menus show the caption as it is.
    const std::pair<const char16_t*, const char*> texts[] = {
        {u"Close", "Close"},
        {u"Open File", "Open\nFile"},
        {u"Abort Paste", "Abort\nPaste"},
        {u"Transform To Block Editor", "Transform To\nBlock Editor"},
    };
    for (const auto& [caption, iconText] : texts) {
        QAction* action = bars.QtAction(*captions.Find(caption));
        EXPECT_EQ(action->iconText(), QString::fromUtf8(iconText));
        EXPECT_EQ(action->text(), QString::fromStdU16String(caption));
    }

    QAction* connect = bars.QtAction(*terminal.Find(u"ConnectAct"));
    EXPECT_EQ(Picture(connect->icon()), Picture(ActionIcon(u"document-open")));
    EXPECT_TRUE(bars.QtAction(*terminal.Find(u"CloseAct"))->icon().isNull());
    terminal.Find(u"ConnectAct")->ImageName = u"document-save";
    bars.UpdateActions();
    EXPECT_EQ(Picture(connect->icon()), Picture(ActionIcon(u"document-save")));
    EXPECT_NE(Picture(ActionIcon(u"document-save")), Picture(ActionIcon(u"document-open")));
}

TEST_F(ActionBarsTest, TheCustomiseDialogAddsRemovesAndMovesItems)
{
    terminal.Find(u"CloseAct")->ImageName = u"network-disconnect";
    terminal.Find(u"ConnectAct")->ImageName = u"network-connect";
    CustomizeDialog dialog({&terminal, &blocks, &code}, Sample());
    EXPECT_EQ(dialog.Layout(), Sample());
    QTreeWidget* tree = dialog.LayoutTree();
    QTreeWidgetItem* menuBar = tree->topLevelItem(0);
    QTreeWidgetItem* tools = tree->topLevelItem(1);
    QTreeWidgetItem* empty = tree->topLevelItem(2);

    // "Caption of CloseAct" under the "Terminal" category.
    QTreeWidgetItem* closeAct =
        dialog.ActionTree()->findItems(QStringLiteral("Caption of CloseAct"), Qt::MatchRecursive)[0];
    // The actions show their images, as the bars do.
    EXPECT_FALSE(closeAct->icon(0).isNull());
    EXPECT_FALSE(tools->child(0)->icon(0).isNull());
    dialog.ActionTree()->setCurrentItem(closeAct);
    tree->setCurrentItem(empty);
    dialog.AddSelectedAction();
    dialog.AddSeparator();
    tree->setCurrentItem(tools->child(0));
    dialog.AddSelectedAction();
    tree->setCurrentItem(menuBar->child(1));
    dialog.MoveSelected(-1);
    dialog.MoveSelected(-1);
    tree->setCurrentItem(tools->child(2));
    dialog.RemoveSelected();
    tree->setCurrentItem(tools);
    dialog.RemoveSelected();
    // Tools holds CloseAct now: a second one is refused.
    dialog.AddSelectedAction();
    EXPECT_EQ(menuBar->child(1)->text(0), QStringLiteral("Link"));

    TActionLayout expected = Sample();
    std::swap(expected.Bars[0].Items[0], expected.Bars[0].Items[1]);
    expected.Bars[1].Items = {{K::liAction, u"ConnectAct", {}},
                              {K::liAction, u"CloseAct", {}},
                              {K::liSubMenu, u"Copy", {{K::liAction, u"BlockCopyAct", {}}}}};
    expected.Bars[2].Items = {{K::liAction, u"CloseAct", {}}, {K::liSeparator, u"", {}}};
    EXPECT_EQ(dialog.Layout(), expected);
}

} // namespace
