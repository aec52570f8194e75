// The receive path: bytes through RxChar into the screen model, no drawing side attached.
// Prints bytes per second for each stream and, at the end, each stream's ratio to a plain copy
// of the same number of bytes measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include "BenchHelpers.h"
#include "ReceiveStreams.h"

namespace {

using namespace bench;

void Receive(benchmark::State& state, const Bytes& bytes)
{
    Receiver receiver;
    for (auto _ : state) {
        receiver.Receive(bytes);
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
class ReceiveReporter : public bench::RatioReporter {
protected:
    void Summary() override
    {
        const double copy = Counter("Receive/Copy", "bytes_per_second");
        if (copy <= 0) return;
        for (const char* name : {"Receive/Text", "Receive/Mixed"}) {
            const double stream = Counter(name, "bytes_per_second");
            if (stream <= 0) continue;
            std::printf("%s: %.1f MB/s, %.4f of Receive/Copy (%.1f MB/s)\n", name, stream / 1e6, stream / copy,
                        copy / 1e6);
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    ReceiveReporter reporter;
    return bench::RunBenchmarks(argc, argv, &reporter);
}
