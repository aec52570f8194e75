#include "support/TerminalConsistency.h"

#include <gtest/gtest.h>

void ExpectConsistentTerminal(const TSimpleTerminal& term, bool checkCells)
{
    int column = -1;
    int row = -1;
    term.GetXY(column, row);
    ASSERT_TRUE(term.Rows() >= 1 && term.Rows() <= TerminalMaxRows);
    ASSERT_TRUE(term.Columns() >= 1 && term.Columns() <= TerminalMaxColumns);
    ASSERT_TRUE(column >= 0 && column < term.Columns()) << column;
    ASSERT_TRUE(row >= 0 && row < term.Rows()) << row;
    ASSERT_TRUE(term.ScrollRegionFirstRow() >= 0 && term.ScrollRegionFirstRow() <= term.ScrollRegionLastRow() &&
                term.ScrollRegionLastRow() < term.Rows());
    ASSERT_EQ(term.GetCharAtXY(term.Columns(), 0), BlankTerminalChar);
    ASSERT_EQ(term.GetCharAtXY(0, term.Rows()), BlankTerminalChar);
    if (!checkCells) return;
    // A cell is either blank or holds a shown character without the never-written mark.
    for (int y = 0; y < term.Rows(); ++y) {
        for (int x = 0; x < term.Columns(); ++x) {
            const TTerminalChar cell = term.GetCharAtXY(x, y);
            if (cell == BlankTerminalChar) continue;
            const char16_t c = cell.Character;
            ASSERT_FALSE(cell.Attributes.Contains(tca_Null)) << x << "," << y;
            ASSERT_TRUE((c >= 32 && c <= 127) || (c >= 160 && c <= 255)) << x << "," << y << ": " << int(c);
        }
    }
}
