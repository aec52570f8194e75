// The highlighter ranges the editor keeps per line after changes of many lines at once, checked
// against a scan of the whole text from its first line; and the glyph expansion of lines, checked
// against one made character by character.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "EditorFixture.h"
#include "editor/NibEditSearch.h"
#include "highlighter/NibHighlighterTavlo.h"

namespace {

/// A character word at a line's end carries a range into the next lines, across empty ones, until a
/// word takes it: the lines below a change then depend on it.
const UnicodeString Pieces[] = {u"CHAR", u"", u"x", u"CHAR y", u"( c )", u"dup CHAR", u"  ", u"\tCHAR", u"z z"};

class RangeRescanTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        for (TNibTavloHighlighter* h : {&highlighter, &reference}) {
            for (const char16_t* w : {u"CHAR", u"(", u"dup"}) h->KeyWords().Add(w);
        }
        edit.SetHighlighter(&highlighter);
        edit.SetSearchEngine(&search);
    }

    UnicodeString Piece() { return Pieces[Pick(0, int(std::size(Pieces)) - 1)]; }
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    TBufferCoord Position()
    {
        const int line = Pick(1, edit.Lines().Count());
        return {Pick(1, edit.Lines().LineCharLength(line - 1) + 2), line};
    }
    UnicodeString Block(int lines)
    {
        UnicodeString text = Piece();
        for (int i = 1; i < lines; ++i) text += u"\r\n" + Piece();
        return text;
    }

    /// The first line whose kept range differs from a scan from the top; 0 when none does.
    int FirstWrongRange()
    {
        reference.ResetRange();
        for (int i = 0; i < edit.Lines().Count(); ++i) {
            reference.SetLine(edit.Lines()[i], i);
            reference.NextToEol();
            if (reference.GetRange() != edit.Lines().GetRange(i)) return i + 1;
        }
        return 0;
    }

    /// One change of many lines, chosen at random; returns what it was.
    std::string Change()
    {
        switch (Pick(0, 9)) {
        case 0:
            edit.SelectAll();
            edit.CommandProcessor(ecDeleteChar, u'\0', nullptr);
            return "delete all";
        case 1: edit.Undo(); return "undo";
        case 2: edit.Redo(); return "redo";
        case 3: {
            const TNibSelectionMode mode = TNibSelectionMode(Pick(0, 2));
            edit.SetSelectionMode(mode);
            Select(Position(), Position());
            edit.SetSelText(Block(Pick(1, 12)));
            return "text put in mode " + std::to_string(mode);
        }
        case 4:
        case 5: {
            edit.SetSelectionMode(TNibSelectionMode(Pick(0, 2)));
            Select(Position(), Position());
            if (Pick(0, 1)) edit.DoBlockIndent();
            else edit.DoBlockUnindent();
            return "block indent or unindent";
        }
        case 6:
            edit.SearchReplace(Pick(0, 1) ? u"CHAR" : u"x", Pick(0, 1) ? u"CHAR" : u"\r\n",
                               {ssoMatchCase, ssoReplaceAll, ssoEntireScope});
            return "replace all";
        case 7: {
            edit.SetCaretXY(Position());
            edit.CommandProcessor(Pick(0, 1) ? ecLineBreak : ecDeleteLine, u'\r', nullptr);
            return "line break or deleted line";
        }
        case 8: {
            TNibEditorOptions options = edit.Options();
            if (options.Contains(eoTrimTrailingSpaces)) options.Exclude(eoTrimTrailingSpaces);
            else options.Include(eoTrimTrailingSpaces);
            edit.SetOptions(options);
            return "trimming switched";
        }
        default:
            edit.SetWordWrap(!edit.WordWrap());
            return "word wrap switched";
        }
    }

    TNibTavloHighlighter highlighter;
    TNibTavloHighlighter reference;
    TNibEditSearch search;
    std::mt19937 rng;
};

} // namespace

TEST_F(RangeRescanTest, RangesAfterChangesOfManyLinesAreThoseOfAScanFromTheTop)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        rng.seed(seed);
        std::vector<UnicodeString> lines;
        for (int i = Pick(1, 40); i > 0; --i) lines.push_back(Piece());
        SetLines(lines);
        ASSERT_EQ(FirstWrongRange(), 0) << "seed " << seed << " as loaded";
        for (int step = 0; step < 30; ++step) {
            const std::string change = Change();
            ASSERT_EQ(FirstWrongRange(), 0) << "seed " << seed << ", step " << step << ": " << change;
        }
    }
}

