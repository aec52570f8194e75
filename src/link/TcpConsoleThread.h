#pragma once
// The thread of one TCP link: connects, announces it, sends the transmit buffer, fills the receive buffer.
#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include "link/SocketStreamObject.h"
#include "platform/Thread.h"

class TTcpConsoleThread : public TThread {
public:
    /// Bytes are waiting in the receive buffer; runs in the main thread, which drains them.
    using TTcpConsoleThreadDataReadyProc = std::function<void(TObject* Sender, unsigned DataCount)>;
    using TTcpConsoleThreadConnectedProc = std::function<void(TObject* Sender)>;
    static constexpr int kBufferSize = 2048;

    /// Created suspended; frees itself when it ends.
    TTcpConsoleThread(const AnsiString& HostAddress, const AnsiString& HostPort);
    ~TTcpConsoleThread() override;

    /// Main thread, inside OnDataReady.
    bool CanReadByte() const { return fRxBufferReadIdx < fRxBytesInBuffer; }
    std::uint8_t ReadByte();
    void ClearReadBuffer();
    /// Main thread: room in the transmit buffer, and adding to it.
    bool CanWriteByte();
    void WriteByte(std::uint8_t b);
    void ClearWriteBuffer();

    TTcpConsoleThreadDataReadyProc OnDataReady;
    TTcpConsoleThreadConnectedProc OnConnected;

protected:
    void Execute() override;
    void TerminatedSet() override { fTcpStream.Abort(); }

private:
    bool IsOpen() const { return fTcpStream.Connected(); }
    bool NagleExpired();
    /// Milliseconds until the quiet time ends, 0 when the buffer is due now, -1 when nothing waits.
    int NagleWaitMs();
    void FlushTx();
    void FillRx();

    TTcpSocketStream fTcpStream;
    std::array<std::uint8_t, kBufferSize> fRxBuffer{};
    int fRxBytesInBuffer = 0;
    int fRxBufferReadIdx = 0;
    std::mutex fTxLock;
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
};
