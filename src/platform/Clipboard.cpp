#include "platform/Clipboard.h"
#include "platform/CurrentService.h"

Clipboard::~Clipboard()
{
    CurrentService<Clipboard>::Forget(this);
}

Clipboard& Clipboard::Current()
{
    return CurrentService<Clipboard>::Get("clipboard service");
}

void Clipboard::SetCurrent(Clipboard* clipboard)
{
    CurrentService<Clipboard>::Set(clipboard);
}
