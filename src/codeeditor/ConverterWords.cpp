#include "codeeditor/ConverterWords.h"
#include <array>
#include <map>
#include <vector>

namespace {

/// A word of the fixed lists, in capitals: the lists are compared without case.
struct TListWord {
    std::string Upper;
    TConverterWord Info;
};

/// The fixed lists by the capital of each word's first byte, so that a look-up compares a few
/// words at most.
using TWordTable = std::array<std::vector<TListWord>, 256>;

const std::array<unsigned char, 256>& UpperTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char16_t up = UpCaseChar(char16_t(b));
            t[std::size_t(b)] = static_cast<unsigned char>(up <= 0xFF ? up : b);
        }
        return t;
    }();
    return table;
}

const TWordTable& Words()
{
    static const TWordTable table = [] {
        std::map<std::string, TConverterWord> words;
        words["\\"].CommentEnd = ConverterLineEnd;
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

void UpperKey(std::string_view word, std::string& key)
{
    key.resize(word.size());
    for (std::size_t i = 0; i < word.size(); ++i) key[i] = char(UpperByte(static_cast<unsigned char>(word[i])));
}

} // namespace

unsigned char UpperByte(unsigned char c) { return UpperTable()[c]; }

const TConverterWord* LookupConverterWord(std::string_view word)
{
    // No word of the lists is longer: most words need no look-up at all.
    if (word.empty() || word.size() > MaxConverterWord) return nullptr;
    const auto& upper = UpperTable();
    for (const TListWord& entry : Words()[upper[static_cast<unsigned char>(word[0])]]) {
        if (entry.Upper.size() != word.size()) continue;
        std::size_t i = 1;
        while (i < word.size() && char(upper[static_cast<unsigned char>(word[i])]) == entry.Upper[i]) ++i;
        if (i == word.size()) return &entry.Info;
    }
    return nullptr;
}

unsigned ConverterWordLengths(unsigned char upper)
{
    unsigned lengths = 0;
    for (const TListWord& entry : Words()[upper]) lengths |= 1u << entry.Upper.size();
    return lengths;
}

void InitConverterWords()
{
    Words();
    UpperTable();
}

TPairedWordSet::TPairedWordSet(const TStringList& words)
{
    for (int i = 0; i < words.Count(); ++i)
        if (!words[i].empty()) Add(ToAnsi(words[i]));
}

bool TPairedWordSet::Contains(std::string_view word)
{
    if (word.empty() || !fFirst[UpperByte(static_cast<unsigned char>(word[0]))]) return false;
    UpperKey(word, fKey);
    return fWords.count(fKey) != 0;
}

void TPairedWordSet::Add(std::string_view word)
{
    UpperKey(word, fKey);
    fFirst.set(static_cast<unsigned char>(fKey[0]));
    fWords.insert(fKey);
}
