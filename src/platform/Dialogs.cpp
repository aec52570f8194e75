#include "platform/Dialogs.h"
#include "platform/CurrentService.h"

#include <mutex>

namespace {
std::mutex gTitleLock;
UnicodeString gTitle;
} // namespace

Dialogs::~Dialogs()
{
    CurrentService<Dialogs>::Forget(this);
}

Dialogs& Dialogs::Current()
{
    return CurrentService<Dialogs>::Get("dialog service");
}

void Dialogs::SetCurrent(Dialogs* dialogs)
{
    CurrentService<Dialogs>::Set(dialogs);
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
