#include "editor/EditorFixture.h"

#include <random>
#include "highlighter/NibHighlighterTavlo.h"
#include "support/HighlighterNotices.h"
#include "platform/MulDiv.h"

namespace {

/// Ranges mark whether a line ends inside a { } comment; counts the lines it scans.
class BraceHighlighter : public TNibCustomHighlighter {
public:
    TNibHighlighterAttributes* GetDefaultAttribute(int) const override { return nullptr; }
    bool GetEol() const override { return true; }
    TNibHighlighterAttributes* GetTokenAttribute() const override { return nullptr; }
    int GetTokenKind() const override { return 0; }
    TNibRange GetRange() const override { return fInside ? reinterpret_cast<TNibRange>(std::intptr_t(1)) : nullptr; }
    void SetRange(TNibRange Value) override { fInside = Value != nullptr; }
    void ResetRange() override { fInside = false; }
    void SetLine(const UnicodeString& Line, int) override
    {
        ++Scans;
        for (char16_t c : Line) {
            if (c == u'{') fInside = true;
            if (c == u'}') fInside = false;
        }
    }
    int Scans = 0;

private:
    bool fInside = false;
};

void FillLines(TNibEditStringList& lines, int count)
{
    lines.BeginUpdate();
    for (int i = 1; i <= count; ++i) lines.Add(u"line " + IntToStr(i));
    lines.EndUpdate();
}

TNibEditorOptions With(TNibEditorOptions o, TNibEditorOption add) { return o.Include(add); }

} // namespace

TEST_F(EditorTest, TopLineAndLeftCharAreLimitedByTheText)
{
    FillLines(edit.Lines(), 1000);
    edit.SetTopLine(5000);
    EXPECT_EQ(edit.TopLine(), 991);  // the last window-full
    edit.SetTopLine(-3);
    EXPECT_EQ(edit.TopLine(), 1);
    edit.SetOptions(With(edit.Options(), eoScrollPastEof));
    edit.SetTopLine(5000);
    EXPECT_EQ(edit.TopLine(), 1000);

    edit.SetLeftChar(5000);
    EXPECT_EQ(edit.LeftChar(), 1024 - 20 + 1);
    edit.SetOptions(TNibEditorOptions(edit.Options()).Exclude(eoScrollPastEol));
    edit.SetLeftChar(5000);
    EXPECT_EQ(edit.LeftChar(), 1);  // "line 1000" fits in the window
    EXPECT_EQ(edit.TextOffset(), 32);
}

TEST_F(EditorTest, SmallScrollsMovePixelsAndLargeOnesRepaint)
{
    FillLines(edit.Lines(), 1000);
    host->Reset();
    edit.SetTopLine(4);
    ASSERT_EQ(host->Scrolled.size(), 1u);
    EXPECT_EQ(host->Scrolled[0].Dy, -3 * 16);
    host->Reset();
    edit.SetTopLine(40);
    EXPECT_TRUE(host->Scrolled.empty());
    EXPECT_FALSE(host->Invalidated.empty());

    host->Reset();
    edit.SetLeftChar(3);
    ASSERT_EQ(host->Scrolled.size(), 1u);
    EXPECT_EQ(host->Scrolled[0].Rect, (TRect{32, 0, 192, 160}));
    EXPECT_EQ(host->Scrolled[0].Dx, -2 * 8);
    EXPECT_EQ(edit.TextOffset(), 32 - 16);
}

