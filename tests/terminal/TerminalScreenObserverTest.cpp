#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "terminal/SimpleTerminal.h"

namespace {

/// Writes every call down as one line of text; at RowsMoved it also notes the first cell of the
/// last moving row, to show that the buffer had not changed yet.
class RecordingObserver : public TTerminalScreenObserver {
public:
    explicit RecordingObserver(const TSimpleTerminal& terminal) : fTerminal(terminal) {}

    std::vector<std::string> Calls;

    void ChangesPending() override { Calls.push_back("pending"); }
    void CellsDamaged(const TRect& r) override
    {
        Calls.push_back("damaged " + Rect(r));
    }
    void CursorMoved(TPoint from, TPoint to) override
    {
        Calls.push_back("cursor " + Point(from) + "->" + Point(to));
    }
    void RowsMoved(int firstRow, int lastRow, int rowDelta) override
    {
        Calls.push_back("rows " + std::to_string(firstRow) + ".." + std::to_string(lastRow) + " by " +
                        std::to_string(rowDelta) + " last '" +
                        std::string(1, char(fTerminal.GetCharAtXY(0, lastRow).Character)) + "'");
    }
    void ScreenCleared() override { Calls.push_back("cleared"); }
    void ScreenReset() override { Calls.push_back("reset"); }
    void SizeChanged() override
    {
        Calls.push_back("size " + std::to_string(fTerminal.Columns()) + "x" + std::to_string(fTerminal.Rows()));
    }
    void ViewOptionsChanged() override { Calls.push_back("options"); }

    std::vector<std::string> Take()
    {
        std::vector<std::string> calls;
        calls.swap(Calls);
        return calls;
    }

private:
    static std::string Point(TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); }
    static std::string Rect(const TRect& r)
    {
        return std::to_string(r.Left) + "," + std::to_string(r.Top) + "-" + std::to_string(r.Right) + "," +
               std::to_string(r.Bottom);
    }
    const TSimpleTerminal& fTerminal;
};

using Calls = std::vector<std::string>;

class TerminalScreenObserverTest : public ::testing::Test {
protected:
    void SetUp() override { term.SetObserver(&observer); }

    TSimpleTerminal term;
    RecordingObserver observer{term};
};

TEST_F(TerminalScreenObserverTest, WritesAreCollectedUntilFlush)
{
    term.GotoXY(2, 1);
    term.WriteString(u"abc");
    term.GotoXY(0, 3);
    term.Write(u'x');
    EXPECT_EQ(observer.Take(), Calls{"pending"});
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), (Calls{"damaged 0,1-5,4", "cursor 0,0->1,3"}));
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), Calls{});
}

TEST_F(TerminalScreenObserverTest, MovesWithoutChangeReportNothingButWriteInPlaceAsksToFollow)
{
    term.GotoXY(0, 0);
    term.GoPriorColumn(1);
    term.Write(u'\r');
    term.Write(u'\b');
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), Calls{});

    term.SetLineWrap(false);
    term.GotoXY(79, 0);
    term.FlushChanges();
    observer.Take();
    term.Write(u'z');
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), (Calls{"pending", "damaged 79,0-80,1", "cursor 79,0->79,0"}));
}

TEST_F(TerminalScreenObserverTest, ScrollFlushesFirstAndReportsMoveBeforeBufferChanges)
{
    term.GotoXY(0, 22);
    term.Write(u'A');
    term.GotoXY(0, 23);
    term.Write(u'B');
    term.Write(u'\n');
    EXPECT_EQ(observer.Take(), (Calls{"pending", "damaged 0,22-1,24", "cursor 0,0->1,23", "rows 1..23 by -1 last 'B'",
                                      "pending"}));
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), Calls{"damaged 0,23-80,24"});
    EXPECT_EQ(term.GetCharAtXY(0, 22).Character, u'B');

    // A scroll that moves nothing only damages; down scrolls report a positive delta.
    term.SetScrollRegion(4, 5);
    term.ScrollRegion(2);
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), (Calls{"pending", "damaged 0,4-80,6"}));
    term.ScrollRegion(-1);
    EXPECT_EQ(observer.Take(), (Calls{"rows 4..4 by 1 last ' '", "pending"}));
}

TEST_F(TerminalScreenObserverTest, ImmediateCallsComeAfterCollectedChanges)
{
    term.Write(u'a');
    term.ClrScreen();
    EXPECT_EQ(observer.Take(), (Calls{"pending", "damaged 0,0-1,1", "cursor 0,0->1,0", "cleared"}));

    term.GotoXY(5, 23);
    term.SetRows(10);
    EXPECT_EQ(observer.Take(), (Calls{"pending", "cursor 1,0->5,23", "size 80x10"}));
    // The pulled-in cursor was taken over by the size change.
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), Calls{});
    term.SetRows(10);
    term.SetColumns(300);
    term.SetColumns(40);
    EXPECT_EQ(observer.Take(), Calls{"size 40x10"});

    term.SetDisplayCursor(true);
    term.SetDisplayCursor(false);
    term.SetScrollToCursor(false);
    term.SetAutoSize(false);
    term.SetAutoSize(false);
    EXPECT_EQ(observer.Take(), (Calls{"options", "options", "options"}));
}

TEST_F(TerminalScreenObserverTest, ResetDropsCollectedChanges)
{
    term.WriteString(u"abc");
    term.Reset();
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), (Calls{"pending", "reset"}));
    term.Write(u'x');
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), (Calls{"pending", "damaged 0,0-1,1", "cursor 0,0->1,0"}));
}

TEST_F(TerminalScreenObserverTest, ClearsDamageWhatTheyBlank)
{
    term.GotoXY(5, 20);
    term.FlushChanges();
    observer.Take();
    term.ClrToEol();
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), (Calls{"pending", "damaged 5,20-80,21"}));
    term.ClrToEop();
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), (Calls{"pending", "damaged 0,20-80,24"}));
    // ClrToNull on a never-written cell blanks nothing.
    term.ClrToNull();
    term.FlushChanges();
    EXPECT_EQ(observer.Take(), Calls{});
}

}  // namespace
