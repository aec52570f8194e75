#include "editor/EditorFixture.h"

namespace {

using Lines_ = std::vector<UnicodeString>;

struct CopyCase {
    const char* name;
    Lines_ lines;
    TNibSelectionMode mode;
    TBufferCoord from, to;
    UnicodeString copied;
    Lines_ afterCut;
};

std::string Block(char mode, std::string_view text)
{
    std::string block(1, mode);
    block += text;
    block += '\0';
    return block;
}

} // namespace

TEST_F(EditorTest, CopyCutAndUndoInTheThreeModes)
{
    const CopyCase cases[] = {
        {"normal in one line", {u"abcdef"}, smNormal, {2, 1}, {4, 1}, u"bc", {u"adef"}},
        {"normal over two lines", {u"abc", u"def"}, smNormal, {2, 1}, {3, 2}, u"bc\r\nde", {u"af"}},
        {"line mode before the last line", {u"a", u"b", u"c"}, smLine, {1, 1}, {1, 2}, u"a\r\nb\r\n", {u"c"}},
        {"line mode through the last line", {u"a", u"b", u"c"}, smLine, {1, 2}, {1, 3}, u"b\r\nc", {u"a", u""}},
        {"column over a tab", {u"\tXY", u"0123456789AB"}, smColumn, {2, 1}, {11, 2}, u"XY\r\n89",
         {u"\t", u"01234567AB"}},
        {"column over a wide glyph", {u"\u4E00ab", u"0123"}, smColumn, {1, 1}, {3, 2}, u"\u4E00\r\n01",
         {u"ab", u"23"}},
        {"column past short lines is padded", {u"abcdef", u"ab", u"abcdef"}, smColumn, {2, 1}, {5, 3},
         u"bcd\r\nb  \r\nbcd", {u"aef", u"a", u"aef"}},
    };
    for (const CopyCase& c : cases) {
        SetLines(c.lines);
        edit.ClearUndo();
        edit.SetSelectionMode(c.mode);
        Select(c.from, c.to);
        EXPECT_EQ(edit.SelText(), c.copied) << c.name;
        edit.CopyToClipboard();
        EXPECT_EQ(clipboard.Text(), c.copied) << c.name;
        EXPECT_EQ(clipboard.FormatData(NibEditClipboardFormat), Block(char(c.mode), ToAnsi(c.copied))) << c.name;
        edit.CutToClipboard();
        EXPECT_EQ(Lines(), c.afterCut) << c.name;
        edit.Undo();
        EXPECT_EQ(Lines(), c.lines) << c.name;
        EXPECT_FALSE(edit.Modified()) << c.name;
    }
}

TEST_F(EditorTest, ColumnCopyKeepsFillingBlanksThatACutTrims)
{
    SetLines({u"abcdef", u"ab", u"abcdef"});
    edit.SetOptions(TNibEditorOptions(edit.Options()).Include(eoTrimTrailingSpaces));
    edit.SetSelectionMode(smColumn);
    Select({2, 1}, {5, 3});
    edit.CopyToClipboard();
    EXPECT_EQ(clipboard.Text(), u"bcd\r\nb  \r\nbcd");
    EXPECT_TRUE(edit.Options().Contains(eoTrimTrailingSpaces));
    edit.CutToClipboard();
    EXPECT_EQ(clipboard.Text(), u"bcd\r\nb\r\nbcd");
}

TEST_F(EditorTest, NothingIsCopiedWithoutASelectionAndReadOnlyRefusesCut)
{
    SetLines({u"abc"});
    clipboard.SetText(u"keep");
    edit.CopyToClipboard();
    EXPECT_EQ(clipboard.Text(), u"keep");
    Select({1, 1}, {3, 1});
    edit.SetReadOnly(true);
    edit.CutToClipboard();
    EXPECT_EQ(clipboard.Text(), u"keep");
    EXPECT_EQ(Lines(), (Lines_{u"abc"}));
    edit.PasteFromClipboard();
    EXPECT_EQ(Lines(), (Lines_{u"abc"}));
}

