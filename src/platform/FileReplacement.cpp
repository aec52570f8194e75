#include "platform/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include "platform/BackupCopy.h"
#include "platform/FileAttributes.h"
#include "platform/SystemCalls.h"

namespace {

/// How long a save waits for another program that is writing the file: it runs on the main thread.
constexpr std::chrono::milliseconds kLockWait{1000};
constexpr std::chrono::milliseconds kLockPoll{20};
/// Characters of randomness in the name of a temporary file.
constexpr int kRandomLength = 8;
constexpr const char kTempSuffix[] = ".tmp";

/// Temporary files of a save of name start so; the random part and kTempSuffix follow.
std::string TemporaryPrefix(const std::string& name)
{
    // Cut so that the temporary name stays within the file-name limit even for a long name.
    return "." + name.substr(0, 200) + ".";
}

UnicodeString TookItsPlace(const UnicodeString& fileName)
{
    return u"Cannot write \"" + fileName + u"\": another file took its place while it was being saved";
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// Why the user may not save to target, naming fileName; empty when they may.
UnicodeString RefusalOf(const TSaveTarget& target, const UnicodeString& fileName)
{
    if (!target.Refusal.empty()) return target.MissingFolder ? UnicodeString() : target.Refusal;
    // The effective user's rights count, as they do for the write itself.
    if (target.Exists) {
        if (SystemCalls().FAccessAt(target.Folder.Get(), target.Name.c_str(), W_OK, AT_EACCESS) == 0) return {};
        return SaveFailure(u"Cannot write", fileName, errno);
    }
    if (SystemCalls().FAccessAt(target.Folder.Get(), ".", W_OK | X_OK, AT_EACCESS) == 0) return {};
    if (errno != EACCES && errno != EPERM && errno != EROFS) return {};
    return SaveFailure(u"Cannot create", fileName, errno);
}

/// Opens the file name in folder for a write in place where the user may, else as far as they may.
int OpenExisting(int folder, const std::string& name)
{
    for (const int access : {O_RDWR, O_WRONLY, O_RDONLY}) {
        const int fd = OpenAt(folder, name, access | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 || errno != EACCES) return fd;
    }
    return -1;
}

}  // namespace

UnicodeString BeginSave(const UnicodeString& fileName)
{
    return RefusalOf(FindSaveTarget(fileName), fileName);
}

UnicodeString SaveFileSafely(const UnicodeString& fileName, std::string_view bytes)
{
    TFileReplacement replacement(fileName);
    if (!replacement.WriteAt(0, bytes)) return replacement.Error();
    return replacement.Commit();
}

TFileReplacement::TFileReplacement(const UnicodeString& fileName) : fFileName(fileName)
{
    fTarget = FindSaveTarget(fileName);
    fError = RefusalOf(fTarget, fileName);
    if (fError.empty() && fTarget.MissingFolder)
        fError = SaveFailure(u"Cannot create a temporary file beside", fileName, fTarget.MissingFolder);
    if (fError.empty() && fTarget.Exists) fError = Lock();
    if (!fError.empty()) return;
    if (fTarget.Exists) RemoveLeftovers();
    // A new file in its place would leave the file's other names with the old contents.
    if (fTarget.Exists && fTarget.Old.st_nlink > 1) {
        fInPlace = true;
        return;
    }
    fError = CreateTemporary();
}

TFileReplacement::~TFileReplacement()
{
    DropTemporary();
}

UnicodeString TFileReplacement::Lock()
{
    const int folder = fTarget.Folder.Get();
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        TFd fd(OpenExisting(folder, fTarget.Name));
        if (!fd.Valid()) return SaveFailure(u"Cannot write", fFileName, errno);
        struct stat opened;
        if (SystemCalls().FStat(fd.Get(), &opened) != 0) return SaveFailure(u"Cannot write", fFileName, errno);
        // A save that ran meanwhile may have put a new file in place: that one is written.
        if (!S_ISREG(opened.st_mode))
            return TookItsPlace(fFileName);
        while (SystemCalls().Flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) return SaveFailure(u"Cannot write", fFileName, errno);
            if (std::chrono::steady_clock::now() >= deadline)
                return u"Cannot write \"" + fFileName + u"\": another program is writing the file";
            std::this_thread::sleep_for(kLockPoll);
        }
        // A save that held the lock before may have put a new file in place of this one.
        struct stat named;
        if (SystemCalls().FStatAt(folder, fTarget.Name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0)
            return SaveFailure(u"Cannot write", fFileName, errno);
        if (SameFile(named, opened)) {
            fTarget.Old = opened;
            fLocked = std::move(fd);
            return {};
        }
        if (!S_ISREG(named.st_mode))
            return TookItsPlace(fFileName);
    }
}

