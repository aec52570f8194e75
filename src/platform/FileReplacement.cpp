#include "platform/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include "platform/FileNames.h"

namespace {

constexpr const char16_t* kMayBeDamaged = u". The file may be damaged.";

UnicodeString Failure(const char16_t* what, const UnicodeString& fileName, int error)
{
    return UnicodeString(what) + u" \"" + fileName + u"\": " + FromUtf8(std::generic_category().message(error));
}

/// The folder part of a path with its trailing '/'; empty for a bare name.
std::string FolderPart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

/// Where a save puts its bytes: the path itself, or the end of its chain of symbolic links, which
/// need not exist yet, so that the links survive. No path, with the error, when the chain cannot be
/// followed (a loop) or the path cannot be looked at.
struct TSaveTarget {
    std::string Path;
    int Error = 0;
    bool ThroughLink = false;
};

TSaveTarget SaveTarget(const std::string& path)
{
    TSaveTarget target{path};
    // As many links as the system itself follows in one name.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(target.Path.c_str(), &st) != 0) {
            if (errno == ENOENT) return target;
            return {{}, errno, hops > 0};
        }
        if (!S_ISLNK(st.st_mode)) return target;
        char link[PATH_MAX];
        const ssize_t n = ::readlink(target.Path.c_str(), link, sizeof link);
        if (n <= 0 || n == ssize_t(sizeof link)) return {{}, n < 0 ? errno : ENAMETOOLONG, true};
        const std::string next(link, std::size_t(n));
        target.Path = next.front() == '/' ? next : FolderPart(target.Path) + next;
    }
    return {{}, ELOOP, true};
}

/// Closes fd and returns -1 with errno as it was.
int CloseFailed(int fd)
{
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

/// True when the name still stands for the file open as fd.
bool NamesFile(const std::string& name, int fd)
{
    struct stat opened, named;
    return ::fstat(fd, &opened) == 0 && ::lstat(name.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
           named.st_ino == opened.st_ino;
}

/// Opens the temporary file of a save, empty and locked against another save of the same file;
/// -1 with errno on failure.
int OpenTemporary(const std::string& temp)
{
    for (;;) {
        const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) return -1;
        int locked;
        do {
            locked = ::flock(fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) return CloseFailed(fd);
        if (NamesFile(temp, fd)) {
            if (::ftruncate(fd, 0) == 0) return fd;
            // Locked by us, so no other save's: it goes with the failure.
            const int error = errno;
            ::unlink(temp.c_str());
            errno = error;
            return CloseFailed(fd);
        }
        // The save that held the lock before us renamed this very file into place; the name now
        // stands for another file or none.
        ::close(fd);
    }
}

/// The temporary file of a save of target: one name per file, so that a save that was killed
/// before its rename leaves no more than one, which the next save removes.
std::string TemporaryOf(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    // Cut so that the temporary name stays within the file-name limit even for a long name.
    const std::string base = (slash == std::string::npos ? target : target.substr(slash + 1)).substr(0, 200);
    return FolderPart(target) + "." + base + ".tmp";
}

/// Removes the temporary file that a killed save left beside its file; one that a save in progress
/// holds locked stays.
void RemoveStaleTemporary(const std::string& temp)
{
    int fd = ::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == EACCES) fd = ::open(temp.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // No save of ours ever leaves a link there.
        if (errno == ELOOP) ::unlink(temp.c_str());
        return;
    }
    // Removed while locked, so that a save waiting for it sees the name gone and makes its own.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && NamesFile(temp, fd)) ::unlink(temp.c_str());
    ::close(fd);
}

/// Why the user may not save to target (a resolved path), naming fileName; empty when they may.
UnicodeString RefusalOf(const std::string& target, const UnicodeString& fileName)
{
    // The effective user's rights count, as they do for the write itself.
    if (::faccessat(AT_FDCWD, target.c_str(), F_OK, AT_EACCESS) == 0) {
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0) return {};
        return Failure(u"Cannot write", fileName, errno);
    }
    if (errno != ENOENT) return {};
    const std::string folder = FolderPart(target);
    if (::faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0) return {};
    if (errno != EACCES && errno != EPERM && errno != EROFS) return {};
    return Failure(u"Cannot create", fileName, errno);
}

