#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "EditorFixture.h"
#include "editor/NibCompletionProposal.h"
#include "platform/ManualLoop.h"

namespace {

/// A desktop whose screen starts at the editor's client origin moved by Offset.
class FakeDesktop : public TNibCompletionDesktop {
public:
    TPoint ClientToScreen(const Control&, TPoint P) const override { return {P.X + Offset.X, P.Y + Offset.Y}; }
    TSize VirtualScreenSize() const override { return Screen; }
    TPoint MousePos() const override { return {}; }
    bool ApplicationActive() const override { return Active; }

    TPoint Offset{100, 200};
    TSize Screen{1000, 800};
    bool Active = true;
};

/// The program's settings: a case-sensitive list of pretty items that inserts from InsertList.
constexpr TNibCompletionOptions ProgramOptions = scoCaseSensitive | scoLimitToMatchedText | scoUseInsertList |
                                                 scoUsePrettyText | scoEndCharCompletion | scoCompleteWithTab |
                                                 scoCompleteWithEnter;

class CompletionProposalTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        MainLoop::SetCurrent(&loop);
        proposal.SetDesktop(&desktop);
        proposal.SetOptions(ProgramOptions);
        proposal.SetEndOfTokenChr(u" ");
        for (const char16_t* word : {u"DROP", u"DUP", u"DUMP", u"SWAP"})
            proposal.AddItem(UnicodeString(u"\\style{+B}") + word + u"\\style{-B} stack", word);
        proposal.SetEditor(&edit);
        proposal.OnCancelled = [this](TObject*) { ++cancelled; };
    }

    void TearDown() override { MainLoop::SetCurrent(nullptr); }

    void Shortcut()
    {
        std::uint16_t key = VK::SPACE;
        edit.KeyDown(key, ssCtrl);
        char16_t ch = u' ';
        edit.KeyPress(ch);
    }
    void PopupKey(std::uint16_t key, TShiftState shift = 0) { proposal.Form().KeyDown(key, shift); }
    void PopupChar(char16_t ch) { proposal.Form().KeyPress(ch); }
    /// The insert words of the items that pass the filter, joined by blanks.
    std::string Filtered() const
    {
        std::string result;
        const TNibBaseCompletionProposalForm& form = proposal.Form();
        for (int i = 0; i < form.AssignedCount(); ++i) {
            if (i > 0) result += ' ';
            for (char16_t c : proposal.InsertList()[form.AssignedIndex(i)]) result += char(c);
        }
        return result;
    }
    bool Open() const { return proposal.Form().Visible(); }

    ManualLoop loop;
    FakeDesktop desktop;
    TNibCompletionProposal proposal;
    int cancelled = 0;
};

}  // namespace

TEST_F(CompletionProposalTest, ShortcutOpensBelowTheCaretFilteredByTheWordBeforeItAndDropsItsCharacter)
{
    SetLines({u"1 DU"});
    edit.SetCaretXY({5, 1});
    Shortcut();
    ASSERT_TRUE(Open());
    EXPECT_EQ(proposal.CurrentString(), u"DU");
    EXPECT_EQ(Filtered(), "DUP DUMP");
    EXPECT_EQ(proposal.CompletionStart(), 3);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"1 DU"});
    EXPECT_EQ(proposal.PreviousToken(), u"DU");
    // The caret cell's corner on the screen, one line lower.
    const TPoint caret = edit.RowColumnToPixels(edit.DisplayXY());
    const TRect bounds = proposal.Form().WindowBounds();
    EXPECT_EQ(bounds.Left, caret.X + 100);
    EXPECT_EQ(bounds.Top, caret.Y + 200 + edit.LineHeight());
    EXPECT_EQ(bounds.Width(), 260);
    EXPECT_EQ(bounds.Height(), 8 * proposal.Form().EffectiveItemHeight());
}

TEST_F(CompletionProposalTest, APopupThatWouldLeaveTheScreenMovesLeftAndAboveTheLine)
{
    SetLines({u"DU"});
    edit.SetCaretXY({3, 1});
    desktop.Screen = {300, 250};
    Shortcut();
    const TRect bounds = proposal.Form().WindowBounds();
    EXPECT_EQ(bounds.Left, 300 - 260 - 5);
    const TPoint caret = edit.RowColumnToPixels(edit.DisplayXY());
    EXPECT_EQ(bounds.Top, std::max(caret.Y + 200 - bounds.Height() - 2, 0));
}

TEST_F(CompletionProposalTest, EnterInsideAWordReplacesAllOfItFromTheInsertListInOneUndoStep)
{
    SetLines({u"x DUxyz"});
    edit.SetCaretXY({5, 1});
    Shortcut();
    PopupKey(VK::DOWN);  // DUMP: second of the filtered rows, third of the items
    PopupKey(VK::RETURN);
    EXPECT_FALSE(Open());
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"x DUMP"});
    EXPECT_EQ(edit.CaretXY(), (TBufferCoord{7, 1}));
    EXPECT_FALSE(edit.SelAvail());
    edit.Undo();
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"x DUxyz"});
}

