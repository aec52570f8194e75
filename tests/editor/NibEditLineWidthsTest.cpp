// The widths the line store keeps against the displayed line built in full: tabs expanded, then a
// filler before each wide glyph. Random edits of whole lines and of characters inside them, tab
// widths and font changes over lines with leading tabs, tabs after text, wide glyphs, empty lines
// and lines past 1,024 columns.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "editor/NibEditTextBuffer.h"

namespace {

/// Cells of the glyphs that a font change may widen: U+4E00 and U+00E9.
struct Font {
    int Ideograph = 2;
    int Accent = 1;
    int Cells(char16_t c) const { return c == u'\u4E00' ? Ideograph : c == u'\u00E9' ? Accent : 1; }
};

int DisplayedLength(const UnicodeString& line, int tabWidth, const Font& font)
{
    bool hasTabs = false;
    const UnicodeString expanded = SelectTabExpander(tabWidth)(line, tabWidth, hasTabs);
    int length = 0;
    for (char16_t c : expanded) length += font.Cells(c);
    return length;
}

UnicodeString RandomLine(std::mt19937& random)
{
    // Half the lines have tabs only where they lead.
    static const char16_t pieces[] = {u'a', u' ', u'\u4E00', u'\u00E9', u'x', u'\t'};
    const unsigned kinds = random() % 2 ? 6 : 5;
    UnicodeString line(random() % 3, u'\t');
    const unsigned size = random() % 20;
    const unsigned length = size == 0 ? 900 + random() % 500 : size < 4 ? 0 : random() % 40;
    for (unsigned i = 0; i < length; ++i) line += pieces[random() % kinds];
    return line;
}

TEST(NibEditLineWidths, TheWidestLineAndEachWidthAgreeWithTheDisplayedLinesAfterRandomChanges)
{
    std::mt19937 random(4242);
    Font font;
    TNibEditStringList lines([&font](char16_t c) { return font.Cells(c); });
    std::vector<UnicodeString> model;
    int tabWidth = 8;
    for (int step = 0; step < 3000; ++step) {
        const int count = int(model.size());
        const int at = int(random() % unsigned(count + 1));
        switch (random() % 14) {
        case 0:
        case 1: {
            const UnicodeString line = RandomLine(random);
            lines.Insert(at, line);
            model.insert(model.begin() + at, line);
            break;
        }
        case 2:
        case 3:
            if (at < count) {
                const UnicodeString line = RandomLine(random);
                lines.Put(at, line);
                model[std::size_t(at)] = line;
            }
            break;
        case 4:
            if (at < count) {
                lines.Delete(at);
                model.erase(model.begin() + at);
            }
            break;
        case 5: {
            const int n = int(random() % 5);
            lines.DeleteLines(at, n);
            model.erase(model.begin() + at, model.begin() + std::min(count, at + n));
            break;
        }
        case 6: {
            TStringList more;
            for (unsigned k = random() % 4; k > 0; --k) more.Add(RandomLine(random));
            lines.InsertStrings(at, more);
            for (int k = 0; k < more.Count(); ++k) model.insert(model.begin() + at + k, more[k]);
            break;
        }
        case 7:
            if (count > 1) {
                const int other = int(random() % unsigned(count));
                lines.Exchange(at % count, other);
                std::swap(model[std::size_t(at % count)], model[std::size_t(other)]);
            }
            break;
        case 8:
            tabWidth = int(1 + random() % 12);
            lines.SetTabWidth(tabWidth);
            break;
        case 9:
            font.Ideograph = 2 + int(random() % 2);
            font.Accent = 1 + int(random() % 2);
            lines.FontChanged();
            break;
        case 10: {
            const int n = int(random() % 3);
            lines.InsertLines(at, n);
            model.insert(model.begin() + at, std::size_t(n), UnicodeString());
            break;
        }
        case 12:
        case 13:
            // Typing and deleting inside a line: among the leading tabs, after them, at the end.
            if (at < count) {
                UnicodeString& line = model[std::size_t(at)];
                const std::size_t start = random() % (line.size() + 1);
                const std::size_t length = std::min<std::size_t>(random() % 4, line.size() - start);
                UnicodeString text = RandomLine(random).substr(0, random() % 4);
                lines.ReplaceInLine(at, int(start), int(length), text);
                line.replace(start, length, text);
            }
            break;
        case 11:
            if (random() % 40 == 0) {
                lines.Clear();
                model.clear();
            }
            break;
        }
        ASSERT_EQ(lines.Count(), int(model.size()));

        int widest = 0;
        for (const UnicodeString& line : model) widest = std::max(widest, DisplayedLength(line, tabWidth, font));
        // The questions come in a random order: each may find what another one left.
        for (unsigned ask = random() % 4, n = 0; n < 3; ++n, ask = (ask + 1) % 4) {
            if (ask == 0) {
                ASSERT_EQ(lines.LengthOfLongestLine(), widest) << step;
            } else if (ask == 1 && count > 0) {
                const int i = int(random() % unsigned(lines.Count() + 1)) - 1;
                const int expected = i >= 0 && i < lines.Count() ? DisplayedLength(model[std::size_t(i)], tabWidth, font) : 0;
                ASSERT_EQ(lines.GetExpandedStringLength(i), expected) << step << " line " << i;
            } else {
                const int limit = ask == 2 ? 1024 : int(random() % 60);
                const int bound = lines.LengthOfLongestLineBeyond(limit);
                if (widest > limit) ASSERT_EQ(bound, widest) << step << " beyond " << limit;
                else ASSERT_LE(bound, limit) << step;
            }
        }
    }
}

TEST(NibEditLineWidths, AMeasureCountsTabsCellsAndWhereTheTabsStand)
{
    const auto cells = [](char16_t c) { return c == u'\u4E00' ? 2 : 1; };
    struct Case {
        std::u16string_view Line;
        int Cells, Tabs;
        bool TabAfterText, Ascii;
        std::int64_t WidthAt4;
    };
    const Case cases[] = {
        {u"", 0, 0, false, true, 0},
        {u"\t\tab", 2, 2, false, true, 10},
        {u"ab\tc", 3, 1, true, true, 5},
        {u"\u4E00\t", 2, 1, true, false, 5},  // the tab stop counts the glyph as one column
        {u"\t\u00E9", 1, 1, false, false, 5},
    };
    for (const Case& c : cases) {
        const TNibLineMeasure m = MeasureLine(c.Line, cells);
        EXPECT_EQ(m.Cells, c.Cells) << ToUtf8(c.Line);
        EXPECT_EQ(m.Tabs, c.Tabs) << ToUtf8(c.Line);
        EXPECT_EQ(m.TabAfterText, c.TabAfterText) << ToUtf8(c.Line);
        EXPECT_EQ(m.Ascii, c.Ascii) << ToUtf8(c.Line);
        EXPECT_EQ(LineWidth(c.Line, m, 4), c.WidthAt4) << ToUtf8(c.Line);
    }
}

}  // namespace
