#pragma once
// Escaping of 8-bit text into printable ASCII for a one-line settings value, and back.
#include "platform/Text.h"

/// Control characters, quotes, backslashes, '%' and bytes above 127 escaped; an empty text
/// becomes "." and a text that starts with "." gets one more in front.
UnicodeString EscapeString(std::u16string_view text);
/// The inverse of EscapeString; unescaped bytes outside 32..127 are dropped.
UnicodeString UnescapeString(std::u16string_view text);
