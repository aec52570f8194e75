#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>
#include <QCoreApplication>
#include <QEvent>
#include "support/ScriptedDialogs.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/QtMainLoop.h"

namespace {

// An event handler that fails.
class FailingObject : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) throw std::runtime_error("handler failed");
        return QObject::event(e);
    }
};

class ExceptionGuardQtTest : public ::testing::Test {
protected:
    ExceptionGuardQtTest()
    {
        TestApplication();
        MainLoop::SetCurrent(&loop);
    }

    ScriptedDialogs dialogs;
    QtMainLoop loop;
};

TEST_F(ExceptionGuardQtTest, PostedWorkTimerTicksAndEventHandlersShowTheMessageAndGoOn)
{
    bool ranAfter = false;
    loop.Post([] { throw std::runtime_error("posted failed"); });
    loop.Post([&] { ranAfter = true; });
    int ticks = 0;
    MainLoop::TimerId timer = 0;
    timer = loop.StartTimer(0, [&] {
        if (++ticks == 2) loop.StopTimer(timer);
        throw std::runtime_error("tick failed");
    });
    for (int i = 0; i < 20 && ticks < 2; ++i) QCoreApplication::processEvents();
    FailingObject failing;
    QEvent user(QEvent::User);
    QCoreApplication::sendEvent(&failing, &user);

    EXPECT_TRUE(ranAfter);
    EXPECT_EQ(ticks, 2);
    std::vector<UnicodeString> shown;
    for (const auto& q : dialogs.Questions) shown.push_back(q.Text);
    EXPECT_EQ(shown, (std::vector<UnicodeString>{u"posted failed", u"tick failed", u"tick failed", u"handler failed"}));
    EXPECT_EQ(dialogs.Questions.back().Buttons, TMsgButtons::OK);
    EXPECT_EQ(dialogs.Questions.back().Type, TMsgDlgType::mtError);
}

}  // namespace
