#pragma once
// Serial port settings kept as a device control block, with typed views on it.
#include <cstdint>
#include <functional>
#include <memory>
#include "platform/Events.h"
#include "platform/Text.h"

enum TComBaudRate : std::uint8_t {
    Com_br110, Com_br300, Com_br600, Com_br1200, Com_br2400, Com_br4800, Com_br9600, Com_br14400,
    Com_br19200, Com_br38400, Com_br57600, Com_br115200, Com_br128000, Com_br230400, Com_br256000,
    Com_br460800
};
enum TComParity : std::uint8_t { Com_pNone, Com_pEven, Com_pOdd, Com_pMark };
enum TComDataBits : std::uint8_t { Com_dbFive, Com_dbSeven, Com_dbEight };
enum TComStopBits : std::uint8_t { Com_sbOne, Com_sbOneAndHalf, Com_sbTwo };
enum TComDtrState : std::uint8_t { Com_dtrDisabled, Com_dtrEnabled, Com_dtrHandshake };
enum TComRtsState : std::uint8_t { Com_rtsDisabled, Com_rtsEnabled, Com_rtsHandshake, Com_rtsToggle };

/// Bits per second of each TComBaudRate.
std::uint32_t ComBaudRateValue(TComBaudRate rate);

/// The device control block: the line settings in the layout that stored settings rely on.
struct TComDcb {
    std::uint32_t DCBlength = 28;
    std::uint32_t BaudRate = 0;
    std::uint32_t Flags = 0;
    std::uint16_t wReserved = 0;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 0;
    std::uint8_t Parity = 0;
    std::uint8_t StopBits = 0;
    std::uint8_t XonChar = 0;
    std::uint8_t XoffChar = 0;
    std::uint8_t ErrorChar = 0;
    std::uint8_t EofChar = 0;
    std::uint8_t EvtChar = 0;
    std::uint16_t wReserved1 = 0;
    friend bool operator==(const TComDcb&, const TComDcb&) = default;
};
static_assert(sizeof(TComDcb) == 28);

/// Bits of TComDcb::Flags.
namespace ComDcbFlag {
constexpr std::uint32_t Binary = 0x1;
constexpr std::uint32_t Parity = 0x2;
constexpr std::uint32_t OutxCtsFlow = 0x4;
constexpr std::uint32_t OutxDsrFlow = 0x8;
constexpr std::uint32_t DtrControl = 0x30;
constexpr std::uint32_t DsrSensitivity = 0x40;
constexpr std::uint32_t TxContinueOnXoff = 0x80;
constexpr std::uint32_t OutX = 0x100;
constexpr std::uint32_t InX = 0x200;
constexpr std::uint32_t ErrorChar = 0x400;
constexpr std::uint32_t Null = 0x800;
constexpr std::uint32_t RtsControl = 0x3000;
constexpr std::uint32_t AbortOnError = 0x4000;
}  // namespace ComDcbFlag

/// XON/XOFF flow control; a view of the owning options' control block.
class TComSoftwareFlow : public TObject {
public:
    bool RxFlow() const { return fUseRxFlow; }
    void SetRxFlow(bool value);
    bool TxFlow() const { return fUseTxFlow; }
    void SetTxFlow(bool value);
    std::uint8_t XonChar() const { return fXonChar; }
    void SetXonChar(std::uint8_t value);
    std::uint8_t XoffChar() const { return fXoffChar; }
    void SetXoffChar(std::uint8_t value);
    bool TxAfterRxOff() const { return fTxAfterRxOff; }
    void SetTxAfterRxOff(bool value);
    TNotifyEvent OnChanged;

private:
    friend class TComOptions;
    void Changed();
    bool fUseRxFlow = false;
    bool fUseTxFlow = false;
    std::uint8_t fXonChar = 19;
    std::uint8_t fXoffChar = 17;
    bool fTxAfterRxOff = true;
};

