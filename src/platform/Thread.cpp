#include "platform/Thread.h"

#include <chrono>
#include "platform/ExceptionGuard.h"
#include "platform/MainLoop.h"

TThread::TThread(bool createSuspended)
{
    if (!createSuspended)
        MainLoop::Current().Post([this, alive = fAlive] {
            if (*alive) Start();
        });
}

TThread::~TThread()
{
    *fAlive = false;
    if (!fThread.joinable()) return;
    Terminate();
    MainLoop* loop = MainLoop::CurrentOrNull();
    if (loop && loop->IsMainThread()) {
        if (fInHandOver) {
            // Joining would wait for the worker, which waits for us; it parks instead (see Synchronize).
            fThread.detach();
            return;
        }
        loop->RunSynchronizeUntil([this] { return fFinished.load(); });
    }
    fThread.join();
}

void TThread::Start()
{
    if (fStarted) return;
    fStarted = true;
    if (MainLoop* loop = MainLoop::CurrentOrNull()) fLoop = loop->GetHandle();
    if (FreeOnTerminate) fTicket = fLoop.Enlist([this] { Terminate(); });
    fThread = std::thread([this] { Run(); });
}

void TThread::Terminate()
{
    fTerminated = true;
    TerminatedSet();
    fLoop.WakeSynchronizeWaiters();
}

void TThread::WaitFor()
{
    if (!fThread.joinable() || fThread.get_id() == std::this_thread::get_id()) return;
    MainLoop* loop = MainLoop::CurrentOrNull();
    if (loop && loop->IsMainThread()) {
        if (fInHandOver) return;
        loop->RunSynchronizeUntil([this] { return fFinished.load(); });
    }
    fThread.join();
}

bool TThread::Synchronize(const std::function<void()>& fn)
{
    std::shared_ptr<std::atomic<bool>> alive = fAlive;
    bool ran = fLoop.Synchronize(
        [this, &fn, &alive] {
            fInHandOver = true;
            struct Reset {
                TThread* self;
                std::shared_ptr<std::atomic<bool>>& alive;
                ~Reset()
                {
                    if (*alive) self->fInHandOver = false;
                }
            } reset{this, alive};
            fn();
        },
        [this] { return fTerminated.load(); });
    // The object was deleted inside the hand-over: Execute must never touch it again, so this
    // detached worker stays parked for the life of the process.
    while (!*alive) std::this_thread::sleep_for(std::chrono::hours(24));
    return ran;
}

void TThread::Queue(std::function<void()> fn)
{
    fLoop.Post([alive = fAlive, fn = std::move(fn)] {
        if (*alive) fn();
    });
}

void TThread::Run()
{
    try {
        Execute();
    } catch (...) {
        // A thread ends quietly on an exception, as the class library's threads do.
    }
    const MainLoop::Handle loop = fLoop;
    std::shared_ptr<std::atomic<bool>> alive = fAlive;
    fFinished = true;
    if (FreeOnTerminate) {
        EndAndFree(loop);
        return;
    }
    if (!loop) return;
    loop.WakeSynchronizeWaiters();
    // From here on the object may be gone (a waiting owner may delete it); only locals are used.
    loop.Post([this, alive] {
        if (*alive) Ended();
    });
}

void TThread::Ended()
{
    // A copy, because the handler may delete this thread.
    TNotifyEvent handler = OnTerminate;
    if (handler) handler(this);
}

void TThread::EndAndFree(const MainLoop::Handle& loop)
{
    loop.WakeSynchronizeWaiters();
    const std::uint64_t ticket = fTicket;
    auto free = [this] {
        fThread.detach();
        delete this;
    };
    // Freed in the main thread right after the end event, as the worker waits for it; when the
    // loop has gone, nothing there uses the object any more, and the worker frees it itself.
    const bool ran = loop.Synchronize(
        [&] {
            try {
                Fire(OnTerminate, this);
            } catch (...) {
                ShowCurrentException();
            }
            loop.Discharge(ticket, free);
        },
        nullptr);
    if (!ran) loop.Discharge(ticket, free);
}
