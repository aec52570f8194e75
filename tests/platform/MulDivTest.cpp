#include <gtest/gtest.h>

#include <climits>
#include "platform/Canvas.h"
#include "platform/MulDiv.h"

namespace {

TEST(MulDiv, RoundsHalvesAwayFromZeroOverAWideProduct)
{
    struct Case {
        int Number, Numerator, Denominator, Result;
    };
    const Case cases[] = {
        {1, 1, 2, 1},   {-1, 1, 2, -1},  {1, -1, 2, -1},   {-1, -1, 2, 1},   {1, 1, -2, -1},
        {5, 1, 3, 2},   {4, 1, 3, 1},    {-4, 1, 3, -1},   {7, 100, 7, 100}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {1, 2, 0, -1},  {0, 5, 0, -1},   {INT_MAX, 2, 1, -1}, {INT_MIN, 1, 1, INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.Number, c.Numerator, c.Denominator), c.Result)
            << c.Number << " * " << c.Numerator << " / " << c.Denominator;
}

TEST(ColorToRGB, ResolvesSystemColoursAndKeepsTheRest)
{
    EXPECT_EQ(ColorToRGB(clYellow), clYellow);
    EXPECT_EQ(ColorToRGB(TColor(0xFF000005u)), clWhite);                 // window background
    EXPECT_EQ(ColorToRGB(TColor(0xFF00000Fu)), RGB(240, 240, 240));     // button face
}

}  // namespace
