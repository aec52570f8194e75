#include "link/TcpConsoleThread.h"

#include <algorithm>
#include <chrono>
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
    fTcpStream.TxTimeOut = 4;
    fTcpStream.FullBlockReads = false;
}

TTcpConsoleThread::~TTcpConsoleThread()
{
    Terminate();
    WaitFor();
    if (fTcpStream.Connected()) fTcpStream.SetConnected(false);
}

std::uint8_t TTcpConsoleThread::ReadByte()
{
    return CanReadByte() ? fRxBuffer[std::size_t(fRxBufferReadIdx++)] : 0;
}

void TTcpConsoleThread::ClearReadBuffer()
{
    fRxBytesInBuffer = 0;
    fRxBufferReadIdx = 0;
}

bool TTcpConsoleThread::CanWriteByte()
{
    std::lock_guard<std::mutex> l(fTxLock);
    return fTxBytesInBuffer < kBufferSize;
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

void TTcpConsoleThread::ClearWriteBuffer()
{
    std::lock_guard<std::mutex> l(fTxLock);
    fTxBytesInBuffer = 0;
    fTxCleared = true;
}

void TTcpConsoleThread::Execute()
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
        if (!CanReadByte() && !Terminated()) {
            FillRx();
            if (fRxBytesInBuffer > 0) {
                if (!Synchronize([this] { Fire(OnDataReady, this, unsigned(fRxBytesInBuffer)); })) return;
                continue;
            }
        }
        if (!IsOpen() || Terminated()) break;
        bool blocked;
        {
            std::lock_guard<std::mutex> l(fTxLock);
            blocked = fTxBlocked;
        }
        fTcpStream.WaitForEvent(blocked ? -1 : NagleWaitMs(), !CanReadByte(), blocked);
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

void TTcpConsoleThread::FillRx()
{
    ClearReadBuffer();
    if (!IsOpen()) return;
    int total = fTcpStream.Read(fRxBuffer.data(), kBufferSize);
    if (total > 0 && total < kBufferSize) {
        // Gather what follows within the quiet time into the same hand-over.
        fTcpStream.WaitForEvent(kQuietMs, true, false);
        int got = 1;
        while (total < kBufferSize && got >= 1 && !Terminated() && IsOpen()) {
            got = fTcpStream.Read(fRxBuffer.data() + total, kBufferSize - total);
            total += got;
        }
    }
    fRxBytesInBuffer = total;
}
