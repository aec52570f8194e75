#include <gtest/gtest.h>

#include "link/ComTermios.h"

namespace {

termios Cooked()
{
    termios t{};
    t.c_iflag = ICRNL | IXON | IXANY | ISTRIP;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    t.c_cflag = CS7 | PARENB | HUPCL | CREAD;
    return t;
}

TComDcb Dcb(std::uint32_t rate, std::uint8_t size, std::uint8_t parity, std::uint8_t stop)
{
    TComDcb dcb;
    dcb.BaudRate = rate;
    dcb.ByteSize = size;
    dcb.Parity = parity;
    dcb.StopBits = stop;
    dcb.Flags = ComDcbFlag::Binary;
    return dcb;
}

TEST(ComTermios, AlwaysRawSoNoByteIsTranslatedOrEaten)
{
    auto line = ComDcbToTermios(Dcb(115200, 8, 0, 0), Cooked());
    ASSERT_TRUE(line);
    const termios& t = line->Settings;
    EXPECT_EQ(t.c_iflag, 0u);
    EXPECT_EQ(t.c_oflag, 0u);
    EXPECT_EQ(t.c_lflag, 0u);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL), tcflag_t(CS8));
    EXPECT_TRUE(t.c_cflag & CREAD);
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_EQ(t.c_cc[VMIN], 1);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B115200));
    EXPECT_EQ(cfgetispeed(&t), speed_t(B115200));
    EXPECT_FALSE(line->ArbitraryRate);
}

TEST(ComTermios, FramingTable)
{
    struct Case { std::uint8_t size, parity, stop; tcflag_t cflag; };
    const Case cases[] = {
        {8, 0, 0, CS8},
        {7, 2, 0, CS7 | PARENB},
        {7, 1, 2, CS7 | PARENB | PARODD | CSTOPB},
        {6, 3, 0, CS6 | PARENB | PARODD | CMSPAR},
        {8, 4, 2, CS8 | PARENB | CMSPAR | CSTOPB},
        {5, 0, 1, CS5 | CSTOPB},
    };
    for (const Case& c : cases) {
        auto line = ComDcbToTermios(Dcb(9600, c.size, c.parity, c.stop), Cooked());
        ASSERT_TRUE(line) << int(c.size) << int(c.parity) << int(c.stop);
        EXPECT_EQ(line->Settings.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.cflag);
    }
}

TEST(ComTermios, RejectsFramingADeviceCannotTake)
{
    const TComDcb rejected[] = {
        Dcb(9600, 0, 0, 0),  Dcb(9600, 4, 0, 0), Dcb(9600, 9, 0, 0), Dcb(9600, 8, 5, 0),
        Dcb(9600, 8, 0, 3),  Dcb(9600, 8, 0, 1), Dcb(9600, 5, 0, 2), Dcb(0, 8, 0, 0),
    };
    for (const TComDcb& dcb : rejected)
        EXPECT_FALSE(ComDcbToTermios(dcb, Cooked()))
            << dcb.BaudRate << " " << int(dcb.ByteSize) << int(dcb.Parity) << int(dcb.StopBits);
}

TEST(ComTermios, RatesWithoutConstantUseTheArbitraryRateCall)
{
    for (std::uint32_t rate : {14400u, 128000u, 256000u, 31250u}) {
        auto line = ComDcbToTermios(Dcb(rate, 8, 0, 0), Cooked());
        ASSERT_TRUE(line);
        EXPECT_TRUE(line->ArbitraryRate);
        EXPECT_EQ(line->Rate, rate);
    }
    TComOptions options;
    for (int ord = Com_br110; ord <= Com_br460800; ++ord) {
        auto rate = ComBaudRateValue(TComBaudRate(ord));
        auto line = ComDcbToTermios(Dcb(rate, 8, 0, 0), Cooked());
        ASSERT_TRUE(line);
        EXPECT_EQ(line->ArbitraryRate, rate == 14400 || rate == 128000 || rate == 256000) << rate;
    }
}

TEST(ComTermios, FlowControl)
{
    TComDcb dcb = Dcb(9600, 8, 0, 0);
    dcb.Flags |= ComDcbFlag::OutX | ComDcbFlag::InX | ComDcbFlag::Parity;
    dcb.XonChar = 17;
    dcb.XoffChar = 19;
    auto line = ComDcbToTermios(dcb, Cooked());
    ASSERT_TRUE(line);
    EXPECT_EQ(line->Settings.c_iflag, tcflag_t(IXON | IXOFF | INPCK));
    EXPECT_EQ(line->Settings.c_cc[VSTART], 17);
    EXPECT_EQ(line->Settings.c_cc[VSTOP], 19);

    dcb.XoffChar = 17;
    EXPECT_FALSE(ComDcbToTermios(dcb, Cooked()));
    dcb.Flags &= ~(ComDcbFlag::OutX | ComDcbFlag::InX);
    EXPECT_TRUE(ComDcbToTermios(dcb, Cooked()));

    for (std::uint32_t flags : {ComDcbFlag::OutxCtsFlow, std::uint32_t(0x2000)}) {
        TComDcb hw = Dcb(9600, 8, 0, 0);
        hw.Flags |= flags;
        EXPECT_TRUE(ComDcbToTermios(hw, Cooked())->Settings.c_cflag & CRTSCTS);
    }
    TComDcb rtsOn = Dcb(9600, 8, 0, 0);
    rtsOn.Flags |= 0x1000 | 0x10;
    EXPECT_FALSE(ComDcbToTermios(rtsOn, Cooked())->Settings.c_cflag & CRTSCTS);
}

}  // namespace
