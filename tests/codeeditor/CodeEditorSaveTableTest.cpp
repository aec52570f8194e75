#include <filesystem>
#include "codeeditor/CodeEditorFixture.h"
#include "support/SaveCases.h"

namespace {

using namespace savecases;
namespace fs = std::filesystem;

class CodeEditorSave : public CodeEditorTest {
protected:
    bool Run(const char16_t* name) { return actions.Find(name)->Execute(); }
    /// The messages shown, one after the other.
    UnicodeString Messages() const
    {
        UnicodeString texts;
        for (const auto& q : dialogs.Questions) texts += q.Text + u"\n";
        return texts;
    }
};

TEST_F(CodeEditorSave, TheSourceKeepsWhatTheFileIs)
{
    UnicodeString text;
    for (int i = 0; i < 300; ++i) text += u": WORD" + IntToStr(i) + u" DUP * ;\r\n";
    RunSaveTable({"the Code Editor", "f.fs", {".blk", ".pairs"}, true, [&](const UnicodeString& fileName) {
                      Type(text);
                      dialogs.FileAnswers = {fileName};
                      Run(u"EditorSaveAsFileAct");
                      return SaveOutcome{Messages(), page.ScriptEdit.Modified()};
                  }});
}

TEST_F(CodeEditorSave, PairedWordsThatGoInAFolderTheUserMayNotWriteAreGoneOnReopen)
{
    if (!CanRunUnprivileged()) GTEST_SKIP() << "running as root and no unprivileged user to save as";
    fs::permissions(folder.Path(), fs::perms::all);
    fs::create_directory(folder.Path("shut"));
    PutFile(folder.Path("shut/demo.forth"), ": SQ DUP * ;\r\n", fs::perms(0666));
    PutFile(folder.Path("shut/demo.forth.blk"), std::string(1024, 'o'), fs::perms(0666));
    PutFile(folder.Path("shut/demo.forth.pairs"), "CONST:\r\n", fs::perms(0666));
    fs::permissions(folder.Path("shut"), fs::perms(0555));
    RunUnprivileged([&] {
        dialogs.FileAnswers = {folder.Name("shut/demo.forth")};
        ASSERT_TRUE(Run(u"EditorOpenFileAct"));
        ASSERT_EQ(page.CodeEditPairedWordsList->Count(), 1);
        Type(u": CUBE DUP DUP * * ;");
        page.CodeEditPairedWordsList->Clear();
        EXPECT_TRUE(Run(u"EditorSaveFileAct"));
        EXPECT_EQ(ToUtf8(Messages()), "");
        EXPECT_FALSE(page.ScriptEdit.Modified());

        // What the next session reads agrees with what was saved.
        page.CodeEditPairedWordsList->Add(u"STALE:");
        dialogs.FileAnswers = {folder.Name("shut/demo.forth")};
        ASSERT_TRUE(Run(u"EditorOpenFileAct"));
        EXPECT_EQ(page.CodeEditPairedWordsList->Count(), 0);
        EXPECT_EQ(page.ScriptEdit.Lines().Text(), u": CUBE DUP DUP * * ;");
    });
    fs::permissions(folder.Path("shut"), fs::perms::all);
    EXPECT_EQ(folder.Read("shut/demo.forth"), ": CUBE DUP DUP * * ;");
    EXPECT_EQ(folder.Read("shut/demo.forth.blk").substr(0, 21), ": CUBE DUP DUP * * ; ");
    EXPECT_EQ(folder.Read("shut/demo.forth.pairs"), "") << "emptied in place, as it cannot be deleted";
}

}  // namespace
