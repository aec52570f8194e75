#include "platform/AnsiLossQuestion.h"

#include <cstdio>
#include "platform/Dialogs.h"

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

/// The character at index as it is shown and named: itself in quotes and its code point.
UnicodeString DescribeCharacter(std::u16string_view text, std::size_t index)
{
    char32_t code = text[index];
    std::size_t length = 1;
    if (IsHighSurrogate(text[index]) && index + 1 < text.size() && IsLowSurrogate(text[index + 1])) {
        code = 0x10000 + ((code - 0xD800) << 10) + (text[index + 1] - 0xDC00);
        length = 2;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", unsigned(code));
    return u"\"" + UnicodeString(text.substr(index, length)) + u"\" (" + FromAnsi(hex) + u")";
}

/// The 1-based line and column of index: CR LF, a lone CR and a lone LF each end a line.
UnicodeString DescribePlace(std::u16string_view text, std::size_t index)
{
    std::size_t line = 1, lineStart = 0;
    for (std::size_t i = 0; i < index; ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        if (text[i] == u'\r' && i + 1 < index && text[i + 1] == u'\n') ++i;
        ++line;
        lineStart = i + 1;
    }
    return u"line " + IntToStr(std::int64_t(line)) + u", column " + IntToStr(std::int64_t(index - lineStart + 1));
}

}  // namespace

bool AllowAnsiLoss(std::u16string_view Text)
{
    const TAnsiLoss loss = FindAnsiLoss(Text);
    if (loss.Count == 0) return true;
    const UnicodeString question = IntToStr(std::int64_t(loss.Count)) +
                                   (loss.Count == 1 ? u" character" : u" characters") +
                                   u" of this text cannot be stored in 8-bit text and would be saved as \"?\"; the "
                                   u"first is " +
                                   DescribeCharacter(Text, loss.First) + u" in " + DescribePlace(Text, loss.First) +
                                   u".\n\nSave anyway?";
    return Dialogs::Current().MessageBox(u"Warning", question, TMsgDlgType::mtWarning, TMsgButtons::OKCancel) ==
           TModalResult::mrOk;
}

bool AllowUndecodedByteLoss()
{
    return Dialogs::Current().MessageBox(u"Warning",
                                         u"The file this text was read from ends in a byte that is not UTF-16 text. "
                                         u"It was read as \"\uFFFD\" (U+FFFD), which would be saved in its place."
                                         u"\n\nSave anyway?",
                                         TMsgDlgType::mtWarning, TMsgButtons::OKCancel) == TModalResult::mrOk;
}
