#include <gtest/gtest.h>

#include "editor/NibEditUndoList.h"

namespace {

// An undo list that counts its OnAddedUndo notifications.
struct UndoFixture : ::testing::Test {
    UndoFixture()
    {
        list.OnAddedUndo = [this](TObject*) { ++added; };
    }
    void Change(TNibChangeReason reason = crInsert)
    {
        list.AddChange(reason, BufferCoord(1, 1), BufferCoord(2, 1), u"x", smNormal);
    }
    int TopNumber() const { return list.PeekItem()->ChangeNumber; }

    TNibEditUndoList list;
    int added = 0;
};

TEST_F(UndoFixture, ChangesAreNumberedOneByOneAndBlocksShareOneNumber)
{
    Change();
    Change();
    EXPECT_EQ(list.Items(0).ChangeNumber, 1);
    EXPECT_EQ(list.Items(1).ChangeNumber, 2);
    EXPECT_EQ(added, 2);

    list.BeginBlock();
    Change();
    list.BeginBlock();
    Change();
    list.EndBlock();
    EXPECT_EQ(added, 4);  // the inner end is not the outermost one
    Change();
    list.EndBlock();
    EXPECT_EQ(added, 6);  // once more for the whole block
    for (int i = 2; i < 5; ++i) EXPECT_EQ(list.Items(i).ChangeNumber, 3) << i;

    Change();
    EXPECT_EQ(TopNumber(), 4);
    list.EndBlock();  // unbalanced: nothing
    EXPECT_EQ(list.BlockCount(), 0);
    EXPECT_EQ(added, 7);
}

TEST_F(UndoFixture, AnEmptyBlockEndsSilentlyButUsesUpItsNumber)
{
    list.BeginBlock();
    list.EndBlock();
    EXPECT_EQ(added, 0);
    Change();
    EXPECT_EQ(TopNumber(), 2);
}

TEST_F(UndoFixture, AnItemRecordsWhatItIsGiven)
{
    list.AddChange(crDelete, BufferCoord(3, 4), BufferCoord(5, 6), u"gone", smColumn);
    const TNibEditUndoItem& item = *list.PeekItem();
    EXPECT_EQ(item.ChangeReason, crDelete);
    EXPECT_EQ(item.ChangeSelMode, smColumn);
    EXPECT_EQ(item.ChangeStartPos, BufferCoord(3, 4));
    EXPECT_EQ(item.ChangeEndPos, BufferCoord(5, 6));
    EXPECT_EQ(item.ChangeStr, u"gone");
    EXPECT_EQ(list.LastChangeReason(), crDelete);
}

TEST_F(UndoFixture, GroupBreaksAreNumberedAddedOnceAndAnnouncedNever)
{
    list.AddGroupBreak();
    list.AddGroupBreak();
    EXPECT_EQ(list.ItemCount(), 1);
    EXPECT_EQ(list.LastChangeReason(), crGroupBreak);
    EXPECT_NE(TopNumber(), 0);
    EXPECT_EQ(added, 0);

    // Inside a step of undo or redo the break takes the block number it is given.
    list.SetBlockChangeNumber(42);
    Change();
    list.AddGroupBreak();
    EXPECT_EQ(TopNumber(), 42);
}

TEST_F(UndoFixture, TypingMovingTypingAndOneUndoLeavesTheTextModified)
{
    list.SetInitialState(true);  // a freshly loaded file
    Change();                    // type "a"
    list.AddGroupBreak();        // move the caret
    Change();                    // type "b"
    list.PopItem();              // undo "b"
    EXPECT_FALSE(list.InitialState());
    list.PopItem();
    list.PopItem();
    EXPECT_TRUE(list.InitialState());
}

TEST_F(UndoFixture, TheCapDropsTheOldestItems)
{
    list.SetMaxUndoActions(2);
    Change(crInsert);
    Change(crDelete);
    EXPECT_FALSE(list.FullUndoImpossible());
    Change(crPaste);
    ASSERT_EQ(list.ItemCount(), 2);
    EXPECT_EQ(list.Items(0).ChangeReason, crDelete);
    EXPECT_TRUE(list.FullUndoImpossible());

    list.SetMaxUndoActions(-5);
    EXPECT_EQ(list.MaxUndoActions(), 0);
    EXPECT_EQ(list.ItemCount(), 0);
    list.Clear();
    EXPECT_FALSE(list.FullUndoImpossible());
}

TEST_F(UndoFixture, TheCapDropsWholeStepsAndKeepsAStepLargerThanItself)
{
    list.SetMaxUndoActions(4);
    Change();
    list.BeginBlock();
    for (int i = 0; i < 3; ++i) Change();
    list.EndBlock();
    Change();  // five items: the first step goes, the block of three stays whole
    ASSERT_EQ(list.ItemCount(), 4);
    EXPECT_EQ(list.Items(0).ChangeNumber, list.Items(2).ChangeNumber);
    Change();  // now the block goes whole, not its first item alone
    ASSERT_EQ(list.ItemCount(), 2);
    EXPECT_NE(list.Items(0).ChangeNumber, list.Items(1).ChangeNumber);

    // A step larger than the cap is all the list keeps, with the group break after it.
    list.BeginBlock();
    for (int i = 0; i < 6; ++i) Change();
    list.EndBlock();
    list.AddGroupBreak();
    ASSERT_EQ(list.ItemCount(), 7);
    EXPECT_EQ(list.Items(0).ChangeNumber, list.Items(5).ChangeNumber);
    Change();  // the next change drops it whole
    EXPECT_EQ(list.ItemCount(), 2);
    EXPECT_TRUE(list.FullUndoImpossible());

    // Only a cap of 0 lets nothing stay.
    list.BeginBlock();
    for (int i = 0; i < 6; ++i) Change();
    list.EndBlock();
    list.SetMaxUndoActions(0);
    EXPECT_EQ(list.ItemCount(), 0);
}

TEST_F(UndoFixture, TheCapDropsABracketPairWithEverythingBetweenItsEnds)
{
    // Undo takes a bracket down to its begin whatever the numbers; the redo list holds the end first.
    for (const auto& [opening, closing] : {std::pair{crPasteBegin, crPasteEnd}, std::pair{crSpecial2End, crSpecial2Begin}}) {
        list.Clear();
        list.SetMaxUndoActions(4);
        Change(opening);
        Change();
        Change();
        Change(closing);
        Change(crDelete);
        ASSERT_EQ(list.ItemCount(), 1);
        EXPECT_EQ(list.LastChangeReason(), crDelete);
    }
    // An open bracket holds everything after it.
    list.Clear();
    Change();
    Change(crAutoCompleteBegin);
    for (int i = 0; i < 5; ++i) Change();
    ASSERT_EQ(list.ItemCount(), 6);
    EXPECT_EQ(list.Items(0).ChangeReason, crAutoCompleteBegin);
}

TEST_F(UndoFixture, TheCapLosesTheMarkOnceItDropsAnItemThatUndoNeedsToGetBackThere)
{
    // Marked on the empty list: any item dropped is needed.
    list.SetMaxUndoActions(2);
    for (int i = 0; i < 3; ++i) Change();
    while (list.PopItem()) {
    }
    EXPECT_FALSE(list.InitialState());
    list.SetInitialState(true);
    EXPECT_TRUE(list.InitialState());  // a save sets the mark again

    // Marked on an item: the items beneath it are not needed, and once the marked item itself is
    // dropped its text lies beneath all that is left, until one more is dropped.
    list.SetMaxUndoActions(3);
    Change();
    Change();
    list.SetInitialState(true);
    Change();
    Change();  // drops the first
    list.PopItem();
    list.PopItem();
    EXPECT_TRUE(list.InitialState());
    Change();
    Change();
    Change();  // drops the marked item
    ASSERT_EQ(list.ItemCount(), 3);
    list.PopItem();
    list.PopItem();
    list.PopItem();
    EXPECT_TRUE(list.InitialState());
    for (int i = 0; i < 4; ++i) Change();
    while (list.PopItem()) {
    }
    EXPECT_FALSE(list.InitialState());

    // Marked at the end of a step the cap drops whole: its text lies beneath what is left.
    list.SetMaxUndoActions(3);
    while (list.PopItem()) {
    }
    list.BeginBlock();
    Change();
    Change();
    list.EndBlock();
    list.SetInitialState(true);
    Change();
    Change();
    ASSERT_EQ(list.ItemCount(), 2);
    list.PopItem();
    list.PopItem();
    EXPECT_TRUE(list.InitialState());

    // Lowering the cap drops items the same way.
    list.SetInitialState(true);
    Change();
    list.SetMaxUndoActions(0);
    EXPECT_FALSE(list.InitialState());
}

TEST_F(UndoFixture, ALockedListRecordsNothing)
{
    list.Lock();
    list.Lock();
    list.Unlock();
    Change();
    list.AddGroupBreak();  // a break is no change: the lock does not hold it back
    EXPECT_EQ(list.LastChangeReason(), crGroupBreak);
    EXPECT_EQ(list.ItemCount(), 1);
    list.Unlock();
    list.Unlock();  // stays at 0
    Change();
    EXPECT_EQ(list.ItemCount(), 2);
}

TEST_F(UndoFixture, InitialStateMarkFollowsTheTopItem)
{
    EXPECT_TRUE(list.InitialState());
    list.SetInitialState(false);
    EXPECT_FALSE(list.InitialState());  // an empty list can be marked modified
    list.SetInitialState(true);
    Change();
    EXPECT_FALSE(list.InitialState());
    list.SetInitialState(true);
    EXPECT_TRUE(list.InitialState());
    list.PopItem();
    EXPECT_FALSE(list.InitialState());
    Change();
    list.SetInitialState(true);
    list.SetInitialState(false);
    EXPECT_FALSE(list.InitialState());
}

TEST_F(UndoFixture, PushPopPeekAndDeleteOwnTheirItems)
{
    EXPECT_EQ(list.PopItem(), nullptr);
    EXPECT_EQ(list.PeekItem(), nullptr);
    EXPECT_EQ(list.LastChangeReason(), crNothing);
    list.PushItem(nullptr);
    EXPECT_EQ(list.ItemCount(), 0);
    auto item = std::make_unique<TNibEditUndoItem>();
    item->ChangeReason = crCaret;
    list.PushItem(std::move(item));
    EXPECT_EQ(added, 1);
    Change();
    list.DeleteItem(0);
    EXPECT_EQ(list.LastChangeReason(), crInsert);
    EXPECT_EQ(list.ItemCount(), 1);
    EXPECT_THROW(list.DeleteItem(1), std::out_of_range);
}

TEST_F(UndoFixture, AssignCopiesItemsAndCountersButNotTheMark)
{
    Change();
    list.BeginBlock();
    Change();
    list.SetMaxUndoActions(50);
    list.SetInitialState(true);

    TNibEditUndoList copy;
    copy.Assign(list);
    ASSERT_EQ(copy.ItemCount(), 2);
    EXPECT_EQ(copy.Items(1).ChangeNumber, 2);
    EXPECT_NE(&copy.Items(1), &list.Items(1));
    EXPECT_EQ(copy.BlockCount(), 1);
    EXPECT_EQ(copy.BlockChangeNumber(), 2);
    EXPECT_EQ(copy.MaxUndoActions(), 50);
    EXPECT_FALSE(copy.InitialState());
    copy.EndBlock();
    copy.AddChange(crInsert, {}, {}, u"", smNormal);
    EXPECT_EQ(copy.PeekItem()->ChangeNumber, 3);
}

}  // namespace
