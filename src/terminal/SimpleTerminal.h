#pragma once
// The terminal page's screen: a fixed grid of character cells with a cursor, a scroll region and
// horizontal tab stops. It interprets no control codes; the receive procedure calls the operations.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include "platform/Control.h"
#include "terminal/TerminalChar.h"
#include "terminal/TerminalScreenObserver.h"

class TTerminalView;

/// A mouse button went down on a control: Sender, button, shift state and position.
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

/// The buffer always has this many rows and columns; Rows and Columns say how much is in use.
constexpr int TerminalMaxRows = 255;
constexpr int TerminalMaxColumns = 255;

/// Row-major: one row is TerminalMaxColumns consecutive cells.
using TTerminalScreenRow = std::array<TTerminalChar, TerminalMaxColumns>;
using TTerminalScreen = std::array<TTerminalScreenRow, TerminalMaxRows>;
using TTerminalHorzTabStops = std::array<bool, TerminalMaxColumns>;

class TSimpleTerminal : public Control {
public:
    TSimpleTerminal();
    ~TSimpleTerminal() override;

    /// The observer told of every change: the terminal's own drawing side unless another is set
    /// (nullptr: none). Collected changes start afresh.
    void SetObserver(TTerminalScreenObserver* observer);
    /// Hands the collected cell damage and cursor move to the observer.
    void FlushChanges();

    /// One character: CR, BS, TAB and LF act on the cursor; 32..127 and 160..255 are stored at the
    /// cursor, which advances; every other code changes nothing.
    void Write(char16_t Ch);
    void WriteString(std::u16string_view S);

    void GetXY(int& aColumn, int& aRow) const;
    /// Moves the cursor; a position outside the used size is ignored as a whole.
    void GotoXY(int aColumn, int aRow);
    void GotoRow(int aRow);
    void GotoColumn(int aColumn);
    void GoHome();
    /// Relative moves; they stop at the edges of the used size and never scroll.
    void GoNextColumn(int aRepeatCount);
    void GoPriorColumn(int aRepeatCount);
    void GoNextRow(int aRepeatCount, bool aGotoFirstColumn);
    void GoPriorRow(int aRepeatCount, bool aGotoFirstColumn);
    void SaveCursorXY();
    void RestoreCursorXY();

    /// The stored cell, or the blank cell outside the used size.
    TTerminalChar GetCharAtXY(int aColumn, int aRow) const;
    TTerminalChar GetCharAtCursor() const;

    void ClrLine();
    void ClrToEol();
    void ClrToEop();
    /// Blanks from the cursor rightwards up to the first never-written cell.
    void ClrToNull();
    /// Blanks every cell of the buffer; the cursor stays.
    void ClrScreen();

    void SetScrollRegionToAllRows();
    /// Both rows are clamped to the used rows; an empty region is refused.
    void SetScrollRegion(int aFirstRow, int aLastRow);
    int ScrollRegionFirstRow() const { return fScrollRegionFirstRow; }
    int ScrollRegionLastRow() const { return fScrollRegionLastRow; }
    /// Positive: contents move towards the first row of the region; negative: towards the last.
    void ScrollRegion(int RowDelta);
    void DeleteRows(int aStartRow, int aRowCount);
    void DeleteCursorRows(int aRowCount);
    void InsertRows(int aStartRow, int aRowCount);
    void InsertCursorRows(int aRowCount);

    void ClearHorzTabStops();
    /// A stop in every column that is a multiple of Spacing; none when Spacing < 1.
    void InitHorzTabStops(int Spacing);
    void SetHorzTabStop(int aColumn);
    void ClearHorzTabStop(int aColumn);
    void SetColumnTabStop();
    void ClearColumnTabStop();
    void GotoNextHorzTabStop(int aRepeatCount);
    void GotoPriorHorzTabStop(int aRepeatCount);

    /// Blank screen, cursor home, colours and attributes back to their defaults, cursor shown.
    void Reset();

    /// The properties are all set (the form has loaded): blank screen and bitmap, cursor home,
    /// tab stops from HorzTabSpacing, the cursor blinking as DisplayCursor says.
    void Loaded();
    /// Draws every used cell into the bitmap again.
    void RefreshDisplay();
    /// Moves the view down (positive) or up by a number of pixels when the vertical bar shows.
    void MoveViewTop(int PositionDelta);
    int CellHeight() const;
    int CellWidth() const;
    /// The drawing side: bitmap, cursor band, scroll bars.
    TTerminalView& View() const { return *fView; }
    /// A mouse button went down on the control and it has the focus.
    TMouseEvent OnMouseDown;

