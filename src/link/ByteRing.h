#pragma once
// Received bytes on their way from a link thread to the main thread: one thread fills the ring,
// the other empties it, and neither waits for the other.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class TByteRing {
public:
    /// Capacity in bytes, a power of two.
    explicit TByteRing(std::size_t capacity);

    /// Filling thread: the free room that follows the last byte, up to the end of the storage.
    std::span<std::uint8_t> FreeBlock();
    /// Filling thread: the first n bytes of FreeBlock now hold data.
    void Commit(std::size_t n);

    /// Emptying thread: the bytes waiting, up to the end of the storage.
    std::span<const std::uint8_t> WaitingBlock() const;
    /// Emptying thread: the first n bytes of WaitingBlock are done with.
    void Release(std::size_t n);

    std::size_t Waiting() const { return fFilled.load() - fEmptied.load(); }
    bool Full() const { return Waiting() == fCapacity; }

private:
    const std::size_t fCapacity;
    std::unique_ptr<std::uint8_t[]> fStorage;
    /// Bytes ever committed and ever released; only their difference and their positions count.
    std::atomic<std::size_t> fFilled{0};
    std::atomic<std::size_t> fEmptied{0};
};
