#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include "app/frmTextViewerForm.h"
#include "platform/QtTestApplication.h"
#include "support/ScriptedDialogs.h"

namespace {

TEST(TextViewerFormQtTest, EnterInTheFindEditSelectsTheMatchInTheTextAndTheCaretPanelsFollow)
{
    TestApplication();
    ScriptedDialogs dialogs;
    TTextViewerForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Screen Snapshot"));
    TStringList lines;
    lines.Add(u"print in");
    lines.Add(u"Print IN");
    form.Logic().SetLines(lines);
    EXPECT_EQ(form.TextViewer()->toPlainText(), QStringLiteral("print in\nPrint IN"));
    EXPECT_EQ(form.StatusPanelLabel(1)->text(), QStringLiteral("1"));

    form.FindTextEdit()->setText(QStringLiteral("in"));
    form.WholeWordBtn()->setChecked(true);
    form.MatchCaseBtn()->setChecked(true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(form.FindTextEdit(), &enter);
    QTextCursor cursor = form.TextViewer()->textCursor();
    EXPECT_EQ(cursor.selectionStart(), 6);
    EXPECT_EQ(cursor.selectionEnd(), 8);
    // Match case: "IN" on the second line is not "in".
    QApplication::sendEvent(form.FindTextEdit(), &enter);
    EXPECT_EQ(dialogs.Questions.size(), 1u);

    // A caret put by the user moves the panels.
    cursor.setPosition(11);
    form.TextViewer()->setTextCursor(cursor);
    EXPECT_EQ(form.Logic().SelStart(), 11);
    EXPECT_EQ(form.StatusPanelLabel(1)->text(), QStringLiteral("2"));
    EXPECT_EQ(form.StatusPanelLabel(3)->text(), QStringLiteral("3"));
    EXPECT_FALSE(form.ActionOf(form.Logic().CopyToClipboardAct)->isEnabled());
    form.ActionOf(form.Logic().SelectAllAct)->trigger();
    EXPECT_EQ(form.TextViewer()->textCursor().selectedText().size(), 17);
    EXPECT_TRUE(form.ActionOf(form.Logic().CopyToClipboardAct)->isEnabled());
}

}  // namespace
