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
#include "app/ReceiveProcedure.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t StreamSize = 64 * 1024;

void Append(Bytes& bytes, const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }

/// Printable text, CR LF after every 80 characters.
Bytes TextStream()
{
    Bytes bytes;
    int next = 0;
    while (bytes.size() < StreamSize) {
        for (int i = 0; i < 80; ++i) bytes.push_back(std::uint8_t(33 + (next++ % 94)));
        bytes.push_back(13);
        bytes.push_back(10);
    }
    bytes.resize(StreamSize);
    // End on a whole line so that every pass starts at the same place.
    bytes.back() = 10;
    bytes[bytes.size() - 2] = 13;
    return bytes;
}

/// A full-screen program's output: clear screen, positioned fields, tabs, partial clears.
Bytes MixedStream()
{
    Bytes bytes;
    int frame = 0;
    while (bytes.size() < StreamSize) {
        bytes.push_back(0);
        for (std::uint8_t row = 0; row < 20; ++row) {
            bytes.insert(bytes.end(), {2, row, std::uint8_t(row % 7)});
            Append(bytes, "Field " + std::to_string(frame) + ":" + std::to_string(row));
            bytes.push_back(9);
            Append(bytes, "value");
            bytes.push_back(9);
            Append(bytes, "1234.5");
            bytes.push_back(11);
            bytes.insert(bytes.end(), {14, 60});
            Append(bytes, "[ok]");
            bytes.insert(bytes.end(), {15, 22});
            Append(bytes, "status line text");
            bytes.insert(bytes.end(), {13, 10});
        }
        bytes.insert(bytes.end(), {2, 21, 0, 12});
        ++frame;
    }
    return bytes;
}

const Bytes& Text()
{
    static const Bytes bytes = TextStream();
    return bytes;
}

const Bytes& Mixed()
{
    static const Bytes bytes = MixedStream();
    return bytes;
}

/// The main window's receive set-up with the default options.
struct Receiver {
    Receiver()
    {
        Terminal.SetRows(Options.DisplayRows);
        Terminal.SetColumns(Options.DisplayColumns);
        Terminal.SetHorzTabSpacing(Options.DisplayTabSize);
        // The model alone, without its drawing side.
        Terminal.SetObserver(nullptr);
    }

    TSimpleTerminal Terminal;
    TComOkBuffer ComOkBuffer;
    TConfigTermOptions Options;
    bool InPaste = false;
    bool AbortPaste = false;
    TRxState State;
    TRxContext Context{Terminal, ComOkBuffer, Options, InPaste, AbortPaste, [](std::uint8_t) {}, [] {}};
};

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
