#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>
#include "app/ReceiveProcedure.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ReceiveProcedureTest : public ::testing::Test {
protected:
    ReceiveProcedureTest() { options.AllowedCtrlCodes = TConfigTermCtrlCodes::All(); }

    void Feed(const Bytes& bytes)
    {
        for (std::uint8_t b : bytes) RxChar(state, context, b);
    }

    TPoint Cursor() const
    {
        TPoint p;
        term.GetXY(p.X, p.Y);
        return p;
    }

    std::string RowText(int row, int length) const
    {
        std::string text;
        for (int column = 0; column < length; ++column) text += char(term.GetCharAtXY(column, row).Character);
        return text;
    }

    TSimpleTerminal term;
    TComOkBuffer okBuffer;
    TConfigTermOptions options;
    bool inPaste = false;
    bool abortPaste = false;
    Bytes sent;
    int beeps = 0;
    TRxState state;
    TRxContext context{term,       okBuffer,
                       options,    inPaste,
                       abortPaste, [this](std::uint8_t b) { sent.push_back(b); },
                       [this] { ++beeps; }};
};

struct CursorCase {
    const char* name;
    Bytes bytes;
    TPoint cursor;
};

TEST_F(ReceiveProcedureTest, CursorCodesAndParameters)
{
    const std::vector<CursorCase> cases = {
        {"gotoxy", {2, 5, 10}, {10, 5}},
        {"gotox", {2, 5, 10, 14, 3}, {3, 5}},
        {"gotoy", {2, 5, 10, 14, 3, 15, 0}, {3, 0}},
        {"control codes as parameters", {2, 13, 7}, {7, 13}},
        {"gotoxy off screen ignored", {2, 5, 10, 2, 30, 3}, {10, 5}},
        {"gotox off screen ignored", {2, 5, 10, 14, 200}, {10, 5}},
        {"home", {2, 5, 10, 1}, {0, 0}},
        {"left stops at column 0", {2, 5, 1, 3, 3, 3}, {0, 5}},
        {"right stops at last column", {2, 0, 78, 4, 4, 4}, {79, 0}},
        {"up stops at row 0", {2, 1, 4, 5, 5}, {4, 0}},
        {"down stops at last row without scrolling", {2, 22, 4, 6, 6, 6}, {4, 23}},
        {"tab", {'a', 9}, {8, 0}},
        {"line feed keeps column", {'a', 'b', 10}, {2, 1}},
        {"carriage return", {'a', 'b', 13}, {0, 0}},
        {"clear screen homes", {2, 5, 10, 0}, {0, 0}},
        {"code 16 as code 0", {2, 5, 10, 16}, {0, 0}},
    };
    for (const CursorCase& c : cases) {
        term.Reset();
        state = {};
        Feed(c.bytes);
        EXPECT_EQ(Cursor(), c.cursor) << c.name;
        EXPECT_EQ(state.ParamsRequired, 0) << c.name;
        EXPECT_TRUE(state.Params.empty()) << c.name;
        EXPECT_EQ(state.RxCmdNeedsParam, cmd_NONE) << c.name;
    }
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(sent.empty());
}

TEST_F(ReceiveProcedureTest, ParametersSurviveBetweenCalls)
{
    Feed({2});
    EXPECT_EQ(state.RxCmdNeedsParam, cmd_GOTOXY);
    EXPECT_EQ(state.ParamsRequired, 2);
    Feed({0});
    EXPECT_EQ(state.Params, std::string(1, '\0'));
    EXPECT_EQ(state.ParamsRequired, 1);
    Feed({250});
    EXPECT_EQ(Cursor(), (TPoint{0, 0}));
    term.SetColumns(255);
    Feed({2, 0, 250});
    EXPECT_EQ(Cursor(), (TPoint{250, 0}));
}

TEST_F(ReceiveProcedureTest, ClearsBeepAndCursorVisibility)
{
    Feed(Text("0123456789") + Bytes{13, 10} + Text("abcdefghij") + Bytes{2, 0, 4, 11});
    EXPECT_EQ(RowText(0, 6), "0123  ");
    EXPECT_EQ(RowText(1, 3), "abc");
    Feed({2, 0, 2, 12});
    EXPECT_EQ(RowText(0, 4), "01  ");
    EXPECT_EQ(term.GetCharAtXY(0, 1), BlankTerminalChar);
    EXPECT_EQ(Cursor(), (TPoint{2, 0}));

    Feed({7, 7});
    EXPECT_EQ(beeps, 2);
    Feed({18});
    EXPECT_FALSE(term.DisplayCursor());
    Feed({17});
    EXPECT_TRUE(term.DisplayCursor());
}

TEST_F(ReceiveProcedureTest, CarriageReturnAddsLineFeedWhenAsked)
{
    options.CrIsNewLine = true;
    Feed(Text("ab") + Bytes{13} + Text("c"));
    EXPECT_EQ(Cursor(), (TPoint{1, 1}));
    EXPECT_EQ(term.GetCharAtXY(0, 1).Character, u'c');
}

TEST_F(ReceiveProcedureTest, DisallowedCodesAreDropped)
{
    options.AllowedCtrlCodes.Exclude(CTRL_2);
    Feed({2, 65, 66});
    EXPECT_EQ(RowText(0, 3), "AB ");
    EXPECT_EQ(Cursor(), (TPoint{2, 0}));

    // With nothing allowed no code 0..20 has any effect.
    options.AllowedCtrlCodes = {};
    term.GotoXY(1, 1);
    term.SetDisplayCursor(true);
    for (std::uint8_t code = 0; code <= 20; ++code) Feed({code});
    EXPECT_EQ(Cursor(), (TPoint{1, 1}));
    EXPECT_EQ(RowText(0, 3), "AB ");
    EXPECT_TRUE(term.DisplayCursor());
    EXPECT_EQ(state.ParamsRequired, 0);
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(sent.empty());
}

