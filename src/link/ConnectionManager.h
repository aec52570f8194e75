#pragma once
// The one link to the target, serial or TCP: open, close, send with a time limit, pulse the reset lines.
#include <cstdint>
#include <functional>
#include "link/ComRx.h"
#include "link/ComRxOptions.h"
#include "platform/Events.h"
#include "platform/Text.h"

class TTcpConsoleThread;

enum TConnectionManType : std::uint8_t { cmp_None, cmp_RS232, cmp_TcpClient };

class TConnectionMod : public TObject {
public:
    /// One received byte, always in the main thread.
    using TConnectionManRxProc = std::function<void(TObject* Sender, std::uint8_t Data)>;
    using TConnectionManConnectedProc = std::function<void(TObject* Sender)>;

    TConnectionMod();
    ~TConnectionMod() override;
    TConnectionMod(const TConnectionMod&) = delete;
    TConnectionMod& operator=(const TConnectionMod&) = delete;

    bool IsActive() const;
    /// Serial: as soon as open; TCP: once the connection is made.
    bool IsConnected() const;
    TConnectionManType PortType() const;

    /// Closes any link and opens a serial port; raises the serial port's exceptions.
    void OpenComPort(const UnicodeString& PortName, const TComOptions& Options);
    /// Closes any link and starts connecting; OnConnected fires once connected, OnClosed when it fails.
    void OpenTcpPort(const UnicodeString& HostAddress, const UnicodeString& HostPort);
    /// Closes whichever link is open; fires no event.
    void ClosePort();

    /// Sends with a limit of MaxTxSec seconds (at most 100); false when the byte was not taken.
    bool TxByte(std::uint8_t Data, int MaxTxSec);
    bool TxBytes(const std::uint8_t* Data, int Count, int MaxTxSec);
    /// What waits in a TCP link's buffer goes out now, without waiting for the quiet time that
    /// gathers typed bytes; a serial write goes out at once anyway.
    void TxFlush();

    bool ComCanPulseDTR();
    bool ComCanPulseRTS();
    /// Pulses the line to reset the target chip; blocks for 200 ms, or 300 ms when the line rests on.
    void ComPulseDTR();
    void ComPulseRTS();

    const UnicodeString& ConnectionName() const { return fConnectionName; }
    const UnicodeString& TerminalHostAddress() const { return fTerminalHostAddress; }
    const UnicodeString& TerminalHostPort() const { return fTerminalHostPort; }

    TComRx ComRx1;
    TConnectionManRxProc OnRxByte;
    TConnectionManConnectedProc OnConnected;
    /// A link ended by itself (TCP dropped or refused, serial device gone).
    TNotifyEvent OnClosed;

private:
    /// Hands one received byte to OnRxByte; an exception of the handler is shown, not passed on.
    void DeliverByte(std::uint8_t byte);
    void ComRx1DataBlock(const std::uint8_t* Data, unsigned Count);
    void ComRx1PortLost();
    void TcpConnected(TObject* Sender);
    void TcpDataReady(TObject* Sender, unsigned DataCount);
    void TcpThreadTerminated(TObject* Sender);

    UnicodeString fConnectionName;
    UnicodeString fTerminalHostAddress = u"127.0.0.1";
    UnicodeString fTerminalHostPort = u"23";
    bool fTcpConsoleConnected = false;
    TTcpConsoleThread* fTcpConsoleThread = nullptr;
    /// Changes at every close, so that a delivery loop stops once its link has closed.
    unsigned fLinkGeneration = 0;
};
