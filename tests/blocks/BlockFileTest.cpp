#include <gtest/gtest.h>
#include <vector>
#include "blocks/BlockFile.h"
#include "blocks/BlockLines.h"
#include "support/TempFolder.h"

namespace {

UnicodeString Repeat(char16_t c, int n) { return UnicodeString(std::size_t(n), c); }

TStringList ListOf(const std::vector<UnicodeString>& lines)
{
    TStringList list;
    for (const UnicodeString& line : lines) list.Add(line);
    return list;
}

std::vector<UnicodeString> Items(const TStringList& list)
{
    std::vector<UnicodeString> items;
    for (int i = 0; i < list.Count(); ++i) items.push_back(list[i]);
    return items;
}

/// 15 words of 9 letters with one blank between: 149 characters.
UnicodeString WordLine()
{
    UnicodeString line;
    for (int i = 0; i < 15; ++i) line += (i ? u" " : u"") + Repeat(char16_t(u'a' + i), 9);
    return line;
}

}  // namespace

TEST(WrapBlockLines, BreaksAtTheLastBlankWithin64Characters)
{
    struct Case {
        const char* what;
        std::vector<UnicodeString> in;
        std::vector<size_t> lengths;
    };
    const std::vector<Case> cases = {
        {"149 characters of words", {WordLine()}, {59, 59, 29}},
        {"70 letters without a blank stay one line and get an empty one", {Repeat(u'Z', 70)}, {70, 0}},
        {"exactly 64 characters stay", {Repeat(u'A', 64)}, {64}},
        {"trailing blanks go first", {Repeat(u'A', 64) + u"    "}, {64}},
        {"each long line of several", {Repeat(u'Z', 70), u"ok  ", WordLine()}, {70, 0, 2, 59, 59, 29}},
    };
    for (const Case& c : cases) {
        TStringList lines = ListOf(c.in);
        WrapBlockLines(lines);
        std::vector<size_t> lengths;
        for (const UnicodeString& line : Items(lines)) lengths.push_back(line.size());
        EXPECT_EQ(lengths, c.lengths) << c.what;
    }
}

TEST(WrapBlockLines, KeepsTheBlanksThatStartTheRest)
{
    TStringList lines = ListOf({Repeat(u'X', 63) + u"  YYYYY"});
    WrapBlockLines(lines);
    EXPECT_EQ(Items(lines), (std::vector<UnicodeString>{Repeat(u'X', 63), u" YYYYY"}));
    EXPECT_EQ(lines[0], Repeat(u'X', 63));

    TStringList words = ListOf({WordLine()});
    WrapBlockLines(words);
    EXPECT_EQ(words[0] + u" " + words[1] + u" " + words[2], WordLine());
}

TEST(WrapBlockLines, PiecesAtTheEdges)
{
    const UnicodeString A63 = Repeat(u'A', 63), A64 = Repeat(u'A', 64);
    struct Case {
        const char* what;
        std::vector<UnicodeString> in;
        std::vector<UnicodeString> out;
    };
    const std::vector<Case> cases = {
        {"an empty line", {u""}, {u""}},
        {"no lines", {}, {}},
        {"64 characters", {A64}, {A64}},
        {"65 characters without a blank", {A64 + u"B"}, {A64 + u"B", u""}},
        {"65 characters, blank at 64", {A63 + u" B"}, {A63, u"B"}},
        {"the first blank just past 64", {A64 + u" B"}, {A64 + u" B", u""}},
        {"a blank first", {u" " + A64}, {u"", A64}},
        {"a blank first, the rest too long", {u" " + A64 + u"B"}, {u"", A64 + u"B", u""}},
        {"blanks before the break trimmed", {Repeat(u'A', 60) + u"    " + Repeat(u'B', 10)},
         {Repeat(u'A', 60), Repeat(u'B', 10)}},
        {"tabs and control characters trimmed at the end", {A64 + u"\t \x01\t"}, {A64}},
        {"a tab is not a blank to break at", {Repeat(u'A', 30) + u"\t" + Repeat(u'B', 40)},
         {Repeat(u'A', 30) + u"\t" + Repeat(u'B', 40), u""}},
        {"a tab before the break is trimmed from the head", {Repeat(u'A', 60) + u"\t x" + Repeat(u'B', 10)},
         {Repeat(u'A', 60), u"x" + Repeat(u'B', 10)}},
        {"8-bit and wide characters", {Repeat(u'\u00FF', 63) + u" \u4E00\U0001F600"}, {Repeat(u'\u00FF', 63), u"\u4E00\U0001F600"}},
        {"three pieces of 63", {A63 + u" " + A63 + u" " + A63 + u"  "}, {A63, A63, A63}},
        {"pieces then an unbreakable rest", {A63 + u" " + A64 + u"B"}, {A63, A64 + u"B", u""}},
        {"several lines", {u"ok  ", A63 + u" B  ", u"", A64 + u"B", u"end\t"},
         {u"ok", A63, u"B", u"", A64 + u"B", u"", u"end"}},
    };
    for (const Case& c : cases) {
        TStringList lines = ListOf(c.in);
        WrapBlockLines(lines);
        EXPECT_EQ(Items(lines), c.out) << c.what;
    }
}

