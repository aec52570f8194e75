#pragma once
// The Block Manager's undo records: one per changed line, grouped by the change id of the user
// operation that made them, so that one Undo reverts one operation. There is no redo.
#include <cstdint>
#include <vector>
#include "platform/Text.h"

/// What happened to a line; the record holds what is needed to revert it.
enum TBlockUndoKind : int {
    buNone = 0,
    /// The line was deleted; the record holds its text.
    buLineDeleted = 1,
    /// An empty line was inserted.
    buLineInserted = 2,
    /// The line was changed; the record holds its text before the change.
    buLineChanged = 3,
};

struct TBlockUndoRecord {
    std::uint32_t ChangeId = 0;
    TBlockUndoKind Kind = buNone;
    /// 0-based index of the line at the time of the change; -1 in the empty record.
    int Row = -1;
    UnicodeString Text;
};

/// The records, newest on top. Kept in a vector with the top at its end, so that operations on
/// many thousand lines push and pop in constant time.
class TBlockUndoList {
public:
    bool Empty() const { return fRecords.empty(); }
    int Count() const { return int(fRecords.size()); }
    void Clear() { fRecords.clear(); }

    void PushBlockUndo(TBlockUndoKind Kind, std::uint32_t ChangeId, int Row, const UnicodeString& Text);
    /// The newest record; the empty record (kind buNone, change id 0, row -1) when there is none.
    TBlockUndoRecord PeekBlockUndo() const;
    /// Removes the newest record, if any.
    void DropBlockUndo();

private:
    std::vector<TBlockUndoRecord> fRecords;
};
