#pragma once
// Folders and files: application data, the program's own folder, existence, times, safe saving.
#include <cstdint>
#include <optional>
#include <string_view>
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
/// A save of fileName begins: the temporary file that a killed save left beside it goes, and the
/// result says why the save may not go ahead, naming the file: the user may not write it, or may not
/// create it in its folder. Empty when it may.
UnicodeString BeginSave(const UnicodeString& fileName);
/// Writes bytes to a temporary file beside fileName and renames it over fileName, so the old file
/// survives any failure; in a folder the user may not write, over a file they may, in place. A file
/// the user may not write is refused (as BeginSave says). Returns an empty text on success, else the reason.
UnicodeString SaveFileSafely(const UnicodeString& fileName, std::string_view bytes);

/// fileName as an absolute path: a relative name is taken in the current folder.
UnicodeString ExpandFileName(const UnicodeString& fileName);

/// New contents for a file, written piece by piece to a temporary file beside it and put in its
/// place only by Commit: until then, and after any failure, the file is as it was (a missing one
/// stays missing). Dropped without Commit, the temporary file goes; one that a killed save left is
/// removed as the next replacement of the file starts. A file the user may not write is refused;
/// a file in a folder they may not write gets its new contents in place, at Commit.
class TFileReplacement {
public:
    explicit TFileReplacement(const UnicodeString& fileName);
    ~TFileReplacement();
    TFileReplacement(const TFileReplacement&) = delete;
    TFileReplacement& operator=(const TFileReplacement&) = delete;

    /// Empty while all went well; else why the replacement cannot be made.
    const UnicodeString& Error() const { return fError; }
    /// Writes bytes at offset of the new contents; false, with Error set, when they cannot be.
    bool WriteAt(std::int64_t offset, std::string_view bytes);
    /// Makes the new contents durable and puts them in place; empty on success, else the reason.
    UnicodeString Commit();

private:
    bool Fail(const char16_t* what);
    UnicodeString fFileName;
    std::string fTarget;
    std::string fTemp;
    int fFd = -1;
    /// Written over the file itself: the contents wait here for Commit.
    bool fInPlace = false;
    std::string fInPlaceBytes;
    UnicodeString fError;
};

/// Name parts: ExtractFilePath keeps the trailing separator.
UnicodeString ExtractFilePath(const UnicodeString& fileName);
UnicodeString ExtractFileName(const UnicodeString& fileName);
UnicodeString ExtractFileExt(const UnicodeString& fileName);
