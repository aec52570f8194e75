#include "platform/WindowPlacement.h"
#include <gtest/gtest.h>

namespace {

TRect At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

struct TKeepCase {
    const char* What;
    TRect Frame;
    TRect WorkArea;
    TRect Expected;
};

TEST(WindowPlacementTest, AFrameIsKeptWhollyInsideTheWorkArea)
{
    const TRect screen = At(0, 0, 1280, 1000);
    // A second screen right of the first, with a 24 pixel panel along its top.
    const TRect second = At(1280, 24, 1920, 1056);
    const TKeepCase cases[] = {
        {"inside stays", At(100, 200, 300, 200), screen, At(100, 200, 300, 200)},
        {"touching every edge stays", At(0, 0, 1280, 1000), screen, At(0, 0, 1280, 1000)},
        {"below the bottom edge moves up", At(2, 515, 700, 525), screen, At(2, 475, 700, 525)},
        {"past the right edge moves left", At(1000, 100, 400, 300), screen, At(880, 100, 400, 300)},
        {"above and left of the screen moves in", At(-50, -20, 300, 200), screen, At(0, 0, 300, 200)},
        {"past two edges moves in along both", At(1200, 900, 300, 200), screen, At(980, 800, 300, 200)},
        {"wider than the screen shrinks to it", At(-100, 100, 1500, 300), screen, At(0, 100, 1280, 300)},
        {"taller than the screen shrinks, title bar on screen", At(50, -30, 300, 1200), screen,
         At(50, 0, 300, 1000)},
        {"larger both ways fills the screen", At(300, 300, 2000, 1500), screen, At(0, 0, 1280, 1000)},
        {"on a second screen, under its panel", At(1500, 0, 400, 300), second, At(1500, 24, 400, 300)},
        {"left of the second screen moves onto it", At(1100, 500, 400, 300), second, At(1280, 500, 400, 300)},
        {"no screen known leaves it", At(-500, 3000, 400, 300), TRect{}, At(-500, 3000, 400, 300)},
    };
    for (const TKeepCase& c : cases) EXPECT_EQ(KeepOnScreen(c.Frame, c.WorkArea), c.Expected) << c.What;
}

TEST(WindowPlacementTest, AFrameIsCentredOverItsOwnerWithHalvesRoundedTowardZero)
{
    const TRect owner = At(181, 137, 917, 725);
    EXPECT_EQ(CentreOver(owner, 454, 587), At(181 + 231, 137 + 69, 454, 587));
    // A dialog larger than its owner overhangs it evenly; -3 / 2 rounds to -1.
    EXPECT_EQ(CentreOver(At(100, 100, 200, 100), 203, 105), At(99, 98, 203, 105));
    EXPECT_EQ(CentreOver(At(0, 0, 1280, 1000), 1280, 1000), At(0, 0, 1280, 1000));
}

} // namespace
