// Commands that touch one line of a 1,000,000-line Forth text in the highlighted editor, and the
// widths that the horizontal scroll range needs: the load, the Code Editor's indent by one column
// (F7: tab width 1, block indent, tab width back) on one line, the arrow key after it, and a change
// of tab width. Each prints its time; the loads (with the highlighter and without, where the lines'
// widths are what is left) also their ratios to a plain baseline of the same data (a copy of the
// text and one pass over its characters).
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

/// An editor in a window, with the Forth highlighter unless told, the text loaded when told, the
/// caret in the middle.
struct Editor {
    explicit Editor(bool load, bool highlighted = true)
    {
        for (const UnicodeString& word : ForthBaseWords()) forth.KeyWords().Add(word);
        if (highlighted) edit.SetHighlighter(&forth);
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

/// The text copied into lines, each of its characters read once.
void CopyBaseline(benchmark::State& state)
{
    const std::u16string_view text = BigText();
    for (auto _ : state) {
        std::vector<UnicodeString> lines;
        std::size_t start = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != u'\n') continue;
            lines.emplace_back(text.substr(start, i - 1 - start));
            start = i + 1;
        }
        benchmark::DoNotOptimize(lines.data());
    }
}

/// The text set into an editor in a window: lines, ranges when highlighted, widths and scroll bars.
void Load(benchmark::State& state, bool highlighted)
{
    const UnicodeString& text = BigText();
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<Editor>(false, highlighted);
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
BENCHMARK_CAPTURE(Load, Highlighted, true)->Name("Widths/Load")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Load, Plain, false)->Name("Widths/LoadPlain")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(IndentOneLine)->Name("Widths/IndentOneLine")->Unit(benchmark::kMicrosecond);
BENCHMARK(ArrowAfterIndent)->Name("Widths/ArrowAfterIndent")->Unit(benchmark::kMicrosecond);
BENCHMARK(TabWidthChange)->Name("Widths/TabWidthChange")->Unit(benchmark::kMicrosecond);

/// The console report, followed by the load's ratio and the single-line commands' goal.
class WidthsReporter : public bench::RatioReporter {
protected:
    void Summary() override
    {
        PrintRatio("Widths/Load/iterations:3", "Widths/CopyBaseline", 3.0);
        PrintRatio("Widths/LoadPlain/iterations:3", "Widths/CopyBaseline", 3.0);
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
