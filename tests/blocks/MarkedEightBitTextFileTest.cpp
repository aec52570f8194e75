// A text file that another editor saved behind a UTF-8 mark, though its text is 8-bit: the mark is
// no part of the first line, and a save gives the file back byte for byte.
#include <string>
#include "BlockManagerFixture.h"

namespace {

TEST_F(BlockManagerTest, AMarkedEightBitTextFileKeepsItsFirstLineAndEveryByte)
{
    const std::string bytes = "\xEF\xBB\xBF" ": CAF\xC9 ( -- ) ;\r\n\\ caf\xE9 \xFF\r\n";
    folder.Write("marked.txt", bytes);
    dialogs.FileAnswers = {folder.Name("marked.txt"), folder.Name("marked.txt")};
    ASSERT_TRUE(Run(u"BlockEditOpenFileAct"));
    EXPECT_EQ(Joined(), u": CAF\u00C9 ( -- ) ;|\\ caf\u00E9 \u00FF");
    ASSERT_TRUE(Run(u"BlockEditSaveFileAsAct"));
    EXPECT_TRUE(dialogs.Questions.empty());
    EXPECT_EQ(folder.Read("marked.txt"), bytes);
}

}  // namespace
