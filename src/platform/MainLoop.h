#pragma once
// The main (user-interface) thread's loop: posted work, synchronous hand-overs, timers, a clock.
#include <cstdint>
#include <functional>

class MainLoop {
public:
    virtual ~MainLoop() = default;

    /// Queues fn to run in the main thread; callable from any thread.
    virtual void Post(std::function<void()> fn) = 0;
    /// Milliseconds of a monotonic clock (virtual in tests).
    virtual std::int64_t NowMs() const = 0;
    virtual bool IsMainThread() const = 0;

    using TimerId = std::uint64_t;
    /// Calls tick every intervalMs in the main thread until StopTimer.
    virtual TimerId StartTimer(int intervalMs, std::function<void()> tick) = 0;
    virtual void StopTimer(TimerId id) = 0;

    /// From a worker thread: runs fn in the main thread and blocks until it has run. Gives up,
    /// without fn having run or ever running, as soon as `abandon` turns true (checked whenever
    /// WakeSynchronizeWaiters is called). In the main thread fn runs at once.
    /// Returns true when fn ran.
    bool Synchronize(const std::function<void()>& fn, const std::function<bool()>& abandon);
    /// Makes every blocked Synchronize look at its abandon condition again.
    void WakeSynchronizeWaiters();

    /// The loop of this program (the toolkit's, or a test's manual loop).
    static MainLoop& Current();
    static void SetCurrent(MainLoop* loop);
};

/// A timer in the main thread, in the manner of the form library's timer component.
class TTimer {
public:
    TTimer() = default;
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    int Interval() const { return fInterval; }
    void SetInterval(int ms);
    bool Enabled() const { return fEnabled; }
    void SetEnabled(bool enabled);
    std::function<void()> OnTimer;

private:
    void Restart();
    int fInterval = 1000;
    bool fEnabled = false;
    MainLoop::TimerId fId = 0;
};
