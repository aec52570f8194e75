#pragma once
// What a new file takes over from the old one it replaces: owner, group, mode with its set-ID bits,
// and extended attributes (an access ACL among them).
#include <sys/stat.h>

/// Gives the file open as fd the owner and group of old where either differs; false with errno
/// (EPERM: the user may not give a file away).
bool TakeOwner(int fd, const struct stat& old);
/// Copies every extended attribute of the file open as from to the one open as to; false with
/// errno when one cannot be copied. A file system without them has none to copy.
bool CopyAttributes(int from, int to);
/// Gives the file open as fd mode, set-ID bits included, where the system lets the user keep them.
/// Called after the owner and the bytes, each of which may drop those bits.
bool TakeMode(int fd, mode_t mode);
/// The mode the system gives a new file made with 0666: the umask taken off.
mode_t NewFileMode();
