#include "BlockManagerFixture.h"
#include <sys/stat.h>
#include <filesystem>
#include <string>
#include "blocks/BlockFile.h"
#include "support/TextFiles.h"
#include "support/Unprivileged.h"

namespace {

const UnicodeString ChangedQuestion = u"Block editor contents have changed, save changes?";

std::string Records(int n)
{
    std::string bytes;
    for (int i = 0; i < n; ++i) bytes += ("line " + std::to_string(i + 1) + std::string(64, ' ')).substr(0, 64);
    return bytes;
}

}  // namespace

TEST_F(BlockManagerTest, OpenReadsBlockOrTextFileByExtension)
{
    folder.Write("a.BLK", std::string(1000, 'q'));
    folder.Write("b.forth", "x\r\n\r\n" + std::string(70, 'L') + "\r\n");
    dialogs.FileAnswers = {folder.Name("a.BLK"), folder.Name("b.forth")};

    ASSERT_TRUE(Run(u"BlockEditOpenFileAct"));
    EXPECT_EQ(manager.BlockEditData.Count(), 16);
    EXPECT_EQ(manager.BlockEditData[15], UnicodeString(40, u'q'));
    EXPECT_EQ(manager.DrawGrid1.RowCount(), 16);
    EXPECT_EQ(status[spFileName], folder.Name("a.BLK"));
    EXPECT_EQ(status[spBlocks], u"1");
    EXPECT_EQ(dialogs.OpenRequests[0].Title, u"Open Block or Text  File");

    Run(u"BlockEditOpenFileAct");
    EXPECT_EQ(Joined(), u"x||" + UnicodeString(70, u'L') + u"|");
    EXPECT_EQ(manager.BlockEditCurrentFileName, folder.Name("b.forth"));
    EXPECT_FALSE(manager.Modified());
}

TEST_F(BlockManagerTest, AFileThatFailsToOpenKeepsLinesAndName)
{
    SetLines({u"keep"});
    manager.BlockEditCurrentFileName = folder.Name("old.blk");
    manager.InsertBlankLinesAt(0, 1);
    dialogs.FileAnswers = {folder.Name("missing.blk")};
    dialogs.Answers = {TModalResult::mrNo};

    Run(u"BlockEditOpenFileAct");
    EXPECT_EQ(Joined(), u"|keep");
    EXPECT_EQ(manager.BlockEditCurrentFileName, folder.Name("old.blk"));
    EXPECT_TRUE(manager.Modified());
    ASSERT_EQ(dialogs.Questions.size(), 2u);
    EXPECT_EQ(dialogs.Questions[1].Type, TMsgDlgType::mtError);
}

