#pragma once
// Recognises the target's "  OK" prompt from the last four printable characters received.
#include <array>
#include <cstdint>

class TComOkBuffer {
public:
    void AddChar(std::uint8_t c);
    /// True when the last four characters added were "  OK".
    bool IsOk() const;
    void Reset();
    std::uint8_t LastChar() const { return fLastChar; }

private:
    std::uint8_t fLastChar = 0;
    int Head = 0;
    std::array<std::uint8_t, 4> CharList{};
};
