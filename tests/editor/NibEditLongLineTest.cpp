// Text past MaxScrollWidth (1,024 columns): edits, undo, redo, replacements and the caret reach every
// char of a line's own text, with and without word wrap; only the space past a line's end stops at
// MaxScrollWidth.
#include <functional>

#include "editor/EditorFixture.h"
#include "editor/NibEditSearch.h"

namespace {

UnicodeString Xs(int n) { return UnicodeString(std::size_t(n), u'x'); }

struct LongLineCase {
    const char* Name;
    UnicodeString Line;
    TBufferCoord Caret;
    std::function<void(TCustomNibEdit&)> Act;
    UnicodeString After;
    TBufferCoord CaretAfter;
    /// Where word wrap leaves the caret, when that differs (End goes to the end of the row).
    TBufferCoord CaretAfterWrapped{0, 0};
};

void PrintTo(const LongLineCase& c, std::ostream* os) { *os << c.Name; }

int ReplaceB(TCustomNibEdit& edit, const UnicodeString& by, TNibSearchOptions options)
{
    return edit.SearchReplace(u"b", by, options.Include(ssoEntireScope));
}

const LongLineCase Cases[] = {
    {"ReplaceAllByLonger", Xs(1100) + u"b", {1, 1},
     [](TCustomNibEdit& e) { EXPECT_EQ(ReplaceB(e, u"cd", {ssoReplaceAll}), 1); }, Xs(1100) + u"cd", {1103, 1}},
    {"ReplaceAllByNothing", Xs(1100) + u"b", {1, 1},
     [](TCustomNibEdit& e) { EXPECT_EQ(ReplaceB(e, u"", {ssoReplaceAll}), 1); }, Xs(1100), {1101, 1}},
    {"ReplaceOneByLonger", Xs(1100) + u"b" + Xs(99), {1, 1},
     [](TCustomNibEdit& e) { EXPECT_EQ(ReplaceB(e, u"cd", {ssoReplace}), 1); }, Xs(1100) + u"cd" + Xs(99), {1103, 1}},
    {"ReplaceOneByNothing", Xs(1100) + u"b" + Xs(99), {1, 1},
     [](TCustomNibEdit& e) { EXPECT_EQ(ReplaceB(e, u"", {ssoReplace}), 1); }, Xs(1199), {1101, 1}},
    // The blank left at column 1,031 goes when the change ends and comes back there on undo.
    {"TrimmedBlank", Xs(1030) + u" y", {1033, 1},
     [](TCustomNibEdit& e) {
         e.SetOptions(TNibEditorOptions(e.Options()).Include(eoTrimTrailingSpaces));
         e.CommandProcessor(ecDeleteLastChar, u'\0', nullptr);
     },
     Xs(1030), {1032, 1}},
    {"End", Xs(1200), {1101, 1}, [](TCustomNibEdit& e) { e.CommandProcessor(ecLineEnd, u'\0', nullptr); }, Xs(1200),
     {1201, 1}, {1121, 1}},
    {"Right", Xs(1200), {1101, 1}, [](TCustomNibEdit& e) { e.CommandProcessor(ecRight, u'\0', nullptr); }, Xs(1200),
     {1102, 1}},
    {"Typing", Xs(1200), {1101, 1}, [](TCustomNibEdit& e) { e.CommandProcessor(ecChar, u'Q', nullptr); },
     Xs(1100) + u"Q" + Xs(100), {1102, 1}},
    {"Enter", Xs(1200), {1101, 1}, [](TCustomNibEdit& e) { e.CommandProcessor(ecLineBreak, u'\r', nullptr); },
     Xs(1100) + u"\r\n" + Xs(100), {1, 2}},
};

class LongLineTest : public EditorTest, public ::testing::WithParamInterface<std::tuple<bool, LongLineCase>> {
protected:
    TNibEditSearch engine;
};

TEST_P(LongLineTest, EveryCharOfTheLineIsReachedAndUndoAndRedoGiveItBack)
{
    const auto& [wrapped, c] = GetParam();
    ASSERT_EQ(edit.MaxScrollWidth(), 1024);
    edit.SetSearchEngine(&engine);
    edit.SetWordWrap(wrapped);
    edit.SetText(c.Line);
    edit.SetModified(false);
    edit.SetCaretXY(c.Caret);
    ASSERT_EQ(edit.CaretXY(), c.Caret);

    c.Act(edit);
    EXPECT_EQ(edit.Text(), c.After);
    EXPECT_EQ(edit.CaretXY(), wrapped && c.CaretAfterWrapped.Line > 0 ? c.CaretAfterWrapped : c.CaretAfter);
    EXPECT_TRUE(edit.CaretInView());
    if (c.After == c.Line) return;

    edit.Undo();
    EXPECT_EQ(edit.Text(), c.Line);
    EXPECT_FALSE(edit.Modified());
    edit.Redo();
    EXPECT_EQ(edit.Text(), c.After);
    EXPECT_TRUE(edit.Modified());
}

INSTANTIATE_TEST_SUITE_P(PastColumn1024, LongLineTest, ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(Cases)),
                         [](const auto& info) {
                             return std::string(std::get<1>(info.param).Name) +
                                    (std::get<0>(info.param) ? "_WordWrap" : "");
                         });

