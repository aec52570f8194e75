#include <gtest/gtest.h>

#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <chrono>
#include <vector>
#include "link/LinkFixture.h"
#include "platform/SerialPort.h"
#include "support/FakeTarget.h"
#include "support/RecordingModemLines.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace {

using Clock = std::chrono::steady_clock;

void PlainLine(TComOptions& options)
{
    options.SetBaudRate(Com_br115200);
    options.SetParity(Com_pNone);
    options.SetDataBits(Com_dbEight);
    options.SetStopBits(Com_sbOne);
}

class SerialLink : public LinkFixture {
protected:
    SerialLink() { PlainLine(options); }
    void Open() { link->OpenComPort(FromUtf8(target.SlavePath()), options); }

    FakePtyTarget target;
    TComOptions options;
};

TEST(SerialPortNames, MapToDevicePaths)
{
    EXPECT_EQ(SerialDevicePath(u"COM1"), "/dev/ttyS0");
    EXPECT_EQ(SerialDevicePath(u"COM10"), "/dev/ttyS9");
    EXPECT_EQ(SerialDevicePath(u"ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(SerialDevicePath(u"COM0"), "/dev/COM0");
    EXPECT_EQ(SerialDevicePath(u"COMX"), "/dev/COMX");
    EXPECT_EQ(SerialDevicePath(u"/dev/pts/7"), "/dev/pts/7");
}

TEST_F(SerialLink, EveryByteValuePassesBothWaysUnchangedAndInOrder)
{
    Open();
    EXPECT_EQ(connected, 1);
    EXPECT_EQ(link->PortType(), cmp_RS232);
    EXPECT_TRUE(link->IsConnected());
    EXPECT_EQ(link->ConnectionName(), FromUtf8(target.SlavePath()));

    target.SendPattern(4 * 256);
    ASSERT_TRUE(ReceiveAtLeast(4 * 256));
    EXPECT_EQ(received, Pattern(4 * 256));

    const std::string block = Pattern(256);
    ASSERT_TRUE(link->TxBytes(reinterpret_cast<const std::uint8_t*>(block.data()), 256, 5));
    for (char c : block) ASSERT_TRUE(link->TxByte(std::uint8_t(c), 5));
    ASSERT_TRUE(target.WaitForReceived(512));
    EXPECT_EQ(target.Received(), block + block);
}

TEST_F(SerialLink, TheConnectionNameIsTheBareName)
{
    link->OpenComPort(u"\\\\.\\" + FromUtf8(target.SlavePath()), options);
    EXPECT_EQ(link->ConnectionName(), FromUtf8(target.SlavePath()));
    EXPECT_EQ(link->ComRx1.PortName(), FromUtf8(target.SlavePath()));
}

TEST_F(SerialLink, SettingsReachTheDevice)
{
    struct Case { TComBaudRate rate; std::uint32_t bps; TComStopBits stop; bool xonxoff; bool cts; };
    for (Case c : {Case{Com_br115200, 115200, Com_sbOne, false, false},
                   Case{Com_br14400, 14400, Com_sbTwo, true, true}}) {
        options.SetBaudRate(c.rate);
        options.SetStopBits(c.stop);
        options.SoftwareFlow().SetTxFlow(c.xonxoff);
        options.SoftwareFlow().SetRxFlow(c.xonxoff);
        options.SoftwareFlow().SetXonChar(17);
        options.SoftwareFlow().SetXoffChar(19);
        options.HardwareFlow().SetTxUseCtsFlow(c.cts);
        Open();
        termios t{};
        ASSERT_EQ(tcgetattr(target.SlaveFd(), &t), 0);
        EXPECT_EQ(SerialOutputRate(target.SlaveFd()), c.bps);
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.stop == Com_sbTwo);
        EXPECT_EQ((t.c_iflag & IXON) != 0, c.xonxoff);
        EXPECT_EQ((t.c_iflag & IXOFF) != 0, c.xonxoff);
        EXPECT_EQ((t.c_cflag & CRTSCTS) != 0, c.cts);
        EXPECT_EQ(t.c_cc[VSTART], 17);
        EXPECT_EQ(t.c_cc[VSTOP], 19);
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(t.c_oflag & OPOST, 0u);
        link->ClosePort();
    }
}

TEST_F(SerialLink, OptionsNeverSetOpenAsTheyRead)
{
    const TComOptions fresh;
    link->OpenComPort(FromUtf8(target.SlavePath()), fresh);
    termios t{};
    ASSERT_EQ(tcgetattr(target.SlaveFd(), &t), 0);
    EXPECT_EQ(SerialOutputRate(target.SlaveFd()), 1200u);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
}

template <typename E>
void ExpectOpenFails(TConnectionMod& link, const UnicodeString& name, const TComOptions& options,
                     const char* message)
{
    try {
        link.OpenComPort(name, options);
        ADD_FAILURE() << "opened " << ToUtf8(name);
    } catch (const E& e) {
        EXPECT_STREQ(e.what(), message);
    }
    EXPECT_FALSE(link.IsActive());
    EXPECT_TRUE(link.ConnectionName().empty());
}

TEST_F(SerialLink, OpenFailuresRaiseTheirExceptionsAndLeaveTheLinkClosed)
{
    ExpectOpenFails<EComInvalidPort>(*link, u"/dev/tavlo-no-such-port", options,
        "The request could not be completed because the specified comunications port could not be accessed!\n"
        "/dev/tavlo-no-such-port: No such file or directory");
    ExpectOpenFails<EComInvalidPort>(*link, u"tavlo-no-such-port", options,
        "The request could not be completed because the specified comunications port could not be accessed!\n"
        "/dev/tavlo-no-such-port: No such file or directory");
    ExpectOpenFails<EComSetOptions>(*link, u"", options,
        "Unable to configure selected comunications port with the specified options!");

    TComOptions rejected;
    PlainLine(rejected);
    rejected.SetDataBits(Com_dbFive);
    rejected.SetStopBits(Com_sbTwo);
    ExpectOpenFails<EComSetOptions>(*link, FromUtf8(target.SlavePath()), rejected,
        "Unable to configure selected comunications port with the specified options!");

    Open();
    TConnectionMod second;
    ExpectOpenFails<EComPortInUse>(second, FromUtf8(target.SlavePath()), options,
        ("The request could not be completed because the specified comunications port in currently in use!\n" +
         target.SlavePath() + ": Device or resource busy").c_str());
    EXPECT_EQ(connected, 1);
    target.Send("still mine");
    EXPECT_TRUE(ReceiveAtLeast(10));
}

/// The message of opening the device as a user without rights to it: a child process drops to
/// "nobody" when the tests run as the super-user, who may open anything.
std::string OpenFailureAsUnprivilegedUser(const std::string& device)
{
    int fds[2];
    if (pipe(fds) != 0) return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        std::string text = "opened";
        const passwd* nobody = getpwnam("nobody");
        if (geteuid() == 0 && (!nobody || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
                               setuid(nobody->pw_uid) != 0)) {
            text = "could not become nobody";
        } else {
            TComRx port;
            port.SetPortName(FromUtf8(device));
            try {
                port.SetActive(true);
            } catch (const std::exception& e) {
                text = e.what();
            }
        }
        if (write(fds[1], text.data(), text.size()) < 0) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, std::size_t(n));
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return text;
}

