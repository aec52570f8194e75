#include <gtest/gtest.h>

#include "platform/Text.h"
#include "support/TextFiles.h"

namespace {

TEST(Text, EveryByteSurvivesTheRoundTripThroughIso88591)
{
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += char(b);
    UnicodeString wide = FromAnsi(bytes);
    ASSERT_EQ(wide.size(), 256u);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(wide[std::size_t(b)], char16_t(b));
    EXPECT_EQ(ToAnsi(wide), bytes);
}

TEST(Text, NarrowingTurnsCodeUnitsAboveFFIntoQuestionMarks)
{
    EXPECT_EQ(ToAnsi(u"a\u00FF\u0100\u20AC\U0001F600"), "a\xFF???" "?");
}

TEST(Text, Utf8BothWays)
{
    const UnicodeString text = u"A\u00E9\u20AC\U0001F600";
    const std::string utf8 = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(ToUtf8(text), utf8);
    EXPECT_EQ(FromUtf8(utf8), text);
    EXPECT_EQ(FromUtf8("a\xFF" "b\xC3"), u"a\uFFFDb\uFFFD") << "invalid input becomes U+FFFD";
    EXPECT_EQ(ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx") << "a lone surrogate becomes U+FFFD";
    EXPECT_EQ(FromUtf8("\xC0\x80|\xED\xA0\x80|\xF7\xBF\xBF\xBF"), u"\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD\uFFFD")
        << "overlong forms, encoded surrogates and values beyond U+10FFFF";
}

TEST(Text, EachEncodingBothWaysBehindItsMark)
{
    for (const MarkedTextFile& file : MarkedTextFiles()) {
        SCOPED_TRACE(file.Name);
        EXPECT_EQ(EncodingOf(file.Bytes), file.Encoding);
        EXPECT_EQ(DecodeText(file.Bytes), kMarkedText);
        EXPECT_EQ(EncodeText(kMarkedText, file.Encoding), file.Bytes);
    }
    EXPECT_EQ(EncodingOf("\xEF\xBB"), TTextEncoding::Ansi);
    EXPECT_EQ(EncodeText(kMarkedText, TTextEncoding::Ansi), "caf\xE9 ? ? ?\r\n?? : SQ DUP * ;\r\n");
    // UTF-16 holds any code unit, a lone surrogate too.
    for (const TTextEncoding encoding : {TTextEncoding::Utf16LE, TTextEncoding::Utf16BE})
        EXPECT_EQ(DecodeText(EncodeText(u"\xDC00x\xD800", encoding)), u"\xDC00x\xD800");
}

TEST(Text, BytesThatDoNotDecodeAreReadAsEightBitTextOrToldOf)
{
    using E = TTextEncoding;
    struct Case {
        std::string_view Bytes;
        TTextEncoding Encoding;
        UnicodeString Text;
        bool Exactly;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF" "a\xC3\xA9", E::Utf8, u"a\u00E9", true},
        {"\xEF\xBB\xBF" "a\xFF\xC3\xA9", E::Ansi, u"\u00EF\u00BB\u00BF" "a\u00FF\u00C3\u00A9", true},
        {"\xEF\xBB\xBF" "a\xE2\x82", E::Ansi, u"\u00EF\u00BB\u00BF" "a\u00E2\u0082", true},
        {"\xEF\xBB\xBF", E::Utf8, u"", true},
        {"\xFF\xFE", E::Utf16LE, u"", true},
        {"\xFE\xFF", E::Utf16BE, u"", true},
        {std::string_view("\xFF\xFE\x00\xD8", 4), E::Utf16LE, u"\xD800", true},
        {"\xFF\xFE" "a", E::Utf16LE, u"\uFFFD", false},
        {std::string_view("\xFE\xFF\x00" "ab", 5), E::Utf16BE, u"a\uFFFD", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.Bytes)));
        EXPECT_EQ(EncodingOf(c.Bytes), c.Encoding);
        EXPECT_EQ(DecodeText(c.Bytes), c.Text);
        EXPECT_EQ(DecodesExactly(c.Bytes), c.Exactly);
        EXPECT_EQ(EncodeText(c.Text, c.Encoding) == c.Bytes, c.Exactly);
    }
}

TEST(Text, AnsiLossCountsTheCodeUnitsThatBecomeQuestionMarks)
{
    EXPECT_EQ(FindAnsiLoss(u"ab\u00FF\r\n").Count, 0u);
    const TAnsiLoss loss = FindAnsiLoss(u"a\u00E9\r\n\u2192b\U0001F600");
    EXPECT_EQ(loss.Count, 3u);
    EXPECT_EQ(loss.First, 4u);
}

TEST(Text, CaseMappingKeepsTheLength)
{
    EXPECT_EQ(UpperCase(u"abc\u00E9\u00DF\u0131"), UnicodeString(u"ABC\u00C9\u00DF") + u"I");
    EXPECT_EQ(LowerCase(u"\u0130X").size(), 2u);
    EXPECT_TRUE(SameText(u"Port", u"PORT"));
    EXPECT_LT(CompareText(u"abc", u"ABD"), 0);
    EXPECT_LT(CompareText(u"ab", u"ABC"), 0);
}

TEST(Text, StrToIntDef)
{
    struct Case {
        std::u16string text;
        int expected;
    };
    const Case cases[] = {
        {u"0", 0},
        {u"42", 42},
        {u"-17", -17},
        {u"+5", 5},
        {u"  12", 12},
        {u"$1F", 31},
        {u"0x10", 16},
        {u"2147483647", 2147483647},
        {u"-2147483648", -2147483647 - 1},
        {u"2147483648", -1},
        {u"99999999999999999999", -1},
        {u"", -1},
        {u"-", -1},
        {u"12a", -1},
        {u"1 ", -1},
        {u"1.5", -1},
        {u"$", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(StrToIntDef(c.text, -1), c.expected) << ToUtf8(c.text);
    EXPECT_EQ(StrToInt64Def(u"-9223372036854775808", 0), INT64_MIN);
    EXPECT_EQ(StrToInt64Def(u"9223372036854775808", 7), 7);
}

TEST(Text, TrimAndIntToStr)
{
    EXPECT_EQ(Trim(u" \t a b \r\n"), u"a b");
    EXPECT_EQ(TrimRight(u" a  "), u" a");
    EXPECT_EQ(IntToStr(-123), u"-123");
}

} // namespace
