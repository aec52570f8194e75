#pragma once
// Message boxes and the file, font and colour choosers of the forms.
#include <vector>
#include "platform/Graphics.h"
#include "platform/Text.h"

enum class TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgButtons : std::uint8_t { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class TModalResult : std::uint8_t { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo };

/// A file chooser request: filter in the form "Text files (*.txt)|*.txt|All files (*)|*". The
/// chooser starts in InitialDir, else in the folder of FileName, else where the last choice was made.
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
    /// A service that is the current one stops being current.
    virtual ~Dialogs();
    virtual TModalResult MessageBox(const UnicodeString& caption, const UnicodeString& text, TMsgDlgType type,
                                    TMsgButtons buttons) = 0;
    /// The chosen file name, or empty when cancelled. A request that names no folder starts in the
    /// folder of the file last chosen in any file chooser, so the user goes on where he left off.
    UnicodeString OpenFile(const TFileDialogRequest& request);
    UnicodeString SaveFile(const TFileDialogRequest& request);
    /// False when cancelled; else font holds the choice. fixedPitchOnly offers only fixed-pitch faces.
    virtual bool ChooseFont(TFont& font, bool fixedPitchOnly) = 0;
    virtual bool ChooseColor(TColor& color) = 0;

    /// The dialogs in use; throws std::logic_error when none are set.
    static Dialogs& Current();
    static void SetCurrent(Dialogs* dialogs);

protected:
    /// Shows a file chooser whose start folder is settled.
    virtual UnicodeString ShowOpenFile(const TFileDialogRequest& request) = 0;
    virtual UnicodeString ShowSaveFile(const TFileDialogRequest& request) = 0;

private:
    TFileDialogRequest StartingWhereLeft(TFileDialogRequest request) const;
    /// Notes the folder of a chosen file; returns the name.
    UnicodeString Remember(const UnicodeString& fileName);

    /// The folder of the last file chosen; empty for the working folder.
    UnicodeString fLastFolder;
};

/// The application's title, the caption of ShowMessage boxes.
UnicodeString ApplicationTitle();
void SetApplicationTitle(const UnicodeString& title);

/// Shows a message with an OK button and the application title as caption, the way the program's
/// default handler shows an exception's message.
void ShowMessage(const UnicodeString& text);
