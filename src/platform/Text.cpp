#include "platform/Text.h"

#include <limits>
#include <locale.h>
#include <wctype.h>

namespace {

/// Case tables that do not follow the process locale, which the toolkit sets from the user's
/// environment: the mapping must be the same on every machine.
locale_t CaseLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    return locale;
}

/// Latin-1 letters, for a system without the C.UTF-8 tables.
bool IsLatin1Lower(char16_t c)
{
    return c >= 0xE0 && c <= 0xFE && c != 0xF7;
}

bool IsLatin1Upper(char16_t c)
{
    return c >= 0xC0 && c <= 0xDE && c != 0xD7;
}

} // namespace

UnicodeString FromAnsi(std::string_view bytes)
{
    UnicodeString out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = char16_t(static_cast<unsigned char>(bytes[i]));
    return out;
}

AnsiString ToAnsi(std::u16string_view text)
{
    AnsiString out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = text[i] > 0xFF ? '?' : char(text[i]);
    return out;
}

std::string ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

/// UTF-8 to 16-bit code units, appended to out when it is given; each byte that is not part of a
/// valid sequence becomes U+FFFD. True when every byte was.
bool DecodeUtf8(std::string_view utf8, UnicodeString* out)
{
    bool valid = true;
    std::size_t i = 0;
    while (i < utf8.size()) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0 && i + std::size_t(extra) < utf8.size();
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char n = static_cast<unsigned char>(utf8[i + std::size_t(k)]);
            if ((n & 0xC0) != 0x80) ok = false;
            else c = (c << 6) | (n & 0x3F);
        }
        // Overlong forms, encoded surrogates and values beyond U+10FFFF are not valid UTF-8.
        static constexpr char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
        if (!ok) {
            if (out) *out += u'\uFFFD';
            valid = false;
            ++i;
            continue;
        }
        i += std::size_t(extra) + 1;
        if (!out) continue;
        if (c >= 0x10000) {
            c -= 0x10000;
            *out += char16_t(0xD800 + (c >> 10));
            *out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            *out += char16_t(c);
        }
    }
    return valid;
}

}  // namespace

UnicodeString FromUtf8(std::string_view utf8)
{
    UnicodeString out;
    out.reserve(utf8.size());
    DecodeUtf8(utf8, &out);
    return out;
}

char16_t UpCaseChar(char16_t c)
{
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    if (c >= 0xD800 && c <= 0xDFFF) return c;
    if (locale_t l = CaseLocale()) {
        wint_t u = towupper_l(wint_t(c), l);
        return u <= 0xFFFF ? char16_t(u) : c;
    }
    return IsLatin1Lower(c) ? char16_t(c - 32) : c;
}

char16_t LowCaseChar(char16_t c)
{
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    if (c >= 0xD800 && c <= 0xDFFF) return c;
    if (locale_t l = CaseLocale()) {
        wint_t low = towlower_l(wint_t(c), l);
        return low <= 0xFFFF ? char16_t(low) : c;
    }
    return IsLatin1Upper(c) ? char16_t(c + 32) : c;
}

UnicodeString UpperCase(std::u16string_view text)
{
    UnicodeString out(text);
    for (auto& c : out) c = UpCaseChar(c);
    return out;
}

UnicodeString LowerCase(std::u16string_view text)
{
    UnicodeString out(text);
    for (auto& c : out) c = LowCaseChar(c);
    return out;
}

int CompareText(std::u16string_view a, std::u16string_view b)
{
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        char16_t x = UpCaseChar(a[i]), y = UpCaseChar(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && CompareText(a, b) == 0;
}

UnicodeString IntToStr(std::int64_t value)
{
    return FromAnsi(std::to_string(value));
}

std::int64_t StrToInt64Def(std::u16string_view text, std::int64_t fallback)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return fallback;
    constexpr std::uint64_t limit = std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        int digit = (c >= u'0' && c <= u'9') ? c - u'0'
                    : (base == 16 && c >= u'a' && c <= u'f') ? c - u'a' + 10
                    : (base == 16 && c >= u'A' && c <= u'F') ? c - u'A' + 10
                                                               : -1;
        if (digit < 0) return fallback;
        if (value > (limit - std::uint64_t(digit)) / std::uint64_t(base)) return fallback;
        value = value * std::uint64_t(base) + std::uint64_t(digit);
    }
    if (!negative && value == limit) return fallback;
    return negative ? std::int64_t(0 - value) : std::int64_t(value);
}

