// One full repaint of an editor window of highlighted Forth source on the Qt canvas, against one
// plain text call per row of the same text: what merging tokens into runs leaves of the cost.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <QGuiApplication>
#include <QImage>
#include "editor/NibEdit.h"
#include "highlighter/NibHighlighterTavlo.h"
#include "platform/qt/QtCanvas.h"
#include "support/FakeControlHost.h"
#include "support/ForthSource.h"

namespace {

constexpr int WindowWidth = 800;
constexpr int WindowHeight = 600;

/// The toolkit, offscreen, and an editor full of Forth source.
struct Platform {
    Platform()
    {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        app = std::make_unique<QGuiApplication>(argc, argv);
        GraphicsFactory::SetCurrent(&graphics);
        edit = std::make_unique<TNibEdit>();
        for (const UnicodeString& word : ForthBaseWords()) forth.KeyWords().Add(word);
        forth.KeyAttri()->SetForeground(0x800000);
        forth.CommentAttri()->SetForeground(0x008000);
        forth.NumberAttri()->SetForeground(0x0000C0);
        edit->SetHighlighter(&forth);
        edit->Gutter().SetShowLineNumbers(true);
        for (const UnicodeString& line : ForthSourceLines(64 * 1024)) edit->Lines().Add(line);
        host = std::make_unique<FakeControlHost>(*edit, WindowWidth, WindowHeight);
    }
    ~Platform() { edit->SetHighlighter(nullptr); }
    int argc = 1;
    char name[6] = "bench";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
    QtGraphicsFactory graphics;
    TNibTavloHighlighter forth;
    std::unique_ptr<TNibEdit> edit;
    std::unique_ptr<FakeControlHost> host;
};

Platform& ThePlatform()
{
    static Platform platform;
    return platform;
}

void EditorFullRepaint(benchmark::State& state)
{
    Platform& p = ThePlatform();
    QImage image(WindowWidth, WindowHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QtCanvas canvas(image);
        p.edit->Paint(canvas);
        canvas.Flush();
    }
}

void EditorRowsBaseline(benchmark::State& state)
{
    Platform& p = ThePlatform();
    QImage image(WindowWidth, WindowHeight, QImage::Format_RGB32);
    const int rows = p.edit->LinesInWindow() + 1;
    for (auto _ : state) {
        QtCanvas canvas(image);
        canvas.SetFont(p.edit->Font());
        for (int row = 0; row < rows; ++row)
            canvas.TextOut(p.edit->TextOffset(), row * p.edit->LineHeight(), p.edit->Lines()[row]);
        canvas.Flush();
    }
}

BENCHMARK(EditorRowsBaseline)->Name("EditorPaint/RowsBaseline");
BENCHMARK(EditorFullRepaint)->Name("EditorPaint/FullRepaint");

/// The console report, followed by the repaint's ratio to its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.aggregate_name.empty()) fNsPerRun[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double baseline = fNsPerRun["EditorPaint/RowsBaseline"];
        const double repaint = fNsPerRun["EditorPaint/FullRepaint"];
        if (baseline > 0 && repaint > 0)
            std::printf("EditorPaint/FullRepaint: %.0f us, %.2f times EditorPaint/RowsBaseline (%.0f us)\n",
                        repaint / 1e3, repaint / baseline, baseline / 1e3);
    }

private:
    std::map<std::string, double> fNsPerRun;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
