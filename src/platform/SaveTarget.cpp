#include "platform/SaveTarget.h"

#include <cerrno>
#include <climits>
#include <deque>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include "platform/FileNames.h"
#include "platform/SystemCalls.h"

UnicodeString SaveFailure(const char16_t* what, const UnicodeString& fileName, int error)
{
    return UnicodeString(what) + u" \"" + fileName + u"\": " + FromUtf8(std::generic_category().message(error));
}

namespace {

/// As many links as the system itself follows in one name.
constexpr int kMaxLinks = 40;

std::deque<std::string> Components(const std::string& path)
{
    std::deque<std::string> parts;
    std::size_t at = 0;
    while (at < path.size()) {
        const std::size_t slash = path.find('/', at);
        const std::size_t end = slash == std::string::npos ? path.size() : slash;
        if (end > at) parts.push_back(path.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

/// False where the kernel would not follow the link (owned as link says) in folder: a sticky
/// folder that anyone may write, a link owned by neither the user nor the folder's owner.
bool MayFollow(int folder, const struct stat& link)
{
    struct stat st;
    if (SystemCalls().FStat(folder, &st) != 0) return false;
    const bool open = (st.st_mode & S_ISVTX) && (st.st_mode & S_IWOTH);
    return !open || link.st_uid == ::geteuid() || link.st_uid == st.st_uid;
}

const char16_t* KindOf(mode_t mode)
{
    if (S_ISDIR(mode)) return u"a folder";
    if (S_ISFIFO(mode)) return u"a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return u"a device";
    if (S_ISSOCK(mode)) return u"a socket";
    return u"not a regular file";
}

/// Opens the folder at name below dir, readable where it may be.
int OpenFolder(int dir, const std::string& name, bool& readable)
{
    int fd = OpenAt(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    readable = fd >= 0;
    if (fd < 0 && errno == EACCES) fd = OpenAt(dir, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    return fd;
}

}  // namespace

TSaveTarget FindSaveTarget(const UnicodeString& fileName)
{
    TSaveTarget target;
    const std::string path = FileNameBytes(fileName);
    if (path.empty()) {
        target.Refusal = u"No file name was given";
        return target;
    }
    std::deque<std::string> parts = Components(path);
    // The path to the folder at hand as the walk reached it, to name a link in a message.
    std::string shown = path.front() == '/' ? "/" : "";
    target.Folder = TFd(OpenFolder(AT_FDCWD, path.front() == '/' ? "/" : ".", target.FolderReadable));
    bool throughLink = false;
    int links = 0;
    auto fail = [&](int error) {
        target.Refusal = SaveFailure(throughLink ? u"Cannot follow the link" : u"Cannot write", fileName, error);
        return std::move(target);
    };
    if (!target.Folder.Valid()) return fail(errno);
    while (!parts.empty()) {
        const std::string part = parts.front();
        parts.pop_front();
        const bool last = parts.empty();
        struct stat st;
        if (SystemCalls().FStatAt(target.Folder.Get(), part.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT && last) {
                target.Name = part;
                return target;
            }
            if (errno == ENOENT && !throughLink) target.MissingFolder = ENOENT;
            return fail(errno);
        }
        if (S_ISLNK(st.st_mode)) {
            throughLink = true;
            if (++links > kMaxLinks) return fail(ELOOP);
            if (!MayFollow(target.Folder.Get(), st)) {
                target.Refusal = u"Cannot follow the link \"" + FileNameFromBytes(shown + part) +
                                 u"\": another user made it in a folder that anyone may write";
                return target;
            }
            char link[PATH_MAX];
            const ssize_t n = SystemCalls().ReadLinkAt(target.Folder.Get(), part.c_str(), link, sizeof link);
            if (n <= 0 || n == ssize_t(sizeof link)) return fail(n < 0 ? errno : ENAMETOOLONG);
            const std::string next(link, std::size_t(n));
            std::deque<std::string> more = Components(next);
            parts.insert(parts.begin(), more.begin(), more.end());
            if (next.front() == '/') {
                target.Folder = TFd(OpenFolder(AT_FDCWD, "/", target.FolderReadable));
                if (!target.Folder.Valid()) return fail(errno);
                shown = "/";
            }
            // A link to a folder ("dir/link" -> "sub/"): the last part is a folder, refused below.
            if (parts.empty()) parts.push_back(".");
            continue;
        }
        if (last) {
            target.Name = part;
            target.Exists = true;
            target.Old = st;
            if (!S_ISREG(st.st_mode)) {
                target.Refusal = u"Cannot write \"" + fileName + u"\": it is " + KindOf(st.st_mode) +
                                 u", not a regular file";
            }
            return target;
        }
        // Opened without following a link: one put in its place since the look above fails here.
        bool readable = false;
        TFd next(OpenFolder(target.Folder.Get(), part, readable));
        if (!next.Valid()) return fail(errno);
        target.Folder = std::move(next);
        target.FolderReadable = readable;
        shown += part + "/";
    }
    // A path of nothing but slashes: the root folder itself.
    target.Exists = true;
    target.Refusal = u"Cannot write \"" + fileName + u"\": it is a folder, not a regular file";
    return target;
}
