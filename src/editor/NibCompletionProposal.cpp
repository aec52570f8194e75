#include "editor/NibCompletionProposal.h"
#include <algorithm>
#include <stdexcept>
#include "editor/NibCompletionPrettyText.h"

/// What the popup sees of one attached editor.
class TNibCompletionProposal::TEditorLink : public TNibCompletionEditor {
public:
    explicit TEditorLink(TCustomNibEdit& AEditor) : Edit(AEditor) {}

    bool AlwaysShowCaret() const override { return fAlwaysShowCaret; }
    void SetAlwaysShowCaret(bool Value) override { fAlwaysShowCaret = Value; }
    bool EditorFocused() const override { return Edit.Focused(); }
    void SetEditorFocus() override
    {
        if (!fFocusControls.empty()) fFocusControls.back()->SetFocus();
        else Edit.SetFocus();
    }
    void AddFocusControl(Control* AControl) override
    {
        if (std::find(fFocusControls.begin(), fFocusControls.end(), AControl) == fFocusControls.end())
            fFocusControls.push_back(AControl);
    }
    void RemoveFocusControl(Control* AControl) override { std::erase(fFocusControls, AControl); }
    void CommandProcessor(TNibEditorCommand Command, char16_t AChar, void* Data) override
    {
        Edit.CommandProcessor(Command, AChar, Data);
    }
    UnicodeString LineText() const override { return Edit.LineText(); }
    int CaretX() const override { return Edit.CaretX(); }

    TCustomNibEdit& Edit;

private:
    bool fAlwaysShowCaret = false;
    std::vector<Control*> fFocusControls;
};

TNibCompletionProposal::TNibCompletionProposal()
{
    fForm.IsCompletionBreakChar = [this](char16_t c) { return IsCompletionBreakChar(c); };
    fForm.OnKeyPress = [this](TObject* Sender, char16_t& Key) { ForwardPopupChar(Sender, Key); };
    fForm.OnValidate = [this](TObject* Sender, TShiftState Shift, char16_t EndToken) {
        AcceptFromPopup(Sender, Shift, EndToken);
    };
    fForm.OnCancel = [this](TObject* Sender) { CancelFromPopup(Sender); };
    fForm.SetEndOfTokenChr(u"()[]. ");
    fForm.SetTriggerChars(u".");
    SetOptions(NibDefaultCompletionOptions);
}

TNibCompletionProposal::~TNibCompletionProposal()
{
    if (fForm.Visible()) CancelCompletion();
    SetEditor(nullptr);
    while (!fEditors.empty()) RemoveEditor(fEditors.back()->Edit);
}

void TNibCompletionProposal::SetOptions(TNibCompletionOptions Value)
{
    fOptions = Value;
    fForm.SetCaseSensitive(Value.Contains(scoCaseSensitive));
    fForm.SetMatchText(Value.Contains(scoLimitToMatchedText));
    fForm.SetCenterTitle(Value.Contains(scoTitleIsCentered));
    fForm.SetUseInsertList(Value.Contains(scoUseInsertList));
    fForm.SetFormattedText(Value.Contains(scoUsePrettyText));
    fForm.SetCompleteWithTab(Value.Contains(scoCompleteWithTab));
    fForm.SetCompleteWithEnter(Value.Contains(scoCompleteWithEnter));
    if (Value.Contains(scoUseBuiltInTimer) && !fTimer) {
        fTimer = std::make_unique<TTimer>();
        fTimer->SetInterval(fTimerInterval);
        fTimer->OnTimer = [this] { TimerFired(); };
    } else if (!Value.Contains(scoUseBuiltInTimer)) {
        fTimer.reset();
    }
}

void TNibCompletionProposal::SetDefaultType(NibCompletionType Value)
{
    fDefaultType = Value;
    fForm.SetDefaultKind(Value);
    fForm.SetDisplayKind(Value);
    fForm.RecreateWindow();
}

void TNibCompletionProposal::SetTimerInterval(int Value)
{
    fTimerInterval = Value;
    if (fTimer) fTimer->SetInterval(Value);
}

void TNibCompletionProposal::ClearList()
{
    InsertList().Clear();
    ItemList().Clear();
}

void TNibCompletionProposal::AddItem(const UnicodeString& DisplayText, const UnicodeString& InsertText)
{
    InsertList().Add(InsertText);
    ItemList().Add(DisplayText);
}

void TNibCompletionProposal::AddItemAt(int Where, const UnicodeString& DisplayText, const UnicodeString& InsertText)
{
    try {
        InsertList().Insert(Where, InsertText);
        try {
            ItemList().Insert(Where, DisplayText);
        } catch (...) {
            InsertList().Delete(Where);
            throw;
        }
    } catch (...) {
        throw std::runtime_error("Cannot insert item at position " + std::to_string(Where) + ".");
    }
}

