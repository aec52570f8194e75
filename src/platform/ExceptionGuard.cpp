#include "platform/ExceptionGuard.h"

#include <cstdio>
#include <exception>
#include "platform/Dialogs.h"
#include "platform/Text.h"

namespace {

// Shown as an error, with the error icon. Showing must not fail in turn: with no dialogs to show it
// on, the message goes to the error output.
void Show(const UnicodeString& text)
{
    try {
        Dialogs::Current().MessageBox(ApplicationTitle(), text, TMsgDlgType::mtError, TMsgButtons::OK);
    } catch (...) {
        std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
    }
}

}  // namespace

void ShowCurrentException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        Show(FromUtf8(e.what()));
    } catch (...) {
        Show(u"Unknown error");
    }
}

void RunGuarded(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (...) {
        ShowCurrentException();
    }
}
