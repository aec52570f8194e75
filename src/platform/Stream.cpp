#include "platform/Stream.h"

#include <algorithm>
#include <cstring>
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

bool TMemoryStream::LoadFromFile(const UnicodeString& fileName, UnicodeString* error)
{
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes, error)) return false;
    fBytes = std::move(bytes);
    fPosition = 0;
    return true;
}

int TFileReplacementStream::Write(const void* buffer, int count)
{
    if (count <= 0) return 0;
    if (!fReplacement.WriteAt(fPosition, std::string_view(static_cast<const char*>(buffer), std::size_t(count))))
        return 0;
    fPosition += count;
    fSize = std::max(fSize, fPosition);
    return count;
}
