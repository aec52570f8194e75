// A word list that another editor saved behind a UTF-8 mark, though its text is 8-bit: the mark
// is no part of the first word.
#include <gtest/gtest.h>
#include <vector>
#include "codeeditor/CompletionWords.h"
#include "support/TempFolder.h"

namespace {

TEST(MarkedWordList, TheFirstWordOfAMarkedEightBitListIsTheWordAlone)
{
    TempFolder folder;
    folder.Write("ForthWords.txt", "\xEF\xBB\xBF" "DUP ( n -- n n )\r\nCAF\xC9 ( -- ) a word in 8-bit text\r\n");
    TStringList insert, items;
    LoadCompletionWordFile(folder.Name("ForthWords.txt"), insert, items);
    std::vector<UnicodeString> words;
    for (int i = 0; i < insert.Count(); ++i) words.push_back(insert[i]);
    EXPECT_EQ(words, (std::vector<UnicodeString>{u"CAF\u00C9", u"DUP"}));
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items[1], u" \\column{}\\style{+B}DUP\\style{-B} ( n -- n n )");
}

}  // namespace
