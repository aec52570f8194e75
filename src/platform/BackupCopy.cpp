#include "platform/BackupCopy.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include "platform/FileNames.h"
#include "platform/SystemCalls.h"

namespace {

/// The program's folder below the user's state folder, made where missing; -1 with errno.
int OpenStateFolder()
{
    std::string path;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/') {
        path = state;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        path = std::string(home) + "/.local/state";
    } else {
        errno = ENOENT;
        return -1;
    }
    path += "/Brennix";
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        SystemCalls().MkdirAt(AT_FDCWD, path.substr(0, slash).c_str(), 0700);
    SystemCalls().MkdirAt(AT_FDCWD, path.c_str(), 0700);
    return OpenAt(AT_FDCWD, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace

int TBackupCopy::MakeIn(int folder, const std::string& name, std::string_view bytes)
{
    // Cut so that the copy's name stays within the file-name limit.
    const std::string base = name.substr(0, 200) + "~";
    int error = EEXIST;
    for (int tries = 0; tries < 8 && error == EEXIST; ++tries) {
        const std::string copy = base + RandomName(8);
        TFd fd(OpenAt(folder, copy, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd.Valid()) {
            error = errno;
            continue;
        }
        if (WriteAll(fd.Get(), bytes, 0) && Sync(fd.Get()) && fd.Reset() && Sync(folder)) {
            fName = copy;
            return 0;
        }
        error = errno;
        SystemCalls().UnlinkAt(folder, copy.c_str(), 0);
    }
    return error;
}

int TBackupCopy::Make(int folder, bool folderReadable, const std::string& name, std::string_view bytes)
{
    // Without a readable folder the copy's name could not be made durable.
    int error = folderReadable ? MakeIn(folder, name, bytes) : EACCES;
    if (error == 0) {
        fFolder = TFd(SystemCalls().DupFd(folder, 3));
        if (fFolder.Valid()) return 0;
        error = errno;
        SystemCalls().UnlinkAt(folder, fName.c_str(), 0);
        fName.clear();
    }
    TFd state(OpenStateFolder());
    if (state.Valid() && MakeIn(state.Get(), name, bytes) == 0) {
        fFolder = std::move(state);
        return 0;
    }
    return error;
}

UnicodeString TBackupCopy::Path() const
{
    char folder[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fFolder.Get());
    const ssize_t n = ::readlink(link.c_str(), folder, sizeof folder);
    const std::string path = n > 0 && n < ssize_t(sizeof folder) ? std::string(folder, std::size_t(n)) : ".";
    return FileNameFromBytes(path + (path == "/" ? "" : "/") + fName);
}

void TBackupCopy::Remove()
{
    if (fName.empty()) return;
    if (SystemCalls().UnlinkAt(fFolder.Get(), fName.c_str(), 0) == 0) Sync(fFolder.Get());
    fName.clear();
}
