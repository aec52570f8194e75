#include "editor/NibEditUndoList.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <utility>

namespace {

int NextNumber(int n)
{
    // 0 means "no number": skip it when the counter wraps around.
    n = n == INT_MAX ? INT_MIN : n + 1;
    return n == 0 ? 1 : n;
}

}  // namespace

int TNibEditUndoList::TakeChangeNumber()
{
    if (fBlockChangeNumber != 0) return fBlockChangeNumber;
    const int number = fNextChangeNumber;
    if (fBlockCount == 0) fNextChangeNumber = NextNumber(fNextChangeNumber);
    return number;
}

void TNibEditUndoList::AddChange(TNibChangeReason AReason, const TBufferCoord& AStart, const TBufferCoord& AEnd,
                                 UnicodeString ChangeText, TNibSelectionMode SelMode,
                                 const std::vector<TNibSpan>& ColumnChars)
{
    if (fLockCount > 0) return;
    auto item = std::make_unique<TNibEditUndoItem>();
    item->ChangeReason = AReason;
    item->ChangeSelMode = SelMode;
    item->ChangeStartPos = AStart;
    item->ChangeEndPos = AEnd;
    item->ChangeStr = std::move(ChangeText);
    item->ColumnChars = ColumnChars;
    item->ChangeNumber = TakeChangeNumber();
    PushItem(std::move(item));
}

void TNibEditUndoList::BeginBlock()
{
    ++fBlockCount;
    fBlockChangeNumber = fNextChangeNumber;
}

void TNibEditUndoList::EndBlock()
{
    if (fBlockCount == 0) return;
    if (--fBlockCount > 0) return;
    const int block = fBlockChangeNumber;
    fBlockChangeNumber = 0;
    fNextChangeNumber = NextNumber(fNextChangeNumber);
    if (!fItems.empty() && fItems.back()->ChangeNumber == block) Fire(OnAddedUndo, this);
}

void TNibEditUndoList::AddGroupBreak()
{
    if (LastChangeReason() == crGroupBreak) return;
    // A group break is numbered like any change: with 0 it could match an initial-state mark of 0
    // and make an edited text look unmodified once the edits after the break are undone.
    auto item = std::make_unique<TNibEditUndoItem>();
    item->ChangeReason = crGroupBreak;
    item->ChangeNumber = TakeChangeNumber();
    PushItem(std::move(item));
}

void TNibEditUndoList::PushItem(std::unique_ptr<TNibEditUndoItem> Item)
{
    if (!Item) return;
    const bool groupBreak = Item->ChangeReason == crGroupBreak;
    fItems.push_back(std::move(Item));
    EnsureMaxEntries();
    if (!groupBreak) Fire(OnAddedUndo, this);
}

std::unique_ptr<TNibEditUndoItem> TNibEditUndoList::PopItem()
{
    if (fItems.empty()) return nullptr;
    auto item = std::move(fItems.back());
    fItems.pop_back();
    return item;
}

TNibEditUndoItem* TNibEditUndoList::PeekItem() const
{
    return fItems.empty() ? nullptr : fItems.back().get();
}

TNibChangeReason TNibEditUndoList::LastChangeReason() const
{
    return fItems.empty() ? crNothing : fItems.back()->ChangeReason;
}

void TNibEditUndoList::Lock()
{
    ++fLockCount;
}

void TNibEditUndoList::Unlock()
{
    if (fLockCount > 0) --fLockCount;
}

void TNibEditUndoList::Clear()
{
    fItems.clear();
    fFullUndoImpossible = false;
}

void TNibEditUndoList::DeleteItem(int AIndex)
{
    if (AIndex < 0 || AIndex >= int(fItems.size())) throw std::out_of_range("Undo item index out of range");
    fItems.erase(fItems.begin() + AIndex);
}

void TNibEditUndoList::Assign(const TNibEditUndoList& Source)
{
    if (&Source == this) return;
    Clear();
    for (const auto& item : Source.fItems) fItems.push_back(std::make_unique<TNibEditUndoItem>(*item));
    fBlockChangeNumber = Source.fBlockChangeNumber;
    fBlockCount = Source.fBlockCount;
    fFullUndoImpossible = Source.fFullUndoImpossible;
    fLockCount = Source.fLockCount;
    fMaxUndoActions = Source.fMaxUndoActions;
    fNextChangeNumber = Source.fNextChangeNumber;
    fInsideRedo = Source.fInsideRedo;
}

void TNibEditUndoList::SetMaxUndoActions(int Value)
{
    if (Value < 0) Value = 0;
    if (Value == fMaxUndoActions) return;
    fMaxUndoActions = Value;
    EnsureMaxEntries();
}

void TNibEditUndoList::EnsureMaxEntries()
{
    if (int(fItems.size()) <= fMaxUndoActions) return;
    fFullUndoImpossible = true;
    while (int(fItems.size()) > fMaxUndoActions) {
        const int dropped = fItems.front()->ChangeNumber;
        fItems.pop_front();
        if (fInitialChangeNumber == 0) {
            // The marked text lay beneath every item: without the dropped one no undo gets back to it.
            fInitialChangeNumber = -1;
        } else if (dropped == fInitialChangeNumber &&
                   std::none_of(fItems.begin(), fItems.end(),
                                [dropped](const auto& item) { return item->ChangeNumber == dropped; })) {
            // The marked change itself went: its text now lies beneath every item that is left.
            fInitialChangeNumber = 0;
        }
    }
}

bool TNibEditUndoList::InitialState() const
{
    if (fItems.empty()) return fInitialChangeNumber == 0;
    return fItems.back()->ChangeNumber == fInitialChangeNumber;
}

void TNibEditUndoList::SetInitialState(bool Value)
{
    if (Value) {
        fInitialChangeNumber = fItems.empty() ? 0 : fItems.back()->ChangeNumber;
    } else if (fItems.empty()) {
        if (fInitialChangeNumber == 0) fInitialChangeNumber = -1;
    } else if (fItems.back()->ChangeNumber == fInitialChangeNumber) {
        fInitialChangeNumber = -1;
    }
}
