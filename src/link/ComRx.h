#pragma once
// The serial port component: opens a device, reads it on its own thread, writes with a time limit.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include "link/ComModemLines.h"
#include "link/ComRxOptions.h"
#include "platform/Events.h"
#include "platform/Text.h"

class TComRxThread;
struct TComRxThreadEvents;
struct TComPortState;

/// The device refused the settings, or the port name is empty.
class EComSetOptions : public std::runtime_error {
public:
    EComSetOptions();
};
/// Another program, or this one, holds the port.
class EComPortInUse : public std::runtime_error {
public:
    /// The fixed message and, on a second line, the device and the system's reason.
    explicit EComPortInUse(const std::string& detail);
};
/// No such port, or it cannot be opened.
class EComInvalidPort : public std::runtime_error {
public:
    /// The fixed message and, on a second line, the device and the system's reason.
    explicit EComInvalidPort(const std::string& detail);
};

class TComRx : public TObject {
public:
    /// A block of received bytes, in the main thread.
    using TComThreadDataBytesProc = std::function<void(TObject* Sender, const std::uint8_t* Data, unsigned DataCount)>;
    /// A device error, with the system's error number: a write that the device refused (the
    /// handler may set the result of SendData), or the failure that ended the reader.
    using TComThreadErrorProc = std::function<void(TObject* Sender, int LastError, bool& Result)>;
    /// One received byte.
    using TComThreadDataReadyProc = std::function<void(TObject* Sender, std::uint8_t Data)>;
    /// The status lines that changed since the reader last looked.
    using TComThreadModemEventProc = std::function<void(TObject* Sender, TComModemEvents Data)>;

    TComRx();
    ~TComRx() override;
    TComRx(const TComRx&) = delete;
    TComRx& operator=(const TComRx&) = delete;

    TComOptions& Options() { return fComOptions; }
    const UnicodeString& PortName() const { return fComPortName; }
    void SetPortName(const UnicodeString& name) { fComPortName = name; }

    /// Whether a reader thread runs; true opens the port (raising the three exceptions), false closes it.
    /// While the settings are being read it is only remembered.
    bool Active() const { return fLoading ? fActiveFlag : fComThread != nullptr; }
    void SetActive(bool value);
    /// Reading the component's settings begins: Active waits for Loaded.
    void Loading() { fLoading = true; }
    /// The settings are read: a port made Active meanwhile opens now.
    void Loaded();

    /// Starts writing Count bytes once the previous write has finished, waiting at most MaxTime ms
    /// for that; true when the device took the bytes or will take them in the background.
    bool SendData(const std::uint8_t* Data, unsigned MaxTime, unsigned Count);

    void SetDTR();
    void ClrDTR();
    void SetRTS();
    void ClrRTS();
    /// Keeps the modem lines as they are for ms milliseconds (the width of a pulse).
    void HoldLines(int ms);
    /// Empty when the port is closed or the device cannot tell.
    TComModemEvents GetModemStatus();
    /// Replaces the open device's own modem lines (tests record pulses with it); nullptr restores them.
    void SetModemLines(std::shared_ptr<TComModemLines> lines) { fModemLines = std::move(lines); }

    /// Whether the reader's data and error events run in the main thread, the reader waiting for
    /// each (true, the default), or in the reader thread itself, where a handler must not close
    /// the port. Like the events, it is handed to the reader when the port opens.
    bool SynchronizeCallbacks() const { return fSynchronizeCallbacks; }
    void SetSynchronizeCallbacks(bool value) { fSynchronizeCallbacks = value; }

    /// Each block received; then, when OnDataReady is set, each of its bytes in order.
    TComThreadDataBytesProc OnDataBlock;
    TComThreadDataReadyProc OnDataReady;
    /// RING, CTS, DSR and RLSD changes, as far as the device counts them; always in the reader
    /// thread, whose handler must not close the port.
    TComThreadModemEventProc OnModemEvent;
    /// A write that the device refused, in the thread that sent; or the failure that ends the
    /// device, where SynchronizeCallbacks says and before OnPortLost: its Result (AbortOnError)
    /// starts false, and the port closes whatever the handler makes of it.
    TComThreadErrorProc OnError;
    /// Fires in the main thread after the component closed a port whose device went away.
    TNotifyEvent OnPortLost;

private:
    void OpenPort();
    void ClosePort();
    bool ConfigurePort(int fd);
    void StartReader();
    TComModemLines* Lines();
    /// The handlers the reader runs: the events as they are now, in the main thread guarded
    /// against a closed port, or bare for the reader thread.
    TComRxThreadEvents ReaderEvents();
    /// Runs a hand-over of the current reader in the main thread; nothing for a reader that ended.
    void InHandOver(TComRxThread* thread, const std::function<void()>& fn);
    void ReaderLost(TComRxThread* thread);

    TComOptions fComOptions;
    UnicodeString fComPortName;
    std::shared_ptr<TComPortState> fPort;
    std::unique_ptr<TComRxThread> fComThread;
    std::shared_ptr<TComDeviceLines> fDeviceLines;
    std::shared_ptr<TComModemLines> fModemLines;
    /// True while the main thread runs one of the reader's hand-overs.
    bool fInHandOver = false;
    bool fSynchronizeCallbacks = true;
    bool fLoading = false;
    /// Active as set while loading.
    bool fActiveFlag = false;
};
