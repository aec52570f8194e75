// The Block Manager's files: open, save, save as, new and the question before changes are lost.
#include "blocks/BlockFile.h"
#include "blocks/BlockLines.h"
#include "blocks/BlockManager.h"
#include "platform/AnsiLossQuestion.h"
#include "platform/Dialogs.h"
#include "platform/FileReplacement.h"

namespace {

TFileDialogRequest OpenDialog()
{
    return {u"Open Block or Text  File", u"Forth Block File|*.blk|Forth Text File|*.forth|Text File|*.txt|Any File|*.*",
            u"blk", {}, {}};
}

TFileDialogRequest SaveDialog()
{
    return {u"Save To Block or Text File", u"Text File|*.txt|Forth Block FIle|*.blk", u".txt", {}, {}};
}

void ShowError(const UnicodeString& text)
{
    Dialogs::Current().MessageBox(u"Error", text, TMsgDlgType::mtError, TMsgButtons::OK);
}

}  // namespace

bool TBlockManager::QueryCloseBlockFile()
{
    // What is being typed counts as a change too.
    if (DrawGrid1.EditorMode()) DrawGrid1.SetEditorMode(false);
    bool result = true;
    if (Modified()) {
        switch (Dialogs::Current().MessageBox(u"Confirm", u"Block editor contents have changed, save changes?",
                                              TMsgDlgType::mtConfirmation, TMsgButtons::YesNoCancel)) {
        case TModalResult::mrNo: break;
        case TModalResult::mrYes:
            BlockEdSaveFileActExecute();
            result = !Modified();
            break;
        default: result = false; break;
        }
    }
    UpdateBlockStatus();
    return result;
}

void TBlockManager::ReplaceLines(TStringList Lines)
{
    BlockEditData = std::move(Lines);
    BlockEditUndoList.Clear();
    DrawGrid1.SetRowCount(1);
    DrawGrid1.SetRow(0);
    SyncGrid();
}

bool TBlockManager::LoadBlockStream(std::string_view Bytes)
{
    if (!QueryCloseBlockFile()) return false;
    TStringList lines;
    ReadBlockStream(Bytes, lines);
    WrapBlockLines(lines);
    ReplaceLines(std::move(lines));
    return true;
}

bool TBlockManager::LoadBlockFile(const UnicodeString& FileName)
{
    if (!QueryCloseBlockFile()) return false;
    // Read into a list of its own: a file that cannot be read leaves the lines as they are.
    TStringList lines;
    UnicodeString error;
    if (!LoadBlockFileLines(FileName, lines, &error)) {
        ShowError(error);
        return false;
    }
    WrapBlockLines(lines);
    ReplaceLines(std::move(lines));
    return true;
}

bool TBlockManager::LoadBlockTextFile(const UnicodeString& FileName)
{
    if (!QueryCloseBlockFile()) return false;
    TStringList lines;
    UnicodeString error;
    if (!::LoadBlockTextFile(FileName, lines, &error)) {
        ShowError(error);
        return false;
    }
    WrapBlockLines(lines);
    ReplaceLines(std::move(lines));
    return true;
}

bool TBlockManager::SaveBlockManagerFile(const UnicodeString& FileName)
{
    // Told before any question about the text: nothing could be written anyway.
    UnicodeString error = BeginSave(FileName);
    if (!error.empty()) {
        ShowError(error);
        return false;
    }
    // Lines read without a byte-order mark (or none) go back as 8-bit text, and a block file is
    // 8-bit text whatever the lines came from: characters that cannot go there are not lost
    // without a word.
    if (!IsBlockFileName(FileName)) {
        if (BlockEditData.Encoding() == TTextEncoding::Ansi && !AllowAnsiLoss(BlockEditData.Text())) return false;
        if (!BlockEditData.LoadedExactly() && !AllowUndecodedByteLoss()) return false;
        error = SaveBlockTextFile(FileName, BlockEditData);
    } else if (BlockLinesFit(BlockEditData)) {
        if (!AllowAnsiLoss(BlockEditData.Text())) return false;
        error = SaveBlockFile(FileName, BlockEditData);
    } else {
        Dialogs::Current().MessageBox(u"Warning",
                                      u"Unable to save as a block file, the block editor contains one or more text lines "
                                      u"that are longer then the allowed 64 characters per line.",
                                      TMsgDlgType::mtWarning, TMsgButtons::OK);
        return false;
    }
    if (!error.empty()) {
        ShowError(error);
        return false;
    }
    BlockEditCurrentFileName = FileName;
    ShowBlockFileName();
    BlockEditUndoList.Clear();
    // The file now holds what the lines say.
    BlockEditData.SetLoadedExactly(true);
    return true;
}

void TBlockManager::BlockEditOpenFileActExecute()
{
    const UnicodeString name = Dialogs::Current().OpenFile(OpenDialog());
    if (name.empty()) return;
    if (IsBlockFileName(name) ? LoadBlockFile(name) : LoadBlockTextFile(name)) {
        BlockEditCurrentFileName = name;
        ShowBlockFileName();
    }
    SyncGrid();
}

void TBlockManager::BlockEdSaveFileActExecute()
{
    UnicodeString name = BlockEditCurrentFileName;
    if (name.empty()) name = Dialogs::Current().SaveFile(SaveDialog());
    if (!name.empty()) SaveBlockManagerFile(name);
}

void TBlockManager::BlockEditSaveFileAsActExecute()
{
    const UnicodeString name = Dialogs::Current().SaveFile(SaveDialog());
    if (!name.empty()) SaveBlockManagerFile(name);
}

void TBlockManager::BlockEditClearActExecute()
{
    // The question comes while the name is still known, so that Yes saves under it.
    if (QueryCloseBlockFile()) {
        ReplaceLines(TStringList());
        BlockEditCurrentFileName.clear();
        ShowBlockFileName();
    }
    SyncGrid();
}
