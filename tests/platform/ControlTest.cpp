#include <gtest/gtest.h>

#include <string>
#include "platform/Control.h"
#include "platform/Dialogs.h"
#include "support/ScriptedDialogs.h"

namespace {

class FocusLog : public Control {
public:
    void DoEnter() override { Log += "enter "; }
    void DoExit() override { Log += "exit "; }
    void Resize() override { Log += "resize "; }
    std::string Log;
};

TEST(Control, WithoutHostRecordsStateAndReportsFocus)
{
    FocusLog c;
    c.SetBounds(0, 0, 100, 50);
    c.SetBounds(10, 10, 100, 50);
    c.SetFocus();
    c.SetFocus();
    c.FocusChanged(false);
    EXPECT_EQ(c.Log, "resize enter exit ");
    c.SetCursorShape(TCursorShape::crIBeam);
    c.SetCaret(true, {1, 2, 3, 18});
    c.SetCapture(true);
    EXPECT_EQ(c.CursorShape(), TCursorShape::crIBeam);
    EXPECT_TRUE(c.CaretVisible());
    EXPECT_EQ(c.CaretRect(), (TRect{1, 2, 3, 18}));
    EXPECT_TRUE(c.Captured());
}

TEST(Control, ScrollInfoIsKeptInRangeAsScrollBarsDo)
{
    struct Case {
        TScrollInfo in;
        int page, position;
    };
    const Case cases[] = {
        {{0, 99, 10, 50, true}, 10, 50},
        {{0, 99, 10, 95, true}, 10, 90},
        {{0, 99, 10, -5, true}, 10, 0},
        {{0, 9, 50, 3, true}, 10, 0},
        {{0, 99, 0, 120, true}, 0, 99},
    };
    for (const Case& c : cases) {
        Control control;
        control.SetScrollInfo(TScrollBarKind::sbVertical, c.in);
        const TScrollInfo& out = control.ScrollInfo(TScrollBarKind::sbVertical);
        EXPECT_EQ(out.Page, c.page) << c.in.Page << " " << c.in.Position;
        EXPECT_EQ(out.Position, c.position) << c.in.Page << " " << c.in.Position;
        EXPECT_EQ(control.ScrollInfo(TScrollBarKind::sbHorizontal).Max, 0);
    }
}

TEST(Control, ToolkitScrollRangeEndsOnePageBeforeMax)
{
    EXPECT_EQ(ToolkitScrollRange({1, 1000, 10, 5, true}), (TToolkitScrollRange{1, 991, 10}));
    EXPECT_EQ(ToolkitScrollRange({0, 32767, 3, 0, true}), (TToolkitScrollRange{0, 32765, 3}));
    EXPECT_EQ(ToolkitScrollRange({1, 5, 10, 1, true}), (TToolkitScrollRange{1, 1, 10}));
    EXPECT_EQ(ToolkitScrollRange({0, 99, 0, 0, true}), (TToolkitScrollRange{0, 99, 1}));
}

TEST(Dialogs, ShowMessageUsesTheApplicationTitleAndOk)
{
    ScriptedDialogs dialogs;
    SetApplicationTitle(u"Tavlo Terminal");
    ShowMessage(u"Something failed");
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Caption, u"Tavlo Terminal");
    EXPECT_EQ(dialogs.Questions[0].Text, u"Something failed");
    EXPECT_EQ(dialogs.Questions[0].Buttons, TMsgButtons::OK);

    dialogs.Answers.push_back(TModalResult::mrCancel);
    EXPECT_EQ(dialogs.MessageBox(u"c", u"t", TMsgDlgType::mtConfirmation, TMsgButtons::YesNoCancel),
              TModalResult::mrCancel);
    EXPECT_EQ(dialogs.MessageBox(u"c", u"t", TMsgDlgType::mtConfirmation, TMsgButtons::RetryCancel),
              TModalResult::mrRetry) << "unscripted questions get the first button";
    SetApplicationTitle(u"");
}

} // namespace
