// Whole-text actions on 1,000,000 lines of generated Forth source in an editor with the Forth
// highlighter and a window: delete all, its undo and redo; Replace All of a common word; word wrap
// switched on; block indent of 100,000 lines, the one-column indent the Code Editor's F7 runs and its
// undo; a search through the whole text that finds nothing, ignoring case. Each prints its time
// relative to a plain pass over the same text measured in the same run (a copy of the whole text and one
// look at each character), so that one sees where it stands.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <utility>

#include "BenchHelpers.h"
#include "editor/NibEdit.h"
#include "editor/NibEditSearch.h"
#include "highlighter/NibHighlighterTavlo.h"
#include "support/FakeControlHost.h"
#include "support/ForthSource.h"
#include "support/RecordingCanvas.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int LineCount = 1'000'000;
constexpr int IndentedLines = 100'000;

const std::vector<UnicodeString>& SourceLines()
{
    static const std::vector<UnicodeString> lines = [] {
        std::vector<UnicodeString> l = ForthSourceLines(std::size_t(LineCount) * 48);
        l.resize(LineCount);
        return l;
    }();
    return lines;
}

const UnicodeString& SourceText()
{
    static const UnicodeString text = [] {
        UnicodeString t;
        for (const UnicodeString& line : SourceLines()) {
            t += line;
            t += u"\r\n";
        }
        return t;
    }();
    return text;
}

/// An editor as the Code Editor sets it up, in a window, holding the source.
struct LoadedEditor {
    LoadedEditor()
    {
        edit.SetTabWidth(2);
        edit.SetWantTabs(true);
        edit.SetHighlighter(&highlighter);
        edit.SetSearchEngine(&search);
        edit.Lines().SetText(SourceText());
        edit.ClearUndo();
    }
    RecordingGraphicsFactory graphics;
    TNibTavloHighlighter highlighter;
    TNibEditSearch search;
    TNibEdit edit;
    FakeControlHost host{edit, 640, 480};
};

