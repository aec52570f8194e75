#include "platform/ManualLoop.h"

#include <algorithm>
#include <chrono>

ManualLoop::ManualLoop() : fMainThread(std::this_thread::get_id()) {}

ManualLoop::~ManualLoop()
{
    // Workers still running must not post into the queue that goes with us.
    Retire();
}

void ManualLoop::Post(std::function<void()> fn)
{
    std::lock_guard<std::mutex> l(fLock);
    fQueue.push_back(std::move(fn));
    fPosted.notify_all();
}

std::int64_t ManualLoop::NowMs() const
{
    std::lock_guard<std::mutex> l(fLock);
    return fNow;
}

bool ManualLoop::IsMainThread() const
{
    return std::this_thread::get_id() == fMainThread;
}

MainLoop::TimerId ManualLoop::StartTimer(int intervalMs, std::function<void()> tick)
{
    // A zero interval would fire forever within one instant of virtual time.
    int interval = std::max(intervalMs, 1);
    std::lock_guard<std::mutex> l(fLock);
    TimerId id = fNextId++;
    fTimers[id] = Timer{interval, fNow + interval, std::move(tick)};
    return id;
}

void ManualLoop::StopTimer(TimerId id)
{
    std::lock_guard<std::mutex> l(fLock);
    fTimers.erase(id);
}

int ManualLoop::RunPending()
{
    int count = 0;
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard<std::mutex> l(fLock);
            if (fQueue.empty()) return count;
            task = std::move(fQueue.front());
            fQueue.pop_front();
        }
        task();
        ++count;
    }
}

void ManualLoop::AdvanceMs(std::int64_t ms)
{
    std::int64_t target;
    {
        std::lock_guard<std::mutex> l(fLock);
        target = fNow + std::max<std::int64_t>(ms, 0);
    }
    for (;;) {
        RunPending();
        std::function<void()> tick;
        {
            std::lock_guard<std::mutex> l(fLock);
            auto next = fTimers.end();
            for (auto it = fTimers.begin(); it != fTimers.end(); ++it)
                if (it->second.due <= target && (next == fTimers.end() || it->second.due < next->second.due))
                    next = it;
            if (next == fTimers.end()) break;
            fNow = next->second.due;
            next->second.due += next->second.interval;
            // A copy, because the tick may stop its own timer.
            tick = next->second.tick;
        }
        tick();
    }
    {
        std::lock_guard<std::mutex> l(fLock);
        fNow = target;
    }
    RunPending();
}

bool ManualLoop::RunUntil(const std::function<bool()>& pred, int realTimeLimitMs)
{
    using Clock = std::chrono::steady_clock;
    // The condition may depend on I/O that posts nothing, so it is looked at again now and then.
    constexpr auto recheck = std::chrono::milliseconds(10);
    const auto deadline = Clock::now() + std::chrono::milliseconds(realTimeLimitMs);
    for (;;) {
        RunPending();
        if (pred()) return true;
        const auto now = Clock::now();
        if (now >= deadline) return false;
        std::unique_lock<std::mutex> l(fLock);
        fPosted.wait_until(l, std::min(deadline, now + recheck), [this] { return !fQueue.empty(); });
    }
}
