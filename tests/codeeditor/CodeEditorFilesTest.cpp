#include <sys/stat.h>
#include <filesystem>
#include "codeeditor/CodeEditorFixture.h"
#include "codeeditor/TextToBlock.h"
#include "platform/Folders.h"
#include "support/TextFiles.h"
#include "support/Unprivileged.h"

namespace {

class CodeEditorFiles : public CodeEditorTest {
protected:
    bool Run(const char16_t* name) { return actions.Find(name)->Execute(); }
    bool Enabled(const char16_t* name)
    {
        TAction* action = actions.Find(name);
        action->Update();
        return action->Enabled;
    }
    /// Opens demo.forth beside a ".pairs" that cannot be read, saves it, then saves it with a
    /// paired word added: the file is reported on Open, and neither save deletes or replaces it.
    void OpenAndSaveBesideUnreadablePairs()
    {
        const UnicodeString pairs = folder.Name("demo.forth.pairs");
        dialogs.FileAnswers = {folder.Name("demo.forth")};
        EXPECT_TRUE(Run(u"EditorOpenFileAct"));
        ASSERT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtError);
        EXPECT_EQ(dialogs.Questions[0].Text, u"Cannot read the paired words from \"" + pairs +
                                                 u"\". The file is kept as it is: saving the document does "
                                                 u"not replace it.");
        EXPECT_EQ(page.CodeEditCurrentFileName, folder.Name("demo.forth"));
        EXPECT_EQ(page.CodeEditPairedWordsList->Count(), 0);

        Type(u": CUBE DUP DUP * * ;");
        EXPECT_TRUE(Run(u"EditorSaveFileAct"));
        EXPECT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_FALSE(page.ScriptEdit.Modified());

        // Words added since cannot go into that file: the save says so and the document stays unsaved.
        page.CodeEditPairedWordsList->Add(u"CONST:");
        Type(u": SQUARE DUP * ;");
        EXPECT_TRUE(Run(u"EditorSaveFileAct"));
        ASSERT_EQ(dialogs.Questions.size(), 2u);
        EXPECT_NE(dialogs.Questions[1].Text.find(pairs + u"\" could not be read and is kept"), UnicodeString::npos);
        EXPECT_TRUE(page.ScriptEdit.Modified());

        // A new document saved as other.forth, whose own ".pairs" cannot be read, keeps that one too.
        dialogs.Answers = {TModalResult::mrNo};
        EXPECT_TRUE(Run(u"EditorNewAct"));
        Type(u"1 2 +");
        dialogs.FileAnswers = {folder.Name("other.forth")};
        EXPECT_TRUE(Run(u"EditorSaveAsFileAct"));
        EXPECT_EQ(dialogs.Questions.size(), 3u);
        EXPECT_FALSE(page.ScriptEdit.Modified());
    }
    /// A source file with its paired words, as an earlier save left them.
    void WriteDocument(const std::string& name, const std::string& text, const std::string& pairs)
    {
        folder.Write(name, text);
        if (!pairs.empty()) folder.Write(name + ".pairs", pairs);
    }
};

TEST_F(CodeEditorFiles, SavingWritesTheSourceItsBlocksAndItsPairedWords)
{
    options.EditorCaptionBlocks = 1;
    Type(u"CONST: TEN 10\r\n: SQ DUP * ;");
    page.CodeEditPairedWordsList->Add(u"CONST:");
    dialogs.FileAnswers = {folder.Name("demo.forth")};

    EXPECT_TRUE(Run(u"EditorSaveFileAct"));

    ASSERT_EQ(dialogs.SaveRequests.size(), 1u);
    EXPECT_EQ(dialogs.SaveRequests[0].Title, u"Save To Forth Text File");
    EXPECT_EQ(dialogs.SaveRequests[0].DefaultExt, u".forth");
    EXPECT_EQ(folder.Read("demo.forth"), "CONST: TEN 10\r\n: SQ DUP * ;");
    const std::string blocks = folder.Read("demo.forth.blk");
    ASSERT_EQ(blocks.size(), 1024u);
    EXPECT_EQ(blocks.substr(0, 16), ".( demo.forth ) ");
    EXPECT_EQ(blocks, ConvertTextToBlocks(u"demo.forth", "CONST: TEN 10\r\n: SQ DUP * ;", false, false, false,
                                          false, *page.CodeEditPairedWordsList));
    EXPECT_EQ(folder.Read("demo.forth.pairs"), "CONST:\r\n");
    EXPECT_EQ(page.CodeEditCurrentFileName, folder.Name("demo.forth"));
    EXPECT_EQ(view.Status[6], folder.Name("demo.forth"));
    EXPECT_FALSE(page.ScriptEdit.Modified());

    // The next save keeps the name, rewrites the blocks and drops the emptied paired words.
    page.CodeEditPairedWordsList->Clear();
    Type(u": CUBE DUP DUP * * ;");
    EXPECT_TRUE(Run(u"EditorSaveFileAct"));
    EXPECT_EQ(dialogs.SaveRequests.size(), 1u);
    EXPECT_EQ(folder.Read("demo.forth.blk").substr(64, 21), ": CUBE DUP DUP * * ; ");
    EXPECT_FALSE(FileExists(folder.Name("demo.forth.pairs")));
}

