#pragma once
// Open files of the writer: an owned descriptor, and the calls it needs whole (every byte, past
// EINTR), all through the system-call table.
#include <cstdint>
#include <string>
#include <string_view>

/// A descriptor that closes with its owner; -1 when none.
class TFd {
public:
    TFd() = default;
    explicit TFd(int fd) : fFd(fd) {}
    ~TFd() { Reset(); }
    TFd(TFd&& other) noexcept : fFd(other.Release()) {}
    TFd& operator=(TFd&& other) noexcept;
    int Get() const { return fFd; }
    bool Valid() const { return fFd >= 0; }
    int Release();
    /// Closes the descriptor; false, with errno, when the close reported an error.
    bool Reset();

private:
    int fFd = -1;
};

/// openat that never returns 0, 1 or 2 (a closed standard stream must not receive a file's bytes)
/// and goes on past EINTR; -1 with errno on failure.
int OpenAt(int dir, const std::string& name, int flags, unsigned mode = 0);
/// True when a file may grow to length under the user's file-size limit.
bool WithinSizeLimit(std::int64_t length);
/// Writes all of bytes at offset; false with errno when they do not all go (ENOSPC for a write of
/// nothing). A write past the file-size limit is refused beforehand with EFBIG, since it would end
/// the program (SIGXFSZ) where that signal is not ignored. reached, when given, is set to the end
/// of what was written.
bool WriteAll(int fd, std::string_view bytes, std::int64_t offset, std::int64_t* reached = nullptr);
/// Reads the whole file open as fd; false with errno when it cannot.
bool ReadAll(int fd, std::string& bytes);
/// fsync past EINTR; false with errno.
bool Sync(int fd);
/// A name no one can guess in advance: count characters of [a-z0-9].
std::string RandomName(int count);
