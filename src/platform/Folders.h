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

/// Reads a whole file as bytes; false when it cannot be read.
bool ReadFileBytes(const UnicodeString& fileName, std::string& bytes);
/// fileName as an absolute path: a relative name is taken in the current folder.
UnicodeString ExpandFileName(const UnicodeString& fileName);

/// Name parts: ExtractFilePath keeps the trailing separator.
UnicodeString ExtractFilePath(const UnicodeString& fileName);
UnicodeString ExtractFileName(const UnicodeString& fileName);
UnicodeString ExtractFileExt(const UnicodeString& fileName);
