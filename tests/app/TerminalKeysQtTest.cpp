#include <QCoreApplication>
#include <QKeyEvent>
#include <memory>
#include "app/TerminalFixture.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/ControlHostWidget.h"

namespace {

/// The terminal shown in its Qt host, taking keys as the toolkit delivers them.
class TerminalKeysQtTest : public TerminalTest {
protected:
    TerminalKeysQtTest()
    {
        TestApplication();
        host = std::make_unique<ControlHostWidget>(window.SimpleTerminal1);
        keys.SetKeyMapping(0, 0, u"^[[A");   // Up
        keys.SetKeyMapping(11, 2, u"^^x^");  // Ctrl+F1
    }
    ~TerminalKeysQtTest() override { host.reset(); }

    void Key(int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(host->Surface(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(host->Surface(), &release);
    }

    std::unique_ptr<ControlHostWidget> host;
};

TEST_F(TerminalKeysQtTest, ToolkitKeysSendTheBytesOfTheKey)
{
    ConnectSerial();
    Key(Qt::Key_Up, Qt::NoModifier);
    Key(Qt::Key_F1, Qt::ControlModifier);
    Key(Qt::Key_F1, Qt::AltModifier);
    Key(Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    Key(Qt::Key_Up, Qt::ShiftModifier);
    Key(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    Key(Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    Key(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    Key(Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("\u00e9"));
    const std::string expected = "\x1b[A^xa\r\x03\b\xe9";
    ASSERT_TRUE(Arrived(pty, expected.size()));
    loop.RunPending();
    EXPECT_EQ(pty.Received(), expected);
}

}  // namespace
