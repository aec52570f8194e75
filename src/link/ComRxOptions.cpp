#include "link/ComRxOptions.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include "link/ComTermios.h"
#include "platform/SerialPort.h"

namespace {

constexpr std::array<std::uint32_t, 16> kBaudRates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400,
    19200, 38400, 57600, 115200, 128000, 230400, 256000, 460800};

template <typename T>
void Store(T& field, T value, TObject* sender, const TNotifyEvent& changed)
{
    if (field == value) return;
    field = value;
    Fire(changed, sender);
}

std::int32_t QueueSize(std::int32_t value)
{
    value = std::clamp(value, 256, 65536);
    return (value + 255) / 256 * 256;
}

}  // namespace

std::uint32_t ComBaudRateValue(TComBaudRate rate)
{
    return rate < kBaudRates.size() ? kBaudRates[rate] : 0;
}

void TComSoftwareFlow::SetRxFlow(bool value) { Store(fUseRxFlow, value, this, OnChanged); }
void TComSoftwareFlow::SetTxFlow(bool value) { Store(fUseTxFlow, value, this, OnChanged); }
void TComSoftwareFlow::SetXonChar(std::uint8_t value) { Store(fXonChar, value, this, OnChanged); }
void TComSoftwareFlow::SetXoffChar(std::uint8_t value) { Store(fXoffChar, value, this, OnChanged); }
void TComSoftwareFlow::SetTxAfterRxOff(bool value) { Store(fTxAfterRxOff, value, this, OnChanged); }

void TComHardwareFlow::SetTxUseCtsFlow(bool value) { Store(fTxUseCtsFlow, value, this, OnChanged); }
void TComHardwareFlow::SetTxUseDsrFlow(bool value) { Store(fTxUseDsrFlow, value, this, OnChanged); }
void TComHardwareFlow::SetTxDsrSensitivity(bool value) { Store(fTxDsrSensitivity, value, this, OnChanged); }
void TComHardwareFlow::SetTxDtrState(TComDtrState value) { Store(fTxDtrState, value, this, OnChanged); }
void TComHardwareFlow::SetRxRTSState(TComRtsState value) { Store(fRxRTSState, value, this, OnChanged); }

TComOptions::TComOptions()
    : fSoftwareFlow(std::make_unique<TComSoftwareFlow>()),
      fHardwareFlow(std::make_unique<TComHardwareFlow>())
{
    fSoftwareFlow->OnChanged = [this](TObject*) { CopyFlowToDcb(); };
    fHardwareFlow->OnChanged = [this](TObject*) { CopyHardwareFlowToDcb(); };
}

TComBaudRate TComOptions::BaudRate() const
{
    auto found = std::find(kBaudRates.begin(), kBaudRates.end(), fDCB.BaudRate);
    return found == kBaudRates.end() ? Com_br1200 : TComBaudRate(found - kBaudRates.begin());
}

void TComOptions::SetBaudRate(TComBaudRate value)
{
    if (value < kBaudRates.size()) fDCB.BaudRate = kBaudRates[value];
}

TComParity TComOptions::Parity() const
{
    if (!Flag(ComDcbFlag::Parity)) return Com_pNone;
    switch (fDCB.Parity) {
    case 1: return Com_pOdd;
    case 2: return Com_pEven;
    case 3: return Com_pMark;
    default: return Com_pNone;
    }
}

void TComOptions::SetParity(TComParity value)
{
    static constexpr std::uint8_t parityByte[] = {0, 2, 1, 3};
    if (value > Com_pMark) return;
    SetFlag(ComDcbFlag::Parity, value != Com_pNone);
    fDCB.Parity = parityByte[value];
}

TComDataBits TComOptions::DataBits() const
{
    switch (fDCB.ByteSize) {
    case 5: return Com_dbFive;
    case 7: return Com_dbSeven;
    default: return Com_dbEight;
    }
}

void TComOptions::SetDataBits(TComDataBits value)
{
    static constexpr std::uint8_t byteSize[] = {5, 7, 8};
    if (value <= Com_dbEight) fDCB.ByteSize = byteSize[value];
}

TComStopBits TComOptions::StopBits() const
{
    return fDCB.StopBits <= 2 ? TComStopBits(fDCB.StopBits) : Com_sbOne;
}

void TComOptions::SetStopBits(TComStopBits value)
{
    if (value <= Com_sbTwo) fDCB.StopBits = value;
}

