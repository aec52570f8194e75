#include "platform/Dialogs.h"

#include <atomic>
#include <mutex>
#include <stdexcept>

namespace {
std::atomic<Dialogs*> gCurrent{nullptr};
std::mutex gTitleLock;
UnicodeString gTitle;
} // namespace

Dialogs::~Dialogs()
{
    Dialogs* self = this;
    gCurrent.compare_exchange_strong(self, nullptr);
}

Dialogs& Dialogs::Current()
{
    Dialogs* d = gCurrent.load();
    if (!d) throw std::logic_error("No dialog service is installed");
    return *d;
}

void Dialogs::SetCurrent(Dialogs* dialogs)
{
    gCurrent.store(dialogs);
}

UnicodeString ApplicationTitle()
{
    std::lock_guard<std::mutex> l(gTitleLock);
    return gTitle;
}

void SetApplicationTitle(const UnicodeString& title)
{
    std::lock_guard<std::mutex> l(gTitleLock);
    gTitle = title;
}

void ShowMessage(const UnicodeString& text)
{
    Dialogs::Current().MessageBox(ApplicationTitle(), text, TMsgDlgType::mtCustom, TMsgButtons::OK);
}
