#pragma once
// The questions before text is saved changed: as 8-bit text that cannot hold all of its
// characters, or after a file whose last byte its encoding could not read.
#include "platform/Text.h"

/// When Text (lines joined by line breaks) holds characters that 8-bit text cannot store, asks
/// whether they may be saved as "?", naming how many there are and where the first is. True when
/// nothing would be lost or the user agrees; false when the user cancels, and nothing may be written.
bool AllowAnsiLoss(std::u16string_view Text);

/// Before text read from a file that did not decode exactly (DecodesExactly) is saved: asks whether
/// it may be saved with U+FFFD for the byte that could not be read. True when the user agrees.
bool AllowUndecodedByteLoss();
