#include "platform/StringList.h"

#include <algorithm>
#include <stdexcept>
#include "platform/Folders.h"
#include "platform/Stream.h"

namespace {

void CheckIndex(int index, int count)
{
    if (index < 0 || index >= count)
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

void CheckUnsorted(bool sorted)
{
    if (sorted) throw std::logic_error("Operation not allowed on sorted list");
}

} // namespace

int TStringList::Compare(std::u16string_view a, std::u16string_view b) const
{
    if (!fCaseSensitive) return CompareText(a, b);
    int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void TStringList::SetString(int index, const UnicodeString& s)
{
    CheckUnsorted(fSorted);
    CheckIndex(index, Count());
    fItems[std::size_t(index)].Text = s;
}

void TStringList::SetObject(int index, TObject* object)
{
    CheckIndex(index, Count());
    fItems[std::size_t(index)].Object = object;
}

int TStringList::Add(const UnicodeString& s, TObject* object)
{
    int index = Count();
    if (fSorted && Find(s, index)) {
        if (fDuplicates == TDuplicates::dupIgnore) return index;
        if (fDuplicates == TDuplicates::dupError) throw std::logic_error("String list does not allow duplicates");
    }
    fItems.insert(fItems.begin() + index, Item{s, object});
    return index;
}

void TStringList::Insert(int index, const UnicodeString& s, TObject* object)
{
    CheckUnsorted(fSorted);
    if (index < 0 || index > Count()) CheckIndex(index, Count());
    fItems.insert(fItems.begin() + index, Item{s, object});
}

void TStringList::Delete(int index)
{
    CheckIndex(index, Count());
    fItems.erase(fItems.begin() + index);
}

void TStringList::Clear()
{
    fItems.clear();
}

void TStringList::Exchange(int a, int b)
{
    CheckIndex(a, Count());
    CheckIndex(b, Count());
    std::swap(fItems[std::size_t(a)], fItems[std::size_t(b)]);
}

void TStringList::Move(int from, int to)
{
    if (from == to) return;
    CheckUnsorted(fSorted);
    CheckIndex(from, Count());
    CheckIndex(to, Count());
    Item item = std::move(fItems[std::size_t(from)]);
    fItems.erase(fItems.begin() + from);
    fItems.insert(fItems.begin() + to, std::move(item));
}

int TStringList::IndexOf(std::u16string_view s) const
{
    if (fSorted) {
        int index;
        return Find(s, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (Compare(fItems[std::size_t(i)].Text, s) == 0) return i;
    return -1;
}

bool TStringList::Find(std::u16string_view s, int& index) const
{
    // Lower bound: among duplicates the first one is found, and new ones go before it.
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = Compare(fItems[std::size_t(mid)].Text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) found = true;
        }
    }
    index = lo;
    return found;
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted == fSorted) return;
    if (sorted) Sort();
    fSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
    if (caseSensitive == fCaseSensitive) return;
    fCaseSensitive = caseSensitive;
    if (fSorted) Sort();
}

void TStringList::Sort()
{
    std::stable_sort(fItems.begin(), fItems.end(),
                     [this](const Item& a, const Item& b) { return Compare(a.Text, b.Text) < 0; });
}

UnicodeString TStringList::Names(int index) const
{
    const UnicodeString& s = (*this)[index];
    std::size_t eq = s.find(u'=');
    return eq == UnicodeString::npos ? UnicodeString() : s.substr(0, eq);
}

UnicodeString TStringList::ValueFromIndex(int index) const
{
    const UnicodeString& s = (*this)[index];
    std::size_t eq = s.find(u'=');
    return eq == UnicodeString::npos ? UnicodeString() : s.substr(eq + 1);
}

int TStringList::IndexOfName(std::u16string_view name) const
{
    for (int i = 0; i < Count(); ++i) {
        const UnicodeString& s = fItems[std::size_t(i)].Text;
        std::size_t eq = s.find(u'=');
        if (eq != UnicodeString::npos && Compare(std::u16string_view(s).substr(0, eq), name) == 0) return i;
    }
    return -1;
}

UnicodeString TStringList::Values(std::u16string_view name) const
{
    int i = IndexOfName(name);
    return i < 0 ? UnicodeString() : ValueFromIndex(i);
}

void TStringList::SetValue(std::u16string_view name, const UnicodeString& value)
{
    // An empty value removes the entry, as the class library does.
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    UnicodeString line = UnicodeString(name) + u"=" + value;
    if (i < 0) {
        Add(line);
    } else if (fSorted) {
        TObject* object = Objects(i);
        Delete(i);
        Add(line, object);
    } else {
        fItems[std::size_t(i)].Text = line;
    }
}

UnicodeString TStringList::Text() const
{
    std::size_t length = 0;
    for (const Item& item : fItems) length += item.Text.size() + 2;
    UnicodeString out;
    out.reserve(length);
    for (const Item& item : fItems) {
        out += item.Text;
        out += u"\r\n";
    }
    return out;
}

void TStringList::SetText(std::u16string_view text)
{
    Clear();
    std::size_t start = 0, i = 0;
    while (i < text.size()) {
        char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            Add(UnicodeString(text.substr(start, i - start)));
            i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) Add(UnicodeString(text.substr(start)));
}

UnicodeString TStringList::CommaText() const
{
    if (Count() == 1 && fItems[0].Text.empty()) return u"\"\"";
    UnicodeString out;
    for (int i = 0; i < Count(); ++i) {
        const UnicodeString& s = fItems[std::size_t(i)].Text;
        if (i > 0) out += u',';
        bool quote = std::any_of(s.begin(), s.end(), [](char16_t c) { return c <= u' ' || c == u'"' || c == u','; });
        if (!quote) {
            out += s;
            continue;
        }
        out += u'"';
        for (char16_t c : s) {
            if (c == u'"') out += u'"';
            out += c;
        }
        out += u'"';
    }
    return out;
}

void TStringList::SetCommaText(std::u16string_view text)
{
    Clear();
    auto blank = [&](std::size_t i) { return i < text.size() && text[i] <= u' '; };
    std::size_t i = 0;
    while (blank(i)) ++i;
    while (i < text.size()) {
        UnicodeString item;
        if (text[i] == u'"') {
            // A quoted item ends at a quote that is not doubled, or at the end of the text.
            for (++i; i < text.size(); ++i) {
                if (text[i] == u'"') {
                    if (i + 1 < text.size() && text[i + 1] == u'"') ++i;
                    else break;
                }
                item += text[i];
            }
            if (i < text.size()) ++i;
        } else {
            std::size_t start = i;
            while (i < text.size() && text[i] > u' ' && text[i] != u',') ++i;
            item = UnicodeString(text.substr(start, i - start));
        }
        Add(item);
        while (blank(i)) ++i;
        if (i < text.size() && text[i] == u',') {
            if (i + 1 == text.size()) Add(UnicodeString());
            ++i;
            while (blank(i)) ++i;
        }
    }
}

namespace {

/// A UTF-8 mark before bytes that are not UTF-8.
bool HasStrayUtf8Mark(std::string_view bytes)
{
    return EncodingOf(bytes) == TTextEncoding::Ansi && bytes.starts_with(Utf8ByteOrderMark);
}

}  // namespace

UnicodeString FileText(std::string_view bytes)
{
    // Such a mark is no part of the 8-bit text behind it: read as three characters it would spoil
    // the first line (a section header, a word).
    return HasStrayUtf8Mark(bytes) ? FromAnsi(bytes.substr(Utf8ByteOrderMark.size())) : DecodeText(bytes);
}

void TStringList::LoadBytes(const std::string& bytes)
{
    fEncoding = EncodingOf(bytes);
    fUtf8Mark = HasStrayUtf8Mark(bytes);
    SetText(FileText(bytes));
    fLoadedExactly = DecodesExactly(bytes);
}

std::string TStringList::FileBytes() const
{
    return (fUtf8Mark ? std::string(Utf8ByteOrderMark) : std::string()) + EncodeText(Text(), fEncoding);
}

bool TStringList::LoadFromFile(const UnicodeString& fileName, UnicodeString* error)
{
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes, error)) return false;
    LoadBytes(bytes);
    return true;
}

void TStringList::LoadFromStream(TStream& stream)
{
    std::string bytes;
    char buffer[4096];
    for (int got; (got = stream.Read(buffer, int(sizeof buffer))) > 0;) bytes.append(buffer, std::size_t(got));
    LoadBytes(bytes);
}

bool TStringList::SaveToStream(TStream& stream) const
{
    const std::string bytes = FileBytes();
    return stream.Write(bytes.data(), int(bytes.size())) == int(bytes.size());
}

bool TStringList::SaveToFile(const UnicodeString& fileName, UnicodeString* error) const
{
    UnicodeString reason = SaveFileSafely(fileName, FileBytes());
    if (error) *error = reason;
    return reason.empty();
}
