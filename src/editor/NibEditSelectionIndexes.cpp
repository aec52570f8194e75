// The selection as character indexes into the whole text, and the buffer position under the mouse.
#include <algorithm>
#include <cstdint>
#include "editor/NibEdit.h"

int TCustomNibEdit::SelStart() const
{
    return RowColToCharIndex(*fLines, SelAvail() ? BlockBegin() : CaretXY());
}

void TCustomNibEdit::SetSelStart(int Value) { SetCaretXY(CharIndexToRowCol(*fLines, Value)); }

int TCustomNibEdit::SelEnd() const { return RowColToCharIndex(*fLines, SelAvail() ? BlockEnd() : CaretXY()); }

void TCustomNibEdit::SetSelEnd(int Value) { SetBlockEnd(CharIndexToRowCol(*fLines, Value)); }

int TCustomNibEdit::SelLength() const
{
    if (!SelAvail()) return 0;
    return RowColToCharIndex(*fLines, BlockEnd()) - RowColToCharIndex(*fLines, BlockBegin());
}

void TCustomNibEdit::SetSelLength(int Value)
{
    const TBufferCoord start = BlockBegin();
    const int count = fLines->Count();
    const TBufferCoord textEnd = count == 0 ? TBufferCoord{1, 1}
                                           : TBufferCoord{int(fLines->Get(count - 1).size()) + 1, count};
    // Counted wide, so a length near the integer's limits cannot wrap round to the other side.
    const std::int64_t target = std::int64_t(RowColToCharIndex(*fLines, start)) + Value;
    const std::int64_t last = RowColToCharIndex(*fLines, textEnd);
    if (Value >= 0) {
        const TBufferCoord end = target >= last ? textEnd : CharIndexToRowCol(*fLines, int(target));
        SetCaretAndSelection(end, start, end);
    } else {
        const TBufferCoord begin = CharIndexToRowCol(*fLines, int(std::max<std::int64_t>(target, 0)));
        SetCaretAndSelection(begin, begin, start);
    }
}

bool TCustomNibEdit::GetPositionOfMouse(TBufferCoord& Position) const
{
    const std::optional<TPoint> p = PointerPosition();
    if (!p || p->X < 0 || p->Y < 0 || p->X > Width() || p->Y > Height()) return false;
    Position = DisplayToBufferPos(PixelsToRowColumn(p->X, p->Y));
    return true;
}

UnicodeString TCustomNibEdit::WordAtMouse() const
{
    TBufferCoord position;
    if (!GetPositionOfMouse(position)) return {};
    return GetWordAtRowCol(*fLines, *this, position);
}
