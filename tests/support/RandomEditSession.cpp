#include "support/RandomEditSession.h"

#include <algorithm>
#include <memory>
#include <sstream>

#include "editor/NibEditSearch.h"
#include "support/FakeControlHost.h"
#include "support/MemoryClipboard.h"
#include "support/RecordingCanvas.h"

namespace {

// Letters, blanks, tabs, two glyphs two cells wide (U+4E00 and U+4E2D on the test canvas) and a
// word-break character.
constexpr char16_t Alphabet[] = u"abcxyAB   \t\t\u4E00\u4E2D.";

/// The text as one string: every character, line break and trailing blank counts.
UnicodeString Snapshot(const TCustomNibEdit& edit)
{
    UnicodeString s;
    for (int i = 0; i < edit.Lines().Count(); ++i) {
        if (i > 0) s += u'\n';
        s += edit.Lines()[i];
    }
    return s;
}

/// Tabs as arrows, line ends as pilcrows: a report a person can read.
std::string Show(std::u16string_view s)
{
    UnicodeString shown;
    for (char16_t c : s) {
        if (c == u'\t') shown += u'\u2192';
        else if (c == u'\n') shown += u"\u00B6\n    ";
        else if (c == u'\r') shown += u"<CR>";
        else shown += c;
    }
    return ToUtf8(shown);
}

TNibSearchOptions SearchOptions(int bits)
{
    TNibSearchOptions o;
    for (int b = 0; b < 8; ++b)
        if (bits & (1 << b)) o.Include(TNibSearchOption(b));
    return o;
}

std::string ShowPos(const TBufferCoord& p) { return "(" + std::to_string(p.Char) + "," + std::to_string(p.Line) + ")"; }

const char* ModeName(TNibSelectionMode m) { return m == smNormal ? "normal" : m == smLine ? "line" : "column"; }

std::string CommandName(TNibEditorCommand c)
{
    UnicodeString name;
    if (EditorCommandToIdent(c, name)) return ToUtf8(name);
    return std::to_string(c);
}

/// An editor on a fake host, 20 columns by 10 rows of text, with a clipboard and a search engine.
struct Harness {
    explicit Harness(const RandomEditSetup& setup)
        : host(std::make_unique<FakeControlHost>(edit, 192, 160)), checkEachStep(setup.CheckEachStep)
    {
        edit.SetSearchEngine(&search);
        // Room for every item of a long sequence: a capped list cannot undo back to the start.
        edit.SetMaxUndo(1 << 20);
        edit.SetOptions(setup.Options);
        edit.SetTabWidth(setup.TabWidth);
        edit.SetWordWrap(setup.WordWrap);
        edit.SetInsertMode(setup.InsertMode);
        edit.Lines().BeginUpdate();
        for (const UnicodeString& line : setup.Lines) edit.Lines().Add(line);
        edit.Lines().EndUpdate();
        edit.ClearUndo();
        edit.SetModified(false);
        history.push_back(Snapshot(edit));
        edit.OnReplaceText = [this](TObject*, const UnicodeString&, const UnicodeString&, int, int,
                                    TNibReplaceAction& action) {
            action = answer < answers.size() ? answers[answer++] : raReplace;
        };
    }