TEST_F(EditorTest, EnsureCursorPosVisibleAndCentring)
{
    FillLines(edit.Lines(), 1000);
    edit.SetCaretXY({1, 500});
    EXPECT_EQ(edit.TopLine(), 491);
    edit.SetCaretXY({1, 5});
    EXPECT_EQ(edit.TopLine(), 5);
    edit.SetCaretXY({30, 5});
    EXPECT_EQ(edit.LeftChar(), 30 - 20 + 1);

    struct Case {
        int top, row;
        bool evenIfVisible;
        int expected;
    };
    const Case cases[] = {
        {50, 49, false, 45},   // just above the window: centred
        {50, 59, false, 50},   // last visible row: left alone
        {50, 60, false, 56},   // just below: centred
        {50, 55, true, 51},    // visible, centred on request
        {50, 3, false, 1},     // near the top
    };
    for (const Case& c : cases) {
        edit.SetTopLine(c.top);
        edit.InternalSetCaretXY({1, c.row});  // moves without scrolling: the caret sets the top itself
        edit.SetTopLine(c.top);
        edit.EnsureCursorPosVisibleEx(true, c.evenIfVisible);
        EXPECT_EQ(edit.TopLine(), c.expected) << c.row;
    }
}

TEST_F(EditorTest, DeletingAColumnBlockTallerThanTheWindowKeepsTheView)
{
    FillLines(edit.Lines(), 40);
    const UnicodeString line3 = edit.Lines()[2];
    const UnicodeString line30 = edit.Lines()[29];
    edit.SetSelectionMode(smColumn);
    // Made upwards from below the window: the caret stands at the block's top, which is in view.
    edit.SetCaretAndSelection({2, 3}, {4, 30}, {2, 3});
    ASSERT_EQ(edit.TopLine(), 1);
    edit.CommandProcessor(ecDeleteChar, u'\0', nullptr);
    EXPECT_EQ(edit.TopLine(), 1);
    EXPECT_EQ(edit.CaretXY(), BufferCoord(2, 3));
    EXPECT_EQ(edit.Lines()[2], line3.substr(0, 1) + line3.substr(3));
    EXPECT_EQ(edit.Lines()[29], line30.substr(0, 1) + line30.substr(3));
}

TEST_F(EditorTest, ScrollBarsOfAShortAndAVeryLongText)
{
    FillLines(edit.Lines(), 1000);
    edit.SetTopLine(100);
    EXPECT_EQ(host->Vert.Min, 1);
    EXPECT_EQ(host->Vert.Max, 1000);
    EXPECT_EQ(host->Vert.Page, 10);
    EXPECT_EQ(host->Vert.Position, 100);
    EXPECT_TRUE(host->Vert.Visible);
    EXPECT_EQ(host->Horz.Max, 1024);
    EXPECT_EQ(host->Horz.Page, 20);

    edit.Lines().Clear();
    FillLines(edit.Lines(), 100000);
    edit.SetTopLine(50000);
    EXPECT_EQ(host->Vert.Min, 0);
    EXPECT_EQ(host->Vert.Max, 32767);
    EXPECT_EQ(host->Vert.Page, MulDiv(32767, 10, 100000));
    EXPECT_EQ(host->Vert.Position, MulDiv(32767, 50000, 100000));

    edit.Scroll(TScrollBarKind::sbVertical, TScrollCode::scTrack, 16384);
    EXPECT_EQ(edit.TopLine(), MulDiv(100000, 16384, 32767));
    EXPECT_TRUE(edit.IsScrolling());
    edit.Scroll(TScrollBarKind::sbVertical, TScrollCode::scTrack, 32767);
    EXPECT_EQ(edit.TopLine(), 100000 - 10 + 1);
    edit.Scroll(TScrollBarKind::sbVertical, TScrollCode::scEndScroll, 0);
    EXPECT_FALSE(edit.IsScrolling());
    edit.Scroll(TScrollBarKind::sbVertical, TScrollCode::scPageUp, 0);
    EXPECT_EQ(edit.TopLine(), 100000 - 10 + 1 - 10);
    edit.Scroll(TScrollBarKind::sbVertical, TScrollCode::scTop, 0);
    EXPECT_EQ(edit.TopLine(), 1);
}

TEST_F(EditorTest, WheelNotchesAddUpAcrossMessages)
{
    FillLines(edit.Lines(), 100);
    edit.SetTopLine(50);
    int scrolls = 0;
    edit.OnScroll = [&](TObject*, TScrollBarKind) { ++scrolls; };
    EXPECT_TRUE(edit.MouseWheel(0, -40, {}));
    edit.MouseWheel(0, -40, {});
    EXPECT_EQ(edit.TopLine(), 50);
    edit.MouseWheel(0, -40, {});
    EXPECT_EQ(edit.TopLine(), 53);
    edit.MouseWheel(ssCtrl, 120, {});
    EXPECT_EQ(edit.TopLine(), 43);
    EXPECT_EQ(scrolls, 4);
}

