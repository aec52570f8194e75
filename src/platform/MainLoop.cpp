#include "platform/MainLoop.h"
#include "platform/CurrentService.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <stdexcept>

namespace {

/// One hand-over from a worker: queued, then run by the main thread or abandoned by the worker.
struct SyncTask {
    enum class State { Queued, Running, Done, Abandoned };
    const std::function<void()>* fn = nullptr;
    State state = State::Queued;
    std::exception_ptr error;
};

} // namespace

struct MainLoop::SyncState {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::shared_ptr<SyncTask>> queue;
    /// The loop, until it retires; only used with `lock` held, so that it cannot go meanwhile.
    MainLoop* owner = nullptr;

    /// Self-freeing workers and how to stop them. A separate lock: stopping one takes `lock`.
    std::mutex workersLock;
    std::condition_variable workersGone;
    std::map<std::uint64_t, std::function<void()>> workers;
    std::uint64_t nextTicket = 1;
    bool retired = false;

    /// Main thread: runs every queued hand-over; the worker's wait ends when its task is done.
    void RunQueued()
    {
        std::unique_lock<std::mutex> l(lock);
        while (!queue.empty()) {
            std::shared_ptr<SyncTask> task = queue.front();
            queue.pop_front();
            task->state = SyncTask::State::Running;
            l.unlock();
            std::exception_ptr error;
            try {
                (*task->fn)();
            } catch (...) {
                error = std::current_exception();
            }
            l.lock();
            task->error = error;
            task->state = SyncTask::State::Done;
            changed.notify_all();
        }
    }
};

MainLoop::MainLoop() : fSync(std::make_shared<SyncState>())
{
    fSync->owner = this;
}

MainLoop::~MainLoop()
{
    Retire();
    CurrentService<MainLoop>::Forget(this);
}

void MainLoop::Retire()
{
    {
        std::lock_guard<std::mutex> l(fSync->lock);
        fSync->owner = nullptr;
        fSync->changed.notify_all();
    }
    // A worker cannot hand anything over any more; once stopped it frees itself, and a loop that
    // ends must not leave it behind.
    std::unique_lock<std::mutex> l(fSync->workersLock);
    fSync->retired = true;
    for (auto& [ticket, stop] : fSync->workers) stop();
    fSync->workersGone.wait(l, [this] { return fSync->workers.empty(); });
}

bool MainLoop::Synchronize(const std::function<void()>& fn, const std::function<bool()>& abandon)
{
    return GetHandle().Synchronize(fn, abandon);
}

void MainLoop::WakeSynchronizeWaiters()
{
    GetHandle().WakeSynchronizeWaiters();
}

bool MainLoop::Handle::Post(std::function<void()> fn) const
{
    if (!fSync) return false;
    std::lock_guard<std::mutex> l(fSync->lock);
    if (!fSync->owner) return false;
    fSync->owner->Post(std::move(fn));
    return true;
}

bool MainLoop::Handle::Synchronize(const std::function<void()>& fn, const std::function<bool()>& abandon) const
{
    // A copy: fn may delete the thread that holds this handle.
    const std::shared_ptr<SyncState> sync = fSync;
    if (!sync) return false;
    auto task = std::make_shared<SyncTask>();
    task->fn = &fn;
    std::unique_lock<std::mutex> l(sync->lock);
    if (!sync->owner) return false;
    if (sync->owner->IsMainThread()) {
        l.unlock();
        fn();
        return true;
    }
    if (abandon && abandon()) return false;
    sync->queue.push_back(task);
    sync->changed.notify_all();
    sync->owner->Post([sync] { sync->RunQueued(); });

    // Once fn runs it may use the worker's data, so the worker can only give up while it is
    // queued; a loop that is gone runs nothing more.
    sync->changed.wait(l, [&] {
        return task->state == SyncTask::State::Done ||
               (task->state == SyncTask::State::Queued && (!sync->owner || (abandon && abandon())));
    });
    if (task->state != SyncTask::State::Done) {
        task->state = SyncTask::State::Abandoned;
        auto& q = sync->queue;
        q.erase(std::remove(q.begin(), q.end(), task), q.end());
        return false;
    }
    if (task->error) std::rethrow_exception(task->error);
    return true;
}

void MainLoop::Handle::WakeSynchronizeWaiters() const
{
    if (!fSync) return;
    std::lock_guard<std::mutex> l(fSync->lock);
    fSync->changed.notify_all();
}

std::uint64_t MainLoop::Handle::Enlist(std::function<void()> stop) const
{
    if (!fSync) return 0;
    std::lock_guard<std::mutex> l(fSync->workersLock);
    if (fSync->retired) return 0;
    const std::uint64_t ticket = fSync->nextTicket++;
    fSync->workers.emplace(ticket, std::move(stop));
    return ticket;
}

void MainLoop::Handle::Discharge(std::uint64_t ticket, const std::function<void()>& last) const
{
    if (!fSync || ticket == 0) {
        last();
        return;
    }
    // A copy and the lock held throughout: a retiring loop must not stop a worker that `last` frees.
    const std::shared_ptr<SyncState> sync = fSync;
    std::lock_guard<std::mutex> l(sync->workersLock);
    sync->workers.erase(ticket);
    last();
    sync->workersGone.notify_all();
}

void MainLoop::RunSynchronizeUntil(const std::function<bool()>& done)
{
    for (;;) {
        fSync->RunQueued();
        std::unique_lock<std::mutex> l(fSync->lock);
        if (done()) return;
        fSync->changed.wait(l, [&] { return !fSync->queue.empty() || done(); });
    }
}

MainLoop& MainLoop::Current()
{
    return CurrentService<MainLoop>::Get("main loop");
}

MainLoop* MainLoop::CurrentOrNull()
{
    return CurrentService<MainLoop>::GetOrNull();
}

void MainLoop::SetCurrent(MainLoop* loop)
{
    CurrentService<MainLoop>::Set(loop);
}

TTimer::~TTimer()
{
    // A timer that outlived its loop has nothing left to stop.
    if (fId && fLoop == MainLoop::CurrentOrNull()) fLoop->StopTimer(fId);
}

void TTimer::SetInterval(int ms)
{
    if (ms == fInterval) return;
    fInterval = ms;
    Restart();
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == fEnabled) return;
    fEnabled = enabled;
    Restart();
}

void TTimer::Restart()
{
    if (fId) {
        if (fLoop == MainLoop::CurrentOrNull()) fLoop->StopTimer(fId);
        fId = 0;
        fLoop = nullptr;
    }
    if (!fEnabled || fInterval <= 0) return;
    fLoop = &MainLoop::Current();
    fId = fLoop->StartTimer(fInterval, [this] {
        // A copy, because the handler may free this timer.
        auto handler = OnTimer;
        if (handler) handler();
    });
}