    void SetFont(const TFont& font) override;
    void SetColor(TColor color) override;
    bool ScrollBarsInside() const override { return true; }
    /// Tab, Enter and the arrows as WantTabs, WantReturns and WantArrowKeys say.
    TDlgCodes DlgCode() const override;
    void Paint(Canvas& canvas) override;
    void Resize() override;
    void Scroll(TScrollBarKind kind, TScrollCode code, int position) override;
    /// A click first takes the focus; a click that cannot take it is dropped.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

    int Rows() const { return fRows; }
    /// 1..255; other values and the current one are ignored.
    void SetRows(int value);
    int Columns() const { return fColumns; }
    void SetColumns(int value);
    bool LineWrap() const { return fAllowLineWrap; }
    void SetLineWrap(bool value) { fAllowLineWrap = value; }
    bool ScrollLock() const { return fScrollLock; }
    void SetScrollLock(bool value) { fScrollLock = value; }
    int HorzTabSpacing() const { return fDefaultHorzTabSpacing; }
    /// Stores 254 for values of 256 and more, 0 for negative values, and resets the tab stops.
    void SetHorzTabSpacing(int value);
    bool DisplayCursor() const { return fDisplayCursor; }
    void SetDisplayCursor(bool value);
    bool ScrollToCursor() const { return fAuotScrollToCursor; }
    void SetScrollToCursor(bool value);
    bool AutoSize() const { return fAutoSize; }
    /// Turned on, the client takes the size of the whole screen's bitmap (when the host lets it).
    void SetAutoSize(bool value);
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    bool WantArrowKeys() const { return FWantArrows; }
    void SetWantArrowKeys(bool value) { FWantArrows = value; }

    /// What written characters get; a colour of clNone keeps the colour stored in the cell.
    TTerminalCharAttributes CurrentAttributes() const { return fCurrentCharAttributes; }
    void SetCurrentAttributes(TTerminalCharAttributes value) { fCurrentCharAttributes = value; }
    TColor CurrentFontColor() const { return fCurrentFontColor; }
    void SetCurrentFontColor(TColor value) { fCurrentFontColor = value; }
    TColor CurrentBgColor() const { return fCurrentBgColor; }
    void SetCurrentBgColor(TColor value) { fCurrentBgColor = value; }

private:
    TTerminalScreenRow& Row(int row) { return (*ScreenBuffer)[fRowMap[std::size_t(row)]]; }
    const TTerminalScreenRow& Row(int row) const { return (*ScreenBuffer)[fRowMap[std::size_t(row)]]; }
    std::uint8_t& RowWidth(int row) { return fRowWidth[fRowMap[std::size_t(row)]]; }
    void LineFeed();
    /// Clamps a scroll of n rows over first..last to the used rows: how many rows move and how
    /// many become blank; false when nothing scrolls.
    /// Moves to the aRepeatCount-th stop met going in the direction of step (+1 or -1).
    void GotoHorzTabStop(int aRepeatCount, int step);
    bool ClampScroll(int& first, int& last, int n, int& move, int& blank) const;
    void ScrollUp(int first, int last, int n);
    void ScrollDown(int first, int last, int n);
    void BlankRows(int first, int last);
    void BlankCells(int row, int firstColumn, int endColumn);
    void BlankAll();
    void Damage(int left, int top, int right, int bottom);
    void CursorChanged();
    void MarkPending();

    std::unique_ptr<TTerminalScreen> ScreenBuffer;
    /// Screen row -> buffer row, so that scrolling moves row numbers instead of whole rows of cells.
    std::array<std::uint8_t, TerminalMaxRows> fRowMap{};
    /// Per buffer row: every cell from this column on is blank, so clears skip what is blank already.
    std::array<std::uint8_t, TerminalMaxRows> fRowWidth{};
    int fCurrentRow = 0;
    int fCurrentColumn = 0;
    int fRows = 24;
    int fColumns = 80;
    bool fAllowLineWrap = true;
    bool fScrollLock = false;
    TTerminalCharAttributes fCurrentCharAttributes;
    TColor fCurrentFontColor = clNone;
    TColor fCurrentBgColor = clNone;
    TTerminalHorzTabStops fHorzTabStops{};
    int fDefaultHorzTabSpacing = 8;
    int fScrollRegionFirstRow = 0;
    int fScrollRegionLastRow = 23;
    TPoint fSavedCursorXY;
    bool fAuotScrollToCursor = true;
    bool fDisplayCursor = true;
    bool fAutoSize = true;
    bool FWantTabs = true;
    bool FWantReturns = true;
    bool FWantArrows = true;

    std::unique_ptr<TTerminalView> fView;
    TTerminalScreenObserver* fObserver = nullptr;
    /// Collected since the last flush: damaged cells, the cursor as last reported, a follow request.
    TRect fDamage;
    TPoint fReportedCursor;
    bool fFollowCursor = false;
    bool fChangesPending = false;
};
