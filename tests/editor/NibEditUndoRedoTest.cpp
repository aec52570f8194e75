#include <functional>

#include "editor/EditorFixture.h"

namespace {

using Lines_ = std::vector<UnicodeString>;

TNibEditorOptions Without(TNibEditorOptions o, TNibEditorOption drop) { return o.Exclude(drop); }

} // namespace

TEST_F(EditorTest, TypedRunsUndoTogetherOnlyWithGroupUndo)
{
    SetLines({u""});
    Type(u"abc");
    EXPECT_EQ(edit.UndoList().ItemCount(), 3);
    EXPECT_TRUE(edit.Modified());
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u""}));
    EXPECT_FALSE(edit.Modified());
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"abc"}));
    EXPECT_TRUE(edit.Modified());
    EXPECT_EQ(edit.CaretXY(), BufferCoord(4, 1));


    SetLines({u""});
    edit.ClearUndo();
    edit.SetOptions(Without(edit.Options(), eoGroupUndo));
    Type(u"abc");
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"ab"}));
    edit.Undo();
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u""}));
    edit.Undo();  // nothing left: nothing happens
    EXPECT_EQ(Lines(), (Lines_{u""}));
    edit.Redo();  // a redone step shares one number: it undoes as one
    EXPECT_EQ(Lines(), (Lines_{u"a"}));
}

TEST_F(EditorTest, AnItemOfAnotherReasonEndsAGroup)
{
    SetLines({u""});
    Type(u"ab");
    edit.CommandProcessor(ecLineBreak, u'\r', nullptr);
    Type(u"cd");
    EXPECT_EQ(Lines(), (Lines_{u"ab", u"cd"}));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"ab", u""}));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"ab"}));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u""}));
    edit.Redo();
    edit.Redo();
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"ab", u"cd"}));
    EXPECT_EQ(edit.RedoList().ItemCount(), 0);
}

TEST_F(EditorTest, LineBreakWithAutoIndentIsOneStepBothWays)
{
    SetLines({u"  abc"});
    edit.SetCaretXY({6, 1});
    edit.CommandProcessor(ecLineBreak, u'\r', nullptr);
    EXPECT_EQ(Lines(), (Lines_{u"  abc", u"  "}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(3, 2));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"  abc"}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(6, 1));
    EXPECT_FALSE(edit.Modified());

    edit.Redo();  // the break and its indentation, not the indentation twice
    EXPECT_EQ(Lines(), (Lines_{u"  abc", u"  "}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(3, 2));
    EXPECT_TRUE(edit.Modified());
    EXPECT_FALSE(edit.CanRedo());
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"  abc"}));
    EXPECT_FALSE(edit.Modified());
}

TEST_F(EditorTest, LineBreakInsideALineSplitsItAndUndoJoinsIt)
{
    SetLines({u"  abcd"});
    edit.SetCaretXY({5, 1});
    edit.CommandProcessor(ecLineBreak, u'\r', nullptr);
    EXPECT_EQ(Lines(), (Lines_{u"  ab", u"  cd"}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(3, 2));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"  abcd"}));
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"  ab", u"  cd"}));
}

TEST_F(EditorTest, UndoOfABreakPastTheLineEndLeavesNoBlanks)
{
    SetLines({u"abc"});
    edit.SetCaretXY({6, 1});
    edit.CommandProcessor(ecLineBreak, u'\r', nullptr);
    EXPECT_EQ(Lines(), (Lines_{u"abc", u""}));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"abc"}));
}

TEST_F(EditorTest, RedoOfAnOverwriteReplacesTheRestoredText)
{
    SetLines({u"abc"});
    edit.SetInsertMode(false);
    Type(u"X");
    EXPECT_EQ(Lines(), (Lines_{u"Xbc"}));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"abc"}));
    EXPECT_FALSE(edit.Modified());
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"Xbc"}));
    EXPECT_TRUE(edit.Modified());
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"abc"}));
}