TEST_F(EditorTest, OnlyTheSpacePastALinesEndStopsAtMaxScrollWidth)
{
    SetLines({Xs(1200), u"short"});
    // A caret and the ends of a column block past a short line's end stop at MaxScrollWidth + 1.
    edit.SetCaretXY({1500, 2});
    EXPECT_EQ(edit.CaretXY(), BufferCoord(1025, 2));
    edit.SetCaretXY({1500, 1});
    EXPECT_EQ(edit.CaretXY(), BufferCoord(1201, 1));
    edit.SetSelectionMode(smColumn);
    Select({1150, 1}, {1500, 2});
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(1150, 1));
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(1025, 2));

    // Typing past the end of a short line stops there too, but not at the end of a long one.
    edit.SetSelectionMode(smNormal);
    edit.SetCaretXY({1026, 2});
    Type(u"a");
    EXPECT_EQ(edit.Lines()[1], u"short");
    edit.SetCaretXY({1201, 1});
    Type(u"a");
    EXPECT_EQ(edit.Lines()[0], Xs(1200) + u"a");
    // A blank typed there is trimmed when its change ends; the next character still goes behind it.
    edit.SetOptions(TNibEditorOptions(edit.Options()).Include(eoTrimTrailingSpaces));
    Type(u" b");
    EXPECT_EQ(edit.Lines()[0], Xs(1200) + u"a b");

    // A double click selects a word that lies past column 1,024.
    edit.Lines().Put(0, Xs(1100) + u" word " + Xs(10));
    edit.SetWordBlock({1104, 1});
    EXPECT_EQ(edit.SelText(), u"word");
}

UnicodeString Tabs(int n) { return UnicodeString(std::size_t(n), u'\t'); }

struct RangeCase {
    const char* Name;
    std::vector<UnicodeString> Lines;
    /// Acts on the editor; the owner's lines are there to be shown, the factory's bitmaps to be
    /// given other glyph widths.
    std::function<void(TCustomNibEdit&, TNibEdit& Owner, RecordingGraphicsFactory&)> Act;
    /// The line the caret goes to the end of, and its width: the range and where the view stops.
    int WidestLine;
    int Width;
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.Name; }

// 2,403 columns at tab width 8 and 2,703 at 9: tabs that lead, and tabs after text whose stops the
// text moves.
const UnicodeString Leading2403 = Tabs(300) + u"abc";
const UnicodeString AfterText2403 = u"x" + Tabs(300) + u"ab";

const RangeCase RangeCases[] = {
    {"LargerTabWidthLeading", {u"short", Leading2403},
     [](TCustomNibEdit& e, TNibEdit&, RecordingGraphicsFactory&) {
         e.SetTabWidth(2);
         e.SetCaretXY({1, 1});
         e.SetTabWidth(9);
     },
     2, 2703},
    {"LargerTabWidthAfterText", {u"short", AfterText2403},
     [](TCustomNibEdit& e, TNibEdit&, RecordingGraphicsFactory&) {
         e.SetTabWidth(2);
         e.SetCaretXY({1, 1});
         e.SetTabWidth(9);
     },
     2, 2702},
    {"SmallerTabWidth", {Xs(1100), AfterText2403},
     [](TCustomNibEdit& e, TNibEdit&, RecordingGraphicsFactory&) { e.SetTabWidth(2); }, 1, 1100},
    {"RangeAtMaxScrollWidthBeforeTheChange", {u"short", Tabs(100)},
     [](TCustomNibEdit& e, TNibEdit&, RecordingGraphicsFactory&) {
         e.SetTabWidth(4);
         e.SetCaretXY({1, 1});
         e.SetTabWidth(16);
     },
     2, 1600},
    {"PutMakesAnotherLineTheWidest", {Xs(1100), u"short"},
     [](TCustomNibEdit& e, TNibEdit&, RecordingGraphicsFactory&) { e.Lines().Put(1, u"y" + Tabs(150)); }, 2, 1200},
    {"InsertMakesAnotherLineTheWidest", {Xs(1100), u"short"},
     [](TCustomNibEdit& e, TNibEdit&, RecordingGraphicsFactory&) { e.Lines().Insert(1, Xs(1300)); }, 2, 1300},
    {"WidestAfterTextDeleted", {u"y" + Tabs(150), Xs(1100), u"z" + Tabs(140)},
     [](TCustomNibEdit& e, TNibEdit&, RecordingGraphicsFactory&) { e.Lines().Delete(0); }, 2, 1120},
    {"WidestShortened", {u"y" + Tabs(150), Xs(1100)},
     [](TCustomNibEdit& e, TNibEdit&, RecordingGraphicsFactory&) { e.Lines().Put(0, u"y" + Tabs(10)); }, 2, 1100},
    // The fixed-metrics canvas widens U+00E9 to two cells for the font that comes next.
    {"FontWidensAGlyph", {Xs(1030), UnicodeString(600, u'\u00E9')},
     [](TCustomNibEdit& e, TNibEdit&, RecordingGraphicsFactory& graphics) {
         TFont font = e.Font();
         font.SetSize(12);
         for (RecordingBitmap* b : graphics.Bitmaps) b->Recorder.DoubleWidth = {u'\u00E9'};
         e.SetFont(font);
     },
     2, 1200},
    {"SharedLinesShowTheirOwner", {u"short"},
     [](TCustomNibEdit& e, TNibEdit& owner, RecordingGraphicsFactory&) {
         owner.Lines().Add(u"top");
         owner.Lines().Add(Leading2403);
         e.SetLinesPointer(&owner);
     },
     2, 2403},
};