TEST(SerialPortOpen, APermissionRefusalNamesAGroupOnlyWhereJoiningItWouldHelp)
{
    // Devices of other owners are made by the super-user only.
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give the devices their owners";
    const group* dialout = getgrnam("dialout");
    ASSERT_NE(dialout, nullptr);
    const std::string user = "nobody";
    const std::string refused =
        "The request could not be completed because the specified comunications port could not be accessed!\n";
    const std::string noAdvice = ": Permission denied. The user \"" + user + "\" has no permission to read and write the device.";
    const std::string joinDialout = ": Permission denied. The device belongs to the group \"dialout\": the user \"" + user +
                                    "\" must be a member of that group (and log in again after joining it).";
    const struct {
        const char* device;
        gid_t group;
        mode_t mode;
        std::string after;
    } cases[] = {
        {"ttyRootOnly", 0, 0600, noAdvice},                       // root:root 0600: no group to join
        {"ttyRootGroup", 0, 0060, noAdvice},                      // the group is root's
        {"ttyDialout", dialout->gr_gid, 0660, joinDialout},       // as the serial devices of a desktop are
        {"ttyDialoutReadOnly", dialout->gr_gid, 0640, noAdvice},  // the group may not write
    };
    TempFolder folder;
    ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);
    for (const auto& c : cases) {
        folder.Write(c.device, "");
        const std::string device = folder.Path(c.device);
        ASSERT_EQ(chown(device.c_str(), 0, c.group), 0);
        ASSERT_EQ(chmod(device.c_str(), c.mode), 0);
        EXPECT_EQ(OpenFailureAsUnprivilegedUser(device), refused + device + c.after) << c.device;
    }
}

