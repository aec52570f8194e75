#include "settings/CGIStringEncode.h"

namespace {

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

} // namespace

UnicodeString EscapeString(std::u16string_view text)
{
    if (text.empty()) return u".";
    static constexpr char16_t hex[] = u"0123456789ABCDEF";
    AnsiString bytes = ToAnsi(text);
    UnicodeString out;
    if (bytes.front() == '.') out += u'.';
    for (char ch : bytes) {
        unsigned char b = static_cast<unsigned char>(ch);
        switch (b) {
        case '\t': out += u"\\t"; break;
        case '\n': out += u"\\n"; break;
        case '\r': out += u"\\r"; break;
        case '"': out += u"\\\""; break;
        case '\\': out += u"\\\\"; break;
        case '%': out += u"%%"; break;
        default:
            if (b < 32 || b >= 128) {
                out += u'%';
                out += hex[b >> 4];
                out += hex[b & 15];
            } else {
                out += char16_t(b);
            }
        }
    }
    return out;
}

UnicodeString UnescapeString(std::u16string_view text)
{
    if (text == u".") return UnicodeString();
    // EscapeString puts one extra "." before a text that starts with "."; take it off again.
    if (!text.empty() && text.front() == u'.') text.remove_prefix(1);
    UnicodeString out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'%') {
            if (i + 1 < text.size() && text[i + 1] == u'%') {
                out += u'%';
                ++i;
            } else if (i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
                out += char16_t(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
                i += 2;
            }
        } else if (c == u'\\') {
            if (i + 1 < text.size()) {
                char16_t next = text[++i];
                out += next == u'n' ? u'\n' : next == u'r' ? u'\r' : next == u't' ? u'\t' : next;
            }
        } else if (c >= 32 && c <= 127) {
            out += c;
        }
    }
    return out;
}
