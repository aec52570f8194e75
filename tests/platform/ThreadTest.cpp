#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include "platform/ManualLoop.h"
#include "platform/Thread.h"

namespace {

/// A thread whose Execute is a test's function; it stops itself before its members go.
class TestThread : public TThread {
public:
    explicit TestThread(std::function<void(TestThread&)> body, std::atomic<bool>* destroyed = nullptr,
                        bool suspended = true)
        : TThread(suspended), fBody(std::move(body)), fDestroyed(destroyed)
    {
    }
    ~TestThread() override
    {
        Terminate();
        WaitFor();
        if (fDestroyed) *fDestroyed = true;
    }
    using TThread::Synchronize;

protected:
    void Execute() override { fBody(*this); }

private:
    std::function<void(TestThread&)> fBody;
    /// Set by whichever thread destroys it: a self-freeing thread frees itself in the worker.
    std::atomic<bool>* fDestroyed;
};

class Threads : public ::testing::Test {
protected:
    Threads() { MainLoop::SetCurrent(&fLoop); }
    ManualLoop fLoop;
};

TEST_F(Threads, SynchronizeRunsInTheMainThreadAndWaits)
{
    std::thread::id ranIn;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        bool ran = fLoop.Synchronize([&] { ranIn = std::this_thread::get_id(); }, [] { return false; });
        EXPECT_TRUE(ran);
        returned = true;
    });
    EXPECT_TRUE(fLoop.RunUntil([&] { return returned.load(); }));
    worker.join();
    EXPECT_EQ(ranIn, std::this_thread::get_id());
    EXPECT_TRUE(fLoop.Synchronize([] {}, [] { return true; })) << "in the main thread fn runs at once";
}

TEST_F(Threads, AbandonedSynchronizeNeverRunsLater)
{
    std::atomic<bool> abandon{false}, waiting{false};
    bool ran = false;
    std::atomic<int> result{-1};
    std::thread worker([&] {
        waiting = true;
        result = fLoop.Synchronize([&] { ran = true; }, [&] { return abandon.load(); });
    });
    while (!waiting) std::this_thread::yield();
    abandon = true;
    fLoop.WakeSynchronizeWaiters();
    worker.join();
    EXPECT_EQ(result, 0);
    fLoop.RunPending();
    EXPECT_FALSE(ran);
}

TEST_F(Threads, ExceptionInTheHandOverReachesTheWorker)
{
    std::atomic<bool> caught{false};
    std::thread worker([&] {
        try {
            fLoop.Synchronize([] { throw std::runtime_error("boom"); }, [] { return false; });
        } catch (const std::runtime_error&) {
            caught = true;
        }
    });
    EXPECT_TRUE(fLoop.RunUntil([&] { return caught.load(); }));
    worker.join();
}

TEST_F(Threads, OnTerminateRunsInTheMainThreadThenTheThreadFreesItself)
{
    std::atomic<bool> destroyed{false};
    int handOvers = 0;
    std::thread::id terminatedIn;
    auto* thread = new TestThread(
        [&](TestThread& self) {
            for (int i = 0; i < 3; ++i) self.Synchronize([&] { ++handOvers; });
        },
        &destroyed);
    thread->FreeOnTerminate = true;
    thread->OnTerminate = [&](TObject* sender) {
        EXPECT_EQ(sender, thread);
        terminatedIn = std::this_thread::get_id();
    };
    thread->Start();
    EXPECT_TRUE(fLoop.RunUntil([&] { return destroyed.load(); }));
    EXPECT_EQ(handOvers, 3);
    EXPECT_EQ(terminatedIn, std::this_thread::get_id());
}

