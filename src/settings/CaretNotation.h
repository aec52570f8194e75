#pragma once
// Caret notation of key-map strings: "^M" stands for code 13, "^^" for one caret.
#include "platform/Text.h"

/// Control characters become a caret and the character 64 above; a caret becomes two. A blank at
/// either end is written "^`", so that the trimming of the settings text keeps it. Code 30, whose
/// caret form would read back as a caret, is kept as it is, with "^@" outside it at either end.
UnicodeString CaretEncode(std::u16string_view text);
/// The inverse: "^x" gives the code of x (upper-cased when a letter) less 64, nothing when x is
/// below 'A'; "^^" gives a caret; a caret at the very end gives nothing.
UnicodeString CaretDecode(std::u16string_view text);
