#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>
#include "support/TerminalConsistency.h"
#include "terminal/SimpleTerminal.h"

namespace {

/// Fails the test when the model reports something outside its buffer or used size.
class CheckingObserver : public TTerminalScreenObserver {
public:
    explicit CheckingObserver(const TSimpleTerminal& terminal) : fTerminal(terminal) {}

    void CellsDamaged(const TRect& r) override
    {
        EXPECT_FALSE(r.IsEmpty());
        EXPECT_GE(r.Left, 0);
        EXPECT_GE(r.Top, 0);
        EXPECT_LE(r.Right, TerminalMaxColumns);
        EXPECT_LE(r.Bottom, TerminalMaxRows);
    }
    void CursorMoved(TPoint from, TPoint to) override
    {
        EXPECT_TRUE(to.X >= 0 && to.X < fTerminal.Columns() && to.Y >= 0 && to.Y < fTerminal.Rows());
    }
    void RowsMoved(int firstRow, int lastRow, int rowDelta) override
    {
        EXPECT_TRUE(firstRow >= 0 && firstRow <= lastRow && lastRow < fTerminal.Rows());
        EXPECT_NE(rowDelta, 0);
        EXPECT_TRUE(firstRow + rowDelta >= 0 && lastRow + rowDelta < fTerminal.Rows());
    }

private:
    const TSimpleTerminal& fTerminal;
};

/// Arguments that a careless caller might pass, edges and extremes included.
int AnyArgument(std::mt19937& rng)
{
    static const int edges[] = {INT_MIN, -300, -1, 0, 1, 2, 23, 24, 79, 80, 254, 255, 256, 1000, INT_MAX};
    if (rng() % 2) return edges[rng() % std::size(edges)];
    return int(rng() % 320) - 30;
}

TEST(SimpleTerminalRandom, AnyOperationKeepsModelConsistent)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 rng(seed);
        TSimpleTerminal term;
        CheckingObserver observer(term);
        term.SetObserver(&observer);
        const std::vector<std::function<void()>> operations = {
            [&] { term.Write(char16_t(rng() % 0x120)); },
            [&] { term.WriteString(u"some text\r\n\tmore"); },
            [&] { term.GotoXY(AnyArgument(rng), AnyArgument(rng)); },
            [&] { term.GotoRow(AnyArgument(rng)); },
            [&] { term.GotoColumn(AnyArgument(rng)); },
            [&] { term.GoHome(); },
            [&] { term.GoNextColumn(AnyArgument(rng)); },
            [&] { term.GoPriorColumn(AnyArgument(rng)); },
            [&] { term.GoNextRow(AnyArgument(rng), rng() % 2); },
            [&] { term.GoPriorRow(AnyArgument(rng), rng() % 2); },
            [&] { term.SaveCursorXY(); },
            [&] { term.RestoreCursorXY(); },
            [&] { term.ClrLine(); },
            [&] { term.ClrToEol(); },
            [&] { term.ClrToEop(); },
            [&] { term.ClrToNull(); },
            [&] { term.ClrScreen(); },
            [&] { term.SetScrollRegionToAllRows(); },
            [&] { term.SetScrollRegion(AnyArgument(rng), AnyArgument(rng)); },
            [&] { term.ScrollRegion(AnyArgument(rng)); },
            [&] { term.DeleteRows(AnyArgument(rng), AnyArgument(rng)); },
            [&] { term.InsertRows(AnyArgument(rng), AnyArgument(rng)); },
            [&] { term.DeleteCursorRows(AnyArgument(rng)); },
            [&] { term.InsertCursorRows(AnyArgument(rng)); },
            [&] { term.InitHorzTabStops(AnyArgument(rng)); },
            [&] { term.SetHorzTabStop(AnyArgument(rng)); },
            [&] { term.ClearHorzTabStop(AnyArgument(rng)); },
            [&] { term.SetColumnTabStop(); },
            [&] { term.GotoNextHorzTabStop(AnyArgument(rng)); },
            [&] { term.GotoPriorHorzTabStop(AnyArgument(rng)); },
            [&] { term.SetHorzTabSpacing(AnyArgument(rng)); },
            [&] { term.SetRows(AnyArgument(rng)); },
            [&] { term.SetColumns(AnyArgument(rng)); },
            [&] { term.SetLineWrap(rng() % 2); },
            [&] { term.SetScrollLock(rng() % 4 == 0); },
            [&] { term.Reset(); },
            [&] { term.FlushChanges(); },
        };
        for (int step = 0; step < 20000; ++step) {
            operations[rng() % operations.size()]();
            ExpectConsistentTerminal(term, step % 1000 == 0);
            if (HasFatalFailure()) FAIL() << "seed " << seed << " step " << step;
        }
        ExpectConsistentTerminal(term, true);
    }
}

}  // namespace