TEST_F(CodeEditorFiles, AFileIsSavedBackInTheEncodingItWasReadInAndItsBlocksAreEightBit)
{
    std::vector<MarkedTextFile> files = MarkedTextFiles();
    files.push_back({"8-bit", TTextEncoding::Ansi, EveryByteText()});
    for (const MarkedTextFile& file : files) {
        SCOPED_TRACE(file.Name);
        folder.Write("in.forth", file.Bytes);
        dialogs.FileAnswers = {folder.Name("in.forth"), folder.Name("in.forth")};
        ASSERT_TRUE(Run(u"EditorOpenFileAct"));
        ASSERT_TRUE(Run(u"EditorSaveAsFileAct"));
        EXPECT_TRUE(dialogs.Questions.empty());
        EXPECT_EQ(folder.Read("in.forth"), file.Bytes);
        const std::string eightBit = ToAnsi(DecodeText(file.Bytes));
        EXPECT_EQ(folder.Read("in.forth.blk"), ConvertTextToBlocks(u"", eightBit, false, false, false, false, TStringList()));
    }
}

TEST_F(CodeEditorFiles, ANewDocumentThatEightBitTextCannotHoldIsSavedOnlyWhenTheUserAgrees)
{
    // Even after a marked file: the new document has no mark of its own.
    folder.Write("marked.forth", MarkedTextFiles()[0].Bytes);
    dialogs.FileAnswers = {folder.Name("marked.forth")};
    ASSERT_TRUE(Run(u"EditorOpenFileAct"));
    ASSERT_TRUE(Run(u"EditorNewAct"));

    Type(u": ARROW ( n -- ) \u2192 ;");
    dialogs.FileAnswers = {folder.Name("arrow.forth")};
    dialogs.Answers = {TModalResult::mrCancel};
    EXPECT_TRUE(Run(u"EditorSaveFileAct"));
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text,
              u"1 character of this text cannot be stored in 8-bit text and would be saved as \"?\"; the first is "
              u"\"\u2192\" (U+2192) in line 1, column 18.\n\nSave anyway?");
    EXPECT_EQ(dialogs.Questions[0].Buttons, TMsgButtons::OKCancel);
    for (const char* name : {"arrow.forth", "arrow.forth.blk"})
        EXPECT_FALSE(std::filesystem::exists(folder.Path(name))) << name;
    EXPECT_TRUE(page.ScriptEdit.Modified());
    EXPECT_EQ(page.CodeEditCurrentFileName, u"");

    // At the close question Cancel keeps the program open; OK saves the "?".
    dialogs.Answers = {TModalResult::mrYes, TModalResult::mrCancel};
    dialogs.FileAnswers = {folder.Name("arrow.forth")};
    EXPECT_FALSE(page.QueryCloseEditorFile());
    EXPECT_FALSE(std::filesystem::exists(folder.Path("arrow.forth")));
    dialogs.Answers = {TModalResult::mrOk};
    dialogs.FileAnswers = {folder.Name("arrow.forth")};
    EXPECT_TRUE(Run(u"EditorSaveFileAct"));
    EXPECT_EQ(folder.Read("arrow.forth"), ": ARROW ( n -- ) ? ;");
    EXPECT_FALSE(page.ScriptEdit.Modified());
    EXPECT_EQ(dialogs.Questions.size(), 4u);
}