TEST_F(BlockManagerTest, AFifoIsRefusedWithItsReasonWithoutWaitingForAWriter)
{
    SetLines({u"keep"});
    for (const char* name : {"pipe.blk", "pipe.forth"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(::mkfifo(folder.Path(name).c_str(), 0600), 0);
        dialogs.FileAnswers = {folder.Name(name)};
        dialogs.Questions.clear();
        Run(u"BlockEditOpenFileAct");
        EXPECT_EQ(Joined(), u"keep");
        ASSERT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(dialogs.Questions[0].Text,
                  u"Cannot open file \"" + folder.Name(name) + u"\": it is a FIFO, not a regular file.");
    }
}

TEST_F(BlockManagerTest, CancelAtTheQuestionLoadsNothing)
{
    folder.Write("new.blk", Records(2));
    SetLines({u"mine"});
    manager.InsertBlankLinesAt(1, 1);
    dialogs.FileAnswers = {folder.Name("new.blk")};
    dialogs.Answers = {TModalResult::mrCancel};

    Run(u"BlockEditOpenFileAct");
    EXPECT_EQ(dialogs.Questions.at(0).Text, ChangedQuestion);
    EXPECT_EQ(Joined(), u"mine|");
    EXPECT_TRUE(manager.Modified());
    EXPECT_EQ(manager.BlockEditCurrentFileName, u"");
}

TEST_F(BlockManagerTest, SaveAsksForANameOnceThenWritesSilently)
{
    SetLines({u"A"});
    manager.InsertBlankLinesAfter(0, 1);
    Run(u"BlockEdSaveFileAct");
    EXPECT_EQ(dialogs.SaveRequests.size(), 1u);
    EXPECT_TRUE(manager.Modified());

    dialogs.FileAnswers = {folder.Name("f.blk")};
    Run(u"BlockEdSaveFileAct");
    EXPECT_EQ(dialogs.SaveRequests.size(), 2u);
    EXPECT_EQ(dialogs.SaveRequests[1].Title, u"Save To Block or Text File");
    EXPECT_EQ(folder.Read("f.blk"), "A" + std::string(127, ' '));
    EXPECT_FALSE(manager.Modified());
    EXPECT_EQ(status[spFileName], folder.Name("f.blk"));

    manager.InsertBlankLinesAt(0, 1);
    Run(u"BlockEdSaveFileAct");
    EXPECT_EQ(dialogs.SaveRequests.size(), 2u);
    EXPECT_EQ(folder.Read("f.blk").size(), 3u * 64);
}

TEST_F(BlockManagerTest, OverLongLinesAreRefusedAsBlockFileAndWrittenAsText)
{
    SetLines({UnicodeString(65, u'W')});
    manager.InsertBlankLinesAt(0, 1);
    dialogs.FileAnswers = {folder.Name("long.BLK"), folder.Name("long.txt")};

    Run(u"BlockEditSaveFileAsAct");
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtWarning);
    EXPECT_EQ(dialogs.Questions[0].Text, u"Unable to save as a block file, the block editor contains one or more text lines "
                                         u"that are longer then the allowed 64 characters per line.");
    EXPECT_FALSE(FileExists(folder.Name("long.BLK")));
    EXPECT_TRUE(manager.Modified());
    EXPECT_EQ(manager.BlockEditCurrentFileName, u"");

    Run(u"BlockEditSaveFileAsAct");
    EXPECT_EQ(folder.Read("long.txt"), "\r\n" + std::string(65, 'W') + "\r\n");
    EXPECT_FALSE(manager.Modified());
}

TEST_F(BlockManagerTest, ASaveThatFailsKeepsTheChangesAndSaysWhy)
{
    SetLines({u"A"});
    manager.InsertBlankLinesAt(0, 1);
    dialogs.FileAnswers = {folder.Name("no/such/folder.blk")};
    Run(u"BlockEditSaveFileAsAct");
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(manager.Modified());
    EXPECT_EQ(manager.BlockEditCurrentFileName, u"");
}

TEST_F(BlockManagerTest, TheCloseQuestionOnlyAsks)
{
    SetLines({u"A", u"B"});
    manager.BlockEditCurrentFileName = folder.Name("k.blk");
    EXPECT_TRUE(manager.QueryCloseBlockFile());
    EXPECT_TRUE(dialogs.Questions.empty());

    manager.DeleteBlockLines(0, 0);
    dialogs.Answers = {TModalResult::mrNo, TModalResult::mrCancel};
    EXPECT_TRUE(manager.QueryCloseBlockFile());
    EXPECT_FALSE(manager.QueryCloseBlockFile());
    EXPECT_EQ(Joined(), u"B");
    EXPECT_TRUE(manager.Modified());

    // Yes saves under the known name.
    dialogs.Answers = {TModalResult::mrYes};
    EXPECT_TRUE(manager.QueryCloseBlockFile());
    EXPECT_EQ(folder.Read("k.blk"), "B" + std::string(63, ' '));
    EXPECT_EQ(Joined(), u"B");
}

