// Bytes per second from the fake target to OnRxByte over a pseudo-terminal and over loopback TCP,
// each with its ratio (counter "vs_pipe") to a plain pipe's rate measured in the same run; and the
// road from the socket through the connection manager and RxChar to the screen model, without
// drawing (Link/TcpToModel) and with the terminal drawn in a shown window (Link/TcpToScreen), each
// with its ratio (counter "vs_model") to the model-only Receive/Text rate measured in the same run.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QEventLoop>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>
#include "ReceiveStreams.h"
#include "link/ConnectionManager.h"
#include "platform/ManualLoop.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtMainLoop.h"
#include "support/FakeTarget.h"

namespace {

constexpr std::size_t kBlock = 8u << 20;
double gPipeRate = 0;
double gModelRate = 0;

/// Counts received bytes and checks that they keep counting 0..255 without a gap.
struct PatternCheck {
    std::size_t count = 0;
    bool intact = true;
    void Add(std::uint8_t b)
    {
        intact = intact && b == std::uint8_t(count);
        ++count;
    }
};

void Finish(benchmark::State& state, std::size_t bytes, bool intact)
{
    if (!intact) state.SkipWithError("bytes lost or out of order");
    state.SetBytesProcessed(std::int64_t(bytes));
}

void Pipe(benchmark::State& state)
{
    int fds[2];
    if (pipe(fds) != 0) {
        state.SkipWithError("no pipe");
        return;
    }
    std::vector<std::uint8_t> out(kBlock), in(65536);
    for (std::size_t i = 0; i < kBlock; ++i) out[i] = std::uint8_t(i);
    std::size_t total = 0;
    bool intact = true;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        std::thread writer([&] {
            for (std::size_t sent = 0; sent < kBlock;) {
                const ssize_t n = write(fds[1], out.data() + sent, kBlock - sent);
                if (n <= 0) return;
                sent += std::size_t(n);
            }
        });
        PatternCheck check;
        while (check.count < kBlock) {
            const ssize_t n = read(fds[0], in.data(), in.size());
            if (n <= 0) break;
            for (ssize_t i = 0; i < n; ++i) check.Add(in[std::size_t(i)]);
        }
        writer.join();
        intact = intact && check.intact && check.count == kBlock;
        total += check.count;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    gPipeRate = double(total) / seconds;
    close(fds[0]);
    close(fds[1]);
    Finish(state, total, intact);
}

/// Sends kBlock bytes from the target for each iteration and runs the loop until all have arrived.
template <typename Target, typename OpenFn>
void Link(benchmark::State& state, OpenFn open)
{
    ManualLoop loop;
    MainLoop::SetCurrent(&loop);
    Target target;
    bool intact = true;
    std::size_t total = 0;
    {
        TConnectionMod link;
        PatternCheck check;
        link.OnRxByte = [&](TObject*, std::uint8_t b) { check.Add(b); };
        int connected = 0;
        link.OnConnected = [&](TObject*) { ++connected; };
        open(link, target);
        if (!loop.RunUntil([&] { return connected > 0; })) {
            state.SkipWithError("no connection");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        for (auto _ : state) {
            check = PatternCheck();
            target.SendPattern(kBlock);
            if (!loop.RunUntil([&] { return check.count >= kBlock; }, 30000)) break;
            intact = intact && check.intact && check.count == kBlock;
            total += check.count;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (gPipeRate > 0) state.counters["vs_pipe"] = double(total) / seconds / gPipeRate;
        state.counters["MB_per_s"] = double(total) / seconds / 1e6;
    }
    loop.RunUntil([] { return false; }, 50);
    Finish(state, total, intact);
}

void Pty(benchmark::State& state)
{
    Link<FakePtyTarget>(state, [](TConnectionMod& link, FakePtyTarget& target) {
        TComOptions options;
        options.SetBaudRate(Com_br115200);
        options.SetDataBits(Com_dbEight);
        link.OpenComPort(FromUtf8(target.SlavePath()), options);
    });
}

void Tcp(benchmark::State& state)
{
    Link<FakeTcpTarget>(state, [](TConnectionMod& link, FakeTcpTarget& target) {
        link.OpenTcpPort(u"127.0.0.1", FromUtf8(std::to_string(target.Port())));
    });
}

/// The model-only rate: the text stream through RxChar into a screen that nothing draws.
void ModelOnly(benchmark::State& state)
{
    bench::Receiver receiver;
    const bench::Bytes& bytes = bench::Text();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (std::uint8_t b : bytes) RxChar(receiver.State, receiver.Context, b);
        benchmark::ClobberMemory();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::size_t total = std::size_t(state.iterations()) * bytes.size();
    gModelRate = double(total) / seconds;
    state.SetBytesProcessed(std::int64_t(total));
}

/// The text stream from the fake target over loopback TCP through RxChar to the screen model, in
/// the program's event loop. With `draw` the terminal is set up as the main window does and shown
/// in a window, which draws at the frame pace; without, it is set up as for Receive/Text.
void TcpToTerminal(benchmark::State& state, bool draw)
{
    QtMainLoop loop;
    MainLoop::SetCurrent(&loop);
    QtGraphicsFactory graphics;
    GraphicsFactory::SetCurrent(&graphics);
    FakeTcpTarget target;
    bench::Receiver receiver(draw);
    std::unique_ptr<ControlHostWidget> window;
    if (draw) {
        TSimpleTerminal& terminal = receiver.Terminal;
        terminal.SetColor(receiver.Options.BGColor);
        TFont font = terminal.Font();
        font.Name = u"Lucida Console";
        font.Height = -13;
        font.Color = receiver.Options.TextColor;
        terminal.SetFont(font);
        terminal.Loaded();
        window = std::make_unique<ControlHostWidget>(terminal);
        window->resize(900, 700);
        window->show();
    }

    bool intact = true;
    std::size_t total = 0;
    {
        TConnectionMod link;
        std::size_t count = 0;
        link.OnRxByte = [&](TObject*, std::uint8_t b) {
            RxChar(receiver.State, receiver.Context, b);
            ++count;
        };
        int connected = 0, closed = 0;
        link.OnConnected = [&](TObject*) { ++connected; };
        link.OnClosed = [&](TObject*) { ++closed; };
        link.OpenTcpPort(u"127.0.0.1", FromUtf8(std::to_string(target.Port())));
        while (connected == 0 && closed == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (connected == 0) {
            state.SkipWithError("no connection");
            return;
        }
        std::string block;
        while (block.size() < kBlock) block.append(bench::Text().begin(), bench::Text().end());
        const auto start = std::chrono::steady_clock::now();
        for (auto _ : state) {
            count = 0;
            target.Send(block);
            while (count < block.size() && closed == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            intact = intact && count == block.size();
            total += count;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (gModelRate > 0) state.counters["vs_model"] = double(total) / seconds / gModelRate;
        state.counters["MB_per_s"] = double(total) / seconds / 1e6;
    }
    QCoreApplication::processEvents();
    Finish(state, total, intact);
}

const int registered = [] {
    benchmark::RegisterBenchmark("Link/Pipe", Pipe)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Link/Pty", Pty)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Link/Tcp", Tcp)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Receive/Text", ModelOnly)->UseRealTime();
    benchmark::RegisterBenchmark("Link/TcpToModel", TcpToTerminal, false)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Link/TcpToScreen", TcpToTerminal, true)->Unit(benchmark::kMillisecond)->UseRealTime();
    return 0;
}();

}  // namespace

int main(int argc, char** argv)
{
    // The window is drawn off screen unless a display is chosen.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