/// CTS, DSR, DTR and RTS flow control; a view of the owning options' control block.
class TComHardwareFlow : public TObject {
public:
    bool TxUseCtsFlow() const { return fTxUseCtsFlow; }
    void SetTxUseCtsFlow(bool value);
    bool TxUseDsrFlow() const { return fTxUseDsrFlow; }
    void SetTxUseDsrFlow(bool value);
    bool TxDsrSensitivity() const { return fTxDsrSensitivity; }
    void SetTxDsrSensitivity(bool value);
    TComDtrState TxDtrState() const { return fTxDtrState; }
    void SetTxDtrState(TComDtrState value);
    TComRtsState RxRTSState() const { return fRxRTSState; }
    void SetRxRTSState(TComRtsState value);
    TNotifyEvent OnChanged;

private:
    friend class TComOptions;
    void Changed();
    bool fTxUseCtsFlow = false;
    bool fTxUseDsrFlow = false;
    bool fTxDsrSensitivity = false;
    TComDtrState fTxDtrState = Com_dtrDisabled;
    TComRtsState fRxRTSState = Com_rtsDisabled;
};

/// Every setting of a serial port: the control block is the only truth, the rest are views.
class TComOptions : public TObject {
public:
    TComOptions();
    TComOptions(const TComOptions&) = delete;
    TComOptions& operator=(const TComOptions&) = delete;

    TComBaudRate BaudRate() const;
    void SetBaudRate(TComBaudRate value);
    TComParity Parity() const;
    void SetParity(TComParity value);
    TComDataBits DataBits() const;
    void SetDataBits(TComDataBits value);
    TComStopBits StopBits() const;
    void SetStopBits(TComStopBits value);
    /// Refreshed from the control block on every call.
    TComSoftwareFlow& SoftwareFlow();
    TComHardwareFlow& HardwareFlow();
    bool PassNulls() const { return Flag(ComDcbFlag::Null); }
    void SetPassNulls(bool value) { SetFlag(ComDcbFlag::Null, value); }
    bool ReplaceOnError() const { return Flag(ComDcbFlag::ErrorChar); }
    void SetReplaceOnError(bool value) { SetFlag(ComDcbFlag::ErrorChar, value); }
    bool AbortOnError() const { return Flag(ComDcbFlag::AbortOnError); }
    void SetAbortOnError(bool value) { SetFlag(ComDcbFlag::AbortOnError, value); }
    std::uint8_t ErrorChar() const { return fDCB.ErrorChar; }
    void SetErrorChar(std::uint8_t value) { fDCB.ErrorChar = value; }
    std::uint8_t EofChar() const { return fDCB.EofChar; }
    void SetEofChar(std::uint8_t value) { fDCB.EofChar = value; }
    std::uint8_t EventChar() const { return fDCB.EvtChar; }
    void SetEventChar(std::uint8_t value) { fDCB.EvtChar = value; }
    std::int32_t InQueueSize() const { return fInQueueSize; }
    /// Clamped to 256..65536 and rounded up to a multiple of 256.
    void SetInQueueSize(std::int32_t value);
    std::int32_t OutQueueSize() const { return fOutQueueSize; }
    void SetOutQueueSize(std::int32_t value);

    const TComDcb& DCB() const { return fDCB; }

    /// Copies the control block and the DTR and RTS states of other options; not the queues.
    void Assign(const TObject* Source);
    /// Writes the line settings into a device's control block, keeping its length and reserved fields.
    void ApplyComSettings(TComDcb& dcb) const;
    /// The control block of an open device with these settings written into it; false when the
    /// descriptor is no terminal device.
    bool GetComSettings(int Fd, TComDcb& dcb) const;
    /// Makes these settings the device's own, so that they hold until changed; true on success.
    bool SetDefaultComOptions(const UnicodeString& PortName) const;

private:
    bool Flag(std::uint32_t flag) const { return (fDCB.Flags & flag) != 0; }
    void SetFlag(std::uint32_t flag, bool on);
    void CopyFlowToDcb();
    void CopyHardwareFlowToDcb();

    TComDcb fDCB;
    std::unique_ptr<TComSoftwareFlow> fSoftwareFlow;
    std::unique_ptr<TComHardwareFlow> fHardwareFlow;
    std::int32_t fInQueueSize = 2048;
    std::int32_t fOutQueueSize = 1024;
};
