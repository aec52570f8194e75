#pragma once
// The thread of one TCP link: connects, announces it, sends the transmit buffer, receives into a
// ring that the main thread empties.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include "link/ByteRing.h"
#include "link/SocketStreamObject.h"
#include "platform/Thread.h"

class TTcpConsoleThread : public TThread {
public:
    /// Bytes are waiting in the receive ring; runs in the main thread, which takes them.
    using TTcpConsoleThreadDataReadyProc = std::function<void(TObject* Sender, unsigned DataCount)>;
    using TTcpConsoleThreadConnectedProc = std::function<void(TObject* Sender)>;
    static constexpr int kBufferSize = 2048;
    /// What the thread may read ahead of the main thread before it stops reading the socket.
    static constexpr std::size_t kReceiveRingSize = 256 * 1024;

    /// Created suspended; frees itself when it ends.
    TTcpConsoleThread(const AnsiString& HostAddress, const AnsiString& HostPort);
    ~TTcpConsoleThread() override;

    /// Main thread: the received bytes waiting, as far as they lie in one piece.
    std::span<const std::uint8_t> ReceivedBlock() const { return fRxRing.WaitingBlock(); }
    /// Main thread: the first n bytes of ReceivedBlock are taken.
    void ReleaseReceived(std::size_t n);
    /// Main thread: adds a byte when the transmit buffer has room.
    void WriteByte(std::uint8_t b);
    void ClearWriteBuffer();
    /// Main thread: what the buffer holds goes out now instead of after the quiet time.
    void SendNow();
    /// Main thread: waits until the transmit buffer has room; false when the deadline passed first
    /// or the thread has stopped sending for good.
    bool WaitCanWriteByte(std::chrono::steady_clock::time_point deadline);
    /// Main thread, a byte at a time: whether a received byte waits; the next one (0 when none);
    /// every waiting byte dropped; whether the transmit buffer has room.
    bool CanReadByte() const { return !ReceivedBlock().empty(); }
    std::uint8_t ReadByte();
    void ClearReadBuffer();
    bool CanWriteByte();

    TTcpConsoleThreadDataReadyProc OnDataReady;
    TTcpConsoleThreadConnectedProc OnConnected;

protected:
    void Execute() override;
    void TerminatedSet() override { fTcpStream.Abort(); }

private:
    bool IsOpen() const { return fTcpStream.Connected(); }
    void Serve();
    bool NagleExpired();
    /// Milliseconds until the quiet time ends, 0 when the buffer is due now, -1 when nothing waits.
    int NagleWaitMs();
    void FlushTx();
    void FillRx();
    /// Tells the main thread, once until it looks, that bytes are waiting.
    void AnnounceData();
    void DataReady();

    TTcpSocketStream fTcpStream;
    TByteRing fRxRing{kReceiveRingSize};
    /// A DataReady is queued and has not yet looked at the ring.
    std::atomic<bool> fDataAnnounced{false};
    /// Main thread: a DataReady runs, and one came while it ran (from a nested loop).
    bool fInDataReady = false;
    bool fDataReadyMissed = false;
    /// The ring was full: the main thread wakes the thread once it makes room.
    std::atomic<bool> fRxWaitsForRoom{false};

    std::mutex fTxLock;
    /// Notified when the transmit buffer gains room or the thread stops sending.
    std::condition_variable fTxRoom;
    std::array<std::uint8_t, kBufferSize> fTxBuffer{};
    int fTxBytesInBuffer = 0;
    /// Milliseconds of the last WriteByte; 0 when nothing waits for the quiet time.
    std::int64_t fTxNagleTime = 0;
    /// The last flush left bytes that the peer did not take.
    bool fTxBlocked = false;
    /// What a flush sends, copied out of fTxBuffer; the console thread's own.
    std::array<std::uint8_t, kBufferSize> fTxSendCopy{};
    /// ClearWriteBuffer ran while a flush was sending.
    bool fTxCleared = false;
    /// The loop has ended: nothing in the buffer will be sent any more.
    bool fTxStopped = false;
};