TNibCompletionProposal::TEditorLink* TNibCompletionProposal::LinkOf(const TCustomNibEdit* AEditor) const
{
    for (const auto& link : fEditors)
        if (&link->Edit == AEditor) return link.get();
    return nullptr;
}

TCustomNibEdit* TNibCompletionProposal::CurrentEdit() const
{
    for (const auto& link : fEditors)
        if (link.get() == fForm.CurrentEditor()) return &link->Edit;
    return nullptr;
}

void TNibCompletionProposal::SetEditor(TCustomNibEdit* Value)
{
    if (Value == fEditor) return;
    if (fEditor) RemoveEditor(*fEditor);
    fEditor = Value;
    if (Value) AddEditor(*Value);
}

void TNibCompletionProposal::AddEditor(TCustomNibEdit& AEditor)
{
    if (LinkOf(&AEditor)) return;
    fEditors.push_back(std::make_unique<TEditorLink>(AEditor));
    AEditor.KbdHandler().AddKeyDownHandler(TNibKeyHandler::Bind<&TNibCompletionProposal::ShortcutKeyHook>(this));
    AEditor.KbdHandler().AddKeyPressHandler(TNibKeyPressHandler::Bind<&TNibCompletionProposal::TriggerKeyHook>(this));
    AEditor.RegisterCommandHandler(THookedCommandEvent::Bind<&TNibCompletionProposal::EditorCommandHook>(this), this);
}

void TNibCompletionProposal::RemoveEditor(TCustomNibEdit& AEditor)
{
    TEditorLink* link = LinkOf(&AEditor);
    if (!link) return;
    if (fForm.CurrentEditor() == link) {
        if (fForm.Visible()) CancelCompletion();
        fForm.SetCurrentEditor(nullptr);
    }
    if (fEditor == &AEditor) fEditor = nullptr;
    AEditor.KbdHandler().RemoveKeyDownHandler(TNibKeyHandler::Bind<&TNibCompletionProposal::ShortcutKeyHook>(this));
    AEditor.KbdHandler().RemoveKeyPressHandler(
        TNibKeyPressHandler::Bind<&TNibCompletionProposal::TriggerKeyHook>(this));
    AEditor.UnregisterCommandHandler(THookedCommandEvent::Bind<&TNibCompletionProposal::EditorCommandHook>(this),
                                     this);
    std::erase_if(fEditors, [link](const auto& l) { return l.get() == link; });
}

void TNibCompletionProposal::ActivateCompletion() { OpenForEditor(fEditor); }

void TNibCompletionProposal::CancelCompletion()
{
    HideStep();
    Fire(OnCancelled, this);
}

bool TNibCompletionProposal::IsCompletionBreakChar(char16_t c) const
{
    if (fOptions.Contains(scoConsiderWordBreakChars))
        if (TCustomNibEdit* edit = CurrentEdit(); edit && edit->IsWordBreakChar(c)) return true;
    return EndOfTokenChr().find(c) != UnicodeString::npos;
}

void TNibCompletionProposal::ShortcutKeyHook(TObject* Sender, std::uint16_t& Key, TShiftState Shift)
{
    auto* edit = dynamic_cast<TCustomNibEdit*>(Sender);
    if (!edit) return;
    if (fDefaultType == ctCode && edit->ReadOnly()) return;
    std::uint16_t key = 0;
    TShiftState shift = 0;
    ShortCutToKey(ShortCut, key, shift);
    const TShiftState chordKeys = ssShift | ssCtrl | ssAlt;
    if (Key != key || (Shift & chordKeys) != (shift & chordKeys)) return;
    fForm.SetCurrentEditor(LinkOf(edit));
    Key = 0;
    OpenForEditor(edit);
}

void TNibCompletionProposal::TriggerKeyHook(TObject* Sender, char16_t& Key)
{
    if (fNoNextKey) {
        // The character that came with the shortcut.
        fNoNextKey = false;
        Key = 0;
        return;
    }
    if (!fTimer) return;
    auto* edit = dynamic_cast<TCustomNibEdit*>(Sender);
    if (edit && TriggerChars().find(Key) != UnicodeString::npos) ActivateTimer(*edit);
    else DeactivateTimer();
}

void TNibCompletionProposal::ActivateTimer(TCustomNibEdit& AEditor)
{
    if (!fTimer) return;
    fForm.SetCurrentEditor(LinkOf(&AEditor));
    fTimer->SetEnabled(false);
    fTimer->SetEnabled(true);
}

