#include "blocks/BlockFile.h"
#include <algorithm>
#include "blocks/BlockLines.h"
#include "platform/FileReplacement.h"
#include "platform/Folders.h"

bool IsBlockFileName(const UnicodeString& FileName)
{
    return SameText(ExtractFileExt(FileName), u".blk");
}

std::string WriteBlockStream(const TStringList& Lines)
{
    std::string bytes(std::size_t(Lines.Count()) * BlockLineLength, ' ');
    char* record = bytes.data();
    for (int i = 0; i < Lines.Count(); ++i, record += BlockLineLength) {
        const UnicodeString& line = Lines[i];
        const std::size_t n = std::min(line.size(), std::size_t(BlockLineLength));
        // Narrowed as ToAnsi does, without a copy of every line.
        for (std::size_t k = 0; k < n; ++k) record[k] = line[k] > 0xFF ? '?' : char(line[k]);
    }
    return bytes;
}

void ReadBlockStream(std::string_view Bytes, TStringList& Lines)
{
    Lines.Clear();
    UnicodeString line;
    for (std::size_t offset = 0; offset < Bytes.size(); offset += BlockLineLength) {
        std::string_view record = Bytes.substr(offset, BlockLineLength);
        line.assign(BlockLineLength, u' ');
        for (std::size_t k = 0; k < record.size(); ++k) line[k] = char16_t(static_cast<unsigned char>(record[k]));
        Lines.Add(line);
    }
}

bool LoadBlockFileLines(const UnicodeString& FileName, TStringList& Lines, UnicodeString* Error)
{
    std::string bytes;
    if (!ReadFileBytes(FileName, bytes, Error)) return false;
    ReadBlockStream(bytes, Lines);
    return true;
}

bool LoadBlockTextFile(const UnicodeString& FileName, TStringList& Lines, UnicodeString* Error)
{
    TStringList loaded;
    if (!loaded.LoadFromFile(FileName, Error)) return false;
    Lines = std::move(loaded);
    return true;
}

UnicodeString SaveBlockFile(const UnicodeString& FileName, const TStringList& Lines)
{
    return SaveFileSafely(FileName, WriteBlockStream(Lines));
}

UnicodeString SaveBlockTextFile(const UnicodeString& FileName, const TStringList& Lines)
{
    UnicodeString error;
    Lines.SaveToFile(FileName, &error);
    return error;
}
