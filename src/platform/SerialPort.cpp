#include "platform/SerialPort.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <system_error>

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

SerialOpenResult OpenSerialDevice(const std::string& path, int& fd, int& error)
{
    error = 0;
    fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        switch (error) {
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
        error = busy ? EBUSY : errno;
        close(fd);
        fd = -1;
        return busy ? SerialOpenResult::InUse : SerialOpenResult::Failed;
    }
    ioctl(fd, TIOCEXCL);
    return SerialOpenResult::Opened;
}

void CloseSerialDevice(int fd)
{
    ioctl(fd, TIOCNXCL);
    close(fd);
}

std::string SerialOpenFailureText(const std::string& path, int error)
{
    std::string text = path + ": " + std::generic_category().message(error);
    struct stat st;
    if ((error != EACCES && error != EPERM) || stat(path.c_str(), &st) != 0) return text;
    const passwd* user = getpwuid(geteuid());
    const std::string who = user ? " \"" + std::string(user->pw_name) + "\"" : "";
    // Joining the group helps only where the group may read and write the device; nobody
    // should join root to reach one.
    const bool groupGrants = (st.st_mode & S_IRGRP) && (st.st_mode & S_IWGRP);
    if (st.st_gid == 0 || !groupGrants)
        return text + ". The user" + who + " has no permission to read and write the device.";
    const group* owner = getgrgid(st.st_gid);
    const std::string groupName = owner ? owner->gr_name : std::to_string(st.st_gid);
    return text + ". The device belongs to the group \"" + groupName + "\": the user" + who +
           " must be a member of that group (and log in again after joining it).";
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
