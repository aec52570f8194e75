#pragma once
// A key chord packed into 16 bits: the virtual-key code in the low byte, Shift, Ctrl and Alt above.
#include <cstdint>

#include "platform/Control.h"
#include "platform/Text.h"

using TShortCut = std::uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

/// The packed chord of a key with a shift state (only Shift, Ctrl and Alt count); 0 for a key
/// above 255.
TShortCut ShortCut(std::uint16_t Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, std::uint16_t& Key, TShiftState& Shift);
/// The chord as text, modifiers in the order Shift, Ctrl, Alt ("Shift+Ctrl+B"); "" for 0.
UnicodeString ShortCutToText(TShortCut ShortCut);