TEST_F(Threads, WaitForInTheMainThreadServesPendingHandOvers)
{
    int handOvers = 0;
    TestThread thread([&](TestThread& self) {
        for (int i = 0; i < 5; ++i) self.Synchronize([&] { ++handOvers; });
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
    EXPECT_EQ(handOvers, 5);
}

TEST_F(Threads, TerminateAndWaitFromInsideItsOwnHandOverDoesNotDeadlock)
{
    std::atomic<bool> destroyed{false};
    auto* thread = new TestThread(
        [&](TestThread& self) {
            while (!self.Terminated()) {
                self.Synchronize([&] {
                    self.Terminate();
                    self.WaitFor();
                });
            }
        },
        &destroyed);
    thread->FreeOnTerminate = true;
    thread->Start();
    EXPECT_TRUE(fLoop.RunUntil([&] { return destroyed.load(); }));
}

TEST_F(Threads, TerminateGivesUpAPendingHandOver)
{
    std::atomic<bool> synchronizeResult{true}, started{false};
    bool ran = false;
    TestThread thread([&](TestThread& self) {
        started = true;
        synchronizeResult = self.Synchronize([&] { ran = true; });
    });
    thread.Start();
    while (!started) std::this_thread::yield();
    thread.Terminate();
    thread.WaitFor();
    fLoop.RunPending();
    EXPECT_TRUE(thread.Finished());
    EXPECT_EQ(ran, synchronizeResult.load()) << "a hand-over that gave up never runs";
}

TEST_F(Threads, ThreadCreatedRunningStartsOnceTheLoopRuns)
{
    std::atomic<bool> ran{false};
    auto* thread = new TestThread([&](TestThread&) { ran = true; }, nullptr, false);
    thread->FreeOnTerminate = true;
    bool freed = false;
    thread->OnTerminate = [&](TObject*) { freed = true; };
    EXPECT_FALSE(ran);
    EXPECT_TRUE(fLoop.RunUntil([&] { return freed; }));
    EXPECT_TRUE(ran);
}

TEST_F(Threads, DeleteFromOnTerminateIsSafe)
{
    std::atomic<bool> destroyed{false};
    auto* thread = new TestThread([](TestThread&) {}, &destroyed);
    thread->OnTerminate = [&](TObject*) { delete thread; };
    thread->Start();
    EXPECT_TRUE(fLoop.RunUntil([&] { return destroyed.load(); }));
    fLoop.RunPending();
}

TEST_F(Threads, DestroyingARunningThreadTerminatesAndJoinsIt)
{
    std::atomic<bool> running{false};
    {
        TestThread thread([&](TestThread& self) {
            running = true;
            while (!self.Terminated()) std::this_thread::yield();
        });
        thread.Start();
        while (!running) std::this_thread::yield();
    }
    std::atomic<bool> destroyed{false};
    { TestThread never([](TestThread&) {}, &destroyed); }
    EXPECT_TRUE(destroyed) << "a thread never started is destroyed without waiting";
}

TEST(ThreadsAndTheirLoop, AThreadOutlivingItsLoopGivesUpItsHandOverAndPostsNothing)
{
    auto loop = std::make_unique<ManualLoop>();
    MainLoop::SetCurrent(loop.get());
    std::atomic<bool> waiting{false};
    std::atomic<int> handedOver{-1};
    auto* thread = new TestThread([&](TestThread& self) {
        waiting = true;
        handedOver = self.Synchronize([] {});
    });
    thread->Start();
    while (!waiting) std::this_thread::yield();
    loop.reset();
    // A later loop, as the next test or a new window has: nothing of the old thread reaches it.
    ManualLoop next;
    MainLoop::SetCurrent(&next);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!thread->Finished() && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // A thread stuck on the gone loop is left behind: deleting it would wait for ever.
    ASSERT_TRUE(thread->Finished()) << "the thread still waits for a loop that is gone";
    EXPECT_EQ(handedOver, 0);
    EXPECT_EQ(next.RunPending(), 0);
    delete thread;
}

TEST(ThreadsAndTheirLoop, ASelfFreeingThreadStillRunningWhenItsLoopEndsIsStoppedAndFreed)
{
    auto loop = std::make_unique<ManualLoop>();
    MainLoop::SetCurrent(loop.get());
    std::atomic<bool> destroyed{false}, running{false}, terminated{false};
    auto* thread = new TestThread(
        [&](TestThread& self) {
            running = true;
            while (!self.Terminated()) std::this_thread::yield();
            // A hand-over after the end of the loop gives up at once.
            self.Synchronize([] {});
        },
        &destroyed);
    thread->FreeOnTerminate = true;
    thread->OnTerminate = [&](TObject*) { terminated = true; };
    thread->Start();
    while (!running) std::this_thread::yield();
    loop.reset();
    EXPECT_TRUE(destroyed) << "the end of the loop waits until the thread has freed itself";
    EXPECT_FALSE(terminated) << "no loop was left to run the end event in";
}

} // namespace
