// The Code Editor's document: new, open, save, the question before changes are lost, the hand-over
// of its blocks to the Block Manager and the paired-words dialog.
#include <sstream>
#include "app/ProgramForms.h"
#include "blocks/BlockManager.h"
#include "codeeditor/CodeEditorPage.h"
#include "codeeditor/CompanionFiles.h"
#include "codeeditor/EditPairsDlg.h"
#include "codeeditor/TextToBlock.h"
#include "platform/AnsiLossQuestion.h"
#include "platform/FileReplacement.h"
#include "platform/Folders.h"

namespace {

TFileDialogRequest OpenDialog()
{
    return {u"Open Block or Text  File", u"Forth Text File|*.forth|Text File|*.txt|Any File|*.*", u".forth", {}, {}};
}

TFileDialogRequest SaveDialog()
{
    return {u"Save To Forth Text File", u"Forth Text File|*.forth|Text File|*.txt", u".forth", {}, {}};
}

void ShowError(const UnicodeString& text)
{
    Dialogs::Current().MessageBox(u"Error", text, TMsgDlgType::mtError, TMsgButtons::OK);
}

/// Something is there under the name, but its bytes cannot be read (no permission, a folder).
bool ExistsUnreadable(const UnicodeString& FileName)
{
    std::string bytes;
    return (FileExists(FileName) || DirectoryExists(FileName)) && !ReadFileBytes(FileName, bytes);
}

bool SameStrings(const TStringList& A, const TStringList& B)
{
    if (A.Count() != B.Count()) return false;
    for (int i = 0; i < A.Count(); ++i)
        if (A[i] != B[i]) return false;
    return true;
}

}  // namespace

bool TCodeEditorPage::QueryCloseEditorFile()
{
    bool result = true;
    if (ScriptEdit.Modified()) {
        switch (Dialogs::Current().MessageBox(u"Confirm", u"Code editor contents have changed, save changes?",
                                              TMsgDlgType::mtConfirmation, TMsgButtons::YesNoCancel)) {
        case TModalResult::mrNo: break;
        case TModalResult::mrYes:
            EditorSaveFileActExecute();
            result = !ScriptEdit.Modified();
            break;
        default: result = false; break;
        }
    }
    if (result) {
        ScriptEdit.Lines().Clear();
        ScriptEdit.Lines().SetEncoding(TTextEncoding::Ansi);
        // The text that was changed is gone: an empty editor has nothing to save.
        ScriptEdit.SetModified(false);
        CodeEditPairedWordsList->Clear();
        fUnreadPairsFileName.clear();
        fLoadedExactly = true;
        // Through the notice, so that the names a load then finds need no rescan of every line.
        if (fNibTavloHighlighter) fNibTavloHighlighter->ReplaceLocalWords({});
        fFoundLocalWords.clear();
    }
    return result;
}

std::string TCodeEditorPage::EditorText() const
{
    std::ostringstream stream;
    ScriptEdit.Lines().SaveToStream(stream);
    return std::move(stream).str();
}

std::string TCodeEditorPage::ConvertEditorText(const UnicodeString& Caption, bool CompileStartsLine, bool WordWrap,
                                               bool CaptionAllBlocks, bool CaptionPrintableAll) const
{
    return ConvertTextToBlocks(Caption, EditorText(), CompileStartsLine, WordWrap, CaptionAllBlocks,
                               CaptionPrintableAll, *CodeEditPairedWordsList);
}

std::string TCodeEditorPage::EditorToBlockStream() const
{
    const int captions = Options->EditorCaptionBlocks;
    const UnicodeString caption = captions > 0 ? ExtractFileName(CodeEditCurrentFileName) : UnicodeString();
    return ConvertEditorText(caption, Options->EditCompileStartsLine, Options->EditWordWrapBlockFile, captions >= 2,
                             captions >= 3);
}

void TCodeEditorPage::TransformToBlockEditor()
{
    if (!fBlockManager.LoadBlockStream(EditorToBlockStream())) return;
    // An unnamed document gives no name: the Block Manager then asks for one when it saves.
    fBlockManager.BlockEditCurrentFileName =
        CodeEditCurrentFileName.empty() ? UnicodeString() : BlockFileNameOf(CodeEditCurrentFileName);
    fBlockManager.ShowBlockFileName();
}

