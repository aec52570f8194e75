#pragma once
// The main (user-interface) thread's loop: posted work, synchronous hand-overs, timers, a clock.
#include <cstdint>
#include <functional>
#include <memory>

class MainLoop {
public:
    MainLoop();
    /// A loop that is the current one stops being current.
    virtual ~MainLoop();
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

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
    /// Returns true when fn ran. An exception thrown by fn is rethrown in the calling thread.
    /// `abandon` is called with an internal lock held: it must only read flags.
    bool Synchronize(const std::function<void()>& fn, const std::function<bool()>& abandon);
    /// Makes every blocked Synchronize look at its abandon condition again.
    void WakeSynchronizeWaiters();

    struct SyncState;
    /// What a worker thread keeps of the loop it works for. It stays safe to use when the loop
    /// is destroyed meanwhile: from then on it posts nothing and every hand-over gives up.
    class Handle {
    public:
        Handle() = default;
        explicit operator bool() const { return fSync != nullptr; }
        /// False, with fn dropped, once the loop is gone.
        bool Post(std::function<void()> fn) const;
        bool Synchronize(const std::function<void()>& fn, const std::function<bool()>& abandon) const;
        void WakeSynchronizeWaiters() const;
        /// A worker that frees itself registers how to stop it: a loop that ends stops every
        /// registered worker and waits until each has discharged itself. 0 once the loop is gone.
        std::uint64_t Enlist(std::function<void()> stop) const;
        /// The worker's last act: runs `last` (which may free the worker) and strikes it off.
        void Discharge(std::uint64_t ticket, const std::function<void()>& last) const;

    private:
        friend class MainLoop;
        explicit Handle(std::shared_ptr<SyncState> sync) : fSync(std::move(sync)) {}
        std::shared_ptr<SyncState> fSync;
    };
    Handle GetHandle() const { return Handle(fSync); }
    /// In the main thread: runs the hand-overs that workers are blocked on until done() holds
    /// (checked whenever a hand-over arrives or WakeSynchronizeWaiters is called), so that waiting
    /// for a worker never blocks a hand-over the worker waits for. `done` must only read flags.
    void RunSynchronizeUntil(const std::function<bool()>& done);

    /// The loop of this program (the toolkit's, or a test's manual loop); throws std::logic_error
    /// when none is set.
    static MainLoop& Current();
    /// The loop of this program, or nullptr when none is set.
    static MainLoop* CurrentOrNull();
    static void SetCurrent(MainLoop* loop);

protected:
    /// Cuts the handles off, then stops the enlisted workers and waits until they are gone; a
    /// derived loop calls it first in its destructor, before the members that its Post uses go.
    void Retire();

private:
    std::shared_ptr<SyncState> fSync;
};

/// A timer in the main thread, in the manner of the form library's timer component: it ticks
/// while Enabled and Interval > 0; changing Interval while enabled starts the count again.
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
    MainLoop* fLoop = nullptr;
    MainLoop::TimerId fId = 0;
};
