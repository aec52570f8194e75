#include "platform/Canvas.h"
#include "platform/CurrentService.h"

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
