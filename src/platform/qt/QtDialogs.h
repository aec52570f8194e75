#pragma once
// The message boxes and choosers of the running program, on Qt's dialogs.
#include <QString>
#include "platform/Dialogs.h"

class QtDialogs : public Dialogs {
public:
    TModalResult MessageBox(const UnicodeString& caption, const UnicodeString& text, TMsgDlgType type,
                            TMsgButtons buttons) override;
    UnicodeString OpenFile(const TFileDialogRequest& request) override;
    UnicodeString SaveFile(const TFileDialogRequest& request) override;
    bool ChooseFont(TFont& font, bool fixedPitchOnly) override;
    bool ChooseColor(TColor& color) override;
};

/// Qt's name filter for a filter of the form "Text files|*.txt|All files|*.*".
QString ToQtFileFilter(const UnicodeString& filter);
