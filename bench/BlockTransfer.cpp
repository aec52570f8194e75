// Upload and download of 256 blocks through the transfer dialog to an instant fake target over
// loopback TCP: blocks per second, and the time each frame takes beyond a bare exchange of the same
// frame and reply on the same link measured in the same run ("beyond_reply_us").
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <string>
#include "blocks/UploadDlg.h"
#include "link/ConnectionManager.h"
#include "platform/ManualLoop.h"
#include "platform/Stream.h"
#include "support/FakeForthBlocks.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace {

constexpr int kBlocks = 256;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

/// The modal run of the dialog: waits for the target's answers, then times the transfer itself.
class TimingView : public TUploadDialogView {
public:
    TimingView(TUploadDialog& dialog, ManualLoop& loop) : fDialog(dialog), fLoop(loop) {}
    void ShowModal() override
    {
        fLoop.RunUntil([&] {
            fDialog.UploadAct.Update();
            return fDialog.UploadAct.Enabled || !fDialog.Showing();
        });
        if (!fDialog.Showing()) return;
        if (!fDialog.PerformUpload) fDialog.SetSourceBlocks(kBlocks);
        const auto start = Clock::now();
        fDialog.UploadAct.Execute();
        fLoop.RunUntil([&] { return !fDialog.Showing(); }, 60000);
        Elapsed = Clock::now() - start;
    }
    void CloseModal() override {}
    void Changed() override {}
    Clock::duration Elapsed{};

private:
    TUploadDialog& fDialog;
    ManualLoop& fLoop;
};

/// The dialog on the connection manager, connected to the fake target.
struct Session {
    Session()
    {
        MainLoop::SetCurrent(&loop);
        dialog.SetView(&view);
        link.OpenTcpPort(u"127.0.0.1", IntToStr(target.Port()));
        loop.RunUntil([&] { return link.IsConnected(); });
        link.OnRxByte = [this](TObject*, std::uint8_t b) { Received(b); };
    }
    ~Session()
    {
        link.ClosePort();
        loop.RunPending();
        MainLoop::SetCurrent(nullptr);
    }

    void Received(std::uint8_t b)
    {
        ++bytes;
        if (b == '\r') ++lines;
    }
    void SendLine(const std::string& line)
    {
        for (char c : line) link.TxByte(std::uint8_t(c), 10);
        link.TxByte('\r', 10);
        link.TxFlush();
    }
    void WaitForLine()
    {
        const long want = lines + 1;
        loop.RunUntil([&] { return lines >= want; });
    }
    void WaitForBytes(long count)
    {
        const long want = bytes + count;
        loop.RunUntil([&] { return bytes >= want; });
    }

    /// The same exchange without the dialog: each frame goes out and its reply comes back.
    Clock::duration BareUpload(const TTransferFrame& frame)
    {
        SendLine("0 " + std::to_string(kBlocks - 1) + " load-blocks");
        WaitForLine();
        const auto start = Clock::now();
        for (int i = 0; i < kBlocks; ++i) {
            link.TxBytes(frame.data(), FrameSize, 10);
            link.TxFlush();
            WaitForLine();
        }
        return Clock::now() - start;
    }
    Clock::duration BareDownload()
    {
        SendLine("0 " + std::to_string(kBlocks - 1) + " send-blocks");
        WaitForLine();
        const auto start = Clock::now();
        for (int i = 0; i < kBlocks; ++i) {
            SendLine(">");
            WaitForBytes(FrameSize);
        }
        return Clock::now() - start;
    }

    ManualLoop loop;
    TempFolder folder;
    AppDataAt appData{folder.Path()};
    ScriptedDialogs dialogs;
    FakeTcpTarget target;
    FakeForthBlocks forth{target, kBlocks};
    TConnectionMod link;
    TUploadDialog dialog{link};
    TimingView view{dialog, loop};
    long bytes = 0;
    long lines = 0;
};

void Report(benchmark::State& state, double dialogSeconds, double bareSeconds, bool failed)
{
    if (failed) state.SkipWithError("the transfer failed");
    const double runs = double(state.iterations());
    state.counters["blocks_per_s"] = benchmark::Counter(kBlocks * runs, benchmark::Counter::kIsRate);
    state.counters["frame_us"] = dialogSeconds / runs / kBlocks * 1e6;
    state.counters["bare_frame_us"] = bareSeconds / runs / kBlocks * 1e6;
    state.counters["beyond_reply_us"] = (dialogSeconds - bareSeconds) / runs / kBlocks * 1e6;
}

void Upload256(benchmark::State& state)
{
    Session session;
    std::string image(std::size_t(kBlocks) * FrameDataSize, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = char(i * 31 >> 3);
    TTransferFrame frame{};
    StoreFrameChecksum(frame);
    double dialogSeconds = 0, bareSeconds = 0;
    bool failed = false;
    for (auto _ : state) {
        TMemoryStream stream(image);
        session.dialog.Run(stream, true);
        const double seconds = Seconds(session.view.Elapsed);
        state.SetIterationTime(seconds);
        dialogSeconds += seconds;
        failed = failed || !session.dialogs.Questions.empty() || session.forth.Block(kBlocks - 1) != image.substr(image.size() - FrameDataSize);
        bareSeconds += Seconds(session.BareUpload(frame));
    }
    Report(state, dialogSeconds, bareSeconds, failed);
}

void Download256(benchmark::State& state)
{
    Session session;
    for (int i = 0; i < kBlocks; ++i) session.forth.SetBlock(i, std::string(FrameDataSize, char('A' + i % 26)));
    double dialogSeconds = 0, bareSeconds = 0;
    bool failed = false;
    for (auto _ : state) {
        TMemoryStream stream;
        session.dialog.Run(stream, false);
        const double seconds = Seconds(session.view.Elapsed);
        state.SetIterationTime(seconds);
        dialogSeconds += seconds;
        failed = failed || !session.dialogs.Questions.empty() || stream.Size() != kBlocks * FrameDataSize;
        bareSeconds += Seconds(session.BareDownload());
    }
    Report(state, dialogSeconds, bareSeconds, failed);
}

}  // namespace

BENCHMARK(Upload256)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(Download256)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
