#include "codeeditor/TextToBlock.h"
#include <cstring>
#include "codeeditor/ConverterWords.h"

namespace {

constexpr int BlockBytes = 1024;
constexpr int LineBytes = 64;
/// A token must end before this position of its block.
constexpr int BlockRoom = 1023;
constexpr std::size_t MaxCaption = 54;
/// The most a string word takes when no closing quote comes.
constexpr std::size_t MaxStringBody = 256;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

/// One conversion: reads tokens from the source and packs them into blocks.
class TTextToBlock {
public:
    TTextToBlock(std::string_view source, bool compileStartsLine, bool wordWrap, const TStringList& pairedWords)
        : fSource(source), fCompileStartsLine(compileStartsLine), fWordWrap(wordWrap), fPairedWords(pairedWords)
    {
    }

    /// Fills one block behind its caption line; false when no token was left for it. A first
    /// token that does not fit behind the caption but would fit the next block (which has no
    /// caption when nextCaptioned is false) waits for that block, leaving this one to the caption.
    bool BuildBlock(char* block, std::string_view caption, bool nextCaptioned);

private:
    /// Reads the next word into w; true when the byte that ended it was a line break.
    bool ReadWord(std::string& w);
    /// The next word outside comments into w, with what the lists say of it; w empty at the end.
    const TConverterWord* NextWord(std::string& w);
    /// The next token into fToken; false at the end of the source.
    bool ReadToken();
    void GlueName();
    void GlueStringBody();

    std::string_view fSource;
    std::size_t fPos = 0;
    bool fCompileStartsLine;
    bool fWordWrap;
    TPairedWordSet fPairedWords;

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

const TConverterWord* TTextToBlock::NextWord(std::string& w)
{
    for (;;) {
        const bool endedLine = ReadWord(w);
        if (w.empty()) return nullptr;
        const TConverterWord* info = LookupConverterWord(w);
        if (!info || !info->CommentEnd) return info;
        if (info->CommentEnd == ConverterLineEnd) {
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
    const TConverterWord* info = NextWord(fWord);
    if (fWord.empty()) return false;
    fToken = fWord;
    fTokenOpensDefinition = info && info->Definition;
    if (fTokenOpensDefinition) {
        if (info->Name) GlueName();
    } else if ((info && info->Name) || fPairedWords.Contains(fWord)) {
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
            fPairedWords.Add(fLastDefinedName);
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

void InitTextToBlockWords() { InitConverterWords(); }

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
