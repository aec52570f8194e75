#include "link/ComRx.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include "link/ComRxThread.h"
#include "link/ComTermios.h"
#include "platform/MainLoop.h"
#include "platform/ScopedFlag.h"
#include "platform/SerialPort.h"
#include "platform/WakeUp.h"

EComSetOptions::EComSetOptions()
    : std::runtime_error("Unable to configure selected comunications port with the specified options!")
{
}

EComPortInUse::EComPortInUse(const std::string& detail)
    : std::runtime_error(
          "The request could not be completed because the specified comunications port in currently in use!\n" + detail)
{
}

EComInvalidPort::EComInvalidPort(const std::string& detail)
    : std::runtime_error(
          "The request could not be completed because the specified comunications port could not be accessed!\n" +
          detail)
{
}

TComRx::TComRx() = default;

TComRx::~TComRx()
{
    ClosePort();
}

void TComRx::SetActive(bool value)
{
    if (value == Active()) return;
    if (fLoading) {
        fActiveFlag = value;
        return;
    }
    if (value)
        OpenPort();
    else
        ClosePort();
}

void TComRx::Loaded()
{
    fLoading = false;
    if (!fActiveFlag) return;
    fActiveFlag = false;
    SetActive(true);
}

void TComRx::OpenPort()
{
    ClosePort();
    if (fComPortName.empty()) throw EComSetOptions();
    // On Linux a missing device and a refused one need different fixes: the message says which.
    const std::string path = SerialDevicePath(fComPortName);
    int fd = -1;
    int error = 0;
    switch (OpenSerialDevice(path, fd, error)) {
    case SerialOpenResult::Opened: break;
    case SerialOpenResult::InUse: throw EComPortInUse(SerialOpenFailureText(path, error));
    default: throw EComInvalidPort(SerialOpenFailureText(path, error));
    }
    fDeviceLines = std::make_shared<TComDeviceLines>(fd);
    if (!ConfigurePort(fd)) {
        fDeviceLines.reset();
        CloseSerialDevice(fd);
        throw EComSetOptions();
    }
    fPort = std::make_shared<TComPortState>();
    fPort->Fd = fd;
    StartReader();
}

bool TComRx::ConfigurePort(int fd)
{
    TComDcb dcb;
    fComOptions.ApplyComSettings(dcb);
    // Options never set hold a zero rate and character size: open with the 1200 baud and 8 bits
    // that they read as and that the settings dialog shows, not with a line that cannot exist.
    if (dcb.BaudRate == 0) dcb.BaudRate = ComBaudRateValue(fComOptions.BaudRate());
    if (dcb.ByteSize == 0) dcb.ByteSize = 8;
    if (!ApplyComLineSettings(fd, dcb)) return false;
    // A pseudo-terminal has no modem lines; its refusal is not a failure of the open.
    TComModemLines* lines = fModemLines ? fModemLines.get() : fDeviceLines.get();
    switch (fComOptions.HardwareFlow().TxDtrState()) {
    case Com_dtrEnabled: lines->SetDTR(true); break;
    case Com_dtrDisabled: lines->SetDTR(false); break;
    default: break;
    }
    switch (fComOptions.HardwareFlow().RxRTSState()) {
    case Com_rtsEnabled: lines->SetRTS(true); break;
    case Com_rtsDisabled: lines->SetRTS(false); break;
    default: break;
    }
    return true;
}

void TComRx::StartReader()
{
    std::shared_ptr<TComModemLines> lines = fModemLines;
    if (!lines) lines = fDeviceLines;
    fComThread = std::make_unique<TComRxThread>(fPort, std::move(lines), ReaderEvents(), fSynchronizeCallbacks);
    fComThread->Start();
}

