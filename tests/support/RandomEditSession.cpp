#include "support/RandomEditSession.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
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

/// The options a sequence varies, at its start and between its steps.
constexpr TNibEditorOption Varied[] = {
    eoScrollPastEol, eoTabsToSpaces, eoSmartTabs, eoTabIndent, eoTrimTrailingSpaces, eoGroupUndo, eoAutoIndent,
    eoSmartTabDelete, eoEnhanceHomeKey, eoEnhanceEndKey, eoKeepCaretX, eoScrollPastEof,
};

/// The changes on a list, group breaks aside: how far into the sequence the text stands.
int Changes(const TNibEditUndoList& list)
{
    int count = 0;
    for (int i = 0; i < list.ItemCount(); ++i)
        if (list.Items(i).ChangeReason != crGroupBreak) ++count;
    return count;
}

/// The commands that may replace a selection by what they type.
bool TypesOver(TNibEditorCommand c) { return c == ecChar || c == ecLineBreak || c == ecInsertLine || c == ecTab; }

/// An editor on a fake host, 20 columns by 10 rows of text, with a clipboard and a search engine,
/// and the points of the sequence it went through.
struct Harness {
    /// A state of the sequence that undo and redo may land on.
    struct Point {
        UnicodeString Text;
        int Changes = 0;
        /// False once an undo or redo took this point and its neighbours as one step.
        bool Boundary = true;
        /// For a change that put text in place of a selection (typed, from an input method, a
        /// replacement): the text with only the selection deleted, where group undo may stop on
        /// its way back.
        std::optional<UnicodeString> SelectionGone;
    };

    explicit Harness(const RandomEditSetup& setup)
        : host(std::make_unique<FakeControlHost>(edit, 192, 160)), limited(setup.UndoLimit > 0)
    {
        edit.SetSearchEngine(&search);
        // Without a small limit, room for every item of a long sequence.
        edit.SetMaxUndo(limited ? setup.UndoLimit : 1 << 20);
        if (limited) edit.OnChange = [this](TObject*) { ++reported; };
        edit.SetOptions(setup.Options);
        edit.SetTabWidth(setup.TabWidth);
        edit.SetMaxScrollWidth(setup.MaxScrollWidth);
        edit.SetWordWrap(setup.WordWrap);
        edit.SetInsertMode(setup.InsertMode);
        edit.Lines().BeginUpdate();
        for (const UnicodeString& line : setup.Lines) edit.Lines().Add(line);
        edit.Lines().EndUpdate();
        edit.ClearUndo();
        edit.SetModified(false);
        points.push_back({Snapshot(edit), 0, true, {}});
        savedText = points.back().Text;
        edit.OnReplaceText = [this](TObject*, const UnicodeString&, const UnicodeString&, int, int,
                                    TNibReplaceAction& action) {
            // Each replacement answered at a prompt is a change of its own, from its found text.
            if (replacing.empty()) replacing = Settle(replacingGone);
            action = answer < answers.size() ? answers[answer++] : raReplace;
            replacingGone = MatchGoneIn(edit);
        };
    }

