// Block files of 4 MB: loading (records into lines, then the line normaliser) and saving (lines
// into records, written through a temporary file), as the Block Manager's open and save do.
// Goal: at least 100 MB/s each.
#include <benchmark/benchmark.h>

#include <string>
#include "blocks/BlockFile.h"
#include "blocks/BlockLines.h"
#include "support/TempFolder.h"

namespace {

constexpr int FileLines = 4 * 1024 * 1024 / BlockLineLength;

/// Records of Forth text, most of them partly blank, as real block files are.
std::string BlockBytes()
{
    std::string bytes;
    for (int i = 0; i < FileLines; ++i) {
        std::string line = i % 3 == 0 ? "" : ": WORD" + std::to_string(i) + " DUP * SWAP DROP ;";
        line.resize(BlockLineLength, ' ');
        bytes += line;
    }
    return bytes;
}

void BM_LoadBlockFile(benchmark::State& state)
{
    TempFolder folder;
    const std::string bytes = BlockBytes();
    folder.Write("load.blk", bytes);
    const UnicodeString name = folder.Name("load.blk");
    for (auto _ : state) {
        TStringList lines;
        LoadBlockFileLines(name, lines);
        WrapBlockLines(lines);
        benchmark::DoNotOptimize(lines.Count());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}

void BM_SaveBlockFile(benchmark::State& state)
{
    TempFolder folder;
    TStringList lines;
    ReadBlockStream(BlockBytes(), lines);
    WrapBlockLines(lines);
    const UnicodeString name = folder.Name("save.blk");
    for (auto _ : state) {
        if (!SaveBlockFile(name, lines).empty()) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(lines.Count()) * BlockLineLength);
}

}  // namespace

BENCHMARK(BM_LoadBlockFile)->Unit(benchmark::kMillisecond)->UseRealTime();
// Real time: the save waits for the disk.
BENCHMARK(BM_SaveBlockFile)->Unit(benchmark::kMillisecond)->UseRealTime();
