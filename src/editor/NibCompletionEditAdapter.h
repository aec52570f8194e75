#pragma once
// The completion popup's view of one editor control.
#include "editor/NibCompletionEditor.h"
#include "editor/NibEdit.h"

class TNibCompletionEditAdapter : public TNibCompletionEditor {
public:
    explicit TNibCompletionEditAdapter(TCustomNibEdit& AEdit) : fEdit(AEdit) {}

    TCustomNibEdit& Edit() const { return fEdit; }

    bool AlwaysShowCaret() const override { return fEdit.AlwaysShowCaret(); }
    void SetAlwaysShowCaret(bool Value) override { fEdit.SetAlwaysShowCaret(Value); }
    bool EditorFocused() const override { return fEdit.Focused(); }
    void SetEditorFocus() override { fEdit.SetFocus(); }
    void AddFocusControl(Control* AControl) override { fEdit.AddFocusControl(AControl); }
    void RemoveFocusControl(Control* AControl) override { fEdit.RemoveFocusControl(AControl); }
    void CommandProcessor(TNibEditorCommand Command, char16_t AChar, void* Data) override
    {
        fEdit.CommandProcessor(Command, AChar, Data);
    }
    UnicodeString LineText() const override { return fEdit.LineText(); }
    int CaretX() const override { return fEdit.CaretX(); }

private:
    TCustomNibEdit& fEdit;
};

/// The editor control behind a completion editor; nullptr for any other kind of editor.
TCustomNibEdit* CompletionEdit(TNibCompletionEditor* AEditor);