    /// Runs a step, checking the state after each of its edits, undos and redos; the problem
    /// found, or empty.
    std::string Apply(const RandomEditStep& s)
    {
        switch (s.What) {
        case RandomEditStep::Caret: edit.SetCaretXY(s.A); return Settle({});
        case RandomEditStep::Select:
            edit.CommandProcessor(s.Mode == smNormal ? ecNormalSelect : s.Mode == smLine ? ecLineSelect : ecColumnSelect,
                                  u'\0', nullptr);
            edit.SetCaretAndSelection(s.B, s.A, s.B);
            return Settle({});
        case RandomEditStep::Command:
            for (int i = 0; i < s.N; ++i) {
                const std::optional<UnicodeString> gone = TypesOver(s.Cmd) ? SelectionGone() : std::nullopt;
                edit.CommandProcessor(s.Cmd, u'\0', nullptr);
                if (std::string problem = Settle(gone); !problem.empty()) return problem;
            }
            return {};
        case RandomEditStep::Type:
            for (char16_t c : s.Text) {
                const std::optional<UnicodeString> gone = SelectionGone();
                edit.CommandProcessor(ecChar, c, nullptr);
                if (std::string problem = Settle(gone); !problem.empty()) return problem;
            }
            return {};
        case RandomEditStep::Ime: {
            const std::optional<UnicodeString> gone = SelectionGone();
            edit.InputMethodText(s.Text);
            return Settle(gone);
        }
        case RandomEditStep::Paste:
            clipboard.SetText(s.Text);
            if (s.N < 3) clipboard.AddFormat(NibEditClipboardFormat, std::string(1, char(s.N)) + ToAnsi(s.Text) + '\0');
            edit.CommandProcessor(ecPaste, u'\0', nullptr);
            return Settle({});
        case RandomEditStep::SelText: {
            const std::optional<UnicodeString> gone = SelectionGone();
            edit.SetSelText(s.Text);
            return Settle(gone);
        }
        case RandomEditStep::Search:
            answers = s.Answers;
            answer = 0;
            replacing.clear();
            replacingGone = (s.N & (1 << ssoPrompt)) ? std::nullopt : FirstMatchGone(s);
            edit.SearchReplace(s.Text, s.Text2, SearchOptions(s.N));
            return !replacing.empty() ? replacing : Settle(replacingGone);
        case RandomEditStep::Drag: {
            if (!edit.SelAvail()) return {};
            const TPoint p = edit.RowColumnToPixels({s.A.Char, s.A.Line});
            edit.DragDrop(&edit, p.X, p.Y, s.N ? ssCtrl : 0);
            return Settle({});
        }
        case RandomEditStep::ColumnShift: {
            // The Code Editor's indent and outdent by one column: the block commands at tab width 1,
            // called outside the command path, so that no outer paint lock holds back the trimming.
            const int tabWidth = edit.TabWidth();
            edit.SetTabWidth(1);
            if (s.N) edit.DoBlockUnindent();
            else edit.DoBlockIndent();
            edit.SetTabWidth(tabWidth);
            if (std::string problem = Settle({}); !problem.empty()) return problem;
            // Typed over at once, where the shift left the selection.
            return Apply(RandomEditStep{RandomEditStep::Type, ecNone, smNormal, {}, {}, 1, s.Text, {}, {}});
        }
        case RandomEditStep::Undo:
        case RandomEditStep::Redo:
            for (int i = 0; i < s.N; ++i)
                if (std::string problem = Replay(s.What == RandomEditStep::Undo); !problem.empty()) return problem;
            return {};
        case RandomEditStep::Save:
            edit.SetModified(false);
            saved = cur;
            savedText = points[std::size_t(cur)].Text;
            return Settle({});
        case RandomEditStep::Option:
            switch (s.N) {
            case RandomEditStep::SetTabWidth: edit.SetTabWidth(s.A.Char); break;
            case RandomEditStep::SetWordWrap: edit.SetWordWrap(s.A.Char != 0); break;
            case RandomEditStep::SetInsertMode: edit.SetInsertMode(s.A.Char != 0); break;
            default: {
                TNibEditorOptions o = edit.Options();
                const auto option = TNibEditorOption(s.N);
                if (o.Contains(option)) o.Exclude(option);
                else o.Include(option);
                edit.SetOptions(o);
            }
            }
            return Settle({});
        }
        return {};
    }

    /// With a selection: the text as it would be with only the selection deleted, from an editor
    /// of the same text, options and selection.
    std::optional<UnicodeString> SelectionGone() const
    {
        if (!edit.SelAvail()) return std::nullopt;
        return SelectionGoneIn(edit);
    }

