#pragma once
// The string list of the class library: optional sorting, case rules, objects, name=value access.
#include <string>
#include <vector>
#include "platform/Events.h"
#include "platform/Text.h"

class TStream;

/// What Add does on a sorted list with a string that is already there.
/// The text of a file's bytes as a string list loads it: decoded in the encoding its byte-order
/// mark names (DecodeText), except that a UTF-8 mark before bytes that are not UTF-8 is left out.
UnicodeString FileText(std::string_view bytes);

enum class TDuplicates : std::uint8_t { dupIgnore, dupAccept, dupError };

/// Sorted lists keep duplicates unless told otherwise; Insert, SetString and Move on a sorted list
/// throw std::logic_error, and a bad index throws std::out_of_range.
class TStringList : public TObject {
public:
    int Count() const { return int(fItems.size()); }
    const UnicodeString& operator[](int index) const { return fItems.at(std::size_t(index)).Text; }
    const UnicodeString& Strings(int index) const { return (*this)[index]; }
    void SetString(int index, const UnicodeString& s);
    TObject* Objects(int index) const { return fItems.at(std::size_t(index)).Object; }
    void SetObject(int index, TObject* object);

    /// Adds at the end, or at its sorted place when Sorted; returns the index. On a sorted list a
    /// duplicate is ignored (returning the index of the one there) or throws std::logic_error, as
    /// Duplicates says.
    int Add(const UnicodeString& s, TObject* object = nullptr);
    void Insert(int index, const UnicodeString& s, TObject* object = nullptr);
    void Delete(int index);
    void Clear();
    void Exchange(int a, int b);
    void Move(int from, int to);
    /// Index of s by the case rule, or -1.
    int IndexOf(std::u16string_view s) const;
    /// With Sorted: binary search; index of the match or of the insertion point.
    bool Find(std::u16string_view s, int& index) const;

    bool Sorted() const { return fSorted; }
    void SetSorted(bool sorted);
    bool CaseSensitive() const { return fCaseSensitive; }
    void SetCaseSensitive(bool caseSensitive);
    TDuplicates Duplicates() const { return fDuplicates; }
    void SetDuplicates(TDuplicates duplicates) { fDuplicates = duplicates; }
    void Sort();

    /// Name=value access: the name is the text before the first '='.
    UnicodeString Names(int index) const;
    UnicodeString ValueFromIndex(int index) const;
    int IndexOfName(std::u16string_view name) const;
    UnicodeString Values(std::u16string_view name) const;
    void SetValue(std::u16string_view name, const UnicodeString& value);

    /// Lines joined with CR LF after each; setting splits at CR LF, lone CR and lone LF.
    UnicodeString Text() const;
    void SetText(std::u16string_view text);

    /// The items separated by commas; an item that is empty (when alone) or holds a blank, a control
    /// character, a comma or a double quote is put in double quotes with inner quotes doubled.
    UnicodeString CommaText() const;
    /// Replaces the items by those of a comma text; outside quotes blanks also separate items.
    void SetCommaText(std::u16string_view text);

    /// Loads with byte-order-mark detection (UTF-8, UTF-16 LE/BE, else 8-bit) and keeps the
    /// encoding found for the next save; false, with nothing changed and the reason in *error when
    /// given, when unreadable (ReadFileBytes). A UTF-8 mark before bytes that are not UTF-8 is left
    /// out of the lines and written back by the next save.
    bool LoadFromFile(const UnicodeString& fileName, UnicodeString* error = nullptr);
    /// Saves in Encoding with CR LF, replacing the old file only once the new one is complete;
    /// false on failure, with the reason in *error when given.
    bool SaveToFile(const UnicodeString& fileName, UnicodeString* error = nullptr) const;
    /// How SaveToFile writes: the encoding of the file last loaded, 8-bit for a list never loaded.
    TTextEncoding Encoding() const { return fEncoding; }
    void SetEncoding(TTextEncoding encoding)
    {
        fEncoding = encoding;
        fUtf8Mark = false;
    }
    /// False after loading bytes that the text cannot give back in its encoding (DecodesExactly):
    /// saving it then writes them changed. True for a list never loaded.
    bool LoadedExactly() const { return fLoadedExactly; }
    void SetLoadedExactly(bool exactly) { fLoadedExactly = exactly; }
    /// Reads the stream from its position to its end, decoded as a file is, keeping its encoding.
    void LoadFromStream(TStream& stream);
    /// Writes the lines as SaveToFile does; false when the stream took fewer bytes.
    bool SaveToStream(TStream& stream) const;

private:
    /// The lines, encoding and exactness of a file's bytes.
    void LoadBytes(const std::string& bytes);
    /// What SaveToFile writes: the lines in Encoding, behind the mark they were read behind.
    std::string FileBytes() const;

    struct Item {
        UnicodeString Text;
        TObject* Object = nullptr;
    };
    int Compare(std::u16string_view a, std::u16string_view b) const;
    std::vector<Item> fItems;
    bool fSorted = false;
    bool fCaseSensitive = false;
    TDuplicates fDuplicates = TDuplicates::dupAccept;
    TTextEncoding fEncoding = TTextEncoding::Ansi;
    /// The 8-bit text was read behind a UTF-8 mark.
    bool fUtf8Mark = false;
    bool fLoadedExactly = true;
};
