#include "platform/Canvas.h"
#include "platform/CurrentService.h"
#include <iterator>

GraphicsFactory::~GraphicsFactory()
{
    CurrentService<GraphicsFactory>::Forget(this);
}

GraphicsFactory& GraphicsFactory::Current()
{
    return CurrentService<GraphicsFactory>::Get("graphics factory");
}

GraphicsFactory* GraphicsFactory::CurrentOrNull() { return CurrentService<GraphicsFactory>::GetOrNull(); }

void GraphicsFactory::SetCurrent(GraphicsFactory* factory)
{
    CurrentService<GraphicsFactory>::Set(factory);
}

namespace {

TColor StandardSystemColor(int index)
{
    // The standard scheme, by system colour index (scroll bar, desktop, captions, menu, window, ...).
    static constexpr TColor scheme[] = {
        RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219), RGB(240, 240, 240),
        RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),
        RGB(180, 180, 180), RGB(244, 247, 252), RGB(171, 171, 171), RGB(0, 120, 215),   RGB(255, 255, 255),
        RGB(240, 240, 240), RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
        RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),       RGB(255, 255, 225),
        RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234), RGB(215, 228, 242), RGB(51, 153, 255),
        RGB(240, 240, 240),
    };
    if (index < 0 || index >= int(std::size(scheme))) return clBlack;
    return scheme[index];
}

}  // namespace

TColor GraphicsFactory::SystemColor(int index) const
{
    return StandardSystemColor(index);
}

TColor ColorToRGB(TColor color)
{
    if (color >= 0) return color;
    const int index = color & 0xFF;
    if (const GraphicsFactory* factory = CurrentService<GraphicsFactory>::GetOrNull())
        return factory->SystemColor(index);
    return StandardSystemColor(index);
}