TEST_F(CodeEditorFiles, SaveAsAlwaysAsksAndACancelledDialogSavesNothing)
{
    Type(u"1 2 +");
    dialogs.FileAnswers = {folder.Name("a.forth"), u""};
    EXPECT_TRUE(Run(u"EditorSaveAsFileAct"));
    Type(u"3 4 +");
    EXPECT_TRUE(Run(u"EditorSaveAsFileAct"));
    EXPECT_EQ(dialogs.SaveRequests.size(), 2u);
    EXPECT_EQ(folder.Read("a.forth"), "1 2 +");
    EXPECT_TRUE(page.ScriptEdit.Modified());
    EXPECT_EQ(page.CodeEditCurrentFileName, folder.Name("a.forth"));
}

TEST_F(CodeEditorFiles, AFailedSaveSaysSoAndKeepsTheDocumentUnsaved)
{
    Type(u"1 2 +");
    dialogs.FileAnswers = {folder.Name("missing/a.forth")};
    EXPECT_TRUE(Run(u"EditorSaveFileAct"));
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(page.ScriptEdit.Modified());
    EXPECT_EQ(page.CodeEditCurrentFileName, u"");

    // The source saved but its block file could not be written: still unsaved.
    std::filesystem::create_directory(folder.Path("a.forth.blk"));
    dialogs.FileAnswers = {folder.Name("a.forth")};
    EXPECT_TRUE(Run(u"EditorSaveFileAct"));
    EXPECT_EQ(dialogs.Questions.size(), 2u);
    EXPECT_TRUE(page.ScriptEdit.Modified());
}

TEST_F(CodeEditorFiles, OpenTakesTheFileItsPairedWordsAndItsLocalWords)
{
    WriteDocument("one.forth", ": SQ DUP * ;\r\n", "CONST:\r\nVAR:\r\n");
    WriteDocument("two.forth", "( : HIDDEN ) : SHOWN ;\r\n", "");
    dialogs.FileAnswers = {folder.Name("one.forth"), folder.Name("two.forth")};

    EXPECT_TRUE(Run(u"EditorOpenFileAct"));
    EXPECT_EQ(dialogs.OpenRequests[0].Title, u"Open Block or Text  File");
    EXPECT_EQ(dialogs.OpenRequests[0].Filter, u"Forth Text File|*.forth|Text File|*.txt|Any File|*.*");
    EXPECT_EQ(Text(), u": SQ DUP * ;\r\n");
    EXPECT_FALSE(page.ScriptEdit.Modified());
    EXPECT_EQ(page.CodeEditCurrentFileName, folder.Name("one.forth"));
    EXPECT_EQ(view.Status[6], folder.Name("one.forth"));
    EXPECT_EQ(page.CodeEditPairedWordsList->Text(), u"CONST:\r\nVAR:\r\n");
    EXPECT_TRUE(page.Highlighter()->IsLocalword(u"SQ"));

    // Without a ".pairs" file the list stays empty; a colon in a comment defines nothing.
    EXPECT_TRUE(Run(u"EditorOpenFileAct"));
    EXPECT_EQ(page.CodeEditPairedWordsList->Count(), 0);
    EXPECT_FALSE(page.Highlighter()->IsLocalword(u"SQ"));
    EXPECT_FALSE(page.Highlighter()->IsLocalword(u"HIDDEN"));
    EXPECT_TRUE(page.Highlighter()->IsLocalword(u"SHOWN"));
    EXPECT_TRUE(dialogs.Questions.empty());
}

TEST_F(CodeEditorFiles, AFolderNamedLikeThePairedWordsFileIsReportedAndKept)
{
    WriteDocument("demo.forth", ": SQ DUP * ;", "");
    std::filesystem::create_directory(folder.Path("demo.forth.pairs"));
    folder.Write("demo.forth.pairs/inside", "x");
    std::filesystem::create_directory(folder.Path("other.forth.pairs"));
    OpenAndSaveBesideUnreadablePairs();
    EXPECT_EQ(folder.Read("demo.forth.pairs/inside"), "x");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("other.forth.pairs")));
}

