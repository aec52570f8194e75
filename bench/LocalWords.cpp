// The Code Editor's local words: the names a document defines with ":", found when a file opens
// and again after edits. Measured:
// - LocalWords/Definitions/N: scan and hand-over of a source with N definitions, one on every
//   seventh line, into an empty list; twice the definitions must take about twice the time
//   (goal: ratio at most 2.2).
// - LocalWords/Open/<MB>/<definitions>: the open of a generated source of that size, with a
//   definition on every seventh line or none, against a plain baseline of the same file (its bytes
//   read, widened into text and each character looked at once); its goal, at most 2 times the open
//   of the best editor component, is checked outside the project; the 100 MB open must take about
//   twice the 50 MB one.
// - LocalWords/RescanAfterEdit: the rescan after typing in a 1,000,000-line source that keeps its
//   names (goal: at most 50 ms), with its ratio to one pass over the same lines
//   (LocalWords/RescanBaseline); LocalWords/RescanAfterNewName after an edit that adds a name
//   (goal: at most 50 ms). Each includes the scan of one line that the repaint after it makes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <string>
#include "BenchHelpers.h"
#include "blocks/BlockManager.h"
#include "codeeditor/CodeEditorPage.h"
#include "codeeditor/LocalWords.h"
#include "platform/Folders.h"
#include "platform/ManualLoop.h"
#include "support/FakeControlHost.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace {

/// Line n of a generated source: every seventh a definition when there are definitions, else a
/// line of the same length that defines nothing.
std::string SourceLine(unsigned n, bool definitions)
{
    const std::string k = std::to_string(n);
    switch (n % 7) {
    case 0: return (definitions ? ": WORD" : "  WORD") + k + " ( n -- n ) DUP " + std::to_string(n % 977) + " + ;";
    case 1: return "  $" + std::to_string(n % 4096) + " CHAR A EMIT .\" done here\" CR \\ tail note";
    case 2: return "  DUP ROT SWAP OVER + - * AND OR XOR INVERT 0= = DROP";
    case 3: return "\tBEGIN word" + std::to_string(n % 50) + " OVER -10 AND 0= UNTIL %1011 DROP";
    case 4: return "VARIABLE counter" + std::to_string(n % 100) + "  ( a counter )  1 CELLS ALLOT";
    case 5: return "";
    default: return "  WORD" + std::to_string(n - 6) + " 2 * DUP . CR";
    }
}

/// A source of whole lines, CR LF after each: `lines` of them, or as many as `bytes` asks.
std::string Source(std::size_t lines, std::size_t bytes, bool definitions)
{
    std::string text;
    text.reserve(bytes + 100);
    for (unsigned n = 0; n < lines || text.size() < bytes; ++n) text += SourceLine(n, definitions) + "\r\n";
    return text;
}

/// A Code Editor page with its highlighter, on a manual loop, answering file dialogs from a queue.
struct Page {
    Page()
    {
        MainLoop::SetCurrent(&loop);
        page.CodeEditPairedWordsList = std::make_unique<TStringList>();
        page.Options = &options;
        page.CreateHighlighter();
        page.CreateActions(actions);
        host = std::make_unique<FakeControlHost>(page.ScriptEdit, 800, 600);
    }
    ~Page() { MainLoop::SetCurrent(nullptr); }

    ManualLoop loop;
    ScriptedDialogs dialogs;
    RecordingGraphicsFactory graphics;
    TConfigTermOptions options;
    TBlockManager blocks{[](int, const UnicodeString&) {}, [] { return false; }};
    TCodeEditorPage page{blocks, {[] { return true; }, [] { return TRect{0, 0, 800, 600}; }}};
    TActionList actions{u"CodeEditor"};
    std::unique_ptr<FakeControlHost> host;
};

void Definitions(benchmark::State& state)
{
    const std::size_t definitions = std::size_t(state.range(0));
    TNibEditStringList lines;
    lines.SetText(FromAnsi(Source(definitions * 7, 0, true)));
    const TStringList paired;
    TNibTavloHighlighter highlighter;
    std::size_t found = 0;
    // Once untimed, so that the run that measures takes memory that the process has already.
    std::vector<UnicodeString> warm;
    ScanLocalWords(lines, paired, warm);
    highlighter.ReplaceLocalWords(std::move(warm));
    for (auto _ : state) {
        state.PauseTiming();
        highlighter.LocalWords().Clear();
        state.ResumeTiming();
        std::vector<UnicodeString> names;
        ScanLocalWords(lines, paired, names);
        found = names.size();
        highlighter.ReplaceLocalWords(std::move(names));
    }
    state.counters["names"] = double(found);
    state.counters["distinct"] = double(highlighter.LocalWords().Count());
}

/// The file of an open benchmark, made once for each size and kind.
const std::string& SourceFile(std::size_t megabytes, bool definitions)
{
    static TempFolder folder;
    static std::map<std::pair<std::size_t, bool>, std::string> files;
    std::string& name = files[{megabytes, definitions}];
    if (name.empty()) {
        name = folder.Path("source-" + std::to_string(megabytes) + (definitions ? "-defs" : "-plain") + ".forth");
        folder.Write(name.substr(folder.Path().size()), Source(0, megabytes << 20, definitions));
    }
    return name;
}

