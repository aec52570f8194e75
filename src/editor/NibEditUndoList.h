#pragma once
// The stack of recorded changes that the editor keeps twice, as its undo and its redo list.
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "editor/NibEditTypes.h"
#include "platform/Events.h"
#include "platform/Text.h"

enum TNibChangeReason : std::uint8_t {
    crInsert, crPaste, crDragDropInsert, crDeleteAfterCursor, crDelete, crLineBreak, crIndent, crUnindent,
    crSilentDelete, crSilentDeleteAfterCursor, crAutoCompleteBegin, crAutoCompleteEnd, crPasteBegin, crPasteEnd,
    crSpecial1Begin, crSpecial1End, crSpecial2Begin, crSpecial2End, crCaret, crSelection, crNothing,
    crGroupBreak, crDeleteAll, crWhiteSpaceAdd,
};

/// The reasons that open and close a bracket of changes undone and redone as one step.
constexpr bool IsBracketBegin(TNibChangeReason r)
{
    return r == crAutoCompleteBegin || r == crPasteBegin || r == crSpecial1Begin || r == crSpecial2Begin;
}
constexpr bool IsBracketEnd(TNibChangeReason r)
{
    return r == crAutoCompleteEnd || r == crPasteEnd || r == crSpecial1End || r == crSpecial2End;
}

/// One recorded change; items with the same change number undo together.
struct TNibEditUndoItem {
    TNibChangeReason ChangeReason = crNothing;
    TNibSelectionMode ChangeSelMode = smNormal;
    TBufferCoord ChangeStartPos;
    TBufferCoord ChangeEndPos;
    UnicodeString ChangeStr;
    int ChangeNumber = 0;
    /// A column block's chars on each of its lines, first line first: display columns move with
    /// the tab width, so undo and redo of a column deletion go by these.
    std::vector<TNibSpan> ColumnChars;
};

class TNibEditUndoList : public TObject {
public:
    /// Records one change, unless the list is locked.
    void AddChange(TNibChangeReason AReason, const TBufferCoord& AStart, const TBufferCoord& AEnd,
                   UnicodeString ChangeText, TNibSelectionMode SelMode,
                   const std::vector<TNibSpan>& ColumnChars = {});
    /// Opens a block of changes that share one change number; blocks nest.
    void BeginBlock();
    void EndBlock();
    /// Marks the end of a group of changes, unless the top item already is such a mark.
    void AddGroupBreak();
    /// Appends an item (null is ignored) and trims to the cap.
    void PushItem(std::unique_ptr<TNibEditUndoItem> Item);
    /// Removes the top item and hands it over; null when empty.
    std::unique_ptr<TNibEditUndoItem> PopItem();
    /// The top item; null when empty.
    TNibEditUndoItem* PeekItem() const;
    /// The top item's reason; crNothing when empty.
    TNibChangeReason LastChangeReason() const;
    /// Recording is off while the lock count is above 0.
    void Lock();
    void Unlock();
    /// Frees every item; change numbers, blocks and the initial-state mark stay.
    void Clear();
    void DeleteItem(int AIndex);
    /// Copies the items and the counters of another list, but not its initial-state mark.
    void Assign(const TNibEditUndoList& Source);

    /// The item at AIndex, oldest first.
    const TNibEditUndoItem& Items(int AIndex) const { return *fItems.at(std::size_t(AIndex)); }
    int ItemCount() const { return int(fItems.size()); }
    bool CanUndo() const { return !fItems.empty(); }
    /// The number that new items take while it is not 0 (undo and redo set it for a step).
    int BlockChangeNumber() const { return fBlockChangeNumber; }
    void SetBlockChangeNumber(int Value) { fBlockChangeNumber = Value; }
    int BlockCount() const { return fBlockCount; }
    /// True once items were dropped for the cap.
    bool FullUndoImpossible() const { return fFullUndoImpossible; }
    int MaxUndoActions() const { return fMaxUndoActions; }
    /// A negative value counts as 0; the list is trimmed at once. The cap drops whole steps, oldest
    /// first: a step that alone outgrows it stays whole, unless the cap is 0.
    void SetMaxUndoActions(int Value);
    /// True while the list stands where the text was marked unmodified. Once the cap drops an item
    /// that undo would need to get back there, it stays false until the mark is set again.
    bool InitialState() const;
    void SetInitialState(bool Value);
    bool InsideRedo() const { return fInsideRedo; }
    void SetInsideRedo(bool Value) { fInsideRedo = Value; }
    /// Fires when something undoable was added, and once more when a block that added items ends.
    TNotifyEvent OnAddedUndo;

private:
    /// How far the oldest step reaches, as far as it was read: the items of one change number,
    /// widened to the bracket pairs they open. Kept between pushes, so that a step that outgrows
    /// the cap is not read again from its start for every item it gains.
    struct OldestStep {
        std::size_t Length = 0;
        int Number = 0;
        /// One bit for each kind of bracket opened and not yet closed, and which end opened it.
        std::uint8_t Open = 0;
        std::uint8_t OpenedByEnd = 0;
        /// An item after Length starts the next step.
        bool Ended = false;
    };

    int TakeChangeNumber();
    void EnsureMaxEntries();
    std::size_t OldestStepLength();
    void DropOldest(std::size_t Count);

    int fBlockChangeNumber = 0;
    int fBlockCount = 0;
    bool fFullUndoImpossible = false;
    std::deque<std::unique_ptr<TNibEditUndoItem>> fItems;
    OldestStep fOldest;
    int fLockCount = 0;
    int fMaxUndoActions = 1024;
    int fNextChangeNumber = 1;
    int fInitialChangeNumber = 0;
    bool fInsideRedo = false;
};
