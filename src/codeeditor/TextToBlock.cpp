#include "codeeditor/TextToBlock.h"
#include <array>
#include <bitset>
#include <cstring>
#include <map>
#include <unordered_set>
#include <vector>

namespace {

constexpr int BlockBytes = 1024;
constexpr int LineBytes = 64;
/// A token must end before this position of its block.
constexpr int BlockRoom = 1023;
constexpr std::size_t MaxCaption = 54;
/// The most a string word takes when no closing quote comes.
constexpr std::size_t MaxStringBody = 256;
/// The comment end that stands for the end of the line (any of CR, LF).
constexpr char LineEnd = '\r';
/// The longest word of the fixed lists ("2VARIABLE", "2CONSTANT", "QVARIABLE").
constexpr std::size_t MaxListWord = 9;

/// What a word of the lists does; a word may be in several lists (":" opens a definition and
/// takes a name).
struct TWordInfo {
    /// The byte that ends a comment the word opens; 0 for no comment word.
    char CommentEnd = 0;
    bool Name = false;
    bool String = false;
    bool Definition = false;
};

/// A word of the fixed lists, in capitals: the lists are compared without case.
struct TListWord {
    std::string Upper;
    TWordInfo Info;
};

/// The fixed lists by the capital of each word's first byte, so that a look-up compares a few
/// words at most.
using TWordTable = std::array<std::vector<TListWord>, 256>;

/// Capitals of 8-bit text, as the string lists compare it; a capital outside 8 bits leaves the
/// byte as it is.
const std::array<char, 256>& UpperTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char16_t up = UpCaseChar(char16_t(b));
            t[std::size_t(b)] = char(up <= 0xFF ? up : b);
        }
        return t;
    }();
    return table;
}

void UpperKey(std::string_view word, std::string& key)
{
    const auto& table = UpperTable();
    key.resize(word.size());
    for (std::size_t i = 0; i < word.size(); ++i) key[i] = table[static_cast<unsigned char>(word[i])];
}

