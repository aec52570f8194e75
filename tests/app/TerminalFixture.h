#pragma once
// The main window's terminal page on a manual loop, with the real connection manager, a key map
// and the settings dialog without widgets, talking to the fake target.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include "app/StartupFixture.h"
#include "link/ConnectionManager.h"
#include "settings/ConfigTerm.h"
#include "settings/MapKeys.h"
#include "support/FakeTarget.h"
#include "support/MemoryClipboard.h"
#include "support/ScriptedDialogs.h"

/// Shows the settings dialog by letting the test change its controls, then answers OK.
class ScriptedConfigView : public TConfigTermView {
public:
    void ControlsChanged(const TConfigTermControls& controls) override { Shown = controls; }
    void ReadControls(TConfigTermControls& controls) override { controls = Shown; }
    TModalResult ShowModal() override
    {
        ++Showings;
        if (Edit) Edit(Shown);
        return Answer;
    }

    TConfigTermControls Shown;
    std::function<void(TConfigTermControls&)> Edit;
    TModalResult Answer = TModalResult::mrOk;
    int Showings = 0;
};

/// Types host and port into the host dialog and presses Connect.
class ScriptedHostView : public THostAddressFormView {
public:
    void ShowModal(THostAddressForm& form) override
    {
        ++Showings;
        ShownAt = {form.Left, form.Top};
        if (Cancel) return;
        form.HostAddressEdit = Host;
        form.HostPortEdit = Port;
        form.ConnectAct.Execute();
    }
    TPoint Size() const override { return {300, 120}; }

    UnicodeString Host;
    UnicodeString Port;
    bool Cancel = false;
    int Showings = 0;
    TPoint ShownAt;
};

class TerminalTest : public StartupTest {
protected:
    TerminalTest()
    {
        MapTermKeys = &keys;
        ConfigTerm = &config;
        config.SetView(&configView);
        window.FormCreate();
        window.Options->ComPortName = FromUtf8(pty.SlavePath());
        TComOptions& line = window.Options->ComPortOptions;
        line.SetBaudRate(Com_br115200);
        line.SetParity(Com_pNone);
        line.SetDataBits(Com_dbEight);
        line.SetStopBits(Com_sbOne);
        view.HostForm->SetView(&hostView);
        window.SendTimeLimitSec = 0;
    }
    ~TerminalTest() override
    {
        if (ConnectionMod) ConnectionMod->ClosePort();
        window.FormDestroy();
        loop.RunPending();
    }

    void ConnectSerial() { ASSERT_TRUE(window.ComConnectAct->Execute()); }

    void ConnectTcp()
    {
        hostView.Host = u"127.0.0.1";
        hostView.Port = IntToStr(tcp.Port());
        ASSERT_TRUE(window.TcpConnectAct->Execute());
        ASSERT_TRUE(loop.RunUntil([&] { return ConnectionMod->IsConnected(); }));
    }

    /// A key as the terminal's host delivers it: key down, then the characters it types.
    void Type(std::uint16_t key, TShiftState shift, std::u16string chars = u"")
    {
        std::uint16_t k = key;
        if (key) window.SimpleTerminal1.KeyDown(k, shift);
        for (char16_t c : chars) window.SimpleTerminal1.KeyPress(c);
        if (key) window.SimpleTerminal1.KeyUp(key, shift);
    }

    /// Waits until the target has count bytes, running the loop meanwhile.
    bool Arrived(const FakeTarget& target, std::size_t count)
    {
        return loop.RunUntil([&] { return target.Received().size() >= count; });
    }

    TempFolder keyFolder;
    TMapTermKeys keys{keyFolder.Name("default.kmap")};
    TConfigTerm config;
    ScriptedConfigView configView;
    ScriptedHostView hostView;
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    QuestioningWindow window{view};
    FakePtyTarget pty;
    FakeTcpTarget tcp;
};
