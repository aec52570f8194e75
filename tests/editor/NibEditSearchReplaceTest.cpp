#include "editor/EditorFixture.h"
#include "editor/NibEditSearch.h"

namespace {

class SearchReplaceTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        edit.SetSearchEngine(&engine);
    }
    /// Answers prompts in turn from a script, recording where each was asked.
    void Answer(std::vector<TNibReplaceAction> answers)
    {
        script = std::move(answers);
        edit.OnReplaceText = [this](TObject*, const UnicodeString&, const UnicodeString&, int line, int column,
                                    TNibReplaceAction& action) {
            asked.push_back({column, line});
            action = asked.size() <= script.size() ? script[asked.size() - 1] : raCancel;
        };
    }

    TNibEditSearch engine;
    std::vector<TNibReplaceAction> script;
    std::vector<TBufferCoord> asked;
};

} // namespace

TEST_F(SearchReplaceTest, WithoutAnEngineItRaisesAndAnEmptyPatternFindsNothing)
{
    edit.SetSearchEngine(nullptr);
    EXPECT_THROW(
        {
            try {
                edit.SearchReplace(u"a", u"", {});
            } catch (const ENibEditError& e) {
                EXPECT_STREQ(e.what(), "No search engine has been assigned");
                throw;
            }
        },
        ENibEditError);
    edit.SetSearchEngine(&engine);
    EXPECT_EQ(edit.SearchReplace(u"", u"", {}), 0);
}

TEST_F(SearchReplaceTest, SearchSelectsTheNextMatchForwardOrBackwardFromTheCaret)
{
    SetLines({u"cat dog", u"dog cat dog"});
    edit.SetCaretXY({2, 1});
    EXPECT_EQ(edit.SearchReplace(u"dog", u"", {}), 1);
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(5, 1));
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(8, 1));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(8, 1));
    EXPECT_EQ(edit.SearchReplace(u"dog", u"", {}), 1);
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(1, 2));

    edit.SetCaretXY({8, 2});
    EXPECT_EQ(edit.SearchReplace(u"cat", u"", {ssoBackwards}), 1);
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(5, 2));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(5, 2));
    EXPECT_EQ(edit.SearchReplace(u"cat", u"", {ssoBackwards}), 1);
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(1, 1));
    EXPECT_EQ(edit.SearchReplace(u"cat", u"", {ssoBackwards}), 0);
    EXPECT_EQ(edit.SearchReplace(u"cat", u"", {ssoBackwards, ssoEntireScope}), 1);
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(5, 2));
}

TEST_F(SearchReplaceTest, ReplaceAllShiftsLaterMatchesAndIsOneUndoStep)
{
    SetLines({u"aaa", u"xa"});
    EXPECT_EQ(edit.SearchReplace(u"a", u"bb", {ssoReplaceAll}), 4);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"bbbbbb", u"xbb"}));
    edit.Undo();
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"aaa", u"xa"}));
    EXPECT_FALSE(edit.CanUndo());
}

TEST_F(SearchReplaceTest, ReplaceAllWithALineBreakFindsTheRestOfTheLine)
{
    SetLines({u"a;b;c", u";"});
    EXPECT_EQ(edit.SearchReplace(u";", u"\r\n", {ssoReplaceAll}), 3);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"a", u"b", u"c", u"", u""}));
}

TEST_F(SearchReplaceTest, ReplaceInsideTheSelectionOnly)
{
    SetLines({u"a a a a"});
    Select({3, 1}, {6, 1});
    EXPECT_EQ(edit.SearchReplace(u"a", u"bbb", {ssoReplaceAll, ssoSelectedOnly}), 2);
    EXPECT_EQ(Lines()[0], u"a bbb bbb a");

    SetLines({u"xx", u"xx", u"xx"});
    edit.SetSelectionMode(smColumn);
    Select({2, 1}, {1, 3});  // columns 1..2, from right to left
    EXPECT_EQ(edit.SearchReplace(u"x", u"y", {ssoReplaceAll, ssoSelectedOnly}), 3);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"yx", u"yx", u"yx"}));
}

TEST_F(SearchReplaceTest, PromptAnswers)
{
    SetLines({u"a a a a"});
    Answer({raSkip, raReplace});
    EXPECT_EQ(edit.SearchReplace(u"a", u"b", {ssoReplace, ssoPrompt}), 0);  // skipped: not counted
    EXPECT_EQ(edit.CaretXY(), BufferCoord(2, 1));
    EXPECT_EQ(edit.SearchReplace(u"a", u"b", {ssoReplace, ssoPrompt}), 1);  // the next match, not the same
    EXPECT_EQ(Lines()[0], u"a b a a");
    EXPECT_EQ(asked, (std::vector<TBufferCoord>{{1, 1}, {3, 1}}));

    SetLines({u"a a a a"});
    asked.clear();
    Answer({raReplace, raSkip, raCancel});
    // Replaced, skipped (not counted), and the match found when cancelling counts.
    EXPECT_EQ(edit.SearchReplace(u"a", u"b", {ssoReplaceAll, ssoPrompt}), 2);
    EXPECT_EQ(Lines()[0], u"b a a a");
    EXPECT_EQ(edit.SelText(), u"a");
    EXPECT_EQ(asked.size(), 3u);  // a plain Replace answer keeps asking

    SetLines({u"a a a a"});
    asked.clear();
    Answer({raReplace, raReplaceAll});
    EXPECT_EQ(edit.SearchReplace(u"a", u"b", {ssoReplaceAll, ssoPrompt}), 4);
    EXPECT_EQ(Lines()[0], u"b b b b");
    EXPECT_EQ(asked.size(), 2u);
    edit.Undo();  // the answer Replace All and what followed it
    EXPECT_EQ(Lines()[0], u"b a a a");
    edit.Undo();
    EXPECT_EQ(Lines()[0], u"a a a a");
}

TEST_F(SearchReplaceTest, InLineSelectionModeAReplacementTakesOnlyTheMatch)
{
    for (const TNibSearchOptions options : {TNibSearchOptions{ssoReplace}, TNibSearchOptions{ssoReplaceAll},
                                            TNibSearchOptions{ssoReplaceAll, ssoSelectedOnly}}) {
        SetLines({u"one dup two", u"dup dup", u"end"});
        edit.SetSelectionMode(smLine);
        Select({1, 1}, {1, 2});
        if (!options.Contains(ssoSelectedOnly)) edit.SetCaretXY({1, 1});
        const int expected = options.Contains(ssoReplaceAll) ? 3 : 1;
        EXPECT_EQ(edit.SearchReplace(u"dup", u"DUP", options), expected);
        const std::vector<UnicodeString> replaced =
            expected == 3 ? std::vector<UnicodeString>{u"one DUP two", u"DUP DUP", u"end"}
                          : std::vector<UnicodeString>{u"one DUP two", u"dup dup", u"end"};
        EXPECT_EQ(Lines(), replaced);
        EXPECT_EQ(edit.ActiveSelectionMode(), smLine);
        while (edit.CanUndo()) edit.Undo();
        EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"one dup two", u"dup dup", u"end"}));
        while (edit.CanRedo()) edit.Redo();
        EXPECT_EQ(Lines(), replaced);
    }
}
