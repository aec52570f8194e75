// Replace All of a common word ("DUP") in 1,000 and in 100,000 lines (about 4 MB) of generated
// Forth source through the editor: the time per replacement must not grow with the buffer. The
// large run prints its ratio to the small one measured in the same run (goal: at most 1.5).
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>

#include "editor/NibEdit.h"
#include "editor/NibEditSearch.h"
#include "support/ForthSource.h"
#include "support/RecordingCanvas.h"

namespace {

std::map<int, double> SecondsPerReplacement;

void BM_ReplaceAll(benchmark::State& state)
{
    const int lineCount = int(state.range(0));
    std::vector<UnicodeString> lines = ForthSourceLines(std::size_t(lineCount) * 48);
    lines.resize(std::size_t(lineCount));
    RecordingGraphicsFactory graphics;
    TNibEdit edit;
    TNibEditSearch engine;
    edit.SetSearchEngine(&engine);
    double seconds = 0;
    int replaced = 0;
    for (auto _ : state) {
        edit.Lines().Clear();
        for (const UnicodeString& line : lines) edit.Lines().Add(line);
        edit.ClearUndo();
        const auto start = std::chrono::steady_clock::now();
        replaced += edit.SearchReplace(u"DUP", u"DUP2", {ssoMatchCase, ssoWholeWord, ssoReplaceAll, ssoEntireScope});
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        seconds += elapsed;
        state.SetIterationTime(elapsed);
    }
    const double perReplacement = replaced > 0 ? seconds / replaced : 0;
    SecondsPerReplacement[lineCount] = perReplacement;
    state.counters["replacements"] = double(replaced) / double(state.iterations());
    state.counters["us_per_replacement"] = perReplacement * 1e6;
    const auto small = SecondsPerReplacement.find(1000);
    if (lineCount != 1000 && small != SecondsPerReplacement.end() && small->second > 0)
        state.counters["ratio_to_1000_lines"] = perReplacement / small->second;
}
BENCHMARK(BM_ReplaceAll)->Arg(1000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
