#pragma once
// The sectioned name=value store behind the settings file and the key-map files.
#include <cstdint>
#include "platform/Stream.h"
#include "platform/StringList.h"
#include "platform/Text.h"
#include "settings/NamedItems.h"

/// One entry: the name as first given, its upper-cased search form, and the value.
class TNrKeyValuePair {
public:
    TNrKeyValuePair(const UnicodeString& name, const UnicodeString& value);

    const UnicodeString& KeyName() const { return fKeyName; }
    const UnicodeString& KeySearchName() const { return fKeySearchName; }
    const UnicodeString& KeyValue() const { return fKeyValue; }
    /// Ignored when name is empty.
    void SetKeyName(const UnicodeString& name);
    void SetKeyValue(const UnicodeString& value) { fKeyValue = value; }
    /// Splits a line at its first '=' into trimmed name and value; a line without '=' (or starting
    /// with it) is all name with an empty value.
    void SetFromLine(std::u16string_view line);

private:
    UnicodeString fKeyName;
    UnicodeString fKeySearchName;
    UnicodeString fKeyValue;
};

/// One section: entries in the order they were first set, names compared without case.
class TNrKeyValueList {
public:
    explicit TNrKeyValueList(const UnicodeString& name);

    const UnicodeString& Name() const { return fName; }
    const UnicodeString& SearchName() const { return fSearchName; }

    int KeyCount() const { return fKeys.Count(); }
    /// -1 when absent or when name is empty.
    int IndexOfKey(std::u16string_view name) const;
    /// Nothing, or the empty text, when index is out of range.
    const TNrKeyValuePair* PairAt(int index) const;
    UnicodeString KeyNameAt(int index) const;
    UnicodeString KeyValueAt(int index) const;
    /// The empty text when absent.
    UnicodeString GetValue(std::u16string_view name) const;
    /// Updates the named entry in its place, or appends it; ignored when name is empty.
    void SetValue(const UnicodeString& name, const UnicodeString& value);
    /// SetValue with the pair's name and value.
    void SetPair(TNrKeyValuePair pair);
    /// Ignored when out of range.
    void Delete(int index);
    void DeleteKey(std::u16string_view name);
    void Clear() { fKeys.Clear(); }
    /// True when other holds, for every entry of this section, the same value under the same name.
    /// One-directional: entries only other holds are not looked at.
    bool CompareTo(const TNrKeyValueList* other) const;

private:
    TNamedItems<TNrKeyValuePair, &TNrKeyValuePair::KeySearchName> fKeys;
    UnicodeString fName;
    UnicodeString fSearchName;
};

/// The store: sections in the order they were first created.
class TNrKeyValueSections {
public:
    void Clear() { fSections.Clear(); }
    int IndexOf(std::u16string_view section) const;
    int SectionCount() const { return fSections.Count(); }
    /// Nothing when out of range.
    const TNrKeyValueList* SectionAt(int index) const;
    TNrKeyValueList* SectionAt(int index);
    const TNrKeyValueList* FindSection(std::u16string_view section) const;
    TNrKeyValueList* FindSection(std::u16string_view section);
    /// Appends an empty section when the name is not empty and absent.
    void AddSection(const UnicodeString& section);
    void Delete(int index);
    void DeleteSection(std::u16string_view section);

    bool KeyExists(std::u16string_view section, std::u16string_view key) const;
    /// The empty text when either name is empty or absent.
    UnicodeString GetValue(std::u16string_view section, std::u16string_view key) const;
    /// Finds or appends the section, then sets the entry; ignored when either name is empty.
    void SetValue(const UnicodeString& section, const UnicodeString& key, const UnicodeString& value);

    void GetSectionNames(TStringList& strings) const;
    void GetKeyNames(std::u16string_view section, TStringList& strings) const;
    void GetKeyValues(std::u16string_view section, TStringList& strings) const;
    /// Copies every entry of source; sections without entries are dropped.
    void Assign(const TNrKeyValueSections* source);
    /// True when every section of this store is in other and compares true there (one-directional).
    bool CompareTo(const TNrKeyValueSections* other) const;