    /// For a replacement without prompts: the text with only the first match it replaces deleted.
    std::optional<UnicodeString> FirstMatchGone(const RandomEditStep& s) const
    {
        Copy other(edit);
        TNibEditSearch otherSearch;
        other.edit.SetSearchEngine(&otherSearch);
        std::optional<UnicodeString> gone;
        // The same search asking first: the match it asks about is the one replaced first.
        other.edit.OnReplaceText = [&](TObject*, const UnicodeString&, const UnicodeString&, int, int,
                                       TNibReplaceAction& action) {
            if (!gone) gone = MatchGoneIn(other.edit);
            action = raCancel;
        };
        other.edit.SearchReplace(s.Text, s.Text2, SearchOptions(s.N).Include(ssoPrompt));
        return gone;
    }

    /// An editor of the same text, options, caret and selection, where only a deletion happens:
    /// the blanks it leaves are trimmed only when the whole change ends.
    struct Copy {
        explicit Copy(const TCustomNibEdit& from) : host(edit, 192, 160)
        {
            TNibEditorOptions o = from.Options();
            o.Exclude(eoTrimTrailingSpaces);
            edit.SetOptions(o);
            edit.SetTabWidth(from.TabWidth());
            // No scroll width to cut the caret and the selection ends: the original's may stand past
            // its own, set under word wrap, without eoScrollPastEol or by undo.
            edit.SetMaxScrollWidth(INT_MAX - 1);
            for (int i = 0; i < from.Lines().Count(); ++i) edit.Lines().Add(from.Lines()[i]);
            edit.SetWordWrap(from.WordWrap());
            edit.SetSelectionMode(from.SelectionMode());
            edit.SetActiveSelectionMode(from.ActiveSelectionMode());
            // On its line first: under word wrap a caret that changes lines is pulled back into the
            // window, where the original one may stand past it (a row widened by tabs).
            edit.SetCaretXY({1, from.CaretXY().Line});
            edit.SetCaretAndSelection(from.CaretXY(), from.BlockBegin(), from.BlockEnd());
        }
        TNibEdit edit;
        FakeControlHost host;
    };

    static UnicodeString SelectionGoneIn(const TCustomNibEdit& e)
    {
        Copy other(e);
        other.edit.SetSelText({});
        return Snapshot(other.edit);
    }

    /// The text with only the found match deleted: a replacement takes the match alone, also where
    /// line mode selects the whole line.
    static UnicodeString MatchGoneIn(const TCustomNibEdit& e)
    {
        Copy other(e);
        if (other.edit.ActiveSelectionMode() == smLine) other.edit.SetActiveSelectionMode(smNormal);
        other.edit.SetSelText({});
        return Snapshot(other.edit);
    }

    /// After an edit: a recorded change makes a new point and leaves nothing to redo; the text
    /// changes only with a recorded change.
    std::string Settle(const std::optional<UnicodeString>& gone)
    {
        const UnicodeString text = Snapshot(edit);
        // Under a limit the count of changes on the list says nothing: a change is what reports one.
        const int changes = limited ? 0 : Changes(edit.UndoList());
        const bool changed = limited ? reported > 0 : changes != points[std::size_t(cur)].Changes;
        reported = 0;
        if (changed) {
            if (changes < points[std::size_t(cur)].Changes) return "an edit took changes off the undo list";
            points.resize(std::size_t(cur) + 1);
            if (saved > cur) saved = -1;
            points.push_back({text, changes, true, gone});
            ++cur;
            ++made;
            if (edit.CanRedo()) return "a new edit left something to redo";
        } else if (text != points[std::size_t(cur)].Text) {
            return "the text changed, but no change was recorded: now\n    " + Show(text);
        }
        return limited ? CheckModifiedLimited() : CheckModified();
    }

