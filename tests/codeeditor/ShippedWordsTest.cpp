// The word list that ships beside the program: every entry loads, once, with its stack effect, and
// its comment and string words make the highlighter colour comments and strings.
#include <gtest/gtest.h>

#include <set>
#include "codeeditor/CompletionWords.h"
#include "codeeditor/HighlightOptions.h"

namespace {

const UnicodeString kShippedWords = FromUtf8(TAVLO_SHIPPED_WORDS);

class ShippedWords : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadCompletionWordFile(kShippedWords, insert, items);
        ASSERT_GT(insert.Count(), 0) << TAVLO_SHIPPED_WORDS;
    }

    int IndexOf(const UnicodeString& word) const
    {
        for (int i = 0; i < insert.Count(); ++i)
            if (insert[i] == word) return i;
        return -1;
    }

    TStringList insert, items;
};

TEST_F(ShippedWords, EveryLineIsOneWordWithItsStackEffect)
{
    TStringList lines;
    ASSERT_TRUE(lines.LoadFromFile(kShippedWords));
    EXPECT_EQ(lines.Count(), 420);
    // Each line gives one entry: a line that the sorted loading dropped or merged shows here.
    EXPECT_EQ(insert.Count(), lines.Count());
    ASSERT_EQ(items.Count(), insert.Count());
    std::set<UnicodeString> seen;
    UnicodeString word, description;
    for (int i = 0; i < lines.Count(); ++i) {
        ASSERT_TRUE(SplitCompletionLine(lines[i], word, description)) << "line " << i + 1 << " is blank";
        EXPECT_TRUE(seen.insert(UpperCase(word)).second) << ToUtf8(word) << " twice, ignoring case";
        // The stack effect comes first, then a few words.
        EXPECT_EQ(description.rfind(u"( ", 0), 0u) << ToUtf8(lines[i]);
        const std::size_t close = description.find(u" )");
        ASSERT_NE(close, UnicodeString::npos) << ToUtf8(lines[i]);
        EXPECT_GT(description.size(), close + 3) << ToUtf8(lines[i]) << " has no description";
    }
}

TEST_F(ShippedWords, DupCommentAndStringWordsAndTheTargetWordsAreThere)
{
    const int dup = IndexOf(u"DUP");
    ASSERT_GE(dup, 0);
    EXPECT_EQ(items[dup], CompletionItemText(u"DUP", u"( x -- x x ) duplicate the top item"));
    for (const char16_t* word : {u"\\", u"(", u".(", u".\"", u"S\"", u"C\"", u"ABORT\"", u"CHAR", u"[CHAR]",
                                 u"blk-count", u"load-blocks", u"send-blocks"})
        EXPECT_GE(IndexOf(word), 0) << ToUtf8(word);
    const int backslash = IndexOf(u"\\");
    ASSERT_GE(backslash, 0);
    EXPECT_EQ(items[backslash].rfind(u" \\column{}\\style{+B}\\\\\\style{-B} ( ", 0), 0u);
}

TEST_F(ShippedWords, CommentsAndStringsColourAfterTheirWords)
{
    TNibTavloHighlighter highlighter;
    ApplyEditorHighlightOptions(TConfigTermOptions(), insert, highlighter);
    using Tokens = std::vector<std::pair<UnicodeString, TtkTokenKind>>;
    const std::pair<std::u16string_view, Tokens> cases[] = {
        {u"( n -- ) DUP", {{u"(", tkKey}, {u" n -- )", tkComment}, {u" ", tkSpace}, {u"DUP", tkKey}}},
        {u"\\ to the end", {{u"\\", tkKey}, {u" to the end", tkComment}}},
        {u".( at once) 10", {{u".(", tkKey}, {u" at once)", tkComment}, {u" ", tkSpace}, {u"10", tkNumber}}},
        {u".\" hi\" CR", {{u".\"", tkKey}, {u" hi\"", tkString}, {u" ", tkSpace}, {u"CR", tkKey}}},
        {u"S\" a b\" TYPE", {{u"S\"", tkKey}, {u" a b\"", tkString}, {u" ", tkSpace}, {u"TYPE", tkKey}}},
        {u"C\" x\"", {{u"C\"", tkKey}, {u" x\"", tkString}}},
        {u"ABORT\" no\"", {{u"ABORT\"", tkKey}, {u" no\"", tkString}}},
        {u"CHAR A emit", {{u"CHAR", tkKey}, {u" ", tkSpace}, {u"A", tkString}, {u" ", tkSpace}, {u"emit", tkIdentifier}}},
    };
    for (const auto& [line, expected] : cases) {
        highlighter.ResetRange();
        highlighter.SetLine(UnicodeString(line), 1);
        Tokens tokens;
        for (; !highlighter.GetEol(); highlighter.Next())
            tokens.emplace_back(highlighter.GetToken(), TtkTokenKind(highlighter.GetTokenKind()));
        EXPECT_TRUE(tokens == expected) << ToUtf8(line);
    }
}

}  // namespace
