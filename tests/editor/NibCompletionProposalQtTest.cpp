#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include "editor/NibCompletionProposalForm.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtCanvas.h"

namespace {

class CompletionProposalQt : public ::testing::Test {
protected:
    CompletionProposalQt()
    {
        edit.SetFont(InTestFace(edit.Font()));
        proposal.SetFont(InTestFace(proposal.Form().ItemFont()));
        proposal.SetOptions(scoCaseSensitive | scoLimitToMatchedText | scoUseInsertList | scoUsePrettyText |
                            scoEndCharCompletion | scoCompleteWithTab | scoCompleteWithEnter);
        proposal.SetEndOfTokenChr(u" ");
        for (const char16_t* word : {u"DROP", u"DUP", u"DUMP", u"SWAP"})
            proposal.AddItem(UnicodeString(u"\\style{+B}") + word + u"\\style{-B} stack", word);
        proposal.SetEditor(&edit);
        editorWindow.setGeometry(200, 150, 400, 300);
        editorWindow.show();
        QCoreApplication::processEvents();
    }

    QtTestGraphics graphics;
    TNibEdit edit;
    ControlHostWidget editorWindow{edit};
    TNibCompletionProposal proposal;
    TNibCompletionProposalForm form{proposal, &editorWindow};
};

}  // namespace

TEST_F(CompletionProposalQt, OpensOnTheScreenBelowTheCaretAndAcceptsByKey)
{
    edit.Lines().Add(u"1 DU");
    edit.SetCaretXY({5, 1});
    proposal.ActivateCompletion();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form.Window().isVisible());
    const TPoint caret = edit.RowColumnToPixels(edit.DisplayXY());
    const QPoint expected = editorWindow.Surface()->mapToGlobal(QPoint(caret.X, caret.Y + edit.LineHeight()));
    EXPECT_EQ(form.Window().geometry().topLeft(), expected);
    EXPECT_EQ(proposal.CurrentString(), u"DU");

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(form.Window().Host()->Surface(), &enter);
    EXPECT_FALSE(form.Window().isVisible());
    EXPECT_EQ(edit.Lines()[0], u"1 DUP");
}

namespace {

void Key(QWidget* receiver, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(receiver, &release);
}

}  // namespace

TEST_F(CompletionProposalQt, TheListTakesTheKeysTypedInTheEditorWithoutTakingTheActivation)
{
    editorWindow.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_EQ(QGuiApplication::focusWindow(), editorWindow.windowHandle());
    QWidget* typedIn = editorWindow.Surface();
    edit.Lines().Add(u"1 D");
    edit.SetCaretXY({4, 1});
    proposal.ActivateCompletion();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form.Window().isVisible());
    EXPECT_EQ(QGuiApplication::focusWindow(), editorWindow.windowHandle());

    // Each key as the user types it in the editor's window: the list moves, filters and accepts.
    Key(typedIn, Qt::Key_Down);
    EXPECT_EQ(proposal.Form().Position(), 1);
    Key(typedIn, Qt::Key_Up);
    EXPECT_EQ(proposal.Form().Position(), 0);
    Key(typedIn, Qt::Key_U, QStringLiteral("U"));
    EXPECT_EQ(proposal.CurrentString(), u"DU");
    EXPECT_EQ(proposal.Form().AssignedCount(), 2);
    Key(typedIn, Qt::Key_Down);
    Key(typedIn, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_FALSE(form.Window().isVisible());
    EXPECT_EQ(edit.Lines()[0], u"1 DUMP");

    // Escape closes the list and leaves the text as typed; the next key is the editor's again.
    edit.SetText(u"1 S");
    edit.SetCaretXY({4, 1});
    proposal.ActivateCompletion();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form.Window().isVisible());
    Key(typedIn, Qt::Key_Escape, QStringLiteral("\x1B"));
    EXPECT_FALSE(form.Window().isVisible());
    Key(typedIn, Qt::Key_X, QStringLiteral("x"));
    EXPECT_EQ(edit.Lines()[0], u"1 Sx");
}

TEST_F(CompletionProposalQt, AClickOutsideTheListClosesItAndStillArrives)
{
    edit.Lines().Add(u"DU 1 2 3");
    edit.SetCaretXY({3, 1});
    proposal.ActivateCompletion();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form.Window().isVisible());

    const TPoint at = edit.RowColumnToPixels({7, 1});
    const QPoint pos(at.X + 1, at.Y + 1);
    QMouseEvent press(QEvent::MouseButtonPress, pos, editorWindow.Surface()->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editorWindow.Surface(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, editorWindow.Surface()->mapToGlobal(pos), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editorWindow.Surface(), &release);
    EXPECT_FALSE(form.Window().isVisible());
    EXPECT_EQ(edit.CaretX(), 7);
    EXPECT_EQ(edit.Lines()[0], u"DU 1 2 3");
}
