#include <gtest/gtest.h>

#include "blocks/TransferFixture.h"
#include "support/ForthSource.h"

namespace {

const std::string kUploadCommands = "blk-count U.\r' load-blocks .\r0 2 load-blocks\r";

class TransferOverEachWire : public TransferFixture, public testing::WithParamInterface<Wire> {
protected:
    TransferOverEachWire() : TransferFixture(GetParam()) {}
};

using Transfer = TransferFixture;

}  // namespace

TEST_P(TransferOverEachWire, UploadSendsTheCommandsAndThreeFrames)
{
    const std::string image = Image(2500);
    Upload(image);

    EXPECT_EQ(target->Received(), kUploadCommands + Frame(image.substr(0, 1024), ' ') +
                                      Frame(image.substr(1024, 1024), ' ') + Frame(image.substr(2048), ' '));
    // The last frame: 452 data bytes, 572 pad bytes.
    EXPECT_EQ(forth->Block(2), image.substr(2048) + std::string(572, ' '));
    EXPECT_EQ(forth->Block(0), image.substr(0, 1024));
    EXPECT_TRUE(dialogs.Questions.empty());
    EXPECT_EQ(view.Shown, 1);
    EXPECT_FALSE(dialog.InProgress);
    EXPECT_TRUE(dialog.C_SourceBlocksReadOnly);
    EXPECT_EQ(dialog.C_SourceBlocksColor, clBtnFace);
    EXPECT_TRUE(TerminalHasTheBytes());
}

TEST_P(TransferOverEachWire, DownloadWritesTheRequestedBlocks)
{
    for (int i = 0; i < 4; ++i) forth->SetBlock(i, Image(1024).substr(std::size_t(i) * 100, 1024));
    view.Body = [this] {
        ASSERT_TRUE(loop.RunUntil([&] { return dialog.CodeAvailable || !dialog.Showing(); }));
        EXPECT_EQ(dialog.C_AvailableBlocks, u"128");
        EXPECT_FALSE(dialog.C_SourceBlocksReadOnly);
        EXPECT_EQ(dialog.C_SourceBlocksColor, clWindow);
        dialog.SetFirstBlock(1);
        dialog.SetSourceBlocks(3);
        StartWhenReady();
    };
    const std::string file = Download();

    EXPECT_EQ(target->Received(), "blk-count U.\r' send-blocks .\r1 3 send-blocks\r>\r>\r>\r");
    EXPECT_EQ(file, forth->Block(1) + forth->Block(2) + forth->Block(3));
    EXPECT_TRUE(dialogs.Questions.empty());
    EXPECT_TRUE(TerminalHasTheBytes());
}

INSTANTIATE_TEST_SUITE_P(Wires, TransferOverEachWire, testing::Values(Wire::Tcp, Wire::Pty),
                         [](const auto& info) { return info.param == Wire::Tcp ? "Tcp" : "Pty"; });

TEST_F(Transfer, PadsWithNullBytesWhenChosen)
{
    view.Body = [this] {
        dialog.SetPadByte(1);
        StartWhenReady();
    };
    Upload("tail");
    EXPECT_EQ(forth->Block(0), "tail" + std::string(1020, '\0'));
}

TEST_F(Transfer, StrayCarriageReturnsSkipNoState)
{
    // A second CR in the same write as the reply, and one that comes just before the next reply.
    for (auto extra : {FakeForthBlocks::ExtraCr::SameWrite, FakeForthBlocks::ExtraCr::BeforeNextReply}) {
        forth->SetExtraCr(extra);
        const std::string before = target->Received();
        const std::string image = Image(2500);
        Upload(image);
        EXPECT_EQ(target->Received().substr(before.size()),
                  kUploadCommands + Frame(image.substr(0, 1024), ' ') + Frame(image.substr(1024, 1024), ' ') +
                      Frame(image.substr(2048), ' '));
        EXPECT_TRUE(dialogs.Questions.empty());
    }
}

TEST_F(Transfer, SourceTooLargeOrEmptyIsRefused)
{
    forth = nullptr;
    forth = std::make_unique<FakeForthBlocks>(*target, 4);
    Upload(Image(5 * 1024));
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"The source image is to large to fit on the connected forth system."});
    EXPECT_EQ(target->Received(), "blk-count U.\r");
    EXPECT_TRUE(TerminalHasTheBytes());

    dialogs.Questions.clear();
    Upload("");
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"The source image is empty, there is nothing to upload."});
    EXPECT_EQ(target->Received(), "blk-count U.\r");
    EXPECT_EQ(view.Shown, 1);
}

