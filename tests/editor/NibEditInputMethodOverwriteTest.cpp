// Input-method text in overwrite mode replaces only what its first line covers: a line break in
// it inserts, so the rest of the line moves down behind the string's last line.
#include "editor/EditorFixture.h"

namespace {

/// The string with its line breaks spelled out, for the trace.
std::string Shown(const UnicodeString& text)
{
    std::string shown;
    for (char16_t c : text) shown += c == u'\r' ? "\\r" : c == u'\n' ? "\\n" : std::string(1, char(c));
    return shown;
}

TEST_F(EditorTest, InputMethodTextOverwritesWhatItsFirstLineCoversAndUndoesAndRedoesInOneStep)
{
    struct Case {
        UnicodeString Text;
        int Column;
        std::vector<UnicodeString> After;
        TBufferCoord Caret;
    };
    const Case cases[] = {
        {u"xy", 2, {u"axydef", u"gh"}, {4, 1}},
        {u"X\r\nY", 2, {u"aX", u"Ycdef", u"gh"}, {2, 2}},
        {u"X\nY", 2, {u"aX", u"Ycdef", u"gh"}, {2, 2}},
        {u"X\rY", 2, {u"aX", u"Ycdef", u"gh"}, {2, 2}},
        {u"X\r\n\nY", 2, {u"aX", u"", u"Ycdef", u"gh"}, {2, 3}},
        {u"\r\nY", 3, {u"ab", u"Ycdef", u"gh"}, {2, 2}},
        {u"X\r\n", 2, {u"aX", u"cdef", u"gh"}, {1, 2}},
        // Near the line end: the first line covers up to the end and no further.
        {u"X\r\nY", 6, {u"abcdeX", u"Y", u"gh"}, {2, 2}},
        {u"XY\nZ", 5, {u"abcdXY", u"Z", u"gh"}, {2, 2}},
        {u"X\rYZ", 4, {u"abcX", u"YZef", u"gh"}, {3, 2}},
        {u"xyz", 5, {u"abcdxyz", u"gh"}, {8, 1}},
        // At and past the line end there is nothing to overwrite.
        {u"X\r\nY", 7, {u"abcdefX", u"Y", u"gh"}, {2, 2}},
        {u"X\nY", 9, {u"abcdef  X", u"Y", u"gh"}, {2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Shown(c.Text) + " at column " + std::to_string(c.Column));
        SetLines({u"abcdef", u"gh"});
        edit.ClearUndo();
        edit.SetInsertMode(false);
        edit.SetCaretXY({c.Column, 1});
        edit.InputMethodText(c.Text);
        EXPECT_EQ(Lines(), c.After);
        EXPECT_EQ(edit.CaretXY(), c.Caret);
        edit.CommandProcessor(ecUndo, u'\0', nullptr);
        EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"abcdef", u"gh"}));
        edit.CommandProcessor(ecRedo, u'\0', nullptr);
        EXPECT_EQ(Lines(), c.After);
        EXPECT_FALSE(edit.InsertMode());
    }
}

}  // namespace