    void Apply(const RandomEditStep& s)
    {
        switch (s.What) {
        case RandomEditStep::Caret: edit.SetCaretXY(s.A); break;
        case RandomEditStep::Select:
            edit.CommandProcessor(s.Mode == smNormal ? ecNormalSelect : s.Mode == smLine ? ecLineSelect : ecColumnSelect,
                                  u'\0', nullptr);
            edit.SetCaretAndSelection(s.B, s.A, s.B);
            break;
        case RandomEditStep::Command:
            for (int i = 0; i < s.N; ++i) edit.CommandProcessor(s.Cmd, u'\0', nullptr);
            break;
        case RandomEditStep::Type:
            for (char16_t c : s.Text) edit.CommandProcessor(ecChar, c, nullptr);
            break;
        case RandomEditStep::Ime: edit.InputMethodText(s.Text); break;
        case RandomEditStep::Paste:
            clipboard.SetText(s.Text);
            if (s.N < 3) clipboard.AddFormat(NibEditClipboardFormat, std::string(1, char(s.N)) + ToAnsi(s.Text) + '\0');
            edit.CommandProcessor(ecPaste, u'\0', nullptr);
            break;
        case RandomEditStep::SelText: edit.SetSelText(s.Text); break;
        case RandomEditStep::Search:
            answers = s.Answers;
            answer = 0;
            edit.SearchReplace(s.Text, s.Text2, SearchOptions(s.N));
            break;
        case RandomEditStep::Drag: {
            if (!edit.SelAvail()) break;
            const TPoint p = edit.RowColumnToPixels({s.A.Char, s.A.Line});
            edit.DragDrop(&edit, p.X, p.Y, s.N ? ssCtrl : 0);
            break;
        }
        case RandomEditStep::UndoRedo:
            for (int i = 0; i < s.N; ++i) edit.CommandProcessor(ecUndo, u'\0', nullptr);
            for (int i = 0; i < s.B.Char; ++i) edit.CommandProcessor(ecRedo, u'\0', nullptr);
            break;
        }
    }

    /// Applies a step; with step checks, one undo and one redo, then two of each, must give the
    /// text after the step back.
    std::string Step(const RandomEditStep& s)
    {
        Apply(s);
        const UnicodeString after = Snapshot(edit);
        if (after == history.back()) return {};
        history.push_back(after);
        if (!checkEachStep) return {};
        for (int n = 1; n <= 2; ++n) {
            int undone = 0;
            for (; undone < n && edit.CanUndo(); ++undone) edit.Undo();
            for (int i = 0; i < undone; ++i) edit.Redo();
            const UnicodeString redone = Snapshot(edit);
            if (redone != after)
                return std::to_string(n) + " undo and redo gave\n    " + Show(redone) + "\n  instead of\n    " + Show(after);
        }
        return {};
    }

    /// Undoes everything, then redoes everything: empty when both ends come back exactly.
    std::string Check(const UnicodeString& first)
    {
        for (int i = 0; edit.CanRedo() && i < 100000; ++i) edit.Redo();
        const UnicodeString last = Snapshot(edit);
        for (int i = 0; edit.CanUndo() && i < 100000; ++i) edit.Undo();
        const UnicodeString undone = Snapshot(edit);
        if (undone != first) return "undo-all gave\n    " + Show(undone) + "\n  instead of\n    " + Show(first);
        if (edit.Modified()) return "undo-all left the text modified";
        for (int i = 0; edit.CanRedo() && i < 100000; ++i) edit.Redo();
        const UnicodeString redone = Snapshot(edit);
        if (redone != last) return "redo-all gave\n    " + Show(redone) + "\n  instead of\n    " + Show(last);
        if (edit.Modified() != edit.CanUndo()) return "redo-all left the modified flag wrong";
        return {};
    }

    RecordingGraphicsFactory graphics;
    MemoryClipboard clipboard;
    TNibEditSearch search;
    TNibEdit edit;
    std::unique_ptr<FakeControlHost> host;
    bool checkEachStep;
    /// The texts the sequence went through, the first text first.
    std::vector<UnicodeString> history;
    std::vector<TNibReplaceAction> answers;
    std::size_t answer = 0;
};

/// Runs steps on a fresh harness; the problem found, or empty.
std::string Replay(const RandomEditSetup& setup, const std::vector<RandomEditStep>& steps)
{
    Harness h(setup);
    const UnicodeString first = Snapshot(h.edit);
    std::size_t i = 0;
    try {
        for (; i < steps.size(); ++i) {
            const std::string problem = h.Step(steps[i]);
            if (!problem.empty()) return problem + " at step " + std::to_string(i + 1);
        }
        return h.Check(first);
    } catch (const std::exception& e) {
        return std::string("threw \"") + e.what() + "\"" + (i < steps.size() ? " at step " + std::to_string(i + 1) : "");
    }
}

/// Drops steps while the sequence still fails, first in halves, then one at a time.
std::vector<RandomEditStep> Shrink(const RandomEditSetup& setup, std::vector<RandomEditStep> steps)
{
    for (std::size_t chunk = steps.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t at = 0; at + chunk <= steps.size();) {
            std::vector<RandomEditStep> fewer = steps;
            fewer.erase(fewer.begin() + std::ptrdiff_t(at), fewer.begin() + std::ptrdiff_t(at + chunk));
            if (!Replay(setup, fewer).empty()) steps = std::move(fewer);
            else at += chunk;
        }
    }
    return steps;
}

