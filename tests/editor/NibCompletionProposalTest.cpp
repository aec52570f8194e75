#include <gtest/gtest.h>
#include "editor/EditorFixture.h"
#include "editor/NibCompletionProposal.h"
#include "platform/ManualLoop.h"

namespace {

/// A proposal set up as the code editor's, attached to the fixture's editor.
class CompletionProposal : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        MainLoop::SetCurrent(&loop);
        proposal.SetOptions({scoCaseSensitive, scoLimitToMatchedText, scoUseInsertList, scoEndCharCompletion,
                             scoCompleteWithTab, scoCompleteWithEnter});
        proposal.SetEndOfTokenChr(u" ");
        proposal.SetEditor(&edit);
    }
    void Items(std::initializer_list<std::pair<const char16_t*, const char16_t*>> items)
    {
        for (const auto& [display, insert] : items) proposal.AddItem(display, insert);
    }
    void Key(std::uint16_t key, TShiftState shift = 0) { edit.KeyDown(key, shift); }
    void Char(char16_t c) { edit.KeyPress(c); }
    void CtrlSpace()
    {
        Key(VK::SPACE, ssCtrl);
        Char(u' ');
    }
    TNibBaseCompletionProposalForm& Popup() { return proposal.Form(); }

    void TearDown() override { MainLoop::SetCurrent(nullptr); }

    ManualLoop loop;
    TNibCompletionProposal proposal;
};

TEST_F(CompletionProposal, CtrlSpaceOpensTheListFilteredByTheWordBeforeTheCaret)
{
    Items({{u"DUP", u"DUP"}, {u"DROP", u"DROP"}, {u"dup", u"dup"}});
    SetLines({u"1 DU"});
    edit.SetCaretXY({5, 1});
    CtrlSpace();
    EXPECT_TRUE(Popup().Visible());
    EXPECT_EQ(proposal.CurrentString(), u"DU");
    EXPECT_EQ(proposal.CompletionStart(), 3);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"1 DU"});
    ASSERT_EQ(Popup().AssignedCount(), 1);

    std::uint16_t enter = VK::RETURN;
    Popup().KeyDown(enter, 0);
    EXPECT_FALSE(Popup().Visible());
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"1 DUP"});
    EXPECT_EQ(edit.CaretXY().Char, 6);
}

TEST_F(CompletionProposal, PastTheLineEndTheFilterIsEmptyAndTheCompletionStartsAtTheCaret)
{
    Items({{u"OVER", u"OVER"}});
    SetLines({u"ab"});
    edit.SetOptions(TNibEditorOptions(edit.Options()).Include(eoScrollPastEol));
    edit.SetCaretXY({6, 1});
    CtrlSpace();
    EXPECT_TRUE(Popup().Visible());
    EXPECT_EQ(proposal.CurrentString(), u"");
    EXPECT_EQ(proposal.CompletionStart(), 6);
}

TEST_F(CompletionProposal, EnterInsideAWordReplacesAllOfItInOneUndoStep)
{
    Items({{u"SWAP", u"SWAP"}});
    SetLines({u"SWxyz 1"});
    edit.SetCaretXY({3, 1});
    CtrlSpace();
    std::uint16_t enter = VK::RETURN;
    Popup().KeyDown(enter, 0);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"SWAP 1"});
    edit.Undo();
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"SWxyz 1"});
}

TEST_F(CompletionProposal, TheInsertListEntryFollowsTheChosenItemNotItsFilteredRow)
{
    // The filter matches the insert entries; the second filtered row is the third item.
    Items({{u"a1", u"a-one"}, {u"b1", u"b-one"}, {u"b2", u"b-two"}});
    SetLines({u"b"});
    edit.SetCaretXY({2, 1});
    CtrlSpace();
    ASSERT_EQ(Popup().AssignedCount(), 2);
    Popup().SetPosition(1);
    std::uint16_t tab = VK::TAB;
    Popup().KeyDown(tab, 0);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"b-two"});
}

