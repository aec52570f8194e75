#include "settings/CryptString.h"

#include <cstdint>
#include <optional>

namespace {

/// Key material taken from the password, and the generator it seeds.
struct TScrambleKey {
    std::uint32_t Seed = 0;
    std::uint32_t Mask = 0;
    /// 1-based character position before which the length field stands. A password that gives 0
    /// would leave no length field at all, so 0 counts as 1.
    unsigned LengthAt = 1;

    explicit TScrambleKey(std::u16string_view password)
    {
        UnicodeString material(password.empty() ? u" " : password);
        while (material.size() < 16) material += password.empty() ? UnicodeString(u" ") : UnicodeString(password);
        for (int i = 3; i >= 0; --i) Seed = Seed << 8 | (material[std::size_t(i)] & 0xFFu);
        for (int i = 7; i >= 4; --i) Mask = Mask << 8 | (material[std::size_t(i)] & 0xFFu);
        LengthAt = material[8] & 31u;
        if (LengthAt == 0) LengthAt = 1;
    }
    std::uint8_t MaskByte(std::size_t j) const { return std::uint8_t(Mask >> (8 * (j % 4))); }
    std::uint32_t Draw()
    {
        Seed = Seed * 134775813u + 1u;
        return std::uint32_t((std::uint64_t(Seed) * 255u) >> 32);
    }
};

void AppendHex(UnicodeString& out, std::uint32_t value, int digits)
{
    static constexpr char16_t hex[] = u"0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += hex[(value >> shift) & 15u];
}

std::optional<std::uint32_t> ReadHex(std::u16string_view data, std::size_t at, std::size_t digits)
{
    if (at + digits > data.size()) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
        char16_t c = data[i];
        int d = (c >= u'0' && c <= u'9') ? c - u'0'
                : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                : (c >= u'a' && c <= u'f') ? c - u'a' + 10
                                           : -1;
        if (d < 0) return std::nullopt;
        value = value << 4 | std::uint32_t(d);
    }
    return value;
}

} // namespace

UnicodeString ScrambleString(std::u16string_view password, std::u16string_view text)
{
    TScrambleKey key(password);
    const std::uint32_t length = std::uint32_t(text.size());
    std::uint32_t sum = 0;
    UnicodeString out;
    for (std::size_t i = 1; i <= text.size(); ++i) {
        std::uint8_t b = std::uint8_t(text[i - 1] & 0xFF);
        sum += b;
        if (i == key.LengthAt) AppendHex(out, length ^ key.Mask, 8);
        AppendHex(out, (b ^ key.Draw() ^ key.MaskByte(i - 1)) & 0xFFu, 2);
    }
    // Short texts are padded to 32 pairs so that the length does not show.
    for (std::size_t i = text.size() + 1; i <= 32; ++i) {
        if (i == key.LengthAt) AppendHex(out, length ^ key.Mask, 8);
        AppendHex(out, key.Draw(), 2);
    }
    AppendHex(out, sum ^ key.Mask, 8);
    return out;
}

UnicodeString UnscrambleString(std::u16string_view password, std::u16string_view data)
{
    TScrambleKey key(password);
    const std::size_t fieldAt = 2 * key.LengthAt - 2;
    std::optional<std::uint32_t> field = ReadHex(data, fieldAt, 8);
    if (!field) return UnicodeString();
    const std::uint32_t length = *field ^ key.Mask;
    UnicodeString out;
    std::size_t at = 0;
    while (out.size() < length) {
        if (at == fieldAt) at += 8;
        std::optional<std::uint32_t> pair = ReadHex(data, at, 2);
        if (!pair) break;
        at += 2;
        out += char16_t((*pair ^ key.Draw() ^ key.MaskByte(out.size())) & 0xFFu);
    }
    return out;
}
