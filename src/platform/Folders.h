#pragma once
// Folders and files: application data, the program's own folder, existence, times, reading.
// Saving goes through the writer in platform/FileReplacement.h.
#include <cstdint>
#include <optional>
#include <string>
#include "platform/Text.h"

/// The user's application-data folder ($XDG_CONFIG_HOME, else ~/.config) with a trailing '/';
/// empty when neither is known.
UnicodeString AppDataFolder();
/// The folder of the running program, with a trailing '/'.
UnicodeString ProgramFolder();
/// The running program's file.
UnicodeString ProgramFileName();

bool FileExists(const UnicodeString& fileName);
bool DirectoryExists(const UnicodeString& folder);
bool DeleteFile(const UnicodeString& fileName);
/// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const UnicodeString& folder);
/// Modification time in nanoseconds since the epoch; nothing when the file is missing.
std::optional<std::int64_t> FileModifiedTime(const UnicodeString& fileName);

/// The most bytes a file may hold to be read whole: room for a source of some hundred megabytes, and
/// small enough that what it becomes in memory (two bytes a character, a record a line) fits in any
/// address space the program runs in.
inline constexpr std::int64_t kMaxReadFileSize = std::int64_t(256) << 20;

/// Reads a whole regular file as bytes. False, with bytes unchanged, when it cannot be opened or
/// read, is not a regular file (a FIFO or a device is never waited on) or holds more than
/// kMaxReadFileSize bytes or more than memory can hold; then *error, when given, says why, naming
/// the file.
bool ReadFileBytes(const UnicodeString& fileName, std::string& bytes, UnicodeString* error = nullptr);
/// fileName as an absolute path: a relative name is taken in the current folder.
UnicodeString ExpandFileName(const UnicodeString& fileName);

/// Name parts: ExtractFilePath keeps the trailing separator.
UnicodeString ExtractFilePath(const UnicodeString& fileName);
UnicodeString ExtractFileName(const UnicodeString& fileName);
UnicodeString ExtractFileExt(const UnicodeString& fileName);