TEST(SerialPortOpen, AClosedPortOpensAgainForAUserWhileAnotherProgramHoldsTheDevice)
{
    // The exclusive hold belongs to the tty, not to the descriptor: left set at close, it kept
    // out every later open but the super-user's while the target side still held the device.
    RunUnprivileged([] {
        FakePtyTarget target;
        TComRx port;
        port.SetPortName(FromUtf8(target.SlavePath()));
        port.SetActive(true);
        port.SetActive(false);
        EXPECT_NO_THROW(port.SetActive(true));
        port.SetActive(false);
    });
}

TEST_F(SerialLink, SendTimesOutUnderXoffAndTheByteArrivesOnceAfterXon)
{
    options.SoftwareFlow().SetTxFlow(true);
    options.SoftwareFlow().SetXonChar(17);
    options.SoftwareFlow().SetXoffChar(19);
    Open();
    target.Send("\x13");
    // The device stops once its line discipline has seen XOFF; its writable state shows it.
    pollfd p{target.SlaveFd(), POLLOUT, 0};
    const auto limit = Clock::now() + std::chrono::seconds(2);
    while (poll(&p, 1, 0) == 1 && Clock::now() < limit) p.revents = 0;
    ASSERT_EQ(poll(&p, 1, 0), 0) << "XOFF did not stop the line";

    EXPECT_TRUE(link->TxByte('A', 1));  // taken, written when the line resumes
    const std::uint8_t b = 'B';
    EXPECT_FALSE(link->ComRx1.SendData(&b, 100, 1));
    EXPECT_FALSE(link->TxByte('B', 0));
    EXPECT_FALSE(target.WaitForReceived(1, 50));

    target.Send("\x11");
    ASSERT_TRUE(target.WaitForReceived(1));
    EXPECT_TRUE(link->TxByte('B', 1));
    ASSERT_TRUE(target.WaitForReceived(2));
    EXPECT_FALSE(target.WaitForReceived(3, 100));
    EXPECT_EQ(target.Received(), "AB");
}

TEST_F(SerialLink, ClosingFromInsideTheReceiveHandlerReturnsAndDropsTheRest)
{
    Open();
    int delivered = 0;
    link->OnRxByte = [&](TObject*, std::uint8_t) {
        ++delivered;
        // A reply whose send is cancelled: the user's Cancel closes the link.
        link->TxByte('?', 1);
        link->ClosePort();
    };
    target.SendPattern(1000);
    const auto start = Clock::now();
    ASSERT_TRUE(loop.RunUntil([&] { return delivered > 0; }));
    EXPECT_FALSE(link->IsActive());
    loop.RunUntil([] { return false; }, 100);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(delivered, 1);
    EXPECT_EQ(closed, 0);

    link->OnRxByte = [&](TObject*, std::uint8_t b) { received += char(b); };
    Open();
    target.Send("again");
    EXPECT_TRUE(ReceiveAtLeast(5));
}

