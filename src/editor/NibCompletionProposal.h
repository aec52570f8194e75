#pragma once
// The completion list of the editor: it hooks the keys and commands of the editors attached to it,
// opens its popup on a shortcut or shortly after a trigger character with the word before the caret
// as filter, and on acceptance replaces that word inside one undo block.
#include <functional>
#include <memory>
#include <vector>
#include "editor/NibCompletionPopup.h"
#include "editor/NibEdit.h"
#include "platform/MainLoop.h"
#include "platform/ShortCut.h"

/// Bit i stands for member i (bit values 1, 2, 4, ... 512).
enum TNibCompletionOption : std::uint8_t {
    scoCaseSensitive, scoLimitToMatchedText, scoTitleIsCentered, scoUseInsertList, scoUsePrettyText,
    scoUseBuiltInTimer, scoEndCharCompletion, scoConsiderWordBreakChars, scoCompleteWithTab, scoCompleteWithEnter,
};
using TNibCompletionOptions = TNibSet<TNibCompletionOption, std::uint16_t>;
/// Limit to matched text, end-character completion, complete with Tab and with Enter.
inline constexpr TNibCompletionOptions NibDefaultCompletionOptions = TNibCompletionOptions::FromBits(0x342);

using TCompletionExecute = std::function<void(NibCompletionType Kind, TObject* Sender, UnicodeString& CurrentInput,
                                              int& x, int& y, bool& CanExecute)>;
using TCodeCompletionEvent =
    std::function<void(TObject* Sender, UnicodeString& Value, TShiftState Shift, int Index, char16_t EndToken)>;
using TAfterCodeCompletionEvent =
    std::function<void(TObject* Sender, const UnicodeString& Value, TShiftState Shift, int Index, char16_t EndToken)>;

class TNibCompletionProposal : public TObject {
public:
    TNibCompletionProposal();
    /// Cancels an open list and detaches every editor.
    ~TNibCompletionProposal() override;
    TNibCompletionProposal(const TNibCompletionProposal&) = delete;
    TNibCompletionProposal& operator=(const TNibCompletionProposal&) = delete;

    TNibBaseCompletionProposalForm& Form() { return fForm; }

    TNibCompletionOptions Options() const { return fOptions; }
    /// Copies the options into the popup; creates or frees the trigger timer.
    void SetOptions(TNibCompletionOptions Value);
    NibCompletionType DefaultType() const { return fDefaultType; }
    void SetDefaultType(NibCompletionType Value);
    TShortCut ShortCut = TShortCut(scCtrl | 0x20);
    int NbLinesInWindow = 8;
    /// The list's width in pixels.
    int Width = 260;
    /// Characters of the input that the list is moved left by.
    int DotOffset = 0;
    /// Thickness of the popup window's sizing frame; the host sets it.
    int SizingFrame = 0;
    const UnicodeString& EndOfTokenChr() const { return fForm.EndOfTokenChr(); }
    void SetEndOfTokenChr(const UnicodeString& Value) { fForm.SetEndOfTokenChr(Value); }
    const UnicodeString& TriggerChars() const { return fForm.TriggerChars(); }
    void SetTriggerChars(const UnicodeString& Value) { fForm.SetTriggerChars(Value); }
    int TimerInterval() const { return fTimerInterval; }
    void SetTimerInterval(int Value);

    TStringList& ItemList() { return fForm.ItemList(); }
    TStringList& InsertList() { return fForm.InsertList(); }
    void ClearList();
    void AddItem(const UnicodeString& DisplayText, const UnicodeString& InsertText);
    /// Throws std::runtime_error "Cannot insert item at position N." for a position out of range.
    void AddItemAt(int Where, const UnicodeString& DisplayText, const UnicodeString& InsertText);

    TCustomNibEdit* Editor() const { return fEditor; }
    /// Detaches the old editor and attaches the new one.
    void SetEditor(TCustomNibEdit* Value);
    /// Hooks the editor's keys and commands; an attached editor is left alone.
    void AddEditor(TCustomNibEdit& AEditor);
    /// Unhooks it; an open list of that editor is cancelled.
    void RemoveEditor(TCustomNibEdit& AEditor);
    int EditorsCount() const { return int(fEditors.size()); }

    /// Opens the list for Editor().
    void ActivateCompletion();
    void CancelCompletion();
    void Execute(const UnicodeString& s, int x, int y) { ExecuteEx(s, x, y, fDefaultType); }
    /// Shows the list of the given kind at screen position x, y, filtered by s.
    void ExecuteEx(UnicodeString s, int x, int y, NibCompletionType Kind);

    const UnicodeString& CurrentString() const { return fForm.CurrentString(); }
    const UnicodeString& PreviousToken() const { return fPreviousToken; }
    int CompletionStart() const { return fCompletionStart; }
    /// The editor's word-break test (with scoConsiderWordBreakChars), then EndOfTokenChr.
    bool IsCompletionBreakChar(char16_t c) const;

    TCompletionExecute OnExecute;
    TCodeCompletionEvent OnCodeCompletion;
    TAfterCodeCompletionEvent OnAfterCodeCompletion;
    TNotifyEvent OnCancelled;
    /// The screen position of a point in an editor's client area; without it, client positions.
    std::function<TPoint(TCustomNibEdit& Editor, TPoint ClientPoint)> ClientToScreen;
    /// The size of the virtual screen; without it, no limit.
    std::function<TSize()> ScreenSize;
    /// The program is the active one; without it, it is.
    std::function<bool()> ApplicationActive;

private:
    class TEditorLink;

    TEditorLink* LinkOf(const TCustomNibEdit* AEditor) const;
    TCustomNibEdit* CurrentEdit() const;
    void ShortcutKeyHook(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    void TriggerKeyHook(TObject* Sender, char16_t& Key);
    void EditorCommandHook(TObject* Sender, bool AfterProcessing, bool& Handled, TNibEditorCommand& Command,
                           char16_t& AChar, void* Data, void* HandlerData);
    void TimerFired();
    void ActivateTimer(TCustomNibEdit& AEditor);
    void DeactivateTimer();
    void OpenForEditor(TCustomNibEdit* AEditor);
    /// The word left of the caret; sets where the completion starts.
    UnicodeString CurrentInput(const TCustomNibEdit& AEditor);
    UnicodeString PreviousWord(const TCustomNibEdit& AEditor) const;
    /// The widest item of a hint, in the list's font.
    int HintTextWidth();
    /// Sizes the list for its kind and keeps it on the screen.
    void PlacePopup(int x, int y);
    void AcceptFromPopup(TObject* Sender, TShiftState Shift, char16_t EndToken);
    void ForwardPopupChar(TObject* Sender, char16_t& Key);
    void CancelFromPopup(TObject* Sender);
    void HideStep();

    TNibBaseCompletionProposalForm fForm;
    TNibCompletionOptions fOptions;
    NibCompletionType fDefaultType = ctCode;
    int fTimerInterval = 1000;
    std::unique_ptr<TTimer> fTimer;
    std::vector<std::unique_ptr<TEditorLink>> fEditors;
    TCustomNibEdit* fEditor = nullptr;
    UnicodeString fPreviousToken;
    int fCompletionStart = 0;
    bool fAdjustCompletionStart = false;
    bool fNoNextKey = false;
    bool fCanExecute = false;
};
