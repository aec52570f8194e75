#include "app/TerminalControl.h"

void TTerminalControl::KeyDown(std::uint16_t& key, TShiftState shift)
{
    fKeyTaken = false;
    if (key == 0) return;
    Fire(OnKeyDown, this, key, shift);
    if (key == 0) {
        fKeyTaken = true;
        return;
    }
    TSimpleTerminal::KeyDown(key, shift);
}

void TTerminalControl::KeyPress(char16_t& key)
{
    if (fKeyTaken) return;
    Fire(OnKeyPress, this, key);
    if (key != 0) TSimpleTerminal::KeyPress(key);
}

void TTerminalControl::KeyUp(std::uint16_t& key, TShiftState shift)
{
    fKeyTaken = false;
    TSimpleTerminal::KeyUp(key, shift);
}

bool TTerminalControl::MouseWheel(TShiftState shift, int wheelDelta, TPoint pos)
{
    if (OnMouseWheel && OnMouseWheel(this, shift, wheelDelta)) return true;
    return TSimpleTerminal::MouseWheel(shift, wheelDelta, pos);
}
