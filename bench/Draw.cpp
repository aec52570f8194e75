// The drawing side of the terminal under load: a flood of text through RxChar into the screen
// model with the Qt canvas attached and a paint every 16 ms, against the same flood into the
// model alone (Receive/Text, and between the flood's passes for its ratio); and one repaint of a
// full screen against one plain text call per row.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <vector>
#include <QImage>
#include "BenchHelpers.h"
#include "ReceiveStreams.h"
#include "platform/ManualLoop.h"
#include "platform/qt/QtCanvas.h"
#include "terminal/TerminalView.h"

namespace {

using bench::Bytes;
using bench::Text;
using Clock = std::chrono::steady_clock;

constexpr auto FrameTime = std::chrono::milliseconds(TTerminalView::FrameMs);

/// The toolkit, offscreen, and the platform services the terminal draws with.
struct Platform {
    Platform()
    {
        MainLoop::SetCurrent(&loop);
        GraphicsFactory::SetCurrent(&graphics);
    }
    bench::OffscreenApplication app;
    ManualLoop loop;
    QtGraphicsFactory graphics;
};

Platform& ThePlatform()
{
    static Platform platform;
    return platform;
}

/// The main window's receive set-up, loaded and shown in a window of the main window's size,
/// painted into an offscreen image.
struct DrawnReceiver : bench::Receiver {
    DrawnReceiver() : Receiver(true)
    {
        ThePlatform();
        Terminal.Loaded();
        Terminal.SetBounds(0, 0, 896, 624);
    }

    void Paint()
    {
        QtCanvas canvas(Window);
        Terminal.Paint(canvas);
        canvas.Flush();
    }

    QImage Window{896, 624, QImage::Format_RGB32};
};

void ReceiveText(benchmark::State& state)
{
    bench::Receiver receiver;
    for (auto _ : state) {
        receiver.Receive(Text());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Text().size()));
}

/// The flood, with the model-only rate of the same bytes measured between its passes (counter
/// "vs_model"), so that both see the same state of the machine.
void DrawFlood(benchmark::State& state)
{
    DrawnReceiver receiver;
    bench::Receiver model;
    const Bytes& bytes = Text();
    Clock::time_point lastPaint = Clock::now();
    std::int64_t paints = 0;
    Clock::duration flooding{};
    Clock::duration modelOnly{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (std::size_t i = 0; i < bytes.size(); i += 256) {
            const std::size_t end = std::min(bytes.size(), i + 256);
            for (std::size_t j = i; j < end; ++j) RxChar(receiver.State, receiver.Context, bytes[j]);
            if (Clock::now() - lastPaint >= FrameTime) {
                lastPaint = Clock::now();
                receiver.Paint();
                ++paints;
            }
        }
        flooding += Clock::now() - start;
        state.PauseTiming();
        const Clock::time_point modelStart = Clock::now();
        model.Receive(bytes);
        benchmark::ClobberMemory();
        const Clock::duration modelTime = Clock::now() - modelStart;
        modelOnly += modelTime;
        // The model's pass is no stream time: the frame pace does not see it.
        lastPaint += modelTime;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    state.counters["paints"] = double(paints);
    if (flooding.count() > 0)
        state.counters["vs_model"] = std::chrono::duration<double>(modelOnly) / std::chrono::duration<double>(flooding);
}

/// A terminal of 100 rows of 80 columns full of text.
struct FullScreen : DrawnReceiver {
    FullScreen()
    {
        for (int row = 0; row < 100; ++row) {
            Terminal.GotoXY(0, row);
            for (int column = 0; column < 80; ++column) Terminal.Write(char16_t(33 + (row * 80 + column) % 94));
        }
        Paint();
    }
};

void DrawFullRepaint(benchmark::State& state)
{
    FullScreen screen;
    Canvas& canvas = const_cast<Bitmap*>(screen.Terminal.View().DisplayBitMap())->GetCanvas();
    for (auto _ : state) {
        screen.Terminal.RefreshDisplay();
        static_cast<QtCanvas&>(canvas).Flush();
    }
}

void DrawRowsBaseline(benchmark::State& state)
{
    FullScreen screen;
    Canvas& canvas = const_cast<Bitmap*>(screen.Terminal.View().DisplayBitMap())->GetCanvas();
    std::vector<UnicodeString> rows;
    for (int row = 0; row < 100; ++row) {
        UnicodeString text;
        for (int column = 0; column < 80; ++column) text.push_back(screen.Terminal.GetCharAtXY(column, row).Character);
        rows.push_back(text);
    }
    const int height = screen.Terminal.CellHeight();
    for (auto _ : state) {
        canvas.SetBrushColor(screen.Terminal.Color());
        canvas.SetTextColor(screen.Terminal.Font().Color);
        for (int row = 0; row < 100; ++row) canvas.TextOut(0, row * height, rows[std::size_t(row)]);
        static_cast<QtCanvas&>(canvas).Flush();
    }
}

BENCHMARK(ReceiveText)->Name("Receive/Text");
BENCHMARK(DrawFlood)->Name("Draw/Flood");
BENCHMARK(DrawRowsBaseline)->Name("Draw/RowsBaseline");
BENCHMARK(DrawFullRepaint)->Name("Draw/FullRepaint");

/// The console report, followed by each drawing benchmark's ratio to its baseline.
class DrawReporter : public bench::RatioReporter {
protected:
    void Summary() override
    {
        const double flood = Counter("Draw/Flood", "bytes_per_second");
        const double ratio = Counter("Draw/Flood", "vs_model");
        if (flood > 0 && ratio > 0)
            std::printf("Draw/Flood: %.1f MB/s, %.2f of the model-only rate of the same bytes; goal at least 0.50\n",
                        flood / 1e6, ratio);
        const double baseline = Seconds("Draw/RowsBaseline");
        const double repaint = Seconds("Draw/FullRepaint");
        if (baseline > 0 && repaint > 0)
            std::printf("Draw/FullRepaint: %.0f us, %.2f times Draw/RowsBaseline (%.0f us); goal at most 2\n",
                        repaint * 1e6, repaint / baseline, baseline * 1e6);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    DrawReporter reporter;
    return bench::RunBenchmarks(argc, argv, &reporter);
}
