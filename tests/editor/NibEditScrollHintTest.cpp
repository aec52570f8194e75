#include <gtest/gtest.h>

#include <cmath>

#include "editor/EditorFixture.h"

namespace {

class ScrollHint : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        std::vector<UnicodeString> lines;
        for (int i = 1; i <= 100; ++i) lines.push_back(u"line " + IntToStr(i));
        SetLines(lines);
    }
    void Drag(int position) { edit.Scroll(TScrollBarKind::sbVertical, TScrollCode::scTrack, position); }
};

TEST_F(ScrollHint, ADraggedThumbNamesTheTopLineBesideTheBar)
{
    Drag(40);
    EXPECT_EQ(edit.TopLine(), 40);
    ASSERT_TRUE(host->HintShown);
    EXPECT_EQ(host->HintText, u"Top Line: 40");
    EXPECT_EQ(host->HintColor, edit.ScrollHintColor());
    // Right-aligned 4 pixels in from the client's edge, 10 pixels down.
    const int width = 12 * 8 + 6;
    EXPECT_EQ(host->HintRect, (TRect{192 - 4 - width, 10, 192 - 4, 10 + 22}));

    edit.SetScrollHintFormat(shfTopToBottom);
    Drag(91);
    EXPECT_EQ(host->HintText, u"91 - 100");  // ten lines in the window, the last cut at the text's end

    edit.Scroll(TScrollBarKind::sbVertical, TScrollCode::scEndScroll, 91);
    EXPECT_FALSE(host->HintShown);
}

TEST_F(ScrollHint, WithHintFollowsItStandsBesideTheThumb)
{
    edit.SetOptions(TNibEditorOptions(edit.Options()).Include(eoScrollHintFollows));
    const int barMax = edit.ScrollInfo(TScrollBarKind::sbVertical).Max;
    Drag(barMax / 2);
    const int travel = 160 - 2 * ScrollBarSize;
    const int expected = int(std::lround(double(barMax / 2) / barMax * travel)) + ScrollBarSize + 22 / 2;
    EXPECT_EQ(host->HintRect.Top, expected);

    edit.Scroll(TScrollBarKind::sbVertical, TScrollCode::scEndScroll, 0);
    edit.SetOptions(TNibEditorOptions(edit.Options()).Exclude(eoShowScrollHint));
    Drag(5);
    EXPECT_FALSE(host->HintShown);
}

}  // namespace
