#include <gtest/gtest.h>
#include <algorithm>

#include <filesystem>
#include <functional>
#include "app/TerminalFixture.h"
#include "blocks/UploadDlg.h"
#include "support/FakeForthBlocks.h"

namespace {

/// The transfer dialog's modal run: start as soon as the target is ready, run until it closes.
class StartingView : public TUploadDialogView {
public:
    StartingView(TUploadDialog& dialog, ManualLoop& loop) : fDialog(dialog), fLoop(loop) {}
    void ShowModal() override
    {
        ++Shown;
        if (Body) return Body();
        ASSERT_TRUE(fLoop.RunUntil([&] {
            fDialog.UploadAct.Update();
            return fDialog.UploadAct.Enabled;
        }));
        fDialog.UploadAct.Execute();
        ASSERT_TRUE(fLoop.RunUntil([&] { return !fDialog.Showing(); }));
    }
    void CloseModal() override {}
    void Changed() override {}
    int Shown = 0;
    /// In place of starting and running to the end: the test's own run of the dialog.
    std::function<void()> Body;

private:
    TUploadDialog& fDialog;
    ManualLoop& fLoop;
};

class BlockTransferActions : public TerminalTest {
protected:
    BlockTransferActions()
    {
        UploadDialog = &dialog;
        dialog.SetView(&dialogView);
    }
    ~BlockTransferActions() override { UploadDialog = nullptr; }

    bool Enabled(TAction* action)
    {
        action->Update();
        return action->Enabled;
    }
    /// Bytes from the target reach the terminal screen again, and none of the transfer did.
    void TerminalShowsTheTargetAgain()
    {
        EXPECT_EQ(window.SimpleTerminal1.GetCharAtXY(0, 0).Character, u' ');
        tcp.Send("Z");
        EXPECT_TRUE(loop.RunUntil([&] { return window.SimpleTerminal1.GetCharAtXY(0, 0).Character == u'Z'; }));
    }

    FakeForthBlocks forth{tcp, 16};
    TUploadDialog dialog{*ConnectionMod};
    StartingView dialogView{dialog, loop};
};

TEST_F(BlockTransferActions, EnabledWhileConnectedWithoutAPaste)
{
    EXPECT_FALSE(Enabled(window.UploadBlockTransferAct));
    EXPECT_FALSE(Enabled(window.DownloadBlockTrabsferAct));
    EXPECT_FALSE(Enabled(window.BlockEditUploadFileAct));
    window.BlockManager.BlockEditData.Add(u": x ;");
    EXPECT_TRUE(Enabled(window.BlockEditUploadFileAct));
    ConnectTcp();
    EXPECT_TRUE(Enabled(window.UploadBlockTransferAct));
    EXPECT_TRUE(Enabled(window.DownloadBlockTrabsferAct));
    window.InPaste = true;
    EXPECT_FALSE(Enabled(window.UploadBlockTransferAct));
    EXPECT_FALSE(Enabled(window.DownloadBlockTrabsferAct));
    EXPECT_FALSE(Enabled(window.BlockEditUploadFileAct));
    window.InPaste = false;
}

TEST_F(BlockTransferActions, UploadAChosenFile)
{
    ConnectTcp();
    keyFolder.Write("image.bin", std::string(1500, 'q'));
    dialogs.FileAnswers = {keyFolder.Name("image.bin")};
    ASSERT_TRUE(window.UploadBlockTransferAct->Execute());
    ASSERT_EQ(dialogs.OpenRequests.size(), 1u);
    EXPECT_EQ(dialogs.OpenRequests[0].Title, u"Select File To Upload");
    EXPECT_EQ(dialogs.OpenRequests[0].Filter, u"Block File|*.blk|Binary File|*.bin;*.binary|Any File|*.*");
    EXPECT_EQ(dialogView.Shown, 1);
    EXPECT_EQ(forth.Block(0), std::string(1024, 'q'));
    EXPECT_EQ(forth.Block(1), std::string(476, 'q') + std::string(548, ' '));
    EXPECT_TRUE(dialogs.Questions.empty());
    TerminalShowsTheTargetAgain();
}

TEST_F(BlockTransferActions, DownloadIntoAChosenFile)
{
    ConnectTcp();
    forth.SetBlock(0, std::string(1024, 'd'));
    dialogs.FileAnswers = {keyFolder.Name("saved.blk")};
    ASSERT_TRUE(window.DownloadBlockTrabsferAct->Execute());
    ASSERT_EQ(dialogs.SaveRequests.size(), 1u);
    EXPECT_EQ(dialogs.SaveRequests[0].Title, u"Select File To Save Blocks");
    EXPECT_EQ(keyFolder.Read("saved.blk"), std::string(1024, 'd'));
    TerminalShowsTheTargetAgain();

    // Cancelled: no dialog.
    ASSERT_TRUE(window.DownloadBlockTrabsferAct->Execute());
    EXPECT_EQ(dialogView.Shown, 1);
}

TEST_F(BlockTransferActions, AFailedDownloadLeavesTheChosenFileAsItWas)
{
    struct Case {
        const char* name;
        /// Makes the target fail, before the download starts.
        std::function<void(FakeForthBlocks&)> fault;
        /// Drives the dialog until it closes.
        std::function<void()> drive;
        const char16_t* message;
    };
    auto startThen = [this](const std::function<void()>& then) {
        ASSERT_TRUE(loop.RunUntil([&] {
            dialog.UploadAct.Update();
            return dialog.UploadAct.Enabled;
        }));
        dialog.SetSourceBlocks(3);
        dialog.UploadAct.Execute();
        then();
        ASSERT_TRUE(loop.RunUntil([&] { return !dialog.Showing(); }));
    };
    // What the target heard in this case only.
    std::size_t caseStart = 0;
    auto heard = [&] { return tcp.Received().substr(caseStart); };
    // The first block is in and the second is awaited.
    auto secondBlockAwaited = [&] { return loop.RunUntil([&] { return heard().ends_with(">\r>\r"); }); };
    const Case cases[] = {
        {"silent target", [](FakeForthBlocks& forth) { forth.SetSilentOn("blk-count"); },
         [&] {
             ASSERT_TRUE(loop.RunUntil([&] { return heard() == "blk-count U.\r"; }));
             loop.AdvanceMs(TUploadDialog::ReplyTimeOutMs);
         },
         u"Forth system did not respond."},
        {"dropped link", [](FakeForthBlocks& forth) { forth.SetSilentAfterFrame(0); },
         [&] {
             startThen([&] {
                 ASSERT_TRUE(secondBlockAwaited());
                 tcp.HangUp();
                 ASSERT_TRUE(loop.RunUntil([&] { return !ConnectionMod->IsActive(); }));
                 loop.AdvanceMs(TUploadDialog::ReplyTimeOutMs);
             });
         },
         u"Block download failed, the connection was lost."},
        {"bad frame", [](FakeForthBlocks& forth) { forth.SetBadChecksumFrame(1); }, [&] { startThen([] {}); },
         u"Block download failed, data block is invalid."},
        {"closed by the user", [](FakeForthBlocks& forth) { forth.SetSilentAfterFrame(0); },
         [&] {
             startThen([&] {
                 ASSERT_TRUE(secondBlockAwaited());
                 dialog.Close();
             });
         },
         nullptr},
    };
    const std::string old = "the user's own bytes\r\n";
    for (const Case& c : cases) {
        for (const bool existed : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (existed ? " over a file" : " where none was"));
            std::filesystem::remove(keyFolder.Path("saved.blk"));
            if (existed) keyFolder.Write("saved.blk", old);
            if (!ConnectionMod->IsConnected()) ConnectTcp();
            // A target of its own for each case: one left waiting for frames would hear no command.
            FakeForthBlocks target(tcp, 16);
            c.fault(target);
            caseStart = tcp.Received().size();
            const std::vector<std::string> namesBefore = keyFolder.Names();
            dialogs.Questions.clear();
            dialogView.Body = c.drive;
            dialogs.FileAnswers = {keyFolder.Name("saved.blk")};
            ASSERT_TRUE(window.DownloadBlockTrabsferAct->Execute());
            std::vector<UnicodeString> messages;
            for (const auto& q : dialogs.Questions) messages.push_back(q.Text);
            EXPECT_EQ(messages, c.message ? std::vector<UnicodeString>{c.message} : std::vector<UnicodeString>{});
            EXPECT_EQ(std::filesystem::exists(keyFolder.Path("saved.blk")), existed);
            if (existed) {
                EXPECT_EQ(keyFolder.Read("saved.blk"), old);
            }
            EXPECT_EQ(keyFolder.Names(), namesBefore) << "a failed download leaves nothing of its own";
        }
    }

