#include "editor/NibEditMiscProcs.h"

#include <algorithm>

#include "platform/MulDiv.h"

namespace {

constexpr char16_t Tab = 9;

// Both expanders of widths 2 and more: the first pass sizes the result, the second writes each
// tab as a run of tab characters up to the next stop (`NextStop` gives the 0-based column after
// a tab that starts at the column it is given).
template <typename NextStop>
UnicodeString ExpandTabRuns(std::u16string_view Line, bool& HasTabs, NextStop nextStop)
{
    int before = 0;
    HasTabs = FindFirstTab(Line, before);
    if (!HasTabs) return UnicodeString(Line);

    std::size_t length = std::size_t(before);
    for (std::size_t i = std::size_t(before); i < Line.size(); ++i)
        length = Line[i] == Tab ? std::size_t(nextStop(length)) : length + 1;

    UnicodeString result(Line.substr(0, std::size_t(before)));
    result.reserve(length);
    for (std::size_t i = std::size_t(before); i < Line.size(); ++i) {
        if (Line[i] == Tab)
            result.append(std::size_t(nextStop(result.size())) - result.size(), Tab);
        else
            result.push_back(Line[i]);
    }
    return result;
}

}  // namespace

std::int32_t ClampInt(std::int32_t Value, std::int32_t Min, std::int32_t Max)
{
    return std::max(Min, std::min(Value, Max));
}

void SwapInt(int& A, int& B)
{
    std::swap(A, B);
}

TPoint MinPoint(const TPoint& A, const TPoint& B)
{
    if (B.Y < A.Y || (B.Y == A.Y && B.X < A.X)) return B;
    return A;
}

bool FindFirstTab(std::u16string_view Line, int& Count)
{
    const std::size_t at = Line.find(Tab);
    Count = int(at == std::u16string_view::npos ? Line.size() : at);
    return at != std::u16string_view::npos;
}

UnicodeString ExpandTabsWidthOne(std::u16string_view Line, int, bool& HasTabs)
{
    int before = 0;
    HasTabs = FindFirstTab(Line, before);
    UnicodeString result(Line);
    if (HasTabs) std::replace(result.begin() + before, result.end(), Tab, u' ');
    return result;
}

UnicodeString ExpandTabsPowerOfTwo(std::u16string_view Line, int TabWidth, bool& HasTabs)
{
    const std::size_t mask = std::size_t(TabWidth) - 1;
    return ExpandTabRuns(Line, HasTabs, [&](std::size_t column) { return (column + std::size_t(TabWidth)) & ~mask; });
}

UnicodeString ExpandTabsAnyWidth(std::u16string_view Line, int TabWidth, bool& HasTabs)
{
    const std::size_t width = std::size_t(TabWidth);
    return ExpandTabRuns(Line, HasTabs, [&](std::size_t column) { return column + width - column % width; });
}

bool IsDefaultWordBreakChar(char16_t C)
{
    return C <= 47 || (C >= 58 && C <= 64) || (C >= 91 && C <= 94) || C == 96 || (C >= 123 && C <= 126) ||
           C == 167 || C == 176 || C == 180;
}

bool IsPowerOfTwoWidth(int Value)
{
    return Value >= 2 && Value <= 65536 && (Value & (Value - 1)) == 0;
}

TConvertTabsProcEx SelectTabExpander(int TabWidth)
{
    if (TabWidth < 2) return &ExpandTabsWidthOne;
    if (IsPowerOfTwoWidth(TabWidth)) return &ExpandTabsPowerOfTwo;
    return &ExpandTabsAnyWidth;
}

int GetExpandedLength(std::u16string_view Line, int TabWidth)
{
    const int width = std::max(TabWidth, 1);
    int column = 0;
    for (char16_t c : Line) column += c == Tab ? width - column % width : 1;
    return column;
}

int CharIndexToCaretCol(int Index, int TabWidth, std::u16string_view Line)
{
    if (Index < 2) return 1;
    int before = 0;
    if (TabWidth < 2 || !FindFirstTab(Line, before)) return Index;
    if (Index <= before + 1) return Index;

    int column = before;
    int remaining = Index - before - 1;
    for (std::size_t i = std::size_t(before); i < Line.size(); ++i) {
        column = Line[i] == Tab ? (column + TabWidth) / TabWidth * TabWidth : column + 1;
        if (--remaining == 0) return column + 1;
    }
    return column + remaining + 1;
}

int StrScanForCharMatching(std::u16string_view Line, int Start, const TCategoryMethod& Test)
{
    if (Start < 1 || Start > int(Line.size())) return 0;
    for (int i = Start; i <= int(Line.size()); ++i)
        if (Test(Line[std::size_t(i - 1)])) return i;
    return 0;
}

int StrRScanForCharMatching(std::u16string_view Line, int Start, const TCategoryMethod& Test)
{
    if (Start < 1 || Start > int(Line.size())) return 0;
    for (int i = Start; i >= 1; --i)
        if (Test(Line[std::size_t(i - 1)])) return i;
    return 0;
}

const char16_t* FindLineEnd(const char16_t* P)
{
    if (!P) return nullptr;
    while (*P != 0 && *P != 10 && *P != 13) ++P;
    return P;
}

UnicodeString ExportNameFromClassName(std::u16string_view ClassName)
{
    std::u16string_view name = ClassName;
    if (!name.empty() && (name[0] == u'T' || name[0] == u't'))
        name.remove_prefix(LowerCase(name.substr(0, 4)) == u"tnib" ? 4 : 1);
    if (name.size() >= 3 && LowerCase(name.substr(name.size() - 3)) == u"nib") name.remove_suffix(3);
    return UnicodeString(name);
}

void PaintGradient(Canvas& ACanvas, TColor StartColor, TColor EndColor, bool Horizontal, const TRect& Rect,
                   int Steps)
{
    const TColor start = ColorToRGB(StartColor);
    const TColor end = ColorToRGB(EndColor);
    const int dRed = int(GetRValue(end)) - GetRValue(start);
    const int dGreen = int(GetGValue(end)) - GetGValue(start);
    const int dBlue = int(GetBValue(end)) - GetBValue(start);
    const int bands = ClampInt(Steps, 2, 256);
    const int span = Horizontal ? Rect.Width() : Rect.Height();

    for (int i = 0; i < bands; ++i) {
        TRect band = Rect;
        if (Horizontal) {
            band.Left = Rect.Left + MulDiv(i, span, bands);
            band.Right = Rect.Left + MulDiv(i + 1, span, bands);
        } else {
            band.Top = Rect.Top + MulDiv(i, span, bands);
            band.Bottom = Rect.Top + MulDiv(i + 1, span, bands);
        }
        ACanvas.SetBrushColor(RGB(std::uint8_t(GetRValue(start) + MulDiv(i, dRed, bands - 1)),
                                  std::uint8_t(GetGValue(start) + MulDiv(i, dGreen, bands - 1)),
                                  std::uint8_t(GetBValue(start) + MulDiv(i, dBlue, bands - 1))));
        ACanvas.FillRect(band);
    }
}