TComRxThreadEvents TComRx::ReaderEvents()
{
    TComRxThreadEvents events;
    events.Lost = [this](TComRxThread* t) { ReaderLost(t); };
    TComThreadDataBytesProc block = OnDataBlock;
    TComThreadDataReadyProc ready = OnDataReady;
    TComThreadModemEventProc modem = OnModemEvent;
    TComThreadErrorProc error = OnError;
    if (modem) events.ModemEvent = [this, modem](TComRxThread*, TComModemEvents e) { modem(this, e); };
    if (!fSynchronizeCallbacks) {
        if (block) events.DataBlock = [this, block](TComRxThread*, const std::uint8_t* d, unsigned n) { block(this, d, n); };
        if (ready) events.DataReady = [this, ready](TComRxThread*, std::uint8_t b) { ready(this, b); };
        if (error) events.Error = [this, error](TComRxThread*, int e, bool& abort) { error(this, e, abort); };
        return events;
    }
    if (block)
        events.DataBlock = [this, block](TComRxThread* t, const std::uint8_t* d, unsigned n) {
            InHandOver(t, [&] { block(this, d, n); });
        };
    if (ready)
        events.DataReady = [this, ready](TComRxThread* t, std::uint8_t b) { InHandOver(t, [&] { ready(this, b); }); };
    if (error)
        events.Error = [this, error](TComRxThread* t, int e, bool& abort) {
            InHandOver(t, [&] { error(this, e, abort); });
        };
    return events;
}

void TComRx::ClosePort()
{
    if (fComThread) {
        fComThread->Terminate();
        if (fInHandOver) {
            // The reader waits for this very hand-over, so it cannot be joined here; once
            // terminated it ends as soon as the hand-over returns, and is joined after that.
            std::shared_ptr<TComRxThread> ending(fComThread.release());
            MainLoop::Current().Post([ending]() mutable { ending.reset(); });
        } else {
            fComThread.reset();
        }
    }
    if (fPort) {
        std::lock_guard<std::mutex> l(fPort->Lock);
        CloseSerialDevice(fPort->Fd);
        fPort->Fd = -1;
        fPort->PendingTx.clear();
        fPort->Written.notify_all();
    }
    fPort.reset();
    fDeviceLines.reset();
}

void TComRx::InHandOver(TComRxThread* thread, const std::function<void()>& fn)
{
    if (thread != fComThread.get() || thread->Terminated()) return;
    ScopedFlag handOver(fInHandOver);
    fn();
}

void TComRx::ReaderLost(TComRxThread* thread)
{
    if (thread != fComThread.get() || thread->Terminated()) return;
    {
        ScopedFlag handOver(fInHandOver);
        ClosePort();
    }
    Fire(OnPortLost, this);
}

bool TComRx::SendData(const std::uint8_t* Data, unsigned MaxTime, unsigned Count)
{
    if (!fComThread || !fPort) return false;
    TComPortState& port = *fPort;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(MaxTime);
    std::unique_lock<std::mutex> l(port.Lock);
    bool ok = port.FlushPendingLocked();
    while (ok && !port.PendingTx.empty()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        // The reader also writes the rest in the background; whichever is first empties it.
        l.unlock();
        WaitForFd(port.Fd, POLLOUT, nullptr, int(left.count()));
        l.lock();
        if (port.Fd < 0) return false;
        ok = port.FlushPendingLocked();
    }
    if (ok && Count > 0) {
        port.PendingTx.assign(Data, Data + Count);
        ok = port.FlushPendingLocked();
        if (ok && !port.PendingTx.empty()) fComThread->Wake();
    }
    if (ok) return true;
    const int error = errno;
    port.PendingTx.clear();
    l.unlock();
    bool result = false;
    Fire(OnError, this, error, result);
    return result;
}

TComModemLines* TComRx::Lines()
{
    if (!fPort) return nullptr;
    return fModemLines ? fModemLines.get() : fDeviceLines.get();
}

void TComRx::SetDTR() { if (auto* lines = Lines()) lines->SetDTR(true); }
void TComRx::ClrDTR() { if (auto* lines = Lines()) lines->SetDTR(false); }
void TComRx::SetRTS() { if (auto* lines = Lines()) lines->SetRTS(true); }
void TComRx::ClrRTS() { if (auto* lines = Lines()) lines->SetRTS(false); }

void TComRx::HoldLines(int ms)
{
    if (auto* lines = Lines()) lines->Hold(ms);
}

TComModemEvents TComRx::GetModemStatus()
{
    TComModemEvents events;
    auto* lines = Lines();
    auto status = lines ? lines->Status() : std::nullopt;
    if (!status) return events;
    if (*status & TIOCM_RNG) events.Include(cme_RING);
    if (*status & TIOCM_CTS) events.Include(cme_CTS);
    if (*status & TIOCM_DSR) events.Include(cme_DSR);
    if (*status & TIOCM_CAR) events.Include(cme_RLSD);
    return events;
}
