#pragma once
// The editor's internal consistency checks: a failed one throws, naming the source unit and line.
#include <stdexcept>
#include <string>

/// A broken internal rule of the editor; the message names the unit and the line of the check.
class EAssertionFailed : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

/// Throws EAssertionFailed "Assertion failure (<unit>, line <line>)" unless `condition` holds.
inline void NibAssert(bool condition, const char* unit, int line)
{
    if (!condition)
        throw EAssertionFailed("Assertion failure (" + std::string(unit) + ", line " + std::to_string(line) + ")");
}