TEST_F(CompletionProposalTest, TabAcceptsAndTheEventsMayChangeTheValue)
{
    SetLines({u"SW"});
    edit.SetCaretXY({3, 1});
    std::string seen;
    proposal.OnCodeCompletion = [&](TObject*, UnicodeString& value, TShiftState shift, int index, char16_t end) {
        seen = "index " + std::to_string(index) + " shift " + std::to_string(shift) + " end " + std::to_string(end);
        value += u"!";
    };
    Shortcut();
    PopupKey(VK::TAB, ssShift);
    EXPECT_EQ(seen, "index 3 shift 1 end 0");
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"SWAP!"});
}

TEST_F(CompletionProposalTest, CharactersTypedInTheListFilterAndReachTheTextAndABlankAcceptsFirst)
{
    SetLines({u"D"});
    edit.SetCaretXY({2, 1});
    Shortcut();
    EXPECT_EQ(Filtered(), "DROP DUP DUMP");
    PopupChar(u'U');
    EXPECT_EQ(Filtered(), "DUP DUMP");
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"DU"});
    PopupChar(u' ');
    EXPECT_FALSE(Open());
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"DUP "});
}

TEST_F(CompletionProposalTest, AnotherBreakCharacterReplacesOnlyTheLeftPartAndOnlyWhenEndCharactersComplete)
{
    struct Case {
        TNibCompletionOptions options;
        const char16_t* result;
    };
    for (const Case& c : {Case{NibDefaultCompletionOptions | scoUseInsertList, u"DUP(xyz"},
                          Case{(NibDefaultCompletionOptions | scoUseInsertList) & ~scoEndCharCompletion, u"DU(xyz"}}) {
        proposal.SetOptions(c.options);
        proposal.SetEndOfTokenChr(u"()[]. ");
        SetLines({u"DUxyz"});
        edit.SetCaretXY({3, 1});
        Shortcut();
        PopupChar(u'(');
        EXPECT_EQ(Lines(), std::vector<UnicodeString>{c.result}) << c.options;
        if (Open()) PopupKey(VK::ESCAPE);
    }
}

TEST_F(CompletionProposalTest, WithoutTheInsertListPrettyItemsGoInAsTheTextTheyShow)
{
    proposal.SetOptions(ProgramOptions & ~scoUseInsertList);
    SetLines({u"SW"});
    edit.SetCaretXY({3, 1});
    Shortcut();
    PopupKey(VK::RETURN);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"SWAP stack"});
}

TEST_F(CompletionProposalTest, PastTheLineEndTheFilterIsEmptyAndTheItemGoesInAtTheCaret)
{
    SetLines({u"DU"});
    edit.SetCaretXY({5, 1});
    Shortcut();
    EXPECT_EQ(proposal.CurrentString(), u"");
    EXPECT_EQ(proposal.CompletionStart(), 5);
    EXPECT_EQ(Filtered(), "DROP DUP DUMP SWAP");
    PopupKey(VK::RETURN);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"DU  DROP"});
}

TEST_F(CompletionProposalTest, EscapeClosesAndLeavesTheText)
{
    SetLines({u"DU"});
    edit.SetCaretXY({3, 1});
    Shortcut();
    PopupKey(VK::ESCAPE);
    EXPECT_FALSE(Open());
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"DU"});
    EXPECT_FALSE(edit.CanUndo());
}

TEST_F(CompletionProposalTest, LosingTheFocusClosesAndTheNextCharacterInTheEditorIsTyped)
{
    SetLines({u"DU"});
    edit.SetCaretXY({3, 1});
    proposal.ActivateCompletion();  // from a menu: no character follows
    ASSERT_TRUE(Open());
    proposal.Form().Deactivate();  // the user clicked elsewhere
    EXPECT_FALSE(Open());
    char16_t ch = u'P';
    edit.KeyPress(ch);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"DUP"});
}

TEST_F(CompletionProposalTest, NothingOpensWithoutItemsWhenRefusedOrInAReadOnlyEditor)
{
    SetLines({u"DU"});
    edit.SetCaretXY({3, 1});
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"no items", [this] { proposal.ClearList(); }},
        {"refused",
         [this] {
             proposal.OnExecute = [](NibCompletionType, TObject*, UnicodeString&, int&, int&, bool& can) {
                 can = false;
             };
         }},
        {"read-only", [this] { edit.SetReadOnly(true); }},
    };
    for (const auto& [name, arrange] : cases) {
        arrange();
        std::uint16_t key = VK::SPACE;
        edit.KeyDown(key, ssCtrl);
        EXPECT_FALSE(Open()) << name;
        proposal.ActivateCompletion();
        EXPECT_FALSE(Open()) << name;
    }
    // The read-only editor saw the chord itself, and nothing is swallowed later.
    edit.SetReadOnly(false);
    proposal.OnExecute = nullptr;
    char16_t ch = u'x';
    edit.KeyPress(ch);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"DUx"});
}

