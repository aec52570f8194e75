#include <gtest/gtest.h>

#include <string>
#include <thread>
#include "platform/ManualLoop.h"

namespace {

class ManualLoopTest : public ::testing::Test {
protected:
    ManualLoopTest() { MainLoop::SetCurrent(&fLoop); }
    ManualLoop fLoop;
    std::string fLog;
};

TEST_F(ManualLoopTest, TimersFireInDueOrderAsTheClockAdvances)
{
    fLoop.StartTimer(300, [&] { fLog += "a" + std::to_string(fLoop.NowMs()) + " "; });
    fLoop.StartTimer(200, [&] { fLog += "b" + std::to_string(fLoop.NowMs()) + " "; });
    fLoop.AdvanceMs(599);
    EXPECT_EQ(fLog, "b200 a300 b400 ");
    EXPECT_EQ(fLoop.NowMs(), 599);
    fLoop.AdvanceMs(-100);
    EXPECT_EQ(fLoop.NowMs(), 599) << "the clock never runs backwards";
    fLog.clear();
    fLoop.AdvanceMs(1);
    EXPECT_EQ(fLog, "a600 b600 ") << "equal due times fire in start order";
}

TEST_F(ManualLoopTest, TasksPostedByATickRunBeforeTheNextTick)
{
    MainLoop::TimerId id = 0;
    id = fLoop.StartTimer(10, [&] {
        fLog += "t";
        fLoop.Post([&] { fLog += "p"; });
        if (fLog.size() >= 3) fLoop.StopTimer(id);
    });
    fLoop.AdvanceMs(100);
    EXPECT_EQ(fLog, "tptp");
}

TEST_F(ManualLoopTest, RunPendingRunsTasksPostedMeanwhileAndFromOtherThreads)
{
    std::thread worker([&] { fLoop.Post([&] { fLog += "w"; }); });
    worker.join();
    fLoop.Post([&] { fLoop.Post([&] { fLog += "2"; }); });
    EXPECT_EQ(fLoop.RunPending(), 3);
    EXPECT_EQ(fLog, "w2");
}

TEST_F(ManualLoopTest, RunUntilWaitsForWorkFromAnotherThread)
{
    bool done = false;
    std::thread worker([&] { fLoop.Post([&] { done = true; }); });
    EXPECT_TRUE(fLoop.RunUntil([&] { return done; }));
    worker.join();
    EXPECT_FALSE(fLoop.RunUntil([] { return false; }, 20));
}

TEST_F(ManualLoopTest, TimerComponentFollowsEnabledAndInterval)
{
    int ticks = 0;
    TTimer timer;
    timer.OnTimer = [&] { ++ticks; };
    timer.SetInterval(100);
    fLoop.AdvanceMs(500);
    EXPECT_EQ(ticks, 0) << "a disabled timer does not tick";

    timer.SetEnabled(true);
    fLoop.AdvanceMs(250);
    EXPECT_EQ(ticks, 2);
    timer.SetInterval(100);
    fLoop.AdvanceMs(50);
    EXPECT_EQ(ticks, 3) << "the same interval does not restart the count";
    timer.SetInterval(200);
    fLoop.AdvanceMs(150);
    EXPECT_EQ(ticks, 3) << "a new interval starts the count again";
    fLoop.AdvanceMs(50);
    EXPECT_EQ(ticks, 4);

    timer.SetInterval(0);
    fLoop.AdvanceMs(1000);
    EXPECT_EQ(ticks, 4) << "an interval of 0 stops the ticking";
    timer.SetInterval(100);
    fLoop.AdvanceMs(100);
    EXPECT_EQ(ticks, 5);
    timer.SetEnabled(false);
    fLoop.AdvanceMs(1000);
    EXPECT_EQ(ticks, 5);
}

TEST_F(ManualLoopTest, TimerMayBeDestroyedByItsOwnHandler)
{
    auto* timer = new TTimer;
    int ticks = 0;
    timer->OnTimer = [&] {
        ++ticks;
        delete timer;
    };
    timer->SetInterval(10);
    timer->SetEnabled(true);
    fLoop.AdvanceMs(100);
    EXPECT_EQ(ticks, 1);
}

} // namespace
