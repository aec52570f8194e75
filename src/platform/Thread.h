#pragma once
// A worker thread in the manner of the class library's thread base.
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include "platform/Events.h"
#include "platform/MainLoop.h"

/// A derived class whose Execute uses its own members must Terminate and WaitFor in its own
/// destructor, since those members are gone by the time this base destructor runs.
class TThread : public TObject {
public:
    /// A suspended thread waits for Start; one created running starts when the main loop next
    /// runs its posted work (the derived object is complete only then).
    explicit TThread(bool createSuspended = true);
    /// Terminates and joins a thread that is still running (waiting for it runs the hand-overs it
    /// is blocked on). Never delete a thread from inside its own hand-over: Terminate it instead.
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    /// Asks Execute to end: sets Terminated, gives up a pending Synchronize, calls TerminatedSet.
    void Terminate();
    bool Terminated() const { return fTerminated.load(); }
    /// Blocks until Execute has returned; not for a thread that frees itself. In the main thread it
    /// runs pending hand-overs while it waits, and returns at once when called from inside this
    /// thread's own hand-over (the thread waits for that hand-over; terminated, it ends after it).
    void WaitFor();
    bool Finished() const { return fFinished.load(); }

    /// The object deletes itself after Execute and OnTerminate (set before Start). A loop that
    /// ends stops such a thread and waits until it has gone.
    bool FreeOnTerminate = false;
    /// Fires in the main thread once Execute has returned.
    TNotifyEvent OnTerminate;

protected:
    virtual void Execute() = 0;
    /// Runs fn in the main thread and waits; false, without fn having run, once terminated or
    /// once the loop it started under is gone.
    /// fn may Terminate this thread, or close what owns it, but must not delete it.
    bool Synchronize(const std::function<void()>& fn);
    /// Runs fn in the main thread later and returns at once; fn is dropped when this object or the
    /// loop is gone by then. Queued work and hand-overs run in the order they were made.
    void Queue(std::function<void()> fn);
    /// Called from Terminate in the terminating thread: wake whatever Execute waits on.
    virtual void TerminatedSet() {}
    /// False once this object is destroyed. Queued work that calls out, into a handler that may
    /// run a nested loop in which the thread ends and is freed, looks at it before going on.
    std::shared_ptr<const std::atomic<bool>> AliveFlag() const { return fAlive; }

private:
    void Run();
    void Ended();
    /// The end of a self-freeing thread, in the worker: OnTerminate and delete in the main thread
    /// (in the worker once the loop is gone). The object must not be used after it.
    void EndAndFree(const MainLoop::Handle& loop);
    /// The loop this thread works for, taken when it starts.
    MainLoop::Handle fLoop;
    /// This self-freeing thread's place among the loop's workers.
    std::uint64_t fTicket = 0;
    std::thread fThread;
    std::atomic<bool> fTerminated{false};
    std::atomic<bool> fFinished{false};
    bool fStarted = false;
    /// True while the main thread runs one of this thread's hand-overs.
    std::atomic<bool> fInHandOver{false};
    /// False once the object is destroyed; shared with work posted for it.
    std::shared_ptr<std::atomic<bool>> fAlive = std::make_shared<std::atomic<bool>>(true);
};
