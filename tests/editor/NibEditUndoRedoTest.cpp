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
