#pragma once
// What the completion popup asks of the editor whose word it completes.
#include "editor/NibEditKeyCmds.h"
#include "platform/Control.h"
#include "platform/Text.h"

class TNibCompletionEditor {
public:
    virtual ~TNibCompletionEditor() = default;

    virtual bool AlwaysShowCaret() const = 0;
    virtual void SetAlwaysShowCaret(bool Value) = 0;
    virtual bool EditorFocused() const = 0;
    /// Focuses the editor, or the last control of its focus list.
    virtual void SetEditorFocus() = 0;
    /// Controls in the focus list take the focus in the editor's place while it keeps its caret.
    virtual void AddFocusControl(Control* AControl) = 0;
    virtual void RemoveFocusControl(Control* AControl) = 0;
    /// Runs one editor command as a key would.
    virtual void CommandProcessor(TNibEditorCommand Command, char16_t AChar, void* Data) = 0;
    /// The caret line's text and the caret's 1-based character index in it.
    virtual UnicodeString LineText() const = 0;
    virtual int CaretX() const = 0;
};