const TWordTable& Words()
{
    static const TWordTable table = [] {
        std::map<std::string, TWordInfo> words;
        words["\\"].CommentEnd = LineEnd;
        words["("].CommentEnd = ')';
        words[".("].CommentEnd = ')';
        for (const char* w : {":", "TO", "IS", "CREATE", "VARIABLE", "CONSTANT", "VALUE", "2VARIABLE", "2CONSTANT",
                              "2VALUE", "QVARIABLE", "QBYTES", "[CHAR]", "MARKER", "DEFER", "CHAR", "[']", "'"})
            words[w].Name = true;
        for (const char* w : {".\"", "S\"", "C\"", "ABORT\""}) words[w].String = true;
        for (const char* w : {":", "DOES>", ":NONAME"}) words[w].Definition = true;
        TWordTable t;
        for (const auto& [word, info] : words) t[static_cast<unsigned char>(word[0])].push_back({word, info});
        return t;
    }();
    return table;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

/// One conversion: reads tokens from the source and packs them into blocks.
class TTextToBlock {
public:
    TTextToBlock(std::string_view source, bool compileStartsLine, bool wordWrap, const TStringList& pairedWords)
        : fSource(source), fCompileStartsLine(compileStartsLine), fWordWrap(wordWrap), fWords(Words())
    {
        for (int i = 0; i < pairedWords.Count(); ++i)
            if (!pairedWords[i].empty()) AddPairedWord(ToAnsi(pairedWords[i]));
    }

    /// Fills one block behind its caption line; false when no token was left for it. A first
    /// token that does not fit behind the caption but would fit the next block (which has no
    /// caption when nextCaptioned is false) waits for that block, leaving this one to the caption.
    bool BuildBlock(char* block, std::string_view caption, bool nextCaptioned);

private:
    /// Reads the next word into w; true when the byte that ended it was a line break.
    bool ReadWord(std::string& w);
    /// The next word outside comments into w, with what the lists say of it; w empty at the end.
    const TWordInfo* NextWord(std::string& w);
    /// The next token into fToken; false at the end of the source.
    bool ReadToken();
    void GlueName();
    void GlueStringBody();
    const TWordInfo* Lookup(std::string_view word);
    bool IsPairedWord(std::string_view word);
    void AddPairedWord(std::string_view word);

    std::string_view fSource;
    std::size_t fPos = 0;
    bool fCompileStartsLine;
    bool fWordWrap;
    const TWordTable& fWords;
    std::unordered_set<std::string> fPairedWords;
    /// The capitals that paired words start with: most words need no look-up in the set.
    std::bitset<256> fPairedFirst;
    std::string fKey;

    std::string fToken;
    bool fTokenOpensDefinition = false;
    bool fHasPending = false;
    std::string fWord;
    std::string fNext;

    bool fInDefinition = false;
    std::string fDefinitionEnd;
    std::string fLastDefinedName;
};

bool TTextToBlock::ReadWord(std::string& w)
{
    const std::size_t size = fSource.size();
    while (fPos < size && IsBlank(fSource[fPos])) ++fPos;
    const std::size_t start = fPos;
    while (fPos < size && !IsBlank(fSource[fPos])) ++fPos;
    w.assign(fSource.substr(start, fPos - start));
    if (fPos >= size) return false;
    const char end = fSource[fPos++];
    return end == '\r' || end == '\n';
}

const TWordInfo* TTextToBlock::Lookup(std::string_view word)
{
    // No word of the lists is longer: most words need no look-up at all.
    if (word.size() > MaxListWord) return nullptr;
    const auto& upper = UpperTable();
    for (const TListWord& entry : fWords[static_cast<unsigned char>(upper[static_cast<unsigned char>(word[0])])]) {
        if (entry.Upper.size() != word.size()) continue;
        std::size_t i = 1;
        while (i < word.size() && upper[static_cast<unsigned char>(word[i])] == entry.Upper[i]) ++i;
        if (i == word.size()) return &entry.Info;
    }
    return nullptr;
}

bool TTextToBlock::IsPairedWord(std::string_view word)
{
    if (!fPairedFirst[static_cast<unsigned char>(UpperTable()[static_cast<unsigned char>(word[0])])]) return false;
    UpperKey(word, fKey);
    return fPairedWords.count(fKey) != 0;
}

void TTextToBlock::AddPairedWord(std::string_view word)
{
    UpperKey(word, fKey);
    fPairedFirst.set(static_cast<unsigned char>(fKey[0]));
    fPairedWords.insert(fKey);
}

const TWordInfo* TTextToBlock::NextWord(std::string& w)
{
    for (;;) {
        const bool endedLine = ReadWord(w);
        if (w.empty()) return nullptr;
        const TWordInfo* info = Lookup(w);
        if (!info || !info->CommentEnd) return info;
        if (info->CommentEnd == LineEnd) {
            // A comment to the end of the line ends at CR LF, a lone LF or a lone CR alike.
            if (endedLine) continue;
            const std::size_t end = fSource.find_first_of("\r\n", fPos);
            fPos = end == std::string_view::npos ? fSource.size() : end + 1;
        } else {
            const std::size_t end = fSource.find(info->CommentEnd, fPos);
            fPos = end == std::string_view::npos ? fSource.size() : end + 1;
        }
    }
}

void TTextToBlock::GlueName()
{
    ReadWord(fNext);
    if (!fNext.empty()) fToken.append(" ").append(fNext);
}

void TTextToBlock::GlueStringBody()
{
    const std::size_t room = std::min(fSource.size() - fPos, MaxStringBody);
    const std::size_t quote = fSource.substr(fPos, room).find('"');
    const std::size_t length = quote == std::string_view::npos ? room : quote + 1;
    if (length > 0) fToken.append(" ").append(fSource.substr(fPos, length));
    fPos += length;
}

bool TTextToBlock::ReadToken()
{
    const TWordInfo* info = NextWord(fWord);
    if (fWord.empty()) return false;
    fToken = fWord;
    fTokenOpensDefinition = info && info->Definition;
    if (fTokenOpensDefinition) {
        if (info->Name) GlueName();
    } else if ((info && info->Name) || IsPairedWord(fWord)) {
        GlueName();
    } else if (info && info->String) {
        GlueStringBody();
    }

    if (fTokenOpensDefinition) {
        fInDefinition = true;
        fDefinitionEnd = ';';
        if (std::size_t blank = fToken.find(' '); blank != std::string::npos) fLastDefinedName = fToken.substr(blank + 1);
    } else if (fInDefinition) {
        if (fToken == fDefinitionEnd) {
            fInDefinition = false;
            fDefinitionEnd.clear();
        } else if (fToken.starts_with("CREATE ") && !fLastDefinedName.empty()) {
            // The word being defined makes words itself: from now on its next word is its name.
            AddPairedWord(fLastDefinedName);
        }
    }
    return true;
}

int RoundUpToLine(int pos) { return (pos + LineBytes - 1) / LineBytes * LineBytes; }

bool TTextToBlock::BuildBlock(char* block, std::string_view caption, bool nextCaptioned)
{
    std::memset(block, ' ', BlockBytes);
    int pos = 0;
    if (!caption.empty()) {
        // The caption has the first line to itself.
        std::memcpy(block, caption.data(), std::min(caption.size(), std::size_t(LineBytes)));
        pos = LineBytes;
    }
    bool taken = false;
    bool haveToken = fHasPending || ReadToken();
    fHasPending = false;
    while (haveToken) {
        if (fTokenOpensDefinition && pos > 0 && fCompileStartsLine) pos = RoundUpToLine(pos);
        if (!IsBlank(fToken.back())) fToken += ' ';
        int length = int(fToken.size());
        if (fWordWrap && pos % LineBytes + length >= LineBytes) pos = RoundUpToLine(pos);
        if (pos + length >= BlockRoom) {
            const int nextStart = nextCaptioned ? LineBytes : 0;
            if (taken || nextStart + length < BlockRoom) {
                fHasPending = true;
                return true;
            }
            // Not even an empty block holds it: cut it, or the same empty block would follow forever.
            length = BlockRoom - 1 - pos;
        }
        std::memcpy(block + pos, fToken.data(), std::size_t(length));
        pos += length;
        taken = true;
        haveToken = ReadToken();
    }
    return taken;
}

}  // namespace

