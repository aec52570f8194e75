// Commands that touch one line of a 1,000,000-line Forth text in the highlighted editor, and the
// widths that the horizontal scroll range needs: the load, the Code Editor's indent by one column
// (F7: tab width 1, block indent, tab width back) on one line, the arrow key after it, and a change
// of tab width. Each prints its time; the load also its ratio to a plain baseline of the same data
// (a copy of the text and one pass over its characters).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "BenchHelpers.h"
#include "editor/NibEdit.h"
#include "highlighter/NibHighlighterTavlo.h"
#include "support/FakeControlHost.h"
#include "support/ForthSource.h"
#include "support/RecordingCanvas.h"

namespace {

constexpr int LineCount = 1'000'000;

const UnicodeString& BigText()
{
    static const UnicodeString text = [] {
        std::vector<UnicodeString> lines = ForthSourceLines(std::size_t(LineCount) * 48);
        lines.resize(LineCount);
        UnicodeString joined;
        for (const UnicodeString& line : lines) joined += line + u"\r\n";
        return joined;
    }();
    return text;
}

/// An editor in a window with the Forth highlighter, the text loaded, the caret in the middle.
struct Editor {
    explicit Editor(bool load)
    {
        for (const UnicodeString& word : ForthBaseWords()) forth.KeyWords().Add(word);
        edit.SetHighlighter(&forth);
        if (load) edit.Lines().SetText(BigText());
        edit.SetCaretXY({1, LineCount / 2});
    }
    ~Editor() { edit.SetHighlighter(nullptr); }
    RecordingGraphicsFactory graphics;
    TNibTavloHighlighter forth;
    TNibEdit edit;
    FakeControlHost host{edit, 640, 480};
};

Editor& Loaded()
{
    static Editor editor(true);
    return editor;
}

void Indent(TNibEdit& edit)
{
    const int tabWidth = edit.TabWidth();
    edit.SetTabWidth(1);
    edit.DoBlockIndent();
    edit.SetTabWidth(tabWidth);
}

/// The text copied and each of its characters read once.
void CopyBaseline(benchmark::State& state)
{
    const UnicodeString& text = BigText();
    for (auto _ : state) {
        UnicodeString copy = text;
        std::size_t breaks = 0;
        for (char16_t c : copy) breaks += c == u'\n';
        benchmark::DoNotOptimize(breaks);
    }
}

/// The text set into a highlighted editor in a window: lines, ranges, widths and scroll bars.
void Load(benchmark::State& state)
{
    const UnicodeString& text = BigText();
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<Editor>(false);
        state.ResumeTiming();
        editor->edit.Lines().SetText(text);
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
}

/// F7 on the caret's line, its undo outside the timing.
void IndentOneLine(benchmark::State& state)
{
    TNibEdit& edit = Loaded().edit;
    for (auto _ : state) {
        Indent(edit);
        state.PauseTiming();
        edit.Undo();
        Loaded().host.Reset();
        state.ResumeTiming();
    }
}

/// The arrow key right after F7: the scroll range that F7 left to find.
void ArrowAfterIndent(benchmark::State& state)
{
    TNibEdit& edit = Loaded().edit;
    for (auto _ : state) {
        state.PauseTiming();
        Indent(edit);
        state.ResumeTiming();
        edit.CommandProcessor(ecDown, u'\0', nullptr);
        state.PauseTiming();
        edit.CommandProcessor(ecUp, u'\0', nullptr);
        edit.Undo();
        Loaded().host.Reset();
        state.ResumeTiming();
    }
}

/// A change of tab width, with the scroll bars brought up to date.
void TabWidthChange(benchmark::State& state)
{
    TNibEdit& edit = Loaded().edit;
    int width = 8;
    for (auto _ : state) {
        width = width == 8 ? 3 : 8;
        edit.SetTabWidth(width);
        edit.UpdateScrollBars();
        state.PauseTiming();
        Loaded().host.Reset();
        state.ResumeTiming();
    }
    edit.SetTabWidth(8);
}

BENCHMARK(CopyBaseline)->Name("Widths/CopyBaseline")->Unit(benchmark::kMillisecond);
BENCHMARK(Load)->Name("Widths/Load")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(IndentOneLine)->Name("Widths/IndentOneLine")->Unit(benchmark::kMicrosecond);
BENCHMARK(ArrowAfterIndent)->Name("Widths/ArrowAfterIndent")->Unit(benchmark::kMicrosecond);
BENCHMARK(TabWidthChange)->Name("Widths/TabWidthChange")->Unit(benchmark::kMicrosecond);

/// The console report, followed by the load's ratio and the single-line commands' goal.
class WidthsReporter : public bench::RatioReporter {
protected:
    void Summary() override
    {
        PrintRatio("Widths/Load/iterations:3", "Widths/CopyBaseline", 10.0);
        for (const char* name : {"Widths/IndentOneLine", "Widths/ArrowAfterIndent", "Widths/TabWidthChange"})
            if (Seconds(name) > 0) std::printf("%s: %.3f ms (goal: under 5 ms)\n", name, Seconds(name) * 1e3);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    WidthsReporter reporter;
    return bench::RunBenchmarks(argc, argv, &reporter);
}
