#include "link/ComModemLines.h"

#include <sys/ioctl.h>
#include <chrono>
#include <thread>
#include "platform/SerialPort.h"

TComModemEvents ModemEventsBetween(const SerialLineCounts& before, const SerialLineCounts& after)
{
    TComModemEvents events;
    if (after.Ring != before.Ring) events.Include(cme_RING);
    if (after.Cts != before.Cts) events.Include(cme_CTS);
    if (after.Dsr != before.Dsr) events.Include(cme_DSR);
    if (after.Dcd != before.Dcd) events.Include(cme_RLSD);
    return events;
}

bool TComDeviceLines::SetDTR(bool on) { return SetSerialLine(fFd, TIOCM_DTR, on); }
bool TComDeviceLines::SetRTS(bool on) { return SetSerialLine(fFd, TIOCM_RTS, on); }
std::optional<int> TComDeviceLines::Status() { return SerialLineStatus(fFd); }
std::optional<SerialLineCounts> TComDeviceLines::Counts() { return SerialLineChangeCounts(fFd); }

void TComDeviceLines::Hold(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
