// A source that another editor saved behind a UTF-8 mark, though its text is 8-bit: the Code
// Editor keeps every byte, the mark too, through a save.
#include <string>
#include "codeeditor/CodeEditorFixture.h"

namespace {

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
