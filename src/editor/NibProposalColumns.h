#pragma once
// The columns of a completion list: where a column command in an item's pretty text jumps to, and
// the font style of each column.
#include <memory>
#include <vector>
#include "platform/Graphics.h"
#include "platform/Persistent.h"

class TProposalColumns;

class TProposalColumn : public TPersistent {
public:
    int ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(int Value) { FColumnWidth = Value; }
    int InternalWidth() const { return FInternalWidth; }
    void SetInternalWidth(int Value) { FInternalWidth = Value; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles Value) { FFontStyle = Value; }
    /// Unique within its collection, kept while columns come and go.
    int ID() const { return FID; }
    /// Copies width, internal width and font style from another column.
    void Assign(const TPersistent& Source) override;

private:
    friend class TProposalColumns;
    int FColumnWidth = 100;
    int FInternalWidth = -1;
    TFontStyles FFontStyle = 0;
    int FID = 0;
};

/// An owned, ordered list of columns.
class TProposalColumns : public TPersistent {
public:
    explicit TProposalColumns(TPersistent* AOwner) : FOwner(AOwner) {}

    TPersistent* Owner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    /// The column at Index; a bad index throws std::out_of_range.
    TProposalColumn& Items(int Index) const { return *FItems.at(std::size_t(Index)); }
    TProposalColumn& Add();
    /// A new column at Index (0..Count); a bad index throws std::out_of_range.
    TProposalColumn& Insert(int Index);
    /// The column with that ID, or none.
    TProposalColumn* FindItemID(int ID) const;
    void Clear() { FItems.clear(); }
    /// Becomes a copy of another column collection.
    void Assign(const TPersistent& Source) override;

private:
    TPersistent* FOwner;
    std::vector<std::unique_ptr<TProposalColumn>> FItems;
    int FNextID = 0;
};
