#pragma once
// Scaling an integer by a fraction without overflow in between, rounded as the system rounds.
#include <cstdint>

/// Number * Numerator / Denominator over a 64-bit product, halves rounded away from zero;
/// -1 when Denominator is 0 or the result does not fit in 32 bits.
std::int32_t MulDiv(std::int32_t Number, std::int32_t Numerator, std::int32_t Denominator);
