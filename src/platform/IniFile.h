#pragma once
// The class library's ini file: [section] headers and name=value lines, kept in memory and
// written back on request.
#include <string_view>
#include <vector>
#include "platform/StringList.h"
#include "platform/Text.h"

/// Section and key names compare without case; the first of repeated names counts.
class TIniFile {
public:
    /// Reads the file when it exists; a missing or unreadable file reads as empty.
    explicit TIniFile(UnicodeString fileName);

    bool SectionExists(std::u16string_view section) const;
    bool ValueExists(std::u16string_view section, std::u16string_view key) const;
    /// The default when the key is missing or its value is no whole number.
    int ReadInteger(std::u16string_view section, std::u16string_view key, int fallback) const;
    void WriteInteger(std::u16string_view section, std::u16string_view key, int value);
    /// Writes the file as 8-bit text with CR LF; false when it cannot be written.
    bool UpdateFile() const;

private:
    struct Section {
        UnicodeString Name;
        /// name=value lines.
        TStringList Entries;
    };
    /// The section of that name, or nullptr.
    const Section* Find(std::u16string_view section) const;
    Section* Find(std::u16string_view section);
    Section& FindOrAdd(std::u16string_view section);

    UnicodeString fFileName;
    std::vector<Section> fSections;
};
