// Undo and redo put back exactly what was recorded, whatever options, tab width or insert mode
// changed in between, and Modified is false exactly at the saved text.
#include <functional>

#include "editor/EditorFixture.h"

namespace {

using Lines_ = std::vector<UnicodeString>;
using EditorStep = std::function<void(TNibEdit&)>;

/// An editor of its own for each case, on the fixture's canvas.
struct CaseEditor {
    explicit CaseEditor(const Lines_& lines) : host(edit, 192, 160)
    {
        for (const UnicodeString& line : lines) edit.Lines().Add(line);
        edit.ClearUndo();
        edit.SetModified(false);
    }
    /// An empty store reads as one empty line: the two are the same text.
    Lines_ Lines() const
    {
        if (edit.Lines().Count() == 0) return {u""};
        Lines_ result;
        for (int i = 0; i < edit.Lines().Count(); ++i) result.push_back(edit.Lines()[i]);
        return result;
    }
    TNibEdit edit;
    FakeControlHost host;
};

void Toggle(TNibEdit& e, TNibEditorOption o)
{
    TNibEditorOptions options = e.Options();
    if (options.Contains(o)) options.Exclude(o);
    else options.Include(o);
    e.SetOptions(options);
}

void With(TNibEdit& e, TNibEditorOption o, bool on)
{
    TNibEditorOptions options = e.Options();
    if (on) options.Include(o);
    else options.Exclude(o);
    e.SetOptions(options);
}

void TypeText(TNibEdit& e, std::u16string_view text)
{
    for (char16_t c : text) e.CommandProcessor(ecChar, c, nullptr);
}

void Command(TNibEdit& e, TNibEditorCommand c) { e.CommandProcessor(c, u'\0', nullptr); }

void ColumnSelect(TNibEdit& e, TBufferCoord from, TBufferCoord to)
{
    With(e, eoScrollPastEol, true);
    Command(e, ecColumnSelect);
    e.SetCaretAndSelection(to, from, to);
}

/// Drops the selection at a buffer position of the same editor.
void DropAt(TNibEdit& e, TBufferCoord at, TShiftState shift)
{
    const TPoint p = e.RowColumnToPixels({at.Char, at.Line});
    e.DragDrop(&e, p.X, p.Y, shift);
}

void Enter(TNibEdit& e) { e.CommandProcessor(ecLineBreak, u'\r', nullptr); }

/// The next tab width of a cycle 8, 2, 5, 8, ...
void NextTabWidth(TNibEdit& e) { e.SetTabWidth(e.TabWidth() == 8 ? 2 : e.TabWidth() + 3); }

} // namespace

