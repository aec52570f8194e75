#include "link/ComModemLines.h"

#include <sys/ioctl.h>
#include <chrono>
#include <thread>
#include "platform/SerialPort.h"

bool TComDeviceLines::SetDTR(bool on) { return SetSerialLine(fFd, TIOCM_DTR, on); }
bool TComDeviceLines::SetRTS(bool on) { return SetSerialLine(fFd, TIOCM_RTS, on); }
std::optional<int> TComDeviceLines::Status() { return SerialLineStatus(fFd); }

void TComDeviceLines::Hold(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