/// A save of fileName is prepared: target is the file its bytes go to, and the temporary file that
/// a killed save left there is gone. Empty when the save may go ahead, else why not.
UnicodeString PrepareSave(const UnicodeString& fileName, std::string& target)
{
    if (fileName.empty()) return u"No file name was given";
    const TSaveTarget resolved = SaveTarget(FileNameBytes(fileName));
    if (resolved.Path.empty())
        return Failure(resolved.ThroughLink ? u"Cannot follow the link" : u"Cannot write", fileName, resolved.Error);
    target = resolved.Path;
    RemoveStaleTemporary(TemporaryOf(target));
    return RefusalOf(target, fileName);
}

/// True when a file may grow to length under the user's file-size limit. Checked before a write,
/// so that none goes past the limit: that would end the program (SIGXFSZ) where it is not ignored.
bool WithinSizeLimit(std::int64_t length)
{
    rlimit limit;
    return ::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
           std::uint64_t(length) <= std::uint64_t(limit.rlim_cur);
}

/// Writes all of bytes at offset; false, with errno, when they do not all go.
bool WriteAll(int fd, std::string_view bytes, std::int64_t offset)
{
    if (!WithinSizeLimit(offset + std::int64_t(bytes.size()))) {
        errno = EFBIG;
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
        offset += n;
    }
    return true;
}

/// Room for length bytes in the file open as fd; false, with errno, when there is none. A file
/// system that cannot reserve room (EOPNOTSUPP) counts as having it: the new tail, written first,
/// claims what lies past the old end, though not what holes in the old bytes would take.
bool Reserve(int fd, std::int64_t length)
{
    if (length == 0) return true;
    int reserved;
    do {
        reserved = ::fallocate(fd, 0, 0, length);
    } while (reserved != 0 && errno == EINTR);
    return reserved == 0 || errno == EOPNOTSUPP || errno == ENOSYS;
}

/// Writes bytes over the file open as fd and cuts it there. Until an old byte changes, a failure
/// leaves the file as it was; after, the message says it may be damaged.
UnicodeString WriteOver(int fd, const UnicodeString& fileName, std::string_view bytes)
{
    struct stat st;
    if (::fstat(fd, &st) != 0) return Failure(u"Cannot write", fileName, errno);
    const std::int64_t oldLength = st.st_size, length = std::int64_t(bytes.size());
    int error = 0;
    if (!WithinSizeLimit(length)) error = EFBIG;
    else if (!Reserve(fd, length)) error = errno;
    else if (length > oldLength && !WriteAll(fd, bytes.substr(std::size_t(oldLength)), oldLength)) error = errno;
    if (error != 0) {
        // Whatever the reservation or the tail added past the old end goes again.
        if (::ftruncate(fd, oldLength) != 0) return Failure(u"Cannot write", fileName, error) + kMayBeDamaged;
        return Failure(u"Cannot write", fileName, error);
    }
    const std::string_view head = bytes.substr(0, std::size_t(std::min(length, oldLength)));
    if (!WriteAll(fd, head, 0) || ::ftruncate(fd, length) != 0 || ::fsync(fd) != 0)
        return Failure(u"Cannot write", fileName, errno) + kMayBeDamaged;
    return {};
}

/// Writes bytes over the file target itself, for a file that cannot be replaced; empty on success,
/// else the reason.
UnicodeString WriteInPlace(const std::string& target, const UnicodeString& fileName, std::string_view bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return Failure(u"Cannot write", fileName, errno);
    const UnicodeString error = WriteOver(fd, fileName, bytes);
    if (::close(fd) != 0 && error.empty()) return Failure(u"Cannot write", fileName, errno) + kMayBeDamaged;
    return error;
}

/// Gives the new file open as fd the owner, group and mode of the old one; false when the owner or
/// group cannot be given (the user may not give a file away).
bool TakeOwnerAndMode(int fd, const struct stat& old)
{
    struct stat now;
    if (::fstat(fd, &now) != 0) return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    // After the owner: a change of owner drops the set-user and set-group bits.
    ::fchmod(fd, old.st_mode & 07777);
    return true;
}

}  // namespace