int StrToIntDef(std::u16string_view text, int fallback)
{
    std::int64_t v = StrToInt64Def(text, std::int64_t(std::numeric_limits<int>::max()) + 1);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return fallback;
    return int(v);
}

std::u16string_view TrimView(std::u16string_view text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] <= u' ') ++b;
    while (e > b && text[e - 1] <= u' ') --e;
    return text.substr(b, e - b);
}

UnicodeString Trim(std::u16string_view text)
{
    return UnicodeString(TrimView(text));
}

UnicodeString TrimRight(std::u16string_view text)
{
    std::size_t e = text.size();
    while (e > 0 && text[e - 1] <= u' ') --e;
    return UnicodeString(text.substr(0, e));
}

namespace {

/// UTF-16 of the given byte order; a stray last byte becomes U+FFFD.
UnicodeString FromUtf16(std::string_view bytes, bool bigEndian)
{
    UnicodeString out;
    out.reserve(bytes.size() / 2 + 1);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        out += bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
    }
    if (i < bytes.size()) out += u'\uFFFD';
    return out;
}

/// Every code unit as two bytes of the given order, so that any text comes back unchanged.
std::string ToUtf16(std::u16string_view text, bool bigEndian)
{
    std::string out(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char high = char(text[i] >> 8), low = char(text[i] & 0xFF);
        out[2 * i] = bigEndian ? high : low;
        out[2 * i + 1] = bigEndian ? low : high;
    }
    return out;
}

}  // namespace

TTextEncoding EncodingOf(std::string_view bytes)
{
    if (bytes.starts_with(Utf8ByteOrderMark)) {
        // Read as UTF-8, bytes that are not would come back as U+FFFD: 8-bit text keeps them all.
        return DecodeUtf8(bytes.substr(Utf8ByteOrderMark.size()), nullptr) ? TTextEncoding::Utf8 : TTextEncoding::Ansi;
    }
    if (bytes.starts_with("\xFF\xFE")) return TTextEncoding::Utf16LE;
    if (bytes.starts_with("\xFE\xFF")) return TTextEncoding::Utf16BE;
    return TTextEncoding::Ansi;
}

UnicodeString DecodeText(std::string_view bytes)
{
    switch (EncodingOf(bytes)) {
    case TTextEncoding::Utf8: return FromUtf8(bytes.substr(Utf8ByteOrderMark.size()));
    case TTextEncoding::Utf16LE: return FromUtf16(bytes.substr(2), false);
    case TTextEncoding::Utf16BE: return FromUtf16(bytes.substr(2), true);
    case TTextEncoding::Ansi: break;
    }
    return FromAnsi(bytes);
}

bool DecodesExactly(std::string_view bytes)
{
    // 8-bit text takes any byte, valid UTF-8 comes back as it was, and UTF-16 takes any pair of bytes.
    const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    return !utf16 || bytes.size() % 2 == 0;
}

std::string EncodeText(std::u16string_view text, TTextEncoding encoding)
{
    switch (encoding) {
    case TTextEncoding::Utf8: return std::string(Utf8ByteOrderMark) + ToUtf8(text);
    case TTextEncoding::Utf16LE: return "\xFF\xFE" + ToUtf16(text, false);
    case TTextEncoding::Utf16BE: return "\xFE\xFF" + ToUtf16(text, true);
    case TTextEncoding::Ansi: break;
    }
    return ToAnsi(text);
}

TAnsiLoss FindAnsiLoss(std::u16string_view text)
{
    TAnsiLoss loss;
    for (std::size_t i = text.size(); i-- > 0;) {
        if (text[i] <= 0xFF) continue;
        ++loss.Count;
        loss.First = i;
    }
    return loss;
}
