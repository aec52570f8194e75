#include "editor/NibEditTextBuffer.h"

#include <algorithm>
#include <climits>
#include <istream>
#include <ostream>
#include <string>
#include <type_traits>

#include "platform/FileReplacement.h"
#include "platform/Folders.h"

namespace {

constexpr char16_t CR = 13, LF = 10, LineSeparator = 0x2028;

// The list's own bits in a record's flags, beside the TNibEditStringFlag bits.
constexpr std::uint8_t PublicFlags = sfHasTabs | sfHasNoTabs | sfExpandedLengthUnknown;
constexpr std::uint8_t sfMeasured = 8, sfTabAfterText = 16, sfAscii = 32;

// Holds an update open for the length of one modifying operation, also when it throws.
class UpdateScope {
public:
    explicit UpdateScope(TNibEditStringList& list) : fList(list) { fList.BeginUpdate(); }
    ~UpdateScope() { fList.EndUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    TNibEditStringList& fList;
};

const UnicodeString EmptyLine;

// The line breaks of a text as SetText reads them: CR LF, a lone CR and a lone LF each count once,
// and so does U+2028 where it breaks lines.
template <class Unit>
std::size_t LineBreakCount(std::span<const Unit> Text, bool U2028Breaks)
{
    if (U2028Breaks) return std::size_t(std::count(Text.begin(), Text.end(), LineSeparator));
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < Text.size(); ++i)
        if (Text[i] == LF || (Text[i] == CR && (i + 1 == Text.size() || Text[i + 1] != LF))) ++breaks;
    return breaks;
}

}  // namespace

TNibEditStringList::TNibEditStringList(TNibCharCellsFunc ACharCells) : fCharCells(std::move(ACharCells)) {}

TNibEditStringList::~TNibEditStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
}

// --- the gap buffer ---------------------------------------------------------------------------

TNibEditStringRec& TNibEditStringList::Rec(int Index) const
{
    const int gap = Capacity() - fCount;
    return fList[std::size_t(Index < fGapStart ? Index : Index + gap)];
}

void TNibEditStringList::MoveGapTo(int Index) const
{
    const std::ptrdiff_t gap = Capacity() - fCount;
    if (gap == 0 || Index == fGapStart) {
        fGapStart = Index;
        return;
    }
    const auto base = fList.begin();
    if (Index < fGapStart)
        std::move_backward(base + Index, base + fGapStart, base + fGapStart + gap);
    else
        std::move(base + fGapStart + gap, base + Index + gap, base + fGapStart);
    fGapStart = Index;
}

void TNibEditStringList::Reallocate(int NewCapacity)
{
    std::vector<TNibEditStringRec> block(static_cast<std::size_t>(NewCapacity));
    for (int i = 0; i < fCount; ++i) block[std::size_t(i)] = std::move(Rec(i));
    fList = std::move(block);
    fGapStart = fCount;
}

int TNibEditStringList::GrownCapacity(int Capacity)
{
    return Capacity <= 64 ? Capacity + 16 : Capacity + std::min(Capacity / 4, INT_MAX - Capacity);
}

void TNibEditStringList::InsertRecords(int Index, int NumLines, int NewCapacity)
{
    if (Capacity() - fCount < NumLines) Reallocate(std::max(NewCapacity, fCount + NumLines));
    MoveGapTo(Index);
    for (int i = 0; i < NumLines; ++i) {
        TNibEditStringRec& r = fList[std::size_t(Index + i)];
        r = TNibEditStringRec();
        Count(r);
    }
    fGapStart += NumLines;
    fCount += NumLines;
}

void TNibEditStringList::RemoveRecords(int Index, int NumLines)
{
    MoveGapTo(Index);
    const int gap = Capacity() - fCount;
    for (int i = 0; i < NumLines; ++i) {
        TNibEditStringRec& r = fList[std::size_t(Index + gap + i)];
        Uncount(r);
        r = TNibEditStringRec();
    }
    fCount -= NumLines;
}

