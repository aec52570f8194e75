#pragma once
// Free routines that the editor's units share: clamping, tab expansion and column arithmetic,
// character-class scans, the line-end scan, highlighter export names and the gutter's gradient.
// Character indexes are 1-based, display columns 1-based unless a routine says otherwise.
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Text.h"

/// The larger of Min and (the smaller of Value and Max): Min wins when Min exceeds Max.
std::int32_t ClampInt(std::int32_t Value, std::int32_t Min, std::int32_t Max);
void SwapInt(int& A, int& B);
/// The point that comes first in text order (Y, then X); A when they are equal.
TPoint MinPoint(const TPoint& A, const TPoint& B);

/// True when Line holds a tab; Count is the number of characters before the first tab, or the whole
/// length when there is none.
bool FindFirstTab(std::u16string_view Line, int& Count);

/// A tab expander: the line with its tabs expanded for TabWidth; HasTabs tells whether it had any.
using TConvertTabsProcEx = UnicodeString (*)(std::u16string_view Line, int TabWidth, bool& HasTabs);
/// Every tab becomes one space: the expander for tab widths below 2.
UnicodeString ExpandTabsWidthOne(std::u16string_view Line, int TabWidth, bool& HasTabs);
/// Every tab becomes a run of tab characters up to the next tab stop, for power-of-two widths.
UnicodeString ExpandTabsPowerOfTwo(std::u16string_view Line, int TabWidth, bool& HasTabs);
/// The same as ExpandTabsPowerOfTwo, for any width of 2 and more.
UnicodeString ExpandTabsAnyWidth(std::u16string_view Line, int TabWidth, bool& HasTabs);
/// True for 2, 4, 8, ... 65536.
bool IsPowerOfTwoWidth(int Value);
/// The expander that suits TabWidth.
TConvertTabsProcEx SelectTabExpander(int TabWidth);

/// Display columns of the line with its tabs expanded (a TabWidth below 1 counts as 1).
int GetExpandedLength(std::u16string_view Line, int TabWidth);
/// The 1-based display column of character Index (1-based) of Line; positions beyond the end of
/// the line count one column each.
int CharIndexToCaretCol(int Index, int TabWidth, std::u16string_view Line);

/// Code units that end a word when no highlighter says otherwise: controls, blanks and punctuation
/// of the 7-bit range, and three Latin-1 signs (section, degree, acute accent).
bool IsDefaultWordBreakChar(char16_t C);

/// A character class test, such as "is an identifier character".
using TCategoryMethod = std::function<bool(char16_t)>;
/// The first index at or after Start whose character passes Test; 0 when none does or Start lies
/// outside the line.
int StrScanForCharMatching(std::u16string_view Line, int Start, const TCategoryMethod& Test);
/// The last index at or before Start whose character passes Test; 0 when none does or Start lies
/// outside the line.
int StrRScanForCharMatching(std::u16string_view Line, int Start, const TCategoryMethod& Test);

/// The first CR, LF or terminating zero at or after P; null for null.
const char16_t* FindLineEnd(const char16_t* P);

/// The name a highlighter is exported under: "TNibFooNib" gives "Foo".
UnicodeString ExportNameFromClassName(std::u16string_view ClassName);

/// Fills Rect with Steps bands (2 to 256) from StartColor to EndColor: side by side when Horizontal,
/// else one above the other. The first band is exactly StartColor, the last exactly EndColor.
void PaintGradient(Canvas& ACanvas, TColor StartColor, TColor EndColor, bool Horizontal, const TRect& Rect,
                   int Steps);
