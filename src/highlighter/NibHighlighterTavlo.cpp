#include "highlighter/NibHighlighterTavlo.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>
#include "editor/NibEditStrConst.h"

namespace {

bool IsBlank(char16_t c) { return c <= 32; }

std::uint32_t HashWord(std::u16string_view w)
{
    std::uint32_t h = 2166136261u;
    for (char16_t c : w) h = (h ^ c) * 16777619u;
    return h;
}

void PrepareWordList(TStringList& list)
{
    list.SetCaseSensitive(true);
    list.SetSorted(true);
    list.SetDuplicates(TDuplicates::dupIgnore);
}

const bool registered = (RegisterHighlighterClass<TNibTavloHighlighter>(), true);

/// The distinct words, sorted as the word lists sort (case-sensitive, by code unit): the lists
/// ignore duplicates. Views, so that sorting moves no text.
std::vector<std::u16string_view> SortedDistinct(std::vector<std::u16string_view> words)
{
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    return words;
}

std::vector<std::u16string_view> SortedDistinct(const TStringList& list)
{
    std::vector<std::u16string_view> words;
    words.reserve(std::size_t(list.Count()));
    for (int i = 0; i < list.Count(); ++i) words.emplace_back(list[i]);
    return SortedDistinct(std::move(words));
}

/// The keywords after which the next word, on this line or a later one, is a character.
constexpr std::u16string_view CharWords[] = {u"CHAR", u"[CHAR]"};

bool IsCharWord(std::u16string_view word) { return std::ranges::find(CharWords, word) != std::end(CharWords); }

/// The changes that make a sorted list hold `words` (sorted and distinct): the indexes of the
/// list's words that go, ascending, and the words that join.
struct WordChanges {
    std::vector<int> Gone;
    std::vector<std::u16string_view> Added;
    bool None() const { return Gone.empty() && Added.empty(); }
};

WordChanges ChangesTo(const TStringList& list, const std::vector<std::u16string_view>& words)
{
    WordChanges changes;
    const int n = list.Count();
    int i = 0;
    std::size_t j = 0;
    while (i < n || j < words.size()) {
        if (j == words.size() || (i < n && std::u16string_view(list[i]) < words[j])) {
            changes.Gone.push_back(i++);
        } else if (i == n || words[j] < std::u16string_view(list[i])) {
            changes.Added.push_back(words[j++]);
        } else {
            ++i;
            ++j;
        }
    }
    return changes;
}

/// Up to this many words change in place; more rebuild the list, which costs about as much.
constexpr std::size_t InPlaceChanges = 16;

TSharedEnds SharedEnds(const std::vector<UnicodeString>& a, const std::vector<UnicodeString>& b)
{
    TSharedEnds ends;
    const std::size_t n = a.size(), m = b.size();
    while (ends.First < n && ends.First < m && a[ends.First] == b[ends.First]) ++ends.First;
    while (ends.Tail < n - ends.First && ends.Tail < m - ends.First && a[n - 1 - ends.Tail] == b[m - 1 - ends.Tail])
        ++ends.Tail;
    return ends;
}

} // namespace

TNibTavloHighlighter::TNibTavloHighlighter()
{
    // Words are compared as written and the scan reads no letter's case: the line is scanned as
    // written, which saves lower-casing a copy of every line.
    fCaseSensitive = true;
    auto make = [this](const char16_t* name, const char16_t* friendly, TFontStyles style) {
        auto a = std::make_unique<TNibHighlighterAttributes>(name, friendly);
        a->SetStyle(style);
        return AddAttribute(std::move(a));
    };
    fCommentAttri = make(u"Comment", SNibAttrComment, std::uint8_t(TFontStyle::fsItalic));
    fIdentifierAttri = make(u"Identifier", SNibAttrIdentifier, 0);
    fKeyAttri = make(u"ReservedWord", SNibAttrReservedWord, std::uint8_t(TFontStyle::fsBold));
    fNumberAttri = make(u"Number", SNibAttrNumber, 0);
    fSpaceAttri = make(u"Space", SNibAttrSpace, 0);
    fStringAttri = make(u"String", SNibAttrString, 0);
    fSymbolAttri = make(u"Symbol", SNibAttrSymbol, 0);
    fLocalAttri = make(u"Macro", SNibAttrMacro, 0);
    SetAttributesOnChange();

    for (TStringList* list : {&fKeyWords, &fCommentWords, &fStringWords, &fLocalWords}) PrepareWordList(*list);
    for (const char16_t* w : {u"(", u"\\", u".(", u".\\"}) fCommentWords.Add(w);
    for (const char16_t* w : {u".\"", u"S\"", u"C\"", u"ABORT\""}) fStringWords.Add(w);
    const auto noteOpener = [this](std::u16string_view w) {
        fOpenerEnds.set(w.back());
        fLongestOpener = std::max(fLongestOpener, w.size());
    };
    for (const TStringList* list : {&fCommentWords, &fStringWords})
        for (int i = 0; i < list->Count(); ++i) noteOpener((*list)[i]);
    for (std::u16string_view w : CharWords) noteOpener(w);
    (void)registered;
}

