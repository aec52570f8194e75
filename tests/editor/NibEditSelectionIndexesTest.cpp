#include <gtest/gtest.h>

#include <climits>
#include "editor/EditorFixture.h"

namespace {

class SelectionIndexes : public EditorTest {
protected:
    void ExpectSelection(TBufferCoord begin, TBufferCoord end, TBufferCoord caret)
    {
        EXPECT_EQ(edit.BlockBegin(), begin);
        EXPECT_EQ(edit.BlockEnd(), end);
        EXPECT_EQ(edit.CaretXY(), caret);
    }
};

TEST_F(SelectionIndexes, IndexesCountEachLineBreakAsTwo)
{
    SetLines({u"ab", u"cd", u"ef"});
    for (bool backwards : {false, true}) {
        if (backwards) edit.SetCaretAndSelection({2, 1}, {2, 2}, {2, 1});
        else Select({2, 1}, {2, 2});
        EXPECT_EQ(edit.SelStart(), 1);
        EXPECT_EQ(edit.SelEnd(), 5);
        EXPECT_EQ(edit.SelLength(), 4);
        EXPECT_EQ(edit.SelText(), u"b\r\nc");
    }
    edit.SetCaretXY({2, 3});
    EXPECT_EQ(edit.SelStart(), 9);
    EXPECT_EQ(edit.SelEnd(), 9);
    EXPECT_EQ(edit.SelLength(), 0);
}

TEST_F(SelectionIndexes, SettingThemSelectsByIndex)
{
    SetLines({u"ab", u"cd", u"ef"});
    edit.SetSelStart(4);
    ExpectSelection({1, 2}, {1, 2}, {1, 2});
    edit.SetSelLength(5);
    ExpectSelection({1, 2}, {2, 3}, {2, 3});
    EXPECT_EQ(edit.SelText(), u"cd\r\ne");

    edit.SetSelStart(9);
    edit.SetSelLength(-5);
    ExpectSelection({1, 2}, {2, 3}, {1, 2});
    // Further back than the text reaches: to its start.
    edit.SetSelLength(-20);
    ExpectSelection({1, 1}, {1, 2}, {1, 1});
    EXPECT_EQ(edit.SelText(), u"ab\r\n");
    // Further on than the text reaches, however far: to its end.
    edit.SetSelLength(INT_MAX);
    ExpectSelection({1, 1}, {3, 3}, {3, 3});

    edit.SetSelStart(0);
    edit.SetSelEnd(2);
    EXPECT_EQ(edit.SelText(), u"ab");
}

TEST_F(SelectionIndexes, ALengthCountsFromTheSelectionStartWhereverTheCaretIs)
{
    SetLines({u"ab", u"cd", u"ef"});
    // Made forwards, so the caret stands at the selection's end.
    Select({2, 1}, {2, 2});
    ASSERT_EQ(edit.CaretXY(), BufferCoord(2, 2));
    edit.SetSelLength(3);
    ExpectSelection({2, 1}, {1, 2}, {1, 2});
    EXPECT_EQ(edit.SelText(), u"b\r\n");
    // Made backwards: the caret stands at the selection's start.
    edit.SetCaretAndSelection({1, 2}, {1, 3}, {1, 2});
    edit.SetSelLength(-3);
    ExpectSelection({2, 1}, {1, 2}, {2, 1});
    EXPECT_EQ(edit.SelLength(), 3);
}

TEST_F(SelectionIndexes, TheWordUnderThePointerIsTheOneAtItsCharacter)
{
    SetLines({u"first line", u"int foo_bar + x", u"\tword"});
    // The text starts 2 pixels right of the 30-pixel gutter; cells are 8 x 16.
    auto at = [](int column, int row) { return TPoint{32 + 8 * (column - 1) + 3, 16 * (row - 1) + 5}; };
    struct Case {
        std::optional<TPoint> Pointer;
        bool Inside;
        TBufferCoord Position;
        const char16_t* Word;
    };
    const Case cases[] = {
        {at(5, 2), true, {5, 2}, u"foo_bar"},
        {at(11, 2), true, {11, 2}, u"foo_bar"},
        {at(12, 2), true, {12, 2}, u""},  // on the blank
        {at(3, 3), true, {1, 3}, u""},    // inside the tab
        {at(9, 3), true, {2, 3}, u"word"},
        {at(1, 5), true, {1, 5}, u""},    // below the text
        {TPoint{-1, 5}, false, {}, u""},
        {TPoint{193, 5}, false, {}, u""},
        {std::nullopt, false, {}, u""},
    };
    for (const Case& c : cases) {
        host->Pointer = c.Pointer;
        TBufferCoord position{};
        EXPECT_EQ(edit.GetPositionOfMouse(position), c.Inside);
        if (c.Inside) {
            EXPECT_EQ(position, c.Position);
        }
        EXPECT_EQ(edit.WordAtMouse(), c.Word);
    }
}

}  // namespace
