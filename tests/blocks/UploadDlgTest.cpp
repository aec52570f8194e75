#include <gtest/gtest.h>

#include "blocks/TransferFixture.h"

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
    EXPECT_TRUE(TerminalHasTheBytes());
}

TEST_P(TransferOverEachWire, DownloadWritesTheRequestedBlocks)
{
    for (int i = 0; i < 4; ++i) forth->SetBlock(i, Image(1024).substr(std::size_t(i) * 100, 1024));
    view.Body = [this] {
        ASSERT_TRUE(loop.RunUntil([&] { return dialog.CodeAvailable || !dialog.Showing(); }));
        EXPECT_EQ(dialog.C_AvailableBlocks, u"128");
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
                ASSERT_TRUE(loop.RunUntil([&] {
                    dialog.UploadAct.Update();
                    return dialog.UploadAct.Enabled;
                }));
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
