#include "editor/NibEditWordWrap.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include "editor/NibAssert.h"
#include "editor/NibEditHighlighter.h"

namespace {

constexpr char Unit[] = "NibEdit\\Source\\NibEditWordWrap";

} // namespace

TNibWordWrapPlugin::TNibWordWrapPlugin(INibWrapLineProvider* AOwner) : fEditor(AOwner)
{
    if (!AOwner) throw ENibError("Owner of TNibWordWrapPlugin must be a TCustomNibEdit");
    Reset();
}

void TNibWordWrapPlugin::Reset()
{
    const int columns = fEditor->CharsInWindow();
    NibAssert(columns >= 0, Unit, __LINE__);
    // Row lengths are 16-bit.
    fMaxRowLength = std::min(columns, 0xFFFF);
    fMinRowLength = std::max(1, fMaxRowLength - fMaxRowLength / 3);
    WrapLines();
}

void TNibWordWrapPlugin::DisplayChanged()
{
    if (fEditor->CharsInWindow() != fMaxRowLength) Reset();
}

void TNibWordWrapPlugin::WrapLine(int aIndex, std::vector<std::uint16_t>& rows) const
{
    rows.clear();
    const UnicodeString text = fEditor->ExpandedLine(aIndex);
    const int n = int(text.size());
    int p = 0;
    while (p + fMaxRowLength < n) {
        int b = p + fMaxRowLength;
        for (int i = b; i > p + fMinRowLength; --i) {
            if (fEditor->IsWordBreakChar(text[std::size_t(i)])) {
                b = i;
                break;
            }
        }
        // A wide glyph starts the next row together with its fillers.
        while (b - 1 > p && text[std::size_t(b - 1)] == NibWideGlyphFiller) --b;
        rows.push_back(std::uint16_t(b - p));
        p = b;
    }
    if (p < n || rows.empty()) rows.push_back(std::uint16_t(n - p));
}

int TNibWordWrapPlugin::ReWrapLine(int aIndex)
{
    std::vector<std::uint16_t> rows;
    WrapLine(aIndex, rows);
    const int first = FirstRow(aIndex);
    const int old = fLineOffsets[std::size_t(aIndex)] - first;
    const int d = int(rows.size()) - old;
    auto at = fRowLengths.begin() + first;
    if (d < 0) fRowLengths.erase(at, at + (-d));
    else if (d > 0) fRowLengths.insert(at, std::size_t(d), 0);
    std::copy(rows.begin(), rows.end(), fRowLengths.begin() + first);
    if (d != 0) {
        for (std::size_t i = std::size_t(aIndex); i < fLineOffsets.size(); ++i) fLineOffsets[i] += d;
    }
    return d;
}

void TNibWordWrapPlugin::WrapLines()
{
    fLineOffsets.clear();
    fRowLengths.clear();
    const int count = fEditor->LineCount();
    if (count < 1 || fMaxRowLength <= 0) {
        fLineOffsets.shrink_to_fit();
        fRowLengths.shrink_to_fit();
        return;
    }
    fLineOffsets.reserve(std::size_t(count));
    fRowLengths.reserve(std::size_t(count));
    std::vector<std::uint16_t> rows;
    for (int i = 0; i < count; ++i) {
        WrapLine(i, rows);
        fRowLengths.insert(fRowLengths.end(), rows.begin(), rows.end());
        fLineOffsets.push_back(int(fRowLengths.size()));
    }
}