void TNibCompletionProposal::DeactivateTimer()
{
    if (fTimer) fTimer->SetEnabled(false);
}

void TNibCompletionProposal::TimerFired()
{
    DeactivateTimer();
    if (!ApplicationActive || ApplicationActive()) {
        OpenForEditor(CurrentEdit());
        fNoNextKey = false;
    } else if (fForm.Visible()) {
        fForm.Hide();
    }
}

void TNibCompletionProposal::EditorCommandHook(TObject* Sender, bool AfterProcessing, bool& Handled,
                                               TNibEditorCommand& Command, char16_t& AChar, void* Data,
                                               void* HandlerData)
{
    if (AfterProcessing && fForm.Visible()) {
        if (fForm.DisplayKind() == ctHint) {
            CancelCompletion();
        } else if (fForm.DisplayKind() == ctParams) {
            if (Command == 480 || Command == 481 || (Command == ecChar && AChar == 27)) CancelCompletion();
            else OpenForEditor(dynamic_cast<TCustomNibEdit*>(Sender));
        }
    } else if (!fForm.Visible() && fTimer) {
        if (Command != ecChar || TriggerChars().find(AChar) == UnicodeString::npos) DeactivateTimer();
    }
}

UnicodeString TNibCompletionProposal::CurrentInput(const TCustomNibEdit& AEditor)
{
    const UnicodeString line = AEditor.LineText();
    const int c = AEditor.CaretX();
    int i = c - 1;
    UnicodeString input;
    if (i <= int(line.size())) {
        fAdjustCompletionStart = false;
        while (i >= 1 && line[std::size_t(i - 1)] > 32 && !IsCompletionBreakChar(line[std::size_t(i - 1)])) --i;
        input = line.substr(std::size_t(i), std::size_t(c - i - 1));
    } else {
        fAdjustCompletionStart = true;
    }
    fCompletionStart = i + 1;
    return input;
}

UnicodeString TNibCompletionProposal::PreviousWord(const TCustomNibEdit& AEditor) const
{
    const UnicodeString line = AEditor.LineText();
    int x = AEditor.CaretX() - 1;
    if (x == 0 || x > int(line.size()) || line.empty()) return {};
    if (IsCompletionBreakChar(line[std::size_t(x - 1)])) --x;
    UnicodeString word;
    while (x >= 1 && !IsCompletionBreakChar(line[std::size_t(x - 1)])) word.insert(word.begin(), line[std::size_t(--x)]);
    return word;
}

void TNibCompletionProposal::OpenForEditor(TCustomNibEdit* AEditor)
{
    if (!AEditor || !LinkOf(AEditor)) return;
    if (fDefaultType == ctCode && AEditor->ReadOnly()) return;
    TPoint p = AEditor->RowColumnToPixels(AEditor->DisplayXY());
    if (ClientToScreen) p = ClientToScreen(*AEditor, p);
    p.Y += AEditor->LineHeight();
    fForm.SetCurrentEditor(LinkOf(AEditor));
    fPreviousToken = PreviousWord(*AEditor);
    ExecuteEx(CurrentInput(*AEditor), p.X, p.Y, fDefaultType);
    fNoNextKey = fDefaultType == ctCode && fCanExecute && fForm.Visible();
}

void TNibCompletionProposal::ExecuteEx(UnicodeString s, int x, int y, NibCompletionType Kind)
{
    fForm.SetDisplayKind(Kind);
    fCanExecute = true;
    if (OnExecute) OnExecute(Kind, this, s, x, y, fCanExecute);
    if (!fCanExecute || ItemList().Count() == 0) {
        if (fForm.Visible() && Kind == ctParams) fForm.Hide();
        DeactivateTimer();
        return;
    }
    if (TCustomNibEdit* edit = CurrentEdit(); edit && DotOffset > 0) {
        const int n = std::min(DotOffset, int(s.size()));
        x -= n * edit->CharWidth() + 3 * std::max(n - 1, 0);
    }
    fForm.ResetAssignedList();
    if (Kind == ctCode) {
        if (fForm.AssignedCount() > 0) {
            fForm.SetPosition(0);
            fForm.AdjustScrollBarPosition();
            fForm.SetScrollBarVisible(true);
            PlacePopup(x, y);
            fForm.Show();
            fForm.SetCurrentString(s);
        }
    } else {
        fForm.SetScrollBarVisible(false);
        PlacePopup(x, y);
        fForm.Show();
        fForm.Invalidate();
    }
    DeactivateTimer();
}