void InitTextToBlockWords()
{
    Words();
    UpperTable();
}

AnsiString CaptionText(const UnicodeString& Caption, int N, bool CaptionAllBlocks, bool CaptionPrintableAll)
{
    if (Caption.empty()) return {};
    const AnsiString caption = ToAnsi(std::u16string_view(Caption).substr(0, MaxCaption));
    if (!CaptionAllBlocks || N < 2) return ".( " + caption + " )";
    return (CaptionPrintableAll ? ".( " : "( ") + caption + "  " + std::to_string(N) + " )";
}

std::string ConvertTextToBlocks(const UnicodeString& Caption, std::string_view Source, bool CompileStartsLine,
                                bool WordWrap, bool CaptionAllBlocks, bool CaptionPrintableAll,
                                const TStringList& PairedWords)
{
    TTextToBlock converter(Source, CompileStartsLine, WordWrap, PairedWords);
    std::string dest;
    dest.reserve(Source.size() + BlockBytes);
    char block[BlockBytes];
    int number = 1;
    AnsiString caption = CaptionText(Caption, number, CaptionAllBlocks, CaptionPrintableAll);
    while (converter.BuildBlock(block, caption, CaptionAllBlocks && !Caption.empty())) {
        dest.append(block, BlockBytes);
        if (CaptionAllBlocks) caption = CaptionText(Caption, ++number, CaptionAllBlocks, CaptionPrintableAll);
        else caption.clear();
    }
    return dest;
}