TEST_F(CompletionProposal, ABlankTypedInTheListAcceptsAndIsThenInserted)
{
    Items({{u"DROP", u"DROP"}});
    SetLines({u"DR"});
    edit.SetCaretXY({3, 1});
    CtrlSpace();
    char16_t blank = u' ';
    Popup().KeyPress(blank);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"DROP "});
    EXPECT_FALSE(Popup().Visible());
}

TEST_F(CompletionProposal, WithoutEndCharCompletionABreakCharacterKeepsTheWordAsTyped)
{
    proposal.SetOptions({scoLimitToMatchedText, scoUseInsertList, scoCompleteWithEnter});
    proposal.SetEndOfTokenChr(u"( ");
    Items({{u"DROP", u"DROP"}});
    SetLines({u"DR"});
    edit.SetCaretXY({3, 1});
    CtrlSpace();
    char16_t paren = u'(';
    Popup().KeyPress(paren);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"DR("});
}

TEST_F(CompletionProposal, ATriggerCharacterOpensTheListAfterTheTimerAndAnotherKeyStopsIt)
{
    proposal.SetOptions(TNibCompletionOptions(proposal.Options()).Include(scoUseBuiltInTimer));
    proposal.SetTimerInterval(300);
    Items({{u"x", u"x"}});
    SetLines({u""});
    Char(u'.');
    loop.AdvanceMs(299);
    EXPECT_FALSE(Popup().Visible());
    loop.AdvanceMs(1);
    EXPECT_TRUE(Popup().Visible());

    proposal.CancelCompletion();
    Char(u'.');
    Char(u'a');
    loop.AdvanceMs(1000);
    EXPECT_FALSE(Popup().Visible());
}

TEST_F(CompletionProposal, NothingOpensForAReadOnlyEditorOrWithoutItems)
{
    SetLines({u"a"});
    edit.SetCaretXY({2, 1});
    CtrlSpace();
    EXPECT_FALSE(Popup().Visible());
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"a "});
    Items({{u"ab", u"ab"}});
    edit.SetReadOnly(true);
    std::uint16_t key = VK::SPACE;
    edit.KeyDown(key, ssCtrl);
    EXPECT_FALSE(Popup().Visible());
}

TEST_F(CompletionProposal, TheListStaysOnTheScreenAndAHintIsAsWideAsItsWidestItem)
{
    Items({{u"abc", u"abc"}, {u"a", u"a"}});
    proposal.ScreenSize = [] { return TSize{400, 300}; };
    const int itemHeight = Popup().EffectiveItemHeight();
    const int listHeight = itemHeight * 8 + Popup().HeightBuffer();
    // Opened for the editor at the end of the screen: left of the edge, above the caret's line.
    SetLines({u""});
    proposal.ClientToScreen = [](TCustomNibEdit&, TPoint) { return TPoint{390, 290 - 16}; };
    proposal.ActivateCompletion();
    EXPECT_EQ(Popup().WindowBounds(), (TRect{400 - 260 - 5, 290 - listHeight - 16 - 2, 400 - 5, 290 - 16 - 2}));
    proposal.CancelCompletion();

    proposal.ExecuteEx(u"", 10, 20, ctHint);
    EXPECT_TRUE(Popup().Visible());
    EXPECT_EQ(Popup().WindowBounds(), (TRect{10, 20, 10 + 3 * 8 + 2 * 2 + 2, 20 + 2 * itemHeight + 2 + 2 * 2}));
    // A hint goes with the next command.
    Type(u"x");
    EXPECT_FALSE(Popup().Visible());
}

TEST(CompletionProposalLists, AnItemAtAnInvalidPositionIsRefusedWithItsPosition)
{
    RecordingGraphicsFactory graphics;
    TNibCompletionProposal proposal;
    proposal.AddItemAt(0, u"a", u"A");
    try {
        proposal.AddItemAt(5, u"b", u"B");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Cannot insert item at position 5.");
    }
    EXPECT_EQ(proposal.InsertList().Count(), 1);
    EXPECT_EQ(proposal.ItemList().Count(), 1);
}

}  // namespace
