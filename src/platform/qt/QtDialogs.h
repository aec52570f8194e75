#pragma once
// The message boxes and choosers of the running program, on Qt's dialogs.
#include <QPointer>
#include <QString>
#include <QWidget>
#include "platform/Dialogs.h"

class QtDialogs : public Dialogs {
public:
    TModalResult MessageBox(const UnicodeString& caption, const UnicodeString& text, TMsgDlgType type,
                            TMsgButtons buttons) override;
    bool ChooseFont(TFont& font, bool fixedPitchOnly) override;
    bool ChooseColor(TColor& color) override;

protected:
    UnicodeString ShowOpenFile(const TFileDialogRequest& request) override;
    UnicodeString ShowSaveFile(const TFileDialogRequest& request) override;

private:
    /// The window that asks, which becomes the dialog's parent: the modal dialog on top, else the
    /// active window, else the one that asked last, else the main window.
    QWidget* Opener();
    /// Right after a chooser closes no window is active until the window manager gives the focus
    /// back; a question that follows at once still belongs to the window that opened the chooser.
    QPointer<QWidget> fLastOpener;
};

/// Qt's name filter for a filter of the form "Text files|*.txt|All files|*.*".
QString ToQtFileFilter(const UnicodeString& filter);