TEST_F(EditorTest, RangeRescansStopWhereStoredRangesAgree)
{
    BraceHighlighter highlighter;
    FillLines(edit.Lines(), 10);
    edit.SetHighlighter(&highlighter);
    EXPECT_EQ(highlighter.Scans, 10);

    highlighter.Scans = 0;
    edit.Lines().InsertLines(2, 2);
    EXPECT_EQ(highlighter.Scans, 3);  // the new lines, and one whose range proves unchanged

    highlighter.Scans = 0;
    edit.Lines().Put(0, u"{");  // opens a comment: every line after it changes
    EXPECT_EQ(highlighter.Scans, 12);
    EXPECT_NE(edit.Lines().GetRange(11), nullptr);

    highlighter.Scans = 0;
    edit.Lines().Put(5, u"}");
    EXPECT_EQ(highlighter.Scans, 7);
    EXPECT_EQ(edit.Lines().GetRange(11), nullptr);

    highlighter.Scans = 0;
    edit.Lines().Delete(5);  // the comment runs on to the end again
    EXPECT_EQ(highlighter.Scans, 6);
    edit.SetHighlighter(nullptr);
}

// The stored ranges after each change of the local words equal those of a scan from the top,
// whether the change had every range rescanned or only the text repainted.
TEST_F(EditorTest, LocalWordChangesKeepEveryStoredRangeExact)
{
    const std::vector<UnicodeString> vocabulary = {u"CHAR", u"[CHAR]", u"(", u")", u"\\", u".\"", u"\"",
                                                   u"S\"", u"NEW", u"DUP", u"X"};
    std::mt19937 random(7);
    edit.Lines().BeginUpdate();
    for (int i = 0; i < 400; ++i) {
        UnicodeString line;
        for (unsigned n = random() % 5; n > 0; --n) line += vocabulary[random() % vocabulary.size()] + (random() % 3 ? u" " : u"\t");
        if (random() % 3 == 0) line = line + u"CHAR";
        edit.Lines().Add(line);
    }
    edit.Lines().EndUpdate();
    TNibTavloHighlighter forth;
    TStringList keys;
    keys.SetText(u"CHAR\r\n[CHAR]\r\n(\r\n\\\r\n.\"\r\nNEW\r\nDUP");
    forth.SetKeyWords(&keys);
    edit.SetHighlighter(&forth);
    THighlighterNotices notices(forth);

    std::vector<UnicodeString> words;
    for (int step = 0; step < 120; ++step) {
        if (step % 10 == 9) {
            // Lists changed in place take effect at the next notification, here one that adds a
            // word that opens nothing.
            TStringList& list = forth.KeyWords();
            const int at = list.IndexOf(u"S\"");
            if (at >= 0) list.Delete(at);
            else list.Add(u"S\"");
        } else {
            // One word of the text becomes local or stops being local, as an edit does.
            const UnicodeString& w = vocabulary[random() % vocabulary.size()];
            if (std::erase(words, w) == 0) words.push_back(w);
        }
        // A word of its own each time, so that every step changes the list.
        words.push_back(u"W" + IntToStr(step));
        forth.ReplaceLocalWords(words);
        forth.ResetRange();
        for (int i = 0; i < edit.Lines().Count(); ++i) {
            forth.SetLine(edit.Lines()[i], i);
            forth.NextToEol();
            ASSERT_EQ(edit.Lines().GetRange(i), forth.GetRange()) << "line " << i << " at step " << step;
        }
    }
    EXPECT_GT(notices.Rescans(), 10);
    EXPECT_GT(notices.Count() - notices.Rescans(), 10);
    edit.SetHighlighter(nullptr);
}
