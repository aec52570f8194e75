#pragma once
// Message boxes and the file, font and colour choosers of the forms.
#include <vector>
#include "platform/Graphics.h"
#include "platform/Text.h"

enum class TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgButtons : std::uint8_t { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class TModalResult : std::uint8_t { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo };

/// A file chooser request: filter in the form "Text files (*.txt)|*.txt|All files (*)|*".
struct TFileDialogRequest {
    UnicodeString Title;
    UnicodeString Filter;
    UnicodeString DefaultExt;
    UnicodeString InitialDir;
    UnicodeString FileName;
};

/// The dialogs of the running program: the toolkit's, or a scripted fake in tests.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual TModalResult MessageBox(const UnicodeString& caption, const UnicodeString& text, TMsgDlgType type,
                                    TMsgButtons buttons) = 0;
    /// The chosen file name, or empty when cancelled.
    virtual UnicodeString OpenFile(const TFileDialogRequest& request) = 0;
    virtual UnicodeString SaveFile(const TFileDialogRequest& request) = 0;
    /// False when cancelled; else font holds the choice.
    virtual bool ChooseFont(TFont& font) = 0;
    virtual bool ChooseColor(TColor& color) = 0;

    static Dialogs& Current();
    static void SetCurrent(Dialogs* dialogs);
};

/// Shows an exception's message the way the program's default handler does.
void ShowMessage(const UnicodeString& text);
