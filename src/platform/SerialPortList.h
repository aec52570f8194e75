#pragma once
// The serial ports that the system shows, in place of a registry list.
#include <string>
#include <vector>
#include "platform/Text.h"

/// Bare names of the serial ports: the devices under <root>/sys/class/tty that have hardware behind
/// them (an unused legacy UART reports type 0), sorted, then the links of <root>/dev/serial/by-id
/// as "serial/by-id/NAME". `root` is empty for the running system.
std::vector<UnicodeString> ListSerialPorts(const std::string& root = "");
