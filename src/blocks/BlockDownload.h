#pragma once
// A download of blocks from the target into a file.
#include "platform/Text.h"

class TUploadDialog;

/// Downloads blocks through the dialog into FileName, which they replace only once the last has
/// checked out: a failed or cancelled download leaves the file as it was. A file that may not be
/// written is reported before the target is asked anything.
void DownloadBlocksIntoFile(TUploadDialog& Dialog, const UnicodeString& FileName);
