#include "blocks/BlockDownload.h"
#include "blocks/BlockManagerFixture.h"
#include "blocks/TransferFixture.h"
#include "support/SaveCases.h"

namespace {

using namespace savecases;

TEST_F(BlockManagerTest, ABlockFileKeepsWhatTheFileIs)
{
    TStringList lines;
    for (int i = 0; i < 80; ++i) lines.Add(u": WORD" + IntToStr(i) + u" DUP * ;");
    RunSaveTable({"the Block Manager", "f.blk", {}, true, [&](const UnicodeString& fileName) {
                      SetLines(lines);
                      manager.InsertBlankLinesAt(0, 1);
                      dialogs.FileAnswers = {fileName};
                      Run(u"BlockEditSaveFileAsAct");
                      UnicodeString messages;
                      for (const auto& q : dialogs.Questions) messages += q.Text + u"\n";
                      return SaveOutcome{messages, manager.Modified()};
                  }});
}

TEST(BlockDownloadSave, ADownloadKeepsWhatTheFileIs)
{
    RunSaveTable({"a download", "f.blk", {}, false, [](const UnicodeString& fileName) {
                      TransferRig rig;
                      for (int i = 0; i < 5; ++i) rig.forth->SetBlock(i, std::string(1024, char('a' + i)));
                      rig.view.Body = [&rig] {
                          ASSERT_TRUE(rig.loop.RunUntil([&] { return rig.dialog.CodeAvailable || !rig.dialog.Showing(); }));
                          rig.dialog.SetSourceBlocks(5);
                          rig.StartWhenReady();
                      };
                      DownloadBlocksIntoFile(rig.dialog, fileName);
                      UnicodeString messages;
                      for (const UnicodeString& text : rig.Messages()) messages += text + u"\n";
                      return SaveOutcome{messages};
                  }});
}

}  // namespace
