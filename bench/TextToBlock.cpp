// Forth source into blocks: a generated source of about 1 MB of definitions, comments, strings and
// variables, converted with the options off and on. Goal: at least 100 MB/s.
#include <benchmark/benchmark.h>

#include <string>
#include "codeeditor/TextToBlock.h"

namespace {

constexpr std::size_t SourceSize = 1 << 20;

std::string ForthSource()
{
    std::string source;
    for (int i = 0; source.size() < SourceSize; ++i) {
        const std::string n = std::to_string(i);
        source += "\\ Definition number " + n + " of the generated source\r\n";
        source += ": WORD" + n + " ( n1 n2 -- n3 )  DUP " + n + " + SWAP OVER * ;\r\n";
        source += "VARIABLE V" + n + "   " + n + " V" + n + " !  ' WORD" + n + " DROP\n";
        source += ": SAY" + n + " .\" Message " + n + "\" CR S\" text\" TYPE .( compiling ) ;\r\n";
        source += ": MAKER" + n + " CREATE , DOES> @ ;  7 MAKER" + n + " SEVEN" + n + "\r\n\r\n";
    }
    return source;
}

void Convert(benchmark::State& state, bool options)
{
    const std::string source = ForthSource();
    const TStringList paired;
    InitTextToBlockWords();
    std::size_t blocks = 0;
    for (auto _ : state) {
        std::string out = ConvertTextToBlocks(options ? u"GENERATED" : u"", source, options, options, options, options, paired);
        blocks = out.size() / 1024;
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(source.size()));
    state.counters["blocks"] = double(blocks);
}

void BM_ConvertPlain(benchmark::State& state) { Convert(state, false); }
void BM_ConvertAllOptions(benchmark::State& state) { Convert(state, true); }

}  // namespace

BENCHMARK(BM_ConvertPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertAllOptions)->Unit(benchmark::kMillisecond);
