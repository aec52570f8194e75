#include "platform/Clipboard.h"

#include <atomic>
#include <stdexcept>

namespace {
std::atomic<Clipboard*> gCurrent{nullptr};
}

Clipboard::~Clipboard()
{
    Clipboard* self = this;
    gCurrent.compare_exchange_strong(self, nullptr);
}

Clipboard& Clipboard::Current()
{
    Clipboard* c = gCurrent.load();
    if (!c) throw std::logic_error("No clipboard service is installed");
    return *c;
}

void Clipboard::SetCurrent(Clipboard* clipboard)
{
    gCurrent.store(clipboard);
}
