// Bytes per second from the fake target to OnRxByte over a pseudo-terminal and over loopback TCP,
// each with its ratio (counter "vs_pipe") to a plain pipe's rate measured in the same run.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>
#include "link/ConnectionManager.h"
#include "platform/ManualLoop.h"
#include "support/FakeTarget.h"

namespace {

constexpr std::size_t kBlock = 8u << 20;
double gPipeRate = 0;

/// Counts received bytes and checks that they keep counting 0..255 without a gap.
struct PatternCheck {
    std::size_t count = 0;
    bool intact = true;
    void Add(std::uint8_t b)
    {
        intact = intact && b == std::uint8_t(count);
        ++count;
    }
};

void Finish(benchmark::State& state, std::size_t bytes, bool intact)
{
    if (!intact) state.SkipWithError("bytes lost or out of order");
    state.SetBytesProcessed(std::int64_t(bytes));
}

void Pipe(benchmark::State& state)
{
    int fds[2];
    if (pipe(fds) != 0) {
        state.SkipWithError("no pipe");
        return;
    }
    std::vector<std::uint8_t> out(kBlock), in(65536);
    for (std::size_t i = 0; i < kBlock; ++i) out[i] = std::uint8_t(i);
    std::size_t total = 0;
    bool intact = true;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        std::thread writer([&] {
            for (std::size_t sent = 0; sent < kBlock;) {
                const ssize_t n = write(fds[1], out.data() + sent, kBlock - sent);
                if (n <= 0) return;
                sent += std::size_t(n);
            }
        });
        PatternCheck check;
        while (check.count < kBlock) {
            const ssize_t n = read(fds[0], in.data(), in.size());
            if (n <= 0) break;
            for (ssize_t i = 0; i < n; ++i) check.Add(in[std::size_t(i)]);
        }
        writer.join();
        intact = intact && check.intact && check.count == kBlock;
        total += check.count;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    gPipeRate = double(total) / seconds;
    close(fds[0]);
    close(fds[1]);
    Finish(state, total, intact);
}

/// Sends kBlock bytes from the target for each iteration and runs the loop until all have arrived.
template <typename Target, typename OpenFn>
void Link(benchmark::State& state, OpenFn open)
{
    ManualLoop loop;
    MainLoop::SetCurrent(&loop);
    Target target;
    bool intact = true;
    std::size_t total = 0;
    {
        TConnectionMod link;
        PatternCheck check;
        link.OnRxByte = [&](TObject*, std::uint8_t b) { check.Add(b); };
        int connected = 0;
        link.OnConnected = [&](TObject*) { ++connected; };
        open(link, target);
        if (!loop.RunUntil([&] { return connected > 0; })) {
            state.SkipWithError("no connection");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        for (auto _ : state) {
            check = PatternCheck();
            target.SendPattern(kBlock);
            if (!loop.RunUntil([&] { return check.count >= kBlock; }, 30000)) break;
            intact = intact && check.intact && check.count == kBlock;
            total += check.count;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (gPipeRate > 0) state.counters["vs_pipe"] = double(total) / seconds / gPipeRate;
        state.counters["MB_per_s"] = double(total) / seconds / 1e6;
    }
    loop.RunUntil([] { return false; }, 50);
    Finish(state, total, intact);
}

void Pty(benchmark::State& state)
{
    Link<FakePtyTarget>(state, [](TConnectionMod& link, FakePtyTarget& target) {
        TComOptions options;
        options.SetBaudRate(Com_br115200);
        options.SetDataBits(Com_dbEight);
        link.OpenComPort(FromUtf8(target.SlavePath()), options);
    });
}

void Tcp(benchmark::State& state)
{
    Link<FakeTcpTarget>(state, [](TConnectionMod& link, FakeTcpTarget& target) {
        link.OpenTcpPort(u"127.0.0.1", FromUtf8(std::to_string(target.Port())));
    });
}

const int registered = [] {
    benchmark::RegisterBenchmark("Link/Pipe", Pipe)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Link/Pty", Pty)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("Link/Tcp", Tcp)->Unit(benchmark::kMillisecond)->UseRealTime();
    return 0;
}();

}  // namespace
