#include <gtest/gtest.h>

#include <filesystem>
#include "codeeditor/CompletionWords.h"
#include "support/TempFolder.h"

namespace {

TEST(CompletionWords, ALineSplitsAtItsFirstBlankIntoWordAndDescription)
{
    struct Case {
        std::u16string_view Line;
        bool Entry;
        std::u16string_view Word;
        std::u16string_view Description;
    };
    const Case cases[] = {
        {u"DUP ( n -- n n ) duplicate", true, u"DUP", u"( n -- n n ) duplicate"},
        {u"  OVER   ", true, u"OVER", u""},
        {u"\tSWAP    ( a b -- b a )  ", true, u"SWAP", u"( a b -- b a )"},
        {u"   ", false, u"", u""},
        {u"", false, u"", u""},
    };
    for (const Case& c : cases) {
        UnicodeString word, description;
        EXPECT_EQ(SplitCompletionLine(c.Line, word, description), c.Entry) << ToUtf8(c.Line);
        if (!c.Entry) continue;
        EXPECT_EQ(word, c.Word);
        EXPECT_EQ(description, c.Description);
    }
}

TEST(CompletionWords, ItemTextShowsTheWordBoldWithBackslashesDoubled)
{
    EXPECT_EQ(EscapeCompletionText(u"a\\b\\\\"), u"a\\\\b\\\\\\\\");
    EXPECT_EQ(CompletionItemText(u"\\", u"( -- ) skip to line end \\n"),
              u" \\column{}\\style{+B}\\\\\\style{-B} ( -- ) skip to line end \\\\n");
}

TEST(CompletionWords, TheFileGivesItsEntriesSortedOnceEachWithoutBlankLines)
{
    TempFolder folder;
    folder.Write("ForthWords.txt", "SWAP ( a b -- b a )\r\n\r\n   \r\ndup ( n -- n n )\r\nDUP ( n -- n n )\r\n"
                                   "  DROP\r\n");
    TStringList insert, items;
    LoadCompletionWordFile(folder.Name("ForthWords.txt"), insert, items);
    ASSERT_EQ(insert.Count(), 3);
    EXPECT_EQ(insert[0], u"DROP");
    EXPECT_EQ(SameText(insert[1], u"DUP"), true);
    EXPECT_EQ(insert[2], u"SWAP");
    ASSERT_EQ(items.Count(), 3);
    EXPECT_EQ(items[2], u" \\column{}\\style{+B}SWAP\\style{-B} ( a b -- b a )");
}

TEST(CompletionWords, TheFileBesideTheProgramComesBeforeTheInstalledOne)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.Path("bin"));
    const UnicodeString bin = folder.Name("bin/");
    // Neither: the one beside the program, which loads as nothing.
    EXPECT_EQ(ForthWordsFileIn(bin), bin + u"ForthWords.txt");
    std::filesystem::create_directories(folder.Path("share/tavlo-terminal"));
    folder.Write("share/tavlo-terminal/ForthWords.txt", "DUP ( x -- x x )\n");
    EXPECT_EQ(ForthWordsFileIn(bin), bin + u"../share/tavlo-terminal/ForthWords.txt");
    folder.Write("bin/ForthWords.txt", "DROP ( x -- )\n");
    EXPECT_EQ(ForthWordsFileIn(bin), bin + u"ForthWords.txt");
}

TEST(CompletionWords, AMissingFileAddsNothing)
{
    TempFolder folder;
    TStringList insert, items;
    LoadCompletionWordFile(folder.Name("ForthWords.txt"), insert, items);
    EXPECT_EQ(insert.Count(), 0);
    EXPECT_EQ(items.Count(), 0);
}

}  // namespace
