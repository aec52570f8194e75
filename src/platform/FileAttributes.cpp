#include "platform/FileAttributes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "platform/SystemCalls.h"

bool TakeOwner(int fd, const struct stat& old)
{
    struct stat now;
    if (SystemCalls().FStat(fd, &now) != 0) return false;
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid) return true;
    return SystemCalls().FChown(fd, old.st_uid, old.st_gid) == 0;
}

namespace {

/// Calls get with a buffer until it fits; the bytes, or false with errno.
template <typename Get>
bool GrowingRead(Get get, std::vector<char>& bytes)
{
    for (int tries = 0; tries < 8; ++tries) {
        const ssize_t size = get(nullptr, 0);
        if (size < 0) return false;
        bytes.resize(std::size_t(size));
        const ssize_t got = get(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(std::size_t(got));
            return true;
        }
        // Grown between the two calls.
        if (errno != ERANGE) return false;
    }
    return false;
}

}  // namespace

bool CopyAttributes(int from, int to)
{
    std::vector<char> names;
    if (!GrowingRead([&](char* buffer, std::size_t size) { return SystemCalls().FListXattr(from, buffer, size); },
                     names))
        return errno == ENOTSUP;
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.data() + at;
        at += std::strlen(name) + 1;
        std::vector<char> value;
        if (!GrowingRead(
                [&](char* buffer, std::size_t size) { return SystemCalls().FGetXattr(from, name, buffer, size); },
                value)) {
            // Gone since it was listed.
            if (errno == ENODATA) continue;
            return false;
        }
        // One the new file has already (a security label the system gave it) needs no right to set.
        std::vector<char> present;
        if (GrowingRead(
                [&](char* buffer, std::size_t size) { return SystemCalls().FGetXattr(to, name, buffer, size); },
                present) &&
            present == value)
            continue;
        if (SystemCalls().FSetXattr(to, name, value.data(), value.size(), 0) != 0) return false;
    }
    return true;
}

bool TakeMode(int fd, mode_t mode)
{
    return SystemCalls().FChmod(fd, mode & 07777) == 0;
}

mode_t NewFileMode()
{
    // Read where the system shows it: setting the umask to learn it would race other threads.
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found) return 0666 & ~mode_t(mask);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
