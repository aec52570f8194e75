// The main window's block transfer actions: files and the Block Manager's lines to and from the target.
#include "app/ProgramForms.h"
#include "app/Unit1.h"
#include "blocks/BlockDownload.h"
#include "blocks/BlockFile.h"
#include "blocks/UploadDlg.h"
#include "link/ConnectionManager.h"
#include "platform/Dialogs.h"
#include "platform/Stream.h"

bool TTavloTerminal::RunBlockTransfer(TStream& Stream, bool Upload)
{
    return UploadDialog && UploadDialog->Run(Stream, Upload);
}

void TTavloTerminal::UploadBlockTransferActExecute(TObject* Sender)
{
    TFileDialogRequest request;
    request.Title = u"Select File To Upload";
    request.Filter = u"Block File|*.blk|Binary File|*.bin;*.binary|Any File|*.*";
    const UnicodeString fileName = Dialogs::Current().OpenFile(request);
    if (fileName.empty()) return;
    TMemoryStream stream;
    UnicodeString error;
    if (!stream.LoadFromFile(fileName, &error)) {
        Dialogs::Current().MessageBox(u"Error", error, TMsgDlgType::mtError, TMsgButtons::OK);
        return;
    }
    RunBlockTransfer(stream, true);
}

void TTavloTerminal::DownloadBlockTrabsferActExecute(TObject* Sender)
{
    TFileDialogRequest request;
    request.Title = u"Select File To Save Blocks";
    const UnicodeString fileName = Dialogs::Current().SaveFile(request);
    if (!fileName.empty() && UploadDialog) DownloadBlocksIntoFile(*UploadDialog, fileName);
}

void TTavloTerminal::BlockTransferActUpdate(TObject* Sender)
{
    auto* action = static_cast<TAction*>(Sender);
    action->Enabled = ConnectionMod && ConnectionMod->IsConnected() && !InPaste;
}

void TTavloTerminal::BlockEditUploadFileActExecute(TObject* Sender)
{
    TMemoryStream stream(WriteBlockStream(BlockManager.BlockEditData));
    RunBlockTransfer(stream, true);
}

void TTavloTerminal::BlockEditUploadFileActUpdate(TObject* Sender)
{
    BlockEditUploadFileAct->Enabled = BlockManager.BlockEditData.Count() > 0 && !InPaste;
}
