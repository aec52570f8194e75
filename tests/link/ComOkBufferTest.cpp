#include <gtest/gtest.h>

#include <string>
#include "link/ComOkBuffer.h"

namespace {

bool OkAfter(const std::string& chars)
{
    TComOkBuffer buffer;
    for (char c : chars) buffer.AddChar(std::uint8_t(c));
    return buffer.IsOk();
}

TEST(ComOkBuffer, RecognisesPromptInLastFourCharacters)
{
    EXPECT_TRUE(OkAfter("  OK"));
    EXPECT_TRUE(OkAfter("x  OK"));
    EXPECT_TRUE(OkAfter("abc def  OK"));
    EXPECT_FALSE(OkAfter("  OKx"));
    EXPECT_FALSE(OkAfter(" OK"));
    EXPECT_FALSE(OkAfter("  ok"));
    EXPECT_FALSE(OkAfter(""));
}

TEST(ComOkBuffer, ResetForgetsEverything)
{
    TComOkBuffer buffer;
    for (char c : std::string("  OK")) buffer.AddChar(std::uint8_t(c));
    ASSERT_TRUE(buffer.IsOk());
    EXPECT_EQ(buffer.LastChar(), 'K');
    buffer.Reset();
    EXPECT_FALSE(buffer.IsOk());
    EXPECT_EQ(buffer.LastChar(), 0);
}

}  // namespace
