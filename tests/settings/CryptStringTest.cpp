#include "settings/CryptString.h"

#include <gtest/gtest.h>

TEST(CryptString, KnownScrambles)
{
    // Worked by hand from the generator and key rules; the length field stands first for the
    // first password (position 1) and after eight pairs for the second (position 9).
    EXPECT_EQ(ScrambleString(u"secret password", u"Hi"),
              u"7020746712E12BB5936195BA789092798D223ACC9F921AEDD692FB4B95DB49666C5E0095702074D4");
    EXPECT_EQ(ScrambleString(u"abcdefghij", u"Tavlo"),
              u"7E87F33A4C51710468676660F111C2C3F55CECCAA9FEE6A04BC257AF666E205B70C6339068676463");
}

TEST(CryptString, RoundTripsForAnyPasswordAndLength)
{
    UnicodeString allBytes;
    for (int b = 0; b < 256; ++b) allBytes += char16_t(b);
    // "12345678@" puts the length field at position 0, which counts as 1.
    for (std::u16string_view password : {u"", u"k", u"secret password", u"12345678@", u"abcdefghij"}) {
        for (std::u16string_view text : {u"", u"x", u"exactly thirty-two characters!!!", u"a text longer than "
                                         u"thirty-two characters"}) {
            UnicodeString data = ScrambleString(password, text);
            EXPECT_EQ(UnscrambleString(password, data), text) << ToUtf8(password) << " / " << ToUtf8(text);
        }
        EXPECT_EQ(UnscrambleString(password, ScrambleString(password, allBytes)), allBytes);
    }
    EXPECT_EQ(ScrambleString(u"p", u"short").size(), 80u);
    EXPECT_NE(UnscrambleString(u"other", ScrambleString(u"p", u"short")), u"short");
}

TEST(CryptString, BrokenDataGivesWhatDecodes)
{
    EXPECT_EQ(UnscrambleString(u"p", u""), u"");
    EXPECT_EQ(UnscrambleString(u"p", u"not hexadecimal at all"), u"");
    UnicodeString data = ScrambleString(u"secret password", u"Hi");
    EXPECT_EQ(UnscrambleString(u"secret password", std::u16string_view(data).substr(0, 10)), u"H");
}
