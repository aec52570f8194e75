#include "platform/Folders.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
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
