// The editor control: property setters with side effects (right edge, undo limit, selection
// hiding, border, key bindings, lines, word wrap, line spacing) and the end of loading.
#include "editor/NibEdit.h"

void TCustomNibEdit::SetRightEdge(int Value)
{
    if (Value == fRightEdge) return;
    fRightEdge = Value;
    Invalidate();
}

void TCustomNibEdit::SetRightEdgeColor(TColor Value)
{
    if (Value == fRightEdgeColor) return;
    fRightEdgeColor = Value;
    if (!HandleAllocated()) return;
    const int x = fTextOffset + fRightEdge * fCharWidth;
    InvalidateRect({x - 1, 0, x + 1, ClientHeight()}, false);
}

void TCustomNibEdit::SetMaxUndo(int Value)
{
    if (Value < 0) return;
    fUndoList->SetMaxUndoActions(Value);
    fRedoList->SetMaxUndoActions(Value);
    // A lower limit may drop what undo needs to get back to the saved text.
    RefreshModified();
}

void TCustomNibEdit::SetHideSelection(bool Value)
{
    if (Value == fHideSelection) return;
    fHideSelection = Value;
    InvalidateSelection();
}

void TCustomNibEdit::SetBorderStyle(TNibBorderStyle Value)
{
    if (Value == fBorderStyle) return;
    fBorderStyle = Value;
    BorderChanged();
    Invalidate();
}

void TCustomNibEdit::SetKeystrokes(const TNibEditKeyStrokes* Value)
{
    if (!Value) fKeyStrokes->Clear();
    else fKeyStrokes->Assign(*Value);
}

void TCustomNibEdit::SetWordWrap(bool Value)
{
    if (Value == WordWrap()) return;
    Invalidate();
    const bool caretInView = CaretInView();
    const int topLine = RowToLine(fTopLine);
    if (Value) {
        fWordWrapPlugin = std::make_unique<TNibWordWrapPlugin>(this);
        SetLeftChar(1);
    } else {
        fWordWrapPlugin.reset();
    }
    SetTopLine(LineToRow(topLine));
    UpdateScrollBars();
    if (fOptions.Contains(eoScrollPastEol)) {
        const TBufferCoord b = fBlockBegin, e = fBlockEnd;
        InternalSetCaretXY(CaretXY());
        SetBlockBegin(b);
        SetBlockEnd(e);
    }
    if (caretInView) EnsureCursorPosVisible();
}

void TCustomNibEdit::SetExtraLineSpacing(int Value)
{
    if (Value == fExtraLineSpacing) return;
    fExtraLineSpacing = Value;
    FontChanged();
}

void TCustomNibEdit::SetLines(const TStringList& Value)
{
    fLines->BeginUpdate();
    try {
        fLines->Clear();
        fLines->AddStrings(Value);
    } catch (...) {
        fLines->EndUpdate();
        throw;
    }
    fLines->EndUpdate();
}

void TCustomNibEdit::Loaded()
{
    GutterChanged();
    UpdateScrollBars();
}