void TNibEditStringList::SetCapacity(int NewCapacity)
{
    if (NewCapacity < fCount) throw std::length_error("Stringlist capacity cannot be smaller than count");
    Reallocate(NewCapacity);
}

// --- updates and events -----------------------------------------------------------------------

void TNibEditStringList::CheckIndex(int Index, int Limit) const
{
    if (Index < 0 || Index > Limit)
        throw ENibEditStringList("Invalid stringlist index " + std::to_string(Index));
}

void TNibEditStringList::BeginUpdate()
{
    if (fUpdateCount++ == 0) SetUpdateState(true);
}

void TNibEditStringList::EndUpdate()
{
    if (fUpdateCount > 0 && --fUpdateCount == 0) SetUpdateState(false);
}

void TNibEditStringList::SetUpdateState(bool Updating)
{
    FCharIndexesAreValid = false;
    if (Updating)
        Fire(OnChanging, this);
    else
        Fire(OnChange, this);
}

void TNibEditStringList::Changed()
{
    // Every change moves the lines' character indexes, also inside an update.
    FCharIndexesAreValid = false;
}

// --- reading ----------------------------------------------------------------------------------

const UnicodeString& TNibEditStringList::Get(int Index) const
{
    if (Index < 0 || Index >= fCount) return EmptyLine;
    return Rec(Index).FString;
}

TObject* TNibEditStringList::GetObject(int Index) const
{
    if (Index < 0 || Index >= fCount) return nullptr;
    return Rec(Index).fObject;
}

TNibRange TNibEditStringList::GetRange(int Index) const
{
    if (Index < 0 || Index >= fCount) return nullptr;
    return Rec(Index).fRange;
}

TNibEditStringFlags TNibEditStringList::Flags(int Index) const
{
    if (Index < 0 || Index >= fCount) return 0;
    const TNibEditStringRec& r = Rec(Index);
    // A width from before the last change of tab width or font is unknown, as if every line had
    // been told; only a tab found stays known.
    if (!(r.fFlags & sfExpandedLengthUnknown) && r.fEpoch != fEpoch)
        return TNibEditStringFlags((r.fFlags & sfHasTabs) | sfExpandedLengthUnknown);
    return TNibEditStringFlags(r.fFlags & PublicFlags);
}

int TNibEditStringList::LineCharLength(int Index) const
{
    if (Index < 0 || Index >= fCount) return 0;
    return int(Rec(Index).FString.size());
}

int TNibEditStringList::LineCharIndex(int Index) const
{
    if (Index < 0 || Index >= fCount) return 0;
    if (!FCharIndexesAreValid) {
        int chars = 0;
        for (int i = 0; i < fCount; ++i) {
            TNibEditStringRec& r = Rec(i);
            r.fCharIndex = chars;
            chars += int(r.FString.size());
        }
        FCharIndexesAreValid = true;
    }
    return Rec(Index).fCharIndex;
}

// --- widths -----------------------------------------------------------------------------------

TNibLineMeasure TNibEditStringList::MeasureOf(const TNibEditStringRec& r)
{
    TNibLineMeasure m;
    m.Tabs = r.fTabs;
    m.ExtraCells = r.fExtraCells;
    m.Cells = int(r.FString.size()) - r.fTabs + r.fExtraCells;
    m.TabAfterText = r.fFlags & sfTabAfterText;
    m.Ascii = r.fFlags & sfAscii;
    return m;
}

void TNibEditStringList::Count(TNibEditStringRec& r, const TNibLineMeasure& m) const
{
    r.fTabs = m.Tabs;
    r.fExtraCells = m.ExtraCells;
    r.fFlags = std::uint8_t((r.fFlags & PublicFlags) | sfMeasured | (m.TabAfterText ? sfTabAfterText : 0) |
                            (m.Ascii ? sfAscii : 0));
    r.fEpoch = 0;
    fWidths.Add(m);
    // A known widest line with a tab after text stays known: the new one is measured at once.
    if (m.TabAfterText && fTabAfterTextEpoch == fEpoch && fTabAfterTextWidest >= 0)
        fTabAfterTextWidest = std::max<std::int64_t>(fTabAfterTextWidest, Width(r));
}

