#include <gtest/gtest.h>

#include "blocks/TransferReplies.h"

TEST(TransferReplies, ReplyNumber)
{
    struct Case {
        const char16_t* line;
        std::optional<int> number;
    };
    const Case cases[] = {
        {u"blk-count U. 128 OK", 128},
        {u"blk-count U. 128  OK", 128},
        {u"' load-blocks . -5 OK", -5},
        {u"x +7 OK", 7},
        {u"128 OK", std::nullopt},                  // no echo of the command
        {u"blk-count U. 12x OK", std::nullopt},
        {u"blk-count U. 128 ok", std::nullopt},     // the prompt's case counts
        {u"blk-count U. 128", std::nullopt},
        {u"blk-count U.  OK", std::nullopt},        // the echo's last word is no number
        {u"' load-blocks . - OK", std::nullopt},
        {u"x 99999999999 OK", std::nullopt},        // out of range
        {u" OK", std::nullopt},
        {u"OK", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.line));
        EXPECT_EQ(ReplyNumber(c.line), c.number);
    }
}

TEST(TransferReplies, OkAndReady)
{
    EXPECT_TRUE(ReplyIsOk(u" OK"));
    EXPECT_TRUE(ReplyIsOk(u"1 2 +  OK"));
    EXPECT_FALSE(ReplyIsOk(u"OK"));
    EXPECT_FALSE(ReplyIsOk(u"x OK "));
    EXPECT_FALSE(ReplyIsOk(u"x ?"));

    EXPECT_TRUE(ReplyIsReady(u"0 2 load-blocks >", true));
    EXPECT_FALSE(ReplyIsReady(u"0 2 load-blocks >", false));
    EXPECT_TRUE(ReplyIsReady(u"<", false));
    EXPECT_FALSE(ReplyIsReady(u"", true));
    EXPECT_FALSE(ReplyIsReady(u"> OK", true));
}
