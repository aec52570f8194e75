#include <gtest/gtest.h>
#include <cstdlib>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include "app/Application.h"
#include "app/ProgramForms.h"
#include "app/ProgramFormsForm.h"
#include "app/Unit1Form.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtMainLoop.h"

namespace {

TEST(MainWindowQtTest, OpensWithTheDesignedCaptionOnTheTerminalPageAndCloses)
{
    TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QtMainLoop loop;
    MainLoop::SetCurrent(&loop);
    QtGraphicsFactory graphics;
    GraphicsFactory::SetCurrent(&graphics);
    TApplication application;
    Application = &application;
    {
        TQtFormFactory forms;
        CreateForms(forms);
        TTavloTerminalForm* window = forms.MainWindow();
        ASSERT_NE(window, nullptr);
        window->show();

        EXPECT_EQ(window->windowTitle(), QStringLiteral("Tavlo Terminal Ver 2.3"));
        QTabWidget* pages = window->PageControl1();
        EXPECT_EQ(pages->currentIndex(), 0);
        EXPECT_EQ(pages->tabText(0), QStringLiteral("Terminal"));
        EXPECT_EQ(pages->tabText(1), QStringLiteral("Block Manager"));
        EXPECT_EQ(pages->tabText(2), QStringLiteral("Code Editor"));
        EXPECT_NE(MapTermKeys, nullptr);
        EXPECT_NE(TextViewer, nullptr);

        pages->setCurrentIndex(2);
        EXPECT_EQ(window->Logic().ActivePage(), pgCodeEditor);
        window->Logic().SetCaption(u"Tavlo Terminal Ver 2.3 [COM4]");
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Tavlo Terminal Ver 2.3 [COM4]"));
        EXPECT_TRUE(window->close());
    }
    EXPECT_EQ(TavloTerminal, nullptr);
    Application = nullptr;
    MainLoop::SetCurrent(nullptr);
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
