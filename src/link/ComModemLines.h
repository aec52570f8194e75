#pragma once
// The modem lines of an open serial port.
#include <cstdint>
#include <optional>
#include "platform/SerialPort.h"

enum TComModemEvent : std::uint8_t { cme_RING, cme_CTS, cme_DSR, cme_RLSD };

/// Set of TComModemEvent.
struct TComModemEvents {
    std::uint8_t Bits = 0;
    bool Contains(TComModemEvent e) const { return (Bits >> e & 1u) != 0; }
    void Include(TComModemEvent e) { Bits |= std::uint8_t(1u << e); }
    bool Empty() const { return Bits == 0; }
    friend bool operator==(const TComModemEvents&, const TComModemEvents&) = default;
};

/// The lines whose change count differs between two readings.
TComModemEvents ModemEventsBetween(const SerialLineCounts& before, const SerialLineCounts& after);

/// DTR and RTS control, the status lines and their change counts, and the pause that holds the
/// lines during a pulse. The reader thread reads the counts while the main thread sets the lines.
class TComModemLines {
public:
    virtual ~TComModemLines() = default;
    /// False when the device refuses (a pseudo-terminal has no modem lines).
    virtual bool SetDTR(bool on) = 0;
    virtual bool SetRTS(bool on) = 0;
    /// TIOCM_* bits of the lines; nothing when the device cannot tell.
    virtual std::optional<int> Status() = 0;
    /// How often each status line has changed; nothing when the device does not count.
    virtual std::optional<SerialLineCounts> Counts() = 0;
    /// Keeps the lines as they are for ms milliseconds.
    virtual void Hold(int ms) = 0;
};

/// The lines of a device descriptor.
class TComDeviceLines : public TComModemLines {
public:
    explicit TComDeviceLines(int fd) : fFd(fd) {}
    bool SetDTR(bool on) override;
    bool SetRTS(bool on) override;
    std::optional<int> Status() override;
    std::optional<SerialLineCounts> Counts() override;
    void Hold(int ms) override;

private:
    int fFd;
};
