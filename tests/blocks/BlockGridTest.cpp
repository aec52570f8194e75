#include "BlockManagerFixture.h"
#include <algorithm>

namespace {

/// The background and text colours a row's text cell was drawn with, from the recorded calls.
struct DrawnCell {
    TColor Background = clNone;
    TColor Text = clNone;
    UnicodeString String;
    int X = 0;
};

DrawnCell CellAt(const RecordingCanvas& canvas, const TRect& rect)
{
    DrawnCell cell;
    for (const CanvasCall& call : canvas.Calls) {
        if (call.What == CanvasCall::Kind::FillRect && call.Rect == rect) cell.Background = call.Color;
        if (call.What == CanvasCall::Kind::TextOut && call.Point.Y >= rect.Top && call.Point.Y < rect.Bottom &&
            call.Point.X >= rect.Left && call.Point.X < rect.Right) {
            cell.Text = call.Color;
            cell.String = call.Text;
            cell.X = call.Point.X;
        }
    }
    return cell;
}

}  // namespace

TEST(BlockStatus, PositionOfTheCurrentRow)
{
    EXPECT_EQ(GetBlockPosition(0, 0), (TBlockPosition{0, 0, 0, 0, 0}));
    EXPECT_EQ(GetBlockPosition(0, 33), (TBlockPosition{1, 1, 3, 33, 1}));
    EXPECT_EQ(GetBlockPosition(16, 33), (TBlockPosition{17, 2, 3, 33, 1}));
    EXPECT_EQ(GetBlockPosition(31, 32), (TBlockPosition{32, 2, 2, 32, 16}));
    EXPECT_EQ(NumberOrDashes(0), u"--");
    EXPECT_EQ(NumberOrDashes(-3), u"--");
    EXPECT_EQ(NumberOrDashes(12), u"12");
}

TEST_F(BlockManagerTest, StatusBarFollowsTheCurrentRow)
{
    manager.UpdateBlockStatus();
    manager.ShowBlockFileName();
    for (int panel : {spLine, spLines, spBlock, spBlocks, spLineInBlock}) EXPECT_EQ(status[panel], u"--") << panel;
    EXPECT_EQ(status[spFileName], u"(none)");

    SetNumberedLines(33);
    manager.DrawGrid1.SetRow(16);
    EXPECT_EQ(status[spLine], u"17");
    EXPECT_EQ(status[spLines], u"33");
    EXPECT_EQ(status[spBlock], u"2");
    EXPECT_EQ(status[spBlocks], u"3");
    EXPECT_EQ(status[spLineInBlock], u"1");

    // Keys and clicks move the row and the status with it.
    std::uint16_t down = VK::DOWN;
    manager.DrawGrid1.KeyDown(down, 0);
    EXPECT_EQ(status[spLine], u"18");
    manager.DrawGrid1.SetTopRow(0);
    manager.DrawGrid1.MouseDown(TMouseButton::mbLeft, 0, 100, 2 * (manager.DrawGrid1.DefaultRowHeight() + 1) + 3);
    manager.DrawGrid1.MouseUp(TMouseButton::mbLeft, 0, 100, 0);
    EXPECT_EQ(status[spLine], u"3");
}

TEST_F(BlockManagerTest, CellsShowBlockColoursAndOverLongLines)
{
    TStringList lines;
    for (int i = 0; i < 18; ++i) lines.Add(IntToStr(i + 1));
    lines.SetString(17, UnicodeString(65, u'L'));
    SetLines(lines);
    manager.DrawGrid1.SetTopRow(10);
    manager.DrawGrid1.SetRow(10);
    RecordingCanvas canvas;
    manager.DrawGrid1.Paint(canvas);

    const DrawnCell selected = CellAt(canvas, manager.DrawGrid1.CellRect(1, 10));
    EXPECT_EQ(selected.Background, 0xA4A0A0);
    EXPECT_EQ(selected.String, u"11");
    const DrawnCell even = CellAt(canvas, manager.DrawGrid1.CellRect(1, 15));
    EXPECT_EQ(even.Background, 0xF0CAA6);
    EXPECT_EQ(even.Text, clBlack);
    EXPECT_EQ(even.X, manager.DrawGrid1.CellRect(1, 15).Left + 2);
    EXPECT_EQ(CellAt(canvas, manager.DrawGrid1.CellRect(1, 16)).Background, 0xC0DCC0);
    const DrawnCell number = CellAt(canvas, manager.DrawGrid1.CellRect(0, 16));
    EXPECT_EQ(number.Background, 0xC0DCC0);
    EXPECT_EQ(number.String, u"17");
    EXPECT_EQ(number.X, manager.DrawGrid1.CellRect(0, 16).Right - 4 - 2 * RecordingCanvas::CharWidth);
    const DrawnCell overLong = CellAt(canvas, manager.DrawGrid1.CellRect(1, 17));
    EXPECT_EQ(overLong.Background, 0x0000FF);
    EXPECT_EQ(overLong.Text, 0xFFFFFF);

    // Shortened to 64 characters, the line takes its block's colour again.
    manager.BlockEditData.SetString(17, UnicodeString(64, u'L'));
    RecordingCanvas again;
    manager.DrawGrid1.Paint(again);
    EXPECT_EQ(CellAt(again, manager.DrawGrid1.CellRect(1, 17)).Background, 0xC0DCC0);
}