TEST_F(CompletionProposalTest, AWordThatNoItemStartsWithOpensNoList)
{
    SetLines({u"QU DR"});
    edit.SetCaretXY({3, 1});
    std::uint16_t key = VK::SPACE;
    edit.KeyDown(key, ssCtrl);
    EXPECT_FALSE(Open());
    proposal.ActivateCompletion();
    EXPECT_FALSE(Open());
    edit.SetCaretXY({6, 1});
    key = VK::SPACE;
    edit.KeyDown(key, ssCtrl);
    ASSERT_TRUE(Open());
    EXPECT_EQ(Filtered(), "DROP");
}

TEST_F(CompletionProposalTest, ATriggerCharacterOpensTheListAfterTheTimerAndAnyOtherKeyStopsIt)
{
    proposal.SetOptions(ProgramOptions | scoUseBuiltInTimer);
    proposal.SetTimerInterval(500);
    proposal.SetEndOfTokenChr(u"()[]. ");
    auto press = [this](char16_t c) { edit.KeyPress(c); };
    press(u'D');
    press(u'.');
    loop.AdvanceMs(499);
    EXPECT_FALSE(Open());
    loop.AdvanceMs(1);
    ASSERT_TRUE(Open());
    EXPECT_EQ(proposal.CurrentString(), u"");
    EXPECT_EQ(proposal.PreviousToken(), u"D");
    EXPECT_FALSE(proposal.TimerEnabled());
    PopupKey(VK::ESCAPE);

    press(u'.');
    press(u'x');  // stops the timer
    loop.AdvanceMs(1000);
    EXPECT_FALSE(Open());

    press(u'.');
    edit.CommandProcessor(ecLeft, u'\0', nullptr);  // so does any command
    loop.AdvanceMs(1000);
    EXPECT_FALSE(Open());

    desktop.Active = false;  // another application has the keyboard
    press(u'.');
    loop.AdvanceMs(1000);
    EXPECT_FALSE(Open());
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"D..x.."});
}

TEST_F(CompletionProposalTest, WithoutTheTimerOptionTriggerCharactersOpenNothing)
{
    char16_t ch = u'.';
    edit.KeyPress(ch);
    loop.AdvanceMs(5000);
    EXPECT_FALSE(Open());
    EXPECT_FALSE(proposal.TimerEnabled());
}

TEST_F(CompletionProposalTest, AnEditorDestroyedWhileTheListIsOpenIsDetached)
{
    auto other = std::make_unique<TNibEdit>();
    auto otherHost = std::make_unique<FakeControlHost>(*other, 192, 160);
    other->Lines().Add(u"DU");
    other->SetCaretXY({3, 1});
    proposal.AddEditor(*other);
    EXPECT_EQ(proposal.EditorsCount(), 2);
    std::uint16_t key = VK::SPACE;
    other->KeyDown(key, ssCtrl);
    ASSERT_TRUE(Open());
    otherHost.reset();
    other.reset();
    EXPECT_FALSE(Open());
    EXPECT_EQ(proposal.EditorsCount(), 1);
    EXPECT_EQ(proposal.Form().CurrentEditor(), nullptr);
    proposal.ActivateCompletion();  // the remaining editor still works
    EXPECT_TRUE(Open());
}

TEST_F(CompletionProposalTest, RemovedEditorsKeepNoHooks)
{
    const int handlers = edit.HookedCommandHandlerCount();
    proposal.SetEditor(nullptr);
    EXPECT_EQ(proposal.EditorsCount(), 0);
    EXPECT_EQ(edit.HookedCommandHandlerCount(), handlers - 1);
    SetLines({u"DU"});
    edit.SetCaretXY({3, 1});
    Shortcut();
    EXPECT_FALSE(Open());
}

