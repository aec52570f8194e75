// The completion proposal's editors: attaching them, their key and command hooks, the trigger
// timer, and opening the list for one of them.
#include "editor/NibCompletionProposal.h"
#include <algorithm>

TNibCompletionProposal::TNibCompletionProposal()
{
    SetTriggerChars(u".");
    FForm->OnKeyPress = [this](TObject* Sender, char16_t& Key) { ForwardPopupChar(Sender, Key); };
    FForm->OnValidate = [this](TObject* Sender, TShiftState Shift, char16_t EndToken) {
        AcceptFromPopup(Sender, Shift, EndToken);
    };
    FForm->OnCancel = [this](TObject* Sender) { CancelFromPopup(Sender); };
    // A list closed by a click elsewhere must not swallow the next character typed in the editor.
    FForm->OnHide = [this, closed = FForm->OnHide](TObject* Sender) {
        FNoNextKey = false;
        closed(Sender);
    };
}

TNibCompletionProposal::~TNibCompletionProposal()
{
    if (FForm->Visible()) CancelCompletion();
    SetEditor(nullptr);
    while (!fEditors.empty()) RemoveEditor(*fEditors.back().Edit);
}

TNibCompletionEditAdapter* TNibCompletionProposal::AdapterOf(const TObject* AEditor) const
{
    for (const TAttachedEditor& attached : fEditors)
        if (attached.Edit == AEditor) return attached.Adapter.get();
    return nullptr;
}

void TNibCompletionProposal::AddEditor(TCustomNibEdit& AEditor)
{
    if (AdapterOf(&AEditor)) return;
    fEditors.push_back({&AEditor, std::make_unique<TNibCompletionEditAdapter>(AEditor)});
    AEditor.AddKeyDownHandler(TNibKeyHandler::Bind<&TNibCompletionProposal::ShortcutKeyHook>(this));
    AEditor.AddKeyPressHandler(TNibKeyPressHandler::Bind<&TNibCompletionProposal::TriggerKeyHook>(this));
    AEditor.RegisterCommandHandler(THookedCommandEvent::Bind<&TNibCompletionProposal::EditorCommandHook>(this), this);
    AEditor.AddFreeNotification(TNibFreeNotification::Bind<&TNibCompletionProposal::EditorFreed>(this));
}

void TNibCompletionProposal::RemoveEditor(TCustomNibEdit& AEditor)
{
    const auto i = std::find_if(fEditors.begin(), fEditors.end(),
                                [&](const TAttachedEditor& attached) { return attached.Edit == &AEditor; });
    if (i == fEditors.end()) return;
    AEditor.RemoveKeyDownHandler(TNibKeyHandler::Bind<&TNibCompletionProposal::ShortcutKeyHook>(this));
    AEditor.RemoveKeyPressHandler(TNibKeyPressHandler::Bind<&TNibCompletionProposal::TriggerKeyHook>(this));
    AEditor.UnregisterCommandHandler(THookedCommandEvent::Bind<&TNibCompletionProposal::EditorCommandHook>(this),
                                     this);
    AEditor.RemoveFreeNotification(TNibFreeNotification::Bind<&TNibCompletionProposal::EditorFreed>(this));
    if (FForm->CurrentEditor() == i->Adapter.get()) {
        if (FForm->Visible()) CancelCompletion();
        // The timer must not open a list for an editor that is gone.
        DeactivateTimer();
        FForm->SetCurrentEditor(nullptr);
    }
    if (FEditor == &AEditor) FEditor = nullptr;
    fEditors.erase(i);
}

void TNibCompletionProposal::EditorFreed(TObject* Sender)
{
    for (const TAttachedEditor& attached : fEditors)
        if (attached.Edit == Sender) {
            RemoveEditor(*attached.Edit);
            return;
        }
}

void TNibCompletionProposal::SetEditor(TCustomNibEdit* Value)
{
    if (FEditor) RemoveEditor(*FEditor);
    FEditor = Value;
    if (Value) AddEditor(*Value);
}

void TNibCompletionProposal::SetOptions(TNibCompletionOptions Value)
{
    TNibBaseCompletionProposal::SetOptions(Value);
    if ((Value & scoUseBuiltInTimer) && !FTimer) {
        FTimer = std::make_unique<TTimer>();
        FTimer->SetInterval(FTimerInterval);
        FTimer->OnTimer = [this] { TimerFired(); };
    } else if (!(Value & scoUseBuiltInTimer)) {
        FTimer.reset();
    }
}

