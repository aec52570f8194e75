#pragma once
// Byte streams of the class library: a position over bytes held in memory, or written to a file.
#include <cstdint>
#include <string>
#include "platform/FileReplacement.h"
#include "platform/Text.h"

/// A sequence of bytes with a position; Read and Write move the position by what they moved.
class TStream {
public:
    virtual ~TStream() = default;
    virtual std::int64_t Size() const = 0;
    std::int64_t Position() const { return fPosition; }
    /// Clamped to 0..Size.
    void SetPosition(std::int64_t position);
    /// Reads at most count bytes; returns how many were read (0 at the end).
    virtual int Read(void* buffer, int count) = 0;
    /// Returns how many bytes were written; fewer than count means the medium refused the rest.
    virtual int Write(const void* buffer, int count) = 0;

protected:
    std::int64_t fPosition = 0;
};

/// Bytes in memory; writing past the end makes it grow.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string bytes) : fBytes(std::move(bytes)) {}
    std::int64_t Size() const override { return std::int64_t(fBytes.size()); }
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    const std::string& Bytes() const { return fBytes; }
    /// Replaces the contents with a whole file; false, with the contents kept and the reason in
    /// *error when given, when it cannot be read (ReadFileBytes).
    bool LoadFromFile(const UnicodeString& fileName, UnicodeString* error = nullptr);

private:
    std::string fBytes;
};

/// The new contents of a file, written as a stream: the file itself changes only when Commit puts
/// them in place, so a write that stops halfway leaves it as it was. Reads nothing.
class TFileReplacementStream : public TStream {
public:
    explicit TFileReplacementStream(const UnicodeString& fileName) : fReplacement(fileName) {}
    /// Empty while the new contents can be written; else the reason.
    const UnicodeString& Error() const { return fReplacement.Error(); }
    std::int64_t Size() const override { return fSize; }
    int Read(void* buffer, int count) override { return 0; }
    /// All or nothing: 0 when the bytes cannot be written.
    int Write(const void* buffer, int count) override;
    /// Puts the contents written in place of the file; empty on success, else the reason.
    UnicodeString Commit() { return fReplacement.Commit(); }

private:
    TFileReplacement fReplacement;
    std::int64_t fSize = 0;
};
