// Settings and key-map files that another editor saved behind a UTF-8 mark, though their text is
// 8-bit: the first section is read as any other, and the save at close keeps every value.
#include <gtest/gtest.h>
#include <fstream>
#include "app/SettingsFile.h"
#include "app/StartupFixture.h"
#include "settings/MapKeys.h"

namespace {

const std::string kMark = "\xEF\xBB\xBF";

TEST_F(StartupTest, AMarkedSettingsFileKeepsEveryValueThroughStartAndClose)
{
    // The file the program writes with options changed in every section, the first one too.
    {
        TTavloTerminal first(view);
        first.FormCreate();
        first.Options->ComPortName = u"ttyUSB1";
        first.Options->ComPortOptions.SetBaudRate(Com_br9600);
        first.Options->TcpHostAddress = u"caf\u00E9.local";
        first.SimpleTerminal1.SetColumns(64);
        bool canClose = false;
        first.FormCloseQuery(canClose);
        first.FormDestroy();
    }
    const std::string path = ToUtf8(SettingsFileName());
    std::ifstream in(path, std::ios::binary);
    const std::string written(std::istreambuf_iterator<char>(in), {});
    ASSERT_TRUE(written.starts_with("[COM PORT]\r\nPortName=ttyUSB1\r\n"));
    ASSERT_NE(written.find("caf\xE9.local"), std::string::npos) << "a byte that is not UTF-8";

    std::ofstream(path, std::ios::binary | std::ios::trunc) << kMark + written;
    TTavloTerminal second(view);
    second.FormCreate();
    EXPECT_EQ(second.Options->ComPortName, u"ttyUSB1");
    EXPECT_EQ(second.Options->ComPortOptions.BaudRate(), Com_br9600);
    EXPECT_EQ(second.Options->TcpHostAddress, u"caf\u00E9.local");
    EXPECT_EQ(second.SimpleTerminal1.Columns(), 64);
    bool canClose = false;
    second.FormCloseQuery(canClose);
    std::ifstream again(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), written);
}

TEST(MarkedKeyMap, AMarkedKeyMapKeepsEveryBindingThroughLoadAndClose)
{
    TempFolder folder;
    AppDataAt appData(folder.Path());
    const std::string text = "[State_]\r\nF1=caf\xE9^M\r\nUp Arrow=^[[A\r\n"
                             "[State_Shift]\r\nF1=shifted\r\n"
                             "[State_Ctrl]\r\nF1=^^ctrl\r\n";
    const std::string path = ToUtf8(DefaultKeyMapFileName());
    std::ofstream(path, std::ios::binary) << kMark + text;

    TMapTermKeys keys(DefaultKeyMapFileName());
    EXPECT_EQ(keys.MappKey(112, 0), u"caf\u00E9\r");
    EXPECT_EQ(keys.MappKey(VK::UP, 0), u"\x1b[A");
    EXPECT_EQ(keys.MappKey(112, ssShift), u"shifted");
    EXPECT_EQ(keys.MappKey(112, ssCtrl), u"^ctrl");
    EXPECT_EQ(keys.CloseQuery(), u"");
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
}

}  // namespace
