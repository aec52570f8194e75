#pragma once
// Items kept in the order they were added and found by name through a hash index, so that a
// file of many names loads in time that grows with its length, not with its square.
#include <algorithm>
#include <functional>
#include <utility>
#include <string_view>
#include <vector>
#include "platform/Text.h"

/// Items in insertion order with distinct search names (names already upper-cased), each found
/// by it without a scan. SearchName is the item's member that gives its search name, which must
/// not change while the item is held here.
template <class Item, const UnicodeString& (Item::*SearchName)() const>
class TNamedItems {
public:
    int Count() const { return int(fItems.size()); }
    Item& operator[](int index) { return fItems[std::size_t(index)]; }
    const Item& operator[](int index) const { return fItems[std::size_t(index)]; }
    auto begin() const { return fItems.begin(); }
    auto end() const { return fItems.end(); }

    /// The index of the item with this search name, -1 when there is none.
    int IndexOf(std::u16string_view searchName) const
    {
        if (fSlots.empty()) return -1;
        const std::size_t hash = Hash(searchName);
        for (std::size_t at = hash & Mask();; at = (at + 1) & Mask()) {
            const Slot& slot = fSlots[at];
            if (slot.Index < 0) return -1;
            if (slot.Hash == hash && NameOf(slot.Index) == searchName) return slot.Index;
        }
    }
    /// Adds an item whose search name no item has yet; returns it.
    Item& Append(Item item)
    {
        fItems.push_back(std::move(item));
        // At most half the slots in use keeps every probe short.
        if (fItems.size() * 2 > fSlots.size()) Refill(std::max<std::size_t>(16, fSlots.size() * 2), Count());
        Place(Count() - 1, Hash(NameOf(Count() - 1)));
        return fItems.back();
    }
    /// Removes the item at index (0 to Count less one); those after it move up by one.
    void Erase(int index)
    {
        fItems.erase(fItems.begin() + index);
        Refill(fSlots.size(), index);
    }
    void Clear()
    {
        fItems.clear();
        fSlots.clear();
    }

private:
    /// A place of the open-addressed table: the index of an item and the hash of its name, or
    /// an Index of -1 when empty.
    struct Slot {
        std::size_t Hash = 0;
        int Index = -1;
    };

    static std::size_t Hash(std::u16string_view name) { return std::hash<std::u16string_view>()(name); }
    const UnicodeString& NameOf(int index) const { return ((*this)[index].*SearchName)(); }
    std::size_t Mask() const { return fSlots.size() - 1; }

    void Place(int index, std::size_t hash)
    {
        std::size_t at = hash & Mask();
        while (fSlots[at].Index >= 0) at = (at + 1) & Mask();
        fSlots[at] = {hash, index};
    }
    /// Places the items of the table anew in one of size slots (a power of two), leaving out the
    /// one at gone and moving those after it up by one.
    void Refill(std::size_t size, int gone)
    {
        const std::vector<Slot> old = std::exchange(fSlots, std::vector<Slot>(size));
        for (const Slot& slot : old)
            if (slot.Index >= 0 && slot.Index != gone) Place(slot.Index - (slot.Index > gone), slot.Hash);
    }

    std::vector<Item> fItems;
    std::vector<Slot> fSlots;
};
