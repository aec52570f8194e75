#include "blocks/BlockDownload.h"

#include "blocks/UploadDlg.h"
#include "platform/Dialogs.h"
#include "platform/Stream.h"

void DownloadBlocksIntoFile(TUploadDialog& Dialog, const UnicodeString& FileName)
{
    TFileReplacementStream stream(FileName);
    UnicodeString error = stream.Error();
    if (error.empty() && Dialog.Run(stream, false)) error = stream.Commit();
    // The dialog says that the file could not be written; the writer says why.
    else if (error.empty()) error = stream.Error();
    if (!error.empty()) Dialogs::Current().MessageBox(u"Error", error, TMsgDlgType::mtError, TMsgButtons::OK);
}