TEST_F(CodeEditorFiles, AnUnreadablePairedWordsFileIsReportedAndKept)
{
    if (!CanRunUnprivileged()) GTEST_SKIP() << "running as root and no unprivileged user to read as";
    const std::string secret = "SECRET:\r\n";
    WriteDocument("demo.forth", ": SQ DUP * ;", secret);
    folder.Write("other.forth.pairs", secret);
    for (const char* pairs : {"demo.forth.pairs", "other.forth.pairs"})
        std::filesystem::permissions(folder.Path(pairs), std::filesystem::perms::none);
    std::filesystem::permissions(folder.Path("demo.forth"), std::filesystem::perms(0666));
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::all);
    // Root reads any file: the document is opened and saved by a child that runs as nobody.
    RunUnprivileged([this] { OpenAndSaveBesideUnreadablePairs(); });
    for (const char* pairs : {"demo.forth.pairs", "other.forth.pairs"}) {
        EXPECT_EQ(std::filesystem::status(folder.Path(pairs)).permissions(), std::filesystem::perms::none) << pairs;
        // Readable again, for a test that does not run as root.
        std::filesystem::permissions(folder.Path(pairs), std::filesystem::perms::owner_read);
        EXPECT_EQ(folder.Read(pairs), secret) << pairs;
    }
    EXPECT_EQ(folder.Read("demo.forth"), ": SQUARE DUP * ;") << "the child saved the source";
}

TEST_F(CodeEditorFiles, NoFileOfTheDocumentIsReplacedWhileOneMayNotBeWritten)
{
    if (!CanRunUnprivileged()) GTEST_SKIP() << "running as root and no unprivileged user to save as";
    namespace fs = std::filesystem;
    fs::permissions(folder.Path(), fs::perms::all);
    const std::string files[] = {"demo.forth", "demo.forth.blk", "demo.forth.pairs"};
    const std::string old[] = {": SQ DUP * ;\r\n", std::string(1024, 'o'), "VAR:\r\n"};
    // Opens demo.forth in the folder, changes it and its paired words, and saves.
    auto editAndSave = [this](const std::string& in) {
        dialogs.FileAnswers = {folder.Name(in + "demo.forth")};
        ASSERT_TRUE(Run(u"EditorOpenFileAct"));
        Type(u": CUBE DUP DUP * * ;");
        page.CodeEditPairedWordsList->Add(u"CONST:");
        EXPECT_TRUE(Run(u"EditorSaveFileAct"));
    };
    for (const std::string& readOnly : files) {
        SCOPED_TRACE(readOnly);
        std::vector<FileState> before;
        for (int i = 0; i < 3; ++i)
            before.push_back(PutFile(folder.Path(files[i]), old[i], fs::perms(files[i] == readOnly ? 0444 : 0666)));
        RunUnprivileged([&] {
            editAndSave("");
            ASSERT_EQ(dialogs.Questions.size(), 1u);
            EXPECT_EQ(dialogs.Questions[0].Text, u"Cannot save file \"" + folder.Name("demo.forth") +
                                                     u"\": Cannot write \"" + folder.Name(readOnly) +
                                                     u"\": Permission denied");
            EXPECT_TRUE(page.ScriptEdit.Modified());
        });
        for (int i = 0; i < 3; ++i) EXPECT_EQ(StateOf(folder.Path(files[i])), before[i]) << files[i];
    }

    // In a folder the user may not write, the files they may are written over in place.
    fs::create_directory(folder.Path("shut"));
    for (int i = 0; i < 3; ++i) PutFile(folder.Path("shut/" + files[i]), old[i], fs::perms(0666));
    fs::permissions(folder.Path("shut"), fs::perms(0555));
    RunUnprivileged([&] {
        editAndSave("shut/");
        EXPECT_TRUE(dialogs.Questions.empty());
        EXPECT_FALSE(page.ScriptEdit.Modified());
    });
    EXPECT_EQ(StateOf(folder.Path("shut/demo.forth")), (FileState{": CUBE DUP DUP * * ;", fs::perms(0666)}));
    const FileState blocks = StateOf(folder.Path("shut/demo.forth.blk"));
    EXPECT_EQ(blocks.Bytes.substr(0, 21), ": CUBE DUP DUP * * ; ");
    EXPECT_EQ(blocks.Mode, fs::perms(0666));
    EXPECT_EQ(StateOf(folder.Path("shut/demo.forth.pairs")), (FileState{"VAR:\r\nCONST:\r\n", fs::perms(0666)}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path("shut")), fs::directory_iterator()), 3);
}

