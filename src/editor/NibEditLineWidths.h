#pragma once
// What a line's width on screen is made of, and the counts of a text's lines by it, so that the
// widest line for any tab width is known without measuring the lines again.
#include <cstdint>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

/// Cells a character other than a tab takes; every character takes one without it.
using TNibCharCellsFunc = std::function<int(char16_t)>;

/// A line measured once for every tab width: its tabs, the cells of its other characters, and
/// whether a tab follows one of them (then the tab stops depend on what precedes each tab).
struct TNibLineMeasure {
    int Cells = 0;
    int Tabs = 0;
    bool TabAfterText = false;
    /// Every character other than a tab lies below U+0080, so takes one cell in any font. False
    /// may also stand for not known: a replacement in a line that takes such a character out
    /// leaves it false.
    bool Ascii = true;
    /// Cells of the characters that take more than one: Cells less the characters other than tabs.
    int ExtraCells = 0;
};

/// One pass over the line, without building any copy of it.
TNibLineMeasure MeasureLine(std::u16string_view Line, const TNibCharCellsFunc& CharCells);

/// The measure of Line, whose `Inserted` characters at Start replaced characters of measure
/// Removed in a line of measure Before: only those characters and the leading tabs are read.
TNibLineMeasure MeasureAfterReplace(const TNibLineMeasure& Before, const TNibLineMeasure& Removed,
                                    std::u16string_view Line, std::size_t Start, std::size_t Inserted,
                                    const TNibCharCellsFunc& CharCells);

/// The width of a measured line at a tab width: tab stops are counted on the characters (each one
/// column), then each wide glyph adds its extra cells, as the displayed line is built.
std::int64_t LineWidth(std::u16string_view Line, const TNibLineMeasure& M, int TabWidth);

/// The lines of a text counted by tabs and cells. The width of a line whose tabs all lead is
/// exact from these two; one with a tab after text is only bounded by them.
class TNibLineWidthIndex {
public:
    void Add(const TNibLineMeasure& M) { Group(M.TabAfterText, M.Tabs).Add(M.Cells); }
    void Remove(const TNibLineMeasure& M) { Group(M.TabAfterText, M.Tabs).Remove(M.Cells); }
    void Clear();
    /// The greatest width of the lines whose tabs all lead (0 without such lines).
    std::int64_t LeadingTabsMax(int TabWidth) const { return Max(fLeading, fLeadingLarge, TabWidth); }
    /// A bound no smaller than the width of every line with a tab after text (0 without them).
    std::int64_t TabAfterTextBound(int TabWidth) const { return Max(fMixed, fMixedLarge, TabWidth); }

private:
    /// A multiset of cell counts: an array of counts for the small ones, a map for the others.
    struct TCellCounts {
        void Add(int Cells);
        void Remove(int Cells);
        bool Empty() const { return fTotal == 0; }
        int Max() const;

        std::vector<int> fSmall;
        std::map<int, int> fLarge;
        /// No count above it in fSmall is positive.
        mutable int fSmallMax = -1;
        int fTotal = 0;
    };
    /// Tab counts below this index an array; the rest a map.
    static constexpr int SmallTabs = 64;

    TCellCounts& Group(bool TabAfterText, int Tabs);
    static std::int64_t Max(const std::vector<TCellCounts>& Small, const std::map<int, TCellCounts>& Large, int TabWidth);

    std::vector<TCellCounts> fLeading, fMixed;
    std::map<int, TCellCounts> fLeadingLarge, fMixedLarge;
};
