#include "editor/EditorFixture.h"
#include "platform/ManualLoop.h"

namespace {

constexpr std::uint16_t VkNumpad0 = 96;

/// Input through the control's virtuals, with a loop whose clock drives the drag-scroll timer.
class InputTest : public EditorTest {
protected:
    InputTest() { MainLoop::SetCurrent(&loop); }
    ~InputTest() override { MainLoop::SetCurrent(nullptr); }
    /// The pixel inside the cell of a display column and row.
    static int X(int column) { return 32 + (column - 1) * 8 + 1; }
    static int Y(int row) { return (row - 1) * 16 + 1; }
    void Key(std::uint16_t key, TShiftState shift = 0, char16_t ch = u'\0')
    {
        edit.KeyDown(key, shift);
        if (ch) edit.KeyPress(ch);
        edit.KeyUp(key, shift);
    }
    void Click(int column, int row, TShiftState shift = 0)
    {
        edit.MouseDown(TMouseButton::mbLeft, shift | ssLeft, X(column), Y(row));
        edit.MouseUp(TMouseButton::mbLeft, shift, X(column), Y(row));
    }

    ManualLoop loop;
};

} // namespace

TEST_F(InputTest, ABoundKeyRunsItsCommandAndDropsItsCharacter)
{
    SetLines({u"abc"});
    edit.AddKey(ecSelectAll, 'Q', 0);
    Key('Q', 0, u'q');
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"abc"});
    EXPECT_EQ(edit.SelText(), u"abc");
    Key('X', 0, u'x');  // unbound: its character is typed
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"x"});
}

TEST_F(InputTest, AltKeypadCodesAboveTheByteRangeAreTypedOnceAndTheNextKeyStillCounts)
{
    for (std::uint16_t digit : {9, 7, 3}) {
        std::uint16_t key = VkNumpad0 + digit;
        edit.KeyDown(key, ssAlt);
        key = VkNumpad0 + digit;
        edit.KeyUp(key, ssAlt);
    }
    std::uint16_t alt = VK::MENU;
    edit.KeyUp(alt, 0);
    Key('A', 0, u'a');
    EXPECT_EQ(edit.Text(), u"\u03CDa");

    for (std::uint16_t digit : {6, 5}) {
        std::uint16_t key = VkNumpad0 + digit;
        edit.KeyUp(key, ssAlt);
    }
    alt = VK::MENU;
    edit.KeyUp(alt, 0);  // left to the platform, which sends the character itself
    EXPECT_EQ(edit.Text(), u"\u03CDa");
}

TEST_F(InputTest, ClicksPlaceTheCaretShiftExtendsAndAltStartsAColumnSelection)
{
    SetLines({u"one two three", u"four five"});
    Click(5, 1);
    EXPECT_EQ(edit.CaretXY(), BufferCoord(5, 1));
    EXPECT_FALSE(edit.SelAvail());
    Click(3, 2, ssShift);
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(5, 1));
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(3, 2));

    TNibEditorOptions options = edit.Options();
    edit.SetOptions(options.Include(eoAltSetsColumnMode));
    Click(2, 1, ssAlt);
    EXPECT_EQ(edit.SelectionMode(), smColumn);
    Click(2, 1);
    EXPECT_EQ(edit.SelectionMode(), smNormal);
}

TEST_F(InputTest, APressOnTheSelectionIsAClickUntilTheMouseMovesTheDragDistance)
{
    SetLines({u"one two three"});
    Select({5, 1}, {8, 1});
    edit.MouseDown(TMouseButton::mbLeft, ssLeft, X(6), Y(1));
    edit.MouseMove(ssLeft, X(6) + TCustomNibEdit::DragWidth - 1, Y(1));
    EXPECT_EQ(edit.SelText(), u"two");  // below the threshold nothing changes
    EXPECT_FALSE(edit.Dragging());
    edit.MouseUp(TMouseButton::mbLeft, 0, X(6), Y(1));
    EXPECT_FALSE(edit.SelAvail());
    EXPECT_EQ(edit.CaretXY(), BufferCoord(6, 1));

    Select({5, 1}, {8, 1});
    edit.MouseDown(TMouseButton::mbLeft, ssLeft, X(6), Y(1));
    edit.MouseMove(ssLeft, X(6) + TCustomNibEdit::DragWidth, Y(1));
    EXPECT_TRUE(edit.Dragging());
    EXPECT_EQ(edit.SelText(), u"two");
}

