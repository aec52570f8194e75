// Settings and key-map files whose names or values need more than 8 bits come back whole; files
// without such values stay the 8-bit text they always were.
#include <gtest/gtest.h>
#include <fstream>
#include "app/SettingsFile.h"
#include "app/StartupFixture.h"
#include "settings/MapKeys.h"

namespace {

const UnicodeString kGothic = u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF";
const UnicodeString kPrint = u"\u043F\u0435\u0447\u0430\u0442\u044C \u00E9";

std::string FileBytes(const UnicodeString& name)
{
    std::ifstream in(ToUtf8(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(StartupTest, FontNamesBeyondEightBitsComeBackAtTheNextStart)
{
    {
        TTavloTerminal first(view);
        first.FormCreate();
        TFont font = first.SimpleTerminal1.Font();
        font.Name = kGothic;
        first.SimpleTerminal1.SetFont(font);
        bool canClose = false;
        first.FormCloseQuery(canClose);
        first.FormDestroy();
    }
    EXPECT_TRUE(FileBytes(SettingsFileName()).starts_with("\xEF\xBB\xBF[COM PORT]\r\n"));
    TTavloTerminal second(view);
    second.FormCreate();
    EXPECT_EQ(second.SimpleTerminal1.Font().Name, kGothic);
    EXPECT_EQ(second.Options->FontFace, kGothic);
}

TEST(WideKeyMap, BindingsBeyondEightBitsComeBackWholeAndOthersStayEightBit)
{
    TempFolder folder;
    AppDataAt appData(folder.Path());
    const UnicodeString name = folder.Name("keys.kmap");
    {
        TMapTermKeys keys(name);
        keys.SetKeyMapping(11, 0, u"caf\u00E9^M");
        keys.SetKeyMapping(0, 2, u"^[[A");
        EXPECT_EQ(keys.CloseQuery(), u"");
    }
    EXPECT_EQ(FileBytes(name), "[State_]\r\nF1=caf\xE9^M\r\n[State_Ctrl]\r\nUp Arrow=^[[A\r\n");

    {
        TMapTermKeys keys(name);
        keys.SetKeyMapping(12, 1, kPrint);
        keys.SetKeyMapping(12, 0, kGothic);
        EXPECT_EQ(keys.CloseQuery(), u"");
    }
    EXPECT_EQ(FileBytes(name), "\xEF\xBB\xBF" + ToUtf8(u"[State_]\r\nF1=caf\u00E9^M\r\nF2=" + kGothic +
                                                      u"\r\n[State_Ctrl]\r\nUp Arrow=^[[A\r\n"
                                                      u"[State_Shift]\r\nF2=" + kPrint + u"\r\n"));
    TMapTermKeys loaded(name);
    EXPECT_EQ(loaded.MappKey(113, ssShift), kPrint);
    EXPECT_EQ(loaded.MappKey(113, 0), kGothic);
    EXPECT_EQ(loaded.MappKey(112, 0), u"caf\u00E9\r");
    EXPECT_EQ(loaded.MappKey(VK::UP, ssCtrl), u"\x1b[A");
}

}  // namespace
