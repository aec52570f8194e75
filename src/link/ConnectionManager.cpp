#include "link/ConnectionManager.h"

#include <algorithm>
#include <chrono>
#include <span>
#include "link/TcpConsoleThread.h"
#include "platform/ExceptionGuard.h"

namespace {
constexpr int kMaxByteTimeMs = 100000;
}

TConnectionMod::TConnectionMod()
{
    ComRx1.SetPortName(u"COM4");
    TComOptions& options = ComRx1.Options();
    options.SetBaudRate(Com_br115200);
    options.SetParity(Com_pNone);
    options.SetDataBits(Com_dbEight);
    options.SetStopBits(Com_sbOne);
    options.SetInQueueSize(2048);
    options.SetOutQueueSize(1024);
    ComRx1.OnDataBlock = [this](TObject*, const std::uint8_t* data, unsigned count) {
        ComRx1DataBlock(data, count);
    };
    ComRx1.OnPortLost = [this](TObject*) { ComRx1PortLost(); };
}

TConnectionMod::~TConnectionMod()
{
    OnRxByte = nullptr;
    OnConnected = nullptr;
    ClosePort();
}

bool TConnectionMod::IsActive() const
{
    return ComRx1.Active() || fTcpConsoleThread != nullptr;
}

bool TConnectionMod::IsConnected() const
{
    return ComRx1.Active() || (fTcpConsoleThread != nullptr && fTcpConsoleConnected);
}

TConnectionManType TConnectionMod::PortType() const
{
    if (!IsActive()) return cmp_None;
    return ComRx1.Active() ? cmp_RS232 : cmp_TcpClient;
}

void TConnectionMod::OpenComPort(const UnicodeString& PortName, const TComOptions& Options)
{
    ClosePort();
    // A device path opens as it is (by-path names hold ':'); other names keep their last part.
    const std::size_t cut = PortName.starts_with(u'/') ? UnicodeString::npos : PortName.find_last_of(u"\\:");
    const UnicodeString bareName = cut == UnicodeString::npos ? PortName : PortName.substr(cut + 1);
    ComRx1.SetPortName(bareName);
    ComRx1.Options().Assign(&Options);
    ComRx1.SetActive(true);
    fConnectionName = bareName;
    Fire(OnConnected, this);
}

void TConnectionMod::OpenTcpPort(const UnicodeString& HostAddress, const UnicodeString& HostPort)
{
    ClosePort();
    fTerminalHostAddress = HostAddress;
    fTerminalHostPort = HostPort;
    auto* thread = new TTcpConsoleThread(ToAnsi(HostAddress), ToAnsi(HostPort));
    thread->OnDataReady = [this](TObject* sender, unsigned count) { TcpDataReady(sender, count); };
    thread->OnConnected = [this](TObject* sender) { TcpConnected(sender); };
    thread->OnTerminate = [this](TObject* sender) { TcpThreadTerminated(sender); };
    fTcpConsoleThread = thread;
    thread->Start();
    fConnectionName = u"Connecting To " + HostAddress + u":" + HostPort;
}

void TConnectionMod::ClosePort()
{
    if (!IsActive()) return;
    ++fLinkGeneration;
    fConnectionName.clear();
    if (ComRx1.Active()) ComRx1.SetActive(false);
    if (TTcpConsoleThread* thread = fTcpConsoleThread) {
        thread->OnDataReady = nullptr;
        thread->OnConnected = nullptr;
        thread->OnTerminate = nullptr;
        // It frees itself once it has ended; waiting here could wait for our own hand-over.
        thread->Terminate();
        fTcpConsoleConnected = false;
        fTcpConsoleThread = nullptr;
    }
}

void TConnectionMod::TcpConnected(TObject* Sender)
{
    if (Sender != fTcpConsoleThread) return;
    fTcpConsoleConnected = true;
    fConnectionName = u"TCP " + fTerminalHostAddress + u":" + fTerminalHostPort;
    Fire(OnConnected, this);
}

