#include "settings/ConfigObject.h"

#include <charconv>
#include <string>
#include <type_traits>
#include "platform/FileReplacement.h"
#include "platform/Folders.h"
#include "settings/CGIStringEncode.h"
#include "settings/CryptString.h"

TNrKeyValuePair::TNrKeyValuePair(const UnicodeString& name, const UnicodeString& value) : fKeyValue(value)
{
    SetKeyName(name);
}

void TNrKeyValuePair::SetKeyName(const UnicodeString& name)
{
    if (name.empty()) return;
    fKeyName = name;
    fKeySearchName = UpperCase(name);
}

void TNrKeyValuePair::SetFromLine(std::u16string_view line)
{
    std::size_t eq = line.find(u'=');
    if (eq == std::u16string_view::npos || eq == 0) {
        SetKeyName(UnicodeString(line));
        fKeyValue.clear();
        return;
    }
    if (UnicodeString name = Trim(line.substr(0, eq)); !name.empty()) {
        fKeySearchName = UpperCase(name);
        fKeyName = std::move(name);
    }
    fKeyValue = Trim(line.substr(eq + 1));
}

TNrKeyValueList::TNrKeyValueList(const UnicodeString& name) : fName(name), fSearchName(UpperCase(name)) {}

int TNrKeyValueList::IndexOfKey(std::u16string_view name) const
{
    return name.empty() ? -1 : fKeys.IndexOf(UpperCase(name));
}

const TNrKeyValuePair* TNrKeyValueList::PairAt(int index) const
{
    return index >= 0 && index < KeyCount() ? &fKeys[index] : nullptr;
}

UnicodeString TNrKeyValueList::KeyNameAt(int index) const
{
    const TNrKeyValuePair* pair = PairAt(index);
    return pair ? pair->KeyName() : UnicodeString();
}

UnicodeString TNrKeyValueList::KeyValueAt(int index) const
{
    const TNrKeyValuePair* pair = PairAt(index);
    return pair ? pair->KeyValue() : UnicodeString();
}

UnicodeString TNrKeyValueList::GetValue(std::u16string_view name) const
{
    return KeyValueAt(IndexOfKey(name));
}

void TNrKeyValueList::SetValue(const UnicodeString& name, const UnicodeString& value)
{
    SetPair(TNrKeyValuePair(name, value));
}

void TNrKeyValueList::SetPair(TNrKeyValuePair pair)
{
    if (pair.KeyName().empty()) return;
    const int index = fKeys.IndexOf(pair.KeySearchName());
    if (index >= 0) fKeys[index].SetKeyValue(pair.KeyValue());
    else fKeys.Append(std::move(pair));
}

void TNrKeyValueList::Delete(int index)
{
    if (index >= 0 && index < KeyCount()) fKeys.Erase(index);
}

void TNrKeyValueList::DeleteKey(std::u16string_view name)
{
    Delete(IndexOfKey(name));
}

bool TNrKeyValueList::CompareTo(const TNrKeyValueList* other) const
{
    if (!other) return false;
    for (const TNrKeyValuePair& pair : fKeys)
        if (other->GetValue(pair.KeyName()) != pair.KeyValue()) return false;
    return true;
}

int TNrKeyValueSections::IndexOf(std::u16string_view section) const
{
    return section.empty() ? -1 : fSections.IndexOf(UpperCase(section));
}

const TNrKeyValueList* TNrKeyValueSections::SectionAt(int index) const
{
    return index >= 0 && index < SectionCount() ? &fSections[index] : nullptr;
}

TNrKeyValueList* TNrKeyValueSections::SectionAt(int index)
{
    return index >= 0 && index < SectionCount() ? &fSections[index] : nullptr;
}

const TNrKeyValueList* TNrKeyValueSections::FindSection(std::u16string_view section) const
{
    return SectionAt(IndexOf(section));
}

TNrKeyValueList* TNrKeyValueSections::FindSection(std::u16string_view section)
{
    return SectionAt(IndexOf(section));
}

TNrKeyValueList& TNrKeyValueSections::Section(const UnicodeString& section)
{
    TNrKeyValueList list(section);
    const int index = fSections.IndexOf(list.SearchName());
    return index >= 0 ? fSections[index] : fSections.Append(std::move(list));
}

void TNrKeyValueSections::AddSection(const UnicodeString& section)
{
    if (!section.empty()) Section(section);
}

void TNrKeyValueSections::Delete(int index)
{
    if (index >= 0 && index < SectionCount()) fSections.Erase(index);
}

