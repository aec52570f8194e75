#include "platform/Folders.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>
#include <system_error>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include "platform/FileNames.h"

namespace {

std::string Path(const UnicodeString& name)
{
    return FileNameBytes(name);
}

UnicodeString WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return FileNameFromBytes(folder);
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
    return FileNameFromBytes(std::string_view(buffer, std::size_t(n)));
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

namespace {

UnicodeString SystemReason(int error)
{
    return FromUtf8(std::generic_category().message(error));
}

UnicodeString TooLarge(std::int64_t size)
{
    return u"it holds " + IntToStr(size) + u" bytes, more than the " + IntToStr(kMaxReadFileSize) +
           u" bytes a file may hold to be opened";
}

/// What is wrong with reading a file of this mode, or nothing for a regular file.
UnicodeString KindRefusal(mode_t mode)
{
    if (S_ISREG(mode)) return {};
    if (S_ISDIR(mode)) return u"it is a folder";
    if (S_ISFIFO(mode)) return u"it is a FIFO, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return u"it is a device, not a regular file";
    return u"it is not a regular file";
}

/// Reads the open file to its end into data; empty on success, else the reason.
UnicodeString ReadOpened(int fd, std::string& data)
{
    struct stat st;
    if (::fstat(fd, &st) != 0) return SystemReason(errno);
    if (UnicodeString refusal = KindRefusal(st.st_mode); !refusal.empty()) return refusal;
    if (st.st_size > kMaxReadFileSize) return TooLarge(st.st_size);
    try {
        data.reserve(std::size_t(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return SystemReason(errno);
            if (n == 0) return {};
            // The file may grow while it is read, or tell no size at all (files of the kernel's).
            if (std::int64_t(data.size()) + n > kMaxReadFileSize) return TooLarge(std::int64_t(data.size()) + n);
            data.append(buffer, std::size_t(n));
        }
    } catch (const std::bad_alloc&) {
        return u"there is not enough memory to hold its " + IntToStr(st.st_size) + u" bytes";
    }
}

} // namespace

bool ReadFileBytes(const UnicodeString& fileName, std::string& bytes, UnicodeString* error)
{
    // Without blocking: opening a FIFO would wait for a writer, a terminal would become ours.
    const int fd = ::open(Path(fileName).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    std::string data;
    const UnicodeString reason = fd < 0 ? SystemReason(errno) : ReadOpened(fd, data);
    if (fd >= 0) ::close(fd);
    if (!reason.empty()) {
        if (error) *error = u"Cannot open file \"" + fileName + u"\": " + reason + u".";
        return false;
    }
    bytes = std::move(data);
    return true;
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
