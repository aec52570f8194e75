#include <gtest/gtest.h>

#include <random>
#include "editor/NibEditSearch.h"

namespace {

std::vector<int> FindAll(TNibEditSearch& s, const UnicodeString& text)
{
    std::vector<int> out;
    for (int i = 0, n = s.FindAll(text); i < n; ++i) {
        out.push_back(s.ResultPosition(i));
        EXPECT_EQ(s.ResultLength(i), int(s.Pattern().size()));
    }
    return out;
}

} // namespace

TEST(NibEditSearch, WholeWordAndCaseOptions)
{
    struct Case {
        TNibSearchOptions options;
        std::vector<int> found;
    };
    const UnicodeString line = u"DUP (dup) 2dup dup_x xdup dup";
    const Case cases[] = {
        {{}, {1, 6, 12, 16, 23, 27}},
        {{ssoMatchCase}, {6, 12, 16, 23, 27}},
        {{ssoWholeWord}, {1, 6, 27}},
        {{ssoWholeWord, ssoMatchCase}, {6, 27}},
        {{ssoWholeWord, ssoBackwards, ssoPrompt}, {1, 6, 27}},
    };
    TNibEditSearch s;
    for (const Case& c : cases) {
        s.SetOptions(c.options);
        s.SetPattern(u"dup");
        EXPECT_EQ(FindAll(s, line), c.found) << int(c.options.Bits());
    }
}

TEST(NibEditSearch, MatchesDoNotOverlap)
{
    TNibEditSearch s;
    s.SetPattern(u"aa");
    EXPECT_EQ(FindAll(s, u"aaaa"), (std::vector<int>{1, 3}));
    EXPECT_EQ(s.ResultLength(0), 2);
    EXPECT_EQ(s.ResultPosition(2), 0);
    EXPECT_EQ(s.ResultPosition(-1), 0);
    EXPECT_EQ(s.Count(), 2);
}

TEST(NibEditSearch, PatternInOtherCaseTakesEffect)
{
    TNibEditSearch s;
    s.SetPattern(u"DUP");
    s.SetPattern(u"dup");
    EXPECT_EQ(s.Pattern(), u"dup");
    s.SetCaseSensitive(true);
    EXPECT_EQ(FindAll(s, u"DUP dup"), (std::vector<int>{5}));
    s.SetPattern(u"DUP");
    EXPECT_EQ(FindAll(s, u"DUP dup"), (std::vector<int>{1}));
}

TEST(NibEditSearch, ShortTextEmptyPatternAndReplace)
{
    TNibEditSearch s;
    s.SetPattern(u"longer");
    EXPECT_EQ(s.FindAll(u"long"), 0);
    s.SetPattern(u"");
    try {
        s.FindAll(u"text");
        FAIL();
    } catch (const ENibError& e) {
        EXPECT_STREQ(e.what(), "Pattern is empty");
    }
    EXPECT_EQ(s.Replace(u"dup", u"DROP"), u"DROP");
}

TEST(NibEditSearch, FindsWhatAPlainScanFinds)
{
    // Small alphabets give many partial matches, where a wrong shift would skip a match.
    std::mt19937 random(7);
    const UnicodeString alphabet = u"abAB \u4E00_";
    auto make = [&](int length) {
        UnicodeString s;
        for (int i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
        return s;
    };
    TNibEditSearch s;
    for (int round = 0; round < 3000; ++round) {
        const UnicodeString pattern = make(1 + int(random() % 4));
        const UnicodeString text = make(int(random() % 40));
        const bool whole = round % 2 == 1;
        s.SetOptions(whole ? TNibSearchOptions{ssoMatchCase, ssoWholeWord} : TNibSearchOptions{ssoMatchCase});
        s.SetPattern(pattern);
        std::vector<int> expected;
        auto delimiter = [](char16_t c) { return c <= 47 || c == 64; };
        for (std::size_t i = 0; i + pattern.size() <= text.size();) {
            bool bounded = (i == 0 || delimiter(text[i - 1])) &&
                           (i + pattern.size() == text.size() || delimiter(text[i + pattern.size()]));
            if (text.compare(i, pattern.size(), pattern) == 0 && (!whole || bounded)) {
                expected.push_back(int(i) + 1);
                i += pattern.size();
            } else {
                ++i;
            }
        }
        ASSERT_EQ(FindAll(s, text), expected) << ToUtf8(pattern) << " in " << ToUtf8(text) << " whole " << whole;
    }
}

TEST(NibEditSearch, FixResultsMovesTheResultsAfterAnEdit)
{
    TNibEditSearch s;
    s.SetPattern(u"x");
    s.FindAll(u"x x x");
    s.FixResults(2, -3);
    EXPECT_EQ(s.ResultPosition(0), 1);
    EXPECT_EQ(s.ResultPosition(1), 6);
    EXPECT_EQ(s.ResultPosition(2), 8);
}