TEST(CompletionProposalLists, ItemsGoIntoBothListsAndABadPositionIsReported)
{
    RecordingGraphicsFactory graphics;
    TNibCompletionProposal proposal;
    proposal.AddItem(u"b shown", u"b");
    proposal.AddItemAt(0, u"a shown", u"a");
    EXPECT_EQ(proposal.DisplayItem(0), u"a shown");
    EXPECT_EQ(proposal.InsertItem(1), u"b");
    for (int where : {-1, 3}) {
        try {
            proposal.AddItemAt(where, u"x", u"x");
            ADD_FAILURE() << where;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot insert item at position " + std::to_string(where) + ".");
        }
    }
    proposal.InsertList().Add(u"no display");  // lists of different lengths take nothing past the shorter
    EXPECT_THROW(proposal.AddItemAt(3, u"x", u"x"), std::runtime_error);
    EXPECT_EQ(proposal.ItemList().Count(), 2);
    proposal.ClearList();
    EXPECT_EQ(proposal.ItemList().Count() + proposal.InsertList().Count(), 0);
}

TEST_F(CompletionProposalTest, HintsCloseOnAnyCommandAndParameterHintsFollowTheTyping)
{
    int opened = 0;
    proposal.OnExecute = [&](NibCompletionType, TObject*, UnicodeString&, int&, int&, bool&) { ++opened; };
    proposal.SetDefaultType(ctHint);
    proposal.ActivateCompletion();
    ASSERT_TRUE(Open());
    edit.CommandProcessor(ecLeft, u'\0', nullptr);
    EXPECT_FALSE(Open());

    proposal.SetDefaultType(ctParams);
    proposal.ClearList();
    proposal.AddItem(u"n1, n2", u"");
    struct Step {
        TNibEditorCommand command;
        char16_t ch;
        bool open;
    };
    for (const Step& closing : {Step{ecChar, u'\x1B', false}, Step{ecLostFocus, u'\0', false}}) {
        opened = 0;
        proposal.ActivateCompletion();
        ASSERT_TRUE(Open());
        for (const Step& step : {Step{ecChar, u'x', true}, Step{ecLineBreak, u'\0', true}, closing}) {
            edit.CommandProcessor(step.command, step.ch, nullptr);
            EXPECT_EQ(Open(), step.open) << step.command;
        }
        EXPECT_EQ(opened, 3);  // opened, then refreshed after each command that kept it
    }
}

TEST_F(CompletionProposalTest, AHintIsAsWideAsItsWidestItemAndAsHighAsItsItems)
{
    proposal.ClearList();
    proposal.AddItem(u"abc", u"abc");
    proposal.AddItem(u"a", u"a");
    proposal.ExecuteEx(u"", 10, 20, ctHint);
    ASSERT_TRUE(Open());
    const TNibBaseCompletionProposalForm& form = proposal.Form();
    // Every code unit of the test canvas is 8 pixels wide.
    EXPECT_EQ(form.WindowBounds(), (TRect{10, 20, 10 + 3 * 8 + 2 * form.Margin() + 2,
                                          20 + 2 * form.EffectiveItemHeight() + 2 + 2 * form.Margin()}));
}

TEST_F(CompletionProposalTest, BackspaceInTheListDeletesOnceAndClosesPastTheWordStart)
{
    SetLines({u"1 DU"});
    edit.SetCaretXY({5, 1});
    Shortcut();
    auto backspace = [this] {
        PopupKey(VK::BACK);
        PopupChar(u'\b');
    };
    backspace();
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"1 D"});
    EXPECT_EQ(Filtered(), "DROP DUP DUMP");
    backspace();
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"1 "});
    EXPECT_TRUE(Open());
    backspace();
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"1"});
    EXPECT_FALSE(Open());
    EXPECT_EQ(cancelled, 1);
}

TEST_F(CompletionProposalTest, AcceptingReplacesOnlyTheWordWhateverTheSelectionMode)
{
    for (TNibSelectionMode mode : {smNormal, smLine, smColumn}) {
        edit.SetSelectionMode(mode);
        SetLines({u"a x DUxyz b", u"second"});
        edit.SetCaretXY({7, 1});
        Shortcut();
        PopupKey(VK::RETURN);
        EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"a x DUP b", u"second"})) << int(mode);
        EXPECT_EQ(edit.ActiveSelectionMode(), mode);
        edit.Undo();
        EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"a x DUxyz b", u"second"})) << int(mode);
    }
}

TEST_F(CompletionProposalTest, TheEditorKeepsItsCaretWhileTheListHasTheFocus)
{
    SetLines({u"DU"});
    edit.SetCaretXY({3, 1});
    Shortcut();
    edit.FocusChanged(false);  // the list's window takes the keyboard
    EXPECT_TRUE(host->CaretShown);
    PopupKey(VK::ESCAPE);
    // Back to what it was; the editor got the focus back.
    EXPECT_FALSE(edit.AlwaysShowCaret());
    EXPECT_TRUE(edit.Focused());
    EXPECT_TRUE(host->CaretShown);
    edit.FocusChanged(false);
    EXPECT_FALSE(host->CaretShown);
    edit.SetAlwaysShowCaret(true);  // without the focus the caret comes back at once
    EXPECT_TRUE(host->CaretShown);
}
