#pragma once
// Where a save goes, looked up once: the folder that holds the file, open, and the file's name in
// it. Every later step works relative to that folder, so that a folder or link swapped meanwhile
// cannot send one save to two places.
#include <sys/stat.h>
#include <string>
#include "platform/FileDescriptor.h"
#include "platform/Text.h"

struct TSaveTarget {
    /// The folder, readable where the user may read it (to make a rename durable), else O_PATH.
    TFd Folder;
    bool FolderReadable = false;
    /// The file's name in Folder.
    std::string Name;
    /// What stood at Name when it was looked up (never a link); Exists false when nothing did.
    bool Exists = false;
    struct stat Old {};
    /// Why the file cannot be saved, naming it; empty when it can.
    UnicodeString Refusal;
    /// No folder to save in: errno of the folder that is missing, not reached through a link.
    int MissingFolder = 0;
};

/// Looks up the file that a save of fileName writes. A symbolic link is followed as the kernel
/// follows it where links are protected: in a sticky folder that anyone may write, only a link of
/// the user's own or of the folder's owner.
TSaveTarget FindSaveTarget(const UnicodeString& fileName);

/// The message for a failed step of a save of fileName: what + the file + the system's reason.
UnicodeString SaveFailure(const char16_t* what, const UnicodeString& fileName, int error);
