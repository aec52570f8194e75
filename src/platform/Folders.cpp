#include "platform/Folders.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string Path(const UnicodeString& name)
{
    return ToUtf8(name);
}

UnicodeString ErrorText(int error)
{
    return FromUtf8(std::generic_category().message(error));
}

UnicodeString WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return FromUtf8(folder);
}

/// The file a save must replace: a link is followed so that the link itself survives.
std::string SaveTarget(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved)) return resolved;
    }
    return path;
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
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
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
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    // Cut so that the temporary name stays within the file-name limit even for a long name.
    const std::string base = (slash == std::string::npos ? target : target.substr(slash + 1)).substr(0, 200);
    return folder + "." + base + ".tmp";
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

/// The folder of a path, with its trailing '/'; "." for a bare name.
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

/// Why the user may not save to target (a resolved path), naming fileName; empty when they may.
UnicodeString RefusalOf(const std::string& target, const UnicodeString& fileName)
{
    // The effective user's rights count, as they do for the write itself.
    if (::faccessat(AT_FDCWD, target.c_str(), F_OK, AT_EACCESS) == 0) {
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0) return {};
        return u"Cannot write \"" + fileName + u"\": " + ErrorText(errno);
    }
    if (errno != ENOENT) return {};
    if (::faccessat(AT_FDCWD, FolderOf(target).c_str(), W_OK | X_OK, AT_EACCESS) == 0) return {};
    if (errno != EACCES && errno != EPERM && errno != EROFS) return {};
    return u"Cannot create \"" + fileName + u"\": " + ErrorText(errno);
}

/// Writes bytes over the file in place, as far as they go, and cuts it there; empty on success,
/// else the reason.
UnicodeString WriteInPlace(const std::string& target, const UnicodeString& fileName, std::string_view bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    bool written = fd >= 0;
    for (std::int64_t offset = 0; written && offset < std::int64_t(bytes.size());) {
        const ssize_t n = ::pwrite(fd, bytes.data() + offset, bytes.size() - std::size_t(offset), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) written = false;
        else offset += n;
    }
    written = written && ::ftruncate(fd, std::int64_t(bytes.size())) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (fd >= 0 && ::close(fd) != 0 && written) return u"Cannot write \"" + fileName + u"\": " + ErrorText(errno);
    if (!written) return u"Cannot write \"" + fileName + u"\": " + ErrorText(error);
    return {};
}

} // namespace

UnicodeString AppDataFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // Only an absolute path counts, as the base-directory rules say.
    if (xdg && xdg[0] == '/') return WithSlash(xdg);
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || !*home) return {};
    return WithSlash(std::string(home) + "/.config");
}

UnicodeString ProgramFileName()
{
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return FromUtf8(std::string_view(buffer, std::size_t(n)));
}

UnicodeString ProgramFolder()
{
    return ExtractFilePath(ProgramFileName());
}

UnicodeString ExpandFileName(const UnicodeString& fileName)
{
    if (!fileName.empty() && fileName[0] == u'/') return fileName;
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer)) return fileName;
    return WithSlash(buffer) + fileName;
}