/// Drops lines of the first text, and then characters, while the sequence still fails.
RandomEditSetup ShrinkText(RandomEditSetup setup, const std::vector<RandomEditStep>& steps)
{
    for (std::size_t i = setup.Lines.size(); i-- > 0;) {
        RandomEditSetup fewer = setup;
        fewer.Lines.erase(fewer.Lines.begin() + std::ptrdiff_t(i));
        if (!Replay(fewer, steps).empty()) setup = std::move(fewer);
    }
    for (std::size_t l = 0; l < setup.Lines.size(); ++l) {
        for (std::size_t c = setup.Lines[l].size(); c-- > 0;) {
            RandomEditSetup fewer = setup;
            fewer.Lines[l].erase(c, 1);
            if (!Replay(fewer, steps).empty()) setup = std::move(fewer);
        }
    }
    return setup;
}

} // namespace

RandomEditSequence::RandomEditSequence(unsigned seed) : fRng(seed)
{
    static constexpr TNibEditorOption varied[] = {
        eoScrollPastEol, eoTabsToSpaces, eoSmartTabs, eoTabIndent, eoTrimTrailingSpaces, eoGroupUndo, eoAutoIndent,
        eoSmartTabDelete, eoEnhanceHomeKey, eoEnhanceEndKey, eoKeepCaretX, eoScrollPastEof,
    };
    TNibEditorOptions options = NibDefaultOptions;
    for (TNibEditorOption o : varied) {
        if (Pick(0, 1)) options.Include(o);
        else options.Exclude(o);
    }
    fSetup.Options = options;
    fSetup.TabWidth = Pick(1, 8);
    fSetup.WordWrap = Pick(0, 2) == 0;
    fSetup.InsertMode = Pick(0, 3) > 0;
    fSetup.CheckEachStep = Pick(0, 1) == 0;
    for (int n = Pick(0, 7); n > 0; --n) fSetup.Lines.push_back(Pick(0, 3) == 0 ? UnicodeString() : Piece(24));
}

char16_t RandomEditSequence::Letter() { return Alphabet[Pick(0, int(std::size(Alphabet)) - 2)]; }

UnicodeString RandomEditSequence::Piece(int maxLength)
{
    UnicodeString s;
    for (int n = Pick(0, maxLength); n > 0; --n) s += Letter();
    return s;
}

UnicodeString RandomEditSequence::Block(int maxBreaks, bool oddBreaks)
{
    UnicodeString s;
    for (int n = Pick(0, maxBreaks); n >= 0; --n) {
        s += Piece(6);
        if (n > 0) {
            const int kind = oddBreaks ? Pick(0, 5) : 0;
            s += kind == 4 ? u"\n" : kind == 5 ? u"\r" : u"\r\n";
        }
    }
    return s;
}

TBufferCoord RandomEditSequence::Position(const TCustomNibEdit& edit)
{
    const int count = edit.Lines().Count();
    const int line = Pick(1, std::max(count, 1));
    return {Pick(1, edit.Lines().LineCharLength(line - 1) + 6), line};
}

