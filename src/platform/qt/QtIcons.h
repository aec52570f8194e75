#pragma once
// Action images on the screen: the desktop's icon theme by name, and where the theme has no such
// icon (or there is no theme at all) the style's standard icon that stands for it, so that every
// machine shows an image.
#include <QIcon>
#include "platform/Text.h"

/// The icon of that name; null for an empty name and for one that neither the theme nor the
/// standard icons know.
QIcon ActionIcon(const UnicodeString& name);
