#include <string>
#include "app/TerminalFixture.h"

namespace {

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) {
        if (!text.empty()) text += ' ';
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

/// One key as the host delivers it, and the bytes the target must see for it.
struct KeyCase {
    const char* Name;
    std::uint16_t Key;
    TShiftState Shift;
    std::u16string Chars;
    const char* Sent;
};

const KeyCase Keys[] = {
    {"mapped Up", VK::UP, 0, u"", "1B 5B 41"},
    {"mapped Ctrl+F1", VK::F1, ssCtrl, u"", "5E 78"},
    {"unmapped Alt+F1", VK::F1, ssAlt, u"", ""},
    {"unmapped Delete", VK::DELETE_, 0, u"", ""},
    {"unmapped Shift+Up", VK::UP, ssShift, u"", ""},
    {"mapped Backspace, which also types 08", VK::BACK, ssShift, u"\b", "21"},
    {"a", 'A', 0, u"a", "61"},
    {"Enter", VK::RETURN, 0, u"\r", "0D"},
    {"Ctrl+C", 'C', ssCtrl, u"\x03", "03"},
    {"Backspace", VK::BACK, 0, u"\b", "08"},
    {"e acute", 0, 0, u"\u00E9", "E9"},
    {"a character outside the code page", 0, 0, u"\u20AC", "3F"},
};

class SendKeys : public TerminalTest {
protected:
    SendKeys()
    {
        keys.SetKeyMapping(0, 0, u"^[[A");   // Up
        keys.SetKeyMapping(11, 2, u"^^x^");  // Ctrl+F1
        keys.SetKeyMapping(8, 1, u"!");      // Shift+Backspace
    }
};

TEST_F(SendKeys, EachKeySendsItsBytesOrItsMappingOnly)
{
    ConnectSerial();
    for (const KeyCase& k : Keys) {
        const std::size_t before = pty.Received().size();
        Type(k.Key, k.Shift, k.Chars);
        // A marker after each key shows that nothing else followed it.
        Type('Z', ssShift, u"Z");
        ASSERT_TRUE(Arrived(pty, before + 1)) << k.Name;
        ASSERT_TRUE(loop.RunUntil([&] { return pty.Received().back() == 'Z'; })) << k.Name;
        const std::string sent = pty.Received().substr(before);
        EXPECT_EQ(Hex(sent.substr(0, sent.size() - 1)), k.Sent) << k.Name;
    }
}

TEST_F(SendKeys, KeysOverTcpArriveTheSame)
{
    ConnectTcp();
    Type(VK::UP, 0);
    Type('A', 0, u"a");
    ASSERT_TRUE(Arrived(tcp, 4));
    EXPECT_EQ(Hex(tcp.Received()), "1B 5B 41 61");
}

TEST_F(SendKeys, NothingIsSentOrRaisedWithoutALink)
{
    Type('A', 0, u"a");
    Type(VK::UP, 0);
    EXPECT_NO_THROW(window.SendLine(u"words"));
    ConnectSerial();
    Type('B', 0, u"b");
    ASSERT_TRUE(Arrived(pty, 1));
    EXPECT_EQ(pty.Received(), "b");
    EXPECT_TRUE(dialogs.Questions.empty());
}

TEST_F(SendKeys, RepliesOfTheReceiveProcedureReachTheTarget)
{
    window.Options->AllowedCtrlCodes = TConfigTermCtrlCodes::All();
    ConnectSerial();
    pty.Send("\x14");  // the screen's size, please
    ASSERT_TRUE(Arrived(pty, 3));
    const std::string expected{char(20), char(window.SimpleTerminal1.Columns()), char(window.SimpleTerminal1.Rows())};
    EXPECT_EQ(Hex(pty.Received()), Hex(expected));
}

}  // namespace
