#pragma once
// What the completion proposal asks of the desktop around its editors: screen positions, the
// screen's size, the mouse pointer, and whether the application is the active one.
#include "platform/Control.h"
#include "platform/Graphics.h"

class TNibCompletionDesktop {
public:
    virtual ~TNibCompletionDesktop() = default;
    /// A point of a control's client area in screen coordinates.
    virtual TPoint ClientToScreen(const Control& AControl, TPoint P) const = 0;
    /// The size of the desktop that spans every monitor.
    virtual TSize VirtualScreenSize() const = 0;
    virtual TPoint MousePos() const = 0;
    /// False while another application has the keyboard.
    virtual bool ApplicationActive() const = 0;
};