void TNrKeyValueSections::DeleteSection(std::u16string_view section)
{
    Delete(IndexOf(section));
}

bool TNrKeyValueSections::KeyExists(std::u16string_view section, std::u16string_view key) const
{
    const TNrKeyValueList* list = FindSection(section);
    return list && list->IndexOfKey(key) >= 0;
}

UnicodeString TNrKeyValueSections::GetValue(std::u16string_view section, std::u16string_view key) const
{
    const TNrKeyValueList* list = FindSection(section);
    return list ? list->GetValue(key) : UnicodeString();
}

void TNrKeyValueSections::SetValue(const UnicodeString& section, const UnicodeString& key,
                                   const UnicodeString& value)
{
    if (section.empty() || key.empty()) return;
    Section(section).SetValue(key, value);
}

void TNrKeyValueSections::GetSectionNames(TStringList& strings) const
{
    strings.Clear();
    for (const TNrKeyValueList& list : fSections) strings.Add(list.Name());
}

void TNrKeyValueSections::GetKeyNames(std::u16string_view section, TStringList& strings) const
{
    strings.Clear();
    if (const TNrKeyValueList* list = FindSection(section))
        for (int i = 0; i < list->KeyCount(); ++i) strings.Add(list->KeyNameAt(i));
}

void TNrKeyValueSections::GetKeyValues(std::u16string_view section, TStringList& strings) const
{
    strings.Clear();
    if (const TNrKeyValueList* list = FindSection(section))
        for (int i = 0; i < list->KeyCount(); ++i) strings.Add(list->KeyValueAt(i));
}

void TNrKeyValueSections::Assign(const TNrKeyValueSections* source)
{
    if (source == this) return;
    Clear();
    if (!source) return;
    for (const TNrKeyValueList& list : source->fSections)
        for (int i = 0; i < list.KeyCount(); ++i) SetValue(list.Name(), list.KeyNameAt(i), list.KeyValueAt(i));
}

bool TNrKeyValueSections::CompareTo(const TNrKeyValueSections* other) const
{
    if (!other) return false;
    for (const TNrKeyValueList& list : fSections)
        if (!list.CompareTo(other->FindSection(list.Name()))) return false;
    return true;
}

void TNrKeyValueSections::SaveToStrings(TStringList& strings) const
{
    strings.Clear();
    for (const TNrKeyValueList& list : fSections) {
        strings.Add(u"[" + list.Name() + u"]");
        for (int i = 0; i < list.KeyCount(); ++i) strings.Add(list.KeyNameAt(i) + u"=" + list.KeyValueAt(i));
    }
}

void TNrKeyValueSections::LoadLine(std::u16string_view text, TLoadPlace& place)
{
    const std::u16string_view line = TrimView(text);
    if (line.empty()) return;
    if (line.front() == u'[' && line.back() == u']') {
        UnicodeString name = Trim(line.substr(1, line.size() - 2));
        if (!name.empty()) place = {std::move(name), nullptr};
        return;
    }
    if (place.Section.empty()) return;
    TNrKeyValuePair pair(u"", u"");
    pair.SetFromLine(line);
    if (pair.KeyName().empty()) return;
    if (!place.List) place.List = &Section(place.Section);
    place.List->SetPair(std::move(pair));
}

void TNrKeyValueSections::LoadFromStrings(const TStringList& strings)
{
    Clear();
    TLoadPlace place;
    for (int i = 0; i < strings.Count(); ++i) LoadLine(strings[i], place);
}

template <class Char>
void TNrKeyValueSections::LoadFromText(std::basic_string_view<Char> text)
{
    Clear();
    TLoadPlace place;
    UnicodeString wide;
    // CR, LF and CR LF each end a line; the empty lines between a CR and its LF are skipped anyway.
    for (std::size_t start = 0, i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != Char('\r') && text[i] != Char('\n')) continue;
        const std::basic_string_view<Char> line = text.substr(start, i - start);
        start = i + 1;
        if constexpr (std::is_same_v<Char, char16_t>) {
            LoadLine(line, place);
        } else {
            wide.resize(line.size());
            for (std::size_t k = 0; k < line.size(); ++k) wide[k] = char16_t(static_cast<unsigned char>(line[k]));
            LoadLine(wide, place);
        }
    }
}

std::string TNrKeyValueSections::FileBytes() const
{
    TStringList lines;
    SaveToStrings(lines);
    const UnicodeString text = lines.Text();
    return EncodeText(text, FindAnsiLoss(text).Count == 0 ? TTextEncoding::Ansi : TTextEncoding::Utf8);
}

