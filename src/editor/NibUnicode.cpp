#include "editor/NibUnicode.h"

#include <array>

#include "platform/Clipboard.h"

char16_t CharUpperWide(char16_t c) { return UpCaseChar(c); }
char16_t CharLowerWide(char16_t c) { return LowCaseChar(c); }

char16_t* CharUpperWide(char16_t* text)
{
    for (char16_t* p = text; p && *p; ++p) *p = UpCaseChar(*p);
    return text;
}

char16_t* CharLowerWide(char16_t* text)
{
    for (char16_t* p = text; p && *p; ++p) *p = LowCaseChar(*p);
    return text;
}

int CharUpperBufferWide(char16_t* buffer, int count)
{
    for (int i = 0; i < count; ++i) buffer[i] = UpCaseChar(buffer[i]);
    return count;
}

namespace {

/// LowCaseChar of every code unit, taken once: a search without case lower-cases every character
/// it reads.
const std::array<char16_t, 65536>& LowerCaseTable()
{
    static const std::array<char16_t, 65536> table = [] {
        std::array<char16_t, 65536> t{};
        for (std::size_t c = 0; c < t.size(); ++c) t[c] = LowCaseChar(char16_t(c));
        return t;
    }();
    return table;
}

} // namespace

int CharLowerBufferWide(char16_t* buffer, int count)
{
    const std::array<char16_t, 65536>& lower = LowerCaseTable();
    for (int i = 0; i < count; ++i) buffer[i] = lower[buffer[i]];
    return count;
}

UnicodeString UpperCaseWide(std::u16string_view text)
{
    UnicodeString out(text);
    if (!out.empty()) CharUpperBufferWide(out.data(), int(out.size()));
    return out;
}

UnicodeString LowerCaseWide(std::u16string_view text)
{
    UnicodeString out(text);
    if (!out.empty()) CharLowerBufferWide(out.data(), int(out.size()));
    return out;
}

UnicodeString RepeatChar(char16_t c, int count)
{
    return count > 0 ? UnicodeString(std::size_t(count), c) : UnicodeString();
}

UnicodeString TrimWide(std::u16string_view text)
{
    std::size_t first = 0, last = text.size();
    while (first < last && text[first] <= u' ') ++first;
    while (last > first && text[last - 1] <= u' ') --last;
    return UnicodeString(text.substr(first, last - first));
}

unsigned LocaleAnsiCodePage(unsigned) { return NibAnsiCodePage; }
unsigned KeyboardLayoutCodePage() { return NibAnsiCodePage; }
char16_t KeyToUnicode(char key) { return char16_t(static_cast<unsigned char>(key)); }
UnicodeString AnsiToWideWithCodePage(std::string_view text, unsigned) { return FromAnsi(text); }
bool IsRepresentableInAnsi(char16_t c) { return c <= 0xFF; }

TSize GetTextExtentWide(Canvas& canvas, const char16_t* text, int count)
{
    if (!text || count <= 0) return canvas.TextExtent(std::u16string_view());
    return canvas.TextExtent(std::u16string_view(text, std::size_t(count)));
}

TSize CanvasTextSize(Canvas& canvas, std::u16string_view text)
{
    return GetTextExtentWide(canvas, text.data(), int(text.size()));
}

int CanvasTextExtent(Canvas& canvas, std::u16string_view text) { return CanvasTextSize(canvas, text).cx; }
int CanvasTextHeight(Canvas& canvas, std::u16string_view text) { return CanvasTextSize(canvas, text).cy; }

void CanvasTextOut(Canvas& canvas, int x, int y, std::u16string_view text)
{
    canvas.ExtTextOut(x, y, 0, nullptr, text, nullptr);
    canvas.MoveTo(x + CanvasTextExtent(canvas, text), y);
}

void CanvasTextRect(Canvas& canvas, const TRect& rect, int x, int y, std::u16string_view text)
{
    unsigned options = ETO_CLIPPED;
    if (canvas.GetBrushStyle() != TBrushStyle::bsClear) options |= ETO_OPAQUE;
    canvas.ExtTextOut(x, y, options, &rect, text, nullptr);
}

bool ClipboardHasText() { return Clipboard::Current().HasText(); }
UnicodeString GetClipboardTextWide() { return Clipboard::Current().Text(); }

void SetClipboardTextWide(const UnicodeString& text)
{
    if (!text.empty()) Clipboard::Current().SetText(text);
}
