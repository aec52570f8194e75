#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include "platform/SerialPortList.h"

namespace {

namespace fs = std::filesystem;

TEST(SerialPortList, ListsDevicesWithHardwareThenByIdLinks)
{
    const fs::path root = fs::temp_directory_path() / ("tavlo-ports-" + std::to_string(getpid()));
    const fs::path tty = root / "sys/class/tty";
    auto device = [&](const std::string& name, const char* type) {
        fs::create_directories(tty / name / "device");
        if (type) std::ofstream(tty / name / "type") << type << "\n";
    };
    device("ttyUSB0", nullptr);
    device("ttyS0", "4");
    device("ttyS1", "0");  // a legacy UART slot with nothing behind it
    device("ttyACM0", nullptr);
    fs::create_directories(tty / "tty0");  // a console: no device
    fs::create_directories(root / "dev/serial/by-id");
    std::ofstream(root / "dev/serial/by-id/usb-FTDI_A50285BI-if00-port0");

    EXPECT_EQ(ListSerialPorts(root.string()),
              (std::vector<UnicodeString>{u"ttyACM0", u"ttyS0", u"ttyUSB0",
                                          u"serial/by-id/usb-FTDI_A50285BI-if00-port0"}));
    EXPECT_TRUE(ListSerialPorts((root / "missing").string()).empty());
    fs::remove_all(root);
}

}  // namespace
