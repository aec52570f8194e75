#pragma once
// The one writer of every save: new contents for a file that keep what the file is (its other
// names, owner, group, mode, attributes and links) and that leave its old bytes whole when they
// cannot be written.
#include <cstdint>
#include <string>
#include <string_view>
#include "platform/FileDescriptor.h"
#include "platform/SaveTarget.h"
#include "platform/Text.h"

/// Why a save of fileName may not go ahead, naming the file: a link that leads nowhere it can
/// follow or that another user planted, something that is not a regular file, a file the user may
/// not write, or one they may not create in its folder. Empty when it may.
UnicodeString BeginSave(const UnicodeString& fileName);
/// Writes bytes in the place of fileName as TFileReplacement does; empty on success, else the reason.
UnicodeString SaveFileSafely(const UnicodeString& fileName, std::string_view bytes);

/// New contents for a file, written piece by piece and put in its place only by Commit: until then,
/// and after any failure, the file is as it was (a missing one stays missing).
/// - The path is looked up once (SaveTarget.h); every step after works in the folder found.
/// - The file is locked against other saves from the start; one that another program holds for
///   longer than a moment is refused, so that the document stays unsaved.
/// - The contents go to a private temporary file beside the file, made exclusively under a name no
///   one can guess; it takes the owner, group, attributes and mode of the old file, then is renamed
///   over it. Temporary files that a killed save of the user's left beside the file go.
/// - A file with more than one name, or whose owner, group or attributes the new file cannot take,
///   in a folder the user may not write or whose rename is refused, is written in place at Commit,
///   after a durable copy of its old bytes (BackupCopy.h), which a failure keeps and names.
class TFileReplacement {
public:
    explicit TFileReplacement(const UnicodeString& fileName);
    ~TFileReplacement();
    TFileReplacement(const TFileReplacement&) = delete;
    TFileReplacement& operator=(const TFileReplacement&) = delete;

    /// Empty while all went well; else why the replacement cannot be made.
    const UnicodeString& Error() const { return fError; }
    /// Writes bytes at offset of the new contents; false, with Error set, when they cannot be.
    bool WriteAt(std::int64_t offset, std::string_view bytes);
    /// Makes the new contents durable and puts them in place; empty on success, else the reason.
    UnicodeString Commit();

private:
    UnicodeString Lock();
    void RemoveLeftovers();
    UnicodeString CreateTemporary();
    /// Drops the temporary file and sets Error to what failed and why (errno); returns Error.
    UnicodeString Fail(const char16_t* what);
    void DropTemporary();
    /// Switches to a write in place with the contents so far; false on failure.
    bool TakeBackTemporary();
    UnicodeString Replace();
    UnicodeString CommitInPlace();
    UnicodeString fFileName;
    TSaveTarget fTarget;
    /// The existing file, open and locked for the life of the save.
    TFd fLocked;
    TFd fTemp;
    std::string fTempName;
    /// Written over the file itself: the contents wait here for Commit.
    bool fInPlace = false;
    std::string fInPlaceBytes;
    UnicodeString fError;
};