void TNibEditStringList::Uncount(TNibEditStringRec& r) const
{
    if (!(r.fFlags & sfMeasured)) {
        --fUnmeasured;
        return;
    }
    fWidths.Remove(MeasureOf(r));
    r.fFlags &= std::uint8_t(~sfMeasured);
    // The widest line with a tab after text may be the one that goes.
    if ((r.fFlags & sfTabAfterText) && (r.fEpoch != fEpoch || r.fExpandedLength >= fTabAfterTextWidest))
        fTabAfterTextWidest = -1;
}

void TNibEditStringList::MeasureAll() const
{
    if (fUnmeasured == 0) return;
    for (int i = 0; i < fCount; ++i) {
        TNibEditStringRec& r = Rec(i);
        if (!(r.fFlags & sfMeasured)) Count(r);
    }
    fUnmeasured = 0;
}

int TNibEditStringList::Width(TNibEditStringRec& r) const
{
    if (r.fEpoch != fEpoch) {
        r.fExpandedLength = int(std::min<std::int64_t>(LineWidth(r.FString, MeasureOf(r), fTabWidth), INT_MAX));
        r.fEpoch = fEpoch;
    }
    return r.fExpandedLength;
}

TNibEditStringRec& TNibEditStringList::Asked(int Index) const
{
    TNibEditStringRec& r = Rec(Index);
    if (!(r.fFlags & sfMeasured)) {
        Count(r);
        --fUnmeasured;
    }
    Width(r);
    r.fFlags = std::uint8_t((r.fFlags & ~PublicFlags) | (r.fTabs > 0 ? sfHasTabs : sfHasNoTabs));
    return r;
}

UnicodeString TNibEditStringList::GetExpandedString(int Index) const
{
    if (Index < 0 || Index >= fCount) return {};
    const TNibEditStringRec& r = Asked(Index);
    if (r.fTabs == 0) return r.FString;
    bool hasTabs = false;
    return fConvertTabsProc(r.FString, fTabWidth, hasTabs);
}

int TNibEditStringList::GetExpandedStringLength(int Index) const
{
    if (Index < 0 || Index >= fCount) return 0;
    // The width counts the fillers before wide glyphs, from the first answer on.
    return Asked(Index).fExpandedLength;
}

TNibLineMeasure TNibEditStringList::LineMeasure(int Index) const
{
    if (Index < 0 || Index >= fCount) return {};
    TNibEditStringRec& r = Rec(Index);
    if (!(r.fFlags & sfMeasured)) {
        Count(r);
        --fUnmeasured;
    }
    return MeasureOf(r);
}

std::int64_t TNibEditStringList::TabAfterTextWidest() const
{
    if (fTabAfterTextEpoch == fEpoch && fTabAfterTextWidest >= 0) return fTabAfterTextWidest;
    // Only a line whose bound exceeds the widest so far is measured.
    std::int64_t widest = 0;
    const std::int64_t tabWidth = std::max(fTabWidth, 1);
    for (int i = 0; i < fCount; ++i) {
        TNibEditStringRec& r = Rec(i);
        if (!(r.fFlags & sfTabAfterText)) continue;
        const TNibLineMeasure m = MeasureOf(r);
        if (m.Cells + m.Tabs * tabWidth > widest) widest = std::max<std::int64_t>(widest, Width(r));
    }
    fTabAfterTextWidest = widest;
    fTabAfterTextEpoch = fEpoch;
    return widest;
}

std::int64_t TNibEditStringList::Longest(std::int64_t Limit) const
{
    MeasureAll();
    const std::int64_t leading = fWidths.LeadingTabsMax(fTabWidth);
    const std::int64_t bound = fWidths.TabAfterTextBound(fTabWidth);
    if (bound <= leading) return leading;
    if (bound <= Limit) return bound;
    return std::max(leading, TabAfterTextWidest());
}

int TNibEditStringList::LengthOfLongestLine() const
{
    return int(std::min<std::int64_t>(Longest(-1), INT_MAX));
}