/// Times `action` on a freshly loaded editor after an untimed `prepare`, one round per iteration.
void TimeOnFreshEditor(benchmark::State& state, const std::function<void(TNibEdit&)>& prepare,
                       const std::function<void(TNibEdit&)>& action)
{
    for (auto _ : state) {
        auto editor = std::make_unique<LoadedEditor>();
        prepare(editor->edit);
        const auto start = Clock::now();
        action(editor->edit);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}

void Nothing(TNibEdit&) {}

void DeleteAll(TNibEdit& edit)
{
    edit.SelectAll();
    edit.CommandProcessor(ecDeleteChar, u'\0', nullptr);
}

/// Selects the first IndentedLines lines whole.
void SelectIndentedLines(TNibEdit& edit) { edit.SetCaretAndSelection({1, IndentedLines + 1}, {1, 1}, {1, IndentedLines + 1}); }

/// The Code Editor's F7: a block indent by one column.
void IndentByOneColumn(TNibEdit& edit)
{
    const int tabWidth = edit.TabWidth();
    edit.SetTabWidth(1);
    edit.DoBlockIndent();
    edit.SetTabWidth(tabWidth);
}

void Baseline(benchmark::State& state)
{
    const UnicodeString& text = SourceText();
    // A first copy outside the timing takes the memory that the timed ones then reuse.
    benchmark::DoNotOptimize(UnicodeString(text).data());
    for (auto _ : state) {
        const UnicodeString copy = text;
        std::size_t blanks = 0;
        for (char16_t c : copy) blanks += c == u' ';
        benchmark::DoNotOptimize(blanks);
    }
}

void BM_DeleteAll(benchmark::State& state) { TimeOnFreshEditor(state, Nothing, DeleteAll); }
void BM_UndoDeleteAll(benchmark::State& state)
{
    TimeOnFreshEditor(state, DeleteAll, [](TNibEdit& edit) { edit.Undo(); });
}
void BM_RedoDeleteAll(benchmark::State& state)
{
    TimeOnFreshEditor(state, [](TNibEdit& edit) { DeleteAll(edit); edit.Undo(); }, [](TNibEdit& edit) { edit.Redo(); });
}
void BM_ReplaceAll(benchmark::State& state)
{
    int replaced = 0;
    TimeOnFreshEditor(state, Nothing, [&](TNibEdit& edit) {
        replaced = edit.SearchReplace(u"DUP", u"dup", {ssoMatchCase, ssoWholeWord, ssoReplaceAll, ssoEntireScope});
    });
    state.counters["replacements"] = replaced;
}
void BM_WordWrapOn(benchmark::State& state)
{
    TimeOnFreshEditor(state, Nothing, [](TNibEdit& edit) { edit.SetWordWrap(true); });
}
void BM_BlockIndent(benchmark::State& state)
{
    TimeOnFreshEditor(state, SelectIndentedLines, [](TNibEdit& edit) { edit.DoBlockIndent(); });
}
void BM_IndentByOneColumn(benchmark::State& state) { TimeOnFreshEditor(state, SelectIndentedLines, IndentByOneColumn); }
void BM_UndoIndentByOneColumn(benchmark::State& state)
{
    TimeOnFreshEditor(state, [](TNibEdit& edit) { SelectIndentedLines(edit); IndentByOneColumn(edit); },
                      [](TNibEdit& edit) { edit.Undo(); });
}
void BM_FindIgnoringCase(benchmark::State& state)
{
    TimeOnFreshEditor(state, Nothing, [](TNibEdit& edit) {
        benchmark::DoNotOptimize(edit.SearchReplace(u"Absent", u"", {ssoEntireScope}));
    });
}

// Each round loads a million lines outside the timing: a few rounds suffice.
constexpr int Rounds = 3;
BENCHMARK(Baseline)->Name("Big/Baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteAll)->Name("Big/DeleteAll")->UseManualTime()->Iterations(Rounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteAll)->Name("Big/UndoDeleteAll")->UseManualTime()->Iterations(Rounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteAll)->Name("Big/RedoDeleteAll")->UseManualTime()->Iterations(Rounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAll)->Name("Big/ReplaceAll")->UseManualTime()->Iterations(Rounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordWrapOn)->Name("Big/WordWrapOn")->UseManualTime()->Iterations(Rounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlockIndent)->Name("Big/BlockIndent")->UseManualTime()->Iterations(Rounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndentByOneColumn)->Name("Big/IndentByOneColumn")->UseManualTime()->Iterations(Rounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoIndentByOneColumn)->Name("Big/UndoIndentByOneColumn")->UseManualTime()->Iterations(Rounds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindIgnoringCase)->Name("Big/FindIgnoringCase")->UseManualTime()->Iterations(Rounds)->Unit(benchmark::kMillisecond);

/// The console report, followed by each action's time relative to the plain pass. Where a mature
/// editor component's time for the same work is known (measured outside the project: delete all
/// 143 ms, its undo 282 ms, its redo 103 ms), the goal is that time over a pass of about 14 ms; the
/// others hold the ratio this code reached, as a bar against going back (the undo of an indent by one
/// column undoes the whole step of 100,000 lines, however far past the undo limit it goes).
class BigActionsReporter : public bench::RatioReporter {
protected:
    void Summary() override
    {
        const std::pair<const char*, double> goals[] = {
            {"DeleteAll", 10},   {"UndoDeleteAll", 20},     {"RedoDeleteAll", 7.5},
            {"ReplaceAll", 25},  {"WordWrapOn", 6},         {"BlockIndent", 5},
            {"IndentByOneColumn", 10}, {"UndoIndentByOneColumn", 10}, {"FindIgnoringCase", 5},
        };
        for (const auto& [action, goal] : goals)
            PrintRatio(std::string("Big/") + action + "/iterations:" + std::to_string(Rounds) + "/manual_time", "Big/Baseline", goal);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    // Freed memory stays with the program between rounds, so that no round pays for fresh pages
    // that another got for free; blocks of tens of megabytes too, which would otherwise be mapped
    // and unmapped each time.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    BigActionsReporter reporter;
    return bench::RunBenchmarks(argc, argv, &reporter);
}
