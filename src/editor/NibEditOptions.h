#pragma once
// The editor control's option set, its status changes and its internal state flags.
#include <cstdint>
#include <initializer_list>

/// Bit i of an option set stands for member i.
enum TNibEditorOption : std::uint8_t {
    eoAltSetsColumnMode, eoAutoIndent, eoAutoSizeMaxScrollWidth, eoDisableScrollArrows, eoDragDropEditing,
    eoDropFiles, eoEnhanceHomeKey, eoEnhanceEndKey, eoGroupUndo, eoHalfPageScroll, eoHideShowScrollbars,
    eoKeepCaretX, eoNoCaret, eoNoSelection, eoRightMouseMovesCursor, eoScrollByOneLess, eoScrollHintFollows,
    eoScrollPastEof, eoScrollPastEol, eoShowScrollHint, eoShowSpecialChars, eoSmartTabDelete, eoSmartTabs,
    eoSpecialLineDefaultFg, eoTabIndent, eoTabsToSpaces, eoTrimTrailingSpaces,
};

/// What the editor reports through OnStatusChange.
enum TNibStatusChange : std::uint8_t {
    scAll, scCaretX, scCaretY, scLeftChar, scTopLine, scInsertMode, scModified, scSelection, scReadOnly,
};

/// Internal state of the editor control.
enum TNibStateFlag : std::uint8_t {
    sfCaretChanged, sfScrollbarChanged, sfLinesChanging, sfIgnoreNextChar, sfCaretVisible, sfDblClicked,
    sfPossibleGutterClick, sfWaitForDragging, sfInsideRedo, sfGutterDragging,
};

/// A set of the members of a small enumeration, bit n for member n.
template <typename E, typename Bits = std::uint32_t>
class TNibSet {
public:
    constexpr TNibSet() = default;
    constexpr TNibSet(std::initializer_list<E> members)
    {
        for (E m : members) fBits |= Bit(m);
    }
    static constexpr TNibSet FromBits(Bits bits)
    {
        TNibSet s;
        s.fBits = bits;
        return s;
    }
    constexpr bool Contains(E m) const { return (fBits & Bit(m)) != 0; }
    constexpr TNibSet& Include(E m)
    {
        fBits |= Bit(m);
        return *this;
    }
    constexpr TNibSet& Exclude(E m)
    {
        fBits &= Bits(~Bit(m));
        return *this;
    }
    constexpr TNibSet& operator+=(TNibSet other)
    {
        fBits |= other.fBits;
        return *this;
    }
    constexpr bool Empty() const { return fBits == 0; }
    constexpr bool Intersects(TNibSet other) const { return (fBits & other.fBits) != 0; }
    constexpr Bits ToBits() const { return fBits; }
    friend constexpr bool operator==(TNibSet, TNibSet) = default;

private:
    static constexpr Bits Bit(E m) { return Bits(Bits(1) << unsigned(m)); }
    Bits fBits = 0;
};

using TNibEditorOptions = TNibSet<TNibEditorOption>;
using TNibStatusChanges = TNibSet<TNibStatusChange, std::uint16_t>;
using TNibStateFlags = TNibSet<TNibStateFlag, std::uint16_t>;

/// The options of a new editor ($026C0192).
inline constexpr TNibEditorOptions NibDefaultOptions = TNibEditorOptions::FromBits(0x026C0192u);

enum TNibEditCaretType : std::uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollHintFormat : std::uint8_t { shfTopLineOnly, shfTopToBottom };