int TNibEditStringList::LengthOfLongestLineBeyond(int Limit) const
{
    return int(std::min<std::int64_t>(Longest(Limit), INT_MAX));
}

void TNibEditStringList::SetTabWidth(int Value)
{
    if (Value == fTabWidth) return;
    fTabWidth = Value;
    fConvertTabsProc = SelectTabExpander(Value);
    // Every width is counted anew from what the index keeps: nothing is measured here.
    ++fEpoch;
}

void TNibEditStringList::FontChanged()
{
    ++fEpoch;
    // Only a character from U+0080 up may take another number of cells.
    for (int i = 0; i < fCount; ++i) {
        TNibEditStringRec& r = Rec(i);
        if (!(r.fFlags & sfMeasured) || (r.fFlags & sfAscii)) continue;
        Uncount(r);
        ++fUnmeasured;
    }
    fTabAfterTextWidest = -1;
}

void TNibEditStringList::SetString(TNibEditStringRec& r, const UnicodeString& S)
{
    Uncount(r);
    r.FString = S;
    Count(r);
}

// --- changing ---------------------------------------------------------------------------------

void TNibEditStringList::Put(int Index, const UnicodeString& S)
{
    const bool inside = Index >= 0 && Index < fCount;
    ReplaceInLine(Index, 0, inside ? int(Rec(Index).FString.size()) : 0, S);
}

void TNibEditStringList::ReplaceInLine(int Index, int Start, int Length, std::u16string_view Text)
{
    if (Index == fCount) {
        Add(UnicodeString(Text));
        return;
    }
    CheckIndex(Index, fCount - 1);
    UpdateScope update(*this);
    Changed();
    TNibEditStringRec& r = Rec(Index);
    r.fFlags = std::uint8_t((r.fFlags & ~(sfHasTabs | sfHasNoTabs)) | sfExpandedLengthUnknown);
    // A measured line is measured again from its changed characters only: typing in a long line
    // costs what the typing costs.
    const bool measured = r.fFlags & sfMeasured;
    const TNibLineMeasure before = MeasureOf(r);
    const TNibLineMeasure removed =
        measured ? MeasureLine(std::u16string_view(r.FString).substr(std::size_t(Start), std::size_t(Length)), fCharCells)
                 : TNibLineMeasure{};
    Uncount(r);
    r.FString.replace(std::size_t(Start), std::size_t(Length), Text);
    if (measured)
        Count(r, MeasureAfterReplace(before, removed, r.FString, std::size_t(Start), Text.size(), fCharCells));
    else
        Count(r);
    Fire(OnPutted, this, Index, 1);
}

void TNibEditStringList::PutObject(int Index, TObject* AObject)
{
    CheckIndex(Index, fCount - 1);
    UpdateScope update(*this);
    Rec(Index).fObject = AObject;
}

void TNibEditStringList::PutRange(int Index, TNibRange ARange)
{
    CheckIndex(Index, fCount - 1);
    UpdateScope update(*this);
    Rec(Index).fRange = ARange;
}

int TNibEditStringList::Add(const UnicodeString& S)
{
    const int index = fCount;
    Insert(index, S);
    return index;
}

void TNibEditStringList::Insert(int Index, const UnicodeString& S)
{
    CheckIndex(Index, fCount);
    UpdateScope update(*this);
    InsertRecords(Index, 1, GrownCapacity(Capacity()));
    SetString(Rec(Index), S);
    Changed();
    Fire(OnInserted, this, Index, 1);
}

void TNibEditStringList::AddStrings(const TStringList& Strings)
{
    const int n = Strings.Count();
    if (n == 0) return;
    UpdateScope update(*this);
    const int index = fCount;
    InsertRecords(index, n, (fCount + n + 15) / 16 * 16);
    for (int k = 0; k < n; ++k) {
        TNibEditStringRec& r = Rec(index + k);
        SetString(r, Strings[k]);
        r.fObject = Strings.Objects(k);
    }
    Changed();
    Fire(OnInserted, this, index, n);
}

