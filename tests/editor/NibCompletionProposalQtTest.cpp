#include <gtest/gtest.h>

#include <QKeyEvent>
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
