#include <termios.h>
#include <unistd.h>
#include <filesystem>
#include "app/SettingsFile.h"
#include "app/TerminalFixture.h"
#include "support/RecordingCanvas.h"

namespace {

using Connection = TerminalTest;

speed_t PtySpeed(const FakePtyTarget& pty)
{
    termios t{};
    tcgetattr(pty.SlaveFd(), &t);
    return cfgetospeed(&t);
}

TEST_F(Connection, SerialConnectNamesThePortAndCloseRestoresTheCaption)
{
    window.Terminal.UpdateActions();
    EXPECT_TRUE(window.ComConnectAct->Enabled);
    EXPECT_FALSE(window.ComDisconnectAct->Enabled);
    ConnectSerial();
    EXPECT_EQ(view.Caption, u"Tavlo Terminal Ver 2.3 [" + FromUtf8(pty.SlavePath()) + u"]");
    window.Terminal.UpdateActions();
    EXPECT_FALSE(window.ComConnectAct->Enabled);
    EXPECT_FALSE(window.TcpConnectAct->Enabled);
    EXPECT_TRUE(window.ComDisconnectAct->Enabled);

    ASSERT_TRUE(window.ComDisconnectAct->Execute());
    EXPECT_EQ(view.Caption, u"Tavlo Terminal Ver 2.3");
    EXPECT_FALSE(ConnectionMod->IsActive());
}

TEST_F(Connection, TheCloseActionShowsTheImageOfTheLinkItCloses)
{
    const UnicodeString designed = window.ComDisconnectAct->ImageName;
    EXPECT_FALSE(designed.empty());
    ConnectSerial();
    EXPECT_EQ(window.ComDisconnectAct->ImageName, window.ComConnectAct->ImageName);
    ASSERT_TRUE(window.ComDisconnectAct->Execute());
    ConnectTcp();
    EXPECT_EQ(window.ComDisconnectAct->ImageName, window.TcpConnectAct->ImageName);
    EXPECT_NE(window.TcpConnectAct->ImageName, window.ComConnectAct->ImageName);
    EXPECT_NE(designed, window.ComConnectAct->ImageName);
}

TEST_F(Connection, ADevicePathHoldingAColonOpensAsItIs)
{
    const std::string link = keyFolder.Path("pci-0000:00:14.0-usb-0:1:1.0-port0");
    std::filesystem::create_symlink(pty.SlavePath(), link);
    window.Options->ComPortName = FromUtf8(link);
    ConnectSerial();
    EXPECT_EQ(view.Caption, u"Tavlo Terminal Ver 2.3 [" + FromUtf8(link) + u"]");
    Type('A', 0, u"a");
    ASSERT_TRUE(Arrived(pty, 1));
}

TEST_F(Connection, AFailedOpenShowsItsErrorAndKeepsTheCaption)
{
    window.Options->ComPortName = keyFolder.Name("no-such-device");
    EXPECT_ANY_THROW(window.ComConnectAct->Execute());
    EXPECT_EQ(window.Caption(), u"Tavlo Terminal Ver 2.3");
    EXPECT_FALSE(ConnectionMod->IsActive());
}

TEST_F(Connection, TcpConnectShowsConnectingThenTheHostAndRemembersIt)
{
    hostView.Host = u"127.0.0.1";
    hostView.Port = IntToStr(tcp.Port());
    const UnicodeString address = u"127.0.0.1:" + hostView.Port;
    ASSERT_TRUE(window.TcpConnectAct->Execute());
    EXPECT_EQ(view.Caption, u"Tavlo Terminal Ver 2.3 [Connecting To " + address + u"]");
    EXPECT_FALSE(window.ComConnectAct->Enabled);
    // The link counts as connected in its thread before the main thread hears of it.
    const UnicodeString connected = u"Tavlo Terminal Ver 2.3 [TCP " + address + u"]";
    ASSERT_TRUE(loop.RunUntil([&] { return view.Caption == connected; }));
    EXPECT_TRUE(ConnectionMod->IsConnected());
    EXPECT_EQ(window.Options->TcpHostAddress, u"127.0.0.1");
    EXPECT_EQ(window.Options->TcpHostPort, hostView.Port);
    // Centred over the window of 800 x 700 at 100, 50.
    EXPECT_EQ(hostView.ShownAt.X, 100 + (800 - 300) / 2);
    EXPECT_EQ(hostView.ShownAt.Y, 50 + (700 - 120) / 2);

    tcp.HangUp();
    ASSERT_TRUE(loop.RunUntil([&] { return view.Caption == u"Tavlo Terminal Ver 2.3"; }));
    EXPECT_FALSE(ConnectionMod->IsActive());
}

TEST_F(Connection, ACancelledHostDialogConnectsNothing)
{
    hostView.Cancel = true;
    ASSERT_TRUE(window.TcpConnectAct->Execute());
    EXPECT_EQ(hostView.Showings, 1);
    EXPECT_FALSE(ConnectionMod->IsActive());
    EXPECT_EQ(window.Caption(), u"Tavlo Terminal Ver 2.3");
}

TEST_F(Connection, TheHostDialogConnectsOnlyWithHostAndPort)
{
    THostAddressForm& form = *view.HostForm;
    for (auto [host, port, enabled] : {std::tuple{u"", u"23", false}, {u"h", u"", false}, {u"h", u"23", true}}) {
        form.HostAddressEdit = host;
        form.HostPortEdit = port;
        form.ConnectAct.Update();
        EXPECT_EQ(form.ConnectAct.Enabled, enabled);
    }
}

TEST_F(Connection, PulsesAreForAnIdleSerialLineOnly)
{
    window.Terminal.UpdateActions();
    EXPECT_FALSE(window.ComPulseDTRAct->Enabled);
    ConnectTcp();
    window.Terminal.UpdateActions();
    EXPECT_FALSE(window.ComPulseDTRAct->Enabled);
    EXPECT_FALSE(window.ComPulseRtsAct->Enabled);
    ASSERT_TRUE(window.ComDisconnectAct->Execute());

    ConnectSerial();
    window.Terminal.UpdateActions();
    EXPECT_TRUE(window.ComPulseDTRAct->Enabled);
    EXPECT_TRUE(window.ComPulseRtsAct->Enabled);
    TStringList lines;
    lines.Add(u"1 2 +");
    window.StartPaste(&lines);
    window.Terminal.UpdateActions();
    EXPECT_FALSE(window.ComPulseDTRAct->Enabled);
    EXPECT_FALSE(window.ComPulseRtsAct->Enabled);
}

TEST_F(Connection, ChangedSerialSettingsAskAndYesReopensThePortWithThem)
{
    ConnectSerial();
    EXPECT_EQ(PtySpeed(pty), B115200);
    configView.Edit = [](TConfigTermControls& c) { c.BaudRate = Com_br9600; };
    dialogs.Answers = {TModalResult::mrYes};
    ASSERT_TRUE(window.TermOptionsAct->Execute());
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text, u"Com port is active, apply new setting and reset com port?");
    EXPECT_EQ(dialogs.Questions[0].Buttons, TMsgButtons::YesNo);
    EXPECT_TRUE(ConnectionMod->IsConnected());
    EXPECT_EQ(PtySpeed(pty), B9600);
    EXPECT_EQ(view.Caption, u"Tavlo Terminal Ver 2.3 [" + FromUtf8(pty.SlavePath()) + u"]");

