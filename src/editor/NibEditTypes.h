#pragma once
// Small types that every unit of the editor component shares.
#include <cstdint>
#include <stdexcept>
#include <functional>
#include <initializer_list>
#include <string>

#include "platform/Events.h"

/// Base of the editor's own exceptions; the message is UTF-8.
class ENibError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The half-open range First .. Last - 1 of display columns or of chars.
struct TNibSpan {
    int First = 0;
    int Last = 0;
};

enum TNibSearchOption : std::uint8_t {
    ssoMatchCase,
    ssoWholeWord,
    ssoBackwards,
    ssoEntireScope,
    ssoSelectedOnly,
    ssoReplace,
    ssoReplaceAll,
    ssoPrompt,
};

/// A set of search options: bit n stands for the n-th option.
class TNibSearchOptions {
public:
    constexpr TNibSearchOptions() = default;
    constexpr TNibSearchOptions(std::initializer_list<TNibSearchOption> options)
    {
        for (auto o : options) fBits |= Bit(o);
    }
    constexpr bool Contains(TNibSearchOption o) const { return (fBits & Bit(o)) != 0; }
    constexpr TNibSearchOptions& Include(TNibSearchOption o)
    {
        fBits |= Bit(o);
        return *this;
    }
    constexpr TNibSearchOptions& Exclude(TNibSearchOption o)
    {
        fBits &= static_cast<std::uint8_t>(~Bit(o));
        return *this;
    }
    constexpr std::uint8_t Bits() const { return fBits; }
    friend constexpr bool operator==(TNibSearchOptions, TNibSearchOptions) = default;

private:
    static constexpr std::uint8_t Bit(TNibSearchOption o) { return static_cast<std::uint8_t>(1u << o); }
    std::uint8_t fBits = 0;
};

/// A key-press handler may change Key or set it to 0 to consume it.
using TKeyPressWEvent = std::function<void(TObject* Sender, char16_t& Key)>;

enum TNibSelectionMode : std::uint8_t { smNormal, smLine, smColumn };

/// A position in the text buffer: both counted from 1, Char in 16-bit code units of the line.
struct TBufferCoord {
    std::int32_t Char = 0;
    std::int32_t Line = 0;
    friend constexpr bool operator==(const TBufferCoord&, const TBufferCoord&) = default;
};

struct TBufferBlock {
    std::int32_t BeginLine = 0;
    std::int32_t BeginChar = 0;
    std::int32_t EndLine = 0;
    std::int32_t EndChar = 0;
    friend constexpr bool operator==(const TBufferBlock&, const TBufferBlock&) = default;
};

/// A position on the screen grid (tabs expanded, rows after word wrap): both counted from 1.
struct TDisplayCoord {
    std::int32_t Column = 0;
    std::int32_t Row = 0;
    friend constexpr bool operator==(const TDisplayCoord&, const TDisplayCoord&) = default;
};

constexpr TBufferCoord BufferCoord(std::int32_t AChar, std::int32_t ALine) { return {AChar, ALine}; }
constexpr TDisplayCoord DisplayCoord(std::int32_t AColumn, std::int32_t ARow) { return {AColumn, ARow}; }