TNibHighlighterAttributes* TNibTavloHighlighter::GetDefaultAttribute(int Index) const
{
    switch (Index) {
    case 0: return fCommentAttri;
    case 1: return fIdentifierAttri;
    case 2: return fKeyAttri;
    case 3: return fStringAttri;
    case 4: return fSpaceAttri;
    case 5: return fSymbolAttri;
    default: return nullptr;
    }
}

// A character word at a line's end waits for its word on the next line; the editor keeps that
// in the line's range, so colouring never depends on which line was scanned before.
TNibRange TNibTavloHighlighter::GetRange() const
{
    return fTokenParamType == tkChar ? reinterpret_cast<TNibRange>(std::intptr_t(1)) : nullptr;
}

void TNibTavloHighlighter::SetRange(TNibRange Value)
{
    fTokenParamType = Value ? tkChar : tkNull;
}

void TNibTavloHighlighter::ResetRange() { fTokenParamType = tkNull; }

TNibHighlighterAttributes* TNibTavloHighlighter::GetTokenAttribute() const
{
    TNibHighlighterAttributes* a = nullptr;
    switch (fTokenID) {
    case tkSymbol: a = fSymbolAttri; break;
    case tkComment: a = fCommentAttri; break;
    case tkKey: a = fKeyAttri; break;
    case tkIdentifier:
    case tkNull: a = fIdentifierAttri; break;
    case tkNumber: a = fNumberAttri; break;
    case tkSpace: a = fSpaceAttri; break;
    case tkString: a = fStringAttri; break;
    default: break;
    }
    if (OnGetTokenAttribute) OnGetTokenAttribute(a);
    return a;
}

TStringList& TNibTavloHighlighter::KeyWords()
{
    fWordTableStale = true;
    fListsHandedOut = true;
    return fKeyWords;
}

TStringList& TNibTavloHighlighter::LocalWords()
{
    fWordTableStale = true;
    fListsHandedOut = true;
    fLastWordsKnown = false;
    return fLocalWords;
}

void TNibTavloHighlighter::RefreshWordTable()
{
    if (!fWordTableStale) return;
    const std::pair<const TStringList*, unsigned> lists[] = {
        {&fKeyWords, wkKey}, {&fLocalWords, wkLocal}, {&fCommentWords, wkComment}, {&fStringWords, wkString}};
    std::size_t size = 16;
    for (const auto& [list, kind] : lists) {
        while (size < 2 * std::size_t(list->Count()) + 16) size *= 2;
    }
    fWordTable.assign(size, WordSlot{});
    fWordTableUsed = 0;
    for (const auto& [list, kind] : lists) {
        for (int i = 0; i < list->Count(); ++i) {
            // A scanned word is never empty: an empty listed word can never match.
            const UnicodeString& w = (*list)[i];
            if (w.empty()) continue;
            WordSlot& slot = Slot(w);
            if (slot.Word.empty()) {
                slot.Word = w;
                ++fWordTableUsed;
            }
            slot.Kinds |= kind;
        }
    }
    fWordTableStale = false;
}

TNibTavloHighlighter::WordSlot& TNibTavloHighlighter::Slot(std::u16string_view word)
{
    const std::size_t mask = fWordTable.size() - 1;
    for (std::size_t at = HashWord(word) & mask;; at = (at + 1) & mask) {
        WordSlot& slot = fWordTable[at];
        if (slot.Word.empty() || slot.Word == word) return slot;
    }
}

