#pragma once
// Serial line settings as the terminal driver takes them.
#include <termios.h>
#include <cstdint>
#include <optional>
#include "link/ComRxOptions.h"

/// Terminal settings for a port, and the rate to set through the arbitrary-rate call when the
/// driver has no constant for it.
struct TComLineSettings {
    termios Settings{};
    std::uint32_t Rate = 0;
    bool ArbitraryRate = false;
};

/// Raw-mode settings for a control block, starting from the device's current ones; nothing when
/// the framing is one a serial device does not take (data bits outside 5..8, 1.5 stop bits with
/// more than 5 data bits, 2 stop bits with 5, an unknown parity, rate 0, equal XON and XOFF
/// characters with XON/XOFF on). Null stripping, error replacement and the event characters have
/// no counterpart in the driver; raw mode passes every byte unchanged.
std::optional<TComLineSettings> ComDcbToTermios(const TComDcb& dcb, const termios& current);

/// Configures an open device from a control block; false when the device refuses the settings.
bool ApplyComLineSettings(int fd, const TComDcb& dcb);
