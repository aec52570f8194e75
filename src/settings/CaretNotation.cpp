#include "settings/CaretNotation.h"

UnicodeString CaretEncode(std::u16string_view text)
{
    UnicodeString out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        bool atEnd = i == 0 || i + 1 == text.size();
        if (c == 30) {
            // Its caret form would be "^^", which reads back as a caret: it stays as it is, and
            // "^@", which reads as nothing, keeps the trimming of the settings text off it.
            if (i == 0) out += u"^@";
            out += c;
            if (i + 1 == text.size()) out += u"^@";
        } else if (c < 32 || (c == u' ' && atEnd)) {
            out += u'^';
            out += char16_t(c + 64);
        } else if (c == u'^') {
            out += u"^^";
        } else {
            out += c;
        }
    }
    return out;
}

UnicodeString CaretDecode(std::u16string_view text)
{
    UnicodeString out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c != u'^') {
            out += c;
            continue;
        }
        if (++i == text.size()) break;
        char16_t next = text[i];
        if (next == u'^') {
            out += u'^';
            continue;
        }
        if (next >= u'a' && next <= u'z') next = char16_t(next - 32);
        if (next >= 65) out += char16_t(next - 64);
    }
    return out;
}