void TNibCompletionProposal::PlacePopup(int x, int y)
{
    const int itemHeight = fForm.EffectiveItemHeight();
    int height, width;
    if (fForm.DisplayKind() == ctCode) {
        width = Width;
        height = itemHeight * NbLinesInWindow + fForm.HeightBuffer() + 2 * SizingFrame;
    } else {
        height = ItemList().Count() * itemHeight + 2 + 2 * fForm.Margin();
        width = HintTextWidth() + 2 * fForm.Margin() + 2;
    }
    if (ScreenSize) {
        const TSize screen = ScreenSize();
        if (x + width > screen.cx) x = std::max(screen.cx - width - 5, 0);
        if (y + height > screen.cy) {
            const int lineHeight = CurrentEdit() ? CurrentEdit()->LineHeight() : 0;
            y = std::max(y - height - lineHeight - 2, 0);
        }
    }
    fForm.SetWindowBounds({x, y, x + width, y + height});
}

int TNibCompletionProposal::HintTextWidth()
{
    std::unique_ptr<Bitmap> measure = GraphicsFactory::Current().CreateBitmap(1, 1);
    Canvas& canvas = measure->GetCanvas();
    canvas.SetFont(fForm.ItemFont());
    const TProposalColumns* columns = &fForm.Columns();
    int widest = 0;
    for (int i = 0; i < ItemList().Count(); ++i) {
        const UnicodeString& item = ItemList()[i];
        int width = 0;
        if (fForm.DisplayKind() == ctParams) {
            // The item is widest with one of its parameters in bold.
            const int parameters = int(std::count(item.begin(), item.end(), u',')) + 1;
            for (int k = 0; k < parameters; ++k)
                width = std::max(width, FormattedTextWidth(canvas, FormatParameterList(item, k), columns, fForm.Images()));
            if (fForm.OnMeasureItem) fForm.OnMeasureItem(&fForm, i, canvas, width);
        } else {
            width = FormattedTextWidth(canvas, item, columns, fForm.Images());
        }
        widest = std::max(widest, width);
    }
    return widest;
}

void TNibCompletionProposal::AcceptFromPopup(TObject* Sender, TShiftState Shift, char16_t EndToken)
{
    TCustomNibEdit* edit = CurrentEdit();
    if (!edit) return;
    edit->BeginUpdate();
    edit->BeginUndoBlock();
    const TBufferCoord caret = edit->CaretXY();
    edit->SetBlockBegin({fCompletionStart, caret.Line});
    edit->SetBlockEnd(EndToken != 0 ? caret : WordEndEx(edit->Lines(), *edit, caret));

    const int position = fForm.Position();
    UnicodeString value = edit->SelText();
    const bool allowed = fOptions.Contains(scoEndCharCompletion) || EndToken == 0;
    if (allowed && position >= 0) {
        if (!fOptions.Contains(scoUseInsertList)) {
            if (position < fForm.AssignedCount()) value = fForm.AssignedItem(position);
        } else {
            const int index = fOptions.Contains(scoLimitToMatchedText)
                                  ? (position < fForm.AssignedCount() ? fForm.AssignedIndex(position) : -1)
                                  : position;
            if (index >= 0 && index < InsertList().Count()) value = InsertList()[index];
        }
    }
    const int physical = fForm.LogicalToPhysicalIndex(position);
    if (OnCodeCompletion) OnCodeCompletion(this, value, Shift, physical, EndToken);
    if (edit->SelText() != value) edit->SetSelText(value);
    HideStep();
    edit->SetFocus();
    edit->SetCaretXY(edit->BlockEnd());
    if (OnAfterCodeCompletion) OnAfterCodeCompletion(this, value, Shift, physical, EndToken);
    edit->EndUndoBlock();
    edit->EndUpdate();
}

void TNibCompletionProposal::ForwardPopupChar(TObject* Sender, char16_t& Key)
{
    TCustomNibEdit* edit = CurrentEdit();
    if (!edit) return;
    edit->CommandProcessor(ecChar, Key, nullptr);
    if (TriggerChars().find(Key) != UnicodeString::npos && !fForm.Visible()) {
        auto* sender = dynamic_cast<TCustomNibEdit*>(Sender);
        OpenForEditor(sender ? sender : edit);
    }
}

void TNibCompletionProposal::CancelFromPopup(TObject* Sender)
{
    fNoNextKey = false;
    if (TCustomNibEdit* edit = CurrentEdit()) {
        DeactivateTimer();
        if (fForm.Visible()) fForm.Deactivate();
        edit->SetFocus();
    }
    Fire(OnCancelled, this);
}

void TNibCompletionProposal::HideStep()
{
    DeactivateTimer();
    fNoNextKey = false;
    if (fForm.Visible()) fForm.Deactivate();
}
