#pragma once
// One character cell of the terminal screen and its attributes.
#include <cstdint>
#include "platform/Graphics.h"

enum TTerminalCharAttribute : std::uint8_t { tca_Null, tca_Underlined, tca_Bold, tca_Protected, tca_Inverted };

/// Set of TTerminalCharAttribute in one byte: bit n stands for the attribute of ordinal n.
struct TTerminalCharAttributes {
    std::uint8_t Bits = 0;
    bool Contains(TTerminalCharAttribute a) const { return (Bits >> a & 1u) != 0; }
    void Include(TTerminalCharAttribute a) { Bits = std::uint8_t(Bits | 1u << a); }
    void Exclude(TTerminalCharAttribute a) { Bits = std::uint8_t(Bits & ~(1u << a)); }
    friend bool operator==(const TTerminalCharAttributes&, const TTerminalCharAttributes&) = default;
};

/// One cell. tca_Null marks a cell never written since it was last blanked; clDefault colours
/// stand for the control's own colours when the cell is drawn.
struct TTerminalChar {
    TTerminalCharAttributes Attributes;
    char16_t Character = u' ';
    TColor FontColor = clDefault;
    TColor BgColor = clDefault;
    friend bool operator==(const TTerminalChar&, const TTerminalChar&) = default;
};

/// The blank cell that clears leave behind and that reads outside the used size return.
constexpr TTerminalChar BlankTerminalChar{{1u << tca_Null}, u' ', clDefault, clDefault};