bool FileExists(const UnicodeString& fileName)
{
    struct stat st;
    return !fileName.empty() && ::stat(Path(fileName).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const UnicodeString& folder)
{
    struct stat st;
    return !folder.empty() && ::stat(Path(folder).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const UnicodeString& fileName)
{
    return !fileName.empty() && ::unlink(Path(fileName).c_str()) == 0;
}

bool ForceDirectories(const UnicodeString& folder)
{
    std::string path = Path(folder);
    if (path.empty()) return false;
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (!part.empty()) ::mkdir(part.c_str(), 0777);
        if (slash == std::string::npos) break;
    }
    return DirectoryExists(folder);
}

std::optional<std::int64_t> FileModifiedTime(const UnicodeString& fileName)
{
    struct stat st;
    if (fileName.empty() || ::stat(Path(fileName).c_str(), &st) != 0) return std::nullopt;
    return std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

bool ReadFileBytes(const UnicodeString& fileName, std::string& bytes)
{
    int fd = ::open(Path(fileName).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::string data;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        data.append(buffer, std::size_t(n));
    }
    ::close(fd);
    bytes = std::move(data);
    return true;
}

UnicodeString BeginSave(const UnicodeString& fileName)
{
    if (fileName.empty()) return u"No file name was given";
    const std::string target = SaveTarget(Path(fileName));
    RemoveStaleTemporary(TemporaryOf(target));
    return RefusalOf(target, fileName);
}

UnicodeString SaveFileSafely(const UnicodeString& fileName, std::string_view bytes)
{
    TFileReplacement replacement(fileName);
    if (!replacement.WriteAt(0, bytes)) return replacement.Error();
    return replacement.Commit();
}

TFileReplacement::TFileReplacement(const UnicodeString& fileName) : fFileName(fileName)
{
    if (fileName.empty()) {
        fError = u"No file name was given";
        return;
    }
    fTarget = SaveTarget(Path(fileName));
    fTemp = TemporaryOf(fTarget);
    RemoveStaleTemporary(fTemp);
    // A file the user may not write is not replaced either, though its folder would allow it.
    fError = RefusalOf(fTarget, fileName);
    if (!fError.empty()) return;
    fFd = OpenTemporary(fTemp);
    const int error = errno;
    struct stat old;
    const bool existed = ::stat(fTarget.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    if (fFd < 0) {
        // A file the user may write in a folder they may not: written over, once it is complete.
        if (existed && (error == EACCES || error == EPERM)) {
            fInPlace = true;
            return;
        }
        fError = u"Cannot create a temporary file beside \"" + fileName + u"\": " + ErrorText(error);
        return;
    }
    if (existed) ::fchmod(fFd, old.st_mode & 07777);
}

TFileReplacement::~TFileReplacement()
{
    if (fFd < 0) return;
    // Removed while still locked, so that no other save takes over a name about to vanish.
    ::unlink(fTemp.c_str());
    ::close(fFd);
}

bool TFileReplacement::Fail(const char16_t* what)
{
    const int error = errno;
    ::unlink(fTemp.c_str());
    ::close(fFd);
    fFd = -1;
    fError = UnicodeString(what) + u" \"" + fFileName + u"\": " + ErrorText(error);
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
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fFd, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Fail(u"Cannot write");
        bytes.remove_prefix(std::size_t(n));
        offset += n;
    }
    return true;
}

UnicodeString TFileReplacement::Commit()
{
    if (fInPlace) {
        fInPlace = false;
        fError = WriteInPlace(fTarget, fFileName, fInPlaceBytes);
        fInPlaceBytes.clear();
        return fError;
    }
    if (fFd < 0) return fError;
    if (::fsync(fFd) != 0) {
        Fail(u"Cannot write");
        return fError;
    }
    // Renamed while still open: closing would drop the lock, and another save could take the
    // temporary file over before it is in place.
    if (::rename(fTemp.c_str(), fTarget.c_str()) != 0) {
        Fail(u"Cannot replace");
        return fError;
    }
    ::close(fFd);
    fFd = -1;

    // Make the rename itself durable; the data is already safe, so a failure here is not reported.
    int dir = ::open(FolderOf(fTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

UnicodeString ExtractFilePath(const UnicodeString& fileName)
{
    std::size_t slash = fileName.rfind(u'/');
    return slash == UnicodeString::npos ? UnicodeString() : fileName.substr(0, slash + 1);
}

UnicodeString ExtractFileName(const UnicodeString& fileName)
{
    std::size_t slash = fileName.rfind(u'/');
    return slash == UnicodeString::npos ? fileName : fileName.substr(slash + 1);
}

UnicodeString ExtractFileExt(const UnicodeString& fileName)
{
    std::size_t dot = fileName.rfind(u'.');
    std::size_t slash = fileName.rfind(u'/');
    if (dot == UnicodeString::npos || (slash != UnicodeString::npos && dot < slash)) return {};
    return fileName.substr(dot);
}