void TNibEditStringList::Delete(int Index)
{
    CheckIndex(Index, fCount - 1);
    UpdateScope update(*this);
    RemoveRecords(Index, 1);
    Changed();
    Fire(OnDeleted, this, Index, 1);
}

void TNibEditStringList::DeleteLines(int Index, int NumLines)
{
    if (NumLines <= 0) return;
    CheckIndex(Index, fCount);
    NumLines = std::min(NumLines, fCount - Index);
    if (NumLines == 0) return;
    UpdateScope update(*this);
    RemoveRecords(Index, NumLines);
    Changed();
    Fire(OnDeleted, this, Index, NumLines);
}

void TNibEditStringList::InsertLines(int Index, int NumLines)
{
    CheckIndex(Index, fCount);
    if (NumLines <= 0) return;
    UpdateScope update(*this);
    InsertRecords(Index, NumLines, GrownCapacity(Capacity()));
    Changed();
    Fire(OnInserted, this, Index, NumLines);
}

void TNibEditStringList::InsertStrings(int Index, const TStringList& NewStrings)
{
    const int n = NewStrings.Count();
    if (n == 0) return;
    UpdateScope update(*this);
    InsertLines(Index, n);
    for (int k = 0; k < n; ++k) Put(Index + k, NewStrings[k]);
}

void TNibEditStringList::InsertText(int Index, std::u16string_view NewText)
{
    if (NewText.empty()) return;
    TStringList lines;
    lines.SetText(NewText);
    InsertStrings(Index, lines);
}

void TNibEditStringList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1, fCount - 1);
    CheckIndex(Index2, fCount - 1);
    UpdateScope update(*this);
    std::swap(Rec(Index1), Rec(Index2));
    FCharIndexesAreValid = false;
}

void TNibEditStringList::Clear()
{
    if (fCount != 0) {
        UpdateScope update(*this);
        fList.clear();
        fList.shrink_to_fit();
        fCount = 0;
        fGapStart = 0;
        FCharIndexesAreValid = false;
        fWidths.Clear();
        fUnmeasured = 0;
        fTabAfterTextWidest = -1;
        Fire(OnCleared, this);
    }
}

// --- text and files ---------------------------------------------------------------------------

UnicodeString TNibEditStringList::JoinLines(std::u16string_view Separator, bool FinalSeparator) const
{
    if (fCount == 0) return FinalSeparator ? UnicodeString(Separator) : UnicodeString();
    std::size_t size = std::size_t(fCount - 1 + (FinalSeparator ? 1 : 0)) * Separator.size();
    for (int i = 0; i < fCount; ++i) size += Rec(i).FString.size();
    UnicodeString text;
    text.reserve(size);
    for (int i = 0; i < fCount; ++i) {
        if (i > 0) text += Separator;
        text += Rec(i).FString;
    }
    if (FinalSeparator) text += Separator;
    return text;
}

std::u16string_view TNibEditStringList::LineBreak(TTextEncoding Encoding) const
{
    switch (fFileFormat) {
    case sffUnix: return u"\n";
    case sffMac: return u"\r";
    case sffUnicode: return Encoding == TTextEncoding::Ansi ? u"\r\n" : u"\u2028";
    case sffDos: break;
    }
    return u"\r\n";
}

UnicodeString TNibEditStringList::Text() const
{
    return JoinLines(u"\r\n", false);
}

UnicodeString TNibEditStringList::GetSeparatedText(std::u16string_view Separators) const
{
    return JoinLines(Separators, false);
}

void TNibEditStringList::SetText(std::u16string_view Value) { SetLines(std::span(Value)); }

