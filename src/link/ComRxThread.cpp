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
        if (!ServeDevice()) {
            if (!Terminated()) Synchronize([this] { fEvents.Lost(this); });
            return;
        }
        if (fLineCounts && !Terminated()) WatchModemLines();
    }
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
    if (!events.Empty()) Hand([&] { fEvents.ModemEvent(this, events); });
}

bool TComRxThread::ServeDevice()
{
    short events = POLLIN;
    {
        std::lock_guard<std::mutex> l(fPort->Lock);
        if (!fPort->PendingTx.empty()) events |= POLLOUT;
    }
    short revents = 0;
    const int timeout = fLineCounts ? kModemLinePollMs : -1;
    const WaitResult result = WaitForFd(fPort->Fd, events, &fWake, timeout, &revents);
    if (Terminated()) return true;
    if (result == WaitResult::Woken) {
        fWake.Clear();
        return true;
    }
    if (revents & POLLOUT) {
        std::lock_guard<std::mutex> l(fPort->Lock);
        if (!fPort->FlushPendingLocked()) return false;
    }
    if (revents & (POLLIN | POLLHUP | POLLERR)) {
        const ssize_t got = read(fPort->Fd, fDataBuffer.data(), fDataBuffer.size());
        if (got > 0) {
            Deliver(unsigned(got));
            return true;
        }
        // A hang-up is reported at once forever, so it ends the reader even without an error.
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) return (revents & (POLLHUP | POLLERR)) == 0;
        return false;
    }
    return result != WaitResult::Failed;
}
