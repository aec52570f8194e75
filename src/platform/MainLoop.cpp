#include "platform/MainLoop.h"
#include "platform/CurrentService.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
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
    std::lock_guard<std::mutex> l(fSync->lock);
    fSync->owner = nullptr;
    fSync->changed.notify_all();
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