bool TCodeEditorPage::SaveEditorFile(const UnicodeString& Name, bool ClearModified)
{
    if (Name.empty()) return false;
    const UnicodeString pairs = PairsFileNameOf(Name);
    // Words that were never read are not known to be gone: that file stays as it is.
    const bool keepPairs = pairs == fUnreadPairsFileName || ExistsUnreadable(pairs);
    const bool writePairs = !keepPairs && (CodeEditPairedWordsList->Count() > 0 || FileExists(pairs));
    // The source and its companions go together: none is written while one of them may not be.
    for (const UnicodeString& file : {Name, BlockFileNameOf(Name), pairs}) {
        const UnicodeString refusal = file == pairs && !writePairs ? UnicodeString() : BeginSave(file);
        if (refusal.empty()) continue;
        ShowError(u"Cannot save file \"" + Name + u"\": " + refusal);
        return false;
    }
    // A document read without a byte-order mark, or a new one, is written as 8-bit text.
    const TNibEditStringList& lines = ScriptEdit.Lines();
    if (lines.Encoding() == TTextEncoding::Ansi && !AllowAnsiLoss(lines.Text())) return false;
    if (!fLoadedExactly && !AllowUndecodedByteLoss()) return false;
    UnicodeString error;
    if (!lines.SaveToFile(Name, &error)) {
        ShowError(u"Cannot save file \"" + Name + u"\": " + error);
        return false;
    }
    fLoadedExactly = true;
    CodeEditCurrentFileName = Name;
    ShowEditorFileName();
    if (ClearModified) ScriptEdit.SetModified(false);
    error = SaveFileSafely(BlockFileNameOf(Name), EditorToBlockStream());
    if (error.empty()) {
        if (keepPairs) {
            if (CodeEditPairedWordsList->Count() > 0)
                error = u"\"" + pairs + u"\" could not be read and is kept, so the paired words are not saved";
        } else if (CodeEditPairedWordsList->Count() == 0) {
            // A folder the user may not write keeps the file: emptied, it says what no file would.
            if (FileExists(pairs) && !DeleteFile(pairs)) error = SaveFileSafely(pairs, {});
        } else {
            CodeEditPairedWordsList->SaveToFile(pairs, &error);
        }
    }
    if (error.empty()) return true;
    // The source is saved, but its companions are not what it says: it counts as unsaved.
    ScriptEdit.SetModified(true);
    ShowError(u"Cannot save the companion files of \"" + Name + u"\": " + error);
    return false;
}

UnicodeString TCodeEditorPage::AskSaveFileName() { return Dialogs::Current().SaveFile(SaveDialog()); }

void TCodeEditorPage::EditorNewActExecute()
{
    if (!QueryCloseEditorFile()) return;
    CodeEditCurrentFileName.clear();
    ShowEditorFileName();
}

void TCodeEditorPage::EditorNewActUpdate()
{
    EditorNewAct->Enabled = (CodeEditorActive() && HasLines()) || ScriptEdit.Modified();
}

void TCodeEditorPage::EditorOpenFileActExecute()
{
    const UnicodeString name = Dialogs::Current().OpenFile(OpenDialog());
    if (name.empty() || !QueryCloseEditorFile()) return;
    std::string bytes;
    UnicodeString error;
    const bool loaded = ReadFileBytes(name, bytes, &error);
    if (loaded) {
        ScriptEdit.Lines().LoadFromBytes(bytes);
        fLoadedExactly = DecodesExactly(bytes);
    }
    ScriptEdit.SetModified(false);
    // After a failed read the editor is empty: keeping the old name would let a save overwrite that file.
    CodeEditCurrentFileName = loaded ? name : UnicodeString();
    ShowEditorFileName();
    if (!loaded) {
        ShowError(error);
        return;
    }
    const UnicodeString pairs = PairsFileNameOf(name);
    if ((FileExists(pairs) || DirectoryExists(pairs)) && !CodeEditPairedWordsList->LoadFromFile(pairs)) {
        fUnreadPairsFileName = pairs;
        ShowError(u"Cannot read the paired words from \"" + pairs +
                  u"\". The file is kept as it is: saving the document does not replace it.");
    }
    UpdateLocalWordsAct->Execute();
}

void TCodeEditorPage::EditorOpenFileActUpdate() { EditorOpenFileAct->Enabled = CodeEditorActive(); }

void TCodeEditorPage::EditorSaveFileActExecute()
{
    UnicodeString name = CodeEditCurrentFileName;
    if (name.empty()) name = AskSaveFileName();
    SaveEditorFile(name, true);
}

void TCodeEditorPage::EditorSaveFileActUpdate()
{
    EditorSaveFileAct->Enabled = CodeEditorActive() && HasLines() && ScriptEdit.Modified();
}

void TCodeEditorPage::EditorSaveAsFileActExecute() { SaveEditorFile(AskSaveFileName(), true); }

void TCodeEditorPage::EditorSaveAsFileActUpdate() { EditorSaveAsFileAct->Enabled = CodeEditorActive() && HasLines(); }

void TCodeEditorPage::EditorTransToBlockEditActUpdate() { EditorTransToBlockEditAct->Enabled = HasLines(); }

void TCodeEditorPage::EditorEditPairedWordsActUpdate() { EditorEditPairedWordsAct->Enabled = HasLines(); }

void TCodeEditorPage::EditPairedWords()
{
    if (!EditPairsForm) return;
    EditPairsForm->CentreOn(fHost.WindowBounds());
    EditPairsForm->SetItems(*CodeEditPairedWordsList);
    if (EditPairsForm->ShowModal() != TModalResult::mrOk) return;
    const TStringList& items = EditPairsForm->Items();
    if (SameStrings(items, *CodeEditPairedWordsList)) return;
    CodeEditPairedWordsList->Clear();
    for (int i = 0; i < items.Count(); ++i) CodeEditPairedWordsList->Add(items[i]);
    if (HasLines()) ScriptEdit.SetModified(true);
}
