#include "editor/NibEditWords.h"

#include <algorithm>

#include "editor/NibEditMiscProcs.h"

namespace {

bool InSet(const TNibCharSet& set, char16_t c)
{
    return c < set.size() && set.test(c);
}

// The line of XY, when XY.Line lies in the text.
const UnicodeString* LineOf(const TNibEditStringList& lines, const TBufferCoord& xy)
{
    if (xy.Line < 1 || xy.Line > lines.Count()) return nullptr;
    return &lines[xy.Line - 1];
}

/// The character tests that the scans of a line take.
auto IdentChars(const TNibEditCharClasses& classes)
{
    return [&classes](char16_t c) { return classes.IsIdentChar(c); };
}

auto WordBreakChars(const TNibEditCharClasses& classes)
{
    return [&classes](char16_t c) { return classes.IsWordBreakChar(c); };
}

}  // namespace

const TNibCharSet& TNibEditCharClasses::AdditionalIdentChars() const
{
    return fHighlighter ? fHighlighter->AdditionalIdentChars() : FAdditionalIdentChars;
}

const TNibCharSet& TNibEditCharClasses::AdditionalWordBreakChars() const
{
    return fHighlighter ? fHighlighter->AdditionalWordBreakChars() : FAdditionalWordBreakChars;
}

bool TNibEditCharClasses::IsIdentChar(char16_t C) const
{
    const bool base = fHighlighter ? fHighlighter->IsIdentChar(C) : C >= 33;
    return (base || InSet(AdditionalIdentChars(), C)) && !IsWordBreakChar(C);
}

bool TNibEditCharClasses::IsWordBreakChar(char16_t C) const
{
    const bool base = fHighlighter ? fHighlighter->IsWordBreakChar(C) : IsDefaultWordBreakChar(C);
    return (base || InSet(AdditionalWordBreakChars(), C)) && !InSet(AdditionalIdentChars(), C);
}

bool TNibEditCharClasses::IsWhiteChar(char16_t C) const
{
    if (fHighlighter) return fHighlighter->IsWhiteChar(C);
    return C <= 32 || (!IsIdentChar(C) && !IsWordBreakChar(C));
}

TBufferCoord NextWordPosEx(const TNibEditStringList& Lines, const TNibEditCharClasses& Classes,
                           const TBufferCoord& XY)
{
    const UnicodeString* line = LineOf(Lines, XY);
    if (!line) return XY;
    const auto isIdent = IdentChars(Classes);
    const auto isBreak = WordBreakChars(Classes);
    const int length = int(line->size());
    TBufferCoord result = XY;
    result.Char = std::max(result.Char, 1);
    if (result.Char < length) {
        int at = result.Char;
        if (Classes.IsIdentChar((*line)[std::size_t(at - 1)])) at = StrScanForCharMatching(*line, at, isBreak);
        if (at > 0) at = StrScanForCharMatching(*line, at, isIdent);
        result.Char = at > 0 ? at : length + 1;
    } else if (XY.Line < Lines.Count()) {
        result.Line = XY.Line + 1;
        const int first = StrScanForCharMatching(Lines[result.Line - 1], 1, isIdent);
        result.Char = first > 0 ? first : 1;
    } else {
        // On the last character of the text: step past it, to the end.
        result.Char = std::max(result.Char, length + 1);
    }
    return result;
}

TBufferCoord WordStartEx(const TNibEditStringList& Lines, const TNibEditCharClasses& Classes,
                         const TBufferCoord& XY)
{
    const UnicodeString* line = LineOf(Lines, XY);
    if (!line) return XY;
    TBufferCoord result = XY;
    result.Char = std::min(result.Char, int(line->size()) + 1);
    if (result.Char > 1 && !Classes.IsWordBreakChar((*line)[std::size_t(result.Char - 2)]))
        result.Char = StrRScanForCharMatching(*line, result.Char - 1, WordBreakChars(Classes)) + 1;
    return result;
}

TBufferCoord WordEndEx(const TNibEditStringList& Lines, const TNibEditCharClasses& Classes,
                       const TBufferCoord& XY)
{
    const UnicodeString* line = LineOf(Lines, XY);
    if (!line) return XY;
    TBufferCoord result = XY;
    const int at = StrScanForCharMatching(*line, XY.Char, WordBreakChars(Classes));
    result.Char = at > 0 ? at : int(line->size()) + 1;
    return result;
}

TBufferCoord PrevWordPosEx(const TNibEditStringList& Lines, const TNibEditCharClasses& Classes,
                           const TBufferCoord& XY)
{
    const UnicodeString* line = LineOf(Lines, XY);
    if (!line) return XY;
    const auto isIdent = IdentChars(Classes);
    const auto isBreak = WordBreakChars(Classes);
    TBufferCoord result = XY;
    result.Char = std::min(result.Char, int(line->size()) + 1);
    if (result.Char > 1) {
        int at = result.Char;
        if (Classes.IsWordBreakChar((*line)[std::size_t(at - 2)])) at = StrRScanForCharMatching(*line, at - 1, isIdent);
        if (at > 0) at = StrRScanForCharMatching(*line, at - 1, isBreak) + 1;
        result.Char = at;
        if (at > 0) return result;
        if (XY.Line == 1) {
            result.Char = 1;
            return result;
        }
    } else if (XY.Line == 1) {
        return result;
    }
    result.Line = XY.Line - 1;
    result.Char = Lines.LineCharLength(result.Line - 1) + 1;
    return result;
}

UnicodeString GetWordAtRowCol(const TNibEditStringList& Lines, const TNibEditCharClasses& Classes,
                              const TBufferCoord& XY)
{
    const UnicodeString* line = LineOf(Lines, XY);
    if (!line) return {};
    const int length = int(line->size());
    // The character must lie in the line: the end of the line holds no word.
    if (XY.Char < 1 || XY.Char > length || !Classes.IsIdentChar((*line)[std::size_t(XY.Char - 1)])) return {};
    int first = XY.Char, last = XY.Char;
    while (last < length && Classes.IsIdentChar((*line)[std::size_t(last)])) ++last;
    while (first > 1 && Classes.IsIdentChar((*line)[std::size_t(first - 2)])) --first;
    return line->substr(std::size_t(first - 1), std::size_t(last - first + 1));
}