TEST_F(CodeEditorFiles, AFileThatCannotBeReadIsReportedAndNamesNothing)
{
    dialogs.FileAnswers = {folder.Name("gone.forth")};
    EXPECT_TRUE(Run(u"EditorOpenFileAct"));
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(page.CodeEditCurrentFileName, u"");

    // The document open before is closed by then: its name must not stay for the next save to overwrite.
    WriteDocument("one.forth", ": SQ DUP * ;\r\n", "");
    dialogs.FileAnswers = {folder.Name("one.forth"), folder.Name("gone.forth")};
    EXPECT_TRUE(Run(u"EditorOpenFileAct"));
    EXPECT_TRUE(Run(u"EditorOpenFileAct"));
    EXPECT_EQ(dialogs.Questions.size(), 2u);
    EXPECT_EQ(Text(), u"");
    EXPECT_EQ(page.CodeEditCurrentFileName, u"");
    EXPECT_EQ(view.Status[6], u"(none)");
}

TEST_F(CodeEditorFiles, TheCloseQuestionSavesDiscardsOrKeepsTheDocument)
{
    struct Case {
        const char* Name;
        std::vector<TModalResult> Answers;
        UnicodeString SaveAnswer;
        bool Result;
        bool Kept;
    };
    using R = TModalResult;
    const Case cases[] = {
        {"No discards", {R::mrNo}, u"", true, false},
        {"Cancel keeps", {R::mrCancel}, u"", false, true},
        {"Yes with a cancelled save dialog keeps", {R::mrYes}, u"", false, true},
        {"Yes with a save discards", {R::mrYes}, folder.Name("q.forth"), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        page.CodeEditCurrentFileName.clear();
        Type(u": A ;");
        page.CodeEditPairedWordsList->Add(u"CONST:");
        dialogs.Answers.assign(c.Answers.begin(), c.Answers.end());
        dialogs.FileAnswers = {c.SaveAnswer};
        dialogs.Questions.clear();

        EXPECT_EQ(page.QueryCloseEditorFile(), c.Result);
        ASSERT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(dialogs.Questions[0].Text, u"Code editor contents have changed, save changes?");
        EXPECT_EQ(dialogs.Questions[0].Buttons, TMsgButtons::YesNoCancel);
        EXPECT_EQ(Text() == u": A ;", c.Kept);
        EXPECT_EQ(page.CodeEditPairedWordsList->Count(), c.Kept ? 1 : 0);
        EXPECT_EQ(page.ScriptEdit.Modified(), c.Kept);
        page.CodeEditPairedWordsList->Clear();
    }
    EXPECT_EQ(folder.Read("q.forth"), ": A ;");
    // Nothing changed, nothing asked.
    dialogs.Questions.clear();
    EXPECT_TRUE(page.QueryCloseEditorFile());
    EXPECT_TRUE(dialogs.Questions.empty());
}

TEST_F(CodeEditorFiles, NewForgetsTheNameOnlyWhenTheQuestionAllows)
{
    page.CodeEditCurrentFileName = u"/x/old.forth";
    Type(u"1");
    dialogs.Answers = {TModalResult::mrCancel, TModalResult::mrNo};
    EXPECT_TRUE(Run(u"EditorNewAct"));
    EXPECT_EQ(page.CodeEditCurrentFileName, u"/x/old.forth");
    EXPECT_TRUE(Run(u"EditorNewAct"));
    EXPECT_EQ(page.CodeEditCurrentFileName, u"");
    EXPECT_EQ(view.Status[6], u"(none)");
    EXPECT_EQ(page.ScriptEdit.Lines().Count(), 0);
}

TEST_F(CodeEditorFiles, DocumentActionsNeedTheFocusedPageLinesOrChanges)
{
    EXPECT_TRUE(Enabled(u"EditorOpenFileAct"));
    EXPECT_FALSE(Enabled(u"EditorNewAct"));
    EXPECT_FALSE(Enabled(u"EditorSaveAsFileAct"));
    EXPECT_FALSE(Enabled(u"EditorTransToBlockEditAct"));
    EXPECT_FALSE(Enabled(u"EditorEditPairedWordsAct"));
    Type(u"1");
    EXPECT_TRUE(Enabled(u"EditorSaveFileAct"));
    EXPECT_TRUE(Enabled(u"EditorTransToBlockEditAct"));
    EXPECT_TRUE(Enabled(u"EditorEditPairedWordsAct"));
    page.ScriptEdit.FocusChanged(false);
    EXPECT_FALSE(Enabled(u"EditorOpenFileAct"));
    EXPECT_FALSE(Enabled(u"EditorSaveFileAct"));
    EXPECT_FALSE(Enabled(u"EditorSaveAsFileAct"));
    EXPECT_TRUE(Enabled(u"EditorNewAct"));
    EXPECT_TRUE(Enabled(u"EditorTransToBlockEditAct"));
    page.ScriptEdit.FocusChanged(true);
    pageActive = false;
    EXPECT_FALSE(Enabled(u"EditorSaveFileAct"));
}

TEST_F(CodeEditorFiles, TransformHandsTheBlocksOverWhenTheBlockManagerAllows)
{
    page.CodeEditCurrentFileName = folder.Name("t.forth");
    Type(u": SQ DUP * ;");
    EXPECT_TRUE(Run(u"EditorTransToBlockEditAct"));
    ASSERT_EQ(blocks.BlockEditData.Count(), 16);
    EXPECT_EQ(blocks.BlockEditData[0], u": SQ DUP * ;");
    EXPECT_EQ(blocks.BlockEditCurrentFileName, folder.Name("t.forth.blk"));

    // A changed block file is asked about first; Cancel leaves it and its name alone.
    blocks.InsertBlankLinesAt(0, 1);
    dialogs.Answers = {TModalResult::mrCancel};
    Type(u": CUBE ;");
    EXPECT_TRUE(Run(u"EditorTransToBlockEditAct"));
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text, u"Block editor contents have changed, save changes?");
    EXPECT_EQ(blocks.BlockEditData.Count(), 17);
    EXPECT_EQ(blocks.BlockEditCurrentFileName, folder.Name("t.forth.blk"));

    // An unnamed source leaves the Block Manager unnamed.
    dialogs.Answers = {TModalResult::mrNo};
    page.CodeEditCurrentFileName.clear();
    EXPECT_TRUE(Run(u"EditorTransToBlockEditAct"));
    EXPECT_EQ(blocks.BlockEditData[0], u": CUBE ;");
    EXPECT_EQ(blocks.BlockEditCurrentFileName, u"");
}

