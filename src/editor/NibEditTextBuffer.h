#pragma once
// The editor's text: one record per line with the line's highlighter range and cached expansion.
// Events carry 0-based line indexes.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "editor/NibEditHighlighter.h"
#include "editor/NibEditLineWidths.h"
#include "editor/NibEditMiscProcs.h"
#include "platform/Events.h"
#include "platform/StringList.h"
#include "platform/Text.h"

/// Raised for a line index outside the list: "Invalid stringlist index N".
class ENibEditStringList : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TNibEditFileFormat : std::uint8_t { sffDos, sffUnix, sffMac, sffUnicode };

enum TNibEditStringFlag : std::uint8_t {
    sfHasTabs = 1,
    sfHasNoTabs = 2,
    sfExpandedLengthUnknown = 4,
};
/// Set of TNibEditStringFlag bits.
using TNibEditStringFlags = std::uint8_t;

/// The range a new line holds: no highlighter state is known for it yet.
inline const TNibRange NibUnknownRange = reinterpret_cast<TNibRange>(std::intptr_t(-1));

/// A line change: the first line's 0-based index and the number of lines.
using TStringListChangeEvent = std::function<void(TObject* Sender, int Index, int Count)>;

struct TNibEditStringRec {
    UnicodeString FString;
    TObject* fObject = nullptr;
    TNibRange fRange = NibUnknownRange;
    /// The width on screen at the list's width epoch fEpoch.
    int fExpandedLength = -1;
    int fCharIndex = 0;
    /// What the width is made of (see TNibLineMeasure), valid with sfMeasured.
    int fTabs = 0;
    int fExtraCells = 0;
    std::uint32_t fEpoch = 0;
    /// The TNibEditStringFlag bits and the list's own bits for the measure.
    std::uint8_t fFlags = sfExpandedLengthUnknown;
};

/// The line store of the editor. The records lie in one block with a gap at the last place of
/// change, so inserting or deleting near the previous edit moves only the records in between.
class TNibEditStringList : public TObject {
public:
    /// `ACharCells` gives the cells of the characters from U+0080 up; without it every code unit
    /// takes one cell.
    explicit TNibEditStringList(TNibCharCellsFunc ACharCells = {});
    ~TNibEditStringList() override;
    TNibEditStringList(const TNibEditStringList&) = delete;
    TNibEditStringList& operator=(const TNibEditStringList&) = delete;

    int Count() const { return fCount; }
    /// The line's text; an empty text outside the list.
    const UnicodeString& Get(int Index) const;
    const UnicodeString& operator[](int Index) const { return Get(Index); }
    /// Replaces a line; Index = Count appends.
    void Put(int Index, const UnicodeString& S);
    /// Replaces Length code units of a line from the 0-based Start by Text, in the line's own
    /// storage, and fires OnPutted as Put does: a key typed in a long line copies no line. Index
    /// = Count appends Text.
    void ReplaceInLine(int Index, int Start, int Length, std::u16string_view Text);
    /// Null outside the list.
    TObject* GetObject(int Index) const;
    void PutObject(int Index, TObject* AObject);
    TNibRange GetRange(int Index) const;
    void PutRange(int Index, TNibRange ARange);

    /// Appends a line and returns its index.
    int Add(const UnicodeString& S);
    void Insert(int Index, const UnicodeString& S);
    /// Appends the lines of Strings, with their objects, firing one OnInserted.
    void AddStrings(const TStringList& Strings);
    void Delete(int Index);
    void Clear();
    void Exchange(int Index1, int Index2);
    /// Removes up to NumLines lines from Index on, firing one OnDeleted with the number removed.
    void DeleteLines(int Index, int NumLines);
    /// Inserts NumLines empty lines at Index, firing one OnInserted.
    void InsertLines(int Index, int NumLines);
    /// Inserts the lines of NewStrings at Index: one OnInserted, then one OnPutted per line.
    void InsertStrings(int Index, const TStringList& NewStrings);
    /// Inserts a text split into lines at CR LF, CR or LF.
    void InsertText(int Index, std::u16string_view NewText);

    int Capacity() const { return int(fList.size()); }
    /// A capacity below Count throws std::length_error and changes nothing.
    void SetCapacity(int NewCapacity);

    /// Nested updates: OnChanging fires when the outermost begins, OnChange when it ends.
    void BeginUpdate();
    void EndUpdate();

    /// The lines joined by CR LF (files are written with their own line break).
    UnicodeString Text() const;
    /// Replaces every line by the lines of Value and takes the file format from its line breaks.
    void SetText(std::u16string_view Value);
    /// The lines joined by Separators, none after the last.
    UnicodeString GetSeparatedText(std::u16string_view Separators) const;

    /// Reads a whole text, decoded by its byte-order mark (8-bit text without one), and keeps the
    /// encoding found for SaveToFile.
    void LoadFromStream(std::istream& Stream);
    /// As LoadFromStream, from a file's bytes.
    void LoadFromBytes(std::string_view Bytes);
    /// Writes the text with the file format's line breaks; in 8-bit text, Unicode line separators
    /// are written as CR LF, which 8 bits can hold.
    void SaveToStream(std::ostream& Stream, TTextEncoding Encoding = TTextEncoding::Ansi) const;
    /// As LoadFromStream; false, with nothing changed, when the file cannot be read.
    bool LoadFromFile(const UnicodeString& FileName);
    /// Writes in Encoding, replacing the file only once the new one is complete; false on failure,
    /// with the reason in *Error when given.
    bool SaveToFile(const UnicodeString& FileName, UnicodeString* Error = nullptr) const;
    /// How SaveToFile writes: the encoding of the text last loaded, 8-bit until one is.
    TTextEncoding Encoding() const { return fEncoding; }
    void SetEncoding(TTextEncoding Value) { fEncoding = Value; }

