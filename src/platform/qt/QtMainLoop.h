#pragma once
// The program's main loop on Qt's event loop.
#include <chrono>
#include <map>
#include <QObject>
#include "platform/MainLoop.h"

class QTimer;

class QtMainLoop : public QObject, public MainLoop {
public:
    /// Belongs to the calling thread, which must be the thread of the application object.
    QtMainLoop();
    ~QtMainLoop() override;

    void Post(std::function<void()> fn) override;
    std::int64_t NowMs() const override;
    bool IsMainThread() const override;
    TimerId StartTimer(int intervalMs, std::function<void()> tick) override;
    void StopTimer(TimerId id) override;

private:
    std::chrono::steady_clock::time_point fStart = std::chrono::steady_clock::now();
    TimerId fNextId = 1;
    std::map<TimerId, QTimer*> fTimers;
};