TEST_F(BlockManagerTest, AnEmptyListShowsOneBlankRow)
{
    RecordingCanvas canvas;
    manager.DrawGrid1.Paint(canvas);
    EXPECT_EQ(manager.DrawGrid1.RowCount(), 1);
    EXPECT_TRUE(canvas.Of(CanvasCall::Kind::TextOut).empty());
}

TEST_F(BlockManagerTest, ShowGridRowBringsAFarRowToTheMiddle)
{
    SetNumberedLines(100);
    const int visible = manager.DrawGrid1.VisibleRowCount();
    manager.ShowGridRow(80);
    EXPECT_EQ(manager.DrawGrid1.TopRow(), 80 - visible / 2);
    EXPECT_EQ(manager.DrawGrid1.Row(), 80);
    EXPECT_EQ(manager.DrawGrid1.Selection(), (TGridRect{1, 80, 1, 80}));

    manager.ShowGridRow(81);
    EXPECT_EQ(manager.DrawGrid1.TopRow(), 80 - visible / 2);
    EXPECT_EQ(manager.DrawGrid1.Row(), 81);
    manager.ShowGridRow(100);
    EXPECT_EQ(manager.DrawGrid1.Row(), 81);
    EXPECT_TRUE(manager.IsGridRowVisible(-1));
    EXPECT_FALSE(manager.IsGridRowVisible(0));
}

TEST_F(BlockManagerTest, LayoutSizesTheColumnsFromTheFont)
{
    RecordingCanvas canvas;
    const int width = manager.LayoutBlockGrid(canvas);
    EXPECT_EQ(manager.DrawGrid1.ColWidths(0), 5 * RecordingCanvas::CharWidth + 4);
    EXPECT_EQ(manager.DrawGrid1.ColWidths(1), 64 * RecordingCanvas::CharWidth + 5);
    EXPECT_EQ(width, manager.DrawGrid1.ColWidths(0) + manager.DrawGrid1.ColWidths(1) + 20);
}

TEST(BlockGrid, RangeSelectionByKeysAndMouse)
{
    TBlockGrid grid;
    grid.SetBounds(0, 0, 600, 5 * (grid.DefaultRowHeight() + 1));
    grid.SetRowCount(50);
    std::uint16_t key = VK::DOWN;
    grid.KeyDown(key, ssShift);
    key = VK::DOWN;
    grid.KeyDown(key, ssShift);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 0, 1, 2}));
    EXPECT_EQ(grid.Row(), 2);
    key = VK::NEXT;
    grid.KeyDown(key, 0);
    EXPECT_EQ(grid.Row(), 7);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 7, 1, 7}));
    EXPECT_EQ(grid.TopRow(), 3);
    EXPECT_EQ(grid.ScrollInfo(TScrollBarKind::sbVertical).Position, 3);

    const int step = grid.DefaultRowHeight() + 1;
    grid.MouseDown(TMouseButton::mbLeft, 0, 100, step / 2);
    grid.MouseMove(ssLeft, 100, 3 * step + 1);
    grid.MouseUp(TMouseButton::mbLeft, 0, 100, 3 * step + 1);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 3, 1, 6}));

    grid.SetRowCount(5);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 3, 1, 4}));
    grid.SetRowCount(0);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Row(), 0);
}

TEST(BlockGrid, TheInPlaceEditorEditsAndPastesOneLine)
{
    MemoryClipboard clipboard;
    TBlockGrid grid;
    grid.SetRowCount(3);
    UnicodeString committed = u"none";
    grid.OnGetEditText = [](int, int, UnicodeString& value) { value = u"abc"; };
    grid.OnSetEditText = [&](int, int, const UnicodeString& value) { committed = value; };
    auto key = [&](std::uint16_t k, TShiftState shift = 0) { grid.KeyDown(k, shift); };

    grid.DblClick();
    ASSERT_TRUE(grid.EditorMode());
    key(VK::LEFT, ssShift);
    key(VK::LEFT, ssShift);
    key('C', ssCtrl);
    EXPECT_EQ(clipboard.Text(), u"bc");
    key(VK::HOME);
    key(VK::DELETE_);
    clipboard.SetText(u"XY\r\nsecond line");
    key('V', ssCtrl);
    EXPECT_EQ(grid.EditText(), u"XYbc");
    EXPECT_EQ(committed, u"none");
    key(VK::ESCAPE);
    EXPECT_EQ(committed, u"abc");

    char16_t typed = u'Q';
    grid.KeyPress(typed);
    EXPECT_EQ(grid.EditText(), u"Q");
    grid.FocusChanged(true);
    grid.FocusChanged(false);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(committed, u"Q");
}
