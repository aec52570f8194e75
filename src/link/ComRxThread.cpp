#include "link/ComRxThread.h"

#include <poll.h>
#include <unistd.h>
#include <cerrno>

namespace {
constexpr std::size_t kDataBufferSize = 65536;
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

TComRxThread::TComRxThread(std::shared_ptr<TComPortState> port, TDataBlock onDataBlock, TLost onLost)
    : TThread(true), fPort(std::move(port)), fOnDataBlock(std::move(onDataBlock)),
      fOnLost(std::move(onLost)), fDataBuffer(kDataBufferSize)
{
}

TComRxThread::~TComRxThread()
{
    Terminate();
    WaitFor();
}

void TComRxThread::Execute()
{
    while (!Terminated()) {
        if (!ServeDevice()) {
            if (!Terminated()) Synchronize([this] { fOnLost(this); });
            return;
        }
    }
}

bool TComRxThread::ServeDevice()
{
    short events = POLLIN;
    {
        std::lock_guard<std::mutex> l(fPort->Lock);
        if (!fPort->PendingTx.empty()) events |= POLLOUT;
    }
    short revents = 0;
    const WaitResult result = WaitForFd(fPort->Fd, events, &fWake, -1, &revents);
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
            Synchronize([this, got] { fOnDataBlock(this, fDataBuffer.data(), unsigned(got)); });
            return true;
        }
        // A hang-up is reported at once forever, so it ends the reader even without an error.
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) return (revents & (POLLHUP | POLLERR)) == 0;
        return false;
    }
    return result != WaitResult::Failed;
}