    /// One undo or redo: it lands on a point of the sequence in its direction, at the nearest
    /// one without group undo, and gives that point's text.
    std::string Replay(bool undo)
    {
        if (limited) return ReplayLimited(undo);
        const std::string what = undo ? "undo" : "redo";
        const bool group = edit.Options().Contains(eoGroupUndo);
        edit.CommandProcessor(undo ? ecUndo : ecRedo, u'\0', nullptr);
        const UnicodeString text = Snapshot(edit);
        const int changes = Changes(edit.UndoList());
        int to = PointWith(changes);
        if (to < 0) {
            const int after = FirstPointAbove(changes);
            const Point* p = after > 0 ? &points[std::size_t(after)] : nullptr;
            if (!(undo && group && p && after <= cur && p->SelectionGone && *p->SelectionGone == text))
                return what + " stopped inside a change, at\n    " + Show(text) + "\n  the points:" + ShowPoints();
            points.insert(points.begin() + after, Point{text, changes, true, {}});
            if (saved >= after) ++saved;
            ++cur;
            to = after;
        }
        if (to == cur) {
            if (undo ? cur > 0 : cur + 1 < int(points.size())) return what + " did nothing";
            return CheckModified();
        }
        if (undo != (to < cur)) return what + " went the wrong way";
        if (!points[std::size_t(to)].Boundary) return what + " stopped inside a step it took as one before";
        if (!group && to != NearestBoundary(undo ? -1 : 1))
            return what + " without group undo went past a step, to\n    " + Show(text);
        if (text != points[std::size_t(to)].Text)
            return what + " gave\n    " + Show(text) + "\n  instead of\n    " + Show(points[std::size_t(to)].Text);
        for (int i = std::min(to, cur) + 1; i < std::max(to, cur); ++i) points[std::size_t(i)].Boundary = false;
        cur = to;
        return CheckModified();
    }

    /// One undo or redo under a small limit: it gives a text the sequence had, in its direction, or
    /// for undo the text with only a typed-over selection deleted. Never a part of a step.
    std::string ReplayLimited(bool undo)
    {
        const std::string what = undo ? "undo" : "redo";
        const bool any = undo ? edit.CanUndo() : edit.CanRedo();
        edit.CommandProcessor(undo ? ecUndo : ecRedo, u'\0', nullptr);
        reported = 0;
        const UnicodeString text = Snapshot(edit);
        if (!any) return text == points[std::size_t(cur)].Text ? CheckModifiedLimited() : what + " of nothing changed the text";
        int to = -1;
        if (undo) {
            // The nearest first: the text with only point i's selection deleted lies between
            // points i - 1 and i.
            for (int i = cur; i > 0 && to < 0; --i) {
                if (points[std::size_t(i)].SelectionGone == text) {
                    points.insert(points.begin() + i, Point{text, 0, true, {}});
                    if (saved >= i) ++saved;
                    ++cur;
                    to = i;
                } else if (points[std::size_t(i - 1)].Text == text) {
                    to = i - 1;
                }
            }
        } else {
            for (int i = cur + 1; i < int(points.size()) && to < 0; ++i)
                if (points[std::size_t(i)].Text == text) to = i;
        }
        // What the limit left may be no step at all, only the group break that ended one.
        if (to < 0 && text == points[std::size_t(cur)].Text) to = cur;
        if (to < 0) return what + " gave a text the sequence never had:\n    " + Show(text) + "\n  the points:" + ShowPoints();
        cur = to;
        return CheckModifiedLimited();
    }

    /// Once the limit dropped a change, the saved text may stay marked modified; another text never
    /// reads unmodified. Texts alone tell the points apart here, so the saved one goes by its text.
    std::string CheckModifiedLimited() const
    {
        if (edit.Modified() || Snapshot(edit) == savedText) return {};
        return "a text other than the saved one is marked unmodified:\n    " + Show(Snapshot(edit));
    }

    /// Undoes everything, then redoes everything, every state checked.
    std::string Finish()
    {
        if (limited) {
            for (int i = 0; edit.CanUndo() && i < 100000; ++i)
                if (std::string problem = Replay(true); !problem.empty()) return "undoing all: " + problem;
            for (int i = 0; edit.CanRedo() && i < 100000; ++i)
                if (std::string problem = Replay(false); !problem.empty()) return "redoing all: " + problem;
            // The redo list has the same limit: what it dropped, redo cannot reach.
            if (!edit.RedoList().FullUndoImpossible() && Snapshot(edit) != points.back().Text)
                return "redo-all stopped before the last text";
            return {};
        }
        for (int i = 0; edit.CanUndo() && i < 100000; ++i)
            if (std::string problem = Replay(true); !problem.empty()) return "undoing all: " + problem;
        if (cur != 0) return "undo-all stopped before the first text";
        for (int i = 0; edit.CanRedo() && i < 100000; ++i)
            if (std::string problem = Replay(false); !problem.empty()) return "redoing all: " + problem;
        if (cur + 1 != int(points.size())) return "redo-all stopped before the last text";
        return {};
    }