RandomEditStep RandomEditSequence::NextStep(const TCustomNibEdit& edit)
{
    static constexpr TNibEditorCommand editing[] = {
        ecLineBreak, ecInsertLine, ecDeleteLastChar, ecDeleteChar, ecDeleteWord, ecDeleteLastWord, ecDeleteBOL,
        ecDeleteEOL, ecDeleteLine, ecTab, ecShiftTab, ecBlockIndent, ecBlockUnindent, ecCut, ecCopy, ecUpperCase,
        ecLowerCase, ecToggleCase, ecTitleCase, ecUpperCaseBlock, ecLowerCaseBlock, ecToggleCaseBlock,
    };
    static constexpr TNibEditorCommand moving[] = {
        ecLeft, ecRight, ecUp, ecDown, ecWordLeft, ecWordRight, ecLineStart, ecLineEnd, ecSelLeft, ecSelRight,
        ecSelUp, ecSelDown, ecSelLineStart, ecSelLineEnd, ecSelWordRight, ecEditorTop, ecSelEditorBottom,
        ecPageDown, ecSelectAll, ecToggleMode, ecNormalSelect, ecColumnSelect, ecLineSelect, ecSelWord,
    };
    RandomEditStep s;
    switch (Pick(0, 19)) {
    case 0:
    case 1:
        s.What = RandomEditStep::Caret;
        s.A = Position(edit);
        break;
    case 2:
    case 3:
        s.What = RandomEditStep::Select;
        s.Mode = TNibSelectionMode(Pick(0, 2));
        s.A = Position(edit);
        s.B = Position(edit);
        break;
    case 4:
    case 5:
    case 6:
    case 7:
        s.What = RandomEditStep::Command;
        s.Cmd = editing[Pick(0, int(std::size(editing)) - 1)];
        s.N = Pick(1, 3);
        break;
    case 8:
    case 9:
        s.What = RandomEditStep::Command;
        s.Cmd = moving[Pick(0, int(std::size(moving)) - 1)];
        s.N = Pick(1, 2);
        break;
    case 10:
    case 11:
        s.What = RandomEditStep::Type;
        for (int n = Pick(1, 4); n > 0; --n) {
            const char16_t c = Letter();
            s.Text += c == u'\t' ? u' ' : c;
        }
        break;
    case 12:
        s.What = RandomEditStep::Ime;
        s.Text = Piece(3) + Letter();
        if (s.Text.find_first_not_of(u'\t') == UnicodeString::npos) s.Text.assign(1, u'\u4E00');
        break;
    case 13:
    case 14:
        s.What = RandomEditStep::Paste;
        s.Text = Block(3, true);
        s.N = Pick(0, 3);
        break;
    case 15:
        s.What = RandomEditStep::SelText;
        s.Text = Block(2, false);
        break;
    case 16: {
        s.What = RandomEditStep::Search;
        const int count = edit.Lines().Count();
        const UnicodeString line = count > 0 ? edit.Lines()[Pick(0, count - 1)] : UnicodeString();
        if (!line.empty()) {
            const int at = Pick(0, int(line.size()) - 1);
            s.Text = line.substr(std::size_t(at), std::size_t(Pick(1, 3)));
        } else {
            s.Text = UnicodeString(1, Letter());
        }
        s.Text2 = Pick(0, 4) == 0 ? Block(1, false) : Piece(3);
        TNibSearchOptions o;
        o.Include(Pick(0, 1) ? ssoReplaceAll : ssoReplace);
        for (TNibSearchOption extra : {ssoMatchCase, ssoBackwards, ssoEntireScope, ssoSelectedOnly, ssoPrompt})
            if (Pick(0, 2) == 0) o.Include(extra);
        s.N = o.Bits();
        for (int n = 0; n < 6; ++n) s.Answers.push_back(TNibReplaceAction(Pick(1, 3)));
        break;
    }
    case 17:
    case 18:
        s.What = RandomEditStep::Drag;
        s.A = {edit.LeftChar() + Pick(0, edit.CharsInWindow() - 1), edit.TopLine() + Pick(0, edit.LinesInWindow() - 1)};
        s.N = Pick(0, 1);
        break;
    default:
        s.What = RandomEditStep::UndoRedo;
        s.N = Pick(1, 3);
        s.B.Char = Pick(0, s.N);
        break;
    }
    return s;
}

