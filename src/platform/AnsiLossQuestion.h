#pragma once
// The question before text is written as 8-bit text that cannot hold all of its characters.
#include "platform/Text.h"

/// When Text (lines joined by line breaks) holds characters that 8-bit text cannot store, asks
/// whether they may be saved as "?", naming how many there are and where the first is. True when
/// nothing would be lost or the user agrees; false when the user cancels, and nothing may be written.
bool AllowAnsiLoss(std::u16string_view Text);