void TNibCompletionProposal::SetTimerInterval(int Value)
{
    FTimerInterval = Value;
    if (FTimer) FTimer->SetInterval(Value);
}

void TNibCompletionProposal::ActivateTimer(TCustomNibEdit& AEditor)
{
    if (!FTimer) return;
    FForm->SetCurrentEditor(AdapterOf(&AEditor));
    FTimer->SetEnabled(true);
}

void TNibCompletionProposal::DeactivateTimer()
{
    if (FTimer) FTimer->SetEnabled(false);
}

void TNibCompletionProposal::TimerFired()
{
    DeactivateTimer();
    if (ApplicationActive()) {
        OpenForEditor(CurrentEdit());
        FNoNextKey = false;
    } else if (FForm->Visible()) {
        FForm->Hide();
    }
}

void TNibCompletionProposal::ShortcutKeyHook(TObject* Sender, std::uint16_t& Key, TShiftState Shift)
{
    TNibCompletionEditAdapter* adapter = AdapterOf(Sender);
    if (!adapter) return;
    if (DefaultType() == ctCode && adapter->Edit().ReadOnly()) return;
    std::uint16_t shortcutKey = 0;
    TShiftState shortcutShift = 0;
    ShortCutToKey(FShortCut, shortcutKey, shortcutShift);
    // Mouse buttons held during the key do not matter.
    if (Key != shortcutKey || (Shift & (ssShift | ssAlt | ssCtrl)) != shortcutShift) return;
    FForm->SetCurrentEditor(adapter);
    Key = 0;
    OpenForEditor(&adapter->Edit());
}

void TNibCompletionProposal::TriggerKeyHook(TObject* Sender, char16_t& Key)
{
    if (FNoNextKey) {
        FNoNextKey = false;
        Key = u'\0';
        return;
    }
    if (!FTimer) return;
    TNibCompletionEditAdapter* adapter = AdapterOf(Sender);
    if (adapter && TriggerChars().find(Key) != UnicodeString::npos) ActivateTimer(adapter->Edit());
    else DeactivateTimer();
}

void TNibCompletionProposal::EditorCommandHook(TObject* Sender, bool AfterProcessing, bool& Handled,
                                               TNibEditorCommand& Command, char16_t& AChar, void* Data,
                                               void* HandlerData)
{
    if (AfterProcessing && FForm->Visible()) {
        switch (FForm->DisplayKind()) {
        case ctHint: CancelCompletion(); break;
        case ctParams:
            if (Command == ecGotFocus || Command == ecLostFocus || (Command == ecChar && AChar == u'\x1B'))
                CancelCompletion();
            else OpenForEditor(static_cast<TCustomNibEdit*>(Sender));
            break;
        case ctCode: break;
        }
    } else if (!FForm->Visible() && FTimer) {
        if (Command != ecChar || TriggerChars().find(AChar) == UnicodeString::npos) DeactivateTimer();
    }
}

void TNibCompletionProposal::CloseParameterHint()
{
    if (FForm->DisplayKind() == ctParams) CancelCompletion();
}

void TNibCompletionProposal::OpenForEditor(TCustomNibEdit* AEditor)
{
    TNibCompletionEditAdapter* adapter = AEditor ? AdapterOf(AEditor) : nullptr;
    if (!adapter) return;
    if (DefaultType() == ctCode && AEditor->ReadOnly()) return;
    TPoint p;
    if (DefaultType() == ctHint) {
        p = MousePos();
    } else {
        p = ClientToScreen(*AEditor, AEditor->RowColumnToPixels(AEditor->DisplayXY()));
        p.Y += AEditor->LineHeight();
    }
    FForm->SetCurrentEditor(adapter);
    FPreviousToken = PreviousWord(*AEditor);
    ExecuteEx(CurrentInput(*AEditor), p.X, p.Y, DefaultType());
    FNoNextKey = DefaultType() == ctCode && FCanExecute && FForm->Visible();
}

void TNibCompletionProposal::ExecuteEx(UnicodeString s, int x, int y, NibCompletionType Kind)
{
    TNibBaseCompletionProposal::ExecuteEx(std::move(s), x, y, Kind);
    DeactivateTimer();
}
