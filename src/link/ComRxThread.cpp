#include "link/ComRxThread.h"

#include <poll.h>
#include <unistd.h>
#include <cerrno>

namespace {
constexpr std::size_t kDataBufferSize = 65536;
/// How often the reader looks at the modem lines' change counts while someone listens for them.
/// The driver counts every change, so a look that comes late still sees each line that moved.
constexpr int kModemLinePollMs = 10;
}

bool TComPortState::FlushPendingLocked()
{
    while (!PendingTx.empty()) {
        const ssize_t n = write(Fd, PendingTx.data(), PendingTx.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno == EAGAIN;
        }
        PendingTx.erase(PendingTx.begin(), PendingTx.begin() + n);
    }
    Written.notify_all();
    return true;
}

TComRxThread::TComRxThread(std::shared_ptr<TComPortState> port, std::shared_ptr<TComModemLines> lines,
                           TComRxThreadEvents events, bool synchronized)
    : TThread(true), fPort(std::move(port)), fLines(std::move(lines)), fEvents(std::move(events)),
      fSynchronized(synchronized), fDataBuffer(kDataBufferSize)
{
}

TComRxThread::~TComRxThread()
{
    Terminate();
    WaitFor();
}

void TComRxThread::Execute()
{
    if (fLines && fEvents.ModemEvent) fLineCounts = fLines->Counts();
    while (!Terminated()) {
        if (const int error = ServeDevice()) {
            EndWithError(error);
            return;
        }
        if (fLineCounts && !Terminated()) WatchModemLines();
    }
}

void TComRxThread::EndWithError(int error)
{
    if (Terminated()) return;
    bool abortOnError = false;
    if (fEvents.Error && !Hand([&] { fEvents.Error(this, error, abortOnError); })) return;
    if (!Terminated()) Synchronize([this] { fEvents.Lost(this); });
}

bool TComRxThread::Hand(const std::function<void()>& fn)
{
    if (fSynchronized) return Synchronize(fn);
    fn();
    return !Terminated();
}

void TComRxThread::Deliver(unsigned count)
{
    if (fEvents.DataBlock && !Hand([&] { fEvents.DataBlock(this, fDataBuffer.data(), count); })) return;
    if (!fEvents.DataReady) return;
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t byte = fDataBuffer[i];
        if (!Hand([&] { fEvents.DataReady(this, byte); })) return;
    }
}

void TComRxThread::WatchModemLines()
{
    const std::optional<SerialLineCounts> counts = fLines->Counts();
    if (!counts) return;
    const TComModemEvents events = ModemEventsBetween(*fLineCounts, *counts);
    fLineCounts = counts;
    if (!events.Empty()) fEvents.ModemEvent(this, events);
}

int TComRxThread::ServeDevice()
{
    short events = POLLIN;
    {
        std::lock_guard<std::mutex> l(fPort->Lock);
        if (!fPort->PendingTx.empty()) events |= POLLOUT;
    }
    short revents = 0;
    const int timeout = fLineCounts ? kModemLinePollMs : -1;
    const WaitResult result = WaitForFd(fPort->Fd, events, &fWake, timeout, &revents);
    const int waitError = errno;
    if (Terminated()) return 0;
    if (result == WaitResult::Woken) {
        fWake.Clear();
        return 0;
    }
    if (revents & POLLOUT) {
        std::lock_guard<std::mutex> l(fPort->Lock);
        if (!fPort->FlushPendingLocked()) return errno;
    }
    if (revents & (POLLIN | POLLHUP | POLLERR)) {
        const ssize_t got = read(fPort->Fd, fDataBuffer.data(), fDataBuffer.size());
        if (got > 0) {
            Deliver(unsigned(got));
            return 0;
        }
        if (got < 0 && errno != EAGAIN && errno != EINTR) return errno;
        // The end of the input, or a hang-up (reported at once forever) with nothing to read: the
        // device is gone, as a write to it would now say.
        return (got == 0 || (revents & (POLLHUP | POLLERR)) != 0) ? EIO : 0;
    }
    if (result != WaitResult::Failed) return 0;
    return revents & POLLNVAL ? EBADF : waitError;
}
