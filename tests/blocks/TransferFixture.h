#pragma once
// A transfer dialog on the real connection manager, talking to the fake target's block protocol
// over loopback TCP or a pseudo-terminal, on a manual loop. The dialog's "modal" run is a script.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include "blocks/UploadDlg.h"
#include "link/ConnectionManager.h"
#include "platform/ManualLoop.h"
#include "platform/Stream.h"
#include "support/FakeForthBlocks.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

/// Stands in for the widgets: its modal run is the test's script.
class ScriptView : public TUploadDialogView {
public:
    void ShowModal() override
    {
        ++Shown;
        if (Body) Body();
    }
    void CloseModal() override { ++Closed; }
    void Changed() override {}

    std::function<void()> Body;
    int Shown = 0;
    int Closed = 0;
};

enum class Wire { Tcp, Pty };

/// The dialog, its link and the target, without a test around them (a forked child makes its own).
class TransferRig {
public:
    explicit TransferRig(Wire wire = Wire::Tcp, TComBaudRate rate = Com_br115200)
    {
        MainLoop::SetCurrent(&loop);
        if (wire == Wire::Tcp) {
            auto tcp = std::make_unique<FakeTcpTarget>();
            const int port = tcp->Port();
            target = std::move(tcp);
            forth = std::make_unique<FakeForthBlocks>(*target, 128);
            link.OpenTcpPort(u"127.0.0.1", IntToStr(port));
            EXPECT_TRUE(loop.RunUntil([&] { return link.IsConnected(); }));
        } else {
            auto pty = std::make_unique<FakePtyTarget>();
            const std::string path = pty->SlavePath();
            target = std::move(pty);
            forth = std::make_unique<FakeForthBlocks>(*target, 128);
            TComOptions options;
            options.SetBaudRate(rate);
            options.SetParity(Com_pNone);
            options.SetDataBits(Com_dbEight);
            options.SetStopBits(Com_sbOne);
            link.OpenComPort(FromUtf8(path), options);
        }
        link.OnRxByte = [this](TObject*, std::uint8_t b) { terminal += char(b); };
        dialog.SetView(&view);
        view.Body = [this] { StartWhenReady(); };
    }
    ~TransferRig()
    {
        link.ClosePort();
        loop.RunPending();
        MainLoop::SetCurrent(nullptr);
    }

    /// Waits until the user could press the start button (or the dialog closed), then presses it
    /// and runs until the dialog closes.
    void StartWhenReady()
    {
        ASSERT_TRUE(loop.RunUntil([&] {
            dialog.UploadAct.Update();
            return dialog.UploadAct.Enabled || !dialog.Showing();
        }));
        if (dialog.Showing()) dialog.UploadAct.Execute();
        RunToClose();
    }
    void RunToClose() { ASSERT_TRUE(loop.RunUntil([&] { return !dialog.Showing(); })); }
    /// Runs until the user could press the start button; false when it stays disabled.
    bool RunUntilStartEnabled()
    {
        return loop.RunUntil([&] {
            dialog.UploadAct.Update();
            return dialog.UploadAct.Enabled;
        });
    }
    /// Runs until the target has received `bytes`, then lets a moment of real time pass so that
    /// any answer is in.
    void ReceivedBy(const std::string& bytes)
    {
        ASSERT_TRUE(loop.RunUntil([&] { return target->Received().size() >= bytes.size(); }));
        loop.RunUntil([] { return false; }, 50);
        EXPECT_EQ(target->Received(), bytes);
    }

    void Upload(const std::string& image)
    {
        TMemoryStream stream(image);
        dialog.Run(stream, true);
    }
    /// Downloads and returns the blocks written.
    std::string Download()
    {
        TMemoryStream stream;
        dialog.Run(stream, false);
        return stream.Bytes();
    }

    /// The messages shown, in order.
    std::vector<UnicodeString> Messages() const
    {
        std::vector<UnicodeString> texts;
        for (const auto& q : dialogs.Questions) texts.push_back(q.Text);
        return texts;
    }
    /// Bytes from the target reach the terminal's handler again.
    bool TerminalHasTheBytes()
    {
        terminal.clear();
        target->Send("after\r\n");
        return loop.RunUntil([&] { return terminal == "after\r\n"; });
    }
    std::string ConfigFile(const std::string& name) const { return folder.Path("Brennix/Config/" + name); }
    void WriteConfigFile(const std::string& name, const std::string& text) const
    {
        std::filesystem::create_directories(folder.Path("Brennix/Config"));
        std::ofstream(ConfigFile(name), std::ios::binary) << text;
    }

    ManualLoop loop;
    TempFolder folder;
    AppDataAt appData{folder.Path()};
    ScriptedDialogs dialogs;
    std::unique_ptr<FakeTarget> target;
    std::unique_ptr<FakeForthBlocks> forth;
    TConnectionMod link;
    TUploadDialog dialog{link};
    ScriptView view;
    std::string terminal;
};

class TransferFixture : public testing::Test, public TransferRig {
protected:
    explicit TransferFixture(Wire wire = Wire::Tcp, TComBaudRate rate = Com_br115200) : TransferRig(wire, rate) {}
};

/// `count` bytes of a pattern that differs from block to block.
inline std::string Image(std::size_t count)
{
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) bytes[i] = char((i * 7 + i / 1024) & 0xFF);
    return bytes;
}

/// A frame as it goes over the line: the data, padded, then its checksum.
inline std::string Frame(const std::string& data, char pad)
{
    TTransferFrame frame{};
    std::string padded = data;
    padded.resize(FrameDataSize, pad);
    std::copy(padded.begin(), padded.end(), frame.begin());
    StoreFrameChecksum(frame);
    return std::string(frame.begin(), frame.end());
}
