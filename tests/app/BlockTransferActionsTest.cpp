#include <gtest/gtest.h>

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
