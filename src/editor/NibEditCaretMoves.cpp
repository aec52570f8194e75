// The editor control: caret moves with and without selection, Home and End, paging and scrolling
// by command, and the bookmark commands.
#include "editor/NibEdit.h"

namespace {

int LeadingBlanks(std::u16string_view S)
{
    int n = 0;
    while (n < int(S.size()) && (S[std::size_t(n)] == u' ' || S[std::size_t(n)] == u'\t')) ++n;
    return n;
}

int LengthWithoutTrailingBlanks(std::u16string_view S)
{
    int n = int(S.size());
    while (n > 0 && (S[std::size_t(n - 1)] == u' ' || S[std::size_t(n - 1)] == u'\t')) --n;
    return n;
}

/// A row below the text, as the only row of an empty editor is, holds nothing.
int RowLength(const TNibWordWrapPlugin& WordWrap, int Row)
{
    return Row >= 1 && Row <= WordWrap.RowCount() ? WordWrap.GetRowLength(Row) : 0;
}

} // namespace

bool TCustomNibEdit::ExecuteMoveCommand(TNibEditorCommand Command, void* Data)
{
    const bool sel = Command >= ecSelection + ecLeft && Command <= ecSelection + ecGotoXY;
    switch (sel ? Command - ecSelection : Command) {
    case ecLeft: MoveCaretHorz(-1, sel); return true;
    case ecRight: MoveCaretHorz(1, sel); return true;
    case ecPageLeft: MoveCaretHorz(-fCharsInWindow, sel); return true;
    case ecPageRight: MoveCaretHorz(fCharsInWindow, sel); return true;
    case ecLineStart: DoHomeKey(sel); return true;
    case ecLineEnd: DoEndKey(sel); return true;
    case ecUp: MoveCaretVert(-1, sel); return true;
    case ecDown: MoveCaretVert(1, sel); return true;
    case ecPageUp:
    case ecPageDown: PageUpDown(Command); return true;
    case ecPageTop: PageTopBottom(false, sel); return true;
    case ecPageBottom: PageTopBottom(true, sel); return true;
    case ecEditorTop: MoveCaretAndSelection(CaretXY(), {1, 1}, sel); return true;
    case ecEditorBottom: {
        const int count = fLines->Count();
        const TBufferCoord end = count > 0 ? TBufferCoord{fLines->LineCharLength(count - 1) + 1, count}
                                           : TBufferCoord{1, 1};
        MoveCaretAndSelection(CaretXY(), end, sel);
        return true;
    }
    case ecGotoXY:
        if (Data) MoveCaretAndSelection(CaretXY(), *static_cast<const TBufferCoord*>(Data), sel);
        return true;
    case ecWordLeft: MoveCaretAndSelection(CaretXY(), ::PrevWordPosEx(*fLines, *this, CaretXY()), sel); return true;
    case ecWordRight: MoveCaretAndSelection(CaretXY(), ::NextWordPosEx(*fLines, *this, CaretXY()), sel); return true;
    default: return false;
    }
}

void TCustomNibEdit::MoveCaretAndSelection(const TBufferCoord& ptBefore, const TBufferCoord& ptAfter,
                                           bool SelectionCommand)
{
    if (fOptions.Contains(eoGroupUndo) && fUndoList->CanUndo()) fUndoList->AddGroupBreak();
    TNibPaintLock lock(*this);
    if (SelectionCommand) {
        if (!SelAvail()) SetBlockBegin(ptBefore);
        SetBlockEnd(ptAfter);
    } else {
        SetBlockBegin(ptAfter);
    }
    InternalSetCaretXY(ptAfter);
}

void TCustomNibEdit::MoveCaretVert(int DY, bool SelectionCommand)
{
    const TDisplayCoord from = DisplayXY();
    TDisplayCoord to = from;
    to.Row += DY;
    if (DY >= 0) {
        if (RowToLine(to.Row) > fLines->Count()) to.Row = std::max(1, DisplayLineCount());
    } else if (to.Row < 1) {
        to.Row = 1;
    }
    if (to.Row != from.Row && fOptions.Contains(eoKeepCaretX)) to.Column = fLastCaretX;
    const TBufferCoord target = DisplayToBufferPos(to);
    const int lastCaretX = fLastCaretX;
    {
        TNibPaintLock lock(*this);
        MoveCaretAndSelection(CaretXY(), target, SelectionCommand);
        if (fWordWrapPlugin && BufferToDisplayPos(target).Row != to.Row) fCaretAtEOL = true;
    }
    fLastCaretX = lastCaretX;
}

