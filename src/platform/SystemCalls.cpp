#include "platform/SystemCalls.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const TSystemCalls kReal = {
    [](int dir, const char* name, int flags, mode_t mode) { return ::openat(dir, name, flags, mode); },
    ::close,
    ::pread,
    ::pwrite,
    ::fsync,
    ::fstat,
    ::fstatat,
    ::readlinkat,
    ::faccessat,
    ::fchown,
    ::fchmod,
    ::ftruncate,
    ::fallocate,
    ::flock,
    ::renameat,
    ::unlinkat,
    ::mkdirat,
    ::flistxattr,
    ::fgetxattr,
    ::fsetxattr,
    [](int fd, int lowest) { return ::fcntl(fd, F_DUPFD_CLOEXEC, lowest); },
};

}  // namespace

const TSystemCalls& RealSystemCalls()
{
    return kReal;
}

TSystemCalls& SystemCalls()
{
    static TSystemCalls calls = kReal;
    return calls;
}