    /// "[name]" for each section, then "name=value" for each entry.
    void SaveToStrings(TStringList& strings) const;
    /// Clears the store and parses the lines (see SaveToStrings).
    void LoadFromStrings(const TStringList& strings);
    /// Writes the text as lines ended by CR LF through a temporary file, so the old file survives a
    /// failure: 8-bit text, or UTF-8 behind its byte-order mark where a name or value holds a
    /// character that 8-bit text cannot. Returns an empty text on success, else the reason.
    UnicodeString SaveToFile(const UnicodeString& fileName) const;
    /// False, with the store unchanged, when the file is missing or cannot be read; for a file that
    /// is there but cannot be read, *error (when given) says why.
    bool LoadFromFile(const UnicodeString& fileName, UnicodeString* error = nullptr);
    /// The text of a file, written at the stream's position; false without a stream or when the
    /// stream took less than all of it.
    bool SaveToStream(TStream* stream) const;
    /// Clears the store and parses the stream from its position to its end, as a file is read;
    /// false, with the store unchanged, without a stream.
    bool LoadFromStream(TStream* stream);

    /// Typed access: a missing key or a value that does not convert yields the default.
    UnicodeString ReadString(std::u16string_view section, std::u16string_view key,
                             const UnicodeString& fallback) const;
    void WriteString(const UnicodeString& section, const UnicodeString& key, const UnicodeString& value);
    int ReadInteger(std::u16string_view section, std::u16string_view key, int fallback) const;
    void WriteInteger(const UnicodeString& section, const UnicodeString& key, int value);
    /// True only for a value that is the number 1.
    bool ReadBool(std::u16string_view section, std::u16string_view key, bool fallback) const;
    void WriteBool(const UnicodeString& section, const UnicodeString& key, bool value);
    std::int64_t ReadInt64(std::u16string_view section, std::u16string_view key, std::int64_t fallback) const;
    void WriteInt64(const UnicodeString& section, const UnicodeString& key, std::int64_t value);
    /// Floating-point text with '.' as the decimal separator, whatever the locale.
    double ReadFloat(std::u16string_view section, std::u16string_view key, double fallback) const;
    void WriteFloat(const UnicodeString& section, const UnicodeString& key, double value);
    /// Values kept escaped (EscapeString), so control characters survive the text format.
    UnicodeString ReadText(std::u16string_view section, std::u16string_view key,
                           const UnicodeString& fallback) const;
    void WriteText(const UnicodeString& section, const UnicodeString& key, const UnicodeString& value);
    /// Values kept scrambled with a password (ScrambleString); the password is never stored.
    UnicodeString ReadCrypt(std::u16string_view section, std::u16string_view key,
                            const UnicodeString& password) const;
    void WriteCrypt(const UnicodeString& section, const UnicodeString& key, const UnicodeString& value,
                    const UnicodeString& password);

private:
    /// Where loading stands: the section of the last header, and its list once an entry made it.
    /// No other section is added before the next header, so the pointer stays good.
    struct TLoadPlace {
        UnicodeString Section;
        TNrKeyValueList* List = nullptr;
    };
    /// Takes one line of the text format: a header changes the place, an entry is set there.
    void LoadLine(std::u16string_view line, TLoadPlace& place);
    /// Clears the store and parses a whole text (see LoadFromStrings), of 16-bit code units or of
    /// 8-bit characters.
    template <class Char>
    void LoadFromText(std::basic_string_view<Char> text);
    /// The bytes SaveToFile writes.
    std::string FileBytes() const;
    /// The section of that name, appended when absent; the name is not empty.
    TNrKeyValueList& Section(const UnicodeString& section);
    TNamedItems<TNrKeyValueList, &TNrKeyValueList::SearchName> fSections;
};
