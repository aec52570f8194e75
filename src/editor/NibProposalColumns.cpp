#include "editor/NibProposalColumns.h"
#include <stdexcept>

void TProposalColumn::Assign(const TPersistent& Source)
{
    const auto* column = dynamic_cast<const TProposalColumn*>(&Source);
    if (!column) {
        TPersistent::Assign(Source);
        return;
    }
    FColumnWidth = column->FColumnWidth;
    FInternalWidth = column->FInternalWidth;
    FFontStyle = column->FFontStyle;
}

TProposalColumn& TProposalColumns::Add() { return Insert(Count()); }

TProposalColumn& TProposalColumns::Insert(int Index)
{
    if (Index < 0 || Index > Count()) throw std::out_of_range("Column index out of range");
    auto column = std::make_unique<TProposalColumn>();
    column->FID = FNextID++;
    return **FItems.insert(FItems.begin() + Index, std::move(column));
}

TProposalColumn* TProposalColumns::FindItemID(int ID) const
{
    for (const auto& column : FItems)
        if (column->FID == ID) return column.get();
    return nullptr;
}

void TProposalColumns::Assign(const TPersistent& Source)
{
    const auto* columns = dynamic_cast<const TProposalColumns*>(&Source);
    if (!columns) {
        TPersistent::Assign(Source);
        return;
    }
    if (columns == this) return;
    Clear();
    for (const auto& column : columns->FItems) Add().Assign(*column);
}
