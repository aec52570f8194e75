// The kernel's arbitrary-rate call; its header cannot share a unit with <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>
#include <cstdint>
#include "platform/SerialPort.h"

bool SetSerialArbitraryRate(int fd, std::uint32_t rate)
{
    termios2 t;
    if (ioctl(fd, TCGETS2, &t) != 0) return false;
    t.c_cflag = (t.c_cflag & ~CBAUD) | BOTHER;
    t.c_cflag = (t.c_cflag & ~(CBAUD << IBSHIFT)) | (BOTHER << IBSHIFT);
    t.c_ispeed = rate;
    t.c_ospeed = rate;
    if (ioctl(fd, TCSETS2, &t) != 0) return false;
    return ioctl(fd, TCGETS2, &t) == 0 && t.c_ospeed == rate;
}

std::uint32_t SerialOutputRate(int fd)
{
    termios2 t;
    return ioctl(fd, TCGETS2, &t) == 0 ? t.c_ospeed : 0;
}
