#include "platform/ColorNames.h"
#include "platform/Convert.h"

namespace {

struct ColorIdent {
    std::u16string_view Name;
    TColor Value;
};

constexpr TColor SystemColor(int index) { return TColor(0x80000000u | unsigned(index)); }

constexpr ColorIdent ColorIdents[] = {
    {u"clBlack", 0x000000}, {u"clMaroon", 0x000080}, {u"clGreen", 0x008000}, {u"clOlive", 0x008080},
    {u"clNavy", 0x800000}, {u"clPurple", 0x800080}, {u"clTeal", 0x808000}, {u"clGray", 0x808080},
    {u"clSilver", 0xC0C0C0}, {u"clRed", 0x0000FF}, {u"clLime", 0x00FF00}, {u"clYellow", 0x00FFFF},
    {u"clBlue", 0xFF0000}, {u"clFuchsia", 0xFF00FF}, {u"clAqua", 0xFFFF00}, {u"clWhite", 0xFFFFFF},
    {u"clMoneyGreen", 0xC0DCC0}, {u"clSkyBlue", 0xF0CAA6}, {u"clCream", 0xF0FBFF}, {u"clMedGray", 0xA4A0A0},
    {u"clLtGray", 0xC0C0C0}, {u"clDkGray", 0x808080},
    {u"clScrollBar", SystemColor(0)}, {u"clBackground", SystemColor(1)}, {u"clActiveCaption", SystemColor(2)},
    {u"clInactiveCaption", SystemColor(3)}, {u"clMenu", SystemColor(4)}, {u"clWindow", SystemColor(5)},
    {u"clWindowFrame", SystemColor(6)}, {u"clMenuText", SystemColor(7)}, {u"clWindowText", SystemColor(8)},
    {u"clCaptionText", SystemColor(9)}, {u"clActiveBorder", SystemColor(10)},
    {u"clInactiveBorder", SystemColor(11)}, {u"clAppWorkSpace", SystemColor(12)},
    {u"clHighlight", SystemColor(13)}, {u"clHighlightText", SystemColor(14)}, {u"clBtnFace", SystemColor(15)},
    {u"clBtnShadow", SystemColor(16)}, {u"clGrayText", SystemColor(17)}, {u"clBtnText", SystemColor(18)},
    {u"clInactiveCaptionText", SystemColor(19)}, {u"clBtnHighlight", SystemColor(20)},
    {u"cl3DDkShadow", SystemColor(21)}, {u"cl3DLight", SystemColor(22)}, {u"clInfoText", SystemColor(23)},
    {u"clInfoBk", SystemColor(24)}, {u"clHotLight", SystemColor(26)},
    {u"clGradientActiveCaption", SystemColor(27)}, {u"clGradientInactiveCaption", SystemColor(28)},
    {u"clMenuHighlight", SystemColor(29)}, {u"clMenuBar", SystemColor(30)},
    {u"clNone", clNone}, {u"clDefault", clDefault},
};

}  // namespace

std::optional<TColor> IdentToColor(std::u16string_view ident)
{
    for (const ColorIdent& c : ColorIdents)
        if (SameText(c.Name, ident)) return c.Value;
    return std::nullopt;
}

TColor StringToColor(std::u16string_view text)
{
    if (std::optional<TColor> color = IdentToColor(text)) return *color;
    return StrToInt(text);
}
