#include "editor/NibEditResources.h"

#include <stdexcept>
#include "platform/Text.h"

namespace {

constexpr TColor clLime = 0x00FF00;

/// A bent arrow pointing down and left: the row goes on below.
std::unique_ptr<Bitmap> Wrapped()
{
    auto b = GraphicsFactory::Current().CreateBitmap(15, 14);
    Canvas& c = b->GetCanvas();
    c.SetBrushColor(clLime);
    c.FillRect({0, 0, 15, 14});
    c.SetPenColor(clNavy);
    c.SetPenWidth(1);
    c.MoveTo(12, 2);
    c.LineTo(12, 9);
    c.LineTo(3, 9);
    for (int i = 1; i <= 3; ++i) {
        c.MoveTo(3 + i, 9 - i);
        c.LineTo(3 + i, 10 + i);
    }
    return b;
}

/// Ten small flags, each with its digit.
std::unique_ptr<Bitmap> Bookmarks()
{
    auto b = GraphicsFactory::Current().CreateBitmap(110, 14);
    Canvas& c = b->GetCanvas();
    c.SetBrushColor(clWhite);
    c.FillRect({0, 0, 110, 14});
    TFont font;
    font.Name = u"DejaVu Sans Mono";
    font.Height = -10;
    font.Style = std::uint8_t(TFontStyle::fsBold);
    for (int i = 0; i < 10; ++i) {
        const int x = i * 11;
        c.SetBrushColor(clYellow);
        c.FillRect({x + 1, 1, x + 10, 13});
        c.SetBrushColor(clBlack);
        c.FrameRect({x + 1, 1, x + 10, 13});
        c.SetBrushStyle(TBrushStyle::bsClear);
        c.SetFont(font);
        const char16_t digit[] = {char16_t(u'0' + i)};
        const TSize size = c.TextExtent(std::u16string_view(digit, 1));
        c.TextOut(x + (11 - size.cx) / 2, (14 - size.cy) / 2, std::u16string_view(digit, 1));
        c.SetBrushStyle(TBrushStyle::bsSolid);
    }
    return b;
}

} // namespace

std::unique_ptr<Bitmap> LoadNibEditBitmap(std::u16string_view name)
{
    const UnicodeString key = UpperCase(name);
    if (key == u"NIBEDITWRAPPED") return Wrapped();
    if (key == u"NIBEDITINTERNALIMAGES") return Bookmarks();
    throw std::invalid_argument("Resource " + ToUtf8(name) + " not found");
}