TEST_F(EditorTest, PasteTakesItsModeFromThePrivateFormatOrTheEditor)
{
    struct Case {
        const char* name;
        const char* modeByte;  // null: plain text only
        TNibSelectionMode editorMode;
        UnicodeString text;
        Lines_ after;
        TBufferCoord caret;
    };
    const Case cases[] = {
        {"plain text in normal mode", nullptr, smNormal, u"X\r\nY", {u"aX", u"Ybc", u"def"}, {2, 2}},
        {"plain text in column mode", nullptr, smColumn, u"X\r\nY", {u"aXbc", u"dYef"}, {3, 2}},
        {"private normal in column mode", "\0", smColumn, u"X\r\nY", {u"aX", u"Ybc", u"def"}, {2, 2}},
        {"private column", "\2", smNormal, u"X\r\nY", {u"aXbc", u"dYef"}, {3, 2}},
        {"private line", "\1", smNormal, u"X\r\n", {u"X", u"abc", u"def"}, {1, 2}},
        {"plain text in line mode", nullptr, smLine, u"X\r\n", {u"X", u"abc", u"def"}, {1, 2}},
        {"garbage mode byte", "\7", smNormal, u"Q", {u"aQbc", u"def"}, {3, 1}},
    };
    for (const Case& c : cases) {
        SetLines({u"abc", u"def"});
        edit.ClearUndo();
        edit.SetSelectionMode(c.editorMode);
        edit.SetCaretXY({2, 1});
        clipboard.SetText(c.text);
        if (c.modeByte) clipboard.AddFormat(NibEditClipboardFormat, Block(c.modeByte[0], ToAnsi(c.text)));
        edit.PasteFromClipboard();
        EXPECT_EQ(Lines(), c.after) << c.name;
        EXPECT_EQ(edit.CaretXY(), c.caret) << c.name;
        edit.Undo();
        EXPECT_EQ(Lines(), (Lines_{u"abc", u"def"})) << c.name;
        edit.Redo();
        EXPECT_EQ(Lines(), c.after) << c.name;
    }
}

TEST_F(EditorTest, PasteReplacesTheSelectionInOneUndoStep)
{
    SetLines({u"abcdef"});
    clipboard.SetText(u"XY");
    Select({2, 1}, {5, 1});
    edit.PasteFromClipboard();
    EXPECT_EQ(Lines(), (Lines_{u"aXYef"}));
    EXPECT_EQ(edit.UndoList().Items(0).ChangeReason, crPasteBegin);
    EXPECT_EQ(edit.UndoList().LastChangeReason(), crPasteEnd);
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"abcdef"}));
    EXPECT_EQ(edit.UndoList().ItemCount(), 0);
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"aXYef"}));
}

TEST_F(EditorTest, LinePasteAtColumnOneRecordsALineBlock)
{
    SetLines({u"abc", u"def"});
    clipboard.SetText(u"X\r\nY\r\n");
    clipboard.AddFormat(NibEditClipboardFormat, Block('\1', "X\r\nY\r\n"));
    edit.SetCaretXY({1, 2});
    edit.PasteFromClipboard();
    EXPECT_EQ(Lines(), (Lines_{u"abc", u"X", u"Y", u"def"}));
    const TNibEditUndoItem& paste = edit.UndoList().Items(edit.UndoList().ItemCount() - 2);
    EXPECT_EQ(paste.ChangeReason, crPaste);
    EXPECT_EQ(paste.ChangeSelMode, smLine);
    EXPECT_EQ(paste.ChangeStartPos, BufferCoord(1, 2));
    EXPECT_EQ(paste.ChangeEndPos, BufferCoord(edit.CharsInWindow(), 3));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"abc", u"def"}));
    edit.Redo();
    EXPECT_EQ(Lines(), (Lines_{u"abc", u"X", u"Y", u"def"}));
    edit.Undo();
    EXPECT_EQ(Lines(), (Lines_{u"abc", u"def"}));
}
