#pragma once
// Character routines of the editor: case mapping that keeps the length, trimming, 8-bit conversion,
// text measuring and output on a canvas, and clipboard text.
#include <string_view>
#include "platform/Canvas.h"
#include "platform/Text.h"

/// The one 8-bit code page of the system (ISO-8859-1): every byte is the code unit of the same value.
inline constexpr unsigned NibAnsiCodePage = 28591;

/// One character mapped to upper or lower case; a character without a one-unit mapping stays.
char16_t CharUpperWide(char16_t c);
char16_t CharLowerWide(char16_t c);
/// A zero-terminated string mapped in place; returns the string.
char16_t* CharUpperWide(char16_t* text);
char16_t* CharLowerWide(char16_t* text);
/// `count` characters mapped in place; returns `count`.
int CharUpperBufferWide(char16_t* buffer, int count);
int CharLowerBufferWide(char16_t* buffer, int count);
UnicodeString UpperCaseWide(std::u16string_view text);
UnicodeString LowerCaseWide(std::u16string_view text);

/// `count` copies of `c`; empty for a count of 0 or less.
UnicodeString RepeatChar(char16_t c, int count);
/// Without leading and trailing characters of code 32 or below.
UnicodeString TrimWide(std::u16string_view text);

/// The 8-bit code page of a locale, and of the keyboard: the system's one code page.
unsigned LocaleAnsiCodePage(unsigned localeId);
unsigned KeyboardLayoutCodePage();
/// The character that an 8-bit key code stands for.
char16_t KeyToUnicode(char key);
UnicodeString AnsiToWideWithCodePage(std::string_view text, unsigned codePage);
/// True when the character survives narrowing to 8 bits.
bool IsRepresentableInAnsi(char16_t c);

/// Width and height of `count` characters in the canvas's font.
TSize GetTextExtentWide(Canvas& canvas, const char16_t* text, int count);
TSize CanvasTextSize(Canvas& canvas, std::u16string_view text);
int CanvasTextExtent(Canvas& canvas, std::u16string_view text);
int CanvasTextHeight(Canvas& canvas, std::u16string_view text);
/// Draws the text with its cell top at (x, y) and moves the pen to its end.
void CanvasTextOut(Canvas& canvas, int x, int y, std::u16string_view text);
/// Draws the text clipped to `rect`, which is filled first unless the brush is clear.
void CanvasTextRect(Canvas& canvas, const TRect& rect, int x, int y, std::u16string_view text);

bool ClipboardHasText();
UnicodeString GetClipboardTextWide();
/// Puts the text on the clipboard; an empty text leaves the clipboard as it is.
void SetClipboardTextWide(const UnicodeString& text);
