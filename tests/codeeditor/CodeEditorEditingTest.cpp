#include "codeeditor/CodeEditorFixture.h"

namespace {

class CodeEditorEditing : public CodeEditorTest {
protected:
    void Select(TBufferCoord from, TBufferCoord to) { page.ScriptEdit.SetCaretAndSelection(to, from, to); }
    std::pair<TBufferCoord, TBufferCoord> Selection() const
    {
        return {page.ScriptEdit.BlockBegin(), page.ScriptEdit.BlockEnd()};
    }
    /// Presses Find Next in the find dialog.
    void FindNext(const UnicodeString& text, TFindOptions options = {frDown})
    {
        page.FindDialog1.FindText = text;
        page.FindDialog1.Options = options;
        page.FindDialog1Find();
    }
};

TEST_F(CodeEditorEditing, FindNextWalksThroughEveryMatchAndBeepsAfterTheLast)
{
    Type(u"dup over\r\nDUP dup");
    page.ScriptEdit.SetCaretXY({1, 1});
    const std::pair<TBufferCoord, TBufferCoord> matches[] = {
        {{1, 1}, {4, 1}}, {{1, 2}, {4, 2}}, {{5, 2}, {8, 2}}};
    for (const auto& match : matches) {
        FindNext(u"dup");
        EXPECT_EQ(Selection(), match);
        EXPECT_EQ(host->Beeps, 0);
    }
    FindNext(u"dup");
    EXPECT_EQ(host->Beeps, 1);
    EXPECT_EQ(page.fCodeEditLastSearchResult, 0);
    EXPECT_EQ(page.fCodeEditLastSearchStr, u"dup");

    // With the case matched only the lower-case ones count.
    page.ScriptEdit.SetCaretXY({1, 1});
    FindNext(u"dup", {frDown, frMatchCase});
    FindNext(u"dup", {frDown, frMatchCase});
    EXPECT_EQ(Selection(), (std::pair<TBufferCoord, TBufferCoord>{{5, 2}, {8, 2}}));
}

TEST_F(CodeEditorEditing, BackwardsFromAMatchFindsThePreviousOne)
{
    Type(u"ab ab ab");
    page.ScriptEdit.SetCaretXY({9, 1});
    FindNext(u"ab", {});
    EXPECT_EQ(Selection(), (std::pair<TBufferCoord, TBufferCoord>{{7, 1}, {9, 1}}));
    FindNext(u"ab", {});
    EXPECT_EQ(Selection(), (std::pair<TBufferCoord, TBufferCoord>{{4, 1}, {6, 1}}));
    FindNext(u"ab", {});
    EXPECT_EQ(Selection(), (std::pair<TBufferCoord, TBufferCoord>{{1, 1}, {3, 1}}));
    FindNext(u"ab", {});
    EXPECT_EQ(host->Beeps, 1);
}

TEST_F(CodeEditorEditing, FindWalksOverAdjacentMatchesBothWays)
{
    Type(u"ababab");
    using Match = std::pair<TBufferCoord, TBufferCoord>;
    const Match matches[] = {{{1, 1}, {3, 1}}, {{3, 1}, {5, 1}}, {{5, 1}, {7, 1}}};
    page.ScriptEdit.SetCaretXY({7, 1});
    for (auto m = std::rbegin(matches); m != std::rend(matches); ++m) {
        FindNext(u"ab", {});
        EXPECT_EQ(Selection(), *m);
    }
    FindNext(u"ab", {});
    EXPECT_EQ(host->Beeps, 1);
    page.ScriptEdit.SetCaretXY({1, 1});
    for (const Match& m : matches) {
        FindNext(u"ab");
        EXPECT_EQ(Selection(), m);
    }
    FindNext(u"ab");
    EXPECT_EQ(host->Beeps, 2);
}

TEST_F(CodeEditorEditing, AnUnrelatedSelectionLimitsTheSearch)
{
    Type(u"x1 x2\r\nx3 x4");
    Select({4, 1}, {3, 2});
    FindNext(u"x");
    EXPECT_EQ(Selection(), (std::pair<TBufferCoord, TBufferCoord>{{4, 1}, {5, 1}}));
    // The match found is the previous match: the next search goes on from it through the text.
    FindNext(u"x");
    EXPECT_EQ(Selection(), (std::pair<TBufferCoord, TBufferCoord>{{1, 2}, {2, 2}}));
    // Whole words only.
    Select({1, 1}, {6, 2});
    FindNext(u"x", {frDown, frWholeWord});
    EXPECT_EQ(host->Beeps, 1);
    // An empty find text does nothing.
    FindNext(u"");
    EXPECT_EQ(host->Beeps, 1);
}

TEST_F(CodeEditorEditing, ReplaceChangesOneMatchOrAllAndMissesBeep)
{
    Type(u"a b a b a");
    page.ScriptEdit.SetCaretXY({1, 1});
    page.EditorReplaceAct->Execute();
    ASSERT_EQ(view.Shown.size(), 1u);
    EXPECT_EQ(view.Shown[0], &page.ReplaceDialog1);
    EXPECT_TRUE(page.ReplaceDialog1.Options.Contains(frHideUpDown));

    page.ReplaceDialog1.FindText = u"a";
    page.ReplaceDialog1.ReplaceText = u"c";
    page.ReplaceDialog1Replace();
    EXPECT_EQ(Text(), u"c b a b a");
    page.ReplaceDialog1.Options.Include(frReplaceAll);
    page.ScriptEdit.SetCaretXY({1, 1});
    page.ReplaceDialog1Replace();
    EXPECT_EQ(Text(), u"c b c b c");
    EXPECT_EQ(host->Beeps, 0);
    page.ReplaceDialog1Replace();
    EXPECT_EQ(host->Beeps, 1);
}

TEST_F(CodeEditorEditing, ReplaceAfterFindNextTakesTheMatchShown)
{
    Type(u"a b a b a");
    page.ScriptEdit.SetCaretXY({1, 1});
    page.ReplaceDialog1.FindText = u"a";
    page.ReplaceDialog1.ReplaceText = u"cc";
    page.ReplaceDialog1Find();
    page.ReplaceDialog1Find();
    EXPECT_EQ(Selection(), (std::pair<TBufferCoord, TBufferCoord>{{5, 1}, {6, 1}}));
    page.ReplaceDialog1Replace();
    EXPECT_EQ(Text(), u"a b cc b a");
    page.ReplaceDialog1Find();
    page.ReplaceDialog1.Options.Include(frReplaceAll);
    page.ReplaceDialog1Replace();
    EXPECT_EQ(Text(), u"a b cc b cc");
    EXPECT_EQ(host->Beeps, 0);
}

TEST_F(CodeEditorEditing, IndentAndOutdentMoveTheSelectedLinesByOneBlank)
{
    options.EditorTabSize = 8;
    page.ApplyTermOptions();
    Type(u"a\r\n  b\r\nc");
    Select({1, 1}, {2, 2});
    EXPECT_TRUE(page.EditIndentLinesAct->Execute());
    EXPECT_EQ(Text(), u" a\r\n   b\r\nc");
    EXPECT_EQ(page.ScriptEdit.TabWidth(), 8);
    EXPECT_TRUE(page.EditOutdentLinesAct->Execute());
    EXPECT_TRUE(page.EditOutdentLinesAct->Execute());
    EXPECT_EQ(Text(), u"a\r\n b\r\nc");
    EXPECT_EQ(page.ScriptEdit.TabWidth(), 8);
}

TEST_F(CodeEditorEditing, AutoIndentFollowsItsCheckMark)
{
    page.AutoIndentAct->Update();
    EXPECT_TRUE(page.AutoIndentAct->Checked);
    EXPECT_TRUE(page.AutoIndentAct->Execute());
    EXPECT_FALSE(page.ScriptEdit.Options().Contains(eoAutoIndent));
    EXPECT_FALSE(page.AutoIndentAct->Checked);
    EXPECT_TRUE(page.AutoIndentAct->Execute());
    EXPECT_TRUE(page.ScriptEdit.Options().Contains(eoAutoIndent));
    // The mark mirrors the editor when something else changes it.
    TNibEditorOptions o = page.ScriptEdit.Options();
    page.ScriptEdit.SetOptions(o.Exclude(eoAutoIndent));
    page.AutoIndentAct->Update();
    EXPECT_FALSE(page.AutoIndentAct->Checked);
}

TEST_F(CodeEditorEditing, EditingActionsNeedTheActivePageAndSomethingToWorkOn)
{
    struct Case {
        TAction* TCodeEditorPage::*Action;
        bool Empty, WithText, Selected, Unfocused;
    };
    using P = TCodeEditorPage;
    const Case cases[] = {
        {&P::EditorCopyAct, false, false, true, false},
        {&P::EditorCutAct, false, false, true, false},
        {&P::EditorUndoAct, false, true, true, false},
        {&P::EditorRedoAct, false, false, false, false},
        {&P::EditorSelectAllAct, false, true, true, false},
        {&P::EditorFindAct, false, true, true, false},
        {&P::EditorReplaceAct, false, true, true, false},
        {&P::EditIndentLinesAct, false, true, true, false},
        {&P::EditOutdentLinesAct, false, true, true, false},
        {&P::AutoIndentAct, true, true, true, true},
    };
    auto states = [&](int column) {
        for (const Case& c : cases) {
            TAction* action = page.*c.Action;
            action->Update();
            const bool expected = column == 0 ? c.Empty : column == 1 ? c.WithText : column == 2 ? c.Selected : c.Unfocused;
            EXPECT_EQ(action->Enabled, expected) << ToUtf8(action->Name) << " in state " << column;
        }
    };
    states(0);
    Type(u"abc");
    page.ScriptEdit.SetCaretXY({1, 1});
    states(1);
    Select({1, 1}, {3, 1});
    states(2);
    page.ScriptEdit.FocusChanged(false);
    states(3);
}

}  // namespace
