#include "codeeditor/CodeEditorFixture.h"
#include "codeeditor/CompletionWords.h"
#include "support/HighlighterNotices.h"

namespace {

using CodeEditorWords = CodeEditorTest;

TEST_F(CodeEditorWords, LocalWordsAreRescannedOnce1700MsAfterTheLastEdit)
{
    // Five seconds of typing, an edit every 100 ms.
    int n = 0;
    for (; n < 50; ++n) {
        Type(u": W" + IntToStr(n) + u" ;");
        loop.AdvanceMs(100);
        ASSERT_EQ(page.Highlighter()->LocalWords().Count(), 0) << "rescanned while typing, at " << n;
    }
    loop.AdvanceMs(1700 - 100 - 1);
    EXPECT_EQ(page.Highlighter()->LocalWords().Count(), 0);
    loop.AdvanceMs(1);
    ASSERT_EQ(page.Highlighter()->LocalWords().Count(), 1);
    EXPECT_TRUE(page.Highlighter()->IsLocalword(u"W49"));
    EXPECT_FALSE(page.CodeHighliteTimer.Enabled());
}

TEST_F(CodeEditorWords, TheRescanAfterAnEditKeepsTheSelection)
{
    Type(u": SQ DUP * ;\r\nSQ");
    page.ScriptEdit.SelectAll();
    loop.AdvanceMs(1700);
    ASSERT_TRUE(page.Highlighter()->IsLocalword(u"SQ"));
    EXPECT_EQ(page.ScriptEdit.SelText(), u": SQ DUP * ;\r\nSQ");
}

TEST_F(CodeEditorWords, LocalWordsSeeTheConvertersWordsNotComments)
{
    Type(u"\\ : LINE-COMMENT\r\n( : COMMENT ) : SQ DUP * ;\r\n: CUBE DUP SQ * ;");
    page.UpdateLocalWordsAct->Execute();
    const TStringList& words = page.Highlighter()->LocalWords();
    ASSERT_EQ(words.Count(), 2) << ToUtf8(words.Text());
    EXPECT_TRUE(page.Highlighter()->IsLocalword(u"SQ"));
    EXPECT_TRUE(page.Highlighter()->IsLocalword(u"CUBE"));
}

TEST_F(CodeEditorWords, ARescanThatFindsTheSameNamesLeavesTheEditorAlone)
{
    TNibTavloHighlighter& h = *page.Highlighter();
    THighlighterNotices notices(h);
    auto rescan = [&](const UnicodeString& text) {
        Type(text);
        page.UpdateLocalWordsAct->Execute();
        return notices.Count();
    };
    EXPECT_EQ(rescan(u": SQ DUP * ;\r\n: CUBE DUP SQ * ;"), 1);
    EXPECT_EQ(rescan(u": SQ DUP * ;\r\n1 2 +\r\n: CUBE DUP SQ * ;"), 1);
    // The same names in another order, one of them twice.
    EXPECT_EQ(rescan(u": CUBE DUP SQ * ; : SQ DUP * ; : SQ ;"), 1);
    EXPECT_EQ(rescan(u": SQ DUP * ;"), 2);
    EXPECT_FALSE(h.IsLocalword(u"CUBE"));
    // A new document starts without names, and finds them again.
    dialogs.Answers = {TModalResult::mrNo};
    page.EditorNewAct->Execute();
    EXPECT_EQ(h.LocalWords().Count(), 0);
    EXPECT_EQ(notices.Count(), 3) << "the names go with a notice";
    EXPECT_EQ(rescan(u": SQ DUP * ;"), 4);
    EXPECT_TRUE(h.IsLocalword(u"SQ"));
}

TEST_F(CodeEditorWords, WithoutAWordFileThereAreNoCompletionsAndNoKeywords)
{
    page.NibCompletionProposal1.AddItem(u"stale", u"STALE");
    options.EditorBaseWordColor = 0x123456;
    page.LoadCompletionWords();
    EXPECT_EQ(page.NibCompletionProposal1.InsertList().Count(), 0);
    EXPECT_EQ(page.NibCompletionProposal1.ItemList().Count(), 0);
    EXPECT_EQ(page.Highlighter()->KeyWords().Count(), 0);
    EXPECT_EQ(page.Highlighter()->KeyAttri()->Foreground(), 0x123456);
}

TEST_F(CodeEditorWords, CtrlSpaceCompletesTheWordFromTheWordListAndDropsTheBlank)
{
    TNibCompletionProposal& completion = page.NibCompletionProposal1;
    completion.AddItem(CompletionItemText(u"DROP", u"( n -- )"), u"DROP");
    completion.AddItem(CompletionItemText(u"DUP", u"( n -- n n )"), u"DUP");
    Type(u"1 DU");
    page.ScriptEdit.SetCaretXY({5, 1});
    std::uint16_t space = VK::SPACE;
    page.ScriptEdit.KeyDown(space, ssCtrl);
    char16_t blank = u' ';
    page.ScriptEdit.KeyPress(blank);
    ASSERT_TRUE(completion.Form().Visible());
    EXPECT_EQ(completion.Form().AssignedCount(), 1);
    std::uint16_t enter = VK::RETURN;
    completion.Form().KeyDown(enter, 0);
    EXPECT_EQ(Text(), u"1 DUP");
}

TEST_F(CodeEditorWords, OptionsGiveTheEditorItsFontTabsAndColours)
{
    options.EditFontFace = u"DejaVu Sans Mono";
    options.EditFontSize = 12;
    options.EditorTabSize = 4;
    options.EditorBgColor = 0x0000AA;
    options.EditorCommentColor = 0x00BB00;
    page.ApplyTermOptions();
    EXPECT_EQ(page.ScriptEdit.Font().Name, u"DejaVu Sans Mono");
    EXPECT_EQ(page.ScriptEdit.Font().Size(), 12);
    EXPECT_EQ(page.ScriptEdit.Font().Color, 0x00BB00);
    EXPECT_EQ(page.ScriptEdit.Color(), 0x0000AA);
    EXPECT_EQ(page.ScriptEdit.TabWidth(), 4);
    EXPECT_EQ(page.NibCompletionProposal1.Form().ItemFont(), page.ScriptEdit.Font());

    TConfigTermOptions collected;
    page.CollectTermOptions(collected);
    EXPECT_EQ(collected.EditFontFace, u"DejaVu Sans Mono");
    EXPECT_EQ(collected.EditFontSize, 12);
    EXPECT_EQ(collected.EditorTabSize, 4);

    // Without highlighting the system's window colours; a file without a font keeps the one there.
    options.EditorUseSyntaxHighlighting = false;
    options.EditFontFace.clear();
    options.EditFontSize = 0;
    page.ApplyTermOptions();
    EXPECT_EQ(page.ScriptEdit.Color(), clWindow);
    EXPECT_EQ(page.ScriptEdit.Font().Color, clWindowText);
    EXPECT_EQ(page.ScriptEdit.Font().Name, u"DejaVu Sans Mono");
    EXPECT_EQ(page.ScriptEdit.Font().Size(), 12);
}

TEST_F(CodeEditorWords, TheStatusShowsTheCaretAndTheModifiedMark)
{
    page.Timer1Timer();
    EXPECT_EQ(view.Status[1], u"1");
    EXPECT_EQ(view.Status[3], u"1");
    EXPECT_EQ(view.Status[5], u"");
    Type(u"abc\r\nde");
    page.Timer1Timer();
    EXPECT_EQ(view.Status[1], u"2");
    EXPECT_EQ(view.Status[3], u"3");
    EXPECT_EQ(view.Status[5], u"*");
    dialogs.FileAnswers = {folder.Name("s.forth")};
    page.EditorSaveFileAct->Execute();
    page.Timer1Timer();
    EXPECT_EQ(view.Status[5], u"");
}

}  // namespace
