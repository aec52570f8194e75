#include <gtest/gtest.h>

#include <climits>
#include "platform/Graphics.h"

namespace {

TEST(Font, SizeRoundTripsThroughThePixelHeight)
{
    for (int points = 1; points <= 72; ++points) {
        TFont font;
        font.SetSize(points);
        EXPECT_LT(font.Height, 0);
        EXPECT_EQ(font.Size(), points) << points;
    }
}

TEST(Font, AbsurdSizesStayWithinRange)
{
    TFont font;
    font.SetSize(INT_MAX);
    EXPECT_EQ(font.Height, INT_MIN + 1);
    EXPECT_GT(font.Size(), 0);
    font.SetSize(INT_MIN);
    EXPECT_EQ(font.Height, INT_MAX);
    EXPECT_GT(font.Size(), 0);
    font.Height = INT_MIN;
    EXPECT_GT(font.Size(), 0);
}

}  // namespace
