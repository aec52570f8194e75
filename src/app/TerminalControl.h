#pragma once
// The terminal control as the main window places it: the window's key and wheel handlers see
// each event before the control does, as the form library's control events do.
#include <cstdint>
#include <functional>
#include "platform/Events.h"
#include "terminal/SimpleTerminal.h"

class TTerminalControl : public TSimpleTerminal {
public:
    /// Setting Key to 0 takes the key: the control does not see it, nor the characters it types.
    std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(TObject* Sender, char16_t& Key)> OnKeyPress;
    /// True when the wheel was handled.
    std::function<bool(TObject* Sender, TShiftState Shift, int WheelDelta)> OnMouseWheel;

    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void KeyUp(std::uint16_t& key, TShiftState shift) override;
    bool MouseWheel(TShiftState shift, int wheelDelta, TPoint pos) override;

private:
    /// The characters that follow a taken key are the key's own: they must not be sent besides.
    bool fKeyTaken = false;
};
