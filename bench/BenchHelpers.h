#pragma once
// What the benchmark programs share: the toolkit started offscreen, and a console report that
// keeps every run's time and counters so that a program can print its ratios after the table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <QGuiApplication>

namespace bench {

/// The toolkit's application object on the offscreen platform unless the caller chose another.
struct OffscreenApplication {
    OffscreenApplication()
    {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    int argc = 1;
    char name[6] = "bench";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
};

/// The console report, followed by what Summary prints from the runs it kept.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || !run.aggregate_name.empty()) continue;
            const std::string name = run.benchmark_name();
            fSeconds[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto& [counter, value] : run.counters) fCounters[name][counter] = value.value;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        Summary();
    }

protected:
    /// Prints the program's ratios; called once, after the table.
    virtual void Summary() = 0;

    /// Real time per iteration of the named benchmark in seconds; 0 when it did not run.
    double Seconds(const std::string& benchmark) const
    {
        const auto found = fSeconds.find(benchmark);
        return found == fSeconds.end() ? 0 : found->second;
    }

    /// The named benchmark's counter (such as "bytes_per_second"); 0 when it has none.
    double Counter(const std::string& benchmark, const std::string& counter) const
    {
        const auto found = fCounters.find(benchmark);
        if (found == fCounters.end()) return 0;
        const auto value = found->second.find(counter);
        return value == found->second.end() ? 0 : value->second;
    }

    /// Prints the named benchmark's time relative to the baseline's and the goal for it; nothing
    /// when either did not run.
    void PrintRatio(const std::string& measured, const std::string& baseline, double goal) const
    {
        const double m = Seconds(measured), b = Seconds(baseline);
        if (m <= 0 || b <= 0) return;
        std::printf("%s: %.3f times %s (goal: at most %.2f)\n", measured.c_str(), m / b, baseline.c_str(), goal);
    }

private:
    std::map<std::string, double> fSeconds;
    std::map<std::string, std::map<std::string, double>> fCounters;
};

/// A benchmark program's main: runs the benchmarks the command line selects, reported by the given
/// reporter or, without one, by the one the command line chooses.
inline int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter* reporter = nullptr)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks(reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