class HorizontalRangeTest : public EditorTest, public ::testing::WithParamInterface<RangeCase> {
protected:
    TNibEdit owner;
};

TEST_P(HorizontalRangeTest, TheRangeAndTheViewReachTheEndOfTheWidestLine)
{
    const RangeCase& c = GetParam();
    SetLines(c.Lines);
    c.Act(edit, owner, graphics);
    edit.SetCaretXY({edit.Lines().LineCharLength(c.WidestLine - 1) + 1, c.WidestLine});
    EXPECT_EQ(host->Horz.Max, std::max(c.Width, 1024));
    EXPECT_EQ(edit.LeftChar(), c.Width - 20 + 1);
    edit.RemoveLinesPointer();
}

INSTANTIATE_TEST_SUITE_P(Widths, HorizontalRangeTest, ::testing::ValuesIn(RangeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditorTest, ASelectionEndBelowTheTextStopsAtTheEndOfTheLongLastLine)
{
    SetLines({u"a", Xs(1200)});
    edit.SetBlockBegin({1, 1});
    edit.SetBlockEnd({1150, 5});
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(1150, 2));
    edit.SetBlockEnd({1500, 5});
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(1201, 2));
}

TEST_F(EditorTest, TheHorizontalRangeCoversTheLongestLine)
{
    SetLines({u"short", Xs(1200)});
    EXPECT_EQ(host->Horz.Max, 1200);
    edit.SetCaretXY({1201, 2});
    EXPECT_EQ(edit.LeftChar(), 1200 - 20 + 1);
    edit.Scroll(TScrollBarKind::sbHorizontal, TScrollCode::scBottom, 0);
    EXPECT_EQ(edit.LeftChar(), 1200 - 20 + 1);

    // Tabs count as the columns they take; past line ends the range never falls below
    // MaxScrollWidth.
    edit.Lines().Put(1, UnicodeString(200, u'\t'));
    EXPECT_EQ(host->Horz.Max, 1600);
    edit.SetTabWidth(2);
    edit.Lines().Put(0, u"short");  // any change brings the bars up to date
    EXPECT_EQ(host->Horz.Max, 1024);
    edit.SetTabWidth(8);
    edit.Lines().Delete(1);
    EXPECT_EQ(host->Horz.Max, 1024);
    edit.Lines().Insert(0, Xs(2000));
    EXPECT_EQ(host->Horz.Max, 2000);
    edit.Lines().Put(0, Xs(1500));
    EXPECT_EQ(host->Horz.Max, 1500);
    // The widest line followed where lines come and go, and where an exchange puts it.
    edit.Lines().Insert(0, u"top");
    edit.Lines().Put(1, Xs(1300));
    EXPECT_EQ(host->Horz.Max, 1300);
    edit.Lines().Delete(0);
    edit.Lines().Put(0, Xs(1200));
    EXPECT_EQ(host->Horz.Max, 1200);
    edit.Lines().Add(u"end");
    edit.Lines().Exchange(0, 2);
    edit.Lines().Put(2, u"short");
    EXPECT_EQ(host->Horz.Max, 1024);
    edit.Lines().Put(0, Xs(1500));
    edit.SetMaxScrollWidth(1600);
    EXPECT_EQ(host->Horz.Max, 1600);
}

} // namespace
