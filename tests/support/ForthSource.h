#pragma once
// Generated Forth source for tests and benchmarks: definitions, comments, strings, numbers and local words.
#include <cstddef>
#include <string>
#include <vector>
#include "platform/Text.h"

/// The base words the generated source uses, as a keyword list would hold them.
inline std::vector<UnicodeString> ForthBaseWords()
{
    return {u":",    u";",    u"DUP",  u"DROP", u"SWAP", u"OVER", u"ROT",   u"+",    u"-",     u"*",
            u"/",    u"@",    u"!",    u"C@",   u"C!",   u"IF",   u"ELSE",  u"THEN", u"BEGIN", u"UNTIL",
            u"DO",   u"LOOP", u"I",    u"EMIT", u"CR",   u".",    u"(",     u"\\",   u".\"",   u"CHAR",
            u"VARIABLE", u"CONSTANT", u"ALLOT", u"HERE", u"AND", u"OR", u"XOR", u"INVERT", u"0=", u"="};
}

/// Lines of generated source, together at least `size` code units long (line ends not counted).
inline std::vector<UnicodeString> ForthSourceLines(std::size_t size)
{
    const std::vector<UnicodeString> words = ForthBaseWords();
    std::vector<UnicodeString> lines;
    std::size_t total = 0;
    for (unsigned n = 0; total < size; ++n) {
        UnicodeString line;
        switch (n % 5) {
        case 0: line = u": WORD" + FromAnsi(std::to_string(n)) + u" ( n -- n ) DUP " + FromAnsi(std::to_string(n % 977)) + u" + ;"; break;
        case 1: line = u"  $" + FromAnsi(std::to_string(n % 4096)) + u" CHAR A EMIT .\" done here\" CR \\ tail note"; break;
        case 2:
            for (unsigned k = 0; k < 9; ++k) line += words[(n * 7 + k * 3) % words.size()] + u" ";
            break;
        case 3: line = u"\tBEGIN word" + FromAnsi(std::to_string(n % 50)) + u" OVER -10 AND 0= UNTIL %1011 DROP"; break;
        default: line = u"VARIABLE counter" + FromAnsi(std::to_string(n % 100)) + u"  ( a counter )  1 CELLS ALLOT"; break;
        }
        total += line.size();
        lines.push_back(std::move(line));
    }
    return lines;
}

/// A line of `count` four-letter words, one blank between each: 5 * count - 1 characters.
inline std::string Words(int count)
{
    std::string line;
    for (int i = 0; i < count; ++i) line += (i ? " " : "") + std::string("abcd");
    return line;
}
