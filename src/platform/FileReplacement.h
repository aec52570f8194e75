#pragma once
// The one writer of every save: new contents for a file that keep what the file is (its other
// names, owner, group, mode and links) and that leave its old bytes whole when they cannot be written.
#include <cstdint>
#include <string>
#include <string_view>
#include "platform/Text.h"

/// A save of fileName begins: the temporary file that a killed save left beside it goes, and the
/// result says why the save may not go ahead, naming the file: a link that leads nowhere it can
/// follow, a file the user may not write, or one they may not create in its folder. Empty when it may.
UnicodeString BeginSave(const UnicodeString& fileName);
/// Writes bytes in the place of fileName as TFileReplacement does; empty on success, else the reason.
UnicodeString SaveFileSafely(const UnicodeString& fileName, std::string_view bytes);

/// New contents for a file, written piece by piece and put in its place only by Commit: until then,
/// and after any failure short of a write in place that stopped midway, the file is as it was (a
/// missing one stays missing).
/// - A symbolic link is followed, and the file it ends in is written (created, when missing); a
///   link that cannot be followed (a loop) is refused.
/// - The contents go to a temporary file beside the file, which gets its owner, group and mode
///   and is renamed over it. Dropped without Commit, the temporary file goes; one that a killed save
///   left is removed as the next replacement of the file starts.
/// - A file with more than one name, whose owner or group the user cannot give the new file, in a
///   folder they may not write or whose rename is refused (a sticky folder), is written in place at
///   Commit: its new length is reserved before any old byte changes.
/// - A file the user may not write is refused.
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
    bool Fail(const char16_t* what);
    void DropTemporary();
    /// The contents so far, read back from the temporary file, for a write in place; false on failure.
    bool TakeBackTemporary();
    UnicodeString CommitInPlace();
    UnicodeString fFileName;
    std::string fTarget;
    std::string fTemp;
    int fFd = -1;
    /// Written over the file itself: the contents wait here for Commit.
    bool fInPlace = false;
    std::string fInPlaceBytes;
    UnicodeString fError;
};
