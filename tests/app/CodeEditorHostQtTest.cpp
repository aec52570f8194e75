#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTabWidget>
#include "QtMainWindowFixture.h"
#include "app/ProgramForms.h"
#include "app/ProgramFormsForm.h"
#include "app/Unit1Form.h"
#include "codeeditor/CompletionWords.h"
#include "editor/NibCompletionPopupForm.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtColor.h"

namespace {

constexpr TColor clBlue = 0xFF0000;

void Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QApplication::processEvents();
}

// The page's own editor fills the Code Editor page, paints highlighted Forth with its gutter, and
// its completion list opens in a window of the main window at the caret.
class CodeEditorHostQtTest : public QtMainWindowFixture {};

TEST_F(CodeEditorHostQtTest, TheCodeEditorPageShowsItsEditorAndCompletesAtTheCaret)
{
    {
        TQtFormFactory forms;
        CreateForms(forms);
        TTavloTerminalForm* window = forms.MainWindow();
        ASSERT_NE(window, nullptr);
        TCodeEditorPage& page = window->Logic().CodeEditorPage;
        TNibEdit& edit = page.ScriptEdit;
        TNibCompletionProposal& completion = page.NibCompletionProposal1;
        completion.ClearList();
        for (const char16_t* word : {u":", u";", u"DROP", u"DUP", u"*"})
            completion.AddItem(CompletionItemText(word, u"( -- )"), word);
        window->Logic().Options->EditorBaseWordColor = clBlue;
        page.ApplyEditorHighlightOptions();
        edit.SetFont(InTestFace(edit.Font()));
        edit.Gutter().SetFont(InTestFace(edit.Gutter().Font()));
        completion.SetFont(InTestFace(completion.Form().ItemFont()));
        edit.SetText(u": SQ DUP * ;\n: CUBE DUP SQ * ;\nDR");

        window->resize(640, 400);
        window->show();
        window->Logic().SetActivePage(pgCodeEditor);
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        QWidget* codePage = window->PageControl1()->widget(2);
        // The hosts are no Qt meta-objects: find them by their C++ type.
        ControlHostWidget* host = nullptr;
        for (QWidget* child : codePage->findChildren<QWidget*>())
            if (auto* found = dynamic_cast<ControlHostWidget*>(child)) host = found;
        ASSERT_NE(host, nullptr);
        EXPECT_EQ(edit.ClientWidth(), host->Surface()->width());
        EXPECT_GT(edit.LinesInWindow(), 2);
        const QImage shown = host->Surface()->grab().toImage();
        const QColor keyword = ToQColor(clBlue);
        int blue = 0;
        for (int y = 0; y < edit.LineHeight(); ++y)
            for (int x = edit.GutterWidth(); x < shown.width(); ++x) blue += shown.pixelColor(x, y) == keyword;
        EXPECT_GT(blue, 0) << "the keywords of the first line";
        EXPECT_EQ(shown.pixelColor(2, shown.height() - 2), ToQColor(ColorToRGB(edit.Gutter().Color())));

        TNibCompletionPopupForm* popup = nullptr;
        for (QWidget* child : window->findChildren<QWidget*>())
            if (auto* form = dynamic_cast<TNibCompletionPopupForm*>(child)) popup = form;
        ASSERT_NE(popup, nullptr) << "the completion list's window belongs to the main window";
        edit.SetCaretXY({3, 3});
        EXPECT_FALSE(popup->isVisible()) << "the list shows only when it is opened";
        Press(host->Surface(), Qt::Key_Space, Qt::ControlModifier, QStringLiteral(" "));
        ASSERT_TRUE(popup->isVisible());
        const TPoint caret = edit.RowColumnToPixels(edit.DisplayXY());
        EXPECT_EQ(popup->geometry().topLeft(),
                  host->Surface()->mapToGlobal(QPoint(caret.X, caret.Y + edit.LineHeight())));
        EXPECT_EQ(completion.Form().AssignedCount(), 1);

        Press(popup->Host()->Surface(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        EXPECT_FALSE(popup->isVisible());
        EXPECT_EQ(edit.Lines()[2], u"DROP");
        edit.SetModified(false);
        EXPECT_TRUE(window->close());
    }
}

}  // namespace