TEST_F(BlockManagerTest, YesWithACancelledSaveDialogKeepsTheChanges)
{
    SetLines({u"A"});
    manager.DeleteBlockLines(0, 0);
    dialogs.Answers = {TModalResult::mrYes};
    EXPECT_FALSE(manager.QueryCloseBlockFile());
    EXPECT_EQ(dialogs.SaveRequests.size(), 1u);
    EXPECT_TRUE(manager.Modified());
}

TEST_F(BlockManagerTest, NewAsksBeforeItForgetsTheName)
{
    SetLines({u"A"});
    manager.BlockEditCurrentFileName = folder.Name("n.blk");
    manager.InsertBlankLinesAt(0, 1);

    dialogs.Answers = {TModalResult::mrCancel};
    Run(u"BlockEditClearAct");
    EXPECT_EQ(manager.BlockEditCurrentFileName, folder.Name("n.blk"));
    EXPECT_EQ(Joined(), u"|A");

    dialogs.Answers = {TModalResult::mrYes};
    Run(u"BlockEditClearAct");
    EXPECT_EQ(folder.Read("n.blk").size(), 128u);
    EXPECT_EQ(manager.BlockEditData.Count(), 0);
    EXPECT_EQ(manager.BlockEditCurrentFileName, u"");
    EXPECT_EQ(status[spFileName], u"(none)");
    EXPECT_EQ(status[spLines], u"--");
}

TEST_F(BlockManagerTest, AStreamReplacesTheLinesWhenTheQuestionAllows)
{
    SetLines({u"old"});
    manager.DeleteBlockLines(0, 0);
    dialogs.Answers = {TModalResult::mrCancel, TModalResult::mrNo};
    EXPECT_FALSE(manager.LoadBlockStream(Records(17)));
    EXPECT_EQ(manager.BlockEditData.Count(), 0);
    EXPECT_TRUE(manager.LoadBlockStream(Records(17)));
    EXPECT_EQ(manager.BlockEditData.Count(), 17);
    EXPECT_EQ(manager.BlockEditData[16], u"line 17");
    EXPECT_FALSE(manager.Modified());
    EXPECT_EQ(status[spBlocks], u"2");
}

TEST_F(BlockManagerTest, ATextFileIsSavedBackInTheEncodingItWasReadIn)
{
    std::vector<MarkedTextFile> files = MarkedTextFiles();
    files.push_back({"8-bit", TTextEncoding::Ansi, EveryByteText()});
    for (const MarkedTextFile& file : files) {
        SCOPED_TRACE(file.Name);
        folder.Write("in.txt", file.Bytes);
        dialogs.FileAnswers = {folder.Name("in.txt"), folder.Name("in.txt")};
        ASSERT_TRUE(Run(u"BlockEditOpenFileAct"));
        ASSERT_TRUE(Run(u"BlockEditSaveFileAsAct"));
        EXPECT_EQ(folder.Read("in.txt"), file.Bytes);
        EXPECT_TRUE(dialogs.Questions.empty());
    }
    // The same lines as a block file are 8-bit text as ever: the question comes first.
    dialogs.FileAnswers = {folder.Name("in.txt"), folder.Name("out.blk")};
    folder.Write("in.txt", MarkedTextFiles()[0].Bytes);
    ASSERT_TRUE(Run(u"BlockEditOpenFileAct"));
    ASSERT_TRUE(Run(u"BlockEditSaveFileAsAct"));
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(folder.Read("out.blk"), WriteBlockStream(manager.BlockEditData));
    EXPECT_EQ(folder.Read("out.blk").substr(0, 11), "caf\xE9 ? ? ? ");
}