    /// The line's length in code units; 0 outside the list.
    int LineCharLength(int Index) const;
    /// The index of the line's first character in the whole text, line breaks not counted; 0
    /// outside the list.
    int LineCharIndex(int Index) const;
    /// The line with its tabs expanded; an empty text outside the list.
    UnicodeString GetExpandedString(int Index) const;
    /// The line's length on screen: tabs expanded and a filler before each wide glyph.
    int GetExpandedStringLength(int Index) const;
    /// The greatest length on screen of all lines.
    int LengthOfLongestLine() const;
    /// LengthOfLongestLine when that exceeds Limit, else a value no greater than Limit: what a
    /// range that reaches Limit anyway needs, found without measuring a line again.
    int LengthOfLongestLineBeyond(int Limit) const;
    /// What the line's width is made of; nothing outside the list.
    TNibLineMeasure LineMeasure(int Index) const;
    /// Forgets the cells of the lines that may hold wide glyphs (the editor's character width
    /// changed).
    void FontChanged();

    TNibEditStringFlags Flags(int Index) const;
    int TabWidth() const { return fTabWidth; }
    void SetTabWidth(int Value);
    TNibEditFileFormat FileFormat() const { return fFileFormat; }
    void SetFileFormat(TNibEditFileFormat Value) { fFileFormat = Value; }
    bool AppendNewLineAtEOF() const { return fAppendNewLineAtEOF; }
    void SetAppendNewLineAtEOF(bool Value) { fAppendNewLineAtEOF = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;
    TNotifyEvent OnCleared;
    TStringListChangeEvent OnDeleted;
    TStringListChangeEvent OnInserted;
    TStringListChangeEvent OnPutted;

private:
    /// SetText of a text in UTF-16, or of 8-bit text widened a line at a time.
    template <class Unit>
    void SetLines(std::span<const Unit> Value);
    TNibEditStringRec& Rec(int Index) const;
    void CheckIndex(int Index, int Limit) const;
    void MoveGapTo(int Index) const;
    void Reallocate(int NewCapacity);
    /// Opens room for NumLines new records at Index (at least NewCapacity when it must grow).
    void InsertRecords(int Index, int NumLines, int NewCapacity);
    void RemoveRecords(int Index, int NumLines);
    /// The capacity a full block of Capacity records grows to.
    static int GrownCapacity(int Capacity);
    void Changed();
    /// Replaces a record's text, keeping the width index.
    void SetString(TNibEditStringRec& r, const UnicodeString& S);
    /// Measures a record's text and counts it in the width index.
    void Count(TNibEditStringRec& r) const { Count(r, MeasureLine(r.FString, fCharCells)); }
    /// Counts a record whose line has the measure m.
    void Count(TNibEditStringRec& r, const TNibLineMeasure& m) const;
    /// Takes a record out of the width index before its text goes.
    void Uncount(TNibEditStringRec& r) const;
    static TNibLineMeasure MeasureOf(const TNibEditStringRec& r);
    /// Counts the lines a font change left unmeasured.
    void MeasureAll() const;
    /// The record's width at the present tab width.
    int Width(TNibEditStringRec& r) const;
    /// The record as asked about: measured, its width current and its tab flags known.
    TNibEditStringRec& Asked(int Index) const;
    /// The greatest width; with a bound at or below Limit, that bound.
    std::int64_t Longest(std::int64_t Limit) const;
    /// The greatest width of the lines with a tab after text.
    std::int64_t TabAfterTextWidest() const;
    void SetUpdateState(bool Updating);
    UnicodeString JoinLines(std::u16string_view Separator, bool FinalSeparator) const;
    std::u16string_view LineBreak(TTextEncoding Encoding) const;

    // Records [0, fGapStart) and [fGapStart + gap, capacity) are the lines; the gap holds
    // capacity - fCount empty records.
    mutable std::vector<TNibEditStringRec> fList;
    int fCount = 0;
    mutable int fGapStart = 0;
    TNibEditFileFormat fFileFormat = sffDos;
    bool fAppendNewLineAtEOF = false;
    TTextEncoding fEncoding = TTextEncoding::Ansi;
    TConvertTabsProcEx fConvertTabsProc = SelectTabExpander(8);
    int fTabWidth = 8;
    TNibCharCellsFunc fCharCells;
    /// Changes with the tab width and the font: a record's width from another epoch is old.
    std::uint32_t fEpoch = 1;
    /// The measured lines by what their widths are made of.
    mutable TNibLineWidthIndex fWidths;
    /// Lines a font change left unmeasured.
    mutable int fUnmeasured = 0;
    /// TabAfterTextWidest at fTabAfterTextEpoch; -1 when not known.
    mutable std::int64_t fTabAfterTextWidest = -1;
    mutable std::uint32_t fTabAfterTextEpoch = 0;
    mutable bool FCharIndexesAreValid = false;
    int fUpdateCount = 0;
};
