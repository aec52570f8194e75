#include "platform/WindowPlacement.h"
#include <algorithm>

TRect CentreOver(const TRect& owner, int width, int height)
{
    const int left = owner.Left + (owner.Width() - width) / 2;
    const int top = owner.Top + (owner.Height() - height) / 2;
    return {left, top, left + width, top + height};
}

TRect KeepOnScreen(const TRect& frame, const TRect& workArea)
{
    if (workArea.IsEmpty()) return frame;
    const int width = std::min(std::max(frame.Width(), 0), workArea.Width());
    const int height = std::min(std::max(frame.Height(), 0), workArea.Height());
    // Past the right or bottom edge first, so that a clash leaves the left and top edges on screen.
    const int left = std::max(std::min(frame.Left, workArea.Right - width), workArea.Left);
    const int top = std::max(std::min(frame.Top, workArea.Bottom - height), workArea.Top);
    return {left, top, left + width, top + height};
}
