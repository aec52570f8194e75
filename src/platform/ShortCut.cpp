#include "platform/ShortCut.h"

namespace {

UnicodeString KeyName(std::uint16_t key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return UnicodeString(1, char16_t(key));
    if (key >= VK::F1 && key <= VK::F1 + 23) {
        UnicodeString name = u"F";
        name += IntToStr(key - VK::F1 + 1);
        return name;
    }
    switch (key) {
    case VK::BACK: return u"BkSp";
    case VK::TAB: return u"Tab";
    case VK::RETURN: return u"Enter";
    case VK::ESCAPE: return u"Esc";
    case VK::SPACE: return u"Space";
    case VK::PRIOR: return u"PgUp";
    case VK::NEXT: return u"PgDn";
    case VK::END: return u"End";
    case VK::HOME: return u"Home";
    case VK::LEFT: return u"Left";
    case VK::UP: return u"Up";
    case VK::RIGHT: return u"Right";
    case VK::DOWN: return u"Down";
    case VK::INSERT: return u"Ins";
    case VK::DELETE_: return u"Del";
    default: {
        const char16_t* hex = u"0123456789ABCDEF";
        return {u'$', hex[key >> 4], hex[key & 15]};
    }
    }
}

}  // namespace

TShortCut ShortCut(std::uint16_t Key, TShiftState Shift)
{
    if (Key > 0xFF) return 0;
    TShortCut result = Key;
    if (Shift & ssShift) result |= scShift;
    if (Shift & ssCtrl) result |= scCtrl;
    if (Shift & ssAlt) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut ShortCut, std::uint16_t& Key, TShiftState& Shift)
{
    Key = ShortCut & 0xFF;
    Shift = 0;
    if (ShortCut & scShift) Shift |= ssShift;
    if (ShortCut & scCtrl) Shift |= ssCtrl;
    if (ShortCut & scAlt) Shift |= ssAlt;
}

UnicodeString ShortCutToText(TShortCut ShortCut)
{
    if (ShortCut == 0) return {};
    UnicodeString text;
    if (ShortCut & scShift) text += u"Shift+";
    if (ShortCut & scCtrl) text += u"Ctrl+";
    if (ShortCut & scAlt) text += u"Alt+";
    return text + KeyName(ShortCut & 0xFF);
}
