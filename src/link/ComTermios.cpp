#include "link/ComTermios.h"

#include <array>
#include <utility>
#include "platform/SerialPort.h"

namespace {

constexpr std::array<std::pair<std::uint32_t, speed_t>, 30> kSpeeds = {{
    {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200}, {300, B300},
    {600, B600}, {1200, B1200}, {1800, B1800}, {2400, B2400}, {4800, B4800}, {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
    {460800, B460800}, {500000, B500000}, {576000, B576000}, {921600, B921600},
    {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000},
    {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
}};

std::optional<tcflag_t> CharSize(std::uint8_t byteSize)
{
    switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return std::nullopt;
    }
}

// Parity byte of the control block: 0 none, 1 odd, 2 even, 3 mark, 4 space.
std::optional<tcflag_t> ParityBits(std::uint8_t parity)
{
    switch (parity) {
    case 0: return 0;
    case 1: return PARENB | PARODD;
    case 2: return PARENB;
    case 3: return PARENB | CMSPAR | PARODD;
    case 4: return PARENB | CMSPAR;
    default: return std::nullopt;
    }
}

bool StopBitsFit(std::uint8_t stopBits, std::uint8_t byteSize)
{
    switch (stopBits) {
    case 0: return true;
    case 1: return byteSize == 5;
    case 2: return byteSize != 5;
    default: return false;
    }
}

}  // namespace

std::optional<TComLineSettings> ComDcbToTermios(const TComDcb& dcb, const termios& current)
{
    auto size = CharSize(dcb.ByteSize);
    auto parity = ParityBits(dcb.Parity);
    if (!size || !parity || !StopBitsFit(dcb.StopBits, dcb.ByteSize) || dcb.BaudRate == 0)
        return std::nullopt;
    const bool outX = (dcb.Flags & ComDcbFlag::OutX) != 0;
    const bool inX = (dcb.Flags & ComDcbFlag::InX) != 0;
    if ((outX || inX) && dcb.XonChar == dcb.XoffChar) return std::nullopt;

    TComLineSettings line;
    termios& t = line.Settings;
    t = current;
    t.c_iflag = 0;
    if (outX) t.c_iflag |= IXON;
    if (inX) t.c_iflag |= IXOFF;
    if (dcb.Flags & ComDcbFlag::Parity) t.c_iflag |= INPCK;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = (t.c_cflag & CBAUD) | CREAD | CLOCAL | *size | *parity;
    if (dcb.StopBits != 0) t.c_cflag |= CSTOPB;
    const std::uint32_t rtsControl = dcb.Flags & ComDcbFlag::RtsControl;
    if ((dcb.Flags & ComDcbFlag::OutxCtsFlow) || rtsControl == 0x2000) t.c_cflag |= CRTSCTS;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    t.c_cc[VSTART] = cc_t(dcb.XonChar);
    t.c_cc[VSTOP] = cc_t(dcb.XoffChar);

    line.Rate = dcb.BaudRate;
    speed_t speed = B38400;
    line.ArbitraryRate = true;
    for (const auto& [rate, constant] : kSpeeds) {
        if (rate == dcb.BaudRate) {
            speed = constant;
            line.ArbitraryRate = false;
        }
    }
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    return line;
}

bool ApplyComLineSettings(int fd, const TComDcb& dcb)
{
    termios current;
    if (tcgetattr(fd, &current) != 0) return false;
    auto line = ComDcbToTermios(dcb, current);
    if (!line || tcsetattr(fd, TCSANOW, &line->Settings) != 0) return false;
    return !line->ArbitraryRate || SetSerialArbitraryRate(fd, line->Rate);
}
