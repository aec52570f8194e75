#include "settings/CGIStringEncode.h"

#include <gtest/gtest.h>

TEST(CGIStringEncode, EveryByteAloneRoundTripsAndEscapesToPrintableText)
{
    for (int b = 0; b < 256; ++b) {
        UnicodeString one(1, char16_t(b));
        UnicodeString escaped = EscapeString(one);
        SCOPED_TRACE(b);
        EXPECT_EQ(UnescapeString(escaped), one);
        for (char16_t c : escaped) EXPECT_TRUE(c >= 32 && c < 128) << int(c);
    }
}

TEST(CGIStringEncode, EscapedForms)
{
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"", u"."},
        {u".", u".."},
        {u".x.", u"..x."},
        {u"a\tb\nc\rd", u"a\\tb\\nc\\rd"},
        {u"say \"hi\" \\ 100%", u"say \\\"hi\\\" \\\\ 100%%"},
        {u"\x01\x1f\x7f\x80\xff", u"%01%1F\x7f%80%FF"},
    };
    for (auto [plain, escaped] : cases) {
        EXPECT_EQ(EscapeString(plain), escaped);
        EXPECT_EQ(UnescapeString(escaped), plain);
    }
}

TEST(CGIStringEncode, UnescapeToleratesBrokenText)
{
    EXPECT_EQ(UnescapeString(u"%4"), u"4");
    EXPECT_EQ(UnescapeString(u"end\\"), u"end");
    EXPECT_EQ(UnescapeString(u"end%"), u"end");
    EXPECT_EQ(UnescapeString(u"%e9%zz"), u"\u00e9zz");
    EXPECT_EQ(UnescapeString(u"\\q"), u"q");
    EXPECT_EQ(UnescapeString(u"a\u00e9\x01" u"b"), u"ab");
}
