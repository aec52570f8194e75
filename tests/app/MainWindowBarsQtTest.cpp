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

class MainWindowBarsQtTest : public QtMainWindowFixture {
protected:
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

} // namespace
