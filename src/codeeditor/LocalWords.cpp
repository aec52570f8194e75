#include "codeeditor/LocalWords.h"
#include <array>
#include "codeeditor/ConverterWords.h"
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

/// The most a string word takes when no closing quote comes.
constexpr std::size_t MaxStringBody = 256;
/// The most of a token that a block holds: a longer one is cut there.
constexpr std::size_t MaxPlacedToken = 1022;

/// A code unit as 8-bit text holds it.
unsigned char Narrow(char16_t c) { return c > 0xFF ? '?' : static_cast<unsigned char>(c); }

/// One scan. The text is read as a stream of bytes: each line's characters, then the line break
/// that the saved text puts after it.
class TLocalWordScan {
public:
    TLocalWordScan(const TNibEditStringList& lines, const TStringList& pairedWords, std::vector<UnicodeString>& names);
    /// True when the names differ from those the list held.
    bool Run();

private:
    /// Moves to the start of the next line; false at the end of the text.
    bool NextLine();
    /// The bytes of the break after the current line. A break after the last line, which a text
    /// may end with, would only add blanks that change no word.
    std::size_t BreakLength() const { return fLine + 1 < fCount ? fBreak.size() : 0; }
    /// Moves to the next byte above 32; false at the end of the text.
    bool SkipBlanks();
    /// Moves to the start of the next word that may be in a list or a paired word, or to the end
    /// of the text: the words before it change nothing.
    void SkipPlainWords();
    /// The start of the first word of the line's characters from p to end that may matter, or null.
    const char16_t* FirstWordThatMayMatter(const char16_t* p, const char16_t* end) const;
    /// The next word, with the byte that ends it consumed; endedLine tells whether that byte was a
    /// line break. Empty at the end of the text. A word never spans lines: a break is a blank.
    std::u16string_view ReadWord(bool& endedLine);
    void SkipComment(char end, bool endedLine);
    /// The string after a string word, up to and including the closing quote, at most
    /// MaxStringBody bytes; its words are passed on as they come.
    void TakeStringBody();
    /// A word that is no comment: the token it starts, the converter's definition state, and the
    /// token's words as a block holds them.
    void Token(std::u16string_view word, const TConverterWord* info);
    /// A word of the converted text: a name when a ":" asked for one.
    void Found(std::u16string_view word);
    void AddName(std::u16string_view word);
    const TConverterWord* Lookup(std::u16string_view word) const;
    bool IsPairedWord(std::u16string_view word);
    void AddPairedWord(const std::string& word);
    /// Notes, for each byte, the lengths of the words starting with it that need a look-up: the
    /// lists' words and ";"; and whether a paired word starts with it.
    void NoteFirstBytes();
    /// Whether a word may be in a list or be a paired word.
    bool MayMatter(std::u16string_view word) const
    {
        const unsigned char first = Narrow(word[0]);
        return (word.size() <= MaxConverterWord && (fLengths[first] >> word.size()) & 1) || fPairedFirst[first];
    }

    const TNibEditStringList& fLines;
    const int fCount;
    std::u16string_view fBreak;
    int fLine = -1;
    const char16_t* fP = nullptr;
    const char16_t* fEnd = nullptr;
    /// Bytes of the current line's break already read.
    std::size_t fBreakPos = 0;

    TPairedWordSet fPairedWords;
    std::array<unsigned, 256> fLengths{};
    std::array<bool, 256> fPairedFirst{};
    std::string fKey;

    // The converter's definition state.
    bool fInDefinition = false;
    std::string fLastDefinedName;

    // The scan of the converted words.
    bool fInColonDefinition = false;
    bool fNameExpected = false;
    /// The names found so far take the place of those of the previous scan, which are kept while
    /// they are the same: most rescans allocate nothing.
    std::vector<UnicodeString>& fNames;
    std::size_t fNameCount = 0;
    bool fChanged = false;
};

/// The line break that the text saved as 8-bit bytes has.
std::u16string_view SavedLineBreak(TNibEditFileFormat format)
{
    switch (format) {
    case sffUnix: return u"\n";
    case sffMac: return u"\r";
    case sffDos:
    case sffUnicode: break;
    }
    return u"\r\n";
}

TLocalWordScan::TLocalWordScan(const TNibEditStringList& lines, const TStringList& pairedWords,
                               std::vector<UnicodeString>& names)
    : fLines(lines),
      fCount(lines.Count()),
      fBreak(SavedLineBreak(lines.FileFormat())),
      fPairedWords(pairedWords),
      fNames(names)
{
    NoteFirstBytes();
    NextLine();
}

