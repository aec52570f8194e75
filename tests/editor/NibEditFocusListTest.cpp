#include <gtest/gtest.h>

#include "editor/EditorFixture.h"

namespace {

/// A control in a window of its own that gives it the focus when asked.
struct FocusTaker {
    Control control;
    FakeControlHost host{control, 10, 10, false};
};

TEST_F(EditorTest, SetFocusGoesToTheNewestFocusListControlThatCanTakeIt)
{
    FocusTaker a;
    FocusTaker b;
    edit.FocusChanged(false);
    edit.AddFocusControl(&a.control);
    edit.AddFocusControl(&b.control);
    edit.SetFocus();
    EXPECT_TRUE(b.control.Focused());
    EXPECT_FALSE(a.control.Focused());
    EXPECT_FALSE(edit.Focused());

    // The newest one hidden: the editor takes the focus itself.
    b.control.FocusChanged(false);
    b.control.SetVisible(false);
    edit.SetFocus();
    EXPECT_FALSE(b.control.Focused());
    EXPECT_TRUE(edit.Focused());

    edit.FocusChanged(false);
    edit.RemoveFocusControl(&b.control);
    edit.SetFocus();
    EXPECT_TRUE(a.control.Focused());
    EXPECT_FALSE(edit.Focused());

    edit.RemoveFocusControl(&a.control);
    edit.SetFocus();
    EXPECT_TRUE(edit.Focused());
}

TEST_F(EditorTest, AClickFocusesTheEditorPastItsFocusList)
{
    FocusTaker popup;
    edit.FocusChanged(false);
    edit.AddFocusControl(&popup.control);
    edit.MouseDown(TMouseButton::mbLeft, ssLeft, 60, 5);
    edit.MouseUp(TMouseButton::mbLeft, ssLeft, 60, 5);
    EXPECT_TRUE(edit.Focused());
    EXPECT_FALSE(popup.control.Focused());
}

}  // namespace
