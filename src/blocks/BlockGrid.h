#pragma once
// The Block Manager's grid: a fixed line-number column and one text column, rows of equal height,
// a range of selected rows, and an in-place editor for the text column. What a cell shows is up to
// its owner (OnDrawCell); the editor's text comes from and goes back to the owner (OnGetEditText,
// OnSetEditText).
#include <cstdint>
#include <functional>
#include "platform/Control.h"

/// How a cell is drawn: bits of gdSelected, gdFocused, gdFixed.
using TGridDrawState = std::uint8_t;
constexpr TGridDrawState gdSelected = 1, gdFocused = 2, gdFixed = 4;

/// Selected cells: columns Left..Right and rows Top..Bottom, inclusive.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

class TBlockGrid : public Control {
public:
    /// Column 0 is fixed; column 1 is selected and edited.
    static constexpr int ColCount = 2;

    TBlockGrid();

    int RowCount() const { return fRowCount; }
    /// At least one row; the current row and the selection stay within the rows.
    void SetRowCount(int count);
    /// The current row.
    int Row() const { return fRow; }
    /// Moves the current row there (clamped), selects it alone and scrolls it into view; an
    /// in-place edit ends first.
    void SetRow(int row);
    int TopRow() const { return fTopRow; }
    void SetTopRow(int row);
    /// Rows that fit whole into the client height (at least 1).
    int VisibleRowCount() const;
    TGridRect Selection() const { return {1, fSelTop, 1, fSelBottom}; }
    /// Selects the rows of the rectangle in the text column; the current row moves into them.
    void SetSelection(const TGridRect& selection);

    /// True while the in-place editor is shown.
    bool EditorMode() const { return fEditing; }
    /// Showing takes the text from OnGetEditText; hiding hands the text to OnSetEditText.
    void SetEditorMode(bool editing);
    /// The in-place editor's text.
    const UnicodeString& EditText() const { return fEditText; }

    int ColWidths(int col) const { return fColWidths[col == 0 ? 0 : 1]; }
    void SetColWidths(int col, int width);
    int DefaultRowHeight() const { return fRowHeight; }
    void SetDefaultRowHeight(int height);
    /// The client rectangle of a cell on screen; empty when the row is scrolled out of view.
    TRect CellRect(int col, int row) const;
    /// The row under a client y coordinate, or -1 below the last row.
    int RowAt(int y) const;

    /// Draws one cell on the canvas within Rect.
    std::function<void(Canvas& canvas, int ACol, int ARow, const TRect& Rect, TGridDrawState State)> OnDrawCell;
    /// Gives the text an edit starts with.
    std::function<void(int ACol, int ARow, UnicodeString& Value)> OnGetEditText;
    /// Takes the edited text once the editor is hidden.
    std::function<void(int ACol, int ARow, const UnicodeString& Value)> OnSetEditText;
    /// Sees every key first; setting it to 0 consumes it.
    std::function<void(std::uint16_t& Key, TShiftState Shift)> OnKeyDown;
    /// The current row changed.
    TNotifyEvent OnClick;

    void Paint(Canvas& canvas) override;
    void Resize() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void InputMethodText(const UnicodeString& text) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    bool MouseWheel(TShiftState shift, int wheelDelta, TPoint pos) override;
    void Scroll(TScrollBarKind kind, TScrollCode code, int position) override;
    void DoEnter() override;
    void DoExit() override;

private:
    /// Moves the current row; with extend the selection runs from the anchor to it.
    void MoveTo(int row, bool extend);
    void SelectRows(int top, int bottom);
    void ScrollIntoView(int row);
    void UpdateScrollBar();
    void InvalidateRows(int first, int last);
    void GridKey(std::uint16_t key, TShiftState shift);
    void EditKey(std::uint16_t key, TShiftState shift);
    /// Replaces the editor's selected text.
    void EditInsert(std::u16string_view text);
    /// Moves the editor's caret; with extend the editor's selection follows.
    void EditMoveCaret(int caret, bool extend);
    void PaintEditor(Canvas& canvas, const TRect& rect);
    /// Client width of the grid's cells and lines.
    int GridWidth() const;

    int fRowCount = 1;
    int fRow = 0;
    int fTopRow = 0;
    int fAnchor = 0;
    int fSelTop = 0;
    int fSelBottom = 0;
    bool fMouseSelecting = false;
    int fColWidths[ColCount] = {64, 400};
    int fRowHeight = 18;

    bool fEditing = false;
    UnicodeString fEditText;
    UnicodeString fEditOriginal;
    int fEditCaret = 0;
    int fEditAnchor = 0;
    /// Pixels of the edited text scrolled out to the left, so that the caret stays in the cell.
    int fEditScroll = 0;
};
