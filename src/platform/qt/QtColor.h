#pragma once
// Colour and font conversion between the system's values and Qt's.
#include <QColor>
#include <QFont>
#include "platform/Graphics.h"

/// The Qt colour of a $00BBGGRR value; negative values are system colours taken from the palette,
/// clNone is transparent.
QColor ToQColor(TColor color);
/// The $00BBGGRR value of a Qt colour (alpha dropped).
TColor FromQColor(const QColor& color);

/// The Qt font of a form font: a negative Height is the character height in pixels, a positive one
/// the cell height (character height plus internal leading).
QFont ToQFont(const TFont& font);
/// The form font of a Qt font; Color is taken from `color`.
TFont FromQFont(const QFont& font, TColor color);
