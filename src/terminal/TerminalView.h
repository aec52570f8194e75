#pragma once
// The drawing side of the terminal screen: an off-screen bitmap of every used cell, the blinking
// cursor, the two scroll bars and the painting of the visible part. It follows the screen model
// through the model's observer calls and draws what changed when the control paints.
#include <array>
#include <cstdint>
#include <memory>
#include "platform/Canvas.h"
#include "platform/Control.h"
#include "platform/MainLoop.h"
#include "terminal/SimpleTerminal.h"
#include "terminal/TerminalLayout.h"
#include "terminal/TerminalScreenObserver.h"

class TTerminalView : public TTerminalScreenObserver {
public:
    /// At most one paint per display frame, however fast the target writes.
    static constexpr int FrameMs = 16;
    static constexpr int BlinkMs = 500;

    explicit TTerminalView(TSimpleTerminal& terminal);
    ~TTerminalView() override;
    TTerminalView(const TTerminalView&) = delete;
    TTerminalView& operator=(const TTerminalView&) = delete;

    /// The terminal's properties are set: a blank bitmap, the view at the cursor, blinking as
    /// DisplayCursor says.
    void Loaded();
    /// Drawing is ready: loaded, and a bitmap exists (none without a graphics backend).
    bool Ready() const { return fLoaded && fDisplayBitMap != nullptr; }

    TSize CellSize() const { return fCell; }
    const Bitmap* DisplayBitMap() const { return fDisplayBitMap.get(); }
    const TTerminalScrollBars& ScrollBars() const { return fBars; }

    /// Draws every used cell from the buffer again.
    void RefreshDisplay();
    /// Moves the vertical bar by a number of pixels when it shows.
    void MoveViewTop(int PositionDelta);
    /// The font changed: cell size and bitmap follow, contents and cursor stay.
    void FontChanged();
    /// The client area changed size: the scroll bars follow.
    void Resize();
    void Scroll(TScrollBarKind kind, TScrollCode code, int position);
    /// Brings the bitmap up to date and copies the visible part, with the cursor, to the canvas.
    void Paint(Canvas& canvas);

    void ChangesPending() override;
    void CellsDamaged(const TRect& cells) override;
    void CursorMoved(TPoint from, TPoint to) override;
    void RowsMoved(int firstRow, int lastRow, int rowDelta) override;
    void ScreenCleared() override;
    void ScreenReset() override;
    void SizeChanged() override;
    void ViewOptionsChanged() override;

private:
    /// A new bitmap for the current font and size, blank or redrawn from the buffer.
    void Relayout(bool KeepContents);
    /// The view over the bitmap, right and bottom inclusive.
    TRect View() const;
    void ShowCursor();
    void HideCursor();
    void Blink();
    void ScrollIntoView();
    /// Asks the host for a client area the size of the bitmap.
    void SizeClientToBitmap();
    /// The resize handling: which bars show and their ranges.
    void UpdateScrollBars();
    /// Hands the bars to the host.
    void PublishScrollBars();
    /// Asks the host for a paint, no sooner than one frame after the last one.
    void RequestPaint();
    /// Moves the pending row band on the bitmap in one copy.
    void MovePendingBand();
    void ForgetPending();
    void AddDamage(const TRect& cells);
    /// Rows first..last moved by delta rows: their damage goes with them.
    void ShiftDamage(int first, int last, int delta);
    /// Draws the damaged cells of rows firstRow..lastRow.
    void DrawDamage(int firstRow, int lastRow);
    void DrawCells(const TRect& cells);
    void FillBitmap();
    TSize ClientSize() const;

    TSimpleTerminal& fTerminal;
    std::unique_ptr<Bitmap> fDisplayBitMap;
    TSize fCell{10, 10};
    bool fLoaded = false;
    TTerminalScrollBars fBars;

    /// True while the cursor band shows (inverted) at fLastCursorLocation.
    bool fCursorActiveFlag = false;
    TPoint fLastCursorLocation;
    /// DisplayCursor as last acted on; the model's Reset sets the property without telling.
    bool fShownDisplayCursor = true;
    bool fShownScrollToCursor = true;
    bool fShownAutoSize = true;
    TTimer fTimer1;

    /// Per row, the columns stored since the bitmap last showed them (empty when Left >= Right).
    struct DamagedSpan {
        std::int16_t Left = 0;
        std::int16_t Right = 0;
    };
    std::array<DamagedSpan, TerminalMaxRows> fDamage{};
    /// Rows First..Last still to be moved by Delta rows on the bitmap (negative: up).
    struct PendingScroll {
        int First = 0;
        int Last = -1;
        int Delta = 0;
    } fScroll;

    TTimer fFrameTimer;
    std::int64_t fLastPaintMs = 0;
    bool fPainted = false;
    bool fPaintRequested = false;
    bool fInPaint = false;
    /// Font style last given to the bitmap canvas.
    TFontStyles fCanvasStyle = 0;
};
