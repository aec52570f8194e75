#include <gtest/gtest.h>

#include "platform/ManualLoop.h"
#include "settings/SelectComPort.h"

namespace {

class SelectComPort : public ::testing::Test {
protected:
    SelectComPort() { MainLoop::SetCurrent(&loop); }
    ~SelectComPort() override { MainLoop::SetCurrent(nullptr); }

    ManualLoop loop;
    std::vector<TComPortRow> ports{{u"ttyS0", u"/dev/ttyS0"}, {u"ttyUSB0", u"/dev/ttyUSB0"}};
    int reads = 0;
    TSelectComPortDlg picker{[this] {
        ++reads;
        return ports;
    }};
};

TEST_F(SelectComPort, ShowingReadsThePortsAndHighlightsThePresetOne)
{
    picker.fSelectedPortName = u"ttyUSB0";
    picker.FormActivate();
    EXPECT_EQ(picker.Rows(), ports);
    EXPECT_EQ(picker.GetSelectedPort(), u"ttyUSB0");

    picker.fSelectedPortName = u"ttyACM7";
    picker.FormActivate();
    EXPECT_EQ(picker.GetSelectedPort(), u"ttyS0");
}

TEST_F(SelectComPort, WithoutPortsNothingIsChosen)
{
    ports.clear();
    picker.FormActivate();
    EXPECT_TRUE(picker.Rows().empty());
    EXPECT_EQ(picker.GetSelectedPort(), u"");
}

TEST_F(SelectComPort, ABurstOfDeviceChangesIsReadOnceAndKeepsTheHighlight)
{
    picker.fSelectedPortName = u"ttyUSB0";
    picker.FormActivate();
    ASSERT_EQ(reads, 1);
    ports.insert(ports.begin(), {u"ttyACM0", u"/dev/ttyACM0"});
    picker.DeviceChange();
    loop.AdvanceMs(1000);
    picker.DeviceChange();
    loop.AdvanceMs(1699);
    EXPECT_EQ(reads, 1);
    loop.AdvanceMs(1);
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(picker.Rows().size(), 3u);
    EXPECT_EQ(picker.GetSelectedPort(), u"ttyUSB0");
    loop.AdvanceMs(10000);
    EXPECT_EQ(reads, 2);
}

TEST_F(SelectComPort, AHiddenPickerReadsNothing)
{
    picker.FormActivate();
    picker.DeviceChange();
    picker.FormHide();
    picker.DeviceChange();
    loop.AdvanceMs(10000);
    EXPECT_EQ(reads, 1);
}

}  // namespace
