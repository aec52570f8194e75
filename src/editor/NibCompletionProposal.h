#pragma once
// The editor's completion list: opens on a shortcut or shortly after a trigger character, filters
// by the word before the caret, and on acceptance replaces that word in one undo step.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>
#include "editor/NibCompletionDesktop.h"
#include "editor/NibCompletionEditAdapter.h"
#include "editor/NibCompletionPopup.h"
#include "editor/NibEdit.h"
#include "platform/MainLoop.h"
#include "platform/ShortCut.h"

/// Bits of TNibCompletionOptions.
enum TNibCompletionOption : std::uint16_t {
    scoCaseSensitive = 1,
    scoLimitToMatchedText = 2,
    scoTitleIsCentered = 4,
    scoUseInsertList = 8,
    scoUsePrettyText = 16,
    scoUseBuiltInTimer = 32,
    scoEndCharCompletion = 64,
    scoConsiderWordBreakChars = 128,
    scoCompleteWithTab = 256,
    scoCompleteWithEnter = 512
};
using TNibCompletionOptions = std::uint16_t;
constexpr TNibCompletionOptions NibDefaultCompletionOptions =
    scoLimitToMatchedText | scoEndCharCompletion | scoCompleteWithTab | scoCompleteWithEnter;

/// Before a list opens: may change the input, the position and whether it opens at all.
using TCompletionExecute = std::function<void(NibCompletionType Kind, TObject* Sender, UnicodeString& CurrentInput,
                                              int& x, int& y, bool& CanExecute)>;
/// Before an accepted item replaces the word: may change the text that goes in.
using TCodeCompletionEvent =
    std::function<void(TObject* Sender, UnicodeString& Value, TShiftState Shift, int Index, char16_t EndToken)>;
using TAfterCodeCompletionEvent = std::function<void(TObject* Sender, const UnicodeString& Value, TShiftState Shift,
                                                     int Index, char16_t EndToken)>;

/// The popup with its lists, its options and the opening step; knows nothing of key hooks.
class TNibBaseCompletionProposal : public TObject {
public:
    TNibBaseCompletionProposal();
    ~TNibBaseCompletionProposal() override;
    TNibBaseCompletionProposal(const TNibBaseCompletionProposal&) = delete;
    TNibBaseCompletionProposal& operator=(const TNibBaseCompletionProposal&) = delete;

    TNibBaseCompletionProposalForm& Form() const { return *FForm; }
    /// Not owned; without one, client points count as screen points on an unbounded screen.
    void SetDesktop(TNibCompletionDesktop* Value) { FDesktop = Value; }

    void Execute(const UnicodeString& s, int x, int y) { ExecuteEx(s, x, y, DefaultType()); }
    /// Opens the popup of a kind at a screen point with s as the filter, unless OnExecute refuses
    /// or there are no items.
    virtual void ExecuteEx(UnicodeString s, int x, int y, NibCompletionType Kind);
    void Activate() { FForm->Activate(); }
    void Deactivate() { FForm->Deactivate(); }

    void ClearList();
    void AddItem(const UnicodeString& DisplayText, const UnicodeString& InsertText);
    /// Throws std::runtime_error when Where is no position of either list.
    void AddItemAt(int Where, const UnicodeString& DisplayText, const UnicodeString& InsertText);
    UnicodeString DisplayItem(int AIndex) const { return ItemList()[AIndex]; }
    UnicodeString InsertItem(int AIndex) const { return InsertList()[AIndex]; }
    void ResetAssignedList() { FForm->ResetAssignedList(); }
    /// Whether c ends the word being completed.
    bool IsCompletionBreakChar(char16_t c) const;
    virtual void CloseParameterHint() {}

