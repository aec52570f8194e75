#include "platform/qt/QtKeys.h"

namespace {

// The key a shifted character sits on, on a US keyboard, so that shifted punctuation keeps the
// virtual-key code of its key.
int UnshiftedKey(int key)
{
    switch (key) {
    case Qt::Key_Exclam: return Qt::Key_1;
    case Qt::Key_At: return Qt::Key_2;
    case Qt::Key_NumberSign: return Qt::Key_3;
    case Qt::Key_Dollar: return Qt::Key_4;
    case Qt::Key_Percent: return Qt::Key_5;
    case Qt::Key_AsciiCircum: return Qt::Key_6;
    case Qt::Key_Ampersand: return Qt::Key_7;
    case Qt::Key_Asterisk: return Qt::Key_8;
    case Qt::Key_ParenLeft: return Qt::Key_9;
    case Qt::Key_ParenRight: return Qt::Key_0;
    case Qt::Key_Underscore: return Qt::Key_Minus;
    case Qt::Key_Plus: return Qt::Key_Equal;
    case Qt::Key_BraceLeft: return Qt::Key_BracketLeft;
    case Qt::Key_BraceRight: return Qt::Key_BracketRight;
    case Qt::Key_Bar: return Qt::Key_Backslash;
    case Qt::Key_Colon: return Qt::Key_Semicolon;
    case Qt::Key_QuoteDbl: return Qt::Key_Apostrophe;
    case Qt::Key_Less: return Qt::Key_Comma;
    case Qt::Key_Greater: return Qt::Key_Period;
    case Qt::Key_Question: return Qt::Key_Slash;
    case Qt::Key_AsciiTilde: return Qt::Key_QuoteLeft;
    default: return key;
    }
}

std::uint16_t KeypadVirtualKey(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return std::uint16_t(0x60 + (key - Qt::Key_0));  // VK_NUMPAD0..9
    switch (key) {
    case Qt::Key_Asterisk: return 0x6A;  // VK_MULTIPLY
    case Qt::Key_Plus: return 0x6B;      // VK_ADD
    case Qt::Key_Minus: return 0x6D;     // VK_SUBTRACT
    case Qt::Key_Period:
    case Qt::Key_Comma: return 0x6E;     // VK_DECIMAL
    case Qt::Key_Slash: return 0x6F;     // VK_DIVIDE
    default: return 0;
    }
}

std::uint16_t VirtualKeyOf(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return std::uint16_t('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return std::uint16_t('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return std::uint16_t(VK::F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return VK::BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK::TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK::RETURN;
    case Qt::Key_Shift: return VK::SHIFT;
    case Qt::Key_Control: return VK::CONTROL;
    case Qt::Key_Alt: return VK::MENU;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return VK::ESCAPE;
    case Qt::Key_Space: return VK::SPACE;
    case Qt::Key_PageUp: return VK::PRIOR;
    case Qt::Key_PageDown: return VK::NEXT;
    case Qt::Key_End: return VK::END;
    case Qt::Key_Home: return VK::HOME;
    case Qt::Key_Left: return VK::LEFT;
    case Qt::Key_Up: return VK::UP;
    case Qt::Key_Right: return VK::RIGHT;
    case Qt::Key_Down: return VK::DOWN;
    case Qt::Key_Print: return 0x2C;
    case Qt::Key_Insert: return VK::INSERT;
    case Qt::Key_Delete: return VK::DELETE_;
    case Qt::Key_Clear: return 0x0C;
    case Qt::Key_Meta: return 0x5B;  // VK_LWIN
    case Qt::Key_Menu: return 0x5D;  // VK_APPS
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    case Qt::Key_Slash: return 0xBF;
    case Qt::Key_QuoteLeft: return 0xC0;
    case Qt::Key_BracketLeft: return 0xDB;
    case Qt::Key_Backslash: return 0xDC;
    case Qt::Key_BracketRight: return 0xDD;
    case Qt::Key_Apostrophe: return 0xDE;
    default: return 0;
    }
}

// The control character that Ctrl with this key gives, or 0 for none.
char16_t ControlCharOf(std::uint16_t vk, TShiftState shift)
{
    if (vk >= 'A' && vk <= 'Z') return char16_t(vk - 'A' + 1);
    switch (vk) {
    case 0xDB: return 0x1B;  // Ctrl+[
    case 0xDC: return 0x1C;  // Ctrl+Backslash
    case 0xDD: return 0x1D;  // Ctrl+]
    case '2': return (shift & ssShift) ? 0x00 : 0xFFFF;  // Ctrl+@
    case '6': return (shift & ssShift) ? 0x1E : 0xFFFF;  // Ctrl+^
    case 0xBD: return (shift & ssShift) ? 0x1F : 0xFFFF;  // Ctrl+_
    case VK::RETURN: return 0x0A;
    case VK::BACK: return 0x7F;
    default: return 0xFFFF;
    }
}

}  // namespace

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier) s |= ssShift;
    if (modifiers & Qt::AltModifier) s |= ssAlt;
    if (modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

TKeyTranslation TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text)
{
    TKeyTranslation t;
    t.Shift = ShiftStateOf(modifiers);
    bool keypad = modifiers & Qt::KeypadModifier;
    if (keypad) t.VirtualKey = KeypadVirtualKey(qtKey);
    if (!t.VirtualKey) t.VirtualKey = VirtualKeyOf(UnshiftedKey(qtKey));

    bool ctrl = t.Shift & ssCtrl;
    bool alt = t.Shift & ssAlt;
    // Alt combinations are menu keys, not characters.
    if (alt && !ctrl) return t;
    if (ctrl && !alt) {
        char16_t c = ControlCharOf(t.VirtualKey, t.Shift);
        if (c != 0xFFFF) t.Chars.push_back(c);
        return t;
    }
    switch (t.VirtualKey) {
    case VK::BACK: t.Chars = u"\b"; return t;
    case VK::TAB: t.Chars = u"\t"; return t;
    case VK::RETURN: t.Chars = u"\r"; return t;
    case VK::ESCAPE: t.Chars = u"\x1B"; return t;
    case VK::SPACE: t.Chars = u" "; return t;
    default: break;
    }
    // Printable characters come from the event's text; control characters in it (Delete's 0x7F,
    // keypad navigation keys) are not characters of the key.
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F) t.Chars.push_back(c.unicode());
    }
    return t;
}
