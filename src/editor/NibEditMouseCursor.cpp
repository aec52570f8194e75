// The editor control: the mouse cursor for where the mouse is.
#include "editor/NibEdit.h"

void TCustomNibEdit::UpdateMouseCursor()
{
    const int X = fLastMouse.X;
    const int Y = fLastMouse.Y;
    if (X < fGutterWidth) {
        SetCursorShape(fGutter->Cursor());
        return;
    }
    const TBufferCoord position = DisplayToBufferPos(PixelsToRowColumn(X, Y));
    TCursorShape cursor = fOptions.Contains(eoDragDropEditing) && !Captured() && IsPointInSelection(position)
                              ? TCursorShape::crArrow
                              : Cursor();
    if (OnMouseCursor) OnMouseCursor(this, position, cursor);
    fKbdHandler->ExecuteMouseCursor(this, position, cursor);
    SetCursorShape(cursor);
}
