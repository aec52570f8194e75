// Files that another editor saved behind a UTF-8 mark, though their text is 8-bit: the mark is no
// part of the word list's first word, and a source keeps every byte, the mark too, through a save.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "codeeditor/CodeEditorFixture.h"
#include "codeeditor/CompletionWords.h"

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

TEST_F(CodeEditorTest, AMarkedEightBitSourceIsSavedBackByteForByte)
{
    const std::string bytes = "\xEF\xBB\xBF" ": CAF\xC9 ( -- ) ;\r\n\\ caf\xE9 \xFF\r\n";
    folder.Write("marked.forth", bytes);
    dialogs.FileAnswers = {folder.Name("marked.forth"), folder.Name("marked.forth")};
    ASSERT_TRUE(actions.Find(u"EditorOpenFileAct")->Execute());
    ASSERT_TRUE(actions.Find(u"EditorSaveAsFileAct")->Execute());
    EXPECT_TRUE(dialogs.Questions.empty());
    EXPECT_EQ(folder.Read("marked.forth"), bytes);
}

}  // namespace