TEST_F(BlockManagerTest, EightBitTextThatLosesCharactersIsSavedOnlyWhenTheUserAgrees)
{
    for (const char* name : {"new.txt", "new.blk"}) {
        SCOPED_TRACE(name);
        SetLines({u"1 2 +", u"a \u2192 b \U0001F600"});
        manager.BlockEditCurrentFileName.clear();
        manager.InsertBlankLinesAt(0, 1);
        dialogs.Questions.clear();
        dialogs.Answers = {TModalResult::mrCancel};
        dialogs.FileAnswers = {folder.Name(name)};
        EXPECT_TRUE(Run(u"BlockEditSaveFileAsAct"));
        ASSERT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtWarning);
        EXPECT_EQ(dialogs.Questions[0].Buttons, TMsgButtons::OKCancel);
        EXPECT_EQ(dialogs.Questions[0].Text,
                  u"3 characters of this text cannot be stored in 8-bit text and would be saved as \"?\"; the first "
                  u"is \"\u2192\" (U+2192) in line 3, column 3.\n\nSave anyway?");
        EXPECT_FALSE(std::filesystem::exists(folder.Path(name)));
        EXPECT_TRUE(manager.Modified());
        EXPECT_EQ(manager.BlockEditCurrentFileName, u"");

        dialogs.Answers = {TModalResult::mrOk};
        dialogs.FileAnswers = {folder.Name(name)};
        EXPECT_TRUE(Run(u"BlockEditSaveFileAsAct"));
        EXPECT_FALSE(manager.Modified());
        const std::string saved = folder.Read(name);
        EXPECT_NE(saved.find("a ? b ??"), std::string::npos);
    }
}

TEST_F(BlockManagerTest, AFileTheUserMayNotWriteIsRefusedAndOneInAFolderTheyMayNotIsWrittenInPlace)
{
    if (!CanRunUnprivileged()) GTEST_SKIP() << "running as root and no unprivileged user to save as";
    namespace fs = std::filesystem;
    fs::permissions(folder.Path(), fs::perms::all);
    fs::create_directory(folder.Path("shut"));
    for (const std::string name : {"saved.blk", "saved.txt"}) {
        SCOPED_TRACE(name);
        const std::string readOnly = folder.Path(name), inShut = folder.Path("shut/" + name);
        const FileState before = PutFile(readOnly, Records(2), fs::perms(0444));
        PutFile(folder.Path("." + name + ".tmp"), "", fs::perms(0666));
        fs::permissions(folder.Path("shut"), fs::perms::all);
        PutFile(inShut, Records(2), fs::perms(0666));
        fs::permissions(folder.Path("shut"), fs::perms(0555));
        SetLines({u": new ;"});
        manager.InsertBlankLinesAt(0, 1);

        RunUnprivileged([&] {
            dialogs.FileAnswers = {FromUtf8(readOnly), FromUtf8(inShut)};
            EXPECT_TRUE(Run(u"BlockEditSaveFileAsAct"));
            ASSERT_EQ(dialogs.Questions.size(), 1u);
            EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtError);
            EXPECT_EQ(dialogs.Questions[0].Text, u"Cannot write \"" + FromUtf8(readOnly) + u"\": Permission denied");
            EXPECT_TRUE(manager.Modified());
            EXPECT_EQ(manager.BlockEditCurrentFileName, u"");

            EXPECT_TRUE(Run(u"BlockEditSaveFileAsAct"));
            EXPECT_EQ(dialogs.Questions.size(), 1u);
            EXPECT_FALSE(manager.Modified());
            EXPECT_EQ(manager.BlockEditCurrentFileName, FromUtf8(inShut));
        });
        EXPECT_EQ(StateOf(readOnly), before);
        EXPECT_TRUE(fs::exists(folder.Path("." + name + ".tmp"))) << "a file that no save of ours made stays";
        const std::string saved =
            IsBlockFileName(FromUtf8(name)) ? std::string(64, ' ') + ": new ;" + std::string(57, ' ') : "\r\n: new ;\r\n";
        EXPECT_EQ(StateOf(inShut), (FileState{saved, fs::perms(0666)}));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path("shut")), fs::directory_iterator()), 2);
}