TEST_F(Transfer, ABlockCountTheSpinBoxesCannotHoldIsRefusedByName)
{
    for (const char* count : {"-2147483648", "0", "99999"}) {
        for (const bool upload : {true, false}) {
            SCOPED_TRACE(std::string(count) + (upload ? " upload" : " download"));
            forth->SetReportedBlockCount(count);
            dialogs.Questions.clear();
            const std::string before = target->Received();
            if (upload)
                Upload(Image(100));
            else
                Download();
            EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"The forth system reported " + FromUtf8(count) +
                                                             u" blocks, a block count of 1 to 65535 is needed to "
                                                             u"transfer blocks."});
            EXPECT_EQ(target->Received().substr(before.size()), "blk-count U.\r");
            EXPECT_TRUE(TerminalHasTheBytes());
        }
    }
    // The largest count that the boxes hold goes on to the transfer word.
    forth->SetReportedBlockCount("65535");
    dialogs.Questions.clear();
    view.Body = [this] {
        EXPECT_TRUE(RunUntilStartEnabled());
        EXPECT_EQ(dialog.C_AvailableBlocks, u"65535");
        dialog.Close();
    };
    Upload(Image(100));
    EXPECT_TRUE(dialogs.Questions.empty());
}

TEST_F(Transfer, UnansweredBlockCountFails)
{
    forth->SetQuestionOn("blk-count");
    Upload(Image(100));
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"Unable to request block count from forth system."});
}

TEST_F(Transfer, SilenceGivesEachStatesTimeOut)
{
    struct Case {
        const char* name;
        std::function<void(FakeForthBlocks&)> mute;
        bool upload;
        /// What the target has received when the dialog waits in vain.
        std::string sent;
        const char16_t* message;
    };
    const std::string image = Image(2048);
    const Case cases[] = {
        {"block count", [](FakeForthBlocks& f) { f.SetSilentOn("blk-count"); }, true, "blk-count U.\r",
         u"Forth system did not respond."},
        {"transfer word", [](FakeForthBlocks& f) { f.SetSilentOn("' send-blocks"); }, false,
         "blk-count U.\r' send-blocks .\r", u"Forth system did not respond."},
        {"transfer request", [](FakeForthBlocks& f) { f.SetSilentOn("0 1 load"); }, true,
         "blk-count U.\r' load-blocks .\r0 1 load-blocks\r", u"Forth system did not respond."},
        {"upload frame", [](FakeForthBlocks& f) { f.SetSilentAfterFrame(0); }, true,
         "blk-count U.\r' load-blocks .\r0 1 load-blocks\r" + Frame(image.substr(0, 1024), ' '),
         u"Block upload failed, timed out waiting for responce"},
        {"download frame", [](FakeForthBlocks& f) { f.SetSilentAfterFrame(0); }, false,
         "blk-count U.\r' send-blocks .\r0 1 send-blocks\r>\r>\r",
         u"Block download failed, timed out waiting for responce"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link.ClosePort();
        forth = nullptr;
        target = std::make_unique<FakeTcpTarget>();
        forth = std::make_unique<FakeForthBlocks>(*target, 128);
        c.mute(*forth);
        link.OpenTcpPort(u"127.0.0.1", IntToStr(static_cast<FakeTcpTarget&>(*target).Port()));
        ASSERT_TRUE(loop.RunUntil([&] { return link.IsConnected(); }));
        dialogs.Questions.clear();
        view.Body = [&] {
            if (c.sent.find("blocks\r") != std::string::npos) {
                ASSERT_TRUE(RunUntilStartEnabled());
                if (!c.upload) dialog.SetSourceBlocks(2);
                dialog.UploadAct.Execute();
            }
            ReceivedBy(c.sent);
            loop.AdvanceMs(TUploadDialog::ReplyTimeOutMs - 1);
            EXPECT_TRUE(dialog.Showing());
            loop.AdvanceMs(1);
            EXPECT_FALSE(dialog.Showing());
        };
        if (c.upload)
            Upload(image);
        else
            Download();
        EXPECT_EQ(Messages(), std::vector<UnicodeString>{c.message});
        EXPECT_TRUE(TerminalHasTheBytes());
    }
}

TEST_F(Transfer, MissingWordIsDefinedByTheTransferCodeLineByLine)
{
    forth->SetWordsPresent(false, true);
    const std::string longLine = Words(60);  // 299 characters
    WriteConfigFile("UploadBlock.txt", ": load-blocks ( first last -- )\r\n\r\n   \r\n" + longLine + "   \r\n;\r\n");
    Upload(Image(10));

    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text,
              u"Forth system word \"load-blocks\" not available, upload forth transfer software?");
    EXPECT_EQ(dialogs.Questions[0].Buttons, TMsgButtons::OKCancel);
    EXPECT_EQ(forth->Lines(), (std::vector<std::string>{"blk-count U.", "' load-blocks .", ": load-blocks ( first last -- )",
                                                        longLine.substr(0, 125), longLine.substr(125, 125),
                                                        longLine.substr(250), ";", "' load-blocks .",
                                                        "0 0 load-blocks"}));
    EXPECT_EQ(forth->Block(0), Image(10) + std::string(1014, ' '));
}

