// The local-word scan against the way the names were found before: the whole text saved as 8-bit
// bytes, converted into blocks, and the blocks' words scanned. On random sources both must find
// the same names in the same order.
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include "codeeditor/LocalWords.h"
#include "codeeditor/TextToBlock.h"

namespace {

/// The scan of converted text: the word after each ":" that opens a definition.
std::vector<UnicodeString> ScanConverted(std::string_view text)
{
    std::vector<UnicodeString> result;
    bool inDefinition = false;
    bool nameExpected = false;
    auto completed = [&](std::string_view word) {
        if (nameExpected) {
            nameExpected = false;
            result.push_back(FromAnsi(word));
        }
        if (word == ":" && !inDefinition) inDefinition = nameExpected = true;
        else if (word == ";") inDefinition = false;
    };
    std::size_t start = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool wordChar = static_cast<unsigned char>(text[i]) > 32;
        if (wordChar && !inWord) start = i;
        else if (!wordChar && inWord) completed(text.substr(start, i - start));
        inWord = wordChar;
    }
    if (inWord) completed(text.substr(start));
    return result;
}

std::vector<UnicodeString> ScanOfConvertedText(const TNibEditStringList& lines, const TStringList& paired)
{
    std::ostringstream bytes;
    lines.SaveToStream(bytes);
    return ScanConverted(ConvertTextToBlocks(u"", bytes.str(), false, false, false, false, paired));
}

/// Words chosen for what the converter does with them, in differing case, with 8-bit and wide
/// characters (some of whose low bytes are ":", "(" or ")"), and words with quotes and parentheses.
const std::vector<UnicodeString> Pieces = {
    u":", u":", u":", u";", u";", u":NONAME", u"does>", u"CREATE", u"create", u"VARIABLE", u"constant", u"'",
    u"[']", u"[char]", u"TO", u"\\", u"\\", u"(", u")", u")", u".(", u"x)", u"(x", u".\"", u"S\"", u"s\"",
    u"C\"", u"ABORT\"", u"\"", u"end\"", u"Name", u"NAME", u"name", u"DUP", u"MAKER", u"maker", u"CONST:",
    u"\u00e9t\u00e9", u"\u00ff", u"\u2211", u"\u6f22x", u"?", u"\u0129", u"\u013a", u"\u0128", u"\u2028",
    u"\u00a0", u"1"};
const std::vector<UnicodeString> Blanks = {u" ", u" ", u" ", u"\t", u"  ", u"\x01", u"\x1f", u" \t "};
const std::vector<UnicodeString> Breaks = {u"\r\n", u"\r\n", u"\n", u"\r"};
const std::vector<UnicodeString> PairedChoices = {u"MAKER", u"const:", u"\u00c9T\u00c9", u"name", u";"};

struct RandomSource {
    explicit RandomSource(unsigned seed) : random(seed) {}

    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); }
    bool OneIn(std::size_t n) { return Pick(n) == 0; }

    UnicodeString Word()
    {
        // Words about as long as a block holds, on either side of where a token is cut.
        if (OneIn(150)) return UnicodeString(1016 + Pick(10), u"LONG"[Pick(4)]);
        return Pieces[Pick(Pieces.size())];
    }

    UnicodeString Line()
    {
        if (OneIn(6)) return OneIn(2) ? UnicodeString() : Blanks[Pick(Blanks.size())];
        UnicodeString line;
        if (OneIn(3)) line += Blanks[Pick(Blanks.size())];
        const std::size_t words = 1 + Pick(12);
        for (std::size_t i = 0; i < words; ++i) {
            if (i > 0) line += Blanks[Pick(Blanks.size())];
            line += Word();
        }
        // A defining word at the end of the line takes its name from a later one.
        if (OneIn(5)) line += u" :";
        if (OneIn(8)) line += Blanks[Pick(Blanks.size())];
        return line;
    }

    /// A document of up to about 6,000 characters: many blocks, and many a token that does not
    /// fit the rest of its block.
    void Fill(TNibEditStringList& lines)
    {
        UnicodeString text;
        const std::size_t size = Pick(6000);
        while (text.size() < size) text += Line() + Breaks[Pick(Breaks.size())];
        if (OneIn(2) && !text.empty()) text.pop_back();
        lines.SetText(text);
        if (OneIn(4)) lines.SetFileFormat(TNibEditFileFormat(Pick(4)));
        lines.SetAppendNewLineAtEOF(OneIn(3));
        // A line break inside a line, as a program may put it there.
        if (lines.Count() > 0 && OneIn(5)) {
            const int at = int(Pick(std::size_t(lines.Count())));
            lines.Put(at, lines[at] + (OneIn(2) ? u"\r" : u"\n") + Line());
        }
    }

    std::mt19937 random;
};

TEST(LocalWordsRandom, TheScanFindsTheNamesThatTheConvertedTextHolds)
{
    int definitions = 0;
    // Each scan is given the names of the one before, which it must replace.
    std::vector<UnicodeString> names;
    for (unsigned seed = 1; seed <= 4000; ++seed) {
        RandomSource source(seed);
        TNibEditStringList lines;
        source.Fill(lines);
        TStringList paired;
        for (const UnicodeString& w : PairedChoices)
            if (source.OneIn(3)) paired.Add(w);
        const std::vector<UnicodeString> expected = ScanOfConvertedText(lines, paired);
        definitions += int(expected.size());
        const bool changed = names != expected;
        ASSERT_EQ(ScanLocalWords(lines, paired, names), changed) << "seed " << seed;
        ASSERT_EQ(names, expected)
            << "seed " << seed << ", format " << int(lines.FileFormat()) << ", final break "
            << lines.AppendNewLineAtEOF() << ", text:\n"
            << ToUtf8(lines.Text());
    }
    // The sources define enough for the comparison to mean something.
    EXPECT_GT(definitions, 20000);
}

}  // namespace
