#include "settings/CaretNotation.h"

#include <gtest/gtest.h>

TEST(CaretNotation, Decode)
{
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"^M", u"\r"},       {u"^m", u"\r"},       {u"^[", u"\x1b"},  {u"^A^a", u"\x01\x01"},
        {u"^_", u"\x1f"},     {u"^^", u"^"},        {u"^@", u""},      {u"^1x", u"x"},
        {u"abc^", u"abc"},    {u"^`", u" "},        {u"a^^b", u"a^b"}, {u"plain", u"plain"},
    };
    for (auto [caret, decoded] : cases) EXPECT_EQ(CaretDecode(caret), decoded) << ToUtf8(caret);
}

TEST(CaretNotation, EncodeGivesTheNormalForm)
{
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"\r", u"^M"},
        {u"\x1b[A", u"^[[A"},
        {u"^", u"^^"},
        {u" padded ", u"^`padded^`"},
        {u"in between", u"in between"},
        {u" ", u"^`"},
        // "^^" stands for the caret, so code 30 is kept as it is, guarded at the ends by "^@".
        {u"a\x1e" u"b", u"a\x1e" u"b"},
        {u"\x1e", u"^@\x1e^@"},
        {u"\x1e^\x1e", u"^@\x1e^^\x1e^@"},
    };
    for (auto [plain, caret] : cases) {
        EXPECT_EQ(CaretEncode(plain), caret);
        EXPECT_EQ(CaretDecode(caret), plain);
    }
    // The null character cannot be bound: its caret form decodes to nothing.
    EXPECT_EQ(CaretEncode(std::u16string_view(u"\0", 1)), u"^@");
}
