#include "platform/qt/QtMainLoop.h"
#include <QThread>
#include <QTimer>
#include "platform/qt/ExceptionGuard.h"

QtMainLoop::QtMainLoop() = default;

QtMainLoop::~QtMainLoop()
{
    // Threads still running must stop posting before this loop's members go.
    Retire();
    for (auto& [id, timer] : fTimers) delete timer;
}

void QtMainLoop::Post(std::function<void()> fn)
{
    QMetaObject::invokeMethod(this, [fn = std::move(fn)] { RunGuarded(fn); }, Qt::QueuedConnection);
}

std::int64_t QtMainLoop::NowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - fStart).count();
}

bool QtMainLoop::IsMainThread() const { return QThread::currentThread() == thread(); }

MainLoop::TimerId QtMainLoop::StartTimer(int intervalMs, std::function<void()> tick)
{
    TimerId id = fNextId++;
    auto* timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(intervalMs);
    QObject::connect(timer, &QTimer::timeout, this, [tick = std::move(tick)] { RunGuarded(tick); });
    fTimers[id] = timer;
    timer->start();
    return id;
}

void QtMainLoop::StopTimer(TimerId id)
{
    auto it = fTimers.find(id);
    if (it == fTimers.end()) return;
    // A tick may stop its own timer: let Qt delete it once the tick has returned.
    it->second->stop();
    it->second->deleteLater();
    fTimers.erase(it);
}
