#pragma once
// A byte stream over one IPv4 TCP socket, with time-outs in seconds that Abort cuts short.
#include <atomic>
#include <cstdint>
#include "platform/Text.h"
#include "platform/WakeUp.h"

class TTcpSocketStream {
public:
    TTcpSocketStream() = default;
    ~TTcpSocketStream();
    TTcpSocketStream(const TTcpSocketStream&) = delete;
    TTcpSocketStream& operator=(const TTcpSocketStream&) = delete;

    const AnsiString& HostAddress() const { return fServerAddress; }
    /// A new host or port is resolved again at the next open.
    void SetHostAddress(const AnsiString& host);
    const AnsiString& HostPort() const { return fServerPort; }
    void SetHostPort(const AnsiString& port);
    bool Resolved() const { return fAddressResolved; }

    bool Connected() const { return fConnectionIsActive; }
    /// True connects (resolving first) unless open; false closes.
    void SetConnected(bool value);

    int TxTimeOut = 30;
    int RxTimeOut = 30;
    int ConnectTimeOut = 30;
    /// Read waits for the full count instead of returning what the first receive brought.
    bool FullBlockReads = false;
    /// A read or write error closes the socket.
    bool DisconnectOnError = true;

    /// Bytes received, waiting up to RxTimeOut seconds for them; 0 when none came.
    int Read(void* Buffer, int Count);
    /// Bytes sent, waiting up to TxTimeOut seconds for room; fewer than Count when time ran out.
    int Write(const void* Buffer, int Count);
    /// Makes every pending and later wait give up until the next open. Callable from any thread.
    void Abort();

    /// Ends a pending WaitForEvent without aborting. Callable from any thread.
    void Interrupt() { fWake.Signal(); }
    /// Waits until the socket has data to read (when `readable`), room to write (when `writable`),
    /// an error (when waiting for either), an Interrupt or Abort, or timeoutMs passes (negative: no
    /// limit).
    void WaitForEvent(int timeoutMs, bool readable, bool writable);

private:
    bool Resolve();
    bool ConnectSocket();
    void Close();
    enum class Ready { Yes, No, Error };
    Ready WaitFor(short events, int timeOutSeconds);

    int fSocket = -1;
    std::atomic<bool> fConnectionIsActive{false};
    AnsiString fServerAddress = "127.0.0.1";
    AnsiString fServerPort = "1023";
    std::uint32_t fAddress = 0;
    int fPort = 0;
    bool fAddressResolved = false;
    std::atomic<bool> fAbortFlag{false};
    WakeUp fWake;
};
