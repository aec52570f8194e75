// The questions a Block Manager save asks about its text: each asked once, never about a text the
// lines no longer hold, and never before a file that may not be written is refused.
#include "BlockManagerFixture.h"
#include <filesystem>
#include <string>
#include "support/Unprivileged.h"

namespace {

/// UTF-16 LE whose last byte is odd: it is read as U+FFFD, which a save cannot give back as it was.
const std::string kOddUtf16 = std::string("\xFF\xFE" "a\0\r\0\n\0" "b", 9);

bool AsksOfTheOddByte(const ScriptedDialogs::Question& question)
{
    return question.Text.find(u"ends in a byte that is not UTF-16 text") != UnicodeString::npos;
}

class BlockManagerSaveQuestions : public BlockManagerTest {
protected:
    void OpenOddFile()
    {
        folder.Write("odd.txt", kOddUtf16);
        dialogs.FileAnswers = {folder.Name("odd.txt")};
        ASSERT_TRUE(Run(u"BlockEditOpenFileAct"));
    }
};

TEST_F(BlockManagerSaveQuestions, TheOddByteIsAskedOfOnceAndNeverForATextWithoutIt)
{
    OpenOddFile();
    manager.InsertBlankLinesAt(0, 1);
    dialogs.Answers = {TModalResult::mrOk};
    EXPECT_TRUE(Run(u"BlockEdSaveFileAct"));
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_TRUE(AsksOfTheOddByte(dialogs.Questions[0]));
    EXPECT_FALSE(manager.Modified());

    // The file holds what the lines say now: the next save has nothing to ask.
    manager.InsertBlankLinesAt(0, 1);
    EXPECT_TRUE(Run(u"BlockEdSaveFileAct"));
    EXPECT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_FALSE(manager.Modified());
    EXPECT_EQ(folder.Read("odd.txt"), std::string("\xFF\xFE\r\0\n\0\r\0\n\0" "a\0\r\0\n\0\xFD\xFF\r\0\n\0", 22));

    // Nor after New: the new lines were never read from that file.
    OpenOddFile();
    EXPECT_TRUE(Run(u"BlockEditClearAct"));
    manager.InsertBlankLinesAt(0, 1);
    dialogs.FileAnswers = {folder.Name("new.txt")};
    EXPECT_TRUE(Run(u"BlockEditSaveFileAsAct"));
    EXPECT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(folder.Read("new.txt"), "\r\n");
}

TEST_F(BlockManagerSaveQuestions, AFileTheUserMayNotWriteIsRefusedBeforeAnyQuestionAboutTheText)
{
    if (!CanRunUnprivileged()) GTEST_SKIP() << "running as root and no unprivileged user to save as";
    namespace fs = std::filesystem;
    fs::permissions(folder.Path(), fs::perms::all);
    struct Case {
        const char* Name;
        /// The lines come from the odd file; else they hold characters that 8-bit text cannot.
        bool Odd;
    };
    for (const Case& c : {Case{"ro.txt", false}, Case{"ro.blk", false}, Case{"ro.txt", true}}) {
        SCOPED_TRACE(std::string(c.Name) + (c.Odd ? ", odd byte" : ", 8-bit loss"));
        // The last case's changes were never saved: they go without a question.
        manager.BlockEditUndoList.Clear();
        if (c.Odd) OpenOddFile();
        else SetLines({u"a \u2192 b"});
        manager.InsertBlankLinesAt(0, 1);
        const std::string readOnly = folder.Path(c.Name);
        const FileState before = PutFile(readOnly, std::string(64, 'o'), fs::perms(0444));
        RunUnprivileged([&] {
            dialogs.FileAnswers = {FromUtf8(readOnly)};
            EXPECT_TRUE(Run(u"BlockEditSaveFileAsAct"));
            ASSERT_EQ(dialogs.Questions.size(), 1u);
            EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtError);
            EXPECT_EQ(dialogs.Questions[0].Text, u"Cannot write \"" + FromUtf8(readOnly) + u"\": Permission denied");
            EXPECT_TRUE(manager.Modified());
        });
        EXPECT_EQ(StateOf(readOnly), before);
        fs::remove(readOnly);
    }
}

}  // namespace