TEST_F(ReceiveProcedureTest, ByteClasses)
{
    Feed({'x'});
    Feed({128});
    EXPECT_EQ(Cursor(), (TPoint{1, 0}));
    EXPECT_EQ(okBuffer.LastChar(), 'x');

    for (int b = 21; b <= 31; ++b) Feed({std::uint8_t(b)});
    for (int b = 129; b <= 159; ++b) Feed({std::uint8_t(b)});
    EXPECT_EQ(Cursor(), (TPoint{1, 0}));
    EXPECT_EQ(okBuffer.LastChar(), 'x');

    Feed({200, 127, 160, 255});
    EXPECT_EQ(term.GetCharAtXY(1, 0).Character, char16_t(200));
    EXPECT_EQ(term.GetCharAtXY(2, 0).Character, char16_t(127));
    EXPECT_EQ(term.GetCharAtXY(3, 0).Character, char16_t(160));
    EXPECT_EQ(term.GetCharAtXY(4, 0).Character, char16_t(255));
    EXPECT_EQ(okBuffer.LastChar(), 255);

    Feed(Text("  OK"));
    EXPECT_TRUE(okBuffer.IsOk());
    Feed({128});
    EXPECT_TRUE(okBuffer.IsOk());
}

TEST_F(ReceiveProcedureTest, RepliesGoOutByteByByte)
{
    term.SetRows(25);
    term.GotoXY(4, 2);
    Feed({19});
    EXPECT_EQ(sent, (Bytes{19, 4, 2}));
    sent.clear();
    Feed({20});
    EXPECT_EQ(sent, (Bytes{20, 80, 25}));
    sent.clear();
    term.SetRows(255);
    term.SetColumns(255);
    term.GotoXY(254, 200);
    Feed({19, 20});
    EXPECT_EQ(sent, (Bytes{19, 254, 200, 20, 255, 255}));
}

TEST_F(ReceiveProcedureTest, FailedReplyEndsOnlyThatByte)
{
    context.SendChar = [this](std::uint8_t b) {
        if (!sent.empty()) throw std::runtime_error("The terminal connection was closed.");
        sent.push_back(b);
    };
    EXPECT_THROW(Feed({20}), std::runtime_error);
    EXPECT_EQ(sent, Bytes{20});
    Feed(Text("A"));
    EXPECT_EQ(term.GetCharAtXY(0, 0).Character, u'A');
}

TEST_F(ReceiveProcedureTest, BackspaceErasesWhenAsked)
{
    Feed(Text("AB") + Bytes{8});
    EXPECT_EQ(Cursor(), (TPoint{1, 0}));
    EXPECT_EQ(term.GetCharAtXY(1, 0).Character, u' ');
    EXPECT_FALSE(term.GetCharAtXY(1, 0).Attributes.Contains(tca_Null));

    options.BackspaceErases = false;
    Feed(Text("C") + Bytes{8});
    EXPECT_EQ(Cursor(), (TPoint{1, 0}));
    EXPECT_EQ(term.GetCharAtXY(1, 0).Character, u'C');
}

struct PasteCase {
    const char* name;
    std::string line;
    bool crAllowed;
    bool inPaste;
    bool abortOption;
    bool abortBefore;
    bool abortAfter;
    bool okBufferReset;
};

TEST_F(ReceiveProcedureTest, PasteCheckAtCarriageReturn)
{
    const std::vector<PasteCase> cases = {
        {"lower-case ok", "1 2 + ok", true, true, true, false, false, true},
        {"forth error", "foo ?", true, true, true, false, true, true},
        {"prompt", "1 2 +  OK", true, true, true, false, false, true},
        {"error with CR not allowed", "foo?", false, true, true, false, true, true},
        {"prompt with CR not allowed", "  OK", false, true, true, false, false, true},
        {"not pasting", "foo?", true, false, true, false, false, false},
        {"abort option off", "foo?", true, true, false, false, false, false},
        {"already aborted", "fine", true, true, true, true, true, false},
    };
    for (const PasteCase& c : cases) {
        term.Reset();
        okBuffer.Reset();
        options.AllowedCtrlCodes = TConfigTermCtrlCodes::All();
        if (!c.crAllowed) options.AllowedCtrlCodes.Exclude(CTRL_13);
        options.AbortPasteOnForthError = c.abortOption;
        inPaste = c.inPaste;
        abortPaste = c.abortBefore;
        Feed(Text(c.line));
        const std::uint8_t last = okBuffer.LastChar();
        Feed({13});
        EXPECT_EQ(abortPaste, c.abortAfter) << c.name;
        EXPECT_EQ(okBuffer.LastChar(), c.okBufferReset ? 0 : last) << c.name;
        EXPECT_EQ(Cursor().X, c.crAllowed ? 0 : int(c.line.size())) << c.name;
        EXPECT_EQ(inPaste, c.inPaste) << c.name;
    }
}

TEST_F(ReceiveProcedureTest, EveryLineIsCheckedOnItsOwn)
{
    inPaste = true;
    Feed(Text("  OK") + Bytes{13, 10} + Text("what?") + Bytes{13});
    EXPECT_TRUE(abortPaste);
}

}  // namespace
