#include <gtest/gtest.h>

#include "link/ComRxOptions.h"

#include <fcntl.h>
#include <unistd.h>
#include "support/FakeTarget.h"

namespace {

TEST(ComRxOptions, NewOptionsReadDefaults)
{
    TComOptions options;
    EXPECT_EQ(options.DCB().DCBlength, 28u);
    EXPECT_EQ(options.DCB().Flags, 0u);
    EXPECT_EQ(options.BaudRate(), Com_br1200);
    EXPECT_EQ(options.Parity(), Com_pNone);
    EXPECT_EQ(options.DataBits(), Com_dbEight);
    EXPECT_EQ(options.StopBits(), Com_sbOne);
    EXPECT_EQ(options.SoftwareFlow().XonChar(), 0);
    EXPECT_FALSE(options.SoftwareFlow().TxAfterRxOff());
    EXPECT_EQ(options.InQueueSize(), 2048);
    EXPECT_EQ(options.OutQueueSize(), 1024);
}

TEST(ComRxOptions, BaudRateMapsEveryOrdinalAndUnknownRatesRead1200)
{
    TComOptions options;
    for (int ord = Com_br110; ord <= Com_br460800; ++ord) {
        options.SetBaudRate(TComBaudRate(ord));
        EXPECT_EQ(options.DCB().BaudRate, ComBaudRateValue(TComBaudRate(ord)));
        EXPECT_EQ(options.BaudRate(), ord);
    }
    EXPECT_EQ(options.DCB().BaudRate, 460800u);
    options.SetBaudRate(TComBaudRate(16));
    EXPECT_EQ(options.DCB().BaudRate, 460800u);

}

TEST(ComRxOptions, ParityWritesFlagAndByteAndReadsBack)
{
    struct Case { TComParity parity; bool flag; std::uint8_t byte; };
    for (Case c : {Case{Com_pNone, false, 0}, Case{Com_pEven, true, 2}, Case{Com_pOdd, true, 1},
                   Case{Com_pMark, true, 3}}) {
        TComOptions options;
        options.SetParity(c.parity);
        EXPECT_EQ((options.DCB().Flags & ComDcbFlag::Parity) != 0, c.flag);
        EXPECT_EQ(options.DCB().Parity, c.byte);
        EXPECT_EQ(options.Parity(), c.parity);
    }
}

TEST(ComRxOptions, DataAndStopBits)
{
    TComOptions options;
    options.SetDataBits(Com_dbFive);
    EXPECT_EQ(options.DCB().ByteSize, 5);
    EXPECT_EQ(options.DataBits(), Com_dbFive);
    options.SetDataBits(Com_dbSeven);
    EXPECT_EQ(options.DCB().ByteSize, 7);
    options.SetStopBits(Com_sbTwo);
    EXPECT_EQ(options.DCB().StopBits, 2);
    EXPECT_EQ(options.StopBits(), Com_sbTwo);
    options.SetStopBits(Com_sbOneAndHalf);
    EXPECT_EQ(options.StopBits(), Com_sbOneAndHalf);
}

TEST(ComRxOptions, QueueSizesClampAndRoundUp)
{
    TComOptions options;
    for (auto [in, stored] : {std::pair{100, 256}, {1000, 1024}, {70000, 65536}, {512, 512}, {-5, 256}}) {
        options.SetInQueueSize(in);
        options.SetOutQueueSize(in);
        EXPECT_EQ(options.InQueueSize(), stored) << in;
        EXPECT_EQ(options.OutQueueSize(), stored) << in;
    }
}

TEST(ComRxOptions, FlowSettersWriteTheControlBlockAtOnce)
{
    TComOptions options;
    options.SoftwareFlow().SetXonChar(17);
    EXPECT_EQ(options.DCB().XonChar, 17);
    options.SoftwareFlow().SetXoffChar(19);
    options.SoftwareFlow().SetRxFlow(true);
    options.SoftwareFlow().SetTxFlow(true);
    options.SoftwareFlow().SetTxAfterRxOff(true);
    EXPECT_EQ(options.DCB().XoffChar, 19);
    EXPECT_EQ(options.DCB().Flags, ComDcbFlag::InX | ComDcbFlag::OutX | ComDcbFlag::TxContinueOnXoff);

    options.HardwareFlow().SetTxUseCtsFlow(true);
    options.HardwareFlow().SetTxUseDsrFlow(true);
    options.HardwareFlow().SetTxDsrSensitivity(true);
    options.HardwareFlow().SetTxDtrState(Com_dtrHandshake);
    options.HardwareFlow().SetRxRTSState(Com_rtsToggle);
    EXPECT_EQ(options.DCB().Flags & 0x307C, 0x4u | 0x8u | 0x40u | 0x20u | 0x3000u);
    EXPECT_EQ(options.HardwareFlow().RxRTSState(), Com_rtsToggle);
    options.HardwareFlow().SetRxRTSState(Com_rtsEnabled);
    EXPECT_EQ(options.DCB().Flags & ComDcbFlag::RtsControl, 0x1000u);
    EXPECT_EQ(options.HardwareFlow().TxDtrState(), Com_dtrHandshake);

    options.SetPassNulls(true);
    options.SetReplaceOnError(true);
    options.SetAbortOnError(true);
    EXPECT_EQ(options.DCB().Flags & 0x4C00, 0x4C00u);
}

TEST(ComRxOptions, FlowChildrenFireOnlyOnChange)
{
    TComSoftwareFlow flow;
    int fired = 0;
    flow.OnChanged = [&](TObject* sender) {
        EXPECT_EQ(sender, &flow);
        ++fired;
    };
    flow.SetXonChar(19);
    EXPECT_EQ(fired, 0);
    flow.SetXonChar(17);
    EXPECT_EQ(fired, 1);
}

TEST(ComRxOptions, AssignCopiesControlBlockAndLineStatesButNotQueues)
{
    TComOptions source;
    source.SetBaudRate(Com_br115200);
    source.SetParity(Com_pOdd);
    source.SoftwareFlow().SetXonChar(17);
    source.HardwareFlow().SetTxDtrState(Com_dtrEnabled);
    source.SetInQueueSize(4096);
    source.SetOutQueueSize(4096);

    TComOptions target;
    target.Assign(&source);
    EXPECT_EQ(target.DCB(), source.DCB());
    EXPECT_EQ(target.HardwareFlow().TxDtrState(), Com_dtrEnabled);
    EXPECT_EQ(target.InQueueSize(), 2048);
    EXPECT_EQ(target.OutQueueSize(), 1024);

    TComSoftwareFlow notOptions;
    target.Assign(&notOptions);
    EXPECT_EQ(target.DCB(), source.DCB());
}

TEST(ComRxOptions, ApplyComSettingsSetsBinaryAndKeepsLengthAndReserved)
{
    TComOptions options;
    options.SetBaudRate(Com_br9600);
    options.SetDataBits(Com_dbSeven);
    options.SoftwareFlow().SetXoffChar(19);
    options.SetEofChar(26);
    TComDcb dcb;
    dcb.DCBlength = 99;
    dcb.wReserved = 7;
    dcb.wReserved1 = 8;
    options.ApplyComSettings(dcb);
    EXPECT_EQ(dcb.Flags, ComDcbFlag::Binary);
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.XoffChar, 19);
    EXPECT_EQ(dcb.EofChar, 26);
    EXPECT_EQ(dcb.DCBlength, 99u);
    EXPECT_EQ(dcb.wReserved, 7);
    EXPECT_EQ(dcb.wReserved1, 8);
}

TEST(ComRxOptions, GetComSettingsNeedsATerminalDevice)
{
    TComOptions options;
    options.SetBaudRate(Com_br9600);
    FakePtyTarget target;
    TComDcb dcb;
    EXPECT_TRUE(options.GetComSettings(target.SlaveFd(), dcb));
    EXPECT_EQ(dcb.BaudRate, 9600u);
    TComDcb untouched;
    const int notATerminal = open("/dev/null", O_RDONLY | O_CLOEXEC);
    EXPECT_FALSE(options.GetComSettings(notATerminal, untouched));
    close(notATerminal);
    EXPECT_EQ(untouched.BaudRate, 0u);
}

}  // namespace