unsigned TNibTavloHighlighter::WordKinds(std::u16string_view word)
{
    RefreshWordTable();
    return Slot(word).Kinds;
}

bool TNibTavloHighlighter::IsKeyword(const UnicodeString& AKeyword) const { return fKeyWords.IndexOf(AKeyword) >= 0; }

bool TNibTavloHighlighter::IsLocalword(std::u16string_view AWord) const { return fLocalWords.IndexOf(AWord) >= 0; }

TNibTavloHighlighter::TWordRead TNibTavloHighlighter::ReadWord()
{
    if (LineEndAt(Run)) return wrLineEnd;
    const char16_t* line = ScannedLine().data();
    const int n = fLineLen;
    int r = Run;
    const bool blanks = IsBlank(line[r]);
    if (blanks) {
        while (r < n && IsBlank(line[r]) && line[r] != 10 && line[r] != 13) ++r;
    } else {
        while (r < n && !IsBlank(line[r])) ++r;
    }
    Run = r;
    return blanks ? wrBlanks : wrWord;
}

void TNibTavloHighlighter::Next()
{
    fTokenPos = Run;
    if (fTokenParamType == tkComment || fTokenParamType == tkString) {
        const TtkTokenKind kind = fTokenParamType;
        fTokenParamType = tkNull;
        // An opening word at the line's end opens nothing: no empty token.
        if (!LineEndAt(Run)) {
            fTokenID = kind;
            const char16_t* line = ScannedLine().data();
            int r = Run;
            for (; r < fLineLen; ++r) {
                const char16_t c = line[r];
                if (c == 10 || c == 13) break;
                if (c == fTokenParamEnd) {
                    ++r;
                    break;
                }
            }
            Run = r;
            TNibCustomHighlighter::Next();
            return;
        }
    }

    switch (ReadWord()) {
    case wrLineEnd:
        fTokenID = tkSpace;
        ++Run;
        break;
    case wrBlanks:
        fTokenID = tkSpace;
        break;
    case wrWord:
        ClassifyWord(CasedText(fTokenPos));
        break;
    }
    TNibCustomHighlighter::Next();
}

void TNibTavloHighlighter::ClassifyWord(std::u16string_view word)
{
    fStringLen = int(word.size());
    fToIdent = fTokenPos;
    if (fTokenParamType == tkChar) {
        fTokenID = tkString;
        fTokenParamType = tkNull;
        return;
    }
    const unsigned kinds = WordKinds(word);
    if (kinds & wkLocal) {
        fTokenID = tkSymbol;
    } else if (!(kinds & wkKey)) {
        fTokenID = IsNumber(word) ? tkNumber : tkIdentifier;
    } else {
        fTokenID = tkKey;
        fTokenParamType = StateOpenedBy(word, kinds, fTokenParamEnd);
    }
}

TtkTokenKind TNibTavloHighlighter::StateOpenedBy(std::u16string_view word, unsigned kinds, char16_t& end)
{
    if (kinds & wkComment) {
        end = word.back() == u'(' ? u')' : u'\r';
        return tkComment;
    }
    if (kinds & wkString) {
        end = u'"';
        return tkString;
    }
    return IsCharWord(word) ? tkChar : tkNull;
}

// The same walk as Next, word by word: blanks and line-end characters move on alike, and a word
// that opens a comment or string skips the text up to its closing character on this line.
void TNibTavloHighlighter::ScanLineRange(const UnicodeString& Line, int)
{
    const char16_t* const s = Line.data();
    std::size_t n = Line.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    // A blank line passes its range on. Any other ends waiting for a character only when the last
    // word it scans is a character word, and that word ends its last run of non-blanks: the line
    // of any other run is settled from its end, which keeps typing in a long line cheap.
    if (n == 0) return;
    const std::u16string_view text(s, n);
    if (std::ranges::none_of(CharWords, [&](std::u16string_view w) { return text.ends_with(w); })) {
        fTokenParamType = tkNull;
        return;
    }
    RefreshWordTable();
    bool charPending = fTokenParamType == tkChar;
    std::size_t p = 0;
    while (p < n) {
        if (IsBlank(s[p])) {
            ++p;
            continue;
        }
        const std::size_t start = p;
        while (p < n && !IsBlank(s[p])) ++p;
        if (std::exchange(charPending, false)) continue;
        const std::u16string_view word(s + start, p - start);
        if (!MayOpenState(word)) continue;
        const unsigned kinds = Slot(word).Kinds;
        if ((kinds & wkLocal) || !(kinds & wkKey)) continue;
        char16_t end = 0;
        switch (StateOpenedBy(word, kinds, end)) {
        case tkChar: charPending = true; break;
        case tkComment:
        case tkString:
            for (; p < n && s[p] != 10 && s[p] != 13; ++p) {
                if (s[p] == end) {
                    ++p;
                    break;
                }
            }
            break;
        default: break;
        }
    }
    fTokenParamType = charPending ? tkChar : tkNull;
}

