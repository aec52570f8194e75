#include "platform/FileNames.h"

namespace {

constexpr char16_t kByteBase = 0xDC00;

bool IsByteUnit(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

/// The length of the sequence that a lead byte starts, as UTF-8 counts it; 1 for any other byte.
std::size_t SequenceLength(unsigned char lead)
{
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

UnicodeString FileNameFromBytes(std::string_view bytes)
{
    UnicodeString name;
    name.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = SequenceLength(lead);
        if (lead < 0x80) {
            name += char16_t(lead);
            ++i;
            continue;
        }
        // A sequence is UTF-8 exactly when it comes back as it was.
        const std::string_view sequence = bytes.substr(i, length);
        const UnicodeString decoded = FromUtf8(sequence);
        if (sequence.size() == length && ToUtf8(decoded) == sequence) {
            name += decoded;
            i += length;
        } else {
            name += char16_t(kByteBase + lead);
            ++i;
        }
    }
    return name;
}

std::string FileNameBytes(std::u16string_view name)
{
    std::string bytes;
    bytes.reserve(name.size());
    std::size_t run = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        const bool paired = i > 0 && name[i - 1] >= 0xD800 && name[i - 1] <= 0xDBFF;
        if (!IsByteUnit(c) || paired) continue;
        bytes += ToUtf8(name.substr(run, i - run));
        bytes += char(c - kByteBase);
        run = i + 1;
    }
    bytes += ToUtf8(name.substr(run));
    return bytes;
}