TComSoftwareFlow& TComOptions::SoftwareFlow()
{
    TComSoftwareFlow& flow = *fSoftwareFlow;
    flow.fUseRxFlow = Flag(ComDcbFlag::InX);
    flow.fUseTxFlow = Flag(ComDcbFlag::OutX);
    flow.fTxAfterRxOff = Flag(ComDcbFlag::TxContinueOnXoff);
    flow.fXonChar = fDCB.XonChar;
    flow.fXoffChar = fDCB.XoffChar;
    return flow;
}

TComHardwareFlow& TComOptions::HardwareFlow()
{
    TComHardwareFlow& flow = *fHardwareFlow;
    flow.fTxUseCtsFlow = Flag(ComDcbFlag::OutxCtsFlow);
    flow.fTxUseDsrFlow = Flag(ComDcbFlag::OutxDsrFlow);
    flow.fTxDsrSensitivity = Flag(ComDcbFlag::DsrSensitivity);
    flow.fRxRTSState = TComRtsState((fDCB.Flags & ComDcbFlag::RtsControl) >> 12);
    return flow;
}

void TComOptions::SetInQueueSize(std::int32_t value) { fInQueueSize = QueueSize(value); }
void TComOptions::SetOutQueueSize(std::int32_t value) { fOutQueueSize = QueueSize(value); }

void TComOptions::SetFlag(std::uint32_t flag, bool on)
{
    if (on)
        fDCB.Flags |= flag;
    else
        fDCB.Flags &= ~flag;
}

void TComOptions::CopyFlowToDcb()
{
    const TComSoftwareFlow& flow = *fSoftwareFlow;
    SetFlag(ComDcbFlag::InX, flow.fUseRxFlow);
    SetFlag(ComDcbFlag::OutX, flow.fUseTxFlow);
    SetFlag(ComDcbFlag::TxContinueOnXoff, flow.fTxAfterRxOff);
    fDCB.XonChar = flow.fXonChar;
    fDCB.XoffChar = flow.fXoffChar;
}

void TComOptions::CopyHardwareFlowToDcb()
{
    const TComHardwareFlow& flow = *fHardwareFlow;
    SetFlag(ComDcbFlag::OutxCtsFlow, flow.fTxUseCtsFlow);
    SetFlag(ComDcbFlag::OutxDsrFlow, flow.fTxUseDsrFlow);
    SetFlag(ComDcbFlag::DsrSensitivity, flow.fTxDsrSensitivity);
    fDCB.Flags = (fDCB.Flags & ~ComDcbFlag::DtrControl) | std::uint32_t(flow.fTxDtrState) << 4;
    fDCB.Flags = (fDCB.Flags & ~ComDcbFlag::RtsControl) | std::uint32_t(flow.fRxRTSState) << 12;
}

void TComOptions::Assign(const TObject* Source)
{
    auto* other = dynamic_cast<const TComOptions*>(Source);
    if (!other) return;
    fDCB = other->fDCB;
    fHardwareFlow->fTxDtrState = other->fHardwareFlow->fTxDtrState;
    fHardwareFlow->fRxRTSState = other->fHardwareFlow->fRxRTSState;
}

void TComOptions::ApplyComSettings(TComDcb& dcb) const
{
    dcb.BaudRate = fDCB.BaudRate;
    dcb.Flags = fDCB.Flags | ComDcbFlag::Binary;
    dcb.XonLim = fDCB.XonLim;
    dcb.XoffLim = fDCB.XoffLim;
    dcb.ByteSize = fDCB.ByteSize;
    dcb.Parity = fDCB.Parity;
    dcb.StopBits = fDCB.StopBits;
    dcb.XonChar = fDCB.XonChar;
    dcb.XoffChar = fDCB.XoffChar;
    dcb.ErrorChar = fDCB.ErrorChar;
    dcb.EofChar = fDCB.EofChar;
    dcb.EvtChar = fDCB.EvtChar;
}

bool TComOptions::GetComSettings(int Fd, TComDcb& dcb) const
{
    termios t{};
    if (tcgetattr(Fd, &t) != 0) return false;
    ApplyComSettings(dcb);
    return true;
}

bool TComOptions::SetDefaultComOptions(const UnicodeString& PortName) const
{
    // A device path opens as it is (by-path names hold ':'); other names keep their last part.
    const std::size_t cut = PortName.starts_with(u'/') ? UnicodeString::npos : PortName.find_last_of(u"\\:");
    const UnicodeString name = cut == UnicodeString::npos ? PortName : PortName.substr(cut + 1);
    if (name.empty()) return false;
    const int fd = open(SerialDevicePath(name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    TComDcb dcb;
    ApplyComSettings(dcb);
    const bool done = ApplyComLineSettings(fd, dcb);
    close(fd);
    return done;
}