// A number: an optional "-", an optional base prefix ("#" decimal, "$" hexadecimal, "%" binary),
// then digits, and at most one "." at the end. Without a prefix, "0".."9" and "A".."Z" count as
// digits below MaxNumericBase; lower-case letters never do.
bool TNibTavloHighlighter::IsNumber(std::u16string_view s) const
{
    std::size_t last = s.size();
    if (last > 0 && s.back() == u'.') --last;
    if (last < 1) return false;
    std::size_t start = s[0] == u'-' ? 1 : 0;
    if (start >= last) return false;
    char16_t prefix = s[start];
    if (prefix == u'#' || prefix == u'$' || prefix == u'%') {
        if (++start >= last) return false;
    } else {
        prefix = 0;
    }
    for (std::size_t i = start; i < last; ++i) {
        const char16_t c = s[i];
        const bool decimal = c >= u'0' && c <= u'9';
        bool ok;
        switch (prefix) {
        case u'#': ok = decimal; break;
        case u'$': ok = decimal || (c >= u'A' && c <= u'F'); break;
        case u'%': ok = c == u'0' || c == u'1'; break;
        default: {
            const int value = decimal ? c - u'0' : (c >= u'A' && c <= u'Z') ? c - u'A' + 10 : 99;
            ok = value < fMaxNumericBase;
        }
        }
        if (!ok) return false;
    }
    return true;
}

void TNibTavloHighlighter::NotifyChange(bool altersRanges)
{
    const bool handedOut = std::exchange(fListsHandedOut, false);
    DefHighlightChange(this, altersRanges || handedOut);
}

// Only a keyword that opens a comment, a string or a character word changes the scan state; any
// other word that becomes or stops being local is coloured differently and leaves the state alone.
bool TNibTavloHighlighter::OpensState(std::u16string_view word) const
{
    return fKeyWords.IndexOf(word) >= 0 &&
           (IsCharWord(word) || fCommentWords.IndexOf(word) >= 0 || fStringWords.IndexOf(word) >= 0);
}

void TNibTavloHighlighter::FillList(TStringList& list, const std::vector<std::u16string_view>& words, bool altersRanges)
{
    fWordTableStale = true;
    list.Clear();
    // In sorted order each word goes to the end: no insertion moves the others.
    for (std::u16string_view w : words) list.Add(UnicodeString(w));
    NotifyChange(altersRanges);
}

void TNibTavloHighlighter::ReplaceList(TStringList& list, const TStringList* source)
{
    if (!source) return;
    // A list given itself is sorted and distinct already.
    if (source == &list) NotifyChange(true);
    else FillList(list, SortedDistinct(*source), true);
}

void TNibTavloHighlighter::SetKeyWords(const TStringList* Value) { ReplaceList(fKeyWords, Value); }

void TNibTavloHighlighter::SetLocalWords(const TStringList* Value)
{
    fLastWordsKnown = false;
    ReplaceList(fLocalWords, Value);
}

