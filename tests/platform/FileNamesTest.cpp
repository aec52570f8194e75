#include "platform/FileNames.h"

#include <gtest/gtest.h>
#include <filesystem>
#include "platform/FileReplacement.h"
#include "platform/Folders.h"
#include "support/TempFolder.h"

namespace {

/// The one name in the folder, as the disk has it.
std::string OnlyEntry(const TempFolder& folder)
{
    std::string name;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) name = entry.path().filename().string();
    return name;
}

// Names in scripts whose UTF-8 starts with every kind of lead byte, at the ends of each range, and
// characters beyond U+FFFF whose second code unit lies where a byte of a name that is not UTF-8
// is kept (U+DC80..U+DCFF).
TEST(FileNames, TextNamesAreTheirUtf8OnDiskAndComeBackAsText)
{
    const UnicodeString names[] = {
        u"caf\u00E9.fs \u0080\u07FF",                        // two bytes, lead C2 to DF, at the end
        u"\u0928\u092E\u0938\u094D\u0924\u0947.fs",          // Devanagari: three bytes, lead E0
        u"\u0E2A\u0E27\u0E31\u0E2A\u0E14\u0E35.fs",          // Thai: lead E0
        u"\u0800\uFFFD\uFFEE.fs",                           // three bytes, lead E0 to EF
        u"\U0001F4A9 \U0001F4BE.fs",                        // D83D DCA9, D83D DCBE
        u"\U00010080\U0010FC80\U0010FFFF.fs",               // D800 DC80, DBFF DC80: lead F0 to F4
    };
    for (const UnicodeString& name : names) {
        SCOPED_TRACE(ToUtf8(name));
        TempFolder folder;
        const std::string utf8 = ToUtf8(name);
        EXPECT_EQ(FileNameBytes(name), utf8);
        EXPECT_EQ(FileNameFromBytes(utf8), name);

        ASSERT_EQ(SaveFileSafely(folder.Name() + name, "x"), u"");
        EXPECT_EQ(OnlyEntry(folder), utf8) << "saved under other bytes";
        EXPECT_EQ(FileNameFromBytes(folder.Path() + OnlyEntry(folder)), folder.Name() + name);
        std::string bytes;
        EXPECT_TRUE(ReadFileBytes(folder.Name() + name, bytes));
    }
}

TEST(FileNames, BytesThatAreNotUtf8NameTheirOwnFile)
{
    const std::string names[] = {
        "caf\xE9.fs",           // Latin-1
        "\x80\xBF.fs",          // continuation bytes alone
        "\xE0\xA4.fs",          // a sequence cut short
        "\xC0\xAF\xE0\x80\xAF", // overlong forms
        "\xED\xB2\xA9.fs",      // an encoded surrogate
        "\xF4\x90\x80\x80",     // beyond U+10FFFF
        "\xF8\x88\x80\x80\x80", // a lead that UTF-8 no longer has
    };
    for (const std::string& bytes : names) {
        SCOPED_TRACE(bytes);
        const UnicodeString name = FileNameFromBytes(bytes);
        EXPECT_NE(ToUtf8(name), bytes);
        EXPECT_EQ(FileNameBytes(name), bytes);
    }
}

}  // namespace
