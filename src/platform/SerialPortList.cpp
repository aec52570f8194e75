#include "platform/SerialPortList.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

bool HasHardware(const fs::path& entry)
{
    std::error_code error;
    if (!fs::exists(entry / "device", error)) return false;
    std::ifstream type(entry / "type");
    int uart = -1;
    return !(type >> uart) || uart != 0;
}

std::vector<std::string> SortedNames(const fs::path& folder, bool (*keep)(const fs::path&))
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (!keep || keep(it->path())) names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::vector<UnicodeString> ListSerialPorts(const std::string& root)
{
    std::vector<UnicodeString> ports;
    for (const std::string& name : SortedNames(fs::path(root + "/sys/class/tty"), HasHardware))
        ports.push_back(FromUtf8(name));
    for (const std::string& name : SortedNames(fs::path(root + "/dev/serial/by-id"), nullptr))
        ports.push_back(FromUtf8("serial/by-id/" + name));
    return ports;
}
