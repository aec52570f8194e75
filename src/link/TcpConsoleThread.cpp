#include "link/TcpConsoleThread.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kQuietMs = 10;

std::int64_t TickMs()
{
    using namespace std::chrono;
    // Never 0, which stands for "nothing waiting".
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() + 1;
}

}  // namespace

TTcpConsoleThread::TTcpConsoleThread(const AnsiString& HostAddress, const AnsiString& HostPort)
    : TThread(true)
{
    FreeOnTerminate = true;
    fTcpStream.SetHostAddress(HostAddress);
    fTcpStream.SetHostPort(HostPort);
    fTcpStream.ConnectTimeOut = 10;
    fTcpStream.RxTimeOut = 0;
    // The thread never waits inside a send: it waits for room on the socket together with
    // incoming bytes, so a peer that reads only after it has been read from cannot stall it.
    fTcpStream.TxTimeOut = 0;
    fTcpStream.FullBlockReads = false;
}

TTcpConsoleThread::~TTcpConsoleThread()
{
    Terminate();
    WaitFor();
    if (fTcpStream.Connected()) fTcpStream.SetConnected(false);
}

void TTcpConsoleThread::ReleaseReceived(std::size_t n)
{
    fRxRing.Release(n);
    if (n > 0 && fRxWaitsForRoom.exchange(false)) fTcpStream.Interrupt();
}

void TTcpConsoleThread::WriteByte(std::uint8_t b)
{
    bool wake = false;
    {
        std::lock_guard<std::mutex> l(fTxLock);
        if (fTxBytesInBuffer >= kBufferSize) return;
        fTxBuffer[std::size_t(fTxBytesInBuffer++)] = b;
        fTxNagleTime = TickMs();
        // The thread sleeps until something is due: the first byte starts the quiet time, a full buffer goes now.
        wake = fTxBytesInBuffer == 1 || fTxBytesInBuffer == kBufferSize;
    }
    if (wake) fTcpStream.Interrupt();
}

void TTcpConsoleThread::SendNow()
{
    {
        std::lock_guard<std::mutex> l(fTxLock);
        if (fTxNagleTime == 0) return;
        fTxNagleTime = TickMs() - kQuietMs;
    }
    fTcpStream.Interrupt();
}

void TTcpConsoleThread::ClearWriteBuffer()
{
    {
        std::lock_guard<std::mutex> l(fTxLock);
        fTxBytesInBuffer = 0;
        fTxCleared = true;
    }
    fTxRoom.notify_all();
}

bool TTcpConsoleThread::WaitCanWriteByte(std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock<std::mutex> l(fTxLock);
    fTxRoom.wait_until(l, deadline, [this] { return fTxStopped || fTxBytesInBuffer < kBufferSize; });
    return !fTxStopped && fTxBytesInBuffer < kBufferSize;
}

std::uint8_t TTcpConsoleThread::ReadByte()
{
    const std::span<const std::uint8_t> block = ReceivedBlock();
    if (block.empty()) return 0;
    const std::uint8_t b = block[0];
    ReleaseReceived(1);
    return b;
}

void TTcpConsoleThread::ClearReadBuffer()
{
    // What waits now, which may lie in two pieces; bytes that arrive meanwhile stay.
    for (std::size_t n = fRxRing.Waiting(); n > 0;) {
        const std::size_t piece = std::min(n, ReceivedBlock().size());
        ReleaseReceived(piece);
        n -= piece;
    }
}

bool TTcpConsoleThread::CanWriteByte()
{
    std::lock_guard<std::mutex> l(fTxLock);
    return fTxBytesInBuffer < kBufferSize;
}

void TTcpConsoleThread::Execute()
{
    Serve();
    {
        std::lock_guard<std::mutex> l(fTxLock);
        fTxStopped = true;
    }
    fTxRoom.notify_all();
}

