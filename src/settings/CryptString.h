#pragma once
// Password scrambling of short texts into upper-case hexadecimal, for values kept in a settings file.
#include "platform/Text.h"

/// The low byte of each character of text, scrambled with password; the result is hexadecimal
/// text that also carries the length and a check sum.
UnicodeString ScrambleString(std::u16string_view password, std::u16string_view text);
/// The text that ScrambleString scrambled with the same password; decoding stops where data ends
/// or stops being hexadecimal.
UnicodeString UnscrambleString(std::u16string_view password, std::u16string_view data);