void OpenBaseline(benchmark::State& state)
{
    const UnicodeString name = FromUtf8(SourceFile(std::size_t(state.range(0)), true));
    for (auto _ : state) {
        std::string bytes;
        ReadFileBytes(name, bytes);
        const UnicodeString text = FromAnsi(bytes);
        std::size_t blanks = 0;
        for (char16_t c : text) blanks += c <= 32;
        benchmark::DoNotOptimize(blanks);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(state.range(0) << 20));
}

void Open(benchmark::State& state)
{
    const UnicodeString name = FromUtf8(SourceFile(std::size_t(state.range(0)), state.range(1) != 0));
    Page p;
    for (auto _ : state) {
        state.PauseTiming();
        p.page.ScriptEdit.Lines().Clear();
        p.dialogs.FileAnswers = {name};
        state.ResumeTiming();
        p.page.EditorOpenFileAct->Execute();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(state.range(0) << 20));
    state.counters["lines"] = double(p.page.ScriptEdit.Lines().Count());
    state.counters["local_words"] = double(p.page.Highlighter()->LocalWords().Count());
}

/// One edit on a 1,000,000-line source, then the rescan, which alone is timed.
void Rescan(benchmark::State& state, bool newName)
{
    Page p;
    p.page.ScriptEdit.Lines().SetText(FromAnsi(Source(1000000, 0, true)));
    p.page.UpdateLocalWords();
    int edits = 0;
    for (auto _ : state) {
        // Typing in the body of a definition in the middle, or a new definition there.
        p.page.ScriptEdit.SetCaretXY({1, 500003});
        p.page.ScriptEdit.SetSelText(newName ? u": NEW" + IntToStr(++edits) + u" ; " : u"1 ");
        const auto start = std::chrono::steady_clock::now();
        p.page.UpdateLocalWords();
        // The repaint that follows scans the lines in view with the new words.
        TNibTavloHighlighter& h = *p.page.Highlighter();
        h.SetLine(p.page.ScriptEdit.Lines()[500002], 500002);
        h.NextToEol();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["local_words"] = double(p.page.Highlighter()->LocalWords().Count());
}

/// The plain baseline of a rescan: one pass over the characters of the same 1,000,000 lines.
void RescanBaseline(benchmark::State& state)
{
    TNibEditStringList lines;
    lines.SetText(FromAnsi(Source(1000000, 0, true)));
    for (auto _ : state) {
        std::size_t blanks = 0;
        for (int i = 0; i < lines.Count(); ++i)
            for (char16_t c : lines[i]) blanks += c <= 32;
        benchmark::DoNotOptimize(blanks);
    }
}

void RescanAfterEdit(benchmark::State& state) { Rescan(state, false); }
void RescanAfterNewName(benchmark::State& state) { Rescan(state, true); }

BENCHMARK(Definitions)->Name("LocalWords/Definitions")->Arg(100000)->Arg(200000)->Arg(400000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenBaseline)->Name("LocalWords/OpenBaseline")->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Open)->Name("LocalWords/Open")->Args({50, 1})->Args({100, 1})->Args({100, 0})->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(RescanBaseline)->Name("LocalWords/RescanBaseline")->Unit(benchmark::kMillisecond);
BENCHMARK(RescanAfterEdit)->Name("LocalWords/RescanAfterEdit")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(RescanAfterNewName)->Name("LocalWords/RescanAfterNewName")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

/// The console report, followed by the ratios and their goals.
class LocalWordsReporter : public bench::RatioReporter {
protected:
    void Summary() override
    {
        PrintRatio("LocalWords/Definitions/200000", "LocalWords/Definitions/100000", 2.2);
        PrintRatio("LocalWords/Definitions/400000", "LocalWords/Definitions/200000", 2.2);
        // Where the open stands against reading the file's text once; its goal lies outside.
        for (const char* open : {"LocalWords/Open/100/1/iterations:2", "LocalWords/Open/100/0/iterations:2"}) {
            const double o = Seconds(open), b = Seconds("LocalWords/OpenBaseline/100/iterations:3");
            if (o > 0 && b > 0) std::printf("%s: %.2f times the baseline\n", open, o / b);
        }
        PrintRatio("LocalWords/Open/100/1/iterations:2", "LocalWords/Open/50/1/iterations:2", 2.2);
        const double rescan = Seconds("LocalWords/RescanAfterEdit/iterations:20/manual_time");
        if (rescan > 0) std::printf("LocalWords/RescanAfterEdit: %.1f ms (goal: at most 50 ms)\n", rescan * 1e3);
        const double newName = Seconds("LocalWords/RescanAfterNewName/iterations:5/manual_time");
        if (newName > 0) std::printf("LocalWords/RescanAfterNewName: %.1f ms (goal: at most 50 ms)\n", newName * 1e3);
        const double baseline = Seconds("LocalWords/RescanBaseline");
        if (rescan > 0 && baseline > 0) std::printf("LocalWords/RescanAfterEdit: %.2f times LocalWords/RescanBaseline\n", rescan / baseline);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    LocalWordsReporter reporter;
    return bench::RunBenchmarks(argc, argv, &reporter);
}
