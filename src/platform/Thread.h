#pragma once
// A worker thread in the manner of the class library's thread base.
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include "platform/Events.h"

class TThread : public TObject {
public:
    /// A suspended thread waits for Start.
    explicit TThread(bool createSuspended = true);
    /// Terminates and joins a thread that is not freed on termination.
    ~TThread() override;

    void Start();
    /// Asks Execute to end: sets Terminated, gives up a pending Synchronize, calls TerminatedSet.
    void Terminate();
    bool Terminated() const { return fTerminated.load(); }
    /// Blocks until Execute has returned; not for a thread that frees itself.
    void WaitFor();
    bool Finished() const { return fFinished.load(); }

    /// The object deletes itself in the main thread after Execute and OnTerminate.
    bool FreeOnTerminate = false;
    /// Fires in the main thread once Execute has returned.
    TNotifyEvent OnTerminate;

protected:
    virtual void Execute() = 0;
    /// Runs fn in the main thread and waits; false, without fn having run, once terminated.
    bool Synchronize(const std::function<void()>& fn);
    /// Called from Terminate in the terminating thread: wake whatever Execute waits on.
    virtual void TerminatedSet() {}

private:
    void Run();
    std::thread fThread;
    std::atomic<bool> fTerminated{false};
    std::atomic<bool> fFinished{false};
    bool fStarted = false;
};