TEST_F(InputTest, DraggingBelowTheTextScrollsByTheDistanceAndByPagesWithShift)
{
    std::vector<UnicodeString> lines;
    for (int i = 1; i <= 100; ++i) lines.push_back(u"line");
    SetLines(lines);
    edit.MouseDown(TMouseButton::mbLeft, ssLeft, X(1), Y(1));
    const int bottom = 10 * 16;
    edit.MouseMove(ssLeft, X(3), bottom + 2 * 16 + 5);
    EXPECT_EQ(edit.ScrollDeltaY(), 3);
    EXPECT_EQ(edit.ScrollDeltaX(), 0);
    ASSERT_TRUE(edit.DragScrolling());
    loop.AdvanceMs(100);
    EXPECT_EQ(edit.TopLine(), 4);
    EXPECT_EQ(edit.CaretY(), 13);
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(1, 1));
    edit.MouseMove(ssLeft | ssShift, X(3), bottom + 5);
    EXPECT_EQ(edit.ScrollDeltaY(), 1);
    loop.AdvanceMs(100);
    EXPECT_EQ(edit.TopLine(), 14);
    edit.MouseMove(ssLeft, 10, Y(2));  // left of the text: over the gutter
    EXPECT_EQ(edit.ScrollDeltaX(), -3);
    edit.MouseMove(ssLeft, X(3), Y(2));
    EXPECT_FALSE(edit.DragScrolling());
    edit.MouseUp(TMouseButton::mbLeft, 0, X(3), Y(2));
    EXPECT_FALSE(edit.DragScrolling());
}

TEST_F(InputTest, RightClickInsideTheSelectionKeepsIt)
{
    SetLines({u"one two"});
    TNibEditorOptions options = edit.Options();
    edit.SetOptions(options.Include(eoRightMouseMovesCursor));
    Select({1, 1}, {4, 1});
    edit.MouseDown(TMouseButton::mbRight, ssRight, X(2), Y(1));
    edit.MouseUp(TMouseButton::mbRight, 0, X(2), Y(1));
    EXPECT_EQ(edit.SelText(), u"one");
    edit.MouseDown(TMouseButton::mbRight, ssRight, X(6), Y(1));
    EXPECT_FALSE(edit.SelAvail());
    EXPECT_EQ(edit.CaretXY(), BufferCoord(6, 1));
}

TEST_F(InputTest, GutterClicksNameTheLineAndTheMarkUnderTheMouse)
{
    SetLines({u"a", u"b"});
    edit.SetBookMark(2, 1, 2);
    int line = 0;
    TNibEditMark* mark = nullptr;
    edit.OnGutterClick = [&](TObject*, TMouseButton, int, int, int l, TNibEditMark* m) {
        line = l;
        mark = m;
    };
    const int offset = edit.BookMarkOptions().Xoffset();
    edit.MouseDown(TMouseButton::mbLeft, ssLeft, offset - 1, Y(2));
    edit.MouseUp(TMouseButton::mbLeft, 0, offset - 1, Y(2));
    EXPECT_EQ(line, 2);
    EXPECT_EQ(mark, edit.BookMark(2));
    edit.MouseDown(TMouseButton::mbLeft, ssLeft, offset + 1, Y(2));
    edit.MouseUp(TMouseButton::mbLeft, 0, offset + 1, Y(2));
    EXPECT_EQ(mark, nullptr);
}
