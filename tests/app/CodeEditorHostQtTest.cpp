#include <gtest/gtest.h>
#include <cstdlib>
#include <QApplication>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include "app/Application.h"
#include "app/ProgramForms.h"
#include "app/ProgramFormsForm.h"
#include "app/Unit1Form.h"
#include "editor/NibEdit.h"
#include "highlighter/NibHighlighterTavlo.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtColor.h"
#include "platform/qt/QtMainLoop.h"

namespace {

constexpr TColor clBlue = 0xFF0000;

// Until the main window hosts the Code Editor page's own editor, an editor with Forth source stands
// in its place here: it fills the page, paints highlighted text with its gutter and takes the focus.
TEST(CodeEditorHostQtTest, EditorWithForthSourceFillsTheCodeEditorPage)
{
    TestApplication();
    QtGraphicsFactory graphics;
    GraphicsFactory::SetCurrent(&graphics);
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QtMainLoop loop;
    MainLoop::SetCurrent(&loop);
    TApplication application;
    Application = &application;
    {
        TQtFormFactory forms;
        CreateForms(forms);
        TTavloTerminalForm* window = forms.MainWindow();
        ASSERT_NE(window, nullptr);
        QTabWidget* pages = window->PageControl1();
        QWidget* page = pages->widget(2);
        if (page->findChild<ControlHostWidget*>()) GTEST_SKIP() << "the main window hosts its own editor";

        TNibTavloHighlighter forth;
        for (const char16_t* word : {u":", u";", u"DUP", u"*"}) forth.KeyWords().Add(word);
        forth.KeyAttri()->SetForeground(clBlue);
        TNibEdit edit;
        edit.SetHighlighter(&forth);
        edit.Gutter().SetShowLineNumbers(true);
        edit.SetText(u": SQ DUP * ;\n: CUBE DUP SQ * ;");
        {
            auto* host = new ControlHostWidget(edit, page);
            auto* layout = new QVBoxLayout(page);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->addWidget(host);
            window->resize(640, 400);
            window->show();
            pages->setCurrentIndex(2);
            host->setFocus();
            for (int i = 0; i < 5; ++i) QApplication::processEvents();

            EXPECT_EQ(edit.ClientWidth(), host->Surface()->width());
            EXPECT_GT(edit.LinesInWindow(), 2);
            const QImage shown = host->Surface()->grab().toImage();
            const QColor keyword = ToQColor(clBlue);
            int blue = 0;
            for (int y = 0; y < edit.LineHeight(); ++y)
                for (int x = edit.GutterWidth(); x < shown.width(); ++x) blue += shown.pixelColor(x, y) == keyword;
            EXPECT_GT(blue, 0) << "the keywords of the first line";
            EXPECT_EQ(shown.pixelColor(2, shown.height() - 2), ToQColor(ColorToRGB(edit.Gutter().Color())));
            delete host;
        }
        edit.SetHighlighter(nullptr);
        EXPECT_TRUE(window->close());
    }
    Application = nullptr;
    MainLoop::SetCurrent(nullptr);
    GraphicsFactory::SetCurrent(nullptr);
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