TEST(SplitBlockLine, HeadTrimmedRestAsItWas)
{
    const UnicodeString A63 = Repeat(u'A', 63), A64 = Repeat(u'A', 64);
    struct Case {
        UnicodeString in, head, rest;
    };
    const std::vector<Case> cases = {
        {u"", u"", u""},
        {A64, A64, u""},
        {A64 + u"B", A64 + u"B", u""},
        {A63 + u" B", A63, u"B"},
        {A63 + u"  B  ", A63, u" B  "},
        {Repeat(u'A', 40) + u" \t " + Repeat(u'B', 30), Repeat(u'A', 40), Repeat(u'B', 30)},
        {u" " + A64, u"", A64},
    };
    for (const Case& c : cases) {
        UnicodeString s = c.in;
        EXPECT_EQ(SplitBlockLine(s), c.head) << c.in.size();
        EXPECT_EQ(s, c.rest) << c.in.size();
    }
}

TEST(WrapBlockLines, TheFirstPieceKeepsTheLineObject)
{
    TObject first, second;
    TStringList lines;
    lines.Add(u"short  ", &first);
    lines.Add(Repeat(u'A', 63) + u" B", &second);
    WrapBlockLines(lines);
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Objects(0), &first);
    EXPECT_EQ(lines.Objects(1), &second);
    EXPECT_EQ(lines.Objects(2), nullptr);
}

TEST(BlockFileName, ExtensionWithoutCase)
{
    EXPECT_TRUE(IsBlockFileName(u"/a/b.blk"));
    EXPECT_TRUE(IsBlockFileName(u"B.BLK"));
    EXPECT_TRUE(IsBlockFileName(u"x.Blk"));
    EXPECT_FALSE(IsBlockFileName(u"x.blk.txt"));
    EXPECT_FALSE(IsBlockFileName(u"/a.blk/file"));
    EXPECT_FALSE(IsBlockFileName(u"blk"));
}

TEST(BlockStream, RecordsAreSpacePaddedOrCutTo64Bytes)
{
    TStringList lines = ListOf({u"ABC", u"", Repeat(u'L', 70), u"\u00E9\u20AC"});
    const std::string bytes = WriteBlockStream(lines);
    ASSERT_EQ(bytes.size(), 4u * 64);
    EXPECT_EQ(bytes.substr(0, 64), "ABC" + std::string(61, ' '));
    EXPECT_EQ(bytes.substr(64, 64), std::string(64, ' '));
    EXPECT_EQ(bytes.substr(128, 64), std::string(64, 'L'));
    // Characters beyond 8 bits become '?'.
    EXPECT_EQ(bytes.substr(192, 3), "\xE9? ");
    EXPECT_EQ(WriteBlockStream(TStringList()), "");
}

TEST(BlockStream, AShortLastRecordIsPaddedAndTrailingSpacesStay)
{
    std::string bytes(1000, 'x');
    bytes[999] = ' ';
    TStringList lines;
    ReadBlockStream(bytes, lines);
    ASSERT_EQ(lines.Count(), 16);
    EXPECT_EQ(lines[0], Repeat(u'x', 64));
    EXPECT_EQ(lines[15], Repeat(u'x', 39) + Repeat(u' ', 25));
    WrapBlockLines(lines);
    EXPECT_EQ(lines[15], Repeat(u'x', 39));
    EXPECT_EQ(WriteBlockStream(lines).size(), 1024u);
}

TEST(BlockFile, LoadAndSaveGiveTheSameBytes)
{
    TempFolder folder;
    std::string bytes;
    for (int i = 0; i < 32; ++i) bytes += (std::string(1, char('A' + i % 26)) + "  \x01\xFF  " + std::string(57, ' ')).substr(0, 64);
    folder.Write("in.blk", bytes);
    TStringList lines;
    ASSERT_TRUE(LoadBlockFileLines(folder.Name("in.blk"), lines));
    WrapBlockLines(lines);
    EXPECT_EQ(lines[0], u"A  \x01\u00FF");
    EXPECT_EQ(SaveBlockFile(folder.Name("out.blk"), lines), u"");
    EXPECT_EQ(folder.Read("out.blk"), bytes);

    EXPECT_EQ(SaveBlockFile(folder.Name("empty.blk"), TStringList()), u"");
    EXPECT_EQ(folder.Read("empty.blk"), "");
    EXPECT_FALSE(LoadBlockFileLines(folder.Name("missing.blk"), lines));
    EXPECT_EQ(lines.Count(), 32);
}

TEST(BlockTextFile, CrLfTextWithByteOrderMarksHonoured)
{
    TempFolder folder;
    TStringList lines = ListOf({u"one", u"t\u00E9o"});
    EXPECT_EQ(SaveBlockTextFile(folder.Name("a.txt"), lines), u"");
    EXPECT_EQ(folder.Read("a.txt"), "one\r\nt\xE9o\r\n");

    folder.Write("u.txt", "\xEF\xBB\xBFx\xC3\xA9\nsecond");
    TStringList loaded;
    ASSERT_TRUE(LoadBlockTextFile(folder.Name("u.txt"), loaded));
    EXPECT_EQ(Items(loaded), (std::vector<UnicodeString>{u"x\u00E9", u"second"}));
    EXPECT_FALSE(LoadBlockTextFile(folder.Name("missing.txt"), loaded));
    EXPECT_EQ(loaded.Count(), 2);
}
