#include <gtest/gtest.h>

#include "editor/NibEditMiscProcs.h"
#include "support/RecordingCanvas.h"

namespace {

TEST(NibEditMiscProcs, ClampSwapAndTextOrder)
{
    EXPECT_EQ(ClampInt(5, 1, 3), 3);
    EXPECT_EQ(ClampInt(-5, 1, 3), 1);
    EXPECT_EQ(ClampInt(2, 1, 3), 2);
    EXPECT_EQ(ClampInt(2, 4, 3), 4);  // Min wins over Max
    int a = 1, b = 2;
    SwapInt(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(MinPoint({5, 1}, {1, 2}), (TPoint{5, 1}));
    EXPECT_EQ(MinPoint({5, 2}, {1, 2}), (TPoint{1, 2}));
}

TEST(NibEditMiscProcs, FindFirstTabCountsTheCharactersBeforeIt)
{
    int count = -1;
    EXPECT_TRUE(FindFirstTab(u"ab\tc\t", count));
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(FindFirstTab(u"abc", count));
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(FindFirstTab({}, count));
    EXPECT_EQ(count, 0);
}

TEST(NibEditMiscProcs, ExpandersWriteTabRunsUpToTheNextStop)
{
    struct Case {
        std::u16string_view Line;
        int TabWidth;
        std::u16string_view Expanded;
    };
    const Case cases[] = {
        {u"a\tb", 4, u"a\t\t\tb"},
        {u"a\tb", 3, u"a\t\tb"},
        {u"a\tb", 1, u"a b"},
        {u"a\tb", 0, u"a b"},
        {u"\t\t", 8, u"\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t"},
        {u"abcd\tx", 4, u"abcd\t\t\t\tx"},          // a tab on a stop takes a whole width
        {u"ab\tcdefg\th", 3, u"ab\tcdefg\th"},      // columns 2 and 8: one cell each
        {u"abcdefg\t", 6, u"abcdefg\t\t\t\t\t"},
    };
    for (const Case& c : cases) {
        bool hasTabs = false;
        EXPECT_EQ(SelectTabExpander(c.TabWidth)(c.Line, c.TabWidth, hasTabs), c.Expanded)
            << "width " << c.TabWidth;
        EXPECT_TRUE(hasTabs);
        if (c.TabWidth >= 2) {
            // The general expander agrees with the masked one, and both with the column count.
            EXPECT_EQ(ExpandTabsAnyWidth(c.Line, c.TabWidth, hasTabs), c.Expanded);
            EXPECT_EQ(GetExpandedLength(c.Line, c.TabWidth), int(c.Expanded.size()));
        }
    }
    for (int width : {1, 2, 3, 8}) {
        bool hasTabs = true;
        EXPECT_EQ(SelectTabExpander(width)(u"plain", width, hasTabs), u"plain");
        EXPECT_FALSE(hasTabs);
    }
}

TEST(NibEditMiscProcs, ExpanderFollowsTheTabWidth)
{
    EXPECT_EQ(SelectTabExpander(1), &ExpandTabsWidthOne);
    EXPECT_EQ(SelectTabExpander(2), &ExpandTabsPowerOfTwo);
    EXPECT_EQ(SelectTabExpander(8), &ExpandTabsPowerOfTwo);
    EXPECT_EQ(SelectTabExpander(6), &ExpandTabsAnyWidth);
    const std::pair<int, bool> widths[] = {{0, false}, {1, false}, {2, true}, {6, false},
                                           {65536, true}, {131072, false}, {-2, false}};
    for (auto [value, power] : widths) EXPECT_EQ(IsPowerOfTwoWidth(value), power) << value;
}

TEST(NibEditMiscProcs, ExpandedLength)
{
    EXPECT_EQ(GetExpandedLength(u"\t\t", 8), 16);
    EXPECT_EQ(GetExpandedLength(u"ab\t", 4), 4);
    EXPECT_EQ(GetExpandedLength(u"ab\t", 1), 3);
    EXPECT_EQ(GetExpandedLength(u"", 4), 0);
}

TEST(NibEditMiscProcs, CharIndexToCaretColCountsTabsToTheirStop)
{
    struct Case {
        std::u16string_view Line;
        int TabWidth;
        int Index;
        int Column;
    };
    const Case cases[] = {
        {u"a\tb", 4, 0, 1},  {u"a\tb", 4, 1, 1},  {u"a\tb", 4, 2, 2},  {u"a\tb", 4, 3, 5},
        {u"a\tb", 4, 4, 6},  {u"a\tb", 4, 5, 7},  {u"a\tb", 1, 3, 3},  {u"ab", 4, 9, 9},
        {u"\t\tx", 3, 2, 4}, {u"\t\tx", 3, 3, 7}, {u"\t\tx", 3, 4, 8}, {u"abc\t", 3, 5, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CharIndexToCaretCol(c.Index, c.TabWidth, c.Line), c.Column)
            << "index " << c.Index << " width " << c.TabWidth;
}

TEST(NibEditMiscProcs, CharScansStayInsideTheLine)
{
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    const std::u16string_view line = u"a1b2";
    EXPECT_EQ(StrScanForCharMatching(line, 1, isDigit), 2);
    EXPECT_EQ(StrScanForCharMatching(line, 3, isDigit), 4);
    EXPECT_EQ(StrScanForCharMatching(u"abc", 1, isDigit), 0);
    EXPECT_EQ(StrScanForCharMatching(line, 0, isDigit), 0);
    EXPECT_EQ(StrScanForCharMatching(line, 5, isDigit), 0);

    EXPECT_EQ(StrRScanForCharMatching(line, 4, isDigit), 4);  // the last character is tested first
    EXPECT_EQ(StrRScanForCharMatching(line, 3, isDigit), 2);
    EXPECT_EQ(StrRScanForCharMatching(line, 1, isDigit), 0);
    EXPECT_EQ(StrRScanForCharMatching(line, 0, isDigit), 0);
    EXPECT_EQ(StrRScanForCharMatching(line, 5, isDigit), 0);
}

TEST(NibEditMiscProcs, FindLineEndStopsAtCrLfOrZero)
{
    const char16_t* text = u"ab\r\ncd\nef";
    EXPECT_EQ(FindLineEnd(text), text + 2);
    EXPECT_EQ(FindLineEnd(text + 3), text + 3);
    EXPECT_EQ(FindLineEnd(text + 4), text + 6);
    EXPECT_EQ(FindLineEnd(text + 7), text + 9);
    EXPECT_EQ(FindLineEnd(nullptr), nullptr);
}

TEST(NibEditMiscProcs, ExportNameDropsThePrefixAndSuffixInAnyCase)
{
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"TNibFooNib", u"Foo"}, {u"tnibFoonib", u"Foo"}, {u"TNib", u""},       {u"TFoo", u"Foo"},
        {u"tFooNIB", u"Foo"},    {u"Foo", u"Foo"},        {u"NibFoo", u"NibFoo"}, {u"XFooNib", u"XFoo"},
        {u"", u""},              {u"T", u""},
    };
    for (auto [name, exported] : cases) EXPECT_EQ(ExportNameFromClassName(name), exported);
}

TEST(NibEditMiscProcs, GradientFillsSteppedBandsFromStartToEndColour)
{
    RecordingCanvas canvas;
    PaintGradient(canvas, RGB(0, 0, 0), RGB(255, 30, 90), true, {10, 5, 20, 25}, 4);
    auto fills = canvas.Of(CanvasCall::Kind::FillRect);
    ASSERT_EQ(fills.size(), 4u);
    const TRect bands[] = {{10, 5, 13, 25}, {13, 5, 15, 25}, {15, 5, 18, 25}, {18, 5, 20, 25}};
    const TColor colours[] = {RGB(0, 0, 0), RGB(85, 10, 30), RGB(170, 20, 60), RGB(255, 30, 90)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(fills[i].Rect, bands[i]) << i;
        EXPECT_EQ(fills[i].Color, colours[i]) << i;
    }

    canvas.Calls.clear();
    PaintGradient(canvas, RGB(200, 100, 0), RGB(100, 100, 50), false, {0, 0, 4, 10}, 1);
    fills = canvas.Of(CanvasCall::Kind::FillRect);
    ASSERT_EQ(fills.size(), 2u);  // at least two bands
    EXPECT_EQ(fills[0].Rect, (TRect{0, 0, 4, 5}));
    EXPECT_EQ(fills[0].Color, RGB(200, 100, 0));
    EXPECT_EQ(fills[1].Rect, (TRect{0, 5, 4, 10}));
    EXPECT_EQ(fills[1].Color, RGB(100, 100, 50));

    canvas.Calls.clear();
    PaintGradient(canvas, clWhite, TColor(0xFF00000Fu), false, {0, 0, 4, 512}, 1000);
    fills = canvas.Of(CanvasCall::Kind::FillRect);
    ASSERT_EQ(fills.size(), 256u);  // at most 256
    EXPECT_EQ(fills.back().Rect, (TRect{0, 510, 4, 512}));
    EXPECT_EQ(fills.back().Color, ColorToRGB(TColor(0xFF00000Fu)));  // a system colour is resolved
}

}  // namespace
