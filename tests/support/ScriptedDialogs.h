#pragma once
// A Dialogs fake: records every question and answers from queues that the test fills.
#include <deque>
#include <functional>
#include <optional>
#include <vector>
#include "platform/Dialogs.h"

class ScriptedDialogs : public Dialogs {
public:
    /// One message box as the program asked it.
    struct Question {
        UnicodeString Caption;
        UnicodeString Text;
        TMsgDlgType Type;
        TMsgButtons Buttons;
    };

    /// Installs itself as the current dialogs.
    ScriptedDialogs();

    TModalResult MessageBox(const UnicodeString& caption, const UnicodeString& text, TMsgDlgType type,
                            TMsgButtons buttons) override;
    bool ChooseFont(TFont& font, bool fixedPitchOnly) override;
    bool ChooseColor(TColor& color) override;

    std::vector<Question> Questions;
    /// Runs while a message box is open, before it is answered (the program's loop runs meanwhile).
    std::function<void(const Question&)> WhileOpen;
    /// Answers to message boxes, in order; when empty, DefaultAnswer is given.
    std::deque<TModalResult> Answers;
    /// mrNone answers with the first button of the set (OK, Yes, Retry or Abort).
    TModalResult DefaultAnswer = TModalResult::mrNone;

    /// The file choosers shown, each with the folder it started in.
    std::vector<TFileDialogRequest> OpenRequests;
    std::vector<TFileDialogRequest> SaveRequests;
    /// Chosen file names for open and save, in order; empty or missing means cancelled.
    std::deque<UnicodeString> FileAnswers;
    /// Chosen fonts and colours, in order; nothing or missing means cancelled.
    std::deque<std::optional<TFont>> FontAnswers;
    /// For each font dialog shown, whether it offered fixed-pitch faces only.
    std::vector<bool> FontFixedPitchOnly;
    std::deque<std::optional<TColor>> ColorAnswers;

protected:
    /// Records the request as the chooser would show it, start folder included.
    UnicodeString ShowOpenFile(const TFileDialogRequest& request) override;
    UnicodeString ShowSaveFile(const TFileDialogRequest& request) override;
};
