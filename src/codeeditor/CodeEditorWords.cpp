// The Code Editor's vocabulary: completion words from the word file, the keyword list and colours
// of the highlighter, and the local words rescanned after edits.
#include "codeeditor/CodeEditorPage.h"
#include "codeeditor/CompletionWords.h"
#include "codeeditor/HighlightOptions.h"
#include "codeeditor/LocalWords.h"

void TCodeEditorPage::LoadCompletionWords()
{
    NibCompletionProposal1.ClearList();
    LoadCompletionWordFile(ForthWordsFileName(), NibCompletionProposal1.InsertList(), NibCompletionProposal1.ItemList());
    ApplyEditorHighlightOptions();
}

void TCodeEditorPage::ApplyEditorHighlightOptions()
{
    if (fNibTavloHighlighter && Options)
        ::ApplyEditorHighlightOptions(*Options, NibCompletionProposal1.InsertList(), *fNibTavloHighlighter);
}

void TCodeEditorPage::UpdateLocalWords()
{
    if (!fNibTavloHighlighter) return;
    if (!ScanLocalWords(ScriptEdit.Lines(), *CodeEditPairedWordsList, fFoundLocalWords)) return;
    // The editors repaint only when the set of words changed, not merely their order.
    fNibTavloHighlighter->ReplaceLocalWords(fFoundLocalWords);
}

void TCodeEditorPage::ScriptEditChange()
{
    CodeHighliteTimer.SetEnabled(false);
    CodeHighliteTimer.SetEnabled(true);
}

void TCodeEditorPage::CodeHighliteTimerTimer()
{
    CodeHighliteTimer.SetEnabled(false);
    UpdateLocalWordsAct->Execute();
}

void TCodeEditorPage::ApplyTermOptions()
{
    TFont font = ScriptEdit.Font();
    // A settings file without the editor's font keeps the designed one.
    if (!Options->EditFontFace.empty()) font.Name = Options->EditFontFace;
    if (Options->EditFontSize > 0) font.SetSize(Options->EditFontSize);
    if (Options->EditorUseSyntaxHighlighting) {
        ScriptEdit.SetColor(Options->EditorBgColor);
        font.Color = Options->EditorCommentColor;
    } else {
        ScriptEdit.SetColor(clWindow);
        font.Color = clWindowText;
    }
    ScriptEdit.SetFont(font);
    ScriptEdit.SetTabWidth(Options->EditorTabSize);
    NibCompletionProposal1.SetFont(ScriptEdit.Font());
}

void TCodeEditorPage::CollectTermOptions(TConfigTermOptions& Target) const
{
    Target.EditFontFace = ScriptEdit.Font().Name;
    Target.EditFontSize = ScriptEdit.Font().Size();
    Target.EditorTabSize = ScriptEdit.TabWidth();
}