TEST_F(EditorTest, ColumnPasteBelowTheLastLineUndoesAndRedoes)
{
    SetLines({u"abc"});
    clipboard.SetText(u"12\r\n34\r\n56");
    clipboard.AddFormat(NibEditClipboardFormat, std::string("\2") + "12\r\n34\r\n56" + '\0');
    edit.SetCaretXY({3, 1});
    edit.PasteFromClipboard();
    const Lines_ pasted{u"ab12c", u"  34", u"  56"};
    EXPECT_EQ(Lines(), pasted);
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"abc"}));
    EXPECT_FALSE(edit.Modified());
    edit.Redo();
    EXPECT_EQ(Lines(), pasted);
    EXPECT_TRUE(edit.Modified());
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"abc"}));
    EXPECT_FALSE(edit.Modified());
}

TEST_F(EditorTest, AGroupBreakOnTopMovesToRedoAndIsNoStep)
{
    SetLines({u""});
    Type(u"ab");
    edit.SetModified(false);  // with eoGroupUndo this leaves a group break on top
    EXPECT_EQ(edit.UndoList().LastChangeReason(), crGroupBreak);
    Type(u"cd");
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"ab"}));
    EXPECT_FALSE(edit.Modified());
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u""}));
    EXPECT_TRUE(edit.Modified());
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"ab"}));
    EXPECT_FALSE(edit.Modified());
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"abcd"}));
    EXPECT_TRUE(edit.Modified());
}

TEST_F(EditorTest, ABracketedStepUndoesDownToItsBeginWhateverTheNumbers)
{
    SetLines({u""});
    Type(u"x");
    edit.UndoList().AddChange(crSpecial1Begin, {1, 1}, {1, 1}, {}, smNormal);
    Type(u"ab");
    edit.CommandProcessor(ecLineBreak, u'\r', nullptr);
    edit.UndoList().AddChange(crSpecial1End, {1, 1}, {1, 1}, {}, smNormal);
    EXPECT_EQ(Lines(), (Lines_{u"xab", u""}));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"x"}));
    EXPECT_EQ(edit.UndoList().LastChangeReason(), crInsert);
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"xab", u""}));
}

TEST_F(EditorTest, ReadOnlyRefusesUndoRedoAndTyping)
{
    SetLines({u""});
    Type(u"ab");
    edit.Undo();
    edit.SetReadOnly(true);
    EXPECT_FALSE(edit.CanRedo());
    edit.Redo();
    Type(u"z");
    EXPECT_EQ(Lines(), (Lines_{u""}));
    edit.SetReadOnly(false);
    EXPECT_TRUE(edit.CanRedo());
    edit.CommandProcessor(ecRedo, 0, nullptr);
    EXPECT_EQ(Lines(), (Lines_{u"ab"}));
}

TEST_F(EditorTest, UndoOfADeletionShowsTheRestoredTextSelected)
{
    SetLines({u"abcdef"});
    Select({2, 1}, {5, 1});
    edit.SetSelText({});
    EXPECT_EQ(Lines(), (Lines_{u"aef"}));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"abcdef"}));
    EXPECT_EQ(edit.SelText(), u"bcd");
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"aef"}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(2, 1));
}

TEST_F(EditorTest, UndoPutsBackExactlyWhatAnEditTook)
{
    struct Case {
        const char* name;
        bool inserting;
        TNibSelectionMode editorMode;
        char pasteMode;
        TBufferCoord caret;
        UnicodeString text;
        Lines_ after;
    };
    const Case cases[] = {
        {"normal paste past the line end", true, smNormal, '\0', {6, 1}, u"X\r\nY", {u"ab   X", u"Y", u"cd", u"ef"}},
        {"column paste past short lines", true, smNormal, '\2', {5, 1}, u"X\r\nY", {u"ab  X", u"cd  Y", u"ef"}},
        {"column paste while lines are selected", true, smLine, '\2', {2, 1}, u"X\r\nY", {u"aXb", u"cYd", u"ef"}},
        {"line paste in overwrite mode", false, smNormal, '\1', {1, 1}, u"X\r\nY\r\n", {u"X", u"Y", u"ef"}},
    };
    for (const Case& c : cases) {
        SetLines({u"ab", u"cd", u"ef"});
        edit.ClearUndo();
        edit.SetInsertMode(c.inserting);
        edit.SetSelectionMode(c.editorMode);
        edit.SetCaretXY(c.caret);
        clipboard.SetText(c.text);
        clipboard.AddFormat(NibEditClipboardFormat, std::string(1, c.pasteMode) + ToAnsi(c.text) + '\0');
        edit.PasteFromClipboard();
        EXPECT_EQ(Lines(), c.after) << c.name;
        edit.Undo();
        EXPECT_EQ(Lines(), (Lines_{u"ab", u"cd", u"ef"})) << c.name;
        edit.Redo();
        EXPECT_EQ(Lines(), c.after) << c.name;
    }
}

