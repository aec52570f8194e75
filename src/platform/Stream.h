#pragma once
// Byte streams of the class library: a position over bytes held in memory or in a file.
#include <cstdint>
#include <string>
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
    /// Replaces the contents with a whole file; false, with the contents kept, when it cannot be read.
    bool LoadFromFile(const UnicodeString& fileName);

private:
    std::string fBytes;
};

/// A file opened for reading, or created (emptied when it exists) for writing. Every write goes
/// to the file at once, so what was written survives a failure later on.
class TFileStream : public TStream {
public:
    enum TMode { fmOpenRead, fmCreate };
    /// Throws std::runtime_error naming the file and the reason when it cannot be opened.
    TFileStream(const UnicodeString& fileName, TMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int64_t Size() const override;
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;

private:
    int fFd = -1;
};
