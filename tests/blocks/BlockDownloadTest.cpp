#include <gtest/gtest.h>

#include <filesystem>
#include "blocks/BlockDownload.h"
#include "blocks/TransferFixture.h"
#include "support/Unprivileged.h"

namespace {

namespace fs = std::filesystem;

using BlockDownload = TransferFixture;

/// Downloads blocks 0 to count-1, as the user would choose them.
void DownloadInto(TransferRig& rig, const UnicodeString& fileName, int count)
{
    rig.view.Body = [&rig, count] {
        ASSERT_TRUE(rig.loop.RunUntil([&] { return rig.dialog.CodeAvailable || !rig.dialog.Showing(); }));
        rig.dialog.SetSourceBlocks(count);
        rig.StartWhenReady();
    };
    DownloadBlocksIntoFile(rig.dialog, fileName);
}

}  // namespace

TEST_F(BlockDownload, AFailureAfterAGoodDownloadInTheSameDialogKeepsTheFile)
{
    for (int i = 0; i < 3; ++i) forth->SetBlock(i, std::string(1024, char('a' + i)));
    const std::string good = forth->Block(0) + forth->Block(1) + forth->Block(2);
    DownloadInto(*this, folder.Name("saved.blk"), 3);
    ASSERT_EQ(folder.Read("saved.blk"), good);
    ASSERT_TRUE(dialogs.Questions.empty());

    // Only the first block checks out this time: the good file must not give way to it.
    forth->SetBadChecksumFrame(1);
    const std::vector<std::string> namesBefore = folder.Names();
    DownloadInto(*this, folder.Name("saved.blk"), 3);
    EXPECT_EQ(Messages(), std::vector<UnicodeString>{u"Block download failed, data block is invalid."});
    EXPECT_EQ(folder.Read("saved.blk"), good);
    EXPECT_EQ(folder.Names(), namesBefore) << "a failed download leaves nothing of its own";
}

TEST(BlockDownloadPermissions, AFileTheUserMayNotWriteIsRefusedAndOneInAFolderTheyMayNotIsWrittenInPlace)
{
    if (!CanRunUnprivileged()) GTEST_SKIP() << "running as root and no unprivileged user to download as";
    TempFolder folder;
    fs::permissions(folder.Path(), fs::perms::all);
    const std::string old = "the user's own bytes\r\n";
    const FileState readOnly = PutFile(folder.Path("saved.blk"), old, fs::perms(0444));
    // Left by another program: no save of ours made it.
    PutFile(folder.Path(".saved.blk.tmp"), "", fs::perms(0666));
    fs::create_directory(folder.Path("shut"));
    PutFile(folder.Path("shut/saved.blk"), old, fs::perms(0666));
    fs::permissions(folder.Path("shut"), fs::perms(0555));

    RunUnprivileged([&] {
        TransferRig rig;
        rig.forth->SetBlock(0, std::string(1024, 'd'));
        DownloadInto(rig, folder.Name("saved.blk"), 1);
        EXPECT_EQ(rig.Messages(), std::vector<UnicodeString>{u"Cannot write \"" + folder.Name("saved.blk") +
                                                             u"\": Permission denied"});
        EXPECT_EQ(rig.view.Shown, 0);
        EXPECT_EQ(rig.target->Received(), "") << "the target is asked nothing";

        rig.dialogs.Questions.clear();
        DownloadInto(rig, folder.Name("shut/saved.blk"), 1);
        EXPECT_TRUE(rig.dialogs.Questions.empty());
    });
    EXPECT_EQ(StateOf(folder.Path("saved.blk")), readOnly);
    EXPECT_TRUE(fs::exists(folder.Path(".saved.blk.tmp"))) << "a file that no save of ours made stays";
    EXPECT_EQ(StateOf(folder.Path("shut/saved.blk")), (FileState{std::string(1024, 'd'), fs::perms(0666)}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path("shut")), fs::directory_iterator()), 1);
}
