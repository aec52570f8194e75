// Typing 10,000 keys one at a time at the end of a 1,000-line and of a 1,000,000-line text, through
// the editor's command path with a host attached (a line break after every 60 characters). Prints
// microseconds per key and, for the long text, its ratio "vs_1000_lines" to the short one's time
// measured in the same run (the goal is at most 1.5).
#include <benchmark/benchmark.h>

#include <chrono>

#include "editor/NibEdit.h"
#include "support/FakeControlHost.h"
#include "support/RecordingCanvas.h"

namespace {

constexpr int kKeys = 10000;
double gShortTextSecondsPerKey = 0;

void TypeAtTheEnd(benchmark::State& state, int lineCount, double* baseline)
{
    RecordingGraphicsFactory graphics;
    TNibEdit edit;
    edit.Lines().BeginUpdate();
    for (int i = 0; i < lineCount; ++i) edit.Lines().Add(u": word" + IntToStr(i) + u" dup + swap ;");
    edit.Lines().EndUpdate();
    FakeControlHost host(edit, 640, 480);
    double seconds = 0;
    std::int64_t keys = 0;
    for (auto _ : state) {
        const int last = edit.Lines().Count();
        edit.SetCaretXY({edit.Lines().LineCharLength(last - 1) + 1, last});
        host.Reset();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 1; i <= kKeys; ++i) {
            if (i % 61 == 0) edit.CommandProcessor(ecLineBreak, u'\r', nullptr);
            else edit.CommandProcessor(ecChar, char16_t(u'a' + i % 26), nullptr);
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        keys += kKeys;
    }
    const double perKey = seconds / double(keys);
    state.counters["us_per_key"] = perKey * 1e6;
    if (baseline) *baseline = perKey;
    else if (gShortTextSecondsPerKey > 0) state.counters["vs_1000_lines"] = perKey / gShortTextSecondsPerKey;
}

void BM_TypeInThousandLines(benchmark::State& state) { TypeAtTheEnd(state, 1000, &gShortTextSecondsPerKey); }
void BM_TypeInMillionLines(benchmark::State& state) { TypeAtTheEnd(state, 1000000, nullptr); }
BENCHMARK(BM_TypeInThousandLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeInMillionLines)->Unit(benchmark::kMillisecond);

} // namespace
