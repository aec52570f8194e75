#include "platform/FileDescriptor.h"

#include <cerrno>
#include <random>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include "platform/SystemCalls.h"

TFd& TFd::operator=(TFd&& other) noexcept
{
    if (this != &other) {
        Reset();
        fFd = other.Release();
    }
    return *this;
}

int TFd::Release()
{
    const int fd = fFd;
    fFd = -1;
    return fd;
}

bool TFd::Reset()
{
    if (fFd < 0) return true;
    // Never retried: on Linux the descriptor is gone even when close reports EINTR.
    const bool closed = SystemCalls().Close(fFd) == 0;
    fFd = -1;
    return closed;
}

int OpenAt(int dir, const std::string& name, int flags, unsigned mode)
{
    int fd;
    do {
        fd = SystemCalls().OpenAt(dir, name.c_str(), flags, mode_t(mode));
    } while (fd < 0 && errno == EINTR);
    if (fd < 0 || fd > 2) return fd;
    const int moved = SystemCalls().DupFd(fd, 3);
    const int error = errno;
    SystemCalls().Close(fd);
    errno = error;
    return moved;
}

bool WithinSizeLimit(std::int64_t length)
{
    rlimit limit;
    return ::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
           std::uint64_t(length) <= std::uint64_t(limit.rlim_cur);
}

bool WriteAll(int fd, std::string_view bytes, std::int64_t offset, std::int64_t* reached)
{
    if (reached) *reached = offset;
    if (!WithinSizeLimit(offset + std::int64_t(bytes.size()))) {
        errno = EFBIG;
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t n = SystemCalls().PWrite(fd, bytes.data(), bytes.size(), off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
        offset += n;
        if (reached) *reached = offset;
    }
    return true;
}

bool ReadAll(int fd, std::string& bytes)
{
    struct stat st;
    if (SystemCalls().FStat(fd, &st) != 0) return false;
    bytes.assign(std::size_t(st.st_size), '\0');
    std::size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t n = SystemCalls().PRead(fd, bytes.data() + at, bytes.size() - at, off_t(at));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        at += std::size_t(n);
    }
    bytes.resize(at);
    return true;
}

bool Sync(int fd)
{
    int synced;
    do {
        synced = SystemCalls().FSync(fd);
    } while (synced != 0 && errno == EINTR);
    return synced == 0;
}

std::string RandomName(int count)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char random[64];
    if (count > int(sizeof random) || ::getrandom(random, std::size_t(count), GRND_NONBLOCK) != ssize_t(count)) {
        std::random_device device;
        for (int i = 0; i < count && i < int(sizeof random); ++i) random[i] = (unsigned char)device();
    }
    std::string name;
    for (int i = 0; i < count; ++i) name += kLetters[random[i] % 36];
    return name;
}
