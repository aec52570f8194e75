#include <gtest/gtest.h>

#include "editor/NibAssert.h"
#include "editor/NibEditHighlighter.h"
#include "editor/NibEditWordWrap.h"

namespace {

/// Lines held as displayed; blanks and punctuation break words.
struct Lines : INibWrapLineProvider {
    int CharsInWindow() const override { return columns; }
    int LineCount() const override { return int(text.size()); }
    UnicodeString ExpandedLine(int Index) const override { return text.at(std::size_t(Index)); }
    bool IsWordBreakChar(char16_t C) const override { return C <= 32 || C == u'.' || C == u'-'; }

    int columns = 30;
    std::vector<UnicodeString> text;
};

UnicodeString X(int n) { return UnicodeString(std::size_t(n), u'x'); }

const UnicodeString Filler(1, NibWideGlyphFiller);

std::vector<int> Rows(const TNibWordWrapPlugin& w)
{
    std::vector<int> out;
    for (int r = 1; r <= w.RowCount(); ++r) out.push_back(w.GetRowLength(r));
    return out;
}

} // namespace

TEST(NibEditWordWrap, WrapsEachLineAtThirtyColumns)
{
    struct Case {
        UnicodeString line;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {X(70), {30, 30, 10}},
        {u"", {0}},
        {X(30), {30}},
        {X(24) + u" " + X(15), {24, 16}},          // a blank at position 25 opens the second row
        {X(14) + u" " + X(25), {30, 10}},          // a blank below the minimum row is no break
        {X(20) + u" " + X(19), {30, 10}},          // position 21 is the minimum itself: no break
        {X(21) + u"." + X(18), {21, 19}},
        {X(29) + Filler + u"\u4E00y", {29, 3}},    // the glyph goes with its filler
        {X(28) + Filler + Filler + u"\u4E00y", {28, 4}},
        {X(30) + u" " + X(5), {30, 6}},            // the blank that does not fit opens the next row
    };
    Lines lines;
    for (const Case& c : cases) {
        lines.text = {c.line};
        TNibWordWrapPlugin w(&lines);
        EXPECT_EQ(Rows(w), c.rows) << ToUtf8(c.line);
    }
    EXPECT_EQ(TNibWordWrapPlugin(&lines).MinRowLength(), 20);
}

TEST(NibEditWordWrap, PositionsBothWays)
{
    Lines lines;
    lines.text = {u"ab", X(40), u""};  // rows: 2 | 30, 10 | 0
    TNibWordWrapPlugin w(&lines);
    struct Case {
        TBufferCoord buffer;
        TDisplayCoord display;
    };
    const Case cases[] = {
        {{1, 1}, {1, 1}},   {{3, 1}, {3, 1}},   {{30, 2}, {30, 2}}, {{31, 2}, {1, 3}},
        {{41, 2}, {11, 3}}, {{1, 3}, {1, 4}},   {{5, 5}, {5, 6}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(w.BufferToDisplayPos(c.buffer), c.display) << c.buffer.Char << "," << c.buffer.Line;
        EXPECT_EQ(w.DisplayToBufferPos(c.display), c.buffer) << c.display.Column << "," << c.display.Row;
    }
    // Beyond a wrapped row's end lands on the next row's first character; the last row goes on
    // up to the window's width.
    EXPECT_EQ(w.DisplayToBufferPos({35, 2}), BufferCoord(31, 2));
    EXPECT_EQ(w.DisplayToBufferPos({50, 3}), BufferCoord(61, 2));
    EXPECT_EQ(w.BufferToDisplayPos({50, 2}), DisplayCoord(20, 3));
    EXPECT_THROW(w.BufferToDisplayPos({0, 1}), EAssertionFailed);
    EXPECT_THROW(w.DisplayToBufferPos({1, 0}), EAssertionFailed);
}

TEST(NibEditWordWrap, FollowsLineChanges)
{
    Lines lines;
    lines.text = {X(5), X(70)};
    TNibWordWrapPlugin w(&lines);
    ASSERT_EQ(w.RowCount(), 4);

    lines.text.insert(lines.text.begin() + 1, {X(40), u""});
    EXPECT_EQ(w.LinesInserted(1, 2), 3);
    EXPECT_EQ(Rows(w), (std::vector<int>{5, 30, 10, 0, 30, 30, 10}));

    lines.text[3] = X(35);
    EXPECT_EQ(w.LinesPutted(3, 1), -1);
    lines.text[0] = X(61);
    EXPECT_EQ(w.LinesPutted(0, 1), 2);
    EXPECT_EQ(Rows(w), (std::vector<int>{30, 30, 1, 30, 10, 0, 30, 5}));

    lines.text.erase(lines.text.begin() + 1, lines.text.begin() + 3);
    EXPECT_EQ(w.LinesDeleted(1, 2), 3);
    EXPECT_EQ(Rows(w), (std::vector<int>{30, 30, 1, 30, 5}));
    EXPECT_EQ(w.LineCount(), 2);
    EXPECT_EQ(w.BufferToDisplayPos({1, 3}), DisplayCoord(1, 6));

    EXPECT_THROW(w.LinesPutted(2, 1), EAssertionFailed);
    EXPECT_THROW(w.LinesPutted(1, 2), EAssertionFailed);
    EXPECT_THROW(w.LinesPutted(0, 0), EAssertionFailed);
    EXPECT_THROW(w.LinesDeleted(0, 3), EAssertionFailed);
    EXPECT_THROW(w.LinesInserted(3, 1), EAssertionFailed);
    EXPECT_THROW(w.GetRowLength(6), std::out_of_range);
    EXPECT_THROW(w.GetRowLength(0), std::out_of_range);
}

TEST(NibEditWordWrap, ColumnChangesWrapAgain)
{
    Lines lines;
    lines.text = {X(70)};
    TNibWordWrapPlugin w(&lines);
    lines.text[0] = X(10);  // not told: only a change of the column count wraps again
    w.DisplayChanged();
    EXPECT_EQ(w.RowCount(), 3);
    lines.columns = 40;
    w.DisplayChanged();
    EXPECT_EQ(Rows(w), (std::vector<int>{10}));
    EXPECT_EQ(w.MaxRowLength(), 40);

    lines.columns = 0;
    w.Reset();
    EXPECT_EQ(w.RowCount(), 0);
    EXPECT_EQ(w.LinesInserted(0, 1), 0);
    EXPECT_EQ(w.LinesPutted(5, 1), 0);
}

TEST(NibEditWordWrap, NeedsAnEditor)
{
    try {
        TNibWordWrapPlugin w(nullptr);
        FAIL();
    } catch (const ENibError& e) {
        EXPECT_STREQ(e.what(), "Owner of TNibWordWrapPlugin must be a TCustomNibEdit");
    }
}