TEST(NibEditRescanSpan, FollowsTheLinesAsTheyComeAndGo)
{
    enum Op { Insert, Delete, Add };
    struct Case {
        int first, last;
        Op op;
        int a, b;  // index and count, or the lines added
        int wantFirst, wantLast;
    };
    const Case cases[] = {
        {5, 8, Insert, 2, 3, 8, 11},   // before the span: it moves down
        {5, 8, Insert, 5, 1, 6, 9},    // at its first line
        {5, 8, Insert, 7, 2, 5, 10},   // inside: it grows
        {5, 8, Insert, 9, 4, 5, 8},    // after it
        {5, 8, Delete, 1, 2, 3, 6},    // before the span: it moves up
        {5, 8, Delete, 4, 3, 4, 5},    // over its start
        {5, 8, Delete, 6, 2, 5, 6},    // inside
        {5, 8, Delete, 7, 5, 5, 6},    // over its end
        {5, 8, Delete, 5, 4, -1, -1},  // all of it
        {5, 8, Delete, 9, 1, 5, 8},    // after it
        {5, 8, Add, 9, 9, 5, 9},
        {5, 8, Add, 1, 2, 1, 8},
        {-1, -1, Add, 3, 4, 3, 4},
        {-1, -1, Insert, 0, 2, -1, -1},
    };
    for (const Case& c : cases) {
        TNibRescanSpan span{c.first, c.last};
        if (c.op == Insert) span.Inserted(c.a, c.b);
        else if (c.op == Delete) span.Deleted(c.a, c.b);
        else span.Add(c.a, c.b);
        EXPECT_EQ(span.First, c.wantFirst) << c.first << ".." << c.last << " op " << c.op << " " << c.a << " " << c.b;
        EXPECT_EQ(span.Last, c.wantLast) << c.first << ".." << c.last << " op " << c.op << " " << c.a << " " << c.b;
    }
    const TNibRescanSpan span{5, 8};
    EXPECT_TRUE(span.Touches(9, 12));
    EXPECT_TRUE(span.Touches(1, 4));
    EXPECT_FALSE(span.Touches(10, 12));
    EXPECT_FALSE(span.Touches(0, 3));
    EXPECT_FALSE(TNibRescanSpan{}.Touches(0, 100));
}

TEST(NibEditWideGlyphs, PlainRunsAreExpandedAndPlacedAsEachCharacterIs)
{
    // U+00E9 is wide in this font, U+4E00 in every test font; U+0301 has no width and still takes a
    // cell; a surrogate pair and the filler itself take one each; a tab reaches the next stop, counted
    // as the line is painted: its tabs expanded before its wide glyphs are widened.
    RecordingGraphicsFactory graphics;
    graphics.DoubleWidth = {u'\u00E9'};
    TNibEdit edit;
    FakeControlHost host(edit, 192, 160);
    edit.SetTabWidth(4);
    const UnicodeString units[] = {u"a", u" ", u"\t", u"\u00E9", u"\u4E00", u"\U0001F600", u"\uE000", u"\u0301", u"\u007F", u"\u0080"};
    std::mt19937 rng(7);
    for (int round = 0; round < 500; ++round) {
        UnicodeString text, expected;
        std::vector<int> columns{1};  // the column of each char, and of the place after the last
        int tabColumn = 0;            // where tab stops are counted: each character one column
        for (int n = std::uniform_int_distribution<int>(0, 12)(rng); n > 0; --n) {
            const UnicodeString& unit = units[std::uniform_int_distribution<int>(0, int(std::size(units)) - 1)(rng)];
            const bool wide = unit == u"\u00E9" || unit == u"\u4E00";
            text += unit;
            if (wide) expected += NibWideGlyphFiller;
            expected += unit;
            for (char16_t c : unit) {
                const int cells = c == u'\t' ? 4 - tabColumn % 4 : wide ? 2 : 1;
                tabColumn += c == u'\t' ? cells : 1;
                columns.push_back(columns.back() + cells);
            }
        }
        ASSERT_EQ(ToUtf8(edit.ExpandAtWideGlyphs(text)), ToUtf8(expected)) << ToUtf8(text);
        edit.Lines().Clear();
        edit.Lines().Add(text);
        for (std::size_t i = 0; i < columns.size(); ++i)
            ASSERT_EQ(edit.BufferToDisplayPos({int(i) + 1, 1}).Column, columns[i]) << ToUtf8(text) << " char " << i + 1;
    }
}
