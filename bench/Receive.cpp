// The receive path: bytes through RxChar into the screen model, no drawing side attached.
// Prints bytes per second for each stream and, at the end, each stream's ratio to a plain copy
// of the same number of bytes measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>
#include "ReceiveStreams.h"

namespace {

using namespace bench;

void Receive(benchmark::State& state, const Bytes& bytes)
{
    Receiver receiver;
    for (auto _ : state) {
        for (std::uint8_t b : bytes) RxChar(receiver.State, receiver.Context, b);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}

void ReceiveText(benchmark::State& state) { Receive(state, Text()); }
void ReceiveMixed(benchmark::State& state) { Receive(state, Mixed()); }

void ReceiveCopy(benchmark::State& state)
{
    const Bytes& source = Text();
    Bytes target(source.size());
    for (auto _ : state) {
        std::copy(source.begin(), source.end(), target.begin());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(source.size()));
}

BENCHMARK(ReceiveCopy)->Name("Receive/Copy");
BENCHMARK(ReceiveText)->Name("Receive/Text");
BENCHMARK(ReceiveMixed)->Name("Receive/Mixed");

/// The console report, followed by one line per stream with its speed relative to the copy.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto rate = run.counters.find("bytes_per_second");
            if (run.error_occurred || !run.aggregate_name.empty() || rate == run.counters.end()) continue;
            fBytesPerSecond[run.benchmark_name()] = rate->second.value;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto copy = fBytesPerSecond.find("Receive/Copy");
        if (copy == fBytesPerSecond.end() || copy->second <= 0) return;
        for (const char* name : {"Receive/Text", "Receive/Mixed"}) {
            const auto stream = fBytesPerSecond.find(name);
            if (stream == fBytesPerSecond.end()) continue;
            std::printf("%s: %.1f MB/s, %.4f of Receive/Copy (%.1f MB/s)\n", name, stream->second / 1e6,
                        stream->second / copy->second, copy->second / 1e6);
        }
    }

private:
    std::map<std::string, double> fBytesPerSecond;
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
