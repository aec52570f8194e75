#include "platform/Dialogs.h"
#include "platform/CurrentService.h"
#include "platform/Folders.h"

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

UnicodeString Dialogs::OpenFile(const TFileDialogRequest& request)
{
    return Remember(ShowOpenFile(StartingWhereLeft(request)));
}

UnicodeString Dialogs::SaveFile(const TFileDialogRequest& request)
{
    return Remember(ShowSaveFile(StartingWhereLeft(request)));
}

TFileDialogRequest Dialogs::StartingWhereLeft(TFileDialogRequest request) const
{
    if (request.InitialDir.empty() && ExtractFilePath(request.FileName).empty()) request.InitialDir = fLastFolder;
    return request;
}

UnicodeString Dialogs::Remember(const UnicodeString& fileName)
{
    if (!fileName.empty()) fLastFolder = ExtractFilePath(fileName);
    return fileName;
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
