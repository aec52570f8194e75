#pragma once
// Text files as other programs write them: behind a byte-order mark with characters above U+00FF,
// and 8-bit text holding every byte value.
#include <string>
#include <vector>
#include "platform/Text.h"

/// The text of every marked file: two lines with characters above U+00FF, one beyond U+FFFF.
inline const UnicodeString kMarkedText = u"caf\u00E9 \u010D \u2192 \u20AC\r\n\U0001F600 : SQ DUP * ;\r\n";

struct MarkedTextFile {
    const char* Name;
    TTextEncoding Encoding;
    std::string Bytes;
};

/// kMarkedText in UTF-8, UTF-16 LE and UTF-16 BE, each behind its byte-order mark.
inline std::vector<MarkedTextFile> MarkedTextFiles()
{
    return {
        {"utf-8", TTextEncoding::Utf8,
         std::string("\xEF\xBB\xBF\x63\x61\x66\xC3\xA9\x20\xC4\x8D\x20\xE2\x86\x92\x20\xE2\x82\xAC\x0D\x0A\xF0\x9F\x98"
                     "\x80\x20\x3A\x20\x53\x51\x20\x44\x55\x50\x20\x2A\x20\x3B\x0D\x0A",
                     40)},
        {"utf-16 le", TTextEncoding::Utf16LE,
         std::string("\xFF\xFE\x63\x00\x61\x00\x66\x00\xE9\x00\x20\x00\x0D\x01\x20\x00\x92\x21\x20\x00\xAC\x20\x0D\x00"
                     "\x0A\x00\x3D\xD8\x00\xDE\x20\x00\x3A\x00\x20\x00\x53\x00\x51\x00\x20\x00\x44\x00\x55\x00\x50\x00"
                     "\x20\x00\x2A\x00\x20\x00\x3B\x00\x0D\x00\x0A\x00",
                     60)},
        {"utf-16 be", TTextEncoding::Utf16BE,
         std::string("\xFE\xFF\x00\x63\x00\x61\x00\x66\x00\xE9\x00\x20\x01\x0D\x00\x20\x21\x92\x00\x20\x20\xAC\x00\x0D"
                     "\x00\x0A\xD8\x3D\xDE\x00\x00\x20\x00\x3A\x00\x20\x00\x53\x00\x51\x00\x20\x00\x44\x00\x55\x00\x50"
                     "\x00\x20\x00\x2A\x00\x20\x00\x3B\x00\x0D\x00\x0A",
                     60)},
    };
}

/// 8-bit text with every byte value: CR and LF as the CR LF that ends each line, the others in
/// order in lines of at most 64 characters, each ending in '|' so that no right-trim touches it.
inline std::string EveryByteText()
{
    std::string text, line;
    for (int b = 0; b < 256; ++b) {
        if (b == '\r' || b == '\n') continue;
        line += char(b);
        if (line.size() == 60 || b == 255) {
            text += line + "|\r\n";
            line.clear();
        }
    }
    return text;
}
