#pragma once
// A main loop driven by hand, with a virtual clock: tests advance time instead of sleeping.
#include <map>
#include <mutex>
#include <condition_variable>
#include <deque>
#include <thread>
#include "platform/MainLoop.h"

class ManualLoop : public MainLoop {
public:
    /// The calling thread becomes the main thread.
    ManualLoop();
    ~ManualLoop() override;

    void Post(std::function<void()> fn) override;
    std::int64_t NowMs() const override;
    bool IsMainThread() const override;
    TimerId StartTimer(int intervalMs, std::function<void()> tick) override;
    void StopTimer(TimerId id) override;

    /// Runs every posted task (including those posted meanwhile); returns how many ran.
    int RunPending();
    /// Moves the clock forward, running due timers in time order and posted tasks between them.
    void AdvanceMs(std::int64_t ms);
    /// Runs posted tasks until pred() holds or the real-time limit passes; for tests with real I/O.
    bool RunUntil(const std::function<bool()>& pred, int realTimeLimitMs = 5000);

private:
    struct Timer {
        int interval;
        std::int64_t due;
        std::function<void()> tick;
    };
    std::thread::id fMainThread;
    std::int64_t fNow = 0;
    TimerId fNextId = 1;
    std::map<TimerId, Timer> fTimers;
    mutable std::mutex fLock;
    std::condition_variable fPosted;
    std::deque<std::function<void()>> fQueue;
};