TEST_F(CodeEditorFiles, PairedWordsFromTheDialogMarkTheDocumentChangedOnlyWhenTheyDiffer)
{
    TEditPairsForm form;
    struct OkView : TEditPairsView {
        TEditPairsForm* Form;
        std::function<void()> Edit;
        TModalResult ShowModal() override
        {
            if (Edit) Edit();
            Form->OkAct->Execute();
            return Form->ModalResult;
        }
        void Changed() override {}
    } dialogView;
    dialogView.Form = &form;
    form.SetView(&dialogView);
    EditPairsForm = &form;
    folder.Write("p.forth", "1 2 +\r\n");
    dialogs.FileAnswers = {folder.Name("p.forth")};
    Run(u"EditorOpenFileAct");

    EXPECT_TRUE(Run(u"EditorEditPairedWordsAct"));
    EXPECT_FALSE(page.ScriptEdit.Modified());
    EXPECT_EQ(form.Bounds.Left, 100 + (800 - form.Bounds.Width()) / 2);

    dialogView.Edit = [&] {
        form.SetAddWordEdit(u"VAR:");
        form.AddAct->Execute();
    };
    EXPECT_TRUE(Run(u"EditorEditPairedWordsAct"));
    EXPECT_EQ(page.CodeEditPairedWordsList->Text(), u"VAR:\r\n");
    EXPECT_TRUE(page.ScriptEdit.Modified());
    EditPairsForm = nullptr;
}

TEST_F(CodeEditorFiles, AFifoIsRefusedWithItsReasonWithoutWaitingForAWriter)
{
    ASSERT_EQ(::mkfifo(folder.Path("pipe.forth").c_str(), 0600), 0);
    dialogs.FileAnswers = {folder.Name("pipe.forth")};
    EXPECT_TRUE(Run(u"EditorOpenFileAct"));
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text,
              u"Cannot open file \"" + folder.Name("pipe.forth") + u"\": it is a FIFO, not a regular file.");
    EXPECT_EQ(page.CodeEditCurrentFileName, u"");
}

}  // namespace
