#pragma once
// Where a window goes on the screen, reckoned in frame rectangles: the window's outer edges, the
// window manager's title bar and borders included.
#include "platform/Graphics.h"

/// A frame of that size centred over the owner's frame; odd halves are rounded toward zero.
TRect CentreOver(const TRect& owner, int width, int height);

/// The frame moved, and shrunk where it is larger, so that it lies wholly inside the work area (a
/// screen less its panels); the top left corner, with the title bar, stays in reach. An empty work
/// area (no screen known) leaves the frame as it is.
TRect KeepOnScreen(const TRect& frame, const TRect& workArea);
