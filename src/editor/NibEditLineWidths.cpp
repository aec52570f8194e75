#include "editor/NibEditLineWidths.h"

#include <algorithm>

namespace {

constexpr char16_t Tab = 9;
/// Cell counts below this one are counted in an array.
constexpr int SmallCells = 4096;

}  // namespace

TNibLineMeasure MeasureLine(std::u16string_view Line, const TNibCharCellsFunc& CharCells)
{
    // One pass without branches, which the compiler turns into vector code: a line of a million
    // characters is measured in a fraction of a millisecond.
    std::size_t tabs = 0;
    unsigned high = 0;
    for (char16_t c : Line) {
        tabs += c == Tab;
        high |= c & 0xFF80u;
    }
    TNibLineMeasure m;
    m.Tabs = int(tabs);
    m.Ascii = high == 0;
    if (!m.Ascii) {
        for (char16_t c : Line)
            if (c >= 0x80 && CharCells) m.ExtraCells += std::max(CharCells(c), 1) - 1;
    }
    // A tab after text: more tabs than those that lead.
    const std::size_t leading = std::min(Line.find_first_not_of(Tab), Line.size());
    m.TabAfterText = tabs > leading;
    m.Cells = int(Line.size()) - m.Tabs + m.ExtraCells;
    return m;
}

TNibLineMeasure MeasureAfterReplace(const TNibLineMeasure& Before, const TNibLineMeasure& Removed,
                                    std::u16string_view Line, std::size_t Start, std::size_t Inserted,
                                    const TNibCharCellsFunc& CharCells)
{
    const TNibLineMeasure added = MeasureLine(Line.substr(Start, Inserted), CharCells);
    if (Inserted == Line.size()) return added;
    TNibLineMeasure m;
    m.Tabs = Before.Tabs - Removed.Tabs + added.Tabs;
    m.ExtraCells = Before.ExtraCells - Removed.ExtraCells + added.ExtraCells;
    m.Ascii = Before.Ascii && added.Ascii;
    const std::size_t leading = std::min(Line.find_first_not_of(Tab), Line.size());
    m.TabAfterText = std::size_t(m.Tabs) > leading;
    m.Cells = int(Line.size()) - m.Tabs + m.ExtraCells;
    return m;
}

std::int64_t LineWidth(std::u16string_view Line, const TNibLineMeasure& M, int TabWidth)
{
    const std::int64_t width = std::max(TabWidth, 1);
    if (!M.TabAfterText) return M.Cells + M.Tabs * width;
    std::int64_t column = 0;
    for (char16_t c : Line) column += c == Tab ? width - column % width : 1;
    return column + M.ExtraCells;
}

void TNibLineWidthIndex::TCellCounts::Add(int Cells)
{
    ++fTotal;
    if (Cells >= SmallCells) {
        ++fLarge[Cells];
        return;
    }
    if (int(fSmall.size()) <= Cells) fSmall.resize(std::size_t(Cells) + 1);
    ++fSmall[std::size_t(Cells)];
    fSmallMax = std::max(fSmallMax, Cells);
}

void TNibLineWidthIndex::TCellCounts::Remove(int Cells)
{
    --fTotal;
    if (Cells >= SmallCells) {
        const auto found = fLarge.find(Cells);
        if (--found->second == 0) fLarge.erase(found);
        return;
    }
    --fSmall[std::size_t(Cells)];
}

int TNibLineWidthIndex::TCellCounts::Max() const
{
    if (!fLarge.empty()) return fLarge.rbegin()->first;
    // Removals leave the mark where it was; it comes down here, over counts that reached zero.
    while (fSmallMax >= 0 && fSmall[std::size_t(fSmallMax)] == 0) --fSmallMax;
    return fSmallMax;
}

void TNibLineWidthIndex::Clear()
{
    fLeading.clear();
    fMixed.clear();
    fLeadingLarge.clear();
    fMixedLarge.clear();
}

TNibLineWidthIndex::TCellCounts& TNibLineWidthIndex::Group(bool TabAfterText, int Tabs)
{
    if (Tabs >= SmallTabs) return (TabAfterText ? fMixedLarge : fLeadingLarge)[Tabs];
    std::vector<TCellCounts>& groups = TabAfterText ? fMixed : fLeading;
    if (int(groups.size()) <= Tabs) groups.resize(std::size_t(Tabs) + 1);
    return groups[std::size_t(Tabs)];
}

std::int64_t TNibLineWidthIndex::Max(const std::vector<TCellCounts>& Small, const std::map<int, TCellCounts>& Large,
                                     int TabWidth)
{
    const std::int64_t width = std::max(TabWidth, 1);
    std::int64_t best = 0;
    for (std::size_t tabs = 0; tabs < Small.size(); ++tabs)
        if (!Small[tabs].Empty()) best = std::max(best, Small[tabs].Max() + std::int64_t(tabs) * width);
    for (const auto& [tabs, counts] : Large)
        if (!counts.Empty()) best = std::max(best, counts.Max() + std::int64_t(tabs) * width);
    return best;
}
