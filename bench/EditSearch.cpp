// The search engine finding a word in 10 MB of generated Forth source, one line at a time as the
// editor's search does. Prints code units per second (counted as bytes).
#include <benchmark/benchmark.h>

#include "editor/NibEditSearch.h"
#include "support/ForthSource.h"

namespace {

void Search(benchmark::State& state, TNibSearchOptions options)
{
    const std::vector<UnicodeString> lines = ForthSourceLines(10 * 1024 * 1024);
    std::size_t units = 0;
    for (const auto& l : lines) units += l.size();
    TNibEditSearch search;
    search.SetOptions(options);
    search.SetPattern(u"counter");
    for (auto _ : state) {
        int found = 0;
        for (const auto& line : lines) found += search.FindAll(line);
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(units));
}

void BM_SearchIgnoringCase(benchmark::State& state) { Search(state, {}); }
void BM_SearchWholeWordMatchCase(benchmark::State& state) { Search(state, {ssoMatchCase, ssoWholeWord}); }
BENCHMARK(BM_SearchIgnoringCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchWholeWordMatchCase)->Unit(benchmark::kMillisecond);

} // namespace