TEST_F(EditorTest, TypingPastTheLineEndInOverwriteModeUndoesItsBlanks)
{
    SetLines({u"ab"});
    edit.SetInsertMode(false);
    edit.SetCaretXY({5, 1});
    Type(u"X");
    EXPECT_EQ(Lines(), (Lines_{u"ab  X"}));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"ab"}));
}

// The smallest cases of the edits that gave back other text on undo: past line ends, over tabs
// and wide glyphs (U+4E00 takes two cells), in column mode. After the edit, one undo leaves the
// caret where the undo items put it; undoing everything gives the first text back, redoing
// everything the edited one.
TEST_F(EditorTest, SmallestCasesUndoAndRedoExactly)
{
    struct Case {
        const char* name;
        Lines_ lines;
        int tabWidth;
        std::function<void(TNibEdit&)> edit;
        Lines_ after;
        TBufferCoord caretAfterOneUndo;
    };
    auto at = [](TBufferCoord caret, TNibEditorCommand command) {
        return [=](TNibEdit& e) {
            e.SetCaretXY(caret);
            e.CommandProcessor(command, 0, nullptr);
        };
    };
    auto column = [](TBufferCoord from, TBufferCoord to, TNibEditorCommand command) {
        return [=](TNibEdit& e) {
            e.CommandProcessor(ecColumnSelect, 0, nullptr);
            e.SetCaretAndSelection(to, from, to);
            e.CommandProcessor(command, 0, nullptr);
        };
    };
    const Case cases[] = {
        {"Ctrl+T past the line end", {u"ab", u"cd"}, 8, at({5, 1}, ecDeleteWord), {u"ab  cd"}, {5, 1}},
        {"Ctrl+Shift+Y past the line end", {u"ab", u"cd"}, 8, at({5, 1}, ecDeleteEOL), {u"ab  cd"}, {5, 1}},
        {"Tab past the line end after a line break",
         {u"abc"},
         2,
         [](TNibEdit& e) {
             e.SetCaretXY({2, 1});
             e.CommandProcessor(ecLineBreak, u'\r', nullptr);
             e.SetCaretXY({4, 1});
             e.CommandProcessor(ecTab, 0, nullptr);
         },
         {u"a   ", u"bc"},
         {4, 1}},
        {"Tab in column selection mode",
         {u"abc"},
         8,
         [](TNibEdit& e) {
             e.SetCaretXY({2, 1});
             e.CommandProcessor(ecColumnSelect, 0, nullptr);
             e.CommandProcessor(ecTab, 0, nullptr);
         },
         {u"a       bc"},
         {2, 1}},
        {"column cut whose edge falls inside a tab",
         {u"abcdef", u"a\tbc", u"uvwxyz"},
         4,
         column({3, 1}, {5, 3}, ecCut),
         {u"abef", u"a\tbc", u"uvyz"},
         {5, 3}},
        {"column cut whose edge falls inside a wide glyph",
         {u"abcd", u"a\u4E00b", u"wxyz"},
         8,
         column({3, 1}, {4, 3}, ecCut),
         {u"abd", u"a\u4E00b", u"wxz"},
         {4, 3}},
        {"column delete whose block passes a line end",
         {u"ab", u"abcdef"},
         8,
         column({6, 1}, {4, 2}, ecDeleteChar),
         {u"ab", u"abcf"},
         {4, 2}},
        {"column backspace with a tab left of the block",
         {u"abcdef", u"a\tbcd"},
         4,
         column({3, 1}, {5, 2}, ecDeleteLastChar),
         {u"ab", u"a\td"},
         {5, 2}},
    };
    for (const Case& c : cases) {
        SetLines(c.lines);
        edit.ClearUndo();
        edit.SetSelectionMode(smNormal);
        edit.SetTabWidth(c.tabWidth);
        c.edit(edit);
        EXPECT_EQ(Lines(), c.after) << c.name;
        edit.Undo();
        EXPECT_EQ(edit.CaretXY(), c.caretAfterOneUndo) << c.name;
        while (edit.CanUndo()) edit.Undo();
        EXPECT_EQ(Lines(), c.lines) << c.name;
        while (edit.CanRedo()) edit.Redo();
        EXPECT_EQ(Lines(), c.after) << c.name;
    }
}