void TFileReplacement::RemoveLeftovers()
{
    // Only files that a save of the user's made and nothing holds: named so, the user's own, with
    // one name and unlocked. Anything else there belongs to someone else. Called with the file
    // locked, so that no save of it is between making its temporary file and locking it.
    const int folder = fTarget.Folder.Get();
    const int listed = fTarget.FolderReadable ? OpenAt(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (listed < 0) return;
    DIR* entries = ::fdopendir(listed);
    if (!entries) {
        SystemCalls().Close(listed);
        return;
    }
    const std::string prefix = TemporaryPrefix(fTarget.Name);
    const std::size_t length = prefix.size() + kRandomLength + sizeof kTempSuffix - 1;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (name.size() != length || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(length - (sizeof kTempSuffix - 1), std::string::npos, kTempSuffix) != 0)
            continue;
        struct stat st;
        if (SystemCalls().FStatAt(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid() || st.st_nlink != 1)
            continue;
        TFd fd(OpenAt(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened;
        // Removed while locked, so that no save can take it up meanwhile.
        if (fd.Valid() && SystemCalls().Flock(fd.Get(), LOCK_EX | LOCK_NB) == 0 &&
            SystemCalls().FStat(fd.Get(), &opened) == 0 && SameFile(opened, st))
            SystemCalls().UnlinkAt(folder, name.c_str(), 0);
    }
    ::closedir(entries);
}

UnicodeString TFileReplacement::CreateTemporary()
{
    int error = EEXIST;
    for (int tries = 0; tries < 8 && error == EEXIST; ++tries) {
        fTempName = TemporaryPrefix(fTarget.Name) + RandomName(kRandomLength) + kTempSuffix;
        // Private from the first moment: no one else can open it while its bytes are written.
        fTemp = TFd(OpenAt(fTarget.Folder.Get(), fTempName, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        error = fTemp.Valid() ? 0 : errno;
    }
    if (error == 0) {
        // Locked as the file will be once it is renamed into place.
        SystemCalls().Flock(fTemp.Get(), LOCK_EX | LOCK_NB);
        return {};
    }
    fTempName.clear();
    // A file the user may write in a folder they may not: written over, once it is complete.
    if (fTarget.Exists && (error == EACCES || error == EPERM)) {
        fInPlace = true;
        return {};
    }
    return SaveFailure(u"Cannot create a temporary file beside", fFileName, error);
}

void TFileReplacement::DropTemporary()
{
    if (!fTemp.Valid()) return;
    // Removed while still locked, so that no other save takes it for a leftover meanwhile.
    if (!fTempName.empty()) SystemCalls().UnlinkAt(fTarget.Folder.Get(), fTempName.c_str(), 0);
    fTempName.clear();
    fTemp.Reset();
}

UnicodeString TFileReplacement::Fail(const char16_t* what)
{
    const int error = errno;
    DropTemporary();
    fError = SaveFailure(what, fFileName, error);
    return fError;
}

bool TFileReplacement::WriteAt(std::int64_t offset, std::string_view bytes)
{
    if (!fError.empty()) return false;
    if (fInPlace) {
        const std::size_t end = std::size_t(offset) + bytes.size();
        if (end > fInPlaceBytes.size()) fInPlaceBytes.resize(end);
        fInPlaceBytes.replace(std::size_t(offset), bytes.size(), bytes);
        return true;
    }
    if (WriteAll(fTemp.Get(), bytes, offset)) return true;
    Fail(u"Cannot write");
    return false;
}

bool TFileReplacement::TakeBackTemporary()
{
    std::string bytes;
    if (!ReadAll(fTemp.Get(), bytes)) return false;
    DropTemporary();
    fInPlaceBytes = std::move(bytes);
    fInPlace = true;
    return true;
}

UnicodeString TFileReplacement::Commit()
{
    if (!fError.empty()) return fError;
    fError = fInPlace ? CommitInPlace() : Replace();
    DropTemporary();
    fLocked.Reset();
    return fError;
}

UnicodeString TFileReplacement::Replace()
{
    const int temp = fTemp.Get(), folder = fTarget.Folder.Get();
    // Owner first: a change of owner drops set-ID bits and capabilities.
    if (fTarget.Exists && !TakeOwner(temp, fTarget.Old)) {
        // Another user's file stays theirs: written over, where it cannot be given to them.
        if (errno != EPERM && errno != EINVAL) return Fail(u"Cannot write");
        return TakeBackTemporary() ? CommitInPlace() : Fail(u"Cannot write");
    }
    // An attribute the new file cannot take (one the user may not set) stays by a write in place.
    if (fTarget.Exists && !CopyAttributes(fLocked.Get(), temp))
        return TakeBackTemporary() ? CommitInPlace() : Fail(u"Cannot write");
    // The mode last, after the bytes: writing them would drop the set-ID bits.
    if (!TakeMode(temp, fTarget.Exists ? fTarget.Old.st_mode : NewFileMode()) || !Sync(temp))
        return Fail(u"Cannot write");
    if (SystemCalls().RenameAt(folder, fTempName.c_str(), folder, fTarget.Name.c_str()) != 0) {
        const int error = errno;
        // A sticky folder refuses to replace another user's file, and a file mounted where it
        // stands cannot be replaced at all: both can still be written over.
        if (fTarget.Exists && (error == EPERM || error == EACCES || error == EBUSY))
            return TakeBackTemporary() ? CommitInPlace() : Fail(u"Cannot write");
        errno = error;
        return Fail(u"Cannot replace");
    }
    // In place now: the name is the file's, not a temporary file's, whatever fails below.
    fTempName.clear();
    // The rename itself is durable only with its folder.
    if (fTarget.FolderReadable && !Sync(folder)) return SaveFailure(u"Cannot write", fFileName, errno);
    return {};
}

UnicodeString TFileReplacement::CommitInPlace()
{
    fInPlace = false;
    const std::string bytes = std::move(fInPlaceBytes);
    const int fd = fLocked.Get(), folder = fTarget.Folder.Get();
    const std::int64_t length = std::int64_t(bytes.size());
    // Only the very file that was looked at, still under its name.
    struct stat opened, named;
    if (SystemCalls().FStat(fd, &opened) != 0 ||
        SystemCalls().FStatAt(folder, fTarget.Name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0)
        return SaveFailure(u"Cannot write", fFileName, errno);
    if (!SameFile(opened, named)) return TookItsPlace(fFileName);
    if (!WithinSizeLimit(length)) return SaveFailure(u"Cannot write", fFileName, EFBIG);

    std::string old;
    // A file the user may write but not read keeps no copy: it is not written over either.
    if (!ReadAll(fd, old))
        return SaveFailure(u"Cannot make a copy of the old bytes of", fFileName, errno == EBADF ? EACCES : errno);
    TBackupCopy copy;
    if (const int error = copy.Make(folder, fTarget.FolderReadable, fTarget.Name, old))
        return SaveFailure(u"Cannot make a copy of the old bytes of", fFileName, error);
    // Room for the new bytes before the first old one changes; the size stays, so that a failure
    // leaves no tail of zeros. Some file systems reserve nothing (EOPNOTSUPP): the write finds out.
    int reserved = 0;
    do {
        reserved = length == 0 ? 0 : SystemCalls().FAllocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(length));
    } while (reserved != 0 && errno == EINTR);
    if (reserved != 0 && (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)) {
        const int error = errno;
        copy.Remove();
        return SaveFailure(u"Cannot write", fFileName, error);
    }
    const std::int64_t oldLength = std::int64_t(old.size());
    std::int64_t changed = 0;
    bool touched = true;
    if (WriteAll(fd, bytes, 0, &changed)) {
        // Whatever the cut did, the old tail may be gone.
        changed = oldLength;
        if (SystemCalls().FTruncate(fd, off_t(length)) == 0 && Sync(fd)) {
            copy.Remove();
            return {};
        }
    } else {
        touched = changed > 0;
    }
    const int error = errno;
    if (!touched) {
        copy.Remove();
        return SaveFailure(u"Cannot write", fFileName, error);
    }
    // The old bytes go back over what changed; the copy stays all the same, and is named.
    const bool restored = WriteAll(fd, std::string_view(old).substr(0, std::size_t(std::min(changed, oldLength))), 0) &&
                          SystemCalls().FTruncate(fd, off_t(oldLength)) == 0 && Sync(fd);
    return SaveFailure(u"Cannot write", fFileName, error) +
           (restored ? u". Its old bytes are kept in \"" : u". The file may be damaged; its old bytes are in \"") +
           copy.Path() + u"\"";
}
