// The editor's text buffer: loading a large text, the first Enter in the middle of it after the
// load, later Enters there, and a character index after a change. Prints each load's speed and, at
// the end, the load's time relative to a plain split of the same bytes, the first insert's time
// relative to the load, and the time of the later middle inserts relative to the same inserts in a
// small buffer, all measured in the same run.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchHelpers.h"
#include "editor/NibEditTextBuffer.h"

namespace {

constexpr int BigLineCount = 1'000'000;
constexpr int SmallLineCount = 1'000;
constexpr int InsertCount = 1'000;

/// About 40 bytes a line, CR LF breaks, as Forth source looks.
std::string MakeText(int lineCount)
{
    static const char* const words[] = {"dup", "swap", "over", "drop", "rot", "2dup", "+loop", ": sq", ";"};
    std::string text;
    text.reserve(std::size_t(lineCount) * 42);
    for (int i = 0; i < lineCount; ++i) {
        text += std::to_string(i);
        for (int w = 0; text.size() % 42 < 36; ++w) {
            text += ' ';
            text += words[(i + w) % 9];
        }
        text += "\r\n";
    }
    return text;
}

const std::string& BigText()
{
    static const std::string text = MakeText(BigLineCount);
    return text;
}

/// The same bytes widened and split into lines with the standard library alone.
void SplitBaseline(benchmark::State& state)
{
    const std::string& bytes = BigText();
    for (auto _ : state) {
        std::vector<std::u16string> lines;
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t end = bytes.find('\n', start);
            if (end == std::string::npos) end = bytes.size();
            const std::size_t stop = end > start && bytes[end - 1] == '\r' ? end - 1 : end;
            lines.emplace_back(bytes.begin() + std::ptrdiff_t(start), bytes.begin() + std::ptrdiff_t(stop));
            start = end + 1;
        }
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}

/// Decoding, splitting into line records, and the longest line.
void Load(benchmark::State& state)
{
    const std::string& bytes = BigText();
    for (auto _ : state) {
        TNibEditStringList lines;
        lines.SetText(DecodeText(bytes));
        benchmark::DoNotOptimize(lines.LengthOfLongestLine());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}

/// One Enter in the middle of a buffer just loaded: the load and the list's release lie outside
/// the timing.
void FirstInsert(benchmark::State& state)
{
    const UnicodeString text = DecodeText(BigText());
    for (auto _ : state) {
        state.PauseTiming();
        auto lines = std::make_unique<TNibEditStringList>();
        lines->SetText(text);
        state.ResumeTiming();
        lines->Insert(BigLineCount / 2, u"");
        state.PauseTiming();
        lines.reset();
        state.ResumeTiming();
    }
}

/// Enter typed InsertCount times in the middle of a buffer; the new lines are removed again
/// between rounds, outside the timing. One insert before the timing takes the first one's cost
/// (FirstInsert) out of the rounds.
void InsertInTheMiddle(benchmark::State& state, int lineCount)
{
    TNibEditStringList lines;
    lines.SetText(DecodeText(MakeText(lineCount)));
    const int middle = lineCount / 2;
    lines.Insert(middle, u"");
    lines.Delete(middle);
    for (auto _ : state) {
        for (int k = 0; k < InsertCount; ++k) lines.Insert(middle + k, u"");
        state.PauseTiming();
        lines.DeleteLines(middle, InsertCount);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * InsertCount);
}

void InsertBig(benchmark::State& state) { InsertInTheMiddle(state, BigLineCount); }
void InsertSmall(benchmark::State& state) { InsertInTheMiddle(state, SmallLineCount); }

/// A character index near the end after a change: one pass over every line.
void CharIndexAfterChange(benchmark::State& state)
{
    TNibEditStringList lines;
    lines.SetText(DecodeText(BigText()));
    for (auto _ : state) {
        lines.Put(0, u"changed");
        benchmark::DoNotOptimize(lines.LineCharIndex(lines.Count() - 2));
    }
}

BENCHMARK(SplitBaseline)->Name("Buffer/SplitBaseline")->Unit(benchmark::kMillisecond);
BENCHMARK(Load)->Name("Buffer/Load")->Unit(benchmark::kMillisecond);
// A few rounds: each loads a million lines outside the timing.
BENCHMARK(FirstInsert)->Name("Buffer/FirstInsert")->Unit(benchmark::kMicrosecond)->Iterations(5);
BENCHMARK(InsertSmall)->Name("Buffer/InsertSmall")->Unit(benchmark::kMicrosecond);
BENCHMARK(InsertBig)->Name("Buffer/InsertBig")->Unit(benchmark::kMicrosecond);
BENCHMARK(CharIndexAfterChange)->Name("Buffer/CharIndexAfterChange")->Unit(benchmark::kMillisecond);

/// The console report, followed by the three ratios and their goals.
class BufferReporter : public bench::RatioReporter {
protected:
    void Summary() override
    {
        PrintRatio("Buffer/Load", "Buffer/SplitBaseline", 3.0);
        PrintRatio("Buffer/FirstInsert/iterations:5", "Buffer/Load", 0.05);
        PrintRatio("Buffer/InsertBig", "Buffer/InsertSmall", 1.5);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    BufferReporter reporter;
    return bench::RunBenchmarks(argc, argv, &reporter);
}