std::string Describe(const RandomEditStep& s)
{
    switch (s.What) {
    case RandomEditStep::Caret: return "caret " + ShowPos(s.A);
    case RandomEditStep::Select: return std::string("select ") + ModeName(s.Mode) + " " + ShowPos(s.A) + ".." + ShowPos(s.B);
    case RandomEditStep::Command: return CommandName(s.Cmd) + (s.N > 1 ? " x" + std::to_string(s.N) : "");
    case RandomEditStep::Type: return "type \"" + Show(s.Text) + "\"";
    case RandomEditStep::Ime: return "input method \"" + Show(s.Text) + "\"";
    case RandomEditStep::Paste:
        return "paste \"" + Show(s.Text) + "\"" + (s.N < 3 ? std::string(" as ") + ModeName(TNibSelectionMode(s.N)) : " plain");
    case RandomEditStep::SelText: return "SelText := \"" + Show(s.Text) + "\"";
    case RandomEditStep::Search: {
        std::string o;
        static constexpr const char* names[] = {"case", "word", "back", "entire", "selected", "replace", "all", "prompt"};
        for (int b = 0; b < 8; ++b)
            if (s.N & (1 << b)) o += std::string(" ") + names[b];
        std::string answers;
        if (s.N & (1 << ssoPrompt))
            for (TNibReplaceAction a : s.Answers) answers += a == raSkip ? " skip" : a == raReplace ? " replace" : " all";
        return "replace \"" + Show(s.Text) + "\" by \"" + Show(s.Text2) + "\"" + o + (answers.empty() ? "" : " answers" + answers);
    }
    case RandomEditStep::Drag: return std::string(s.N ? "drag copy" : "drag move") + " to display " + ShowPos(s.A);
    case RandomEditStep::UndoRedo: return "undo x" + std::to_string(s.N) + ", redo x" + std::to_string(s.B.Char);
    }
    return {};
}

std::string Describe(const RandomEditSetup& setup)
{
    std::ostringstream o;
    o << "options $" << std::hex << setup.Options.ToBits() << std::dec << ", TabWidth " << setup.TabWidth
      << (setup.WordWrap ? ", word wrap" : "") << (setup.InsertMode ? ", insert" : ", overwrite")
      << (setup.CheckEachStep ? ", each step checked" : "") << "\n  text:";
    for (const UnicodeString& line : setup.Lines) o << "\n    \"" << Show(line) << "\"";
    return o.str();
}

std::string CheckUndoRedo(const RandomEditSetup& setup, const std::vector<RandomEditStep>& steps)
{
    return Replay(setup, steps);
}

std::string TraceRandomEditSeed(unsigned seed, int Steps)
{
    RandomEditSequence sequence(seed);
    Harness h(sequence.Setup());
    std::string trace = Describe(sequence.Setup()) + "\n";
    try {
        for (int i = 0; i < Steps; ++i) {
            const RandomEditStep step = sequence.NextStep(h.edit);
            h.Apply(step);
            trace += Describe(step) + "\n    " + Show(Snapshot(h.edit)) + "\n";
        }
    } catch (const std::exception& e) {
        trace += std::string("threw \"") + e.what() + "\"\n";
    }
    return trace;
}

std::string RunRandomEditSeed(unsigned seed, int Steps, int* ChangedSteps)
{
    RandomEditSequence sequence(seed);
    std::vector<RandomEditStep> steps;
    std::string problem;
    {
        Harness h(sequence.Setup());
        const UnicodeString first = Snapshot(h.edit);
        try {
            for (int i = 0; i < Steps; ++i) {
                steps.push_back(sequence.NextStep(h.edit));
                const std::size_t known = h.history.size();
                problem = h.Step(steps.back());
                if (ChangedSteps && h.history.size() != known) ++*ChangedSteps;
                if (!problem.empty()) break;
            }
            if (problem.empty()) problem = h.Check(first);
        } catch (const std::exception& e) {
            problem = std::string("threw \"") + e.what() + "\"";
        }
    }
    if (problem.empty()) return {};
    steps = Shrink(sequence.Setup(), steps);
    const RandomEditSetup setup = ShrinkText(sequence.Setup(), steps);
    std::string report = "seed " + std::to_string(seed) + ": " + Replay(setup, steps) + "\n  " + Describe(setup) +
                         "\n  steps:";
    for (const RandomEditStep& s : steps) report += "\n    " + Describe(s);
    return report;
}
