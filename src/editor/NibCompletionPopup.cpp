#include "editor/NibCompletionPopup.h"
#include <algorithm>
#include "editor/NibCompletionPrettyText.h"

TNibBaseCompletionProposalForm::TNibBaseCompletionProposalForm()
    : FBitmap(GraphicsFactory::Current().CreateBitmap(0, 0)),
      FTitleBitmap(GraphicsFactory::Current().CreateBitmap(0, 0))
{
    SetVisible(false);
    FontsChanged();
}

TNibBaseCompletionProposalForm::~TNibBaseCompletionProposalForm() = default;

// Lists

void TNibBaseCompletionProposalForm::SetItemList(const TStringList& Value)
{
    FItemList = Value;
    ResetAssignedList();
    SetCurrentString(FCurrentString);
    SetTopRow(FPosition);
}

void TNibBaseCompletionProposalForm::SetInsertList(const TStringList& Value) { FInsertList = Value; }

void TNibBaseCompletionProposalForm::ResetAssignedList()
{
    FAssignedList.clear();
    for (int i = 0; i < FItemList.Count(); ++i) FAssignedList.push_back({FItemList[i], i});
    // The selection stays on an item of a shorter list.
    FPosition = std::clamp(FPosition, 0, std::max(AssignedCount() - 1, 0));
    AdjustScrollBarPosition();
}

const UnicodeString& TNibBaseCompletionProposalForm::AssignedItem(int Index) const
{
    return FAssignedList.at(std::size_t(Index)).Text;
}

int TNibBaseCompletionProposalForm::AssignedIndex(int Index) const { return FAssignedList.at(std::size_t(Index)).Index; }

// Filter and selection

bool TNibBaseCompletionProposalForm::ShowsItemsFor(const UnicodeString& Filter) const
{
    if (FItemList.Count() == 0) return false;
    if (!FMatchText) return true;
    for (int i = 0; i < FItemList.Count(); ++i)
        if (Matches(i, Filter)) return true;
    return false;
}

bool TNibBaseCompletionProposalForm::Matches(int ItemIndex, std::u16string_view Filter) const
{
    UnicodeString text;
    if (FUseInsertList) {
        // An item without an insert entry compares as empty text: only the empty filter matches it.
        if (ItemIndex < FInsertList.Count()) text = FInsertList[ItemIndex];
    } else {
        text = FFormattedText ? FormattedTextToPlain(FItemList[ItemIndex]) : FItemList[ItemIndex];
    }
    const std::u16string_view head = std::u16string_view(text).substr(0, Filter.size());
    return FCase ? head == Filter : CompareText(head, Filter) == 0;
}

void TNibBaseCompletionProposalForm::SetCurrentString(const UnicodeString& Value)
{
    FCurrentString = Value;
    if (FDisplayKind != ctCode) return;
    if (FMatchText) {
        FAssignedList.clear();
        for (int i = 0; i < FItemList.Count(); ++i)
            if (Matches(i, FCurrentString)) FAssignedList.push_back({FItemList[i], i});
        AdjustScrollBarPosition();
        FPosition = 0;
        SetTopRow(0);
        FireChangePosition();
        Invalidate();
        return;
    }
    int first = 0;
    for (int i = 0; i < FItemList.Count(); ++i)
        if (Matches(i, FCurrentString)) {
            first = i;
            break;
        }
    SetPosition(first);
}

void TNibBaseCompletionProposalForm::SetPosition(int Value)
{
    // A click on the title bar or a wheel turn past the top asks for a row above the first.
    Value = std::max(Value, 0);
    if (Value == FPosition || Value >= AssignedCount()) return;
    FPosition = Value;
    if (Value >= TopRow()) SetTopRow(std::max(TopRow(), Value - FLinesInWindow + 1));
    else SetTopRow(Value);
    FireChangePosition();
    Invalidate();
}

void TNibBaseCompletionProposalForm::MoveSelection(int Delta)
{
    if (Delta < 1) SetPosition(std::max(FPosition + Delta, 0));
    else if (AssignedCount() - Delta <= FPosition) SetPosition(AssignedCount() - 1);
    else SetPosition(FPosition + Delta);
}

int TNibBaseCompletionProposalForm::LogicalToPhysicalIndex(int Index) const
{
    if (FMatchText && Index >= 0 && Index < AssignedCount()) return FAssignedList[std::size_t(Index)].Index;
    return Index;
}

int TNibBaseCompletionProposalForm::PhysicalToLogicalIndex(int Index) const
{
    if (!FMatchText) return Index;
    for (int i = 0; i < AssignedCount(); ++i)
        if (FAssignedList[std::size_t(i)].Index == Index) return i;
    return -1;
}

void TNibBaseCompletionProposalForm::FireChangePosition()
{
    if (Visible() && FDisplayKind == ctCode) Fire(OnChangePosition, this, LogicalToPhysicalIndex(FPosition));
}

void TNibBaseCompletionProposalForm::SetTopRow(int Row)
{
    TScrollInfo info = ScrollInfo(TScrollBarKind::sbVertical);
    info.Position = Row;
    SetScrollInfo(TScrollBarKind::sbVertical, info);
}

void TNibBaseCompletionProposalForm::AdjustScrollBarPosition()
{
    TScrollInfo info = ScrollInfo(TScrollBarKind::sbVertical);
    info.Min = 0;
    if (AssignedCount() < FLinesInWindow) {
        info.Max = 0;
        info.Page = 0;
    } else {
        // Page 1 over a range of count - lines: the last position shows the last window of items.
        info.Max = AssignedCount() - FLinesInWindow;
        info.Page = info.Max > 0 ? 1 : 0;
    }
    SetScrollInfo(TScrollBarKind::sbVertical, info);
}

void TNibBaseCompletionProposalForm::SetScrollBarVisible(bool Value)
{
    TScrollInfo info = ScrollInfo(TScrollBarKind::sbVertical);
    info.Visible = Value;
    SetScrollInfo(TScrollBarKind::sbVertical, info);
}
