// The Forth highlighter scanning 10 MB of generated source line by line, as the editor's painting
// and range rescans do. Prints code units per second (counted as bytes).
#include <benchmark/benchmark.h>

#include "highlighter/NibHighlighterTavlo.h"
#include "support/ForthSource.h"

namespace {

void BM_ScanForthSource(benchmark::State& state)
{
    const std::vector<UnicodeString> lines = ForthSourceLines(10 * 1024 * 1024);
    std::size_t units = 0;
    for (const auto& l : lines) units += l.size();
    TNibTavloHighlighter h;
    for (const auto& w : ForthBaseWords()) h.KeyWords().Add(w);
    for (int i = 0; i < 50; ++i) h.LocalWords().Add(u"word" + FromAnsi(std::to_string(i)));
    for (auto _ : state) {
        int tokens = 0;
        h.ResetRange();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            h.SetLine(lines[i], int(i) + 1);
            while (!h.GetEol()) {
                tokens += h.GetTokenKind();
                h.Next();
            }
            h.SetRange(h.GetRange());
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(units));
}
BENCHMARK(BM_ScanForthSource)->Unit(benchmark::kMillisecond);

} // namespace
