#include "platform/Canvas.h"

#include <atomic>
#include <stdexcept>

namespace {
std::atomic<GraphicsFactory*> gCurrent{nullptr};
}

GraphicsFactory::~GraphicsFactory()
{
    GraphicsFactory* self = this;
    gCurrent.compare_exchange_strong(self, nullptr);
}

GraphicsFactory& GraphicsFactory::Current()
{
    GraphicsFactory* f = gCurrent.load();
    if (!f) throw std::logic_error("No graphics factory is installed");
    return *f;
}

void GraphicsFactory::SetCurrent(GraphicsFactory* factory)
{
    gCurrent.store(factory);
}
