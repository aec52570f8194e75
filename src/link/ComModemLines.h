#pragma once
// The modem lines of an open serial port.
#include <optional>

/// DTR and RTS control, the status lines, and the pause that holds the lines during a pulse.
class TComModemLines {
public:
    virtual ~TComModemLines() = default;
    /// False when the device refuses (a pseudo-terminal has no modem lines).
    virtual bool SetDTR(bool on) = 0;
    virtual bool SetRTS(bool on) = 0;
    /// TIOCM_* bits of the lines; nothing when the device cannot tell.
    virtual std::optional<int> Status() = 0;
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
    void Hold(int ms) override;

private:
    int fFd;
};