void TConnectionMod::TcpDataReady(TObject* Sender, unsigned DataCount)
{
    TTcpConsoleThread* thread = fTcpConsoleThread;
    if (Sender != thread) return;
    // Only what was announced: bytes that arrive meanwhile are announced again, so that other
    // work of the main thread gets its turn in between.
    const unsigned generation = fLinkGeneration;
    std::size_t left = DataCount;
    while (left > 0) {
        const std::span<const std::uint8_t> block = thread->ReceivedBlock();
        const std::size_t count = std::min(block.size(), left);
        if (count == 0) return;
        std::size_t done = 0;
        while (done < count && generation == fLinkGeneration) DeliverByte(block[done++]);
        // A handler closed the link: the rest is dropped, and the thread may be gone already.
        if (generation != fLinkGeneration) return;
        thread->ReleaseReceived(done);
        left -= done;
    }
}

void TConnectionMod::TcpThreadTerminated(TObject* Sender)
{
    if (Sender != fTcpConsoleThread) return;
    ++fLinkGeneration;
    fTcpConsoleConnected = false;
    fTcpConsoleThread = nullptr;
    fConnectionName.clear();
    Fire(OnClosed, Sender);
}

void TConnectionMod::ComRx1DataBlock(const std::uint8_t* Data, unsigned Count)
{
    if (!Data) return;
    const unsigned generation = fLinkGeneration;
    for (unsigned i = 0; i < Count && generation == fLinkGeneration; ++i) DeliverByte(Data[i]);
}

void TConnectionMod::DeliverByte(std::uint8_t byte)
{
    // A handler's exception ends the handling of that byte only: it is shown here in the main
    // thread instead of travelling back into the link thread and ending the link's reader.
    try {
        Fire(OnRxByte, this, byte);
    } catch (...) {
        ShowCurrentException();
    }
}

void TConnectionMod::ComRx1PortLost()
{
    ++fLinkGeneration;
    fConnectionName.clear();
    Fire(OnClosed, &ComRx1);
}

bool TConnectionMod::TxByte(std::uint8_t Data, int MaxTxSec)
{
    const int limitMs = std::clamp(MaxTxSec, 0, kMaxByteTimeMs / 1000) * 1000;
    if (ComRx1.Active()) return ComRx1.SendData(&Data, unsigned(limitMs), 1);
    TTcpConsoleThread* thread = fTcpConsoleThread;
    if (!thread || !fTcpConsoleConnected) return false;
    // The thread empties the buffer on its own, whatever the main thread does meanwhile.
    if (!thread->WaitCanWriteByte(std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs)))
        return false;
    thread->WriteByte(Data);
    return true;
}

bool TConnectionMod::TxBytes(const std::uint8_t* Data, int Count, int MaxTxSec)
{
    if (ComRx1.Active())
        return ComRx1.SendData(Data, unsigned(std::max(MaxTxSec, 0)) * 1000u, unsigned(std::max(Count, 0)));
    for (int i = 0; i < Count; ++i)
        if (!TxByte(Data[i], MaxTxSec)) return false;
    return true;
}

void TConnectionMod::TxFlush()
{
    if (fTcpConsoleThread && fTcpConsoleConnected) fTcpConsoleThread->SendNow();
}

bool TConnectionMod::ComCanPulseDTR()
{
    return ComRx1.Active() && ComRx1.Options().HardwareFlow().TxDtrState() != Com_dtrHandshake;
}

bool TConnectionMod::ComCanPulseRTS()
{
    return ComRx1.Active() && ComRx1.Options().HardwareFlow().RxRTSState() != Com_rtsHandshake;
}

void TConnectionMod::ComPulseDTR()
{
    if (!ComCanPulseDTR()) return;
    ComRx1.SetDTR();
    ComRx1.HoldLines(200);
    ComRx1.ClrDTR();
    if (ComRx1.Options().HardwareFlow().TxDtrState() == Com_dtrEnabled) {
        ComRx1.HoldLines(100);
        ComRx1.SetDTR();
    }
}

void TConnectionMod::ComPulseRTS()
{
    if (!ComCanPulseRTS()) return;
    ComRx1.SetRTS();
    ComRx1.HoldLines(200);
    ComRx1.ClrRTS();
    if (ComRx1.Options().HardwareFlow().RxRTSState() == Com_rtsEnabled) {
        ComRx1.HoldLines(100);
        ComRx1.SetRTS();
    }
}
