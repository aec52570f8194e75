// One line of 1,000,000 and of 10,000,000 characters of Forth words in the highlighted editor: End
// from the line's start, a key typed at its end, the undo of that key, and with word wrap on a
// repaint of the window in the middle of the line on the Qt canvas. Prints the times for the
// shorter line (goal: each under 5 ms, the repaint aside) and each action's ratio of the longer
// line to the shorter (goal: at most 10).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <QImage>

#include "BenchHelpers.h"
#include "editor/NibEdit.h"
#include "highlighter/NibHighlighterTavlo.h"
#include "platform/qt/QtCanvas.h"
#include "support/FakeControlHost.h"
#include "support/ForthSource.h"

namespace {

constexpr int WindowWidth = 800;
constexpr int WindowHeight = 600;

/// Words of Forth separated by blanks, Length characters in all.
UnicodeString LongLine(int Length)
{
    const std::vector<UnicodeString> words = ForthBaseWords();
    UnicodeString line;
    line.reserve(std::size_t(Length) + 16);
    for (std::size_t k = 0; int(line.size()) < Length; ++k) line += words[k % words.size()] + u" ";
    line.resize(std::size_t(Length));
    return line;
}

/// The toolkit offscreen, and a highlighted editor in a window for each length, made on first use.
struct Platform {
    Platform()
    {
        GraphicsFactory::SetCurrent(&graphics);
        for (const UnicodeString& word : ForthBaseWords()) forth.KeyWords().Add(word);
    }
    struct Editor {
        Editor(TNibTavloHighlighter& forth, int length)
        {
            edit.SetHighlighter(&forth);
            edit.Lines().Add(LongLine(length));
        }
        ~Editor() { edit.SetHighlighter(nullptr); }
        TNibEdit edit;
        FakeControlHost host{edit, WindowWidth, WindowHeight};
    };
    Editor& For(int length)
    {
        auto& editor = editors[length];
        if (!editor) editor = std::make_unique<Editor>(forth, length);
        editor->host.Reset();
        return *editor;
    }
    bench::OffscreenApplication app;
    QtGraphicsFactory graphics;
    TNibTavloHighlighter forth;
    std::map<int, std::unique_ptr<Editor>> editors;
};

Platform& ThePlatform()
{
    static Platform platform;
    return platform;
}

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void End(benchmark::State& state)
{
    TNibEdit& edit = ThePlatform().For(int(state.range(0))).edit;
    for (auto _ : state) {
        edit.SetCaretXY({1, 1});
        const auto start = std::chrono::steady_clock::now();
        edit.CommandProcessor(ecLineEnd, u'\0', nullptr);
        state.SetIterationTime(Since(start));
    }
}

void TypeAtTheEnd(benchmark::State& state)
{
    TNibEdit& edit = ThePlatform().For(int(state.range(0))).edit;
    for (auto _ : state) {
        edit.SetCaretXY({edit.Lines().LineCharLength(0) + 1, 1});
        const auto start = std::chrono::steady_clock::now();
        edit.CommandProcessor(ecChar, u'x', nullptr);
        state.SetIterationTime(Since(start));
        edit.Undo();
    }
}

void UndoTyping(benchmark::State& state)
{
    TNibEdit& edit = ThePlatform().For(int(state.range(0))).edit;
    for (auto _ : state) {
        edit.SetCaretXY({edit.Lines().LineCharLength(0) + 1, 1});
        edit.CommandProcessor(ecChar, u'x', nullptr);
        const auto start = std::chrono::steady_clock::now();
        edit.Undo();
        state.SetIterationTime(Since(start));
    }
}

void WrappedRepaint(benchmark::State& state)
{
    Platform::Editor& editor = ThePlatform().For(int(state.range(0)));
    TNibEdit& edit = editor.edit;
    edit.SetWordWrap(true);
    edit.SetTopLine(edit.DisplayLineCount() / 2);
    QImage image(WindowWidth, WindowHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QtCanvas canvas(image);
        const auto start = std::chrono::steady_clock::now();
        edit.Paint(canvas);
        canvas.Flush();
        state.SetIterationTime(Since(start));
        editor.host.Reset();
    }
    edit.SetWordWrap(false);
}

constexpr int Short = 1'000'000, Long = 10'000'000;
BENCHMARK(End)->Name("LongLine/End")->Arg(Short)->Arg(Long)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TypeAtTheEnd)->Name("LongLine/Type")->Arg(Short)->Arg(Long)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(UndoTyping)->Name("LongLine/UndoTyping")->Arg(Short)->Arg(Long)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(WrappedRepaint)->Name("LongLine/WrappedRepaint")->Arg(Short)->Arg(Long)->UseManualTime()->Unit(benchmark::kMillisecond);

/// The console report, followed by each action's time and ratio.
class LongLineReporter : public bench::RatioReporter {
protected:
    void Summary() override
    {
        for (const char* action : {"End", "Type", "UndoTyping", "WrappedRepaint"}) {
            const std::string name = std::string("LongLine/") + action;
            const std::string shorter = name + "/" + std::to_string(Short) + "/manual_time";
            const std::string longer = name + "/" + std::to_string(Long) + "/manual_time";
            if (Seconds(shorter) > 0) std::printf("%s: %.3f ms\n", shorter.c_str(), Seconds(shorter) * 1e3);
            PrintRatio(longer, shorter, 10.0);
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    LongLineReporter reporter;
    const int result = bench::RunBenchmarks(argc, argv, &reporter);
    // The editors go before the font records they share, which live as long as the program.
    ThePlatform().editors.clear();
    return result;
}