int TNibWordWrapPlugin::LinesInserted(int aIndex, int aCount)
{
    if (fMaxRowLength <= 0) return 0;
    NibAssert(aIndex >= 0 && aCount >= 1 && aIndex <= LineCount(), Unit, __LINE__);
    // The new lines' rows are gathered first and put in place in one move, so that inserting many
    // lines costs what wrapping them costs.
    const int first = FirstRow(aIndex);
    std::vector<std::uint16_t> rows, added;
    std::vector<int> offsets(static_cast<std::size_t>(aCount));
    for (int i = 0; i < aCount; ++i) {
        WrapLine(aIndex + i, rows);
        added.insert(added.end(), rows.begin(), rows.end());
        offsets[std::size_t(i)] = first + int(added.size());
    }
    const int count = int(added.size());
    fRowLengths.insert(fRowLengths.begin() + first, added.begin(), added.end());
    for (std::size_t i = std::size_t(aIndex); i < fLineOffsets.size(); ++i) fLineOffsets[i] += count;
    fLineOffsets.insert(fLineOffsets.begin() + aIndex, offsets.begin(), offsets.end());
    return count;
}

int TNibWordWrapPlugin::LinesDeleted(int aIndex, int aCount)
{
    if (fMaxRowLength <= 0) return 0;
    NibAssert(aIndex >= 0 && aCount >= 1 && aIndex + aCount <= LineCount(), Unit, __LINE__);
    const int first = FirstRow(aIndex);
    const int removed = fLineOffsets[std::size_t(aIndex + aCount - 1)] - first;
    fRowLengths.erase(fRowLengths.begin() + first, fRowLengths.begin() + first + removed);
    fLineOffsets.erase(fLineOffsets.begin() + aIndex, fLineOffsets.begin() + aIndex + aCount);
    for (std::size_t i = std::size_t(aIndex); i < fLineOffsets.size(); ++i) fLineOffsets[i] -= removed;
    return removed;
}

int TNibWordWrapPlugin::LinesPutted(int aIndex, int aCount)
{
    if (fMaxRowLength <= 0) return 0;
    NibAssert(aIndex >= 0 && aCount >= 1 && aIndex + aCount <= LineCount(), Unit, __LINE__);
    int change = 0;
    for (int i = aIndex; i < aIndex + aCount; ++i) change += ReWrapLine(i);
    return change;
}

int TNibWordWrapPlugin::GetRowLength(int aRow) const
{
    if (aRow < 1 || aRow > RowCount()) throw std::out_of_range("List index out of bounds (" + std::to_string(aRow) + ")");
    return fRowLengths[std::size_t(aRow - 1)];
}

TDisplayCoord TNibWordWrapPlugin::BufferToDisplayPos(const TBufferCoord& aPos)
{
    NibAssert(aPos.Char >= 1 && aPos.Line >= 1, Unit, __LINE__);
    if (aPos.Line > LineCount()) return {aPos.Char, RowCount() + aPos.Line - LineCount()};
    const int first = FirstRow(aPos.Line - 1);
    const int end = fLineOffsets[std::size_t(aPos.Line - 1)];
    int total = 0;
    for (int r = first; r < end; ++r) {
        const int before = total;
        total += fRowLengths[std::size_t(r)];
        if (total >= aPos.Char) return {aPos.Char - before, r + 1};
    }
    // Beyond the line's text: on its last row, one column per position.
    return {fRowLengths[std::size_t(end - 1)] + aPos.Char - total, end};
}

TBufferCoord TNibWordWrapPlugin::DisplayToBufferPos(const TDisplayCoord& aPos)
{
    NibAssert(aPos.Column >= 1 && aPos.Row >= 1, Unit, __LINE__);
    if (aPos.Row > RowCount()) return {aPos.Column, aPos.Row - RowCount() + LineCount()};
    const int row = aPos.Row - 1;
    // The line whose rows hold the row: the first whose offset lies beyond it.
    const int line = int(std::upper_bound(fLineOffsets.begin(), fLineOffsets.end(), row) - fLineOffsets.begin());
    const int first = FirstRow(line);
    const bool lastRow = row == fLineOffsets[std::size_t(line)] - 1;
    const int limit = lastRow ? fMaxRowLength + 1 : fRowLengths[std::size_t(row)] + 1;
    int chr = std::min(aPos.Column, limit);
    for (int r = first; r < row; ++r) chr += fRowLengths[std::size_t(r)];
    return {chr, line + 1};
}