void TLocalWordScan::NoteFirstBytes()
{
    for (int b = 0; b < 256; ++b) {
        const unsigned char upper = UpperByte(static_cast<unsigned char>(b));
        fLengths[std::size_t(b)] = ConverterWordLengths(upper) | (b == ';' ? 1u << 1 : 0);
        fPairedFirst[std::size_t(b)] = fPairedWords.MayStartWith(upper);
    }
}

bool TLocalWordScan::NextLine()
{
    if (fLine + 1 >= fCount) return false;
    // The text of a line ends with a null character, a blank, which ends every word in it.
    const UnicodeString& line = fLines[++fLine];
    fP = line.data();
    fEnd = fP + line.size();
    fBreakPos = 0;
    return true;
}

bool TLocalWordScan::SkipBlanks()
{
    for (;;) {
        while (fP < fEnd && *fP <= 32) ++fP;
        if (fP < fEnd) return true;
        if (!NextLine()) return false;
    }
}

void TLocalWordScan::SkipPlainWords()
{
    for (;;) {
        if (const char16_t* word = FirstWordThatMayMatter(fP, fEnd)) {
            fP = word;
            return;
        }
        // The rest of the line's break is blanks.
        fP = fEnd;
        if (!NextLine()) return;
    }
}

const char16_t* TLocalWordScan::FirstWordThatMayMatter(const char16_t* p, const char16_t* end) const
{
#if defined(__SSE2__)
    // Sixteen characters at a time: a mask of those above 32 gives the words' starts and, for those
    // that end among them, their lengths, without a branch per character. A character at p starts
    // a word even after one above 32 (as after the end of a comment), and p is never inside a word.
    const __m128i flip = _mm_set1_epi16(short(0x8000));
    const __m128i blank = _mm_set1_epi16(short(0x8000 + 32));
    auto above32 = [&](const char16_t* at) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        return _mm_cmpgt_epi16(_mm_xor_si128(units, flip), blank);
    };
    while (end - p >= 16) {
        const unsigned inWord = unsigned(_mm_movemask_epi8(_mm_packs_epi16(above32(p), above32(p + 8))));
        unsigned starts = inWord & ~(inWord << 1);
        const unsigned blanks = ~inWord & 0xFFFF;
        const char16_t* next = p + 16;
        while (starts) {
            const unsigned at = unsigned(__builtin_ctz(starts));
            starts &= starts - 1;
            const char16_t* const start = p + at;
            if (const unsigned after = blanks >> at) {
                if (MayMatter({start, std::size_t(__builtin_ctz(after))})) return start;
            } else {
                // The last word runs on past the sixteen.
                while (*next > 32) ++next;
                if (MayMatter({start, std::size_t(next - start)})) return start;
            }
        }
        p = next;
    }
#endif
    for (;;) {
        while (p < end && *p <= 32) ++p;
        if (p == end) return nullptr;
        const char16_t* const start = p;
        while (*p > 32) ++p;
        if (MayMatter({start, std::size_t(p - start)})) return start;
    }
}

std::u16string_view TLocalWordScan::ReadWord(bool& endedLine)
{
    endedLine = false;
    if (!SkipBlanks()) return {};
    const char16_t* start = fP;
    while (*fP > 32) ++fP;
    const std::u16string_view word(start, std::size_t(fP - start));
    if (fP < fEnd) {
        endedLine = *fP == u'\r' || *fP == u'\n';
        ++fP;
    } else if (fBreakPos < BreakLength()) {
        endedLine = true;
        ++fBreakPos;
    }
    return word;
}

void TLocalWordScan::SkipComment(char end, bool endedLine)
{
    if (end != ConverterLineEnd) {
        // The end byte is no blank, so never part of a line break.
        for (;;) {
            while (fP < fEnd && *fP != char16_t(end)) ++fP;
            if (fP < fEnd) {
                ++fP;
                return;
            }
            if (!NextLine()) return;
        }
    }
    // A comment to the end of the line ends at CR LF, a lone LF or a lone CR alike; when the
    // comment word itself ended the line, nothing is left of it.
    if (endedLine) return;
    for (;;) {
        while (fP < fEnd && *fP != u'\r' && *fP != u'\n') ++fP;
        if (fP < fEnd) {
            ++fP;
            return;
        }
        if (fBreakPos < BreakLength()) {
            ++fBreakPos;
            return;
        }
        if (!NextLine()) return;
    }
}