template <class Unit>
void TNibEditStringList::SetLines(std::span<const Unit> Value)
{
    // 8-bit text is read as unsigned bytes, each the character of its value.
    static_assert(std::is_same_v<Unit, char16_t> || std::is_same_v<Unit, unsigned char>);
    bool sawU2028 = false, sawCR = false, sawLF = false;
    {
        UpdateScope update(*this);
        Clear();
        // U+2028 ends lines only in a text without CR or LF breaks; in one with them it is a
        // character of its line, so that the text saves back as it was. 8-bit text has none.
        const bool u2028Breaks =
            sizeof(Unit) > 1 && std::none_of(Value.begin(), Value.end(), [](Unit c) { return c == CR || c == LF; });
        // The records are gathered in a block of their own, which then becomes the list's, with
        // the gap at its end as large as one growth of a full block would make it: the first
        // insert after a load then only moves the gap, not every record to a larger block. The
        // text has at most one line more than breaks, so the block is taken once, never moved.
        std::vector<TNibEditStringRec> block;
        if (!Value.empty()) {
            const std::size_t lines = LineBreakCount(Value, u2028Breaks) + 1;
            block.reserve(std::size_t(GrownCapacity(int(std::min<std::size_t>(lines, INT_MAX)))));
        }
        const Unit* p = Value.data();
        const Unit* const end = p + Value.size();
        while (p < end) {
            const Unit* const start = p;
            while (p < end && (*p > CR || (*p != CR && *p != LF)) && !(u2028Breaks && *p == LineSeparator)) ++p;
            block.push_back(TNibEditStringRec{UnicodeString(start, p)});
            Count(block.back());
            if (u2028Breaks && p < end && *p == LineSeparator) {
                sawU2028 = true;
                ++p;
            }
            if (p < end && *p == CR) {
                sawCR = true;
                ++p;
            }
            if (p < end && *p == LF) {
                sawLF = true;
                ++p;
            }
        }
        if (!fAppendNewLineAtEOF && !Value.empty() &&
            (Value.back() == CR || Value.back() == LF || (u2028Breaks && Value.back() == LineSeparator)))
            Count(block.emplace_back());
        if (block.size() > std::size_t(INT_MAX)) throw std::length_error("Too many lines");
        fCount = int(block.size());
        if (fCount > 0) block.resize(std::size_t(GrownCapacity(fCount)));
        fGapStart = fCount;
        fList = std::move(block);
        Changed();
        if (fCount > 0) Fire(OnInserted, this, 0, fCount);
    }
    if (sawU2028)
        SetFileFormat(sffUnicode);
    else if (sawCR && !sawLF)
        SetFileFormat(sffMac);
    else if (sawLF && !sawCR)
        SetFileFormat(sffUnix);
    else
        SetFileFormat(sffDos);
}

void TNibEditStringList::LoadFromStream(std::istream& Stream)
{
    std::string bytes;
    char buffer[65536];
    while (Stream.read(buffer, sizeof buffer) || Stream.gcount() > 0) bytes.append(buffer, std::size_t(Stream.gcount()));
    LoadFromBytes(bytes);
}

void TNibEditStringList::LoadFromBytes(std::string_view Bytes)
{
    const TTextEncoding encoding = EncodingOf(Bytes);
    // 8-bit text needs no decoded copy of the whole: each line is widened as it is stored.
    if (encoding == TTextEncoding::Ansi)
        SetLines(std::span(reinterpret_cast<const unsigned char*>(Bytes.data()), Bytes.size()));
    else
        SetText(DecodeText(Bytes));
    fEncoding = encoding;
}

void TNibEditStringList::SaveToStream(std::ostream& Stream, TTextEncoding Encoding) const
{
    const std::string bytes = EncodeText(JoinLines(LineBreak(Encoding), fAppendNewLineAtEOF), Encoding);
    Stream.write(bytes.data(), std::streamsize(bytes.size()));
}

bool TNibEditStringList::LoadFromFile(const UnicodeString& FileName)
{
    std::string bytes;
    if (!ReadFileBytes(FileName, bytes)) return false;
    LoadFromBytes(bytes);
    return true;
}

bool TNibEditStringList::SaveToFile(const UnicodeString& FileName, UnicodeString* Error) const
{
    const UnicodeString reason =
        SaveFileSafely(FileName, EncodeText(JoinLines(LineBreak(fEncoding), fAppendNewLineAtEOF), fEncoding));
    if (Error) *Error = reason;
    return reason.empty();
}