TEST_F(Transfer, TransferCodeGoesAsEightBitText)
{
    // "č" (U+010D) must not go as its low byte, a carriage return in mid-line; "—" not as 0x14.
    forth->SetWordsPresent(false, true);
    WriteConfigFile("UploadBlock.txt", "\xEF\xBB\xBF: load-blocks \xC4\x8D \xE2\x80\x94 \xC3\xA9 ;\r\n");
    Upload(Image(10));
    EXPECT_EQ(forth->Lines().at(2), ": load-blocks ? ? \xE9 ;");
    EXPECT_EQ(forth->Block(0), Image(10) + std::string(1014, ' '));
}

TEST_F(Transfer, TransferCodeFailures)
{
    struct Case {
        const char* name;
        bool upload;
        const char* file;
        const char* code;
        TModalResult answer;
        std::vector<UnicodeString> messages;
        /// The last line the target gets: nothing follows the failure or the refusal.
        const char* lastLine;
    };
    const UnicodeString uploadOffer = u"Forth system word \"load-blocks\" not available, upload forth transfer software?";
    const UnicodeString downloadOffer = u"Forth system word \"send-blocks\" not available, upload forth transfer software?";
    const Case cases[] = {
        {"a line answered with ?", true, "UploadBlock.txt", ": load-blocks\r\nx\r\n;\r\n", TModalResult::mrOk,
         {uploadOffer, u"Upload of transfer software failed, x ?"}, "x"},
        {"offer declined", false, "SaveBlock.txt", ": send-blocks ;", TModalResult::mrCancel, {downloadOffer},
         "' send-blocks ."},
        // The message names, in full, the file the program reads.
        {"no upload code", true, "SaveBlock.txt", "", TModalResult::mrOk,
         {u"Forth system requires block upload source, file \"" + FromUtf8(ConfigFile("UploadBlock.txt")) +
          u"\" was not found"},
         "' load-blocks ."},
        {"no download code", false, "UploadBlock.txt", "", TModalResult::mrOk,
         {u"Forth system requires block upload source, file \"" + FromUtf8(ConfigFile("SaveBlock.txt")) +
          u"\" was not found"},
         "' send-blocks ."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder.Path("Brennix"));
        WriteConfigFile(c.file, c.code);
        forth->SetWordsPresent(false, false);
        forth->SetQuestionOn("x");
        dialogs.Questions.clear();
        dialogs.Answers = {c.answer};
        if (c.upload)
            Upload(Image(10));
        else
            Download();
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(forth->Lines().back(), c.lastLine);
        EXPECT_TRUE(TerminalHasTheBytes());
    }
}

TEST_F(Transfer, BadDownloadChecksumKeepsTheFramesWritten)
{
    for (int i = 0; i < 3; ++i) forth->SetBlock(i, std::string(1024, char('a' + i)));
    forth->SetBadChecksumFrame(1);
    view.Body = [this] {
        ASSERT_TRUE(loop.RunUntil([&] { return dialog.CodeAvailable; }));
        dialog.SetSourceBlocks(3);
        StartWhenReady();
    };
    EXPECT_EQ(Download(), std::string(1024, 'a'));
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"Block download failed, data block is invalid."});
    EXPECT_EQ(target->Received(), "blk-count U.\r' send-blocks .\r0 2 send-blocks\r>\r>\r");
    EXPECT_TRUE(TerminalHasTheBytes());
}

TEST_F(Transfer, OkBeforeTheLastFrameIsAFailure)
{
    forth->SetOkAfterFrame(0);
    Upload(Image(2048));
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"Block upload failed,   OK"});
}

TEST_F(Transfer, ClosingOrLosingTheLinkEndsTheDialog)
{
    // The user closes the dialog while it waits for the start.
    view.Body = [this] {
        ASSERT_TRUE(loop.RunUntil([&] { return dialog.CodeAvailable; }));
        dialog.Close();
    };
    Upload(Image(100));
    EXPECT_EQ(view.Closed, 1);
    EXPECT_TRUE(dialogs.Questions.empty());
    EXPECT_EQ(dialog.DataStream, nullptr);
    EXPECT_TRUE(TerminalHasTheBytes());

    // The link closes before the start: the request cannot be sent.
    view.Body = [this] {
        ASSERT_TRUE(loop.RunUntil([&] { return dialog.CodeAvailable; }));
        link.ClosePort();
        dialog.UploadAct.Execute();
    };
    Upload(Image(100));
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"The terminal connection was closed."});
    link.OnRxByte(nullptr, 'z');
    EXPECT_EQ(terminal.back(), 'z');
}

