// The Block Manager's line and block operations and their undo.
#include <algorithm>
#include "blocks/BlockLines.h"
#include "blocks/BlockManager.h"
#include "blocks/InsertBlockWhere.h"
#include "platform/Clipboard.h"

void TBlockManager::DeleteBlockLines(int First, int Last)
{
    const std::uint32_t changeId = NextChangeId();
    for (int row = Last; row >= First; --row) {
        if (row < 0 || row >= BlockEditData.Count()) continue;
        BlockEditUndoList.PushBlockUndo(buLineDeleted, changeId, row, BlockEditData[row]);
        BlockEditData.Delete(row);
    }
    SyncGrid();
}

void TBlockManager::CopyBlockLines(int First, int Last)
{
    TStringList lines;
    for (int row = std::max(First, 0); row <= Last && row < BlockEditData.Count(); ++row) lines.Add(BlockEditData[row]);
    if (lines.Count() > 0) Clipboard::Current().SetText(lines.Text());
}

void TBlockManager::CutBlockLines(int First, int Last)
{
    if (BlockEditData.Count() == 0) return;
    CopyBlockLines(First, Last);
    DeleteBlockLines(First, Last);
}

void TBlockManager::InsertBlankLinesAt(int Row, int Count)
{
    const std::uint32_t changeId = NextChangeId();
    Row = std::clamp(Row, 0, BlockEditData.Count());
    for (int i = 0; i < Count; ++i) {
        BlockEditData.Insert(Row, UnicodeString());
        BlockEditUndoList.PushBlockUndo(buLineInserted, changeId, Row, UnicodeString());
    }
    SyncGrid();
}

void TBlockManager::InsertBlankLinesAfter(int Row, int Count)
{
    const std::uint32_t changeId = NextChangeId();
    int pos = std::max(Row + 1, 0);
    for (int i = 0; i < Count; ++i) {
        if (pos >= BlockEditData.Count()) pos = BlockEditData.Add(UnicodeString());
        else BlockEditData.Insert(pos, UnicodeString());
        BlockEditUndoList.PushBlockUndo(buLineInserted, changeId, pos, UnicodeString());
    }
    SyncGrid();
}

void TBlockManager::PasteBlockLines(int Row, TStringList Lines)
{
    if (Lines.Count() == 0) return;
    WrapBlockLines(Lines);
    const std::uint32_t changeId = NextChangeId();
    Row = std::clamp(Row, 0, BlockEditData.Count());
    // Last first, each before line Row: they end up in their order.
    for (int i = Lines.Count() - 1; i >= 0; --i) {
        BlockEditData.Insert(Row, Lines[i]);
        BlockEditUndoList.PushBlockUndo(buLineInserted, changeId, Row, UnicodeString());
    }
    SyncGrid();
}

void TBlockManager::UndoBlockEdit()
{
    if (BlockEditUndoList.Empty()) return;
    TBlockUndoRecord record = BlockEditUndoList.PeekBlockUndo();
    const std::uint32_t changeId = record.ChangeId;
    while (record.Kind != buNone && record.ChangeId == changeId) {
        BlockEditUndoList.DropBlockUndo();
        const bool valid = record.Row >= 0 && record.Row < BlockEditData.Count();
        switch (record.Kind) {
        case buLineDeleted:
            if (valid) BlockEditData.Insert(record.Row, record.Text);
            else BlockEditData.Add(record.Text);
            break;
        case buLineInserted:
            if (valid) BlockEditData.Delete(record.Row);
            break;
        case buLineChanged:
            if (valid) BlockEditData.SetString(record.Row, record.Text);
            break;
        case buNone: break;
        }
        record = BlockEditUndoList.PeekBlockUndo();
    }
    SyncGrid();
    // The place of the change before: where Undo goes on.
    ShowGridRow(BlockEditUndoList.PeekBlockUndo().Row);
    UpdateBlockStatus();
}

void TBlockManager::InsertBlockAt(int Where)
{
    const int oldCount = BlockEditData.Count();
    const int row = DrawGrid1.Row();
    switch (Where) {
    case ibAtStart: InsertBlankLinesAt(0, BlockLinesPerBlock); break;
    case ibBeforeCurrent: InsertBlankLinesAt(row / BlockLinesPerBlock * BlockLinesPerBlock, BlockLinesPerBlock); break;
    case ibAfterCurrent:
    case ibAtEnd: {
        const int r = Where == ibAfterCurrent ? row : oldCount - 1;
        const int start = std::max(r, 0) / BlockLinesPerBlock * BlockLinesPerBlock;
        int end = start + BlockLinesPerBlock - 1;
        int pad = 0;
        // A partial last block is completed first, so the new block starts on a block boundary.
        if (oldCount > 0 && end >= oldCount) {
            pad = end - oldCount + 1;
            end = oldCount - 1;
        }
        InsertBlankLinesAfter(end, pad + BlockLinesPerBlock);
        break;
    }
    default: return;
    }
    // The same line stays current when the new block went in before it.
    if (BlockEditData.Count() != oldCount && Where <= ibBeforeCurrent && row + BlockLinesPerBlock < BlockEditData.Count())
        DrawGrid1.SetRow(row + BlockLinesPerBlock);
    UpdateBlockStatus();
}
