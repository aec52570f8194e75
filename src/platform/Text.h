#pragma once
// Text of the system: 16-bit code units inside, ISO-8859-1 bytes outside.
#include <cstdint>
#include <string>
#include <string_view>

using UnicodeString = std::u16string;
/// 8-bit text: bytes on the link and in files, one byte per character (ISO-8859-1).
using AnsiString = std::string;

/// Widens 8-bit text: every byte becomes the code unit of the same value.
UnicodeString FromAnsi(std::string_view bytes);
/// Narrows to 8-bit text: code units above U+00FF become '?'.
AnsiString ToAnsi(std::u16string_view text);
/// UTF-8 for the toolkit and for file names; invalid input never throws.
std::string ToUtf8(std::u16string_view text);
UnicodeString FromUtf8(std::string_view utf8);

/// The byte-order mark of UTF-8.
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

/// How text is stored in a file: 8-bit (the default), or behind a byte-order mark as UTF-8, UTF-16
/// LE or UTF-16 BE.
enum class TTextEncoding : std::uint8_t { Ansi, Utf8, Utf16LE, Utf16BE };
/// The encoding that a file's byte-order mark names; Ansi without one, and for bytes after a UTF-8
/// mark that are not UTF-8, so that every byte is kept (the mark too, as the text's first characters).
TTextEncoding EncodingOf(std::string_view bytes);
/// The text of a file's bytes, decoded in their encoding (EncodingOf), the mark left out.
UnicodeString DecodeText(std::string_view bytes);
/// False when the text of the bytes, saved in their encoding, would not give them back: UTF-16 of
/// an odd length, whose last byte is read as U+FFFD.
bool DecodesExactly(std::string_view bytes);
/// The bytes of a file holding the text: the byte-order mark, then the text in that encoding.
std::string EncodeText(std::u16string_view text, TTextEncoding encoding);

/// The code units of a text that 8-bit text cannot hold, each of which becomes '?': how many, and
/// the index of the first (meaningless when there are none).
struct TAnsiLoss {
    std::size_t Count = 0;
    std::size_t First = 0;
};
TAnsiLoss FindAnsiLoss(std::u16string_view text);

/// Case mapping per code unit; the length never changes.
char16_t UpCaseChar(char16_t c);
char16_t LowCaseChar(char16_t c);
UnicodeString UpperCase(std::u16string_view text);
UnicodeString LowerCase(std::u16string_view text);
/// Case-insensitive comparison by the mapping above: <0, 0, >0.
int CompareText(std::u16string_view a, std::u16string_view b);
bool SameText(std::u16string_view a, std::u16string_view b);

UnicodeString IntToStr(std::int64_t value);
/// Decimal (optionally signed, or "$" hexadecimal) to integer; `fallback` when not a whole number in range.
std::int64_t StrToInt64Def(std::u16string_view text, std::int64_t fallback);
int StrToIntDef(std::u16string_view text, int fallback);
/// The text without the blanks and control characters at its ends.
UnicodeString Trim(std::u16string_view text);
/// The part of text that Trim gives.
std::u16string_view TrimView(std::u16string_view text);
UnicodeString TrimRight(std::u16string_view text);