TEST_F(Transfer, TheLinkDroppingDuringAnUploadFrameIsReportedAsALostConnection)
{
    forth->SetSilentAfterFrame(0);
    view.Body = [this] {
        ASSERT_TRUE(RunUntilStartEnabled());
        dialog.UploadAct.Execute();
        ASSERT_TRUE(loop.RunUntil([&] { return target->Received().size() > 1024; }));
        target->HangUp();
        ASSERT_TRUE(loop.RunUntil([&] { return !link.IsActive(); }));
        loop.AdvanceMs(TUploadDialog::ReplyTimeOutMs);
    };
    Upload(Image(3000));
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"Block upload failed, the connection was lost."});
    link.OnRxByte(nullptr, 'z');
    EXPECT_EQ(terminal, "z");
}

TEST_F(Transfer, TheLinkDroppingDuringADownloadIsReportedAsALostConnection)
{
    forth->SetBlock(0, std::string(1024, 'a'));
    forth->SetSilentAfterFrame(0);
    view.Body = [this] {
        ASSERT_TRUE(RunUntilStartEnabled());
        dialog.SetSourceBlocks(3);
        dialog.UploadAct.Execute();
        ASSERT_TRUE(loop.RunUntil([&] { return target->Received().ends_with(">\r>\r"); }));
        target->HangUp();
        ASSERT_TRUE(loop.RunUntil([&] { return !link.IsActive(); }));
        loop.AdvanceMs(TUploadDialog::ReplyTimeOutMs);
    };
    EXPECT_EQ(Download(), std::string(1024, 'a'));
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"Block download failed, the connection was lost."});
}

TEST_F(Transfer, EmptyConfigurationFolderGivesBareFileNames)
{
    // A file where the folder should be: the configuration folder cannot be made.
    folder.Write("blocker", "");
    AppDataAt unusable(folder.Path("blocker"));
    view.Body = [this] {
        EXPECT_EQ(dialog.UploadSourceFileName, u"UploadBlock.txt");
        dialog.Close();
    };
    Upload(Image(10));
    view.Body = [this] {
        EXPECT_EQ(dialog.DownLoadSourceFileName, u"SaveBlock.txt");
        dialog.Close();
    };
    Download();
}

TEST_F(Transfer, TransferCodeMissingFromTheCurrentFolderIsNamedInFull)
{
    folder.Write("blocker", "");
    AppDataAt unusable(folder.Path("blocker"));
    forth->SetWordsPresent(false, false);
    view.Body = [this] { RunToClose(); };
    Upload(Image(10));
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"Forth system requires block upload source, file \"" +
                                                     FromUtf8(std::filesystem::current_path().string()) +
                                                     u"/UploadBlock.txt\" was not found"});
}

namespace {

class SlowSerialTransfer : public TransferFixture {
protected:
    SlowSerialTransfer() : TransferFixture(Wire::Pty, Com_br4800) {}
};

}  // namespace

TEST_F(SlowSerialTransfer, FrameTimeOutCountsFromTheEndOfTheLinesWrite)
{
    forth->SetSilentAfterFrame(0);
    view.Body = [this] {
        ASSERT_TRUE(RunUntilStartEnabled());
        dialog.UploadAct.Execute();
        ASSERT_TRUE(loop.RunUntil([&] { return target->Received().size() >= 45 + 1026; }));
        // 1026 bytes take about 2.1 s at 4800 baud: the reply still has its 2 s after that.
        loop.AdvanceMs(TUploadDialog::ReplyTimeOutMs + 2100);
        EXPECT_TRUE(dialog.Showing());
        loop.AdvanceMs(1000);
        EXPECT_FALSE(dialog.Showing());
    };
    Upload(Image(2048));
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"Block upload failed, timed out waiting for responce"});
}

TEST_F(Transfer, AnUnansweredTransferCodeLineCountsAsTakenAfter200Ms)
{
    forth->SetWordsPresent(false, true);
    forth->SetSilentOn("( quiet )");
    WriteConfigFile("UploadBlock.txt", "( quiet )\r\n: load-blocks ;\r\n");
    view.Body = [this] {
        ReceivedBy("blk-count U.\r' load-blocks .\r( quiet )\r");
        loop.AdvanceMs(TUploadDialog::SoftwareLineTimeOutMs - 1);
        EXPECT_EQ(forth->Lines().back(), "( quiet )");
        loop.AdvanceMs(1);
        StartWhenReady();
    };
    Upload(Image(10));
    EXPECT_EQ(forth->Lines(), (std::vector<std::string>{"blk-count U.", "' load-blocks .", "( quiet )", ": load-blocks ;",
                                                        "' load-blocks .", "0 0 load-blocks"}));
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{
                              u"Forth system word \"load-blocks\" not available, upload forth transfer software?"});
}