TEST_F(EditorTest, UndoAndRedoGiveBackWhatWasRecordedWhateverChangedInBetween)
{
    struct Case {
        const char* Name;
        Lines_ Text;
        /// Options, caret and selection before the edit: not part of it.
        EditorStep Prepare;
        EditorStep Edit;
        /// The undo steps the edit takes.
        int Steps;
        /// Runs before each of three rounds of undo and redo: what changes in between.
        EditorStep Between;
        /// The text is saved after the edit rather than before it.
        bool SavedAfter = false;
    };
    const Case cases[] = {
        {"a redone break keeps the indentation it made when auto indent goes off", {u"  ab"},
         [](TNibEdit& e) { With(e, eoAutoIndent, true); e.SetCaretXY({4, 1}); }, Enter, 1,
         [](TNibEdit& e) { Toggle(e, eoAutoIndent); }},
        {"a redone break makes no indentation when auto indent comes on", {u"  ab"},
         [](TNibEdit& e) { With(e, eoAutoIndent, false); e.SetCaretXY({4, 1}); }, Enter, 1,
         [](TNibEdit& e) { Toggle(e, eoAutoIndent); }},
        {"a redone break keeps its tabs when tabs-to-spaces comes on", {u"    ab"},
         [](TNibEdit& e) {
             With(e, eoAutoIndent, true);
             With(e, eoTabsToSpaces, false);
             e.SetTabWidth(2);
             e.SetCaretXY({6, 1});
         },
         Enter, 1, [](TNibEdit& e) { Toggle(e, eoTabsToSpaces); }},
        {"a redone break past the line end keeps its retyped indentation", {u"\t x"},
         [](TNibEdit& e) {
             With(e, eoAutoIndent, true);
             With(e, eoScrollPastEol, true);
             e.SetCaretXY({6, 1});
         },
         Enter, 1, [](TNibEdit& e) { Toggle(e, eoAutoIndent); }},
        {"typing over a column block undoes at its chars under another tab width", {u"x", u"\t.", u"y"},
         [](TNibEdit& e) { ColumnSelect(e, {9, 1}, {14, 3}); }, [](TNibEdit& e) { TypeText(e, u"U"); }, 1,
         NextTabWidth},
        {"a column block deleted by key comes back at its chars under another tab width", {u"ab\tcd", u"\t\tef"},
         [](TNibEdit& e) { ColumnSelect(e, {4, 1}, {5, 2}); }, [](TNibEdit& e) { Command(e, ecDeleteChar); }, 1,
         NextTabWidth},
        {"a column cut of wide glyphs after tabs comes back under another tab width", {u"\t\u4E00x", u"ab\t\u4E2Dy"},
         [](TNibEdit& e) { ColumnSelect(e, {2, 1}, {5, 2}); }, [](TNibEdit& e) { Command(e, ecCut); }, 1,
         NextTabWidth},
        {"a copy dragged and saved stays unmodified after undo, redo and a move", {u"abc def"},
         [](TNibEdit& e) { e.SetCaretAndSelection({4, 1}, {1, 1}, {4, 1}); },
         [](TNibEdit& e) { DropAt(e, {8, 1}, ssCtrl); }, 1, [](TNibEdit& e) { Command(e, ecRight); }, true},
        {"a moved block whose line lost its trailing blanks is one step", {u"ab cd", u"x"},
         [](TNibEdit& e) {
             With(e, eoTrimTrailingSpaces, true);
             e.SetCaretAndSelection({6, 1}, {4, 1}, {6, 1});
         },
         [](TNibEdit& e) { DropAt(e, {2, 2}, 0); }, 1, [](TNibEdit& e) { Command(e, ecRight); }, true},
        {"an input-method string with a line break redoes as it went in", {},
         [](TNibEdit&) {},
         [](TNibEdit& e) {
             e.InputMethodText(u"a\r\n");
             Command(e, ecDown);
             e.InputMethodText(u"\\a");
         },
         2, [](TNibEdit&) {}},
        {"an input-method string with line breaks overwrites its first line's chars only", {u"abcd"},
         [](TNibEdit& e) {
             e.SetInsertMode(false);
             e.SetCaretXY({2, 1});
         },
         [](TNibEdit& e) { e.InputMethodText(u"x\ryz\nw"); }, 1, [](TNibEdit& e) { e.SetInsertMode(!e.InsertMode()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        CaseEditor ce(c.Text);
        TNibEdit& e = ce.edit;
        c.Prepare(e);
        const Lines_ before = ce.Lines();
        c.Edit(e);
        const Lines_ after = ce.Lines();
        ASSERT_NE(after, before);
        if (c.SavedAfter) e.SetModified(false);
        for (int round = 0; round < 3; ++round) {
            c.Between(e);
            EXPECT_EQ(e.Modified(), !c.SavedAfter);
            for (int i = 0; i < c.Steps; ++i) Command(e, ecUndo);
            EXPECT_EQ(ce.Lines(), before);
            EXPECT_EQ(e.Modified(), c.SavedAfter);
            for (int i = 0; i < c.Steps; ++i) Command(e, ecRedo);
            EXPECT_EQ(ce.Lines(), after);
            EXPECT_EQ(e.Modified(), !c.SavedAfter);
        }
    }
}

TEST_F(EditorTest, GroupUndoStopsOnlyWhereTheTextOnceStoodOrTheTypedOverSelectionWasDeleted)
{
    struct Case {
        const char* Name;
        Lines_ Text;
        EditorStep Edit;
        /// The text after each undo, in turn.
        std::vector<Lines_> Undone;
    };
    const Case cases[] = {
        {"typing over a selection: first the typed text goes, then the selection comes back", {u"xyz"},
         [](TNibEdit& e) {
             e.SetCaretAndSelection({3, 1}, {1, 1}, {3, 1});
             TypeText(e, u"ab");
         },
         {{u"z"}, {u"xyz"}}},
        {"typing past the line end: the filling goes with the text", {u"xy"},
         [](TNibEdit& e) {
             With(e, eoScrollPastEol, true);
             e.SetCaretXY({5, 1});
             TypeText(e, u"ab");
         },
         {{u"xy"}}},
        {"a break past the line end: its indentation goes with it", {u"  xyz"},
         [](TNibEdit& e) {
             With(e, eoAutoIndent, true);
             With(e, eoScrollPastEol, true);
             e.SetCaretXY({8, 1});
             Enter(e);
             TypeText(e, u"ab");
         },
         {{u"  xyz"}}},
        {"deleting a block that leaves trailing blanks, then a char: never the untrimmed line", {u"ab xy  "},
         [](TNibEdit& e) {
             With(e, eoTrimTrailingSpaces, true);
             e.SetCaretAndSelection({5, 1}, {2, 1}, {5, 1});
             Command(e, ecDeleteChar);
             Command(e, ecDeleteChar);
         },
         {{u"ab xy  "}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        CaseEditor ce(c.Text);
        TNibEdit& e = ce.edit;
        With(e, eoGroupUndo, true);
        c.Edit(e);
        const Lines_ edited = ce.Lines();
        for (const Lines_& undone : c.Undone) {
            Command(e, ecUndo);
            EXPECT_EQ(ce.Lines(), undone);
        }
        EXPECT_FALSE(e.CanUndo());
        EXPECT_FALSE(e.Modified());
        for (std::size_t i = 0; i < c.Undone.size(); ++i) Command(e, ecRedo);
        EXPECT_EQ(ce.Lines(), edited);
    }
}