    /// The points with their counts of changes, for reports.
    std::string ShowPoints() const
    {
        std::string shown;
        for (const Point& p : points) {
            shown += "\n  " + std::to_string(p.Changes) + (p.Boundary ? ": " : " (inside a step): ") + Show(p.Text);
            if (p.SelectionGone) shown += "\n    or with only the selection deleted: " + Show(*p.SelectionGone);
        }
        return shown;
    }

    std::string CheckModified() const
    {
        if (edit.Modified() == (cur != saved)) return {};
        return edit.Modified() ? "the saved text is marked modified"
                               : "a text other than the saved one is marked unmodified";
    }

    int PointWith(int changes) const
    {
        for (std::size_t i = 0; i < points.size(); ++i)
            if (points[i].Changes == changes) return int(i);
        return -1;
    }
    int FirstPointAbove(int changes) const
    {
        for (std::size_t i = 0; i < points.size(); ++i)
            if (points[i].Changes > changes) return int(i);
        return -1;
    }
    int NearestBoundary(int direction) const
    {
        int i = cur + direction;
        while (i > 0 && i + 1 < int(points.size()) && !points[std::size_t(i)].Boundary) i += direction;
        return i;
    }

    RecordingGraphicsFactory graphics;
    MemoryClipboard clipboard;
    TNibEditSearch search;
    TNibEdit edit;
    std::unique_ptr<FakeControlHost> host;
    /// Under a small undo limit: the changes reported since the last point.
    bool limited;
    int reported = 0;
    /// The points of the sequence as undo and redo can reach them, the first text first.
    std::vector<Point> points;
    int cur = 0;
    /// The point last saved; -1 once no undo or redo can reach it.
    int saved = 0;
    UnicodeString savedText;
    /// The points that edits made.
    int made = 0;
    std::vector<TNibReplaceAction> answers;
    std::size_t answer = 0;
    /// The first problem found while a replacement prompts, and the text with only the found text
    /// of the replacement under way deleted.
    std::string replacing;
    std::optional<UnicodeString> replacingGone;
};

