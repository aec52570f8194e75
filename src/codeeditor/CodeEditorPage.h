#pragma once
// The Code Editor page of the main window: the Forth source in the editor, its ".blk" and ".pairs"
// companions, the hand-over of its blocks to the Block Manager, its completion words, local words
// and highlighting, and its editing actions. The main window owns one and shows its editor and
// status bar.
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "editor/NibCompletionProposal.h"
#include "editor/NibEdit.h"
#include "editor/NibEditSearch.h"
#include "highlighter/NibHighlighterTavlo.h"
#include "platform/Actions.h"
#include "platform/Dialogs.h"
#include "platform/MainLoop.h"
#include "platform/StringList.h"
#include "settings/ConfigUnit.h"

class TBlockManager;

/// Options of the find and replace dialogs.
enum TFindOption : std::uint8_t { frDown, frMatchCase, frWholeWord, frReplace, frReplaceAll, frHideUpDown };
using TFindOptions = TNibSet<TFindOption>;

/// What a find or replace dialog holds: the texts the user gave and the options ticked.
struct TFindDialogData {
    UnicodeString FindText;
    UnicodeString ReplaceText;
    TFindOptions Options;
};

/// What the page shows through its widgets.
class TCodeEditorView {
public:
    virtual ~TCodeEditorView() = default;
    /// A panel of the page's status bar got a new text.
    virtual void StatusChanged(int Panel, const UnicodeString& Text) = 0;
    /// Shows the find dialog, or the replace dialog, without blocking; its buttons update the
    /// data and call the page's dialog events.
    virtual void ShowFindDialog(TFindDialogData& Dialog) = 0;
    virtual void ShowReplaceDialog(TFindDialogData& Dialog) = 0;
};

/// The status bar's panels as designed; panel 6 shows the file name.
inline constexpr const char16_t* CodeStatusDesign[] = {u"Line", u"--", u"Col", u"--", u"Modified", u"",
                                                         u"(none)"};

class TCodeEditorPage : public TObject {
public:
    /// What the page needs of the main window.
    struct THost {
        /// The Code Editor page is the one shown.
        std::function<bool()> PageActive;
        /// The window's position and size on the screen, to centre dialogs over it.
        std::function<TRect()> WindowBounds;
    };

    TCodeEditorPage(TBlockManager& BlockManager, THost Host);
    ~TCodeEditorPage() override;

    void SetView(TCodeEditorView* View) { fView = View; }

    /// The editor of the page.
    TNibEdit ScriptEdit;
    /// Full name of the source file; empty for none.
    UnicodeString CodeEditCurrentFileName;
    /// The document's paired words; exists while the main window lives.
    std::unique_ptr<TStringList> CodeEditPairedWordsList;
    /// What the last search gave (0: nothing found, or no search yet) and what it looked for.
    int fCodeEditLastSearchResult = 0;
    UnicodeString fCodeEditLastSearchStr;

    /// The completion list of the editor, filled with the completion words.
    TNibCompletionProposal NibCompletionProposal1;

    /// Restarted by every edit; its tick rescans the local words.
    TTimer CodeHighliteTimer;

    /// Creates the Forth highlighter and attaches it to the editor.
    void CreateHighlighter();
    TNibTavloHighlighter* Highlighter() const { return fNibTavloHighlighter.get(); }

    /// The page is shown, the editor has the focus and is not read-only.
    bool CodeEditorActive() const;
    bool HasLines() const { return ScriptEdit.Lines().Count() > 0; }

    // Files.
    /// Asks whether to save a changed document: true when it may go (no change, No, or Yes with a
    /// completed save); then empties the editor, the paired words and the local words.
    bool QueryCloseEditorFile();
    void ShowEditorFileName();
    /// Saves the document under Name with its block file and paired words; nothing for an empty
    /// name. False, with an error shown and the document's name and state kept, when a file
    /// cannot be written.
    bool SaveEditorFile(const UnicodeString& Name, bool ClearModified);
    /// The editor text as 8-bit bytes, as it is saved.
    std::string EditorText() const;
    /// The editor text converted into blocks with the document's paired words.
    std::string ConvertEditorText(const UnicodeString& Caption, bool CompileStartsLine, bool WordWrap,
                                  bool CaptionAllBlocks, bool CaptionPrintableAll) const;
    /// The blocks of the document with the caption and layout options in force.
    std::string EditorToBlockStream() const;
    /// Hands the converted blocks to the Block Manager when its close question allows, and names
    /// its file after the source.
    void TransformToBlockEditor();
    /// Shows the paired-words dialog; a changed list marks the document modified.
    void EditPairedWords();

