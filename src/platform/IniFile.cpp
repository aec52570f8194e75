#include "platform/IniFile.h"

#include "platform/Folders.h"

TIniFile::TIniFile(UnicodeString fileName) : fFileName(std::move(fileName))
{
    TStringList lines;
    if (!FileExists(fFileName) || !lines.LoadFromFile(fFileName)) return;
    Section* current = nullptr;
    for (int i = 0; i < lines.Count(); ++i) {
        const UnicodeString line = Trim(lines[i]);
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            const UnicodeString name = Trim(std::u16string_view(line).substr(1, line.size() - 2));
            current = &FindOrAdd(name);
            continue;
        }
        const std::size_t eq = line.find(u'=');
        if (!current || eq == 0 || eq == UnicodeString::npos) continue;
        const UnicodeString key = Trim(std::u16string_view(line).substr(0, eq));
        if (current->Entries.IndexOfName(key) < 0)
            current->Entries.Add(key + u"=" + Trim(std::u16string_view(line).substr(eq + 1)));
    }
}

const TIniFile::Section* TIniFile::Find(std::u16string_view section) const
{
    const UnicodeString wanted = UpperCase(section);
    for (const Section& s : fSections)
        if (UpperCase(s.Name) == wanted) return &s;
    return nullptr;
}

TIniFile::Section* TIniFile::Find(std::u16string_view section)
{
    return const_cast<Section*>(static_cast<const TIniFile&>(*this).Find(section));
}

TIniFile::Section& TIniFile::FindOrAdd(std::u16string_view section)
{
    if (Section* s = Find(section)) return *s;
    return fSections.emplace_back(Section{UnicodeString(section), {}});
}

bool TIniFile::SectionExists(std::u16string_view section) const { return Find(section) != nullptr; }

bool TIniFile::ValueExists(std::u16string_view section, std::u16string_view key) const
{
    const Section* s = Find(section);
    return s && s->Entries.IndexOfName(key) >= 0;
}

int TIniFile::ReadInteger(std::u16string_view section, std::u16string_view key, int fallback) const
{
    const Section* s = Find(section);
    if (!s || s->Entries.IndexOfName(key) < 0) return fallback;
    return StrToIntDef(s->Entries.Values(key), fallback);
}

void TIniFile::WriteInteger(std::u16string_view section, std::u16string_view key, int value)
{
    FindOrAdd(section).Entries.SetValue(key, IntToStr(value));
}

bool TIniFile::UpdateFile() const
{
    TStringList lines;
    for (const Section& s : fSections) {
        lines.Add(u"[" + s.Name + u"]");
        for (int i = 0; i < s.Entries.Count(); ++i) lines.Add(s.Entries[i]);
    }
    return lines.SaveToFile(fFileName);
}
