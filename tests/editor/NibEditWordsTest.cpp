#include <gtest/gtest.h>

#include "editor/NibEditBrackets.h"
#include "editor/NibEditPositions.h"
#include "editor/NibEditWords.h"
#include "editor/NibEditWordWrap.h"
#include "highlighter/NibHighlighterTavlo.h"

namespace {

// A small highlighter: "..." is a string, '#' starts a comment to the line's end, runs of letters
// are identifiers, anything else is a one-character symbol.
class StubHighlighter : public TNibCustomHighlighter {
public:
    enum Kind { kIdent, kString, kComment, kSymbol };
    StubHighlighter()
    {
        fComment = AddAttribute(std::make_unique<TNibHighlighterAttributes>(u"Comment", u"Comment"));
        fIdent = AddAttribute(std::make_unique<TNibHighlighterAttributes>(u"Ident", u"Ident"));
        fString = AddAttribute(std::make_unique<TNibHighlighterAttributes>(u"String", u"String"));
        fSymbol = AddAttribute(std::make_unique<TNibHighlighterAttributes>(u"Symbol", u"Symbol"));
        SetAttributesOnChange();
    }
    TNibHighlighterAttributes* GetDefaultAttribute(int Index) const override
    {
        switch (Index) {
        case 0: return fComment;
        case 1: return fIdent;
        case 3: return fString;
        case 5: return fSymbol;
        default: return nullptr;
        }
    }
    bool GetEol() const override { return Run > fLineLen; }
    TNibHighlighterAttributes* GetTokenAttribute() const override
    {
        const TNibHighlighterAttributes* byKind[] = {fIdent, fString, fComment, fSymbol};
        return const_cast<TNibHighlighterAttributes*>(byKind[fKind]);
    }
    int GetTokenKind() const override { return fKind; }
    void Next() override
    {
        fTokenPos = Run;
        const std::u16string_view line = ScannedLine();
        const auto at = [&](int i) { return line[std::size_t(i)]; };
        const auto letter = [&](int i) { return Run < fLineLen && at(i) >= u'a' && at(i) <= u'z'; };
        if (Run >= fLineLen) {
            Run = fLineLen + 1;
        } else if (at(Run) == u'"') {
            fKind = kString;
            ++Run;
            while (Run < fLineLen && at(Run) != u'"') ++Run;
            if (Run < fLineLen) ++Run;
        } else if (at(Run) == u'#') {
            fKind = kComment;
            Run = fLineLen;
        } else if (letter(Run)) {
            fKind = kIdent;
            while (letter(Run)) ++Run;
        } else {
            fKind = kSymbol;
            ++Run;
        }
        TNibCustomHighlighter::Next();
    }

private:
    TNibHighlighterAttributes* fComment;
    TNibHighlighterAttributes* fIdent;
    TNibHighlighterAttributes* fString;
    TNibHighlighterAttributes* fSymbol;
    int fKind = kIdent;
};

TNibEditStringList& Fill(TNibEditStringList& lines, std::u16string_view text)
{
    lines.SetText(text);
    return lines;
}

TEST(NibEditWords, CharacterClassesWithoutAHighlighter)
{
    TNibEditCharClasses classes;
    for (char16_t c : std::u16string_view(u"azAZ09_\u00E9\u4E00")) EXPECT_TRUE(classes.IsIdentChar(c)) << int(c);
    for (char16_t c : std::u16string_view(u" .,;(@[`{~\u00A7\u00B0\u00B4")) {
        EXPECT_TRUE(classes.IsWordBreakChar(c)) << int(c);
        EXPECT_FALSE(classes.IsIdentChar(c)) << int(c);
    }
    EXPECT_TRUE(classes.IsWhiteChar(u' '));
    EXPECT_TRUE(classes.IsWhiteChar(u'\t'));
    EXPECT_FALSE(classes.IsWhiteChar(u'.'));
    EXPECT_FALSE(classes.IsWhiteChar(u'a'));

    classes.FAdditionalIdentChars.set(u'.');
    classes.FAdditionalWordBreakChars.set(u'x');
    EXPECT_TRUE(classes.IsIdentChar(u'.'));
    EXPECT_FALSE(classes.IsWordBreakChar(u'.'));
    EXPECT_TRUE(classes.IsWordBreakChar(u'x'));
    EXPECT_FALSE(classes.IsIdentChar(u'x'));
}

TEST(NibEditWords, AHighlighterBringsItsOwnClassesAndSets)
{
    StubHighlighter highlighter;
    TNibEditCharClasses classes;
    classes.FAdditionalIdentChars.set(u'.');  // the editor's own: not used now
    classes.SetHighlighter(&highlighter);
    EXPECT_FALSE(classes.IsIdentChar(u'.'));
    EXPECT_FALSE(classes.IsIdentChar(u'\u00E9'));  // the highlighter knows only ASCII letters
    EXPECT_TRUE(classes.IsWhiteChar(u'\u00E9'));
    TNibCharSet ident;
    ident.set(u'-');
    highlighter.SetAdditionalIdentChars(ident);
    EXPECT_TRUE(classes.IsIdentChar(u'-'));
}

TEST(NibEditWords, WordsAreSeparatedByBreakCharacters)
{
    TNibEditStringList lines;
    TNibEditCharClasses classes;
    Fill(lines, u"foo_bar x\nfoo.bar\nab\u00A7cd");
    EXPECT_EQ(GetWordAtRowCol(lines, classes, {2, 1}), u"foo_bar");
    EXPECT_EQ(GetWordAtRowCol(lines, classes, {5, 2}), u"bar");
    EXPECT_EQ(GetWordAtRowCol(lines, classes, {4, 2}), u"");
    EXPECT_EQ(GetWordAtRowCol(lines, classes, {1, 3}), u"ab");
    EXPECT_EQ(GetWordAtRowCol(lines, classes, {5, 3}), u"cd");
    EXPECT_EQ(GetWordAtRowCol(lines, classes, {9, 1}), u"x");
    EXPECT_EQ(GetWordAtRowCol(lines, classes, {10, 1}), u"");  // the end of the line holds no word
    EXPECT_EQ(GetWordAtRowCol(lines, classes, {0, 1}), u"");
    EXPECT_EQ(GetWordAtRowCol(lines, classes, {1, 4}), u"");
}

TEST(NibEditWords, WordPositionsOverATable)
{
    TNibEditStringList lines;
    TNibEditCharClasses classes;
    Fill(lines, u"abc def\n  ..  \nxy, z");
    using Op = TBufferCoord (*)(const TNibEditStringList&, const TNibEditCharClasses&, const TBufferCoord&);
    struct Case {
        const char* Name;
        Op Operation;
        TBufferCoord From, To;
    };
    const Case cases[] = {
        {"next", NextWordPosEx, {1, 1}, {5, 1}},
        {"next", NextWordPosEx, {4, 1}, {5, 1}},
        {"next", NextWordPosEx, {5, 1}, {8, 1}},
        {"next", NextWordPosEx, {8, 1}, {1, 2}},    // no word on the next line: its start
        {"next", NextWordPosEx, {7, 2}, {1, 3}},
        {"next", NextWordPosEx, {1, 3}, {5, 3}},
        {"next", NextWordPosEx, {5, 3}, {6, 3}},    // the last character of the text: past it
        {"next", NextWordPosEx, {6, 3}, {6, 3}},
        {"next", NextWordPosEx, {1, 9}, {1, 9}},
        {"start", WordStartEx, {3, 1}, {1, 1}},
        {"start", WordStartEx, {7, 1}, {5, 1}},
        {"start", WordStartEx, {20, 1}, {5, 1}},
        {"start", WordStartEx, {5, 1}, {5, 1}},
        {"end", WordEndEx, {2, 1}, {4, 1}},
        {"end", WordEndEx, {5, 1}, {8, 1}},
        {"end", WordEndEx, {9, 1}, {8, 1}},
        {"prev", PrevWordPosEx, {8, 1}, {5, 1}},
        {"prev", PrevWordPosEx, {5, 1}, {1, 1}},
        {"prev", PrevWordPosEx, {3, 1}, {1, 1}},
        {"prev", PrevWordPosEx, {1, 1}, {1, 1}},
        {"prev", PrevWordPosEx, {1, 3}, {7, 2}},    // to the end of the line before
        {"prev", PrevWordPosEx, {6, 2}, {8, 1}},    // no word before on this line
        {"prev", PrevWordPosEx, {5, 3}, {1, 3}},
        {"prev", PrevWordPosEx, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        const TBufferCoord to = c.Operation(lines, classes, c.From);
        EXPECT_EQ(to, c.To) << c.Name << " from (" << c.From.Char << ", " << c.From.Line << ") gave (" << to.Char
                            << ", " << to.Line << ")";
    }
}

TEST(NibEditBrackets, MatchingBracketsSkipStringsAndComments)
{
    TNibEditStringList lines;
    StubHighlighter highlighter;
    Fill(lines, u"(a(b)c)\nf(\")\" # )\n) [x\n]");
    struct Case {
        TBufferCoord From, To;
    };
    const Case cases[] = {
        {{1, 1}, {7, 1}}, {{5, 1}, {3, 1}}, {{3, 1}, {5, 1}}, {{7, 1}, {1, 1}},
        {{2, 2}, {1, 3}},  // the ")" in the string and the one in the comment do not count
        {{1, 3}, {2, 2}}, {{3, 3}, {1, 4}}, {{1, 4}, {3, 3}},
        {{2, 1}, {0, 0}},  // a letter
        {{0, 1}, {0, 0}}, {{8, 1}, {0, 0}}, {{1, 5}, {0, 0}},
    };
    for (const Case& c : cases) {
        const TBufferCoord to = GetMatchingBracketEx(lines, &highlighter, c.From);
        EXPECT_EQ(to, c.To) << "from (" << c.From.Char << ", " << c.From.Line << ") gave (" << to.Char << ", "
                            << to.Line << ")";
    }
    // Without a highlighter every bracket counts.
    EXPECT_EQ(GetMatchingBracketEx(lines, nullptr, {2, 2}), BufferCoord(4, 2));
    Fill(lines, u"((");
    EXPECT_EQ(GetMatchingBracketEx(lines, nullptr, {1, 1}), BufferCoord(0, 0));
}

TEST(NibEditBrackets, NoPartnerLeavesTheCaretWhereItIs)
{
    TNibEditStringList lines;
    TNibTavloHighlighter forth;
    forth.KeyWords().Add(u"(");
    Fill(lines, u"\n: sq ( n -- n ) dup * ;");
    for (int i = 0; i < lines.Count(); ++i) lines.PutRange(i, nullptr);
    // The "(" opens a comment that holds its ")": there is no partner to go to.
    EXPECT_EQ(FindMatchingBracket(lines, &forth, {6, 2}), BufferCoord(6, 2));
    StubHighlighter stub;
    Fill(lines, u"x(y)");
    EXPECT_EQ(FindMatchingBracket(lines, &stub, {2, 1}), BufferCoord(4, 1));
}

TEST(NibEditBrackets, TokenUnderAPosition)
{
    TNibEditStringList lines;
    StubHighlighter highlighter;
    Fill(lines, u"ab \"s t\" # c");
    UnicodeString token = u"old";
    int kind = -1, start = -1;
    TNibHighlighterAttributes* attri = nullptr;
    ASSERT_TRUE(GetHighlighterAttriAtRowColEx(lines, &highlighter, {6, 1}, token, kind, start, attri));
    EXPECT_EQ(token, u"\"s t\"");
    EXPECT_EQ(kind, StubHighlighter::kString);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(attri, highlighter.GetDefaultAttribute(3));
    ASSERT_TRUE(GetHighlighterAttriAtRowCol(lines, &highlighter, {2, 1}, token, attri));
    EXPECT_EQ(token, u"ab");
    EXPECT_FALSE(GetHighlighterAttriAtRowCol(lines, &highlighter, {13, 1}, token, attri));
    EXPECT_EQ(token, u"");
    EXPECT_EQ(attri, nullptr);
    EXPECT_FALSE(GetHighlighterAttriAtRowCol(lines, nullptr, {1, 1}, token, attri));
    EXPECT_FALSE(GetHighlighterAttriAtRowCol(lines, &highlighter, {1, 2}, token, attri));
}

// A layout over a list whose U+4E00 takes two cells, as a wide glyph does on screen.
struct LayoutFixture : ::testing::Test {
    LayoutFixture()
    {
        layout.Lines = &lines;
        layout.TabWidth = 4;
        layout.CharCells = [](char16_t c) { return c == u'\u4E00' ? 2 : 1; };
    }
    TNibEditStringList lines;
    TNibEditLayout layout;
};

TEST_F(LayoutFixture, BufferAndDisplayPositionsOverTabsAndWideGlyphs)
{
    Fill(lines, u"a\tb\n\u4E00x\n");
    struct Case {
        TBufferCoord Buffer;
        int Column;
    };
    const Case toDisplay[] = {
        {{1, 1}, 1}, {{2, 1}, 2}, {{3, 1}, 5}, {{4, 1}, 6}, {{6, 1}, 8},
        {{1, 2}, 1}, {{2, 2}, 3}, {{3, 2}, 4}, {{1, 3}, 1}, {{3, 3}, 3}, {{7, 9}, 7},
    };
    for (const Case& c : toDisplay)
        EXPECT_EQ(BufferToDisplayPos(layout, c.Buffer), DisplayCoord(c.Column, c.Buffer.Line))
            << c.Buffer.Char << "," << c.Buffer.Line;

    struct Back {
        TDisplayCoord Display;
        int Char;
    };
    const Back toBuffer[] = {
        {{1, 1}, 1}, {{2, 1}, 2}, {{3, 1}, 2}, {{4, 1}, 2}, {{5, 1}, 3}, {{6, 1}, 4}, {{8, 1}, 6},
        {{1, 2}, 1}, {{2, 2}, 1}, {{3, 2}, 2}, {{4, 2}, 3}, {{2, 3}, 2}, {{5, 9}, 5},
    };
    for (const Back& c : toBuffer)
        EXPECT_EQ(DisplayToBufferPos(layout, c.Display), BufferCoord(c.Char, c.Display.Row))
            << c.Display.Column << "," << c.Display.Row;
    EXPECT_EQ(LineToRow(layout, 2), 2);
    EXPECT_EQ(RowToLine(layout, 3), 3);
    EXPECT_EQ(DisplayLineCount(layout), 3);
}

// What the word wrap reads of the editor: the lines of the fixture at ten columns.
struct WrapLines : INibWrapLineProvider {
    explicit WrapLines(const TNibEditStringList& lines) : Lines(lines) {}
    int CharsInWindow() const override { return 10; }
    int LineCount() const override { return Lines.Count(); }
    UnicodeString ExpandedLine(int Index) const override { return Lines.GetExpandedString(Index); }
    bool IsWordBreakChar(char16_t C) const override { return C == u' '; }
    const TNibEditStringList& Lines;
};

TEST_F(LayoutFixture, WrappedRowsGoThroughThePlugin)
{
    Fill(lines, u"0123456789abcdefghij\nxyz");
    WrapLines provider(lines);
    TNibWordWrapPlugin wrap(&provider);
    layout.WordWrap = &wrap;
    EXPECT_EQ(BufferToDisplayPos(layout, {13, 1}), DisplayCoord(3, 2));
    EXPECT_EQ(DisplayToBufferPos(layout, {3, 2}), BufferCoord(13, 1));
    EXPECT_EQ(BufferToDisplayPos(layout, {2, 2}), DisplayCoord(2, 3));
    EXPECT_EQ(LineToRow(layout, 2), 3);
    EXPECT_EQ(RowToLine(layout, 2), 1);
    EXPECT_EQ(DisplayLineCount(layout), 3);
    lines.Clear();
    wrap.Reset();
    EXPECT_EQ(DisplayLineCount(layout), 0);
}

TEST(NibEditPositions, CharacterIndexesCountTwoForEachLineBreak)
{
    TNibEditStringList lines;
    Fill(lines, u"ab\r\nc\r\n\r\ndef");
    struct Case {
        int Index;
        TBufferCoord Pos;
    };
    const Case cases[] = {
        {0, {1, 1}}, {1, {2, 1}}, {2, {3, 1}}, {3, {4, 1}}, {4, {1, 2}}, {5, {2, 2}},
        {7, {1, 3}}, {9, {1, 4}}, {11, {3, 4}}, {12, {4, 4}}, {14, {1, 5}}, {99, {1, 5}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CharIndexToRowCol(lines, c.Index), c.Pos) << c.Index;
        if (c.Pos.Line <= lines.Count()) {
            EXPECT_EQ(RowColToCharIndex(lines, c.Pos), c.Index) << c.Index;
        }
    }
    EXPECT_EQ(RowColToCharIndex(lines, {2, 9}), 10);  // the line is kept within the text
    EXPECT_EQ(RowColToCharIndex(lines, {1, 0}), 0);
    lines.Clear();
    EXPECT_EQ(RowColToCharIndex(lines, {5, 1}), 0);
    EXPECT_EQ(CharIndexToRowCol(lines, 3), BufferCoord(1, 1));
}

}  // namespace
