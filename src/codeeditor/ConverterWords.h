#pragma once
// The word lists of the source-to-block converter, shared by the converter and by the scan of a
// document's local words, which must read the source exactly as the converter does.
#include <bitset>
#include <string>
#include <string_view>
#include <unordered_set>
#include "platform/StringList.h"

/// What a word of the converter's fixed lists does; a word may be in several lists (":" opens a
/// definition and takes a name).
struct TConverterWord {
    /// The byte that ends a comment the word opens; 0 for no comment word.
    char CommentEnd = 0;
    bool Name = false;
    bool String = false;
    bool Definition = false;
};

/// The comment end that stands for the end of the line (any of CR, LF).
inline constexpr char ConverterLineEnd = '\r';
/// The longest word of the fixed lists ("2VARIABLE", "2CONSTANT", "QVARIABLE").
inline constexpr std::size_t MaxConverterWord = 9;

/// The capital of an 8-bit character, as the string lists compare; a capital outside 8 bits
/// leaves the character as it is.
unsigned char UpperByte(unsigned char c);
/// The fixed lists' entry for a word, compared without case; null for any other word.
const TConverterWord* LookupConverterWord(std::string_view word);
/// The lengths of the fixed lists' words that start with this capital, as bits (bit n for length
/// n): most words need no look-up.
unsigned ConverterWordLengths(unsigned char upper);
/// Builds the fixed lists and the capitals, so that the first conversion does not pay for it.
void InitConverterWords();

/// The document's own defining words, compared without case; a conversion adds the words it
/// finds defined with CREATE.
class TPairedWordSet {
public:
    explicit TPairedWordSet(const TStringList& words);
    bool Contains(std::string_view word);
    void Add(std::string_view word);
    /// Whether some paired word starts with this capital.
    bool MayStartWith(unsigned char upper) const { return fFirst[upper]; }

private:
    std::unordered_set<std::string> fWords;
    std::bitset<256> fFirst;
    /// The capitals of the word last looked up, kept to spare an allocation per look-up.
    std::string fKey;
};
