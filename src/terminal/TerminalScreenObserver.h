#pragma once
// What the terminal screen model tells its drawing side. The model stores every cell itself; the
// drawing side decides when to paint.
//
// Cell damage and cursor moves are collected and handed over together by
// TSimpleTerminal::FlushChanges, which the drawing side calls when it wants to paint; the first
// change after a flush announces itself through ChangesPending. Every other call is made at once,
// after the collected changes have been flushed, so the calls always arrive in the order of events.
#include "platform/Graphics.h"

class TTerminalScreenObserver {
public:
    virtual ~TTerminalScreenObserver() = default;

    /// Something changed since the last flush; called once until the next FlushChanges.
    virtual void ChangesPending() {}
    /// The cells in `cells` (columns and rows, right and bottom exclusive) were stored anew.
    virtual void CellsDamaged(const TRect& cells) {}
    /// The cursor went from one cell to another, or (from == to) the view should follow it again.
    virtual void CursorMoved(TPoint from, TPoint to) {}
    /// Rows firstRow..lastRow are about to move by rowDelta rows (negative: up). Called before the
    /// buffer changes, so what is drawn can still be restored from the old cells; the rows that
    /// become blank are reported as damage afterwards.
    virtual void RowsMoved(int firstRow, int lastRow, int rowDelta) {}
    /// Every cell of the buffer has become blank; the cursor did not move.
    virtual void ScreenCleared() {}
    /// The screen was reset: every cell blank, cursor at 0,0, view back at the top, cursor shown.
    virtual void ScreenReset() {}
    /// Rows or Columns changed; the cells were kept.
    virtual void SizeChanged() {}
    /// DisplayCursor, ScrollToCursor or AutoSize changed; read the new values from the terminal.
    virtual void ViewOptionsChanged() {}
};