/// Runs steps on a fresh harness and then undoes and redoes everything; the problem found, or empty.
std::string Replay(const RandomEditSetup& setup, const std::vector<RandomEditStep>& steps)
{
    Harness h(setup);
    std::size_t i = 0;
    try {
        for (; i < steps.size(); ++i) {
            const std::string problem = h.Apply(steps[i]);
            if (!problem.empty()) return problem + " at step " + std::to_string(i + 1);
        }
        return h.Finish();
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

RandomEditSequence::RandomEditSequence(unsigned seed, RandomEditClass Class) : fRng(seed), fClass(Class)
{
    // The same sequences as without a limit, from 2 to 14 items.
    if (fClass == RandomEditClass::SmallUndoLimit) fSetup.UndoLimit = 2 + int(seed % 13);
    TNibEditorOptions options = NibDefaultOptions;
    for (TNibEditorOption o : Varied) {
        if (Pick(0, 1)) options.Include(o);
        else options.Exclude(o);
    }
    fSetup.Options = options;
    if (fClass == RandomEditClass::TrimmedIndents) {
        fSetup.Options.Include(eoTrimTrailingSpaces);
        fSetup.TabWidth = Pick(1, 4);
        fSetup.WordWrap = Pick(0, 3) == 0;
        fSetup.InsertMode = Pick(0, 3) > 0;
        static constexpr const char16_t* lines[] = {u"", u"", u" ", u"\t", u"a", u"  b ", u"xy"};
        for (int n = Pick(1, 5); n > 0; --n) fSetup.Lines.push_back(lines[Pick(0, int(std::size(lines)) - 1)]);
        if (Pick(0, 3) == 0) fSetup.MaxScrollWidth = Pick(1, 4);
        return;
    }
    fSetup.TabWidth = Pick(1, 8);
    fSetup.WordWrap = Pick(0, 2) == 0;
    fSetup.InsertMode = Pick(0, 3) > 0;
    for (int n = Pick(0, 7); n > 0; --n) fSetup.Lines.push_back(Pick(0, 3) == 0 ? UnicodeString() : Piece(24));
    // Lines longer than MaxScrollWidth, whose own text every edit must reach; or a scroll width
    // that ordinary lines pass.
    switch (Pick(0, 5)) {
    case 0: {
        UnicodeString line;
        for (int n = Pick(1025, 2000); n > 0; --n) line += Letter();
        fSetup.Lines.insert(fSetup.Lines.begin() + Pick(0, int(fSetup.Lines.size())), line);
        break;
    }
    case 1: fSetup.MaxScrollWidth = Pick(1, 24); break;
    default: break;
    }
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

RandomEditStep RandomEditSequence::NextTrimmedIndentStep(const TCustomNibEdit& edit)
{
    static constexpr TNibEditorCommand editing[] = {
        ecDeleteLastChar, ecDeleteChar, ecDeleteWord, ecDeleteEOL, ecDeleteLine, ecCut, ecLineBreak,
        ecTab, ecShiftTab, ecBlockIndent, ecBlockUnindent,
    };
    RandomEditStep s;
    switch (Pick(0, 9)) {
    case 0:
    case 1:
        s.What = RandomEditStep::Select;
        s.Mode = TNibSelectionMode(Pick(0, 2));
        s.A = Position(edit);
        s.B = Position(edit);
        break;
    case 2:
        s.What = RandomEditStep::Caret;
        s.A = Position(edit);
        break;
    case 3:
    case 4:
        s.What = RandomEditStep::Command;
        s.Cmd = editing[Pick(0, int(std::size(editing)) - 1)];
        break;
    case 5:
    case 6:
        s.What = RandomEditStep::ColumnShift;
        s.N = Pick(0, 1);
        if (Pick(0, 1)) s.Text = UnicodeString(1, Pick(0, 1) ? u'x' : u' ');
        break;
    case 7:
        s.What = RandomEditStep::Type;
        s.Text = Pick(0, 2) ? u"x" : u" ";
        break;
    case 8:
        s.What = RandomEditStep::Undo;
        s.N = Pick(1, 3);
        break;
    default:
        s.What = RandomEditStep::Redo;
        s.N = Pick(1, 2);
        break;
    }
    return s;
}

RandomEditStep RandomEditSequence::NextStep(const TCustomNibEdit& edit)
{
    if (fClass == RandomEditClass::TrimmedIndents) return NextTrimmedIndentStep(edit);
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
    switch (Pick(0, 28)) {
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
    case 19:
        s.What = RandomEditStep::Ime;
        s.Text = Piece(3) + Letter();
        if (s.Text.find_first_not_of(u'\t') == UnicodeString::npos) s.Text.assign(1, u'\u4E00');
        // An input method may commit line breaks too, of any kind.
        if (Pick(0, 2) == 0) {
            static constexpr const char16_t* breaks[] = {u"\r\n", u"\n", u"\r"};
            s.Text.insert(std::size_t(Pick(0, int(s.Text.size()))), breaks[Pick(0, 2)]);
        }
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
    case 20:
    case 21:
    case 22:
        s.What = RandomEditStep::Undo;
        s.N = Pick(1, 3);
        break;
    case 23:
    case 24:
        s.What = RandomEditStep::Redo;
        s.N = Pick(1, 3);
        break;
    case 25:
        s.What = RandomEditStep::Save;
        break;
    case 28:
        s.What = RandomEditStep::ColumnShift;
        s.N = Pick(0, 1);
        if (Pick(0, 1)) s.Text = UnicodeString(1, Pick(0, 1) ? u'x' : u' ');
        break;
    default:
        s.What = RandomEditStep::Option;
        switch (Pick(0, 5)) {
        case 0: s.N = RandomEditStep::SetTabWidth; s.A.Char = Pick(1, 8); break;
        case 1: s.N = RandomEditStep::SetWordWrap; s.A.Char = Pick(0, 1); break;
        case 2: s.N = RandomEditStep::SetInsertMode; s.A.Char = Pick(0, 1); break;
        default: s.N = Varied[Pick(0, int(std::size(Varied)) - 1)]; break;
        }
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
    case RandomEditStep::ColumnShift:
        return std::string(s.N ? "shift left one column" : "shift right one column") +
               (s.Text.empty() ? "" : ", type \"" + Show(s.Text) + "\"");
    case RandomEditStep::Undo: return "undo" + (s.N > 1 ? " x" + std::to_string(s.N) : std::string());
    case RandomEditStep::Redo: return "redo" + (s.N > 1 ? " x" + std::to_string(s.N) : std::string());
    case RandomEditStep::Save: return "save";
    case RandomEditStep::Option: {
        const std::string on = s.A.Char ? " on" : " off";
        switch (s.N) {
        case RandomEditStep::SetTabWidth: return "tab width " + std::to_string(s.A.Char);
        case RandomEditStep::SetWordWrap: return "word wrap" + on;
        case RandomEditStep::SetInsertMode: return "insert mode" + on;
        default: return "toggle option " + std::to_string(s.N);
        }
    }
    }
    return {};
}

std::string Describe(const RandomEditSetup& setup)
{
    std::ostringstream o;
    o << "options $" << std::hex << setup.Options.ToBits() << std::dec << ", TabWidth " << setup.TabWidth
      << ", MaxScrollWidth " << setup.MaxScrollWidth << (setup.WordWrap ? ", word wrap" : "") << (setup.InsertMode ? ", insert" : ", overwrite")
      << (setup.UndoLimit > 0 ? ", undo limit " + std::to_string(setup.UndoLimit) : "") << "\n  text:";
    for (const UnicodeString& line : setup.Lines) o << "\n    \"" << Show(line) << "\"";
    return o.str();
}

std::string CheckUndoRedo(const RandomEditSetup& setup, const std::vector<RandomEditStep>& steps)
{
    return Replay(setup, steps);
}

std::string TraceRandomEditSeed(unsigned seed, int Steps, RandomEditClass Class)
{
    RandomEditSequence sequence(seed, Class);
    Harness h(sequence.Setup());
    std::string trace = Describe(sequence.Setup()) + "\n";
    try {
        for (int i = 0; i < Steps; ++i) {
            const RandomEditStep step = sequence.NextStep(h.edit);
            const std::string problem = h.Apply(step);
            trace += Describe(step) + "\n    " + Show(Snapshot(h.edit)) + "\n";
            if (!problem.empty()) trace += "  " + problem + "\n";
        }
    } catch (const std::exception& e) {
        trace += std::string("threw \"") + e.what() + "\"\n";
    }
    return trace;
}

std::string RunRandomEditSeed(unsigned seed, int Steps, int* ChangedSteps, RandomEditClass Class)
{
    RandomEditSequence sequence(seed, Class);
    std::vector<RandomEditStep> steps;
    std::string problem;
    {
        Harness h(sequence.Setup());
        try {
            for (int i = 0; i < Steps && problem.empty(); ++i) {
                steps.push_back(sequence.NextStep(h.edit));
                problem = h.Apply(steps.back());
            }
            if (problem.empty()) problem = h.Finish();
        } catch (const std::exception& e) {
            problem = std::string("threw \"") + e.what() + "\"";
        }
        if (ChangedSteps) *ChangedSteps += h.made;
    }
    if (problem.empty()) return {};
    steps = Shrink(sequence.Setup(), steps);
    const RandomEditSetup setup = ShrinkText(sequence.Setup(), steps);
    std::string report = "seed " + std::to_string(seed) + ": " + Replay(setup, steps) + "\n  " + Describe(setup) +
                         "\n  steps:";
    for (const RandomEditStep& s : steps) report += "\n    " + Describe(s);
    return report;
}
