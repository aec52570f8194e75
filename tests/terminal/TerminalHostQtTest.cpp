#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <vector>
#include "platform/ManualLoop.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/ControlHostWidget.h"
#include "terminal/SimpleTerminal.h"
#include "terminal/TerminalView.h"

namespace {

/// A terminal that writes down the keys it is given.
class KeyRecordingTerminal : public TSimpleTerminal {
public:
    void KeyDown(std::uint16_t& key, TShiftState shift) override { Keys.push_back(key); }
    std::vector<std::uint16_t> Keys;
};

/// The window around the terminal: it writes down the keys that reach it, and holds a second
/// control that Tab may move the focus to.
class RecordingWindow : public QWidget {
public:
    RecordingWindow() : fLayout(new QVBoxLayout(this)), Other(new QLineEdit(this)) {}
    void Add(QWidget* w) { fLayout->insertWidget(0, w); }
    std::vector<int> Keys;

protected:
    void keyPressEvent(QKeyEvent* e) override { Keys.push_back(e->key()); }

private:
    QVBoxLayout* fLayout;

public:
    QLineEdit* Other;
};

class TerminalHostQtTest : public testing::Test {
protected:
    TerminalHostQtTest()
    {
        MainLoop::SetCurrent(&loop);
        window.Add(host);
        window.show();
        term.Loaded();
        QCoreApplication::processEvents();
    }

    void Key(int key)
    {
        host->Surface()->setFocus();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(host->Surface(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(host->Surface(), &release);
    }

    ManualLoop loop;
    QtTestGraphics graphics;
    KeyRecordingTerminal term;
    RecordingWindow window;
    ControlHostWidget* host = new ControlHostWidget(term, &window);
};

TEST_F(TerminalHostQtTest, TabEnterAndArrowsReachTheTerminalOnlyWhileItsFlagIsSet)
{
    struct Case {
        int QtKey;
        std::uint16_t VirtualKey;
        void (TSimpleTerminal::*SetFlag)(bool);
    };
    const Case cases[] = {
        {Qt::Key_Tab, VK::TAB, &TSimpleTerminal::SetWantTabs},
        {Qt::Key_Return, VK::RETURN, &TSimpleTerminal::SetWantReturns},
        {Qt::Key_Enter, VK::RETURN, &TSimpleTerminal::SetWantReturns},
        {Qt::Key_Up, VK::UP, &TSimpleTerminal::SetWantArrowKeys},
        {Qt::Key_Left, VK::LEFT, &TSimpleTerminal::SetWantArrowKeys},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.QtKey);
        for (bool wanted : {true, false}) {
            (term.*c.SetFlag)(wanted);
            term.Keys.clear();
            window.Keys.clear();
            Key(c.QtKey);
            EXPECT_EQ(term.Keys, wanted ? std::vector<std::uint16_t>{c.VirtualKey} : std::vector<std::uint16_t>{});
            if (c.QtKey == Qt::Key_Tab) {
                // The window moves the focus with a Tab the terminal does not take.
                EXPECT_EQ(window.focusWidget() == window.Other, !wanted);
            } else {
                EXPECT_EQ(window.Keys, wanted ? std::vector<int>{} : std::vector<int>{c.QtKey});
            }
            (term.*c.SetFlag)(true);
        }
    }
    // Other keys reach the terminal whatever the flags say.
    term.SetWantTabs(false);
    term.SetWantReturns(false);
    term.SetWantArrowKeys(false);
    term.Keys.clear();
    Key(Qt::Key_Home);
    EXPECT_EQ(term.Keys, std::vector<std::uint16_t>{VK::HOME});
}

TEST_F(TerminalHostQtTest, AutoSizeSizesAFreeHostToTheBitmapAndLeavesALaidOutOneAlone)
{
    term.SetAutoSize(false);
    const QSize laidOut = host->size();
    term.SetAutoSize(true);
    EXPECT_EQ(host->size(), laidOut);

    KeyRecordingTerminal free;
    free.SetAutoSize(false);
    ControlHostWidget freeHost(free);
    freeHost.resize(200, 100);
    freeHost.show();
    free.Loaded();
    QCoreApplication::processEvents();
    free.SetAutoSize(true);
    const Bitmap& bitmap = *free.View().DisplayBitMap();
    EXPECT_EQ(freeHost.size(), QSize(bitmap.Width(), bitmap.Height()));
    EXPECT_EQ(free.ClientWidth(), bitmap.Width());
    EXPECT_EQ(free.ClientHeight(), bitmap.Height());
}

}  // namespace
