#include "editor/EditorFixture.h"

namespace {

using Lines_ = std::vector<UnicodeString>;

struct PrimitiveCase {
    const char* name;
    Lines_ before;
    TNibSelectionMode selMode;
    TBufferCoord from, to;
    TNibSelectionMode pasteMode;
    const char16_t* text;
    bool inserting;
    Lines_ after;
    TBufferCoord caret;
};

} // namespace

TEST_F(EditorTest, SelTextPrimitiveDeletesByTheActiveModeAndInsertsByThePasteMode)
{
    const PrimitiveCase cases[] = {
        {"normal delete across lines", {u"abc", u"def", u"ghi"}, smNormal, {2, 1}, {2, 3}, smNormal, u"", true,
         {u"ahi"}, {2, 1}},
        {"column delete stored right to left", {u"abcdef", u"ab", u"abcdef"}, smColumn, {5, 1}, {2, 3}, smNormal,
         u"", true, {u"aef", u"a", u"aef"}, {2, 1}},
        {"column delete over a tab takes display columns", {u"\tXY", u"0123456789AB"}, smColumn, {2, 1}, {11, 2},
         smNormal, u"", true, {u"\t", u"01234567AB"}, {2, 1}},
        {"line delete ending on the last line", {u"a", u"b", u"c"}, smLine, {1, 2}, {1, 3}, smNormal, u"", true,
         {u"a", u""}, {1, 2}},
        {"line delete before the last line", {u"a", u"b", u"c"}, smLine, {1, 1}, {1, 2}, smNormal, u"", true,
         {u"c"}, {1, 1}},
        {"normal insert past the line end pads", {u"ab"}, smNormal, {5, 1}, {5, 1}, smNormal, u"X", true,
         {u"ab  X"}, {6, 1}},
        {"two lines split a line", {u"abcd"}, smNormal, {3, 1}, {3, 1}, smNormal, u"X\r\nY", true,
         {u"abX", u"Ycd"}, {2, 2}},
        {"line ends of every kind", {u"ad"}, smNormal, {2, 1}, {2, 1}, smNormal, u"1\n2\r3\r\n", true,
         {u"a1", u"2", u"3", u"d"}, {1, 4}},
        {"a NUL ends the text", {u""}, smNormal, {1, 1}, {1, 1}, smNormal, u"ab\0cd", true, {u"ab"}, {3, 1}},
        {"column insert below the last line", {u"abc"}, smColumn, {3, 1}, {3, 1}, smColumn, u"12\n34\r56", true,
         {u"ab12c", u"  34", u"  56"}, {5, 3}},
        {"column insert ending in a line end", {u"abc", u"def"}, smColumn, {2, 1}, {2, 1}, smColumn, u"X\r\n",
         true, {u"aXbc", u"def"}, {2, 2}},
        {"line insert in insert mode", {u"a", u"b"}, smNormal, {1, 2}, {1, 2}, smLine, u"X\r\nY\r\n", true,
         {u"a", u"X", u"Y", u"b"}, {1, 4}},
        {"line insert in overwrite mode replaces lines", {u"a", u"b", u"c", u"d"}, smNormal, {1, 2}, {1, 2},
         smLine, u"X\r\nY\r\n", false, {u"a", u"X", u"Y", u"d"}, {1, 4}},
    };
    for (const PrimitiveCase& c : cases) {
        SetLines(c.before);
        edit.SetOptions(TNibEditorOptions(edit.Options()).Exclude(eoTrimTrailingSpaces));
        edit.SetInsertMode(c.inserting);
        edit.SetSelectionMode(c.selMode);
        Select(c.from, c.to);
        edit.SetSelTextPrimitive(c.pasteMode, c.text, true);
        EXPECT_EQ(Lines(), c.after) << c.name;
        EXPECT_EQ(edit.CaretXY(), c.caret) << c.name;
        EXPECT_FALSE(edit.SelAvail()) << c.name;
        edit.ClearUndo();
    }
}

TEST_F(EditorTest, TrimmedInsertLeavesTheCaretAtTheEndOfTheTextAsInserted)
{
    SetLines({u"ab"});
    edit.SetOptions(TNibEditorOptions(edit.Options()).Include(eoTrimTrailingSpaces));
    edit.SetCaretXY({3, 1});
    edit.SetSelTextPrimitive(smNormal, u"x  ", true);
    EXPECT_EQ(Lines(), (Lines_{u"abx"}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(6, 1));  // past the trimmed blanks, in code units
}

TEST_F(EditorTest, MarksMoveByTheLinesReallyInserted)
{
    SetLines({u"a", u"b", u"c", u"d", u"e"});
    auto mark = std::make_unique<TNibEditMark>(&edit);
    mark->SetLine(4);
    TNibEditMark* m = mark.get();
    edit.Marks().Add(std::move(mark));

    edit.SetCaretXY({1, 2});
    edit.SetSelTextPrimitive(smLine, u"X\r\nY\r\n", true);
    EXPECT_EQ(m->Line(), 6);  // two lines came in above it

    edit.SetInsertMode(false);
    edit.SetCaretXY({1, 2});
    edit.SetSelTextPrimitive(smLine, u"P\r\nQ\r\n", true);
    EXPECT_EQ(m->Line(), 6);  // overwriting lines adds none

    edit.SetCaretXY({2, 1});
    edit.SetSelTextPrimitive(smNormal, u"1\r\n2\r\n", true);
    EXPECT_EQ(m->Line(), 8);

    Select({1, 1}, {1, 3});
    edit.SetSelTextPrimitive(smNormal, u"", true);
    EXPECT_EQ(m->Line(), 6);
}

TEST_F(EditorTest, SetWordBlockSelectsTheWordAroundAPosition)
{
    SetLines({u"foo bar  baz"});
    struct Case {
        int at;
        TBufferCoord begin, end;
    };
    const Case cases[] = {
        {2, {1, 1}, {4, 1}},    // inside a word
        {4, {1, 1}, {4, 1}},    // on the blank right after a word
        {13, {10, 1}, {13, 1}}, // just behind the line end
        {9, {9, 1}, {9, 1}},    // a blank after a blank selects nothing
    };
    for (const Case& c : cases) {
        edit.SetWordBlock({c.at, 1});
        EXPECT_EQ(edit.BlockBegin(), c.begin) << c.at;
        EXPECT_EQ(edit.BlockEnd(), c.end) << c.at;
        EXPECT_EQ(edit.CaretXY(), c.end) << c.at;
    }
}
