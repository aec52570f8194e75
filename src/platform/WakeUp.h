#pragma once
// A wake-up that one thread signals to end another thread's wait on a descriptor.
#include <cstdint>

class WakeUp {
public:
    WakeUp();
    ~WakeUp();
    WakeUp(const WakeUp&) = delete;
    WakeUp& operator=(const WakeUp&) = delete;

    /// Callable from any thread; stays signalled until Clear.
    void Signal();
    void Clear();
    int Fd() const { return fFd; }

private:
    int fFd;
};

/// What ended a wait on a descriptor.
enum class WaitResult { Ready, Failed, TimedOut, Woken };

/// Waits until fd has one of `events` (poll bits), reports an error or hang-up (Failed), the
/// wake-up is signalled (Woken, when wake is given) or timeoutMs passes (negative: no limit).
/// `revents` receives what poll reported on fd.
WaitResult WaitForFd(int fd, short events, const WakeUp* wake, int timeoutMs, short* revents = nullptr);