TEST_F(EditorTest, AfterUndoAndRedoOfAColumnPasteTheActiveModeFollowsTheSelectionMode)
{
    SetLines({u"abc", u"def"});
    clipboard.SetText(u"1\r\n2");
    clipboard.AddFormat(NibEditClipboardFormat, std::string("\2") + "1\r\n2" + '\0');
    edit.SetCaretXY({2, 1});
    edit.PasteFromClipboard();
    EXPECT_EQ(Lines(), (Lines_{u"a1bc", u"d2ef"}));
    edit.Undo();
    EXPECT_EQ(edit.ActiveSelectionMode(), smNormal);
    edit.Redo();
    EXPECT_EQ(edit.ActiveSelectionMode(), smNormal);
    // Select All and Delete remove everything, not a rectangle; typing replaces the selection once.
    edit.CommandProcessor(ecSelectAll, 0, nullptr);
    edit.CommandProcessor(ecDeleteChar, 0, nullptr);
    EXPECT_EQ(Lines(), (Lines_{u""}));
    edit.Undo();
    edit.CommandProcessor(ecSelectAll, 0, nullptr);
    Type(u"x");
    EXPECT_EQ(Lines(), (Lines_{u"x"}));
}

TEST_F(EditorTest, BlanksThatFillOrTrimALineUndoExactly)
{
    struct Case {
        const char* name;
        bool trim;
        Lines_ lines;
        std::function<void(TNibEdit&)> edit;
        Lines_ after;
    };
    const Case cases[] = {
        {"input-method text past the line end", false, {u"ab"},
         [](TNibEdit& e) {
             e.SetCaretXY({5, 1});
             e.InputMethodText(u"x\u4E00");
         },
         {u"ab  x\u4E00"}},
        {"typing trims the blanks a line had", true, {u"ab  ", u"cd\t"},
         [](TNibEdit& e) {
             e.SetCaretXY({1, 1});
             e.CommandProcessor(ecChar, u'x', nullptr);
         },
         {u"xab", u"cd\t"}},
        {"a blank typed at the end goes, the next letter brings it back", true, {u"ab"},
         [](TNibEdit& e) {
             e.SetCaretXY({3, 1});
             e.CommandProcessor(ecChar, u' ', nullptr);
             e.CommandProcessor(ecChar, u'c', nullptr);
         },
         {u"ab c"}},
        {"a case change trims", true, {u"ab  "},
         [](TNibEdit& e) {
             e.SetCaretXY({2, 1});
             e.CommandProcessor(ecUpperCase, 0, nullptr);
         },
         {u"AB"}},
        {"a column paste trims the lines it ends", true, {u"ab", u"cd"},
         [this](TNibEdit& e) {
             clipboard.SetText(u"x \r\ny\t");
             clipboard.AddFormat(NibEditClipboardFormat, std::string("\2") + "x \r\ny\t" + '\0');
             e.SetCaretXY({3, 1});
             e.PasteFromClipboard();
         },
         {u"abx", u"cdy"}},
    };
    for (const Case& c : cases) {
        SetLines(c.lines);
        edit.ClearUndo();
        TNibEditorOptions options = edit.Options();
        edit.SetOptions(c.trim ? options.Include(eoTrimTrailingSpaces) : options.Exclude(eoTrimTrailingSpaces));
        c.edit(edit);
        EXPECT_EQ(Lines(), c.after) << c.name;
        edit.Undo();
        EXPECT_EQ(Lines(), c.lines) << c.name;
        edit.Redo();
        EXPECT_EQ(Lines(), c.after) << c.name;
    }
}