    NibCompletionType DefaultType() const { return FForm->DefaultKind(); }
    void SetDefaultType(NibCompletionType Value);
    TNibCompletionOptions Options() const { return FOptions; }
    virtual void SetOptions(TNibCompletionOptions Value);
    TStringList& ItemList() const { return FForm->ItemList(); }
    TStringList& InsertList() const { return FForm->InsertList(); }
    int NbLinesInWindow() const { return FNbLinesInWindow; }
    void SetNbLinesInWindow(int Value) { FNbLinesInWindow = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    const UnicodeString& EndOfTokenChr() const { return FForm->EndOfTokenChr(); }
    void SetEndOfTokenChr(const UnicodeString& Value) { FForm->SetEndOfTokenChr(Value); }
    const UnicodeString& TriggerChars() const { return FForm->TriggerChars(); }
    void SetTriggerChars(const UnicodeString& Value) { FForm->SetTriggerChars(Value); }
    void SetFont(const TFont& Value) { FForm->SetItemFont(Value); }
    void SetTitleFont(const TFont& Value) { FForm->SetTitleFont(Value); }
    void SetTitle(const UnicodeString& Value) { FForm->SetTitle(Value); }

    const UnicodeString& CurrentString() const { return FForm->CurrentString(); }
    int Position() const { return FForm->Position(); }
    NibCompletionType DisplayType() const { return FForm->DisplayKind(); }
    const UnicodeString& PreviousToken() const { return FPreviousToken; }
    /// Characters of the input left of the point where the popup's text should line up.
    int DotOffset() const { return FDotOffset; }
    void SetDotOffset(int Value) { FDotOffset = Value; }

    TCompletionExecute OnExecute;
    /// After the popup shows (Sender is the form), and after it hides.
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    TCustomNibEdit* CurrentEdit() const { return CompletionEdit(FForm->CurrentEditor()); }
    TPoint ClientToScreen(const Control& AControl, TPoint P) const;
    TPoint MousePos() const;
    bool ApplicationActive() const;

    std::unique_ptr<TNibBaseCompletionProposalForm> FForm;
    TNibCompletionDesktop* FDesktop = nullptr;
    UnicodeString FPreviousToken;
    int FDotOffset = 0;
    TNibCompletionOptions FOptions = 0;
    bool FCanExecute = false;

private:
    /// Sizes the popup for its kind and keeps it on the screen, below the line or else above it.
    void PlacePopup(int x, int y, NibCompletionType Kind);
    int HintWidth(NibCompletionType Kind) const;
    void FormHidden();

    int FWidth = 260;
    int FNbLinesInWindow = 8;
};

/// The completion list attached to editors through their key and command hooks.
class TNibCompletionProposal : public TNibBaseCompletionProposal {
public:
    TNibCompletionProposal();
    ~TNibCompletionProposal() override;

    /// Attaches an editor: the shortcut and trigger characters of its keys open the list.
    void AddEditor(TCustomNibEdit& AEditor);
    void RemoveEditor(TCustomNibEdit& AEditor);
    int EditorsCount() const { return int(fEditors.size()); }
    TCustomNibEdit* Editor() const { return FEditor; }
    /// The editor that ActivateCompletion opens the list for; the old one is removed.
    void SetEditor(TCustomNibEdit* Value);

    void ActivateCompletion() { OpenForEditor(FEditor); }
    void CancelCompletion();
    void ActivateTimer(TCustomNibEdit& AEditor);
    void DeactivateTimer();
    /// Opens the list for an attached editor with the word before its caret as the filter.
    virtual void OpenForEditor(TCustomNibEdit* AEditor);

    void ExecuteEx(UnicodeString s, int x, int y, NibCompletionType Kind) override;
    void SetOptions(TNibCompletionOptions Value) override;
    void CloseParameterHint() override;

    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value) { FShortCut = Value; }
    int TimerInterval() const { return FTimerInterval; }
    void SetTimerInterval(int Value);
    bool TimerEnabled() const { return FTimer && FTimer->Enabled(); }
    /// Where the word being completed starts in the caret line (1-based).
    int CompletionStart() const { return FCompletionStart; }

    TCodeCompletionEvent OnCodeCompletion;
    TAfterCodeCompletionEvent OnAfterCodeCompletion;
    TNotifyEvent OnCancelled;

private:
    struct TAttachedEditor {
        TCustomNibEdit* Edit;
        std::unique_ptr<TNibCompletionEditAdapter> Adapter;
    };
    TNibCompletionEditAdapter* AdapterOf(const TObject* AEditor) const;
    /// An attached editor that is being destroyed is removed.
    void EditorFreed(TObject* Sender);

    void ShortcutKeyHook(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    void TriggerKeyHook(TObject* Sender, char16_t& Key);
    void EditorCommandHook(TObject* Sender, bool AfterProcessing, bool& Handled, TNibEditorCommand& Command,
                           char16_t& AChar, void* Data, void* HandlerData);
    void TimerFired();
    /// The word before the caret, which becomes the filter; sets where the completion starts.
    UnicodeString CurrentInput(const TCustomNibEdit& AEditor);
    UnicodeString PreviousWord(const TCustomNibEdit& AEditor) const;
    void AcceptFromPopup(TObject* Sender, TShiftState Shift, char16_t EndToken);
    /// The text an accepted item puts in place of the selected one.
    UnicodeString AcceptedValue(const UnicodeString& Selected, char16_t EndToken) const;
    void ForwardPopupChar(TObject* Sender, char16_t& Key);
    void CancelFromPopup(TObject* Sender);
    /// Stops the timer and hides an open popup.
    void HideStep();

    std::vector<TAttachedEditor> fEditors;
    TShortCut FShortCut = scCtrl | VK::SPACE;
    /// Set while the character that came with the shortcut is still to be dropped.
    bool FNoNextKey = false;
    int FCompletionStart = 0;
    bool FAdjustCompletionStart = false;
    std::unique_ptr<TTimer> FTimer;
    int FTimerInterval = 1000;
    TCustomNibEdit* FEditor = nullptr;
};
