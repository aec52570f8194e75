#include <gtest/gtest.h>
#include <QAction>
#include <QIcon>
#include <QToolBar>
#include "QtMainWindowFixture.h"
#include "app/ProgramForms.h"
#include "app/ProgramFormsForm.h"
#include "app/Unit1Form.h"
#include "platform/qt/QtActionBars.h"
#include "platform/qt/QtIcons.h"
#include "platform/qt/QtWindowPlacement.h"
#include "support/MemoryClipboard.h"
#include "support/ScriptedDialogs.h"

namespace {

/// No icon theme while it lives, as on a fresh machine: only the style's standard icons are there.
class NoIconTheme {
public:
    NoIconTheme()
    {
        QIcon::setThemeSearchPaths({});
        QIcon::setFallbackSearchPaths({});
        QIcon::setThemeName(QStringLiteral("tavlo-no-such-theme"));
    }
    ~NoIconTheme()
    {
        QIcon::setThemeSearchPaths(fSearchPaths);
        QIcon::setFallbackSearchPaths(fFallbackPaths);
        QIcon::setThemeName(fName);
    }

private:
    QString fName = QIcon::themeName();
    QStringList fSearchPaths = QIcon::themeSearchPaths();
    QStringList fFallbackPaths = QIcon::fallbackSearchPaths();
};

/// The actions on the bar, separators left out.
QList<QAction*> ActionsOn(const QToolBar* bar)
{
    QList<QAction*> actions;
    for (QAction* action : bar->actions())
        if (!action->isSeparator()) actions.push_back(action);
    return actions;
}

/// How many actions of the bar have a visible button: the others wait behind its extension button.
int ShownOn(const QToolBar* bar)
{
    int shown = 0;
    for (QAction* action : ActionsOn(bar))
        if (QWidget* button = bar->widgetForAction(action); button && button->isVisible()) ++shown;
    return shown;
}

class MainWindowBarsQtTest : public QtMainWindowFixture {
protected:
    /// Shows a page and lets its bars lay themselves out.
    void ShowPage(TMainPage page)
    {
        window->Logic().SetActivePage(page);
        QCoreApplication::processEvents();
    }

    NoIconTheme noTheme;
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    TQtFormFactory forms;
    TTavloTerminalForm* window = nullptr;
};

TEST_F(MainWindowBarsQtTest, EveryActionHasAnImageAndEveryToolButtonShowsOneAtTheBarsSize)
{
    CreateForms(forms);
    window = forms.MainWindow();
    window->show();
    for (TActionList* list : window->Logic().ActionLists())
        for (const auto& action : list->Actions()) {
            EXPECT_FALSE(action->ImageName.empty()) << ToUtf8(action->Name);
            EXPECT_FALSE(ActionIcon(action->ImageName).isNull()) << ToUtf8(action->Name);
        }
    int buttons = 0;
    for (const QToolBar* bar : window->ActionBars().ToolBars()) {
        EXPECT_EQ(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        for (const QAction* action : ActionsOn(bar)) {
            ++buttons;
            // One image size across a bar, also where the style draws an image only small.
            const QSize drawn = action->icon().actualSize(bar->iconSize());
            EXPECT_EQ(std::max(drawn.width(), drawn.height()), bar->iconSize().width())
                << action->objectName().toStdString();
        }
    }
    EXPECT_EQ(buttons, 29);
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindowBarsQtTest, TheFirstSizeShowsEveryActionOfEachPagesBarsAndANarrowerWindowFoldsThem)
{
    CreateForms(forms);
    window = forms.MainWindow();
    window->show();
    const QRect area = WorkAreaOf(window);
    EXPECT_LE(window->width(), area.width());
    EXPECT_LE(window->height(), area.height());

    // The test screen is smaller than a desktop's: the first size as a larger screen gives it.
    window->resize(window->FirstSize());
    const QToolBar* toolBar = window->ActionBars().ToolBars()[0];
    for (TMainPage page : {pgTerminal, pgBlockManager, pgCodeEditor}) {
        ShowPage(page);
        int bars = 0;
        for (const QToolBar* bar : window->ActionBars().ToolBars()) {
            if (!bar->isVisible()) continue;
            ++bars;
            EXPECT_EQ(ShownOn(bar), ActionsOn(bar).size()) << bar->objectName().toStdString() << " on page " << page;
        }
        EXPECT_EQ(bars, page == pgBlockManager ? 3 : 1);
    }

    // Narrower and lower than every bar: the window takes the size, the bars fold.
    window->resize(420, 420);
    ShowPage(pgBlockManager);
    EXPECT_EQ(window->size(), QSize(420, 420));
    EXPECT_LT(ShownOn(toolBar), ActionsOn(toolBar).size());
    EXPECT_LT(ShownOn(window->ActionBars().ToolBars()[1]), ActionsOn(window->ActionBars().ToolBars()[1]).size());
    EXPECT_TRUE(window->close());
}

} // namespace
