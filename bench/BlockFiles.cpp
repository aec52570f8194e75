// Block files of 4 MB: loading (records into lines, then the line normaliser) and saving (lines
// into records, written through a temporary file), as the Block Manager's open and save do.
// Goal: at least 100 MB/s each. Also a text file of one long line of Forth opened as the Block
// Manager opens text, at two lengths; the longer one's time relative to the shorter one is printed
// at the end (goal: at most 2.5 for twice the length, as a split in one pass gives).
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <string>
#include "BenchHelpers.h"
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

/// Reading a file of the given bytes with Loader and wrapping its lines, as the Block Manager
/// opens files.
void OpenFile(benchmark::State& state, const std::string& bytes,
              bool (*Loader)(const UnicodeString&, TStringList&, UnicodeString*))
{
    TempFolder folder;
    folder.Write("open", bytes);
    const UnicodeString name = folder.Name("open");
    for (auto _ : state) {
        TStringList lines;
        Loader(name, lines, nullptr);
        WrapBlockLines(lines);
        benchmark::DoNotOptimize(lines.Count());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}

void BM_LoadBlockFile(benchmark::State& state) { OpenFile(state, BlockBytes(), LoadBlockFileLines); }

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

/// One line of Forth definitions, Size bytes, without a line break.
std::string LongForthLine(std::size_t Size)
{
    std::string line;
    line.reserve(Size + 64);
    for (int i = 0; line.size() < Size; ++i) line += ": WORD" + std::to_string(i) + " DUP * SWAP DROP ; ";
    line.resize(Size);
    return line;
}

/// A text file of one long line, opened as the Block Manager opens text.
void BM_OpenOneLongLine(benchmark::State& state)
{
    OpenFile(state, LongForthLine(std::size_t(state.range(0))), LoadBlockTextFile);
}

constexpr int ShortLongLine = 1'600'000;
constexpr int LongLongLine = 2 * ShortLongLine;

/// The console report, followed by the ratio of the two long-line opens and its goal.
class BlockFilesReporter : public bench::RatioReporter {
protected:
    void Summary() override
    {
        PrintRatio("BM_OpenOneLongLine/" + std::to_string(LongLongLine) + "/real_time",
                   "BM_OpenOneLongLine/" + std::to_string(ShortLongLine) + "/real_time", 2.5);
    }
};

}  // namespace

BENCHMARK(BM_LoadBlockFile)->Unit(benchmark::kMillisecond)->UseRealTime();
// Real time: the save waits for the disk.
BENCHMARK(BM_SaveBlockFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenOneLongLine)->Arg(ShortLongLine)->Arg(LongLongLine)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // Freed memory stays with the program between rounds: otherwise whether the allocator hands a
    // round's megabytes back to the system depends on their size, and a round that gets fresh
    // pages pays for mapping them, which dwarfs the work measured on some machines.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    BlockFilesReporter reporter;
    return bench::RunBenchmarks(argc, argv, &reporter);
}
