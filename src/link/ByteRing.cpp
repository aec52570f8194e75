#include "link/ByteRing.h"

#include <algorithm>

TByteRing::TByteRing(std::size_t capacity) : fCapacity(capacity), fStorage(new std::uint8_t[capacity]) {}

std::span<std::uint8_t> TByteRing::FreeBlock()
{
    const std::size_t filled = fFilled.load();
    const std::size_t at = filled & (fCapacity - 1);
    const std::size_t room = fCapacity - (filled - fEmptied.load());
    return {fStorage.get() + at, std::min(room, fCapacity - at)};
}

void TByteRing::Commit(std::size_t n)
{
    fFilled.fetch_add(n);
}

std::span<const std::uint8_t> TByteRing::WaitingBlock() const
{
    const std::size_t emptied = fEmptied.load();
    const std::size_t at = emptied & (fCapacity - 1);
    const std::size_t waiting = fFilled.load() - emptied;
    return {fStorage.get() + at, std::min(waiting, fCapacity - at)};
}

void TByteRing::Release(std::size_t n)
{
    fEmptied.fetch_add(n);
}
