#include "platform/SerialPort.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>

std::string SerialDevicePath(const UnicodeString& name)
{
    const std::string text = ToUtf8(name);
    if (!text.empty() && text[0] == '/') return text;
    if (text.size() > 3 && text.compare(0, 3, "COM") == 0 &&
        text.find_first_not_of("0123456789", 3) == std::string::npos && text.size() < 10) {
        const long number = std::stol(text.substr(3));
        if (number >= 1) return "/dev/ttyS" + std::to_string(number - 1);
    }
    return "/dev/" + text;
}

SerialOpenResult OpenSerialDevice(const std::string& path, int& fd)
{
    fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR: return SerialOpenResult::NotFound;
        case EBUSY: return SerialOpenResult::InUse;
        default: return SerialOpenResult::Failed;
        }
    }
    // The lock keeps out our own second open even where the exclusive mode is not enforced
    // (the super-user passes it).
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        close(fd);
        fd = -1;
        return busy ? SerialOpenResult::InUse : SerialOpenResult::Failed;
    }
    ioctl(fd, TIOCEXCL);
    return SerialOpenResult::Opened;
}

bool SetSerialLine(int fd, int line, bool on)
{
    return ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0;
}

std::optional<int> SerialLineStatus(int fd)
{
    int lines = 0;
    if (ioctl(fd, TIOCMGET, &lines) != 0) return std::nullopt;
    return lines;
}

std::optional<SerialLineCounts> SerialLineChangeCounts(int fd)
{
    serial_icounter_struct counts{};
    if (ioctl(fd, TIOCGICOUNT, &counts) != 0) return std::nullopt;
    return SerialLineCounts{counts.rng, counts.cts, counts.dsr, counts.dcd};
}
