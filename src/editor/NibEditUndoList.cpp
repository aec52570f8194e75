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

/// One bit for each kind of bracket pair: each pair sits side by side in the enumeration.
std::uint8_t BracketBit(TNibChangeReason r) { return std::uint8_t(1u << ((r - crAutoCompleteBegin) / 2)); }

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
    // What was read of the oldest step holds for the items that are left.
    if (fItems.size() < fOldest.Length) fOldest = {};
    else if (fItems.size() == fOldest.Length) fOldest.Ended = false;
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
    fOldest = {};
    fFullUndoImpossible = false;
}

void TNibEditUndoList::DeleteItem(int AIndex)
{
    if (AIndex < 0 || AIndex >= int(fItems.size())) throw std::out_of_range("Undo item index out of range");
    fItems.erase(fItems.begin() + AIndex);
    fOldest = {};
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
    while (int(fItems.size()) > fMaxUndoActions) {
        if (fMaxUndoActions == 0) {
            DropOldest(fItems.size());
            return;
        }
        // A part of a step would undo to a text that never existed: a step that is all the list
        // holds stays whole, however large, also with the group break that ends it.
        const std::size_t length = OldestStepLength();
        if (std::all_of(fItems.begin() + std::ptrdiff_t(length), fItems.end(),
                        [](const auto& item) { return item->ChangeReason == crGroupBreak; }))
            return;
        DropOldest(length);
    }
}

std::size_t TNibEditUndoList::OldestStepLength()
{
    OldestStep& s = fOldest;
    while (!s.Ended && s.Length < fItems.size()) {
        const TNibEditUndoItem& item = *fItems[s.Length];
        if (s.Length > 0 && item.ChangeNumber != s.Number && s.Open == 0) {
            s.Ended = true;
            break;
        }
        s.Number = item.ChangeNumber;
        const TNibChangeReason r = item.ChangeReason;
        if (IsBracketBegin(r) || IsBracketEnd(r)) {
            // Undo and redo take everything between a bracket's two ends as one step, whatever the
            // numbers. The redo list holds a bracket end first, so either end may open it.
            const std::uint8_t bit = BracketBit(r);
            const bool end = IsBracketEnd(r);
            if (!(s.Open & bit)) {
                s.Open |= bit;
                s.OpenedByEnd = end ? std::uint8_t(s.OpenedByEnd | bit) : std::uint8_t(s.OpenedByEnd & ~bit);
            } else if (bool(s.OpenedByEnd & bit) != end) {
                s.Open &= std::uint8_t(~bit);
            }
        }
        ++s.Length;
    }
    return s.Length;
}

void TNibEditUndoList::DropOldest(std::size_t Count)
{
    fFullUndoImpossible = true;
    const int mark = fInitialChangeNumber;
    const auto first = fItems.begin(), last = fItems.begin() + std::ptrdiff_t(Count);
    const bool markDropped = std::any_of(first, last, [mark](const auto& item) { return item->ChangeNumber == mark; });
    const int lastDropped = fItems[Count - 1]->ChangeNumber;
    fItems.erase(first, last);
    fOldest = {};
    if (mark == 0) {
        // The marked text lay beneath every item: without the dropped ones no undo gets back to it.
        fInitialChangeNumber = -1;
    } else if (markDropped &&
               std::none_of(fItems.begin(), fItems.end(), [mark](const auto& item) { return item->ChangeNumber == mark; })) {
        // Marked where the dropped step ended, its text now lies beneath every item that is left;
        // marked inside it, no undo stops there any more.
        fInitialChangeNumber = lastDropped == mark ? 0 : -1;
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