    // Completion words, local words and highlighting.
    /// Fills the completion lists from the word file beside the program, then applies the
    /// highlight options.
    void LoadCompletionWords();
    void ApplyEditorHighlightOptions();
    /// The editor's share of applying the options: font, tab width and colours; the completion
    /// list takes the editor's font.
    void ApplyTermOptions();
    /// The editor's share of collecting the options: font and tab width.
    void CollectTermOptions(TConfigTermOptions& Options) const;
    /// Rescans the names the document defines and gives them to the highlighter.
    void UpdateLocalWords();

    /// The 500 ms refresh of the caret position and the modified mark.
    void Timer1Timer();

    // Find and replace.
    /// The search engine the editor searches with.
    TNibEditSearch NibEditSearch1;
    TFindDialogData FindDialog1{{}, {}, {frDown}};
    /// The replace dialog shows no direction: it searches down.
    TFindDialogData ReplaceDialog1{{}, {}, {frDown}};
    /// Finds the next match from the caret, or inside an unrelated selection; true when found.
    bool EditorFind(const UnicodeString& Text, bool MatchCase, bool Backwards, bool WholeWord);
    /// Replaces the next match, or every match; true when one was found.
    bool EditorReplace(const UnicodeString& Text, const UnicodeString& ReplaceText, bool Backwards, bool WholeWord,
                       bool MatchCase, bool ReplaceAll);
    /// The dialogs' buttons: find next, and replace (once or all); a miss beeps.
    void FindDialog1Find();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace();

    /// Adds the page's actions to the list.
    void CreateActions(TActionList& List);
    TAction* EditorNewAct = nullptr;
    TAction* EditorOpenFileAct = nullptr;
    TAction* EditorSaveFileAct = nullptr;
    TAction* EditorSaveAsFileAct = nullptr;
    TAction* EditorTransToBlockEditAct = nullptr;
    TAction* EditorEditPairedWordsAct = nullptr;
    TAction* UpdateLocalWordsAct = nullptr;
    TAction* EditorCopyAct = nullptr;
    TAction* EditorCutAct = nullptr;
    TAction* EditorPasteAct = nullptr;
    TAction* EditorUndoAct = nullptr;
    TAction* EditorRedoAct = nullptr;
    TAction* EditorSelectAllAct = nullptr;
    TAction* EditorFindAct = nullptr;
    TAction* EditorReplaceAct = nullptr;
    TAction* EditIndentLinesAct = nullptr;
    TAction* EditOutdentLinesAct = nullptr;
    TAction* AutoIndentAct = nullptr;

    /// The options object of the main window; set once it exists.
    const TConfigTermOptions* Options = nullptr;

private:
    void ShowStatus(int Panel, const UnicodeString& Text);
    void ScriptEditChange();
    void CodeHighliteTimerTimer();
    /// The save dialog's choice; empty when cancelled.
    UnicodeString AskSaveFileName();

    void EditorNewActExecute();
    void EditorNewActUpdate();
    void EditorOpenFileActExecute();
    void EditorOpenFileActUpdate();
    void EditorSaveFileActExecute();
    void EditorSaveFileActUpdate();
    void EditorSaveAsFileActExecute();
    void EditorSaveAsFileActUpdate();
    void EditorTransToBlockEditActUpdate();
    void EditorEditPairedWordsActUpdate();
    /// Adds the editing actions: clipboard, undo, find, indent and auto-indent.
    void CreateEditingActions(TActionList& List);
    /// The selection is what the last successful search found.
    bool SelectionIsPreviousMatch(const UnicodeString& Text, bool MatchCase) const;
    /// Collapses a selection that is the previous match, so that the search moves past it.
    void SkipPreviousMatch(const UnicodeString& Text, bool MatchCase, bool Backwards);
    /// Finishes a search: remembers the result and the text.
    bool SearchDone(int Result, const UnicodeString& Text);
    /// Shifts the selected lines by one blank, whatever the tab width.
    void IndentByOneColumn(bool Outdent);

    TBlockManager& fBlockManager;
    THost fHost;
    /// The open document's ".pairs" file that was there but could not be read: its words are not
    /// in the list, so no save deletes or replaces it.
    UnicodeString fUnreadPairsFileName;
    /// False while the text comes from a file that its encoding could not read exactly
    /// (DecodesExactly) and has not been saved since: the next save asks first.
    bool fLoadedExactly = true;
    TCodeEditorView* fView = nullptr;
    std::unique_ptr<TNibTavloHighlighter> fNibTavloHighlighter;
    /// The local words as the last rescan found them, in the document's order: an edit that
    /// leaves them as they were costs no sort and no repaint.
    std::vector<UnicodeString> fFoundLocalWords;
};
