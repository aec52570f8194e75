#include "platform/MulDiv.h"
#include <cstdlib>
#include <limits>

std::int32_t MulDiv(std::int32_t Number, std::int32_t Numerator, std::int32_t Denominator)
{
    if (Denominator == 0) return -1;
    const std::int64_t product = std::int64_t(Number) * Numerator;
    std::int64_t quotient = product / Denominator;
    const std::int64_t remainder = product % Denominator;
    if (2 * std::llabs(remainder) >= std::llabs(std::int64_t(Denominator)))
        quotient += ((product < 0) != (Denominator < 0)) ? -1 : 1;
    if (quotient < std::numeric_limits<std::int32_t>::min() || quotient > std::numeric_limits<std::int32_t>::max())
        return -1;
    return std::int32_t(quotient);
}
