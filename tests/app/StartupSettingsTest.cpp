#include <gtest/gtest.h>
#include <vector>
#include "app/SettingsFile.h"
#include "app/StartupFixture.h"
#include "platform/Folders.h"

namespace {

TEST_F(StartupTest, SettingsWrittenAtCloseAreAppliedAtTheNextStart)
{
    {
        TTavloTerminal first(view);
        first.FormCreate();
        first.SimpleTerminal1.SetColumns(64);
        first.SimpleTerminal1.SetRows(50);
        bool canClose = false;
        first.FormCloseQuery(canClose);
        EXPECT_TRUE(canClose);
        first.FormDestroy();
    }
    ASSERT_TRUE(FileExists(SettingsFileName()));
    TTavloTerminal second(view);
    second.FormCreate();
    EXPECT_EQ(second.Options->DisplayColumns, 64);
    EXPECT_EQ(second.SimpleTerminal1.Columns(), 64);
    EXPECT_EQ(second.SimpleTerminal1.Rows(), 50);
}

TEST_F(StartupTest, WithoutASettingsFileTheTerminalKeepsItsDesign)
{
    TTavloTerminal window(view);
    window.FormCreate();
    EXPECT_EQ(window.SimpleTerminal1.Rows(), 200);
    EXPECT_EQ(window.SimpleTerminal1.Color(), clMoneyGreen);
    EXPECT_EQ(window.Options->DisplayRows, 100);
}

TEST_F(StartupTest, ASettingsFolderThatCannotBeWrittenStillLetsTheWindowClose)
{
    // A folder where the settings file should be: the save fails for root too.
    ASSERT_TRUE(ForceDirectories(appData.Name("Brennix/Config/Brennix.config/")));
    const std::vector<UnicodeString> messages = MessagesOfAClose();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(u"Unable to save the settings"), UnicodeString::npos);
    EXPECT_TRUE(DirectoryExists(appData.Name("Brennix/Config/Brennix.config/")));
}

}  // namespace