void TCustomNibEdit::MoveCaretHorz(int DX, bool SelectionCommand)
{
    if (fWordWrapPlugin) {
        // At a wrap the same character is shown at the end of one row and the start of the next.
        if (DX >= 1 && fCaretAtEOL) {
            fCaretAtEOL = false;
            UpdateCaret();
            return;
        }
        if (DX < 1 && !fCaretAtEOL && fCaretX >= 2 && DisplayX() == 1) {
            fCaretAtEOL = true;
            const TDisplayCoord end = DisplayXY();
            if (fWordWrapPlugin->GetRowLength(end.Row) > fCharsInWindow + 1) {
                InternalSetCaretXY(DisplayToBufferPos({fCharsInWindow + 1, end.Row}));
                fCaretAtEOL = BufferToDisplayPos(CaretXY()).Row != end.Row;
            }
            UpdateCaret();
            return;
        }
    }
    const TBufferCoord from = CaretXY();
    TBufferCoord to = from;
    const int length = int(LineText().size());
    const bool eolBlocked = !fOptions.Contains(eoScrollPastEol);
    if (DX == -1 && from.Char == 1 && from.Line > 1) {
        to = {fLines->LineCharLength(from.Line - 2) + 1, from.Line - 1};
    } else if (DX == 1 && from.Char > length && from.Line < fLines->Count()) {
        to = {1, from.Line + 1};
    } else {
        to.Char = std::max(1, from.Char + DX);
        if (DX > 0 && eolBlocked) to.Char = std::min(to.Char, length + 1);
    }
    MoveCaretAndSelection(from, to, SelectionCommand);
    if (fWordWrapPlugin && DX >= 1 && int(LineText().size()) > fCaretX) {
        const TDisplayCoord d = BufferToDisplayPos(CaretXY());
        if (d.Column == 1 && d.Row != LineToRow(fCaretY)) {
            fCaretAtEOL = true;
            UpdateCaret();
        } else if (d.Column > fCharsInWindow + 1) {
            InternalSetCaretXY(DisplayToBufferPos({1, d.Row + 1}));
        }
    }
}

void TCustomNibEdit::DoHomeKey(bool Selection)
{
    const TDisplayCoord caret = DisplayXY();
    const bool firstRow = !fWordWrapPlugin || caret.Row == LineToRow(fCaretY);
    int newX = 1;
    if (fOptions.Contains(eoEnhanceHomeKey) && firstRow) {
        UnicodeString line = LineText();
        if (fWordWrapPlugin) {
            const auto rowLength = std::size_t(RowLength(*fWordWrapPlugin, caret.Row));
            line.resize(std::min(line.size(), rowLength));
        }
        const int firstNonBlank = LeadingBlanks(line);
        if (fCaretX > firstNonBlank + 1 || fCaretX == 1) newX = firstNonBlank + 1;
    }
    TBufferCoord target{newX, fCaretY};
    if (fWordWrapPlugin) target = DisplayToBufferPos({BufferToDisplayPos(target).Column, caret.Row});
    MoveCaretAndSelection(CaretXY(), target, Selection);
}

void TCustomNibEdit::DoEndKey(bool Selection)
{
    const UnicodeString& line = fLines->Get(fCaretY - 1);
    const int length = int(line.size());
    const TDisplayCoord caret = DisplayXY();
    const bool lastRow = !fWordWrapPlugin || caret.Row == BufferToDisplayPos({length + 1, fCaretY}).Row;
    const bool enhanced = fOptions.Contains(eoEnhanceEndKey) && lastRow;
    int newX = length + 1;
    if (enhanced) {
        int lastNonBlank = LengthWithoutTrailingBlanks(line);
        if (fWordWrapPlugin) lastNonBlank = std::max(lastNonBlank, DisplayToBufferPos({1, caret.Row}).Char - 1);
        if (fCaretX != lastNonBlank + 1) newX = lastNonBlank + 1;
    }
    if (!fWordWrapPlugin) {
        MoveCaretAndSelection(CaretXY(), {newX, fCaretY}, Selection);
        return;
    }
    int column = enhanced ? BufferToDisplayPos({newX, fCaretY}).Column : RowLength(*fWordWrapPlugin, caret.Row) + 1;
    column = std::min(column, fCharsInWindow + 1);
    const TBufferCoord target = DisplayToBufferPos({column, caret.Row});
    MoveCaretAndSelection(CaretXY(), target, Selection);
    // The end of a wrapped row: the caret stays on that row rather than the start of the next.
    if (BufferToDisplayPos(target).Row != caret.Row) {
        fCaretAtEOL = true;
        UpdateCaret();
    }
}

void TCustomNibEdit::PageUpDown(TNibEditorCommand Command)
{
    const bool sel = Command == ecSelPageUp || Command == ecSelPageDown;
    int n = fLinesInWindow;
    if (fOptions.Contains(eoHalfPageScroll)) n >>= 1;
    if (fOptions.Contains(eoScrollByOneLess)) --n;
    if (Command == ecPageUp || Command == ecSelPageUp) n = -n;
    SetTopLine(fTopLine + n);
    MoveCaretVert(n, sel);
}

void TCustomNibEdit::PageTopBottom(bool Bottom, bool Selection)
{
    const int row = Bottom ? fTopLine + fLinesInWindow - 1 : fTopLine;
    MoveCaretAndSelection(CaretXY(), DisplayToBufferPos({DisplayX(), row}), Selection);
}

void TCustomNibEdit::ScrollUpDown(bool Down)
{
    const int row = DisplayY();
    if (row < fTopLine || row >= fTopLine + fLinesInWindow) {
        EnsureCursorPosVisible();
        return;
    }
    SetTopLine(fTopLine + (Down ? 1 : -1));
    const int lastVisible = fTopLine + fLinesInWindow - 1;
    if (!Down && row > lastVisible) MoveCaretVert(lastVisible - row, false);
    else if (Down && row < fTopLine) MoveCaretVert(fTopLine - row, false);
    EnsureCursorPosVisible();
}

void TCustomNibEdit::SetMarkerCommand(int BookMark, void* Data)
{
    const TBufferCoord at = Data ? *static_cast<const TBufferCoord*>(Data) : CaretXY();
    if (const TNibEditMark* mark = fBookMarks[std::size_t(BookMark)]) {
        const int line = mark->Line();
        ClearBookMark(BookMark);
        if (line != at.Line) SetBookMark(BookMark, at.Char, at.Line);
    } else {
        SetBookMark(BookMark, at.Char, at.Line);
    }
}