TEST_F(SerialLink, AHandlerExceptionIsShownAndTheLinkReadsOn)
{
    ScriptedDialogs dialogs;
    Open();
    link->OnRxByte = [&](TObject*, std::uint8_t b) {
        if (b == '!') throw std::runtime_error("The terminal connection was closed.");
        received += char(b);
    };
    target.Send("ab!cd");
    ASSERT_TRUE(ReceiveAtLeast(4));
    target.Send("ef");
    ASSERT_TRUE(ReceiveAtLeast(6));
    EXPECT_EQ(received, "abcdef");
    EXPECT_TRUE(link->IsActive());
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text, u"The terminal connection was closed.");
}

TEST_F(SerialLink, AVanishingDeviceClosesTheLinkAndReportsIt)
{
    Open();
    target.Send("last");
    ASSERT_TRUE(ReceiveAtLeast(4));
    target.HangUp();
    ASSERT_TRUE(loop.RunUntil([&] { return closed == 1; }));
    EXPECT_FALSE(link->IsActive());
    EXPECT_EQ(link->PortType(), cmp_None);
    EXPECT_TRUE(link->ConnectionName().empty());
    EXPECT_FALSE(link->TxByte('x', 0));
    loop.RunUntil([] { return false; }, 50);
    EXPECT_EQ(closed, 1);
}

TEST_F(SerialLink, PulsesHoldTheLinesForTheirTimes)
{
    using C = RecordingModemLines::Change;
    struct Case { TComDtrState dtr; TComRtsState rts; std::vector<C> dtrPulse, rtsPulse; };
    const Case cases[] = {
        {Com_dtrDisabled, Com_rtsDisabled, {{'D', true, 0}, {'D', false, 200}}, {{'R', true, 0}, {'R', false, 200}}},
        {Com_dtrEnabled, Com_rtsEnabled, {{'D', true, 0}, {'D', false, 200}, {'D', true, 300}},
         {{'R', true, 0}, {'R', false, 200}, {'R', true, 300}}},
        {Com_dtrHandshake, Com_rtsHandshake, {}, {}},
    };
    for (const Case& c : cases) {
        auto lines = std::make_shared<RecordingModemLines>();
        link->ComRx1.SetModemLines(lines);
        options.HardwareFlow().SetTxDtrState(c.dtr);
        options.HardwareFlow().SetRxRTSState(c.rts);
        Open();
        EXPECT_EQ(link->ComCanPulseDTR(), c.dtr != Com_dtrHandshake);
        EXPECT_EQ(link->ComCanPulseRTS(), c.rts != Com_rtsHandshake);
        lines->Reset();
        link->ComPulseDTR();
        EXPECT_EQ(lines->changes, c.dtrPulse) << int(c.dtr);
        lines->Reset();
        link->ComPulseRTS();
        EXPECT_EQ(lines->changes, c.rtsPulse) << int(c.rts);
        const TComModemEvents status = link->ComRx1.GetModemStatus();
        EXPECT_TRUE(status.Contains(cme_CTS));
        EXPECT_TRUE(status.Contains(cme_RLSD));
        EXPECT_FALSE(status.Contains(cme_RING));
        link->ClosePort();
    }
    EXPECT_FALSE(link->ComCanPulseDTR());
    EXPECT_TRUE(link->ComRx1.GetModemStatus().Empty());
}

TEST_F(SerialLink, APseudoTerminalRefusingModemLinesStillOpens)
{
    options.HardwareFlow().SetTxDtrState(Com_dtrEnabled);
    options.HardwareFlow().SetRxRTSState(Com_rtsEnabled);
    Open();
    EXPECT_TRUE(link->IsActive());
    link->ComRx1.SetDTR();
    link->ComRx1.ClrRTS();
    EXPECT_TRUE(link->ComRx1.GetModemStatus().Empty());
}

}  // namespace
