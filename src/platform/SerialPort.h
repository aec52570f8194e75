#pragma once
// Serial devices of the system: names, exclusive open, rates and modem lines.
#include <cstdint>
#include <optional>
#include <string>
#include "platform/Text.h"

/// Device path of a port name: "COMn" is /dev/ttyS<n-1>, an absolute path stays as it is, any
/// other name NAME is /dev/NAME.
std::string SerialDevicePath(const UnicodeString& name);

enum class SerialOpenResult { Opened, NotFound, InUse, Failed };

/// Opens a device for non-blocking reading and writing, held exclusively so that a second open
/// reports InUse; fd is -1 unless Opened, and error then holds the system's error number.
SerialOpenResult OpenSerialDevice(const std::string& path, int& fd, int& error);
/// Closes a device that OpenSerialDevice opened and gives up its exclusive hold, which the tty
/// keeps while any other descriptor of it stays open.
void CloseSerialDevice(int fd);

/// Why a device did not open, for the user: the path and the system's reason; a permission
/// refusal also names the group that owns the device, which the user must belong to.
std::string SerialOpenFailureText(const std::string& path, int error);

/// Sets both rates to one that has no speed constant; false when the driver refuses it.
bool SetSerialArbitraryRate(int fd, std::uint32_t rate);
/// The output rate of a device in bits per second, 0 when it cannot be read.
std::uint32_t SerialOutputRate(int fd);

/// Modem control and status lines (TIOCM_DTR, TIOCM_RTS, TIOCM_CTS ...).
bool SetSerialLine(int fd, int line, bool on);
std::optional<int> SerialLineStatus(int fd);

/// How often each status line has changed since the device was opened, as the driver counts it.
struct SerialLineCounts {
    int Ring = 0;
    int Cts = 0;
    int Dsr = 0;
    int Dcd = 0;
    friend bool operator==(const SerialLineCounts&, const SerialLineCounts&) = default;
};
/// Nothing when the driver keeps no counts (a pseudo-terminal keeps none).
std::optional<SerialLineCounts> SerialLineChangeCounts(int fd);
