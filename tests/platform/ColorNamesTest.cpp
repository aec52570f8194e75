#include <gtest/gtest.h>

#include "platform/ColorNames.h"
#include "platform/Convert.h"

TEST(ColorNames, IdentifiersWithoutCaseAndNumbers)
{
    EXPECT_EQ(StringToColor(u"clRed"), 0x0000FF);
    EXPECT_EQ(StringToColor(u"CLRED"), 0x0000FF);
    EXPECT_EQ(StringToColor(u"clBtnFace"), clBtnFace);
    EXPECT_EQ(StringToColor(u"cl3DDkShadow"), cl3DDkShadow);
    EXPECT_EQ(StringToColor(u"clNone"), clNone);
    EXPECT_EQ(StringToColor(u"255"), 255);
    EXPECT_EQ(StringToColor(u"$FF0000"), 0xFF0000);
    EXPECT_EQ(StringToColor(u"-2147483643"), clWindow);
    EXPECT_FALSE(IdentToColor(u"Red").has_value());
}

TEST(ColorNames, TextThatIsNeitherRaisesTheConversionError)
{
    for (std::u16string_view text : {u"", u"clPink", u"12a", u"$", u"4294967296"})
        EXPECT_THROW(StringToColor(text), EConvertError) << ToUtf8(text);
    try {
        StrToInt(u"x1");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
    EXPECT_EQ(StrToInt(u"-17"), -17);
    EXPECT_EQ(StrToInt(u"1"), 1);
}