void TLocalWordScan::TakeStringBody()
{
    std::size_t taken = 0;
    const char16_t* wordStart = nullptr;
    auto endWord = [&] {
        if (wordStart) Found({wordStart, std::size_t(fP - wordStart)});
        wordStart = nullptr;
    };
    while (taken < MaxStringBody) {
        if (fP < fEnd) {
            const char16_t c = *fP;
            ++taken;
            if (c <= 32) {
                endWord();
                ++fP;
                continue;
            }
            if (!wordStart) wordStart = fP;
            ++fP;
            if (c == u'"') break;
        } else {
            endWord();
            if (fBreakPos < BreakLength()) {
                ++fBreakPos;
                ++taken;
            } else if (!NextLine()) {
                break;
            }
        }
    }
    endWord();
}

const TConverterWord* TLocalWordScan::Lookup(std::u16string_view word) const
{
    if (word.size() > MaxConverterWord) return nullptr;
    char bytes[MaxConverterWord];
    for (std::size_t i = 0; i < word.size(); ++i) bytes[i] = char(Narrow(word[i]));
    return LookupConverterWord({bytes, word.size()});
}

bool TLocalWordScan::IsPairedWord(std::u16string_view word)
{
    if (!fPairedFirst[Narrow(word[0])]) return false;
    fKey.resize(word.size());
    for (std::size_t i = 0; i < word.size(); ++i) fKey[i] = char(Narrow(word[i]));
    return fPairedWords.Contains(fKey);
}

void TLocalWordScan::AddPairedWord(const std::string& word)
{
    fPairedWords.Add(word);
    const unsigned char upper = UpperByte(static_cast<unsigned char>(word[0]));
    for (int b = 0; b < 256; ++b)
        if (UpperByte(static_cast<unsigned char>(b)) == upper) fPairedFirst[std::size_t(b)] = true;
}

void TLocalWordScan::Token(std::u16string_view word, const TConverterWord* info)
{
    const bool opens = info && info->Definition;
    std::u16string_view name;
    bool unused;
    if (opens) {
        if (info->Name) name = ReadWord(unused);
    } else if ((info && info->Name) || IsPairedWord(word)) {
        name = ReadWord(unused);
    } else if (info && info->String) {
        Found(word);
        TakeStringBody();
        return;
    }

    if (opens) {
        fInDefinition = true;
        if (!name.empty()) {
            fLastDefinedName.resize(name.size());
            for (std::size_t i = 0; i < name.size(); ++i) fLastDefinedName[i] = char(Narrow(name[i]));
        }
    } else if (fInDefinition) {
        if (name.empty() && word == u";") {
            fInDefinition = false;
        } else if (word == u"CREATE" && !name.empty() && !fLastDefinedName.empty()) {
            // The word being defined makes words itself: from now on its next word is its name.
            AddPairedWord(fLastDefinedName);
        }
    }

    // A block holds at most MaxPlacedToken bytes of a token: the rest of a longer one is lost.
    Found(word.substr(0, MaxPlacedToken));
    if (!name.empty() && word.size() + 1 < MaxPlacedToken) Found(name.substr(0, MaxPlacedToken - word.size() - 1));
}

void TLocalWordScan::Found(std::u16string_view word)
{
    if (fNameExpected) {
        fNameExpected = false;
        AddName(word);
    }
    if (word == u":" && !fInColonDefinition) fInColonDefinition = fNameExpected = true;
    else if (word == u";") fInColonDefinition = false;
}

void TLocalWordScan::AddName(std::u16string_view word)
{
    auto same = [&](const UnicodeString& name) {
        if (name.size() != word.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i)
            if (name[i] != Narrow(word[i])) return false;
        return true;
    };
    if (fNameCount < fNames.size() && same(fNames[fNameCount])) {
        ++fNameCount;
        return;
    }
    fChanged = true;
    if (fNameCount == fNames.size()) fNames.emplace_back();
    UnicodeString& name = fNames[fNameCount++];
    name.resize(word.size());
    for (std::size_t i = 0; i < word.size(); ++i) name[i] = Narrow(word[i]);
}

bool TLocalWordScan::Run()
{
    for (;;) {
        // Most words are in no list and no name: they change nothing.
        if (!fNameExpected) SkipPlainWords();
        bool endedLine;
        const std::u16string_view word = ReadWord(endedLine);
        if (word.empty()) break;
        const TConverterWord* info = Lookup(word);
        if (info && info->CommentEnd) SkipComment(info->CommentEnd, endedLine);
        else Token(word, info);
    }
    if (fNameCount != fNames.size()) {
        fNames.resize(fNameCount);
        fChanged = true;
    }
    return fChanged;
}

} // namespace

bool ScanLocalWords(const TNibEditStringList& Lines, const TStringList& PairedWords, std::vector<UnicodeString>& Names)
{
    return TLocalWordScan(Lines, PairedWords, Names).Run();
}
