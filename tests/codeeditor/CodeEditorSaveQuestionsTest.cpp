// The question a Code Editor save asks about a byte that the text could not be read from: asked
// once, and never for a document that was not read from that file.
#include <string>
#include "codeeditor/CodeEditorFixture.h"

namespace {

/// UTF-16 LE whose last byte is odd: it is read as U+FFFD, which a save cannot give back as it was.
const std::string kOddUtf16 = std::string("\xFF\xFE" "a\0\r\0\n\0" "b", 9);

class CodeEditorSaveQuestions : public CodeEditorTest {
protected:
    bool Run(const char16_t* name) { return actions.Find(name)->Execute(); }
    void OpenOddFile()
    {
        folder.Write("odd.forth", kOddUtf16);
        dialogs.FileAnswers = {folder.Name("odd.forth")};
        ASSERT_TRUE(Run(u"EditorOpenFileAct"));
    }
    /// The texts of the questions asked so far.
    std::vector<UnicodeString> Asked() const
    {
        std::vector<UnicodeString> texts;
        for (const ScriptedDialogs::Question& question : dialogs.Questions) texts.push_back(question.Text);
        return texts;
    }
};

const UnicodeString kOddByteQuestion =
    u"The file this text was read from ends in a byte that is not UTF-16 text. It was read as \"\uFFFD\" (U+FFFD), "
    u"which would be saved in its place.\n\nSave anyway?";

TEST_F(CodeEditorSaveQuestions, TheOddByteIsAskedOfOnceAndNeverForATextWithoutIt)
{
    OpenOddFile();
    Type(u"x");
    dialogs.Answers = {TModalResult::mrOk};
    EXPECT_TRUE(Run(u"EditorSaveFileAct"));
    EXPECT_EQ(Asked(), std::vector<UnicodeString>{kOddByteQuestion});
    EXPECT_FALSE(page.ScriptEdit.Modified());

    // The file holds what the editor says now: the next save has nothing to ask.
    Type(u"y");
    EXPECT_TRUE(Run(u"EditorSaveFileAct"));
    EXPECT_EQ(Asked(), std::vector<UnicodeString>{kOddByteQuestion});
    EXPECT_FALSE(page.ScriptEdit.Modified());
    EXPECT_EQ(folder.Read("odd.forth"), std::string("\xFF\xFEy\0", 4));

    // Nor after New: the new document was never read from that file.
    OpenOddFile();
    EXPECT_TRUE(Run(u"EditorNewAct"));
    Type(u": NEW ;");
    dialogs.FileAnswers = {folder.Name("new.forth")};
    EXPECT_TRUE(Run(u"EditorSaveAsFileAct"));
    EXPECT_EQ(Asked(), std::vector<UnicodeString>{kOddByteQuestion});
    EXPECT_EQ(folder.Read("new.forth"), ": NEW ;");
}

}  // namespace