    configView.Edit = [](TConfigTermControls& c) { c.BaudRate = Com_br19200; };
    dialogs.Answers = {TModalResult::mrNo};
    ASSERT_TRUE(window.TermOptionsAct->Execute());
    EXPECT_EQ(dialogs.Questions.size(), 2u);
    EXPECT_EQ(PtySpeed(pty), B9600);
    EXPECT_EQ(window.Options->ComPortOptions.BaudRate(), Com_br19200);
}

TEST_F(Connection, ColoursAloneOrATcpLinkAskNothing)
{
    ConnectSerial();
    configView.Edit = [](TConfigTermControls& c) { c.BgColor = clBlack, c.TextColor = clWhite; };
    ASSERT_TRUE(window.TermOptionsAct->Execute());
    EXPECT_TRUE(dialogs.Questions.empty());
    EXPECT_EQ(window.SimpleTerminal1.Color(), clBlack);

    ASSERT_TRUE(window.ComDisconnectAct->Execute());
    ConnectTcp();
    configView.Edit = [](TConfigTermControls& c) { c.BaudRate = Com_br9600; };
    ASSERT_TRUE(window.TermOptionsAct->Execute());
    EXPECT_TRUE(dialogs.Questions.empty());
    EXPECT_TRUE(ConnectionMod->IsConnected());
}

TEST_F(Connection, ANewLinkStartsWithoutTheLastLinksParameterBytes)
{
    window.Options->AllowedCtrlCodes = TConfigTermCtrlCodes::All();
    ConnectSerial();
    pty.Send(std::string("\x02\x05", 2));  // positioning code cut off after its first parameter
    ASSERT_TRUE(loop.RunUntil([&] { return window.RxState.ParamsRequired == 1; }));
    ASSERT_TRUE(window.ComDisconnectAct->Execute());
    ConnectSerial();
    pty.Send("A");
    ASSERT_TRUE(loop.RunUntil([&] { return window.SimpleTerminal1.GetCharAtXY(0, 0).Character == u'A'; }));
}

TEST_F(Connection, ClearScreenBlanksAndHomesWithTheCursorShown)
{
    window.SimpleTerminal1.WriteString(u"text");
    window.SimpleTerminal1.SetDisplayCursor(false);
    ASSERT_TRUE(window.TermClearScreenAct->Execute());
    int column = -1, row = -1;
    window.SimpleTerminal1.GetXY(column, row);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 0);
    EXPECT_NE(window.SimpleTerminal1.GetCharAtXY(0, 0).Character, u't');
    EXPECT_TRUE(window.SimpleTerminal1.DisplayCursor());
}

}  // namespace

namespace {

TEST_F(Connection, TheWheelMovesTheViewOneRowOnlyOverTheFocusedTerminal)
{
    RecordingGraphicsFactory graphics;
    TTerminalControl& term = window.SimpleTerminal1;
    term.SetBounds(0, 0, 818, 540);
    term.Loaded();
    const TScrollInfo& bar = term.ScrollInfo(TScrollBarKind::sbVertical);
    ASSERT_TRUE(bar.Visible);
    term.FocusChanged(false);
    EXPECT_FALSE(term.MouseWheel(0, -120, {10, 10}));
    EXPECT_EQ(bar.Position, 0);
    window.SetActivePage(pgTerminal);
    ASSERT_TRUE(term.Focused());
    EXPECT_TRUE(term.MouseWheel(0, -120, {10, 10}));
    EXPECT_EQ(bar.Position, term.CellHeight());
    EXPECT_TRUE(term.MouseWheel(0, 120, {10, 10}));
    EXPECT_EQ(bar.Position, 0);
}

}  // namespace
