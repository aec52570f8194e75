#include "settings/ConfigUnit.h"

#include <gtest/gtest.h>
#include "support/TempFolder.h"

TEST(ConfigUnit, FreshOptionsAllowAllControlCodesButTwenty)
{
    TConfigTermOptions options;
    for (unsigned code = CTRL_0; code <= CTRL_19; ++code) EXPECT_TRUE(options.AllowedCtrlCodes.Contains(code));
    EXPECT_FALSE(options.AllowedCtrlCodes.Contains(CTRL_20));
    EXPECT_EQ(options.FontFace, u"Lucidia Console");
}

TEST(ConfigUnit, FoldersAreMadeOnFirstUseAndStayTheSame)
{
    TempFolder tmp;
    AppDataAt appData(tmp.Path("appdata"));
    UnicodeString config = GetConfigFolder();
    EXPECT_EQ(config, FromUtf8(tmp.Path("appdata/Brennix/Config/")));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.Path("appdata/Brennix/Config")));
    EXPECT_EQ(GetConfigFolder(), config);
    EXPECT_EQ(GetKeyMapsFolder(), FromUtf8(tmp.Path("appdata/Brennix/Key Maps/")));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.Path("appdata/Brennix/Key Maps")));
}

TEST(ConfigUnit, FoldersAreEmptyWhenTheyCannotBeMade)
{
    TempFolder tmp;
    tmp.Write("plain", "a file, not a folder");
    AppDataAt appData(tmp.Path("plain"));
    EXPECT_EQ(GetConfigFolder(), u"");
    EXPECT_EQ(GetKeyMapsFolder(), u"");
}
