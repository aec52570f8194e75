#include "platform/Stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include "platform/Folders.h"

void TStream::SetPosition(std::int64_t position)
{
    fPosition = std::clamp<std::int64_t>(position, 0, Size());
}

int TMemoryStream::Read(void* buffer, int count)
{
    const std::int64_t left = Size() - fPosition;
    const int n = int(std::clamp<std::int64_t>(count, 0, std::max<std::int64_t>(left, 0)));
    std::memcpy(buffer, fBytes.data() + fPosition, std::size_t(n));
    fPosition += n;
    return n;
}

int TMemoryStream::Write(const void* buffer, int count)
{
    if (count <= 0) return 0;
    const std::size_t end = std::size_t(fPosition) + std::size_t(count);
    if (end > fBytes.size()) fBytes.resize(end);
    std::memcpy(fBytes.data() + fPosition, buffer, std::size_t(count));
    fPosition = std::int64_t(end);
    return count;
}

bool TMemoryStream::LoadFromFile(const UnicodeString& fileName)
{
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes)) return false;
    fBytes = std::move(bytes);
    fPosition = 0;
    return true;
}

TFileStream::TFileStream(const UnicodeString& fileName, TMode mode)
{
    const int flags = mode == fmCreate ? O_WRONLY | O_CREAT | O_TRUNC : O_RDONLY;
    fFd = ::open(ToUtf8(fileName).c_str(), flags | O_CLOEXEC, 0666);
    if (fFd < 0) {
        const char* what = mode == fmCreate ? "Cannot create file \"" : "Cannot open file \"";
        throw std::runtime_error(what + ToUtf8(fileName) + "\". " + std::generic_category().message(errno));
    }
}

TFileStream::~TFileStream()
{
    ::close(fFd);
}

std::int64_t TFileStream::Size() const
{
    struct stat info {};
    return ::fstat(fFd, &info) == 0 ? std::int64_t(info.st_size) : 0;
}

int TFileStream::Read(void* buffer, int count)
{
    for (;;) {
        const ssize_t n = ::pread(fFd, buffer, std::size_t(std::max(count, 0)), fPosition);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0;
        fPosition += n;
        return int(n);
    }
}

int TFileStream::Write(const void* buffer, int count)
{
    int done = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (done < count) {
        const ssize_t n = ::pwrite(fFd, bytes + done, std::size_t(count - done), fPosition);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += int(n);
        fPosition += n;
    }
    return done;
}
