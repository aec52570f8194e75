#include <gtest/gtest.h>

#include "editor/NibEditTypes.h"

TEST(NibEditTypes, SearchOptionsUseOneBitPerOptionInDeclarationOrder)
{
    TNibSearchOptions o{ssoMatchCase, ssoPrompt};
    EXPECT_EQ(o.Bits(), 0x81);
    EXPECT_TRUE(o.Contains(ssoPrompt));
    EXPECT_FALSE(o.Exclude(ssoPrompt).Contains(ssoPrompt));
    EXPECT_EQ(o.Include(ssoBackwards).Bits(), 0x05);
}

TEST(NibEditTypes, CoordinatesKeepZeroUnclamped)
{
    EXPECT_EQ(BufferCoord(0, 0), (TBufferCoord{0, 0}));
    EXPECT_EQ(DisplayCoord(3, 7).Row, 7);
}