bool TNibTavloHighlighter::ReplaceLocalWords(const std::vector<UnicodeString>& Words)
{
    if (!fLastWordsKnown) fLastWords.clear();
    const TSharedEnds ends = SharedEnds(fLastWords, Words);
    WordChanges changes;
    std::vector<std::u16string_view> words;
    const bool few = fLastWordsKnown && FewLocalChanges(Words, ends, changes.Gone, changes.Added);
    if (!few) {
        words = SortedDistinct({Words.begin(), Words.end()});
        changes = ChangesTo(fLocalWords, words);
    }
    // Kept for the next call: only the words between the shared ends are copied. The changes
    // found view Words, not these.
    const auto from = std::ptrdiff_t(ends.First), tail = std::ptrdiff_t(ends.Tail);
    fLastWords.erase(fLastWords.begin() + from, fLastWords.end() - tail);
    fLastWords.insert(fLastWords.begin() + from, Words.begin() + from, Words.end() - tail);
    fLastWordsKnown = true;
    if (changes.None()) return false;

    bool altersRanges = std::ranges::any_of(changes.Added, [this](auto w) { return OpensState(w); });
    for (int i : changes.Gone) altersRanges = altersRanges || OpensState(fLocalWords[i]);
    if (!few) {
        FillList(fLocalWords, words, altersRanges);
        return true;
    }
    // An edit adds or removes a name or two: the other words stay where they are, in the list and
    // in the table.
    for (auto i = changes.Gone.rbegin(); i != changes.Gone.rend(); ++i) {
        Slot(fLocalWords[*i]).Kinds &= ~unsigned(wkLocal);
        fLocalWords.Delete(*i);
    }
    for (std::u16string_view w : changes.Added) {
        fLocalWords.Add(UnicodeString(w));
        WordSlot& slot = Slot(w);
        if (slot.Word.empty()) {
            slot.Word = w;
            // Kept at most half full, so that a probe stays short and always ends.
            if (2 * ++fWordTableUsed > fWordTable.size()) fWordTableStale = true;
        }
        slot.Kinds |= wkLocal;
    }
    NotifyChange(altersRanges);
    return true;
}

// A document's names change where it was edited: before and after that place they are the words
// of the last call, so only the few between need a look in the table.
bool TNibTavloHighlighter::FewLocalChanges(const std::vector<UnicodeString>& Words, const TSharedEnds& ends,
                                           std::vector<int>& gone, std::vector<std::u16string_view>& added)
{
    const std::span<const UnicodeString> was(fLastWords.data() + ends.First, fLastWords.size() - ends.First - ends.Tail);
    const std::span<const UnicodeString> now(Words.data() + ends.First, Words.size() - ends.First - ends.Tail);
    if (was.size() > InPlaceChanges || now.size() > InPlaceChanges) return false;
    RefreshWordTable();
    const auto among = [](const auto& words, std::u16string_view w) { return std::ranges::find(words, w) != words.end(); };
    for (const UnicodeString& w : now) {
        if (w.empty()) return false;
        if (!(Slot(w).Kinds & wkLocal) && !among(added, w)) added.push_back(w);
    }
    // A word gone from between may still stand before or after it.
    std::vector<std::u16string_view> leaving;
    for (const UnicodeString& w : was)
        if (!among(now, w) && !among(leaving, w)) leaving.push_back(w);
    const std::size_t tailStart = Words.size() - ends.Tail;
    for (std::size_t i = 0; i < Words.size() && !leaving.empty(); i = i + 1 == ends.First ? tailStart : i + 1)
        std::erase(leaving, std::u16string_view(Words[i]));
    for (std::u16string_view w : leaving) {
        const int at = fLocalWords.IndexOf(w);
        if (at < 0) return false;
        gone.push_back(at);
    }
    std::ranges::sort(gone);
    return true;
}

void TNibTavloHighlighter::SetMaxNumericBase(int Value) { fMaxNumericBase = std::clamp(Value, 2, 32); }

void TNibTavloHighlighter::SetDetectPreprocessor(bool Value)
{
    if (fDetectPreprocessor == Value) return;
    fDetectPreprocessor = Value;
    NotifyChange(true);
}

char16_t TNibTavloHighlighter::GetCharBeforeToken(int Offset) const { return GetCharAfterToken(Offset); }

char16_t TNibTavloHighlighter::GetCharAfterToken(int Offset) const
{
    const std::int64_t at = std::int64_t(fTokenPos) + Offset;
    const std::u16string_view line = ScannedLine();
    return at >= 0 && at < std::int64_t(line.size()) ? line[std::size_t(at)] : u'\0';
}
