// The editor control: the ten numbered bookmarks, going to a line, double-click word selection,
// dropped files, and dragging the selection inside an editor or between editors.
#include "editor/NibAssert.h"
#include "editor/NibEdit.h"
#include "editor/NibEditTempOption.h"

TNibEditMark* TCustomNibEdit::BookMark(int BookMark) const
{
    return BookMark >= 0 && BookMark <= 9 ? fBookMarks[std::size_t(BookMark)] : nullptr;
}

void TCustomNibEdit::SetBookMark(int BookMark, int X, int Y)
{
    if (BookMark < 0 || BookMark > 9 || Y < 1 || Y > std::max(1, fLines->Count())) return;
    auto mark = std::make_unique<TNibEditMark>(this);
    mark->SetLine(Y);
    mark->SetChar(X);
    mark->SetImageIndex(BookMark);
    mark->SetBookmarkNumber(BookMark);
    mark->SetVisible(true);
    mark->SetInternalImage(fBookMarkOpt->BookmarkImages() == nullptr);
    PlaceBookmark(mark);
    if (!mark) return;
    ClearBookMark(BookMark);
    fBookMarks[std::size_t(BookMark)] = mark.get();
    fMarkList->Add(std::move(mark));
}

void TCustomNibEdit::ClearBookMark(int BookMark)
{
    TNibEditMark* mark = this->BookMark(BookMark);
    if (!mark) return;
    // The handler gets the mark itself to own: it may free, keep or replace it without the list
    // freeing it a second time; whatever it leaves is freed here.
    std::unique_ptr<TNibEditMark> held = fMarkList->Extract(mark);
    fBookMarks[std::size_t(BookMark)] = nullptr;
    DoOnClearBookmark(held);
}

void TCustomNibEdit::GotoBookMark(int BookMark)
{
    const TNibEditMark* mark = this->BookMark(BookMark);
    if (!mark || mark->Line() > fLines->Count()) return;
    const TBufferCoord at{mark->Char(), mark->Line()};
    TNibPaintLock lock(*this);
    SetCaretXYEx(false, at);
    EnsureCursorPosVisibleEx(true, false);
    if (SelAvail()) InvalidateSelection();
    fBlockBegin = CaretXY();
    fBlockEnd = fBlockBegin;
}

void TCustomNibEdit::GotoLineAndCenter(int ALine)
{
    TNibPaintLock lock(*this);
    SetCaretXYEx(false, {1, ALine});
    if (SelAvail()) InvalidateSelection();
    fBlockBegin = CaretXY();
    fBlockEnd = fBlockBegin;
    EnsureCursorPosVisibleEx(true, false);
}

void TCustomNibEdit::DblClick()
{
    if (fLastMouse.X >= fGutterWidth + 2) {
        if (!fOptions.Contains(eoNoSelection)) SetWordBlock(CaretXY());
        SetStateFlag(sfDblClicked);
        SetCapture(false);
    }
}

void TCustomNibEdit::DropFiles(int X, int Y, const TStringList& Files)
{
    if (fOptions.Contains(eoDropFiles)) Fire(OnDropFiles, this, X, Y, Files);
}

void TCustomNibEdit::FilesDropped(int x, int y, const std::vector<UnicodeString>& files)
{
    TStringList list;
    for (const UnicodeString& name : files) list.Add(name);
    DropFiles(x, y, list);
}

void TCustomNibEdit::DragOver(TCustomNibEdit* Source, int X, int Y, TDragState State, TShiftState Shift,
                              bool& Accept)
{
    Accept = Source != nullptr && !ReadOnly();
    if (!Accept) return;
    SetCursorShape((Shift & ssCtrl) ? TCursorShape::crMultiDrag : TCursorShape::crDrag);
    if (Source == this) {
        if (State == dsDragLeave) {
            ComputeCaret(fMouseDownX, fMouseDownY);
            return;
        }
        TDisplayCoord p = PixelsToNearestRowColumn(X, Y);
        p.Column = std::clamp(p.Column, fLeftChar, fLeftChar + std::max(0, fCharsInWindow - 1));
        p.Row = std::clamp(p.Row, fTopLine, fTopLine + std::max(0, fLinesInWindow - 1));
        InternalSetCaretXY(DisplayToBufferPos(p));
        ComputeScroll(X, Y);
    } else {
        ComputeCaret(X, Y);
    }
}

void TCustomNibEdit::DragDrop(TCustomNibEdit* Source, int X, int Y, TShiftState Shift)
{
    SetCursorShape(TCursorShape::crIBeam);
    fScrollTimer.SetEnabled(false);
    if (ReadOnly() || !Source || !Source->SelAvail()) return;
    TNibPaintLock lock(*this);
    ComputeCaret(X, Y);
    TBufferCoord newPos = CaretXY();
    const bool same = Source == this;
    bool move, drop, after;
    const TBufferCoord bb = BlockBegin(), be = BlockEnd();
    if (same) {
        move = !(Shift & ssCtrl);
        after = newPos.Line > be.Line ||
                (newPos.Line == be.Line && (newPos.Char > be.Char || (!move && newPos.Char == be.Char)));
        drop = after || newPos.Line < bb.Line ||
               (newPos.Line == bb.Line && (newPos.Char < bb.Char || (!move && newPos.Char == bb.Char)));
    } else {
        move = (Shift & ssShift) != 0;
        drop = true;
        after = false;
    }
    if (!drop) return;
    BeginUndoBlock();
    try {
        const UnicodeString text = Source->SelText();
        if (move) {
            Source->SetSelText({});
            if (same && after) {
                if (newPos.Line == be.Line) newPos.Char -= be.Char - bb.Char;
                if (be.Line > bb.Line) newPos.Line -= be.Line - bb.Line;
            }
        }
        {
            TNibTempOption pastEol(fOptions, eoScrollPastEol);
            InternalSetCaretXY(newPos);
            // Where the caret may stand: a move can shift the point past the reach of the space
            // behind a line's end, and the filling, the text and its record must all go there.
            newPos = CaretXY();
            SetBlockBegin(newPos);
            NibAssert(!SelAvail(), "NibEdit\\Source\\NibEdit", __LINE__);
            if (fActiveSelectionMode == smNormal) {
                // One item from the drop point to the text's end, as undo removes it: a drop past the
                // line end has the line filled up to it first, recorded on its own.
                PadLineTo(newPos, false, true);
                LockUndo();
                try {
                    SetSelText(text);
                } catch (...) {
                    UnlockUndo();
                    throw;
                }
                UnlockUndo();
                fUndoList->AddChange(same ? crDragDropInsert : crInsert, newPos, CaretXY(), {}, smNormal);
            } else {
                // A line or column block goes in in pieces that no single item spans: it records them.
                SetSelText(text);
            }
        }
        // Collapsed at the end of the dropped text, so that the move back to its start selects it.
        SetBlockBegin(CaretXY());
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
    // A drop is one undo step: the group break after it has a number of its own, so that neither
    // the saved point nor group undo can join the drop to what follows. The move that selects the
    // dropped text comes after the drop's block for the same reason.
    if (fUndoList->CanUndo()) fUndoList->AddGroupBreak();
    CommandProcessor(ecSelGotoXY, u'\0', &newPos);
}

void TCustomNibEdit::DragCanceled()
{
    fScrollTimer.SetEnabled(false);
    if (fDragging) {
        fDragging = false;
        SetCapture(false);
    }
    SetCursorShape(TCursorShape::crIBeam);
}
