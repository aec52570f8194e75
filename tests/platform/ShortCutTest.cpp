#include <gtest/gtest.h>

#include "platform/ShortCut.h"

namespace {

TEST(ShortCut, PacksKeyAndModifiersAndNamesThem)
{
    struct Case {
        std::uint16_t Key;
        TShiftState Shift;
        TShortCut Packed;
        std::u16string_view Text;
    };
    const Case cases[] = {
        {'B', ssCtrl | ssShift, 0x6042, u"Shift+Ctrl+B"},
        {VK::BACK, ssAlt, 0x8008, u"Alt+BkSp"},
        {VK::F1 + 11, 0, 0x7B, u"F12"},
        {VK::NEXT, ssShift | ssLeft, 0x2022, u"Shift+PgDn"},  // mouse buttons are no part of a chord
        {0xBD, 0, 0xBD, u"$BD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCut(c.Key, c.Shift), c.Packed);
        EXPECT_EQ(ShortCutToText(c.Packed), c.Text);
        std::uint16_t key = 0;
        TShiftState shift = 0;
        ShortCutToKey(c.Packed, key, shift);
        EXPECT_EQ(key, c.Key);
        EXPECT_EQ(shift, c.Shift & (ssShift | ssAlt | ssCtrl));
    }
    EXPECT_EQ(ShortCut(0x100, 0), 0);
    EXPECT_EQ(ShortCutToText(0), u"");
}

}  // namespace
