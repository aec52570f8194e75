#pragma once
// The editor's own bitmaps: the continuation glyph of wrapped rows and the ten bookmark glyphs.
#include <memory>
#include <string_view>
#include "platform/Canvas.h"

/// "NibEditWrapped": 15 x 14 pixels, an arrow on clLime (its transparent colour).
/// "NibEditInternalImages": 110 x 14 pixels, the bookmark glyphs 0 to 9, each 11 pixels wide.
/// The name is matched without case; an unknown one throws std::invalid_argument.
std::unique_ptr<Bitmap> LoadNibEditBitmap(std::u16string_view name);