    // A download that goes through replaces the file.
    FakeForthBlocks target(tcp, 16);
    dialogView.Body = nullptr;
    dialogs.Questions.clear();
    std::vector<std::string> namesAfter = keyFolder.Names();
    namesAfter.push_back("saved.blk");
    std::sort(namesAfter.begin(), namesAfter.end());
    namesAfter.erase(std::unique(namesAfter.begin(), namesAfter.end()), namesAfter.end());
    for (int i = 0; i < 3; ++i) target.SetBlock(i, std::string(1024, char('n' + i)));
    dialogs.FileAnswers = {keyFolder.Name("saved.blk")};
    ASSERT_TRUE(window.DownloadBlockTrabsferAct->Execute());
    EXPECT_TRUE(dialogs.Questions.empty());
    // The dialog keeps the three blocks chosen last.
    EXPECT_EQ(keyFolder.Read("saved.blk"), target.Block(0) + target.Block(1) + target.Block(2));
    EXPECT_EQ(keyFolder.Names(), namesAfter) << "the download leaves nothing but its file";
}

TEST_F(BlockTransferActions, ADownloadIntoAFolderThatCannotBeWrittenAsksTheTargetNothing)
{
    ConnectTcp();
    dialogs.FileAnswers = {keyFolder.Name("no/such/folder/saved.blk")};
    ASSERT_TRUE(window.DownloadBlockTrabsferAct->Execute());
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text.find(u"Cannot create a temporary file beside \"" +
                                             keyFolder.Name("no/such/folder/saved.blk") + u"\""),
              0u);
    EXPECT_EQ(dialogView.Shown, 0);
    EXPECT_EQ(tcp.Received(), "");
}

TEST_F(BlockTransferActions, UploadTheBlockManagersLines)
{
    ConnectTcp();
    window.BlockManager.BlockEditData.Add(u": square dup * ;");
    window.BlockManager.BlockEditData.Add(u"");
    ASSERT_TRUE(window.BlockEditUploadFileAct->Execute());
    EXPECT_EQ(forth.Block(0), ": square dup * ;" + std::string(1024 - 16, ' '));
    TerminalShowsTheTargetAgain();
}

}  // namespace
