#include <gtest/gtest.h>

#include "app/TextViewerFixture.h"
#include "support/MemoryClipboard.h"
#include "support/ScriptedDialogs.h"

namespace {

class TextViewerTest : public ::testing::Test {
protected:
    void Show(std::initializer_list<const char16_t*> lines)
    {
        TStringList list;
        for (const char16_t* line : lines) list.Add(line);
        viewer.SetLines(list);
    }

    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    RecordingTextViewerView view;
    TTextViewer viewer{view};
};

TEST_F(TextViewerTest, FindNextSelectsEachMatchInTurnThenSaysThereIsNoMore)
{
    Show({u"ab", u"ab"});
    viewer.FindTextEdit = u"ab";
    EXPECT_TRUE(viewer.FindNextAct->Execute());
    EXPECT_EQ(viewer.SelStart(), 0);
    EXPECT_EQ(viewer.SelLength(), 2);
    EXPECT_STREQ(view.Focus, "text");
    viewer.FindNextAct->Execute();
    EXPECT_EQ(viewer.SelStart(), 3);
    EXPECT_EQ(viewer.SelLength(), 2);
    EXPECT_EQ(viewer.StatusPanel(1), u"2");
    EXPECT_EQ(viewer.StatusPanel(3), u"1");
    EXPECT_TRUE(dialogs.Questions.empty());

    EXPECT_FALSE(viewer.FindPhrase(u"ab", false, false));
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text, u"Unable to find search phrase \"ab\".");
    EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtInformation);
    EXPECT_EQ(dialogs.Questions[0].Buttons, TMsgButtons::OK);
    // The selection stays where the last match was: no wrap to the top.
    EXPECT_EQ(viewer.SelStart(), 3);
}

TEST_F(TextViewerTest, MatchCaseAndWholeWordsNarrowTheSearch)
{
    struct Case {
        const char16_t* text;
        const char16_t* phrase;
        bool matchCase, wholeWord;
        int found;
    } cases[] = {
        {u"print", u"in", false, false, 2},
        {u"print", u"in", false, true, -1},
        {u"print in", u"in", false, true, 6},
        {u"in_x in", u"in", false, true, 5},
        {u"DUP dup", u"dup", true, false, 4},
        {u"DUP dup", u"dup", false, false, 0},
        {u"a in.", u"in", false, true, 2},
        {u"abc", u"", false, false, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindInText(c.text, c.phrase, 0, c.matchCase, c.wholeWord), c.found) << ToUtf8(c.text);
    EXPECT_EQ(FindInText(u"ab ab", u"ab", 1, false, false), 3);

    Show({u"print"});
    viewer.FindTextEdit = u"in";
    viewer.WholeWordBtn = true;
    EXPECT_TRUE(viewer.FindNextAct->Execute());
    EXPECT_EQ(dialogs.Questions.size(), 1u);
}

TEST_F(TextViewerTest, FindNextNeedsMoreThanBlanksAndEnterInTheEditRunsIt)
{
    Show({u"one two"});
    viewer.FindTextEdit = u"  ";
    EXPECT_FALSE(viewer.FindNextAct->Execute());
    viewer.FindTextEdit = u"two";
    EXPECT_FALSE(viewer.FindTextEditKeyDown(VK::RETURN, ssShift));
    EXPECT_FALSE(viewer.FindTextEditKeyDown(VK::TAB, 0));
    EXPECT_EQ(viewer.SelLength(), 0);
    EXPECT_TRUE(viewer.FindTextEditKeyDown(VK::RETURN, 0));
    EXPECT_EQ(viewer.SelStart(), 4);

    viewer.SearchAct->Execute();
    EXPECT_STREQ(view.Focus, "find");
}

TEST_F(TextViewerTest, SelectAllAndCopyAndTheCaretPanels)
{
    Show({u"ab", u"cde"});
    EXPECT_EQ(viewer.StatusPanel(0), u"Line");
    EXPECT_EQ(viewer.StatusPanel(2), u"Column");
    EXPECT_EQ(viewer.StatusPanel(4), u"Snapshot Time");
    EXPECT_FALSE(viewer.CopyToClipboardAct->Execute());
    EXPECT_FALSE(clipboard.HasText());

    viewer.SetSelection(5, 0);
    EXPECT_EQ(viewer.StatusPanel(1), u"2");
    EXPECT_EQ(viewer.StatusPanel(3), u"3");
    viewer.SelectAllAct->Execute();
    EXPECT_EQ(view.SelStart, 0);
    EXPECT_EQ(view.SelLength, 6);
    EXPECT_TRUE(viewer.CopyToClipboardAct->Execute());
    EXPECT_EQ(clipboard.Text(), u"ab\ncde");
}

}  // namespace
