#pragma once
// The system calls of the file writer, through one table: a test replaces entries to fail any call,
// to write short or to stand in for a power cut, which leaves no trace in the file alone.
#include <sys/stat.h>
#include <sys/types.h>
#include <cstddef>

struct TSystemCalls {
    int (*OpenAt)(int dir, const char* name, int flags, mode_t mode);
    int (*Close)(int fd);
    ssize_t (*PRead)(int fd, void* buffer, std::size_t size, off_t offset);
    ssize_t (*PWrite)(int fd, const void* buffer, std::size_t size, off_t offset);
    int (*FSync)(int fd);
    int (*FStat)(int fd, struct stat* st);
    int (*FStatAt)(int dir, const char* name, struct stat* st, int flags);
    ssize_t (*ReadLinkAt)(int dir, const char* name, char* buffer, std::size_t size);
    int (*FAccessAt)(int dir, const char* name, int mode, int flags);
    int (*FChown)(int fd, uid_t uid, gid_t gid);
    int (*FChmod)(int fd, mode_t mode);
    int (*FTruncate)(int fd, off_t length);
    int (*FAllocate)(int fd, int mode, off_t offset, off_t length);
    int (*Flock)(int fd, int operation);
    int (*RenameAt)(int fromDir, const char* from, int toDir, const char* to);
    int (*UnlinkAt)(int dir, const char* name, int flags);
    int (*MkdirAt)(int dir, const char* name, mode_t mode);
    ssize_t (*FListXattr)(int fd, char* list, std::size_t size);
    ssize_t (*FGetXattr)(int fd, const char* name, void* value, std::size_t size);
    int (*FSetXattr)(int fd, const char* name, const void* value, std::size_t size, int flags);
    /// fcntl F_DUPFD_CLOEXEC: a copy of fd at lowest or above.
    int (*DupFd)(int fd, int lowest);
};

/// The table the writer calls through. A test may change entries and must put them back.
TSystemCalls& SystemCalls();
/// The system's own calls.
const TSystemCalls& RealSystemCalls();
