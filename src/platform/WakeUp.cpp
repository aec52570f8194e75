#include "platform/WakeUp.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <cerrno>
#include <stdexcept>

WakeUp::WakeUp() : fFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (fFd < 0) throw std::runtime_error("Unable to create a wake-up");
}

WakeUp::~WakeUp()
{
    close(fFd);
}

void WakeUp::Signal()
{
    const std::uint64_t one = 1;
    while (write(fFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void WakeUp::Clear()
{
    std::uint64_t count;
    while (read(fFd, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

WaitResult WaitForFd(int fd, short events, const WakeUp* wake, int timeoutMs, short* revents)
{
    pollfd fds[2] = {{fd, events, 0}, {wake ? wake->Fd() : -1, POLLIN, 0}};
    int n;
    do {
        n = poll(fds, wake ? 2 : 1, timeoutMs);
    } while (n < 0 && errno == EINTR);
    if (revents) *revents = fds[0].revents;
    if (n < 0) return WaitResult::Failed;
    if (wake && (fds[1].revents & POLLIN)) return WaitResult::Woken;
    if (fds[0].revents & events) return WaitResult::Ready;
    if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return WaitResult::Failed;
    return WaitResult::TimedOut;
}
