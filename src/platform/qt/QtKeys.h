#pragma once
// Translation of Qt's key events into the Windows virtual-key codes, shift states and characters
// that the system's controls expect.
#include <cstdint>
#include <QString>
#include <Qt>
#include "platform/Control.h"

/// One key event as the system's controls see it.
struct TKeyTranslation {
    std::uint16_t VirtualKey = 0;  ///< 0 when the key has no virtual-key code
    TShiftState Shift = 0;
    /// The characters a KeyPress delivers (none for keys such as Delete or the arrows).
    std::u16string Chars;
};

/// The shift state of Qt's modifiers and mouse buttons (the keypad flag is not a shift state).
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

/// Translates a key: the characters follow from the key and the shift state, the event's text is
/// used only for printable characters (it covers keyboard layouts and caps lock).
TKeyTranslation TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
