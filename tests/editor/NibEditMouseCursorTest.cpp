#include <gtest/gtest.h>

#include <functional>

#include "editor/EditorFixture.h"

namespace {

/// A mouse-cursor handler that turns the cursor into a hand over line 2.
struct HandOverLine2 {
    void Cursor(TObject*, const TBufferCoord& aLineCharPos, TCursorShape& aCursor)
    {
        seen = aCursor;
        if (aLineCharPos.Line == 2) aCursor = TCursorShape::crHandPoint;
    }
    TCursorShape seen = TCursorShape::crDefault;
};

TEST_F(EditorTest, TheMouseCursorFollowsGutterSelectionEventAndHandlers)
{
    SetLines({u"hello world", u"second"});
    Select({1, 1}, {6, 1});
    edit.Gutter().SetCursor(TCursorShape::crSizeAll);
    // The text starts 2 pixels right of the 30-pixel gutter; cells are 8 x 16.
    auto moveTo = [&](int column, int row) {
        edit.MouseMove(0, 32 + 8 * (column - 1) + 3, 16 * (row - 1) + 5);
        return edit.CursorShape();
    };
    EXPECT_EQ(moveTo(2, 1), TCursorShape::crArrow);  // on the selection: it can be dragged
    EXPECT_EQ(moveTo(8, 1), TCursorShape::crIBeam);
    edit.MouseMove(0, 5, 5);
    EXPECT_EQ(edit.CursorShape(), TCursorShape::crSizeAll);

    edit.SetOptions(TNibEditorOptions(edit.Options()).Exclude(eoDragDropEditing));
    EXPECT_EQ(moveTo(2, 1), TCursorShape::crIBeam);

    HandOverLine2 handler;
    edit.AddMouseCursorHandler(TNibMouseCursorHandler::Bind<&HandOverLine2::Cursor>(&handler));
    edit.OnMouseCursor = [](TObject*, const TBufferCoord& p, TCursorShape& c) {
        if (p.Char == 3) c = TCursorShape::crNoDrop;
    };
    EXPECT_EQ(moveTo(3, 2), TCursorShape::crHandPoint);
    EXPECT_EQ(handler.seen, TCursorShape::crNoDrop);  // the event first, then the handlers
    EXPECT_EQ(moveTo(3, 1), TCursorShape::crNoDrop);
    edit.RemoveMouseCursorHandler(TNibMouseCursorHandler::Bind<&HandOverLine2::Cursor>(&handler));
}

TEST_F(EditorTest, OverTheTextTheControlsOwnCursorShows)
{
    SetLines({u"hello world"});
    Select({1, 1}, {6, 1});
    EXPECT_EQ(edit.Cursor(), TCursorShape::crIBeam);
    edit.SetCursor(TCursorShape::crHandPoint);
    struct Case {
        int X;
        TCursorShape Shown;
    };
    const Case cases[] = {
        {32 + 8 * 8 + 3, TCursorShape::crHandPoint},  // on the text
        {32 + 8 * 2 + 3, TCursorShape::crArrow},      // on the selection, which can be dragged
        {5, TCursorShape::crDefault},                 // on the gutter: its own
    };
    for (const Case& c : cases) {
        edit.MouseMove(0, c.X, 5);
        EXPECT_EQ(host->Cursor, c.Shown) << c.X;
    }
}

TEST_F(EditorTest, ADragShowsACopyWhileCtrlIsHeldAndAMoveOtherwise)
{
    SetLines({u"abc def ghi", u"second line"});
    Select({5, 1}, {8, 1});
    auto x = [](int column) { return 32 + 8 * (column - 1) + 3; };
    edit.MouseDown(TMouseButton::mbLeft, ssLeft, x(6), 5);
    edit.MouseMove(ssLeft, x(9), 5);
    ASSERT_TRUE(edit.Dragging());
    struct Step {
        const char* What;
        std::function<void()> Do;
        TCursorShape Shown;
    };
    std::uint16_t key = 0;
    const Step steps[] = {
        {"move", [&] { edit.MouseMove(ssLeft, x(10), 21); }, TCursorShape::crDrag},
        {"move with Ctrl", [&] { edit.MouseMove(ssLeft | ssCtrl, x(3), 21); }, TCursorShape::crMultiDrag},
        {"Ctrl let go", [&] { edit.KeyUp(key = VK::CONTROL, ssLeft); }, TCursorShape::crDrag},
        {"Ctrl pressed", [&] { edit.KeyDown(key = VK::CONTROL, ssLeft | ssCtrl); }, TCursorShape::crMultiDrag},
        {"drop", [&] { edit.MouseUp(TMouseButton::mbLeft, ssCtrl, x(3), 21); }, TCursorShape::crIBeam},
    };
    for (const Step& s : steps) {
        s.Do();
        EXPECT_EQ(host->Cursor, s.Shown) << s.What;
    }
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"abc def ghi", u"sedefcond line"}));

    // From another editor: the same cursors.
    TNibEdit other;
    FakeControlHost otherHost(other, 192, 160);
    other.Lines().Add(u"xyz");
    other.SetCaretAndSelection({3, 1}, {1, 1}, {3, 1});
    bool accept = false;
    edit.DragOver(&other, x(2), 5, dsDragMove, ssCtrl, accept);
    EXPECT_EQ(host->Cursor, TCursorShape::crMultiDrag);
    edit.DragOver(&other, x(2), 5, dsDragMove, 0, accept);
    EXPECT_EQ(host->Cursor, TCursorShape::crDrag);
    EXPECT_TRUE(accept);
}

}  // namespace
