#pragma once
// Tests on a reply line of the target during a block transfer.
#include <optional>
#include "platform/Text.h"

/// The line ends in " OK" (exactly that case).
bool ReplyIsOk(std::u16string_view line);
/// The signed decimal number that the target printed after the echo of the command and before
/// " OK"; nothing when the line is not OK, has no echo (no blank before the number) or the text
/// is not a whole number.
std::optional<int> ReplyNumber(std::u16string_view line);
/// The target is ready for frames: the line ends in '>' (upload) or '<' (download).
bool ReplyIsReady(std::u16string_view line, bool upload);
