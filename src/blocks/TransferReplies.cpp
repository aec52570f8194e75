#include "blocks/TransferReplies.h"

#include <limits>

namespace {

std::optional<int> DecimalInt(std::u16string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > std::int64_t(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return std::nullopt;
    return int(value);
}

}  // namespace

bool ReplyIsOk(std::u16string_view line)
{
    return line.size() >= 3 && line.substr(line.size() - 3) == u" OK";
}

std::optional<int> ReplyNumber(std::u16string_view line)
{
    if (!ReplyIsOk(line)) return std::nullopt;
    const UnicodeString body = Trim(line.substr(0, line.size() - 3));
    const std::size_t blank = body.find_last_of(u' ');
    if (blank == UnicodeString::npos) return std::nullopt;
    return DecimalInt(std::u16string_view(body).substr(blank + 1));
}

bool ReplyIsReady(std::u16string_view line, bool upload)
{
    return !line.empty() && line.back() == (upload ? u'>' : u'<');
}
