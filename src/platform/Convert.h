#pragma once
// Strict conversions of text to numbers: text that is no number raises a conversion error.
#include <stdexcept>
#include <string_view>
#include "platform/Text.h"

/// A text that does not convert; the message quotes the text (UTF-8).
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Decimal (optionally signed, or "$" hexadecimal) to int; throws EConvertError
/// "'<text>' is not a valid integer value" when the text is no whole number within int.
int StrToInt(std::u16string_view text);