void TTcpConsoleThread::Serve()
{
    fTcpStream.SetConnected(true);
    if (IsOpen() && !Synchronize([this] { Fire(OnConnected, this); })) return;
    while (IsOpen() && !Terminated()) {
        bool flush;
        {
            std::lock_guard<std::mutex> l(fTxLock);
            flush = fTxBytesInBuffer >= kBufferSize || fTxBlocked;
        }
        if ((flush || NagleExpired()) && !Terminated()) FlushTx();
        if (!Terminated()) FillRx();
        if (!IsOpen() || Terminated()) break;
        bool blocked;
        {
            std::lock_guard<std::mutex> l(fTxLock);
            blocked = fTxBlocked;
        }
        fTcpStream.WaitForEvent(blocked ? -1 : NagleWaitMs(), !fRxRing.Full(), blocked);
    }
}

bool TTcpConsoleThread::NagleExpired()
{
    std::lock_guard<std::mutex> l(fTxLock);
    if (fTxNagleTime == 0 || TickMs() - fTxNagleTime < kQuietMs) return false;
    fTxNagleTime = 0;
    return true;
}

int TTcpConsoleThread::NagleWaitMs()
{
    std::lock_guard<std::mutex> l(fTxLock);
    if (fTxBytesInBuffer >= kBufferSize) return 0;
    if (fTxNagleTime == 0) return -1;
    return int(std::max<std::int64_t>(fTxNagleTime + kQuietMs - TickMs(), 0));
}

void TTcpConsoleThread::FlushTx()
{
    int waiting;
    {
        std::lock_guard<std::mutex> l(fTxLock);
        waiting = fTxBytesInBuffer;
        if (waiting == 0) fTxBlocked = false;
        if (waiting == 0 || !IsOpen()) return;
        // Sent from a copy without the lock, so that the main thread may append or clear meanwhile.
        std::memcpy(fTxSendCopy.data(), fTxBuffer.data(), std::size_t(waiting));
        fTxCleared = false;
    }
    const int sent = fTcpStream.Write(fTxSendCopy.data(), waiting);
    {
        std::lock_guard<std::mutex> l(fTxLock);
        if (fTxCleared) {
            // What the copy still held was cleared; the buffer now holds only bytes added since.
            fTxBlocked = false;
            return;
        }
        std::memmove(fTxBuffer.data(), fTxBuffer.data() + sent, std::size_t(fTxBytesInBuffer - sent));
        fTxBytesInBuffer -= sent;
        fTxBlocked = sent < waiting && IsOpen();
    }
    if (sent > 0) fTxRoom.notify_all();
}

void TTcpConsoleThread::FillRx()
{
    while (IsOpen() && !Terminated()) {
        const std::span<std::uint8_t> room = fRxRing.FreeBlock();
        if (room.empty()) {
            // The main thread wakes us once it has made room; it may have made some just now.
            fRxWaitsForRoom = true;
            if (fRxRing.Full()) return;
            fRxWaitsForRoom = false;
            continue;
        }
        const int got = fTcpStream.Read(room.data(), int(room.size()));
        if (got <= 0) return;
        fRxRing.Commit(std::size_t(got));
        AnnounceData();
        if (std::size_t(got) < room.size()) return;
    }
}

void TTcpConsoleThread::AnnounceData()
{
    if (fDataAnnounced.exchange(true)) return;
    Queue([this] { DataReady(); });
}

void TTcpConsoleThread::DataReady()
{
    // A handler that waits in a nested loop (a question asked while a byte is handled) must not
    // be handed the bytes it is still taking: the running hand-over announces them again.
    if (fInDataReady) {
        fDataReadyMissed = true;
        return;
    }
    // Cleared before looking, so that bytes arriving from now on are announced again.
    fDataAnnounced = false;
    const std::size_t waiting = fRxRing.Waiting();
    if (waiting == 0) return;
    // The handler may close the link and wait in a nested loop, in which this thread ends and is freed.
    const std::shared_ptr<const std::atomic<bool>> alive = AliveFlag();
    {
        fInDataReady = true;
        struct Leave {
            TTcpConsoleThread* self;
            const std::shared_ptr<const std::atomic<bool>>& alive;
            ~Leave()
            {
                if (*alive) self->fInDataReady = false;
            }
        } leave{this, alive};
        Fire(OnDataReady, this, unsigned(waiting));
    }
    if (!*alive || !fDataReadyMissed) return;
    fDataReadyMissed = false;
    fDataAnnounced = false;
    if (fRxRing.Waiting() > 0) AnnounceData();
}
