#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>
#include "terminal/SimpleTerminal.h"

namespace {

class SimpleTerminalTest : public ::testing::Test {
protected:
    /// The characters of one used row, blanks as spaces.
    std::string RowText(int row) const
    {
        std::string text;
        for (int column = 0; column < term.Columns(); ++column)
            text += char(term.GetCharAtXY(column, row).Character);
        return text;
    }

    /// The row with trailing spaces cut, for short comparisons.
    std::string Trimmed(int row) const
    {
        std::string text = RowText(row);
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    }

    TPoint Cursor() const
    {
        TPoint p;
        term.GetXY(p.X, p.Y);
        return p;
    }

    /// Writes "R<n>" at the start of every used row.
    void LabelRows()
    {
        for (int row = 0; row < term.Rows(); ++row) {
            term.GotoXY(0, row);
            term.WriteString(u"R" + std::u16string(1, char16_t(u'A' + row)));
        }
    }

    std::vector<int> TabStops()
    {
        std::vector<int> stops;
        term.GotoXY(0, 0);
        int last = -1;
        for (;;) {
            term.GotoNextHorzTabStop(1);
            if (Cursor().X == last || Cursor().X == 0) break;
            last = Cursor().X;
            stops.push_back(last);
        }
        return stops;
    }

    TSimpleTerminal term;
};

TEST_F(SimpleTerminalTest, CreationDefaults)
{
    EXPECT_EQ(term.Rows(), 24);
    EXPECT_EQ(term.Columns(), 80);
    EXPECT_TRUE(term.LineWrap());
    EXPECT_FALSE(term.ScrollLock());
    EXPECT_TRUE(term.DisplayCursor());
    EXPECT_TRUE(term.ScrollToCursor());
    EXPECT_TRUE(term.AutoSize());
    EXPECT_EQ(term.HorzTabSpacing(), 8);
    EXPECT_TRUE(term.WantTabs());
    EXPECT_TRUE(term.WantReturns());
    EXPECT_TRUE(term.WantArrowKeys());
    EXPECT_EQ(term.CurrentFontColor(), clNone);
    EXPECT_EQ(term.CurrentBgColor(), clNone);
    EXPECT_EQ(term.CurrentAttributes(), TTerminalCharAttributes{});
    EXPECT_EQ(Cursor(), (TPoint{0, 0}));
    EXPECT_EQ(term.ScrollRegionFirstRow(), 0);
    EXPECT_EQ(term.ScrollRegionLastRow(), 23);
    term.SetRows(255);
    term.SetColumns(255);
    for (int row : {0, 100, 254})
        for (int column : {0, 100, 254}) EXPECT_EQ(term.GetCharAtXY(column, row), BlankTerminalChar);
}

TEST_F(SimpleTerminalTest, WriteStoresCellWithCurrentAttributesAndColours)
{
    TTerminalCharAttributes attributes;
    attributes.Include(tca_Null);
    attributes.Include(tca_Bold);
    term.SetCurrentAttributes(attributes);
    term.SetCurrentFontColor(clYellow);
    term.SetCurrentBgColor(clNavy);
    term.Write(u'A');
    const TTerminalChar cell = term.GetCharAtXY(0, 0);
    EXPECT_EQ(cell.Character, u'A');
    EXPECT_FALSE(cell.Attributes.Contains(tca_Null));
    EXPECT_TRUE(cell.Attributes.Contains(tca_Bold));
    EXPECT_EQ(cell.FontColor, clYellow);
    EXPECT_EQ(cell.BgColor, clNavy);

    // clNone keeps what the cell has.
    term.SetCurrentFontColor(clNone);
    term.SetCurrentBgColor(clBlack);
    term.GotoXY(0, 0);
    term.Write(u'B');
    EXPECT_EQ(term.GetCharAtXY(0, 0).FontColor, clYellow);
    EXPECT_EQ(term.GetCharAtXY(0, 0).BgColor, clBlack);
}

TEST_F(SimpleTerminalTest, WritesOnlyTheCharactersItShows)
{
    for (char16_t c = 0; c < 0x140; ++c) {
        if (c == 8 || c == 9 || c == 10 || c == 13) continue;
        term.GotoXY(5, 5);
        term.ClrLine();
        term.Write(c);
        const bool shown = (c >= 32 && c <= 127) || (c >= 160 && c <= 255);
        EXPECT_EQ(Cursor(), (TPoint{shown ? 6 : 5, 5})) << int(c);
        EXPECT_EQ(term.GetCharAtXY(5, 5).Character, shown ? c : u' ') << int(c);
        if (!shown) {
            EXPECT_EQ(term.GetCharAtXY(5, 5), BlankTerminalChar) << int(c);
        }
    }
}

TEST_F(SimpleTerminalTest, CarriageReturnBackspaceAndTab)
{
    term.WriteString(u"abc");
    term.Write(u'\b');
    EXPECT_EQ(Cursor(), (TPoint{2, 0}));
    term.Write(u'\r');
    EXPECT_EQ(Cursor(), (TPoint{0, 0}));
    term.Write(u'\b');
    EXPECT_EQ(Cursor(), (TPoint{0, 0}));
    term.Write(u'\t');
    EXPECT_EQ(Cursor(), (TPoint{8, 0}));
    EXPECT_EQ(Trimmed(0), "abc");
}

TEST_F(SimpleTerminalTest, EightiethCharacterWrapsOrOverwrites)
{
    term.GotoXY(0, 3);
    term.WriteString(std::u16string(80, u'x'));
    EXPECT_EQ(term.GetCharAtXY(79, 3).Character, u'x');
    EXPECT_EQ(Cursor(), (TPoint{0, 4}));

    term.SetLineWrap(false);
    term.GotoXY(0, 10);
    term.WriteString(std::u16string(79, u'y') + u"z");
    EXPECT_EQ(Cursor(), (TPoint{79, 10}));
    term.Write(u'!');
    EXPECT_EQ(Cursor(), (TPoint{79, 10}));
    EXPECT_EQ(term.GetCharAtXY(79, 10).Character, u'!');
    EXPECT_EQ(Trimmed(11), "");
}

TEST_F(SimpleTerminalTest, LineFeedScrollsAtRegionBottomOnly)
{
    LabelRows();
    term.GotoXY(0, 23);
    term.Write(u'\n');
    EXPECT_EQ(Cursor(), (TPoint{0, 23}));
    EXPECT_EQ(Trimmed(0), "RB");
    EXPECT_EQ(Trimmed(22), "RX");
    EXPECT_EQ(Trimmed(23), "");
    EXPECT_EQ(term.GetCharAtXY(0, 23), BlankTerminalChar);
}

TEST_F(SimpleTerminalTest, NarrowRegionLimitsLineFeedAndWrap)
{
    LabelRows();
    term.SetScrollRegion(0, 9);

    // Below the region, on the last row: LF does nothing, a wrap only returns to column 0.
    term.GotoXY(0, 23);
    term.Write(u'\n');
    EXPECT_EQ(Cursor(), (TPoint{0, 23}));
    term.GotoXY(79, 23);
    term.Write(u'w');
    EXPECT_EQ(Cursor(), (TPoint{0, 23}));
    EXPECT_EQ(Trimmed(0), "RA");

    // On the region's last row both scroll rows 0..9 only.
    term.GotoXY(0, 9);
    term.Write(u'\n');
    EXPECT_EQ(Cursor(), (TPoint{0, 9}));
    EXPECT_EQ(Trimmed(0), "RB");
    EXPECT_EQ(Trimmed(8), "RJ");
    EXPECT_EQ(Trimmed(9), "");
    EXPECT_EQ(Trimmed(10), "RK");
    term.GotoXY(79, 9);
    term.Write(u'w');
    EXPECT_EQ(Cursor(), (TPoint{0, 9}));
    EXPECT_EQ(Trimmed(0), "RC");
    EXPECT_EQ(RowText(8), std::string(79, ' ') + "w");
    EXPECT_EQ(Trimmed(10), "RK");
}

TEST_F(SimpleTerminalTest, ScrollLockKeepsLastRow)
{
    LabelRows();
    term.SetScrollLock(true);
    term.GotoXY(0, 23);
    term.Write(u'\n');
    EXPECT_EQ(Cursor(), (TPoint{0, 23}));
    EXPECT_EQ(Trimmed(0), "RA");
    EXPECT_EQ(Trimmed(23), "RX");
    // The wrap on that row returns to column 0 without scrolling either.
    term.GotoXY(79, 23);
    term.Write(u'w');
    EXPECT_EQ(Cursor(), (TPoint{0, 23}));
    EXPECT_EQ(Trimmed(0), "RA");
}

TEST_F(SimpleTerminalTest, ScrollRegionMovesRowsInsideRegion)
{
    LabelRows();
    term.SetScrollRegion(2, 6);
    term.ScrollRegion(2);
    EXPECT_EQ(Trimmed(1), "RB");
    EXPECT_EQ(Trimmed(2), "RE");
    EXPECT_EQ(Trimmed(4), "RG");
    EXPECT_EQ(Trimmed(5), "");
    EXPECT_EQ(Trimmed(6), "");
    EXPECT_EQ(Trimmed(7), "RH");

    term.ScrollRegion(-1);
    EXPECT_EQ(Trimmed(2), "");
    EXPECT_EQ(Trimmed(3), "RE");
    EXPECT_EQ(Trimmed(5), "RG");
    EXPECT_EQ(Trimmed(6), "");
    EXPECT_EQ(Trimmed(7), "RH");

    term.ScrollRegion(0);
    EXPECT_EQ(Trimmed(3), "RE");
}

TEST_F(SimpleTerminalTest, ScrollingByRegionHeightOrMoreBlanksIt)
{
    LabelRows();
    term.SetScrollRegion(3, 4);
    term.ScrollRegion(3);
    EXPECT_EQ(Trimmed(2), "RC");
    EXPECT_EQ(Trimmed(3), "");
    EXPECT_EQ(Trimmed(4), "");
    EXPECT_EQ(Trimmed(5), "RF");

    LabelRows();
    term.ScrollRegion(INT_MIN);
    EXPECT_EQ(Trimmed(3), "");
    EXPECT_EQ(Trimmed(4), "");
    EXPECT_EQ(Trimmed(5), "RF");
}

TEST_F(SimpleTerminalTest, SetScrollRegionClampsAndRefusesEmptyRegion)
{
    term.SetScrollRegion(5, 2);
    EXPECT_EQ(term.ScrollRegionFirstRow(), 0);
    EXPECT_EQ(term.ScrollRegionLastRow(), 23);
    term.SetScrollRegion(3, 7);
    term.SetScrollRegion(5, 2);
    EXPECT_EQ(term.ScrollRegionFirstRow(), 3);
    EXPECT_EQ(term.ScrollRegionLastRow(), 7);
    term.SetScrollRegion(-4, 300);
    EXPECT_EQ(term.ScrollRegionFirstRow(), 0);
    EXPECT_EQ(term.ScrollRegionLastRow(), 23);
    term.SetScrollRegion(3, 7);
    term.SetScrollRegionToAllRows();
    EXPECT_EQ(term.ScrollRegionLastRow(), 23);
}

TEST_F(SimpleTerminalTest, InsertAndDeleteRowsWorkFromStartRowInsideRegion)
{
    LabelRows();
    term.SetScrollRegion(2, 6);
    term.DeleteRows(4, 1);
    EXPECT_EQ(Trimmed(3), "RD");
    EXPECT_EQ(Trimmed(4), "RF");
    EXPECT_EQ(Trimmed(5), "RG");
    EXPECT_EQ(Trimmed(6), "");

    term.GotoXY(0, 3);
    term.InsertCursorRows(2);
    EXPECT_EQ(Trimmed(2), "RC");
    EXPECT_EQ(Trimmed(3), "");
    EXPECT_EQ(Trimmed(4), "");
    EXPECT_EQ(Trimmed(5), "RD");
    EXPECT_EQ(Trimmed(6), "RF");
    EXPECT_EQ(Trimmed(7), "RH");

    // Outside the region, or with no rows, nothing happens.
    term.DeleteRows(1, 1);
    term.InsertRows(7, 1);
    term.DeleteRows(3, 0);
    term.InsertRows(3, -2);
    EXPECT_EQ(Trimmed(1), "RB");
    EXPECT_EQ(Trimmed(5), "RD");
    EXPECT_EQ(Trimmed(7), "RH");

    term.GotoXY(0, 5);
    term.DeleteCursorRows(100);
    EXPECT_EQ(Trimmed(4), "");
    EXPECT_EQ(Trimmed(5), "");
    EXPECT_EQ(Trimmed(6), "");
    EXPECT_EQ(Trimmed(7), "RH");
}

TEST_F(SimpleTerminalTest, TabStops)
{
    term.SetColumns(255);
    term.InitHorzTabStops(8);
    std::vector<int> expected;
    for (int c = 8; c <= 248; c += 8) expected.push_back(c);
    EXPECT_EQ(TabStops(), expected);

    term.GotoXY(250, 0);
    term.Write(u'\t');
    EXPECT_EQ(Cursor(), (TPoint{250, 0}));

    term.SetHorzTabSpacing(1000);
    EXPECT_EQ(term.HorzTabSpacing(), 254);
    EXPECT_EQ(TabStops(), std::vector<int>{254});
    term.GotoXY(250, 0);
    term.Write(u'\t');
    EXPECT_EQ(Cursor(), (TPoint{254, 0}));

    term.SetHorzTabSpacing(255);
    EXPECT_EQ(term.HorzTabSpacing(), 255);
    term.SetHorzTabSpacing(-3);
    EXPECT_EQ(term.HorzTabSpacing(), 0);
    EXPECT_EQ(TabStops(), std::vector<int>{});
    term.SetHorzTabSpacing(8);
    EXPECT_EQ(TabStops(), expected);

    term.ClearHorzTabStops();
    term.SetHorzTabStop(5);
    term.SetHorzTabStop(300);
    term.SetHorzTabStop(-1);
    term.ClearHorzTabStop(255);
    term.GotoXY(20, 0);
    term.SetColumnTabStop();
    EXPECT_EQ(TabStops(), (std::vector<int>{5, 20}));
    term.GotoXY(20, 0);
    term.ClearColumnTabStop();
    EXPECT_EQ(TabStops(), std::vector<int>{5});
}

TEST_F(SimpleTerminalTest, TabMovesCountStopsAndStopAtTheLastOneMet)
{
    // Stops 0, 8, ..., 72 inside 80 columns.
    term.GotoXY(3, 0);
    term.GotoNextHorzTabStop(3);
    EXPECT_EQ(Cursor().X, 24);
    term.GotoNextHorzTabStop(0);
    EXPECT_EQ(Cursor().X, 32);
    term.GotoNextHorzTabStop(100);
    EXPECT_EQ(Cursor().X, 72);
    term.GotoNextHorzTabStop(1);
    EXPECT_EQ(Cursor().X, 72);
    term.GotoPriorHorzTabStop(2);
    EXPECT_EQ(Cursor().X, 56);
    term.GotoXY(59, 0);
    term.GotoPriorHorzTabStop(-5);
    EXPECT_EQ(Cursor().X, 56);
    term.GotoPriorHorzTabStop(100);
    EXPECT_EQ(Cursor().X, 0);
    // Stops beyond the used columns are not reached.
    term.SetColumns(20);
    term.GotoXY(17, 0);
    term.Write(u'\t');
    EXPECT_EQ(Cursor().X, 17);
}

TEST_F(SimpleTerminalTest, Clears)
{
    for (int row = 0; row < 3; ++row) {
        term.GotoXY(0, row);
        term.WriteString(u"0123456789");
    }
    term.GotoXY(4, 1);
    term.ClrToEol();
    EXPECT_EQ(Trimmed(1), "0123");
    EXPECT_EQ(term.GetCharAtXY(4, 1), BlankTerminalChar);
    term.ClrLine();
    EXPECT_EQ(Trimmed(1), "");
    EXPECT_EQ(Trimmed(0), "0123456789");
    term.GotoXY(6, 0);
    term.ClrToEop();
    EXPECT_EQ(Trimmed(0), "012345");
    EXPECT_EQ(Trimmed(2), "");
    EXPECT_EQ(Cursor(), (TPoint{6, 0}));
}

TEST_F(SimpleTerminalTest, ClrToNullStopsAtNeverWrittenCell)
{
    term.WriteString(u"abcdef");
    term.GotoXY(10, 0);
    term.WriteString(u"xyz");
    term.GotoXY(2, 0);
    term.ClrToNull();
    EXPECT_EQ(Trimmed(0), "ab        xyz");
    EXPECT_EQ(term.GetCharAtXY(5, 0), BlankTerminalChar);
    // The blanked cells count as never written: a second run stops at once.
    term.GotoXY(2, 0);
    term.ClrToNull();
    EXPECT_EQ(Trimmed(0), "ab        xyz");
    term.GotoXY(10, 0);
    term.ClrToNull();
    EXPECT_EQ(Trimmed(0), "ab");
}

TEST_F(SimpleTerminalTest, ClrScreenBlanksEvenCellsOutsideUsedSizeAndKeepsCursor)
{
    term.GotoXY(70, 20);
    term.Write(u'q');
    term.SetColumns(40);
    term.SetRows(10);
    term.GotoXY(3, 4);
    term.ClrScreen();
    EXPECT_EQ(Cursor(), (TPoint{3, 4}));
    term.SetColumns(80);
    term.SetRows(24);
    EXPECT_EQ(term.GetCharAtXY(70, 20), BlankTerminalChar);
}

TEST_F(SimpleTerminalTest, LineClearsStopAtUsedColumnsAndLaterClearsStillReachHiddenCells)
{
    term.GotoXY(70, 2);
    term.Write(u'q');
    term.GotoXY(10, 2);
    term.Write(u'p');
    term.SetColumns(40);
    term.GotoXY(5, 2);
    term.ClrToEol();
    term.SetColumns(80);
    EXPECT_EQ(term.GetCharAtXY(70, 2).Character, u'q');
    EXPECT_EQ(term.GetCharAtXY(10, 2), BlankTerminalChar);
    // Rows that scroll keep what they hold; the last clear reaches every cell.
    term.SetScrollRegion(1, 3);
    term.ScrollRegion(-1);
    EXPECT_EQ(term.GetCharAtXY(70, 3).Character, u'q');
    term.GotoXY(0, 3);
    term.ClrLine();
    EXPECT_EQ(term.GetCharAtXY(70, 3), BlankTerminalChar);
}

TEST_F(SimpleTerminalTest, ShrinkingKeepsCellsOutsideUsedSizeButHidesThem)
{
    term.SetColumns(81);
    term.GotoXY(80, 0);
    term.Write(u'h');
    term.SetColumns(80);
    EXPECT_EQ(term.GetCharAtXY(80, 0), BlankTerminalChar);
    EXPECT_EQ(term.GetCharAtXY(-1, 0), BlankTerminalChar);
    EXPECT_EQ(term.GetCharAtXY(0, 24), BlankTerminalChar);
    EXPECT_EQ(term.GetCharAtXY(0, -1), BlankTerminalChar);
    term.SetColumns(81);
    EXPECT_EQ(term.GetCharAtXY(80, 0).Character, u'h');
}

TEST_F(SimpleTerminalTest, SizeSettersRefuseBadValuesAndPullCursorIn)
{
    term.SetScrollRegion(2, 5);
    for (int bad : {0, -1, 256, 24}) {
        term.SetRows(bad);
        EXPECT_EQ(term.Rows(), 24);
        EXPECT_EQ(term.ScrollRegionFirstRow(), 2) << bad;
    }
    for (int bad : {0, 256, 80}) {
        term.SetColumns(bad);
        EXPECT_EQ(term.Columns(), 80);
    }

    term.GotoXY(79, 23);
    term.SetColumns(50);
    EXPECT_EQ(Cursor(), (TPoint{49, 23}));
    EXPECT_EQ(term.ScrollRegionFirstRow(), 2);
    term.SetRows(10);
    EXPECT_EQ(Cursor(), (TPoint{49, 9}));
    EXPECT_EQ(term.ScrollRegionFirstRow(), 0);
    EXPECT_EQ(term.ScrollRegionLastRow(), 9);
    term.SetRows(255);
    term.SetColumns(255);
    EXPECT_EQ(Cursor(), (TPoint{49, 9}));
    EXPECT_EQ(term.ScrollRegionLastRow(), 254);
    term.SetRows(1);
    term.SetColumns(1);
    EXPECT_EQ(Cursor(), (TPoint{0, 0}));
}

TEST_F(SimpleTerminalTest, CursorMoves)
{
    term.GotoXY(10, 5);
    term.GotoXY(80, 5);
    term.GotoXY(10, 24);
    term.GotoXY(-1, 0);
    EXPECT_EQ(Cursor(), (TPoint{10, 5}));
    term.GotoRow(7);
    term.GotoColumn(12);
    EXPECT_EQ(Cursor(), (TPoint{12, 7}));

    term.GoNextColumn(INT_MAX);
    EXPECT_EQ(Cursor(), (TPoint{79, 7}));
    term.GoPriorColumn(3);
    EXPECT_EQ(Cursor(), (TPoint{76, 7}));
    term.GoPriorColumn(INT_MAX);
    EXPECT_EQ(Cursor(), (TPoint{0, 7}));
    term.GoNextColumn(-4);
    term.GoPriorRow(0, true);
    EXPECT_EQ(Cursor(), (TPoint{0, 7}));

    term.GotoXY(5, 7);
    term.GoNextRow(INT_MAX, false);
    EXPECT_EQ(Cursor(), (TPoint{5, 23}));
    term.GoPriorRow(2, false);
    EXPECT_EQ(Cursor(), (TPoint{5, 21}));
    term.GoPriorRow(1, true);
    EXPECT_EQ(Cursor(), (TPoint{0, 20}));
    term.GotoXY(5, 20);
    term.GoNextRow(1, true);
    EXPECT_EQ(Cursor(), (TPoint{0, 21}));
    term.GoPriorRow(INT_MAX, false);
    EXPECT_EQ(Cursor(), (TPoint{0, 0}));

    term.GotoXY(33, 11);
    term.SaveCursorXY();
    term.GoHome();
    EXPECT_EQ(Cursor(), (TPoint{0, 0}));
    term.RestoreCursorXY();
    EXPECT_EQ(Cursor(), (TPoint{33, 11}));
    // A saved point that no longer fits is ignored.
    term.SetColumns(20);
    term.GoHome();
    term.RestoreCursorXY();
    EXPECT_EQ(Cursor(), (TPoint{0, 0}));
}

TEST_F(SimpleTerminalTest, ResetRestoresScreenState)
{
    TTerminalCharAttributes bold;
    bold.Include(tca_Bold);
    term.SetCurrentAttributes(bold);
    term.SetCurrentFontColor(clYellow);
    term.SetCurrentBgColor(clNavy);
    term.WriteString(u"text");
    term.SetScrollRegion(3, 5);
    term.GotoXY(7, 4);
    term.SaveCursorXY();
    term.SetDisplayCursor(false);
    term.SetLineWrap(false);
    term.InitHorzTabStops(4);

    term.Reset();
    EXPECT_EQ(Cursor(), (TPoint{0, 0}));
    EXPECT_EQ(Trimmed(0), "");
    EXPECT_EQ(term.GetCharAtXY(0, 0), BlankTerminalChar);
    EXPECT_EQ(term.CurrentAttributes(), TTerminalCharAttributes{});
    EXPECT_EQ(term.CurrentFontColor(), clNone);
    EXPECT_EQ(term.CurrentBgColor(), clNone);
    EXPECT_TRUE(term.DisplayCursor());
    EXPECT_EQ(term.ScrollRegionFirstRow(), 0);
    EXPECT_EQ(term.ScrollRegionLastRow(), 23);
    term.GotoXY(9, 9);
    term.RestoreCursorXY();
    EXPECT_EQ(Cursor(), (TPoint{0, 0}));
    // Options and tab stops are not the screen's state.
    EXPECT_FALSE(term.LineWrap());
    term.Write(u'\t');
    EXPECT_EQ(Cursor(), (TPoint{4, 0}));
}

}  // namespace
