#include "editor/EditorFixture.h"

namespace {

TNibEditorOptions With(TNibEditorOptions o, TNibEditorOption add) { return o.Include(add); }
TNibEditorOptions Without(TNibEditorOptions o, TNibEditorOption drop) { return o.Exclude(drop); }

} // namespace

TEST_F(EditorTest, CaretSetterClampsToTheText)
{
    SetLines({u"abc", u"defgh"});
    struct Case {
        bool pastEol;
        TBufferCoord set, expected;
    };
    const Case cases[] = {
        {false, {10, 1}, {4, 1}}, {false, {0, 2}, {1, 2}},   {false, {3, 0}, {1, 1}},
        {false, {9, 7}, {6, 2}},  {true, {10, 1}, {10, 1}},  {true, {5000, 1}, {1025, 1}},
    };
    for (const Case& c : cases) {
        edit.SetOptions(c.pastEol ? With(edit.Options(), eoScrollPastEol) : Without(edit.Options(), eoScrollPastEol));
        edit.SetCaretXY(c.set);
        EXPECT_EQ(edit.CaretXY(), c.expected) << c.set;
    }
    edit.SetOptions(Without(edit.Options(), eoScrollPastEol));
    edit.Lines().Clear();
    edit.SetCaretXY({7, 3});
    EXPECT_EQ(edit.CaretXY(), BufferCoord(1, 1));
}

TEST_F(EditorTest, SelectionEndsAreClampedByModeAndOrdered)
{
    SetLines({u"abc", u"defgh"});
    edit.SetOptions(Without(edit.Options(), eoScrollPastEol));
    Select({9, 2}, {2, 1});  // made backwards, past the line end
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(2, 1));
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(6, 2));
    EXPECT_TRUE(edit.SelAvail());

    edit.SetOptions(With(edit.Options(), eoScrollPastEol));
    edit.SetSelectionMode(smColumn);
    Select({2, 1}, {9, 2});  // column mode keeps a position past the line end
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(9, 2));
    Select({3, 1}, {3, 2});
    EXPECT_FALSE(edit.SelAvail());  // equal columns select nothing, whatever the lines
    edit.SetSelectionMode(smNormal);
    Select({3, 1}, {3, 2});
    EXPECT_TRUE(edit.SelAvail());
}

TEST_F(EditorTest, MovingTheCaretRepaintsOldAndNewLineWithAnActiveLineColour)
{
    SetLines({u"a", u"b", u"c", u"d"});
    edit.SetActiveLineColor(clYellow);
    host->Reset();
    edit.SetCaretXY({1, 3});
    const TRect line1{30, 0, 192, 16}, line3{30, 32, 192, 48};
    EXPECT_NE(std::find(host->Invalidated.begin(), host->Invalidated.end(), line1), host->Invalidated.end());
    EXPECT_NE(std::find(host->Invalidated.begin(), host->Invalidated.end(), line3), host->Invalidated.end());
}

TEST_F(EditorTest, ColumnSelectionWithEqualColumnsRepaintsNothingWhenOnlyItsEndLineMoves)
{
    SetLines({u"abcd", u"abcd", u"abcd", u"abcd", u"abcd"});
    edit.SetSelectionMode(smColumn);
    Select({2, 1}, {2, 2});
    host->Reset();
    edit.SetBlockEnd({2, 4});
    EXPECT_TRUE(host->Invalidated.empty());
    edit.SetBlockEnd({3, 4});
    EXPECT_EQ(host->Invalidated, (std::vector<TRect>{{30, 0, 192, 64}}));
}

TEST_F(EditorTest, ColumnSelectionRepaintsItsWholeBlockWhenATabMovesItsEndColumn)
{
    edit.SetTabWidth(4);
    SetLines({u"abcdefgh", u"ab\tcdef", u"abcdefgh", u"abcdefgh"});
    edit.SetSelectionMode(smColumn);
    Select({1, 1}, {4, 2});  // columns 1..4: char 4 of line 2 stands in column 5
    host->Reset();
    edit.SetBlockEnd({4, 3});  // the same char, in column 4: line 1 loses its fourth char
    EXPECT_EQ(host->Invalidated, (std::vector<TRect>{{30, 0, 192, 48}}));
}

TEST_F(EditorTest, SelectAllOnAnEmptyTextStillReportsTheSelection)
{
    TNibStatusChanges reported;
    edit.OnStatusChange = [&](TObject*, TNibStatusChanges c) { reported += c; };
    edit.SelectAll();
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(1, 1));
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(1, 1));
    EXPECT_TRUE(reported.Contains(scSelection));

    SetLines({u"ab", u"cde"});
    edit.SelectAll();
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(4, 2));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(4, 2));
}

TEST_F(EditorTest, EditsDuringALineChangeAreRepaintedOnceAsOneRectangle)
{
    SetLines({u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j", u"k", u"l"});
    host->Reset();
    edit.Lines().BeginUpdate();
    edit.Lines().Put(1, u"B");
    edit.Lines().Put(3, u"D");
    EXPECT_TRUE(host->Invalidated.empty());
    edit.Lines().EndUpdate();
    ASSERT_EQ(host->Invalidated.size(), 1u);
    EXPECT_EQ(host->Invalidated[0], (TRect{30, 16, 192, 64}));
}

TEST_F(EditorTest, WithoutAWindowAChangeStillCollapsesTheSelection)
{
    host.reset();
    SetLines({u"abcdef"});
    Select({2, 1}, {4, 1});
    edit.SetSelText(u"X");
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"aXdef"}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(3, 1));
    EXPECT_FALSE(edit.SelAvail());
    Type(u"Z");
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"aXZdef"}));
}

TEST_F(EditorTest, CaretIsPlacedAndShapedByMode)
{
    SetLines({u"abc"});
    edit.SetCaretXY({3, 1});
    EXPECT_TRUE(host->CaretShown);
    EXPECT_EQ(host->Caret, (TRect{32 + 16 - 1, 0, 32 + 16 + 1, 14}));
    edit.SetInsertMode(false);
    EXPECT_EQ(host->Caret, (TRect{48, 0, 56, 14}));
    edit.FocusChanged(false);
    EXPECT_FALSE(host->CaretShown);
}
