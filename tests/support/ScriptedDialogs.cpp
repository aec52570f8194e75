#include "support/ScriptedDialogs.h"

namespace {

template <typename T>
T Next(std::deque<T>& queue)
{
    if (queue.empty()) return T{};
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

TModalResult FirstButton(TMsgButtons buttons)
{
    switch (buttons) {
    case TMsgButtons::YesNo:
    case TMsgButtons::YesNoCancel: return TModalResult::mrYes;
    case TMsgButtons::RetryCancel: return TModalResult::mrRetry;
    case TMsgButtons::AbortRetryIgnore: return TModalResult::mrAbort;
    case TMsgButtons::OK:
    case TMsgButtons::OKCancel: break;
    }
    return TModalResult::mrOk;
}

} // namespace

ScriptedDialogs::ScriptedDialogs()
{
    SetCurrent(this);
}

TModalResult ScriptedDialogs::MessageBox(const UnicodeString& caption, const UnicodeString& text,
                                         TMsgDlgType type, TMsgButtons buttons)
{
    Questions.push_back({caption, text, type, buttons});
    if (WhileOpen) WhileOpen(Questions.back());
    if (!Answers.empty()) return Next(Answers);
    return DefaultAnswer == TModalResult::mrNone ? FirstButton(buttons) : DefaultAnswer;
}

UnicodeString ScriptedDialogs::ShowOpenFile(const TFileDialogRequest& request)
{
    OpenRequests.push_back(request);
    return Next(FileAnswers);
}

UnicodeString ScriptedDialogs::ShowSaveFile(const TFileDialogRequest& request)
{
    SaveRequests.push_back(request);
    return Next(FileAnswers);
}

bool ScriptedDialogs::ChooseFont(TFont& font, bool fixedPitchOnly)
{
    FontFixedPitchOnly.push_back(fixedPitchOnly);
    std::optional<TFont> answer = Next(FontAnswers);
    if (answer) font = *answer;
    return answer.has_value();
}

bool ScriptedDialogs::ChooseColor(TColor& color)
{
    std::optional<TColor> answer = Next(ColorAnswers);
    if (answer) color = *answer;
    return answer.has_value();
}
