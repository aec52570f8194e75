#include "blocks/BlockUndo.h"

void TBlockUndoList::PushBlockUndo(TBlockUndoKind Kind, std::uint32_t ChangeId, int Row, const UnicodeString& Text)
{
    fRecords.push_back({ChangeId, Kind, Row, Text});
}

TBlockUndoRecord TBlockUndoList::PeekBlockUndo() const
{
    return fRecords.empty() ? TBlockUndoRecord{} : fRecords.back();
}

void TBlockUndoList::DropBlockUndo()
{
    if (!fRecords.empty()) fRecords.pop_back();
}
