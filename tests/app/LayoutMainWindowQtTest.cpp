#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include "app/Application.h"
#include "app/MainLayout.h"
#include "app/ProgramForms.h"
#include "app/ProgramFormsForm.h"
#include "app/SettingsFile.h"
#include "app/Unit1Form.h"
#include "platform/Folders.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/QtActionBars.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtMainLoop.h"
#include "support/MemoryClipboard.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace {

/// The item of a menu of the menu bar, by captions.
QAction* MenuItem(QMenuBar* bar, const QString& menu, const QString& item)
{
    for (QAction* top : bar->actions())
        if (QMenu* m = QMenu::menuInAction(top); m && m->title() == menu)
            for (QAction* a : m->actions())
                if (a->text() == item) return a;
    return nullptr;
}

TEST(LayoutMainWindowQtTest, TheWindowShowsItsLayoutAndItsMenuItemsRunTheActions)
{
    TestApplication();
    TempFolder appData;
    AppDataAt at(appData.Path());
    QtMainLoop loop;
    MainLoop::SetCurrent(&loop);
    QtGraphicsFactory graphics;
    GraphicsFactory::SetCurrent(&graphics);
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    TApplication application;
    Application = &application;
    {
        TQtFormFactory forms;
        CreateForms(forms);
        TTavloTerminalForm* window = forms.MainWindow();
        window->show();
        EXPECT_EQ(window->ActionBars().Layout(), DesignedLayout());
        // The window's tool bar shows on every page, the Block Manager's two bars only on theirs.
        const std::vector<QToolBar*>& bars = window->ActionBars().ToolBars();
        ASSERT_EQ(bars.size(), 3u);
        EXPECT_EQ(bars[0]->parentWidget(), window);
        window->Logic().SetActivePage(pgTerminal);
        EXPECT_TRUE(bars[0]->isVisible());
        EXPECT_FALSE(bars[1]->isVisible());
        EXPECT_FALSE(bars[2]->isVisible());
        window->Logic().SetActivePage(pgBlockManager);
        EXPECT_TRUE(bars[0]->isVisible());
        EXPECT_TRUE(bars[1]->isVisible());
        EXPECT_TRUE(bars[2]->isVisible());
        EXPECT_EQ(bars[1]->orientation(), Qt::Vertical);

        QAction* defaultLayout =
            MenuItem(window->menuBar(), QStringLiteral("&Settings"), QStringLiteral("Default Layout"));
        ASSERT_NE(defaultLayout, nullptr);
        EXPECT_EQ(defaultLayout->toolTip(), QStringLiteral("Restore menus and tool bars to default state"));
        ASSERT_TRUE(DeleteFile(DefaultLayoutFileName()));
        defaultLayout->trigger();
        ASSERT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(dialogs.Questions[0].Text, u"Unable to load default layout!");

        // A layout from elsewhere (the customise dialog, a file) reaches the bars.
        TActionLayout custom;
        custom.Bars.push_back({MainToolBarName, {{TLayoutItemKind::liAction, u"TermMapKeysAct", {}}}});
        window->Logic().SetLayout(custom);
        EXPECT_EQ(window->ActionBars().Layout(), custom);
        EXPECT_TRUE(window->close());
    }
    EXPECT_EQ(appData.Read("Brennix/Config/Brennix.layout"),
              LayoutToText(TActionLayout{{{MainToolBarName, {{TLayoutItemKind::liAction, u"TermMapKeysAct", {}}}}}}));
    Application = nullptr;
    MainLoop::SetCurrent(nullptr);
}

} // namespace