UnicodeString BeginSave(const UnicodeString& fileName)
{
    std::string target;
    return PrepareSave(fileName, target);
}

UnicodeString SaveFileSafely(const UnicodeString& fileName, std::string_view bytes)
{
    TFileReplacement replacement(fileName);
    if (!replacement.WriteAt(0, bytes)) return replacement.Error();
    return replacement.Commit();
}

TFileReplacement::TFileReplacement(const UnicodeString& fileName) : fFileName(fileName)
{
    // A file the user may not write is not replaced either, though its folder would allow it.
    fError = PrepareSave(fileName, fTarget);
    if (!fError.empty()) return;
    fTemp = TemporaryOf(fTarget);
    struct stat old;
    const bool existed = ::stat(fTarget.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // A new file in its place would leave the file's other names with the old contents.
    if (existed && old.st_nlink > 1) {
        fInPlace = true;
        return;
    }
    fFd = OpenTemporary(fTemp);
    if (fFd < 0) {
        const int error = errno;
        // A file the user may write in a folder they may not: written over, once it is complete.
        if (existed && (error == EACCES || error == EPERM)) {
            fInPlace = true;
            return;
        }
        fError = Failure(u"Cannot create a temporary file beside", fileName, error);
        return;
    }
    // Another user's file stays theirs: written over, where it cannot be given to them.
    if (existed && !TakeOwnerAndMode(fFd, old)) {
        DropTemporary();
        fInPlace = true;
    }
}

TFileReplacement::~TFileReplacement()
{
    DropTemporary();
}

void TFileReplacement::DropTemporary()
{
    if (fFd < 0) return;
    // Removed while still locked, so that no other save takes over a name about to vanish.
    ::unlink(fTemp.c_str());
    ::close(fFd);
    fFd = -1;
}

bool TFileReplacement::Fail(const char16_t* what)
{
    const int error = errno;
    DropTemporary();
    fError = Failure(what, fFileName, error);
    return false;
}

bool TFileReplacement::WriteAt(std::int64_t offset, std::string_view bytes)
{
    if (fInPlace) {
        const std::size_t end = std::size_t(offset) + bytes.size();
        if (end > fInPlaceBytes.size()) fInPlaceBytes.resize(end);
        fInPlaceBytes.replace(std::size_t(offset), bytes.size(), bytes);
        return true;
    }
    if (fFd < 0) return false;
    return WriteAll(fFd, bytes, offset) || Fail(u"Cannot write");
}

bool TFileReplacement::TakeBackTemporary()
{
    struct stat st;
    if (::fstat(fFd, &st) != 0) return false;
    std::string bytes(std::size_t(st.st_size), '\0');
    for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t n = ::pread(fFd, bytes.data() + at, bytes.size() - at, off_t(at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += std::size_t(n);
    }
    DropTemporary();
    fInPlaceBytes = std::move(bytes);
    return true;
}

UnicodeString TFileReplacement::CommitInPlace()
{
    fInPlace = false;
    fError = WriteInPlace(fTarget, fFileName, fInPlaceBytes);
    fInPlaceBytes.clear();
    return fError;
}

UnicodeString TFileReplacement::Commit()
{
    if (fInPlace) return CommitInPlace();
    if (fFd < 0) return fError;
    if (::fsync(fFd) != 0) {
        Fail(u"Cannot write");
        return fError;
    }
    // Renamed while still open: closing would drop the lock, and another save could take the
    // temporary file over before it is in place.
    if (::rename(fTemp.c_str(), fTarget.c_str()) != 0) {
        const int error = errno;
        // A sticky folder refuses to replace another user's file, and a file mounted where it
        // stands cannot be replaced at all: both can still be written over.
        struct stat st;
        const bool refused = error == EPERM || error == EACCES || error == EBUSY;
        if (refused && ::stat(fTarget.c_str(), &st) == 0 && S_ISREG(st.st_mode) && TakeBackTemporary())
            return CommitInPlace();
        errno = error;
        Fail(u"Cannot replace");
        return fError;
    }
    ::close(fFd);
    fFd = -1;

    // Make the rename itself durable; the data is already safe, so a failure here is not reported.
    const std::string folder = FolderPart(fTarget);
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}
