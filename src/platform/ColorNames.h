#pragma once
// The table of colour identifiers ("clRed", "clBtnFace", ...) and colours read from text.
#include <optional>
#include <string_view>
#include "platform/Graphics.h"

/// The colour of an identifier of the table, compared without case; none for an unknown one.
std::optional<TColor> IdentToColor(std::u16string_view ident);
/// An identifier of the table, or else an integer (decimal, or "$" hexadecimal); throws
/// EConvertError for anything else.
TColor StringToColor(std::u16string_view text);