TEST_F(EditorTest, UndoOfABackspaceOverAnIndentationPutsTheCaretWhereItStood)
{
    // Smart backspace takes the indentation back to the line above's; without it, one tab stop.
    struct Case {
        const char* name;
        bool smart;
        Lines_ lines;
        Lines_ after;
    };
    const Case cases[] = {
        {"blanks, smart", true, {u"  x", u"    y"}, {u"  x", u"  y"}},
        {"blanks, to the tab stop", false, {u"x", u"    y"}, {u"x", u"y"}},
        {"a tab and blanks, smart", true, {u"  x", u"\t  y"}, {u"  x", u"  y"}},
    };
    for (const Case& c : cases) {
        SetLines(c.lines);
        edit.ClearUndo();
        edit.SetTabWidth(4);
        TNibEditorOptions options = edit.Options();
        edit.SetOptions(c.smart ? options.Include(eoSmartTabDelete) : options.Exclude(eoSmartTabDelete));
        const TBufferCoord caret{int(c.lines[1].size()), 2};
        edit.SetCaretXY(caret);
        edit.CommandProcessor(ecDeleteLastChar, 0, nullptr);
        EXPECT_EQ(Lines(), c.after) << c.name;
        edit.Undo();
        EXPECT_EQ(Lines(), c.lines) << c.name;
        EXPECT_EQ(edit.CaretXY(), caret) << c.name;
        edit.Redo();
        EXPECT_EQ(Lines(), c.after) << c.name;
    }
}

TEST_F(EditorTest, RedoOfADeletionLeavesTheCaretWhereTheTextClosedUp)
{
    SetLines({u"ab", u"cd"});
    edit.SetCaretXY({3, 1});
    edit.CommandProcessor(ecDeleteEOL, 0, nullptr);  // deletes forward, the line break
    EXPECT_EQ(Lines(), (Lines_{u"abcd"}));
    edit.Undo();
    EXPECT_EQ(edit.CaretXY(), BufferCoord(3, 1));
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"abcd"}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(3, 1));

    SetLines({u"abcdef"});
    Select({5, 1}, {2, 1});  // selected backwards
    edit.CommandProcessor(ecDeleteChar, 0, nullptr);
    edit.Undo();
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"aef"}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(2, 1));
}

TEST_F(EditorTest, UndoInsideAnOuterPaintLockTakesTheTrimmedBlanksAlong)
{
    SetLines({u"ab  "});
    edit.SetOptions(TNibEditorOptions(edit.Options()).Include(eoTrimTrailingSpaces));
    edit.BeginUpdate();
    edit.SetCaretXY({1, 1});
    Type(u"x");
    edit.Undo();
    edit.EndUpdate();
    EXPECT_EQ(Lines(), (Lines_{u"ab  "}));
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"xab"}));
}

// Undo with a small limit: what the limit dropped cannot be undone, so the text it reaches at the
// bottom is not the text that was loaded or saved.
TEST_F(EditorTest, ModifiedStaysTrueOnceTheUndoLimitDroppedWhatTheSavedTextNeeds)
{
    const auto undoAll = [this] {
        while (edit.CanUndo()) edit.Undo();
    };
    edit.SetMaxUndo(4);
    edit.SetOptions(Without(edit.Options(), eoGroupUndo));

    // A new, empty document.
    Type(u"abcdef");
    undoAll();
    EXPECT_EQ(Lines(), (Lines_{u"ab"}));
    EXPECT_TRUE(edit.Modified());
    while (edit.CanRedo()) edit.Redo();
    undoAll();
    EXPECT_TRUE(edit.Modified());

    // A loaded file, edited past the limit.
    edit.SetText(u"loaded");
    edit.SetModified(false);
    edit.SetCaretXY({7, 1});
    Type(u"123456");
    undoAll();
    EXPECT_EQ(Lines(), (Lines_{u"loaded12"}));
    EXPECT_TRUE(edit.Modified());

    // Saved there: the empty list stands for the saved text again, until the limit drops an item.
    edit.SetModified(false);
    Type(u"xyz");
    undoAll();
    EXPECT_EQ(Lines(), (Lines_{u"loaded12"}));
    EXPECT_FALSE(edit.Modified());
    Type(u"uvwxy");
    undoAll();
    EXPECT_EQ(Lines(), (Lines_{u"loaded12u"}));
    EXPECT_TRUE(edit.Modified());
}