UnicodeString TNrKeyValueSections::SaveToFile(const UnicodeString& fileName) const
{
    return SaveFileSafely(fileName, FileBytes());
}

bool TNrKeyValueSections::LoadFromFile(const UnicodeString& fileName, UnicodeString* error)
{
    std::string bytes;
    if (!FileExists(fileName) || !ReadFileBytes(fileName, bytes, error)) return false;
    // Straight from the text, without a string per line, and 8-bit text straight from its bytes: a
    // file of a million keys stays quick.
    if (EncodingOf(bytes) == TTextEncoding::Ansi && !bytes.starts_with(Utf8ByteOrderMark))
        LoadFromText(std::string_view(bytes));
    else
        LoadFromText(std::u16string_view(FileText(bytes)));
    return true;
}

bool TNrKeyValueSections::SaveToStream(TStream* stream) const
{
    if (!stream) return false;
    const std::string bytes = FileBytes();
    return stream->Write(bytes.data(), int(bytes.size())) == int(bytes.size());
}

bool TNrKeyValueSections::LoadFromStream(TStream* stream)
{
    if (!stream) return false;
    TStringList lines;
    lines.LoadFromStream(*stream);
    LoadFromStrings(lines);
    return true;
}

UnicodeString TNrKeyValueSections::ReadString(std::u16string_view section, std::u16string_view key,
                                              const UnicodeString& fallback) const
{
    return KeyExists(section, key) ? GetValue(section, key) : fallback;
}

void TNrKeyValueSections::WriteString(const UnicodeString& section, const UnicodeString& key,
                                      const UnicodeString& value)
{
    SetValue(section, key, value);
}

int TNrKeyValueSections::ReadInteger(std::u16string_view section, std::u16string_view key, int fallback) const
{
    return StrToIntDef(ReadString(section, key, IntToStr(fallback)), fallback);
}

void TNrKeyValueSections::WriteInteger(const UnicodeString& section, const UnicodeString& key, int value)
{
    SetValue(section, key, IntToStr(value));
}

bool TNrKeyValueSections::ReadBool(std::u16string_view section, std::u16string_view key, bool fallback) const
{
    UnicodeString text = ReadString(section, key, fallback ? u"1" : u"0");
    // Two different fallbacks tell a failed conversion from a converted value.
    int a = StrToIntDef(text, 0), b = StrToIntDef(text, 1);
    return a == b ? a == 1 : fallback;
}

void TNrKeyValueSections::WriteBool(const UnicodeString& section, const UnicodeString& key, bool value)
{
    SetValue(section, key, value ? u"1" : u"0");
}

std::int64_t TNrKeyValueSections::ReadInt64(std::u16string_view section, std::u16string_view key,
                                            std::int64_t fallback) const
{
    return StrToInt64Def(ReadString(section, key, IntToStr(fallback)), fallback);
}

void TNrKeyValueSections::WriteInt64(const UnicodeString& section, const UnicodeString& key, std::int64_t value)
{
    SetValue(section, key, IntToStr(value));
}

double TNrKeyValueSections::ReadFloat(std::u16string_view section, std::u16string_view key, double fallback) const
{
    if (!KeyExists(section, key)) return fallback;
    std::string text = ToAnsi(GetValue(section, key));
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

void TNrKeyValueSections::WriteFloat(const UnicodeString& section, const UnicodeString& key, double value)
{
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    SetValue(section, key, FromAnsi(std::string_view(buffer, std::size_t(end - buffer))));
}

UnicodeString TNrKeyValueSections::ReadText(std::u16string_view section, std::u16string_view key,
                                            const UnicodeString& fallback) const
{
    return KeyExists(section, key) ? UnescapeString(GetValue(section, key)) : fallback;
}

void TNrKeyValueSections::WriteText(const UnicodeString& section, const UnicodeString& key,
                                    const UnicodeString& value)
{
    SetValue(section, key, EscapeString(value));
}

UnicodeString TNrKeyValueSections::ReadCrypt(std::u16string_view section, std::u16string_view key,
                                             const UnicodeString& password) const
{
    return UnscrambleString(password, ReadString(section, key, u""));
}

void TNrKeyValueSections::WriteCrypt(const UnicodeString& section, const UnicodeString& key,
                                     const UnicodeString& value, const UnicodeString& password)
{
    SetValue(section, key, ScrambleString(password, value));
}
