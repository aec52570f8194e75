#include <gtest/gtest.h>

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

}  // namespace
