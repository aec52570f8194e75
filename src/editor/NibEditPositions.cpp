#include "editor/NibEditPositions.h"

#include <algorithm>
#include <climits>

namespace {

constexpr char16_t Tab = 9;

/// A line whose columns follow from its counts, without a walk over its characters: each one
/// other than a tab lies below U+0080 (one cell) and its tabs all lead. A long line typed at or
/// moved about in is then no slower than a short one.
bool CountedLine(const TNibEditLayout& layout, int line, int& tabs)
{
    const TNibLineMeasure m = layout.Lines->LineMeasure(line - 1);
    tabs = m.Tabs;
    return m.Ascii && !m.TabAfterText;
}

int ClampToInt(std::int64_t value) { return int(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX)); }

// Cells of the character at 1-based position i of the line; moves `column` past it. Tab stops are
// counted in `column`, where every character takes one column, as the line is painted: its tabs
// are expanded before its wide glyphs get their fillers. A position past the line's end takes one
// cell.
int Advance(const TNibEditLayout& layout, const UnicodeString& line, int i, std::int64_t& column)
{
    if (i > int(line.size()) || line[std::size_t(i - 1)] != Tab) {
        ++column;
        if (i > int(line.size())) return 1;
        return layout.CharCells ? std::max(layout.CharCells(line[std::size_t(i - 1)]), 1) : 1;
    }
    const int width = std::max(layout.TabWidth, 1);
    const int cells = int(width - column % width);
    column += cells;
    return cells;
}

// The first Count characters of the line that are neither tabs nor from U+0080 on: each of them
// takes one cell whatever the font.
int PlainCells(const UnicodeString& line, int Count)
{
    const auto end = line.begin() + Count;
    return int(std::find_if(line.begin(), end, [](char16_t c) { return c == Tab || c >= 0x80; }) - line.begin());
}

}  // namespace

TDisplayCoord BufferToDisplayPos(const TNibEditLayout& Layout, const TBufferCoord& p)
{
    TDisplayCoord result{p.Char, p.Line};
    if (p.Line >= 1 && p.Line <= Layout.Lines->Count()) {
        const UnicodeString& line = (*Layout.Lines)[p.Line - 1];
        const int inLine = std::min(p.Char - 1, int(line.size()));
        int tabs = 0;
        std::int64_t x = 0;
        if (CountedLine(Layout, p.Line, tabs)) {
            const int leading = std::clamp(inLine, 0, tabs);
            x = std::int64_t(leading) * std::max(Layout.TabWidth, 1) + (inLine - leading);
        } else {
            const int plain = PlainCells(line, std::max(inLine, 0));
            x = plain;
            std::int64_t column = plain;
            for (int i = plain + 1; i <= inLine; ++i) x += Advance(Layout, line, i, column);
        }
        result.Column = ClampToInt(x + std::max(p.Char - 1 - inLine, 0) + 1);
    }
    if (Layout.WordWrap && result.Column >= 1 && result.Row >= 1)
        result = Layout.WordWrap->BufferToDisplayPos({result.Column, result.Row});
    return result;
}

TBufferCoord DisplayToBufferPos(const TNibEditLayout& Layout, const TDisplayCoord& p)
{
    TBufferCoord result{p.Column, p.Row};
    if (Layout.WordWrap && p.Column >= 1 && p.Row >= 1) result = Layout.WordWrap->DisplayToBufferPos(p);
    if (result.Line >= 1 && result.Line <= Layout.Lines->Count()) {
        const UnicodeString& line = (*Layout.Lines)[result.Line - 1];
        const int column = result.Char;
        int tabs = 0;
        if (CountedLine(Layout, result.Line, tabs)) {
            const std::int64_t width = std::max(Layout.TabWidth, 1), lead = tabs * width;
            if (column < 1 || line.empty()) result.Char = std::max(column, 1);
            else if (column <= lead) result.Char = int((column - 1) / width + 1);
            else result.Char = ClampToInt(tabs + (column - lead));
            return result;
        }
        int x = 0, i = 1;
        std::int64_t tabColumn = 0;
        for (; i <= int(line.size()); ++i) {
            const int w = Advance(Layout, line, i, tabColumn);
            if (column <= x + w) break;
            x += w;
        }
        // Past the line's end every position takes one cell.
        result.Char = i <= int(line.size()) ? i : i + std::max(column - x - 1, 0);
    }
    return result;
}

int CharStartingAtOrAfter(const TNibEditLayout& Layout, int Line, int Column)
{
    if (Line < 1 || Line > Layout.Lines->Count()) return std::max(Column, 1);
    const UnicodeString& line = (*Layout.Lines)[Line - 1];
    int tabs = 0;
    if (Column > 1 && CountedLine(Layout, Line, tabs)) {
        const std::int64_t width = std::max(Layout.TabWidth, 1), tab = (Column - 2) / width + 1;
        if (tab < tabs) return int(tab + 1);
        return ClampToInt(tabs + std::max<std::int64_t>(Column - tabs * width, 1));
    }
    int x = 0, i = 1;
    std::int64_t tabColumn = 0;
    for (; i <= int(line.size()) && x + 1 < Column; ++i) x += Advance(Layout, line, i, tabColumn);
    return i + std::max(Column - x - 1, 0);
}

int LineToRow(const TNibEditLayout& Layout, int aLine)
{
    if (!Layout.WordWrap) return aLine;
    return BufferToDisplayPos(Layout, {1, aLine}).Row;
}

int RowToLine(const TNibEditLayout& Layout, int aRow)
{
    if (!Layout.WordWrap) return aRow;
    return DisplayToBufferPos(Layout, {1, aRow}).Line;
}

int DisplayLineCount(const TNibEditLayout& Layout)
{
    if (!Layout.WordWrap) return Layout.Lines->Count();
    if (Layout.Lines->Count() == 0) return 0;
    return Layout.WordWrap->RowCount();
}

TBufferCoord CharIndexToRowCol(const TNibEditStringList& Lines, int Index)
{
    // Line i starts at LineCharIndex(i) + 2 * i: find the last line that starts at or before Index.
    int low = 0, high = Lines.Count() - 1, line = -1;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        if (Lines.LineCharIndex(mid) + 2 * mid <= Index) {
            line = mid;
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    if (line < 0) return {1, 1};
    const int start = Lines.LineCharIndex(line) + 2 * line;
    if (line == Lines.Count() - 1 && Index >= start + Lines.LineCharLength(line) + 2) return {1, Lines.Count() + 1};
    return {Index - start + 1, line + 1};
}

int RowColToCharIndex(const TNibEditStringList& Lines, const TBufferCoord& RowCol)
{
    if (Lines.Count() == 0) return 0;
    const int line = std::clamp(RowCol.Line, 1, Lines.Count()) - 1;
    return Lines.LineCharIndex(line) + 2 * line + (RowCol.Char - 1);
}
