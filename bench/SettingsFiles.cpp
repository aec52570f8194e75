// Settings and key-map files of many entries loaded as the program loads them (read, decoded,
// parsed into the store). Settings files of 100,000, 200,000 and 1,000,000 keys in ten sections,
// and a key map of 100,000 sections; the time per key of the larger files relative to the
// smallest is printed at the end (goal: at most 1.5, as a load in linear time gives), and
// 1,000,000 keys should load in about a second.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <chrono>
#include <string>
#include "BenchHelpers.h"
#include "settings/ConfigObject.h"
#include "support/TempFolder.h"

namespace {

constexpr int kSections = 10;

/// A settings file of the given number of keys, spread evenly over ten sections.
std::string SettingsText(int keys)
{
    std::string text;
    for (int s = 0; s < kSections; ++s) {
        text += "[Section " + std::to_string(s) + "]\r\n";
        for (int k = s; k < keys; k += kSections)
            text += "Key" + std::to_string(k) + "=Value of key " + std::to_string(k) + "\r\n";
    }
    return text;
}

/// A key map of the given number of sections, each binding two keys.
std::string KeyMapText(int sections)
{
    std::string text;
    for (int s = 0; s < sections; ++s)
        text += "[State_" + std::to_string(s) + "]\r\nF1=^[OP\r\nUp Arrow=^[[A\r\n";
    return text;
}

/// Loads a file of text into a store, items (keys or sections) at a time. The first load, timed
/// apart as first_load_ms, takes fresh pages from the system, which the timed loads reuse: on a
/// busy virtual machine those pages cost more than the parsing.
void Load(benchmark::State& state, const std::string& text, int items)
{
    TempFolder folder;
    folder.Write("load.config", text);
    const UnicodeString name = folder.Name("load.config");
    const auto start = std::chrono::steady_clock::now();
    {
        TNrKeyValueSections first;
        first.LoadFromFile(name);
    }
    state.counters["first_load_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    for (auto _ : state) {
        TNrKeyValueSections store;
        if (!store.LoadFromFile(name)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(store.SectionCount());
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * items);
}

void BM_LoadSettingsKeys(benchmark::State& state)
{
    const int keys = int(state.range(0));
    Load(state, SettingsText(keys), keys);
}

void BM_LoadKeyMapSections(benchmark::State& state)
{
    const int sections = int(state.range(0));
    Load(state, KeyMapText(sections), sections);
}

constexpr int kFewKeys = 100'000;

/// The console report, followed by the time per key of each larger file relative to the smallest.
class SettingsFilesReporter : public bench::RatioReporter {
protected:
    void Summary() override
    {
        const std::string base = "BM_LoadSettingsKeys/" + std::to_string(kFewKeys) + "/real_time";
        const double baseRate = Counter(base, "items_per_second");
        for (int keys : {200'000, 1'000'000}) {
            const std::string name = "BM_LoadSettingsKeys/" + std::to_string(keys) + "/real_time";
            const double rate = Counter(name, "items_per_second");
            if (rate <= 0 || baseRate <= 0) continue;
            std::printf("%s: time per key %.3f times that of %s (goal: at most 1.50)\n", name.c_str(),
                        baseRate / rate, base.c_str());
        }
        if (const double seconds = Seconds("BM_LoadSettingsKeys/1000000/real_time"); seconds > 0)
            std::printf("1,000,000 keys load in %.2f s (goal: about 1)\n", seconds);
    }
};

}  // namespace

BENCHMARK(BM_LoadSettingsKeys)
    ->Arg(kFewKeys)
    ->Arg(200'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LoadKeyMapSections)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // Freed memory stays with the program between rounds, so that no round pays for fresh pages
    // that another did not.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    SettingsFilesReporter reporter;
    return bench::RunBenchmarks(argc, argv, &reporter);
}
