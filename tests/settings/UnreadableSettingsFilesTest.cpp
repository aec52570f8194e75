// A settings or key-map file that is there but cannot be read (here a FIFO, which would wait for a
// writer for ever) is reported at start-up, and the program starts from the defaults.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include "app/SettingsFile.h"
#include "app/StartupFixture.h"
#include "platform/Folders.h"
#include "settings/MapKeys.h"

namespace {

TEST_F(StartupTest, AnUnreadableSettingsFileIsReportedAndTheDefaultsHold)
{
    ScriptedDialogs dialogs;
    ASSERT_TRUE(ForceDirectories(ExtractFilePath(SettingsFileName())));
    ASSERT_EQ(::mkfifo(ToUtf8(SettingsFileName()).c_str(), 0600), 0);
    TTavloTerminal window(view);
    window.FormCreate();
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text, u"Cannot open file \"" + SettingsFileName() +
                                             u"\": it is a FIFO, not a regular file. The settings start from their defaults.");
    EXPECT_EQ(window.Options->ComPortName, TConfigTermOptions().ComPortName);
}

TEST(UnreadableKeyMap, IsReportedAtCreationAndAtLoadAndLeavesTheBindings)
{
    TempFolder folder;
    AppDataAt appData(folder.Path());
    ScriptedDialogs dialogs;
    ASSERT_EQ(::mkfifo(folder.Path("pipe.kmap").c_str(), 0600), 0);
    const UnicodeString reason = u"Cannot open file \"" + folder.Name("pipe.kmap") + u"\": it is a FIFO, not a regular file.";

    TMapTermKeys keys(folder.Name("pipe.kmap"));
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text, reason + u" No key is mapped.");
    EXPECT_EQ(keys.Settings().SectionCount(), 0);

    keys.SetKeyMapping(11, 0, u"kept");
    dialogs.FileAnswers = {folder.Name("pipe.kmap")};
    EXPECT_FALSE(keys.LoadKeyMapClick());
    ASSERT_EQ(dialogs.Questions.size(), 2u);
    EXPECT_EQ(dialogs.Questions[1].Text, reason);
    EXPECT_EQ(keys.MappKey(112, 0), u"kept");
}

}  // namespace
