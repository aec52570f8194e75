#include <gtest/gtest.h>
#include "platform/QtTestApplication.h"
#include "platform/qt/QtClipboard.h"

namespace {

TEST(QtClipboardQtTest, PrivateFormatsJoinTheTextAndSetTextReplacesThem)
{
    TestApplication();
    QtClipboard clipboard;
    const std::string bytes("\x01line\x00\xff", 7);
    clipboard.SetText(u"ab\u20ACc");
    clipboard.AddFormat(u"NibEdit Control Block Type", bytes);

    EXPECT_TRUE(clipboard.HasText());
    EXPECT_EQ(clipboard.Text(), u"ab\u20ACc");
    EXPECT_TRUE(clipboard.HasFormat(u"NibEdit Control Block Type"));
    EXPECT_EQ(clipboard.FormatData(u"NibEdit Control Block Type"), bytes);
    EXPECT_FALSE(clipboard.HasFormat(u"Other"));

    clipboard.SetText(u"new");
    EXPECT_FALSE(clipboard.HasFormat(u"NibEdit Control Block Type"));
    EXPECT_EQ(clipboard.FormatData(u"NibEdit Control Block Type"), "");
}

}  // namespace
