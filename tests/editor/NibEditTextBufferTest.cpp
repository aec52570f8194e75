#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "editor/NibEditTextBuffer.h"
#include "support/TempFolder.h"

namespace {

// Cells as the editor's font gives them, with U+4E00 as the one glyph two cells wide.
int TwoCellGlyph(char16_t c) { return c == u'\u4E00' ? 2 : 1; }

// A list whose events are written to a log.
struct BufferFixture : ::testing::Test {
    BufferFixture()
    {
        lines.OnChanging = [this](TObject*) { log += "<"; };
        lines.OnChange = [this](TObject*) { log += ">"; };
        lines.OnCleared = [this](TObject*) { log += "C"; };
        lines.OnInserted = [this](TObject*, int i, int n) { log += "I" + std::to_string(i) + "," + std::to_string(n); };
        lines.OnDeleted = [this](TObject*, int i, int n) { log += "D" + std::to_string(i) + "," + std::to_string(n); };
        lines.OnPutted = [this](TObject*, int i, int n) { log += "P" + std::to_string(i) + "," + std::to_string(n); };
    }
    std::vector<UnicodeString> All() const
    {
        std::vector<UnicodeString> all;
        for (int i = 0; i < lines.Count(); ++i) all.push_back(lines[i]);
        return all;
    }

    TNibEditStringList lines{TwoCellGlyph};
    std::string log;
};

TEST_F(BufferFixture, TextSplitsIntoLinesAndGivesTheFileFormat)
{
    struct Case {
        std::u16string_view Text;
        std::vector<UnicodeString> Lines;
        TNibEditFileFormat Format;
    };
    const Case cases[] = {
        {u"a\r\nb", {u"a", u"b"}, sffDos},
        {u"a\nb", {u"a", u"b"}, sffUnix},
        {u"a\rb", {u"a", u"b"}, sffMac},
        {u"a\u2028b", {u"a", u"b"}, sffUnicode},
        {u"a\u2028\r\nb", {u"a\u2028", u"b"}, sffDos},
        {u"a\u2028b\nc\u2028", {u"a\u2028b", u"c\u2028"}, sffUnix},
        {u"a\nb\rc", {u"a", u"b", u"c"}, sffDos},
        {u"a\r\n", {u"a", u""}, sffDos},
        {u"\n\r", {u"", u"", u""}, sffDos},
        {u"abc", {u"abc"}, sffDos},
        {u"", {}, sffDos},
    };
    for (const Case& c : cases) {
        lines.SetFileFormat(sffMac);
        lines.SetText(c.Text);
        EXPECT_EQ(All(), c.Lines) << ToUtf8(c.Text);
        EXPECT_EQ(lines.FileFormat(), c.Format) << ToUtf8(c.Text);
    }
    lines.SetText(u"a\r\n");
    EXPECT_EQ(lines.Text(), u"a\r\n");
    lines.SetText(u"x\ny\n");
    EXPECT_EQ(lines.Text(), u"x\r\ny\r\n");  // outside a file the break is always CR LF
}

TEST_F(BufferFixture, SettingTextFiresOneInsertForAllLines)
{
    lines.Add(u"old");
    log.clear();
    lines.SetText(u"a\nb\nc");
    EXPECT_EQ(log, "<CI0,3>");
    log.clear();
    lines.SetText(u"");
    EXPECT_EQ(log, "<C>");
}

TEST(NibEditTextBuffer, FilesKeepTheirLineBreaks)
{
    TempFolder folder;
    TNibEditStringList lines;
    struct Case {
        std::string Bytes;
        TNibEditFileFormat Format;
    };
    const Case cases[] = {{"a\nb\n", sffUnix}, {"a\r\nb", sffDos}, {"a\rb\r", sffMac}, {"\xE9t\xE9\n", sffUnix}};
    for (const Case& c : cases) {
        std::istringstream in(c.Bytes);
        lines.LoadFromStream(in);
        EXPECT_EQ(lines.FileFormat(), c.Format);
        std::ostringstream out;
        lines.SaveToStream(out);
        EXPECT_EQ(out.str(), c.Bytes);

        folder.Write("f.txt", c.Bytes);
        ASSERT_TRUE(lines.LoadFromFile(folder.Name("f.txt")));
        ASSERT_TRUE(lines.SaveToFile(folder.Name("g.txt")));
        EXPECT_EQ(folder.Read("g.txt"), c.Bytes);
    }
    EXPECT_FALSE(lines.LoadFromFile(folder.Name("missing.txt")));
    UnicodeString error;
    EXPECT_FALSE(lines.SaveToFile(folder.Name("no/such/folder/f.txt"), &error));
    EXPECT_FALSE(error.empty());
}

// 8-bit files are split into lines as bytes: the same lines, format and encoding as the whole
// text widened first, for every kind of break, bytes from 0x80 up, and streams longer than one read.
TEST(NibEditTextBuffer, EightBitLoadMatchesTheWidenedText)
{
    const std::string pieces[] = {"a", "\r", "\n", "\r\n", "\xE9", "\xFF", "\x85", "\xE2\x80\xA8", "\t", "\x7F", std::string(1, '\0'), " "};
    std::mt19937 random(5);
    for (int round = 0; round < 400; ++round) {
        std::string bytes;
        const unsigned count = round == 0 ? 0 : round == 1 ? 80000 : random() % 12;
        for (unsigned n = 0; n < count; ++n) bytes += pieces[random() % std::size(pieces)];
        for (const bool appendNewLine : {false, true}) {
            TNibEditStringList loaded, widened;
            loaded.SetAppendNewLineAtEOF(appendNewLine);
            widened.SetAppendNewLineAtEOF(appendNewLine);
            loaded.SetEncoding(TTextEncoding::Utf8);
            std::istringstream in(bytes);
            loaded.LoadFromStream(in);
            widened.SetText(FromAnsi(bytes));
            ASSERT_EQ(loaded.Count(), widened.Count()) << "round " << round;
            for (int i = 0; i < loaded.Count(); ++i) ASSERT_EQ(loaded[i], widened[i]) << "round " << round << ", line " << i;
            EXPECT_EQ(loaded.FileFormat(), widened.FileFormat()) << "round " << round;
            EXPECT_EQ(loaded.Encoding(), TTextEncoding::Ansi);
        }
    }
}

TEST(NibEditTextBuffer, UnicodeLineSeparatorsSurviveAnEightBitSave)
{
    TNibEditStringList lines;
    std::istringstream in("\xEF\xBB\xBF" "a\xE2\x80\xA8" "b");  // UTF-8: a, U+2028, b
    lines.LoadFromStream(in);
    ASSERT_EQ(lines.FileFormat(), sffUnicode);
    ASSERT_EQ(lines.Count(), 2);

    std::ostringstream ansi;
    lines.SaveToStream(ansi);
    EXPECT_EQ(ansi.str(), "a\r\nb");  // not "a?b", which would merge the lines on reload
    std::ostringstream utf8;
    lines.SaveToStream(utf8, TTextEncoding::Utf8);
    EXPECT_EQ(utf8.str(), "\xEF\xBB\xBF" "a\xE2\x80\xA8" "b");

    lines.SetAppendNewLineAtEOF(true);
    std::ostringstream final;
    lines.SaveToStream(final);
    EXPECT_EQ(final.str(), "a\r\nb\r\n");
}

TEST_F(BufferFixture, SingleChangesFireChangingTheirEventAndChange)
{
    lines.Add(u"a");
    lines.Insert(0, u"b");
    lines.Put(1, u"c");
    lines.Put(2, u"d");  // Count: appends
    lines.Exchange(0, 2);
    lines.Delete(0);
    EXPECT_EQ(log, "<I0,1><I0,1><P1,1><I2,1><><D0,1>");
    EXPECT_EQ(All(), (std::vector<UnicodeString>{u"c", u"b"}));

    log.clear();
    lines.BeginUpdate();
    lines.Add(u"e");
    lines.DeleteLines(1, 5);
    lines.InsertLines(1, 2);
    lines.EndUpdate();
    EXPECT_EQ(log, "<I2,1D1,2I1,2>");
    EXPECT_EQ(All(), (std::vector<UnicodeString>{u"c", u"", u""}));

    log.clear();
    lines.DeleteLines(3, 1);  // nothing left to delete at the end
    lines.DeleteLines(0, 0);
    lines.InsertLines(0, 0);
    lines.AddStrings(TStringList());
    lines.InsertText(0, u"");
    EXPECT_EQ(log, "");
}

TEST_F(BufferFixture, BadIndexesRaiseBeforeAnythingChanges)
{
    lines.Add(u"x");
    log.clear();
    struct Case {
        std::function<void()> Call;
        const char* Message;
    };
    const Case cases[] = {
        {[&] { lines.Put(2, u"y"); }, "Invalid stringlist index 2"},
        {[&] { lines.Put(-1, u"y"); }, "Invalid stringlist index -1"},
        {[&] { lines.Insert(2, u"y"); }, "Invalid stringlist index 2"},
        {[&] { lines.Delete(1); }, "Invalid stringlist index 1"},
        {[&] { lines.DeleteLines(2, 1); }, "Invalid stringlist index 2"},
        {[&] { lines.InsertLines(-1, 1); }, "Invalid stringlist index -1"},
        {[&] { lines.Exchange(0, 3); }, "Invalid stringlist index 3"},
        {[&] { lines.PutObject(1, nullptr); }, "Invalid stringlist index 1"},
        {[&] { lines.PutRange(1, nullptr); }, "Invalid stringlist index 1"},
    };
    for (const Case& c : cases) {
        try {
            c.Call();
            ADD_FAILURE() << "no error for " << c.Message;
        } catch (const ENibEditStringList& e) {
            EXPECT_STREQ(e.what(), c.Message);
        }
    }
    EXPECT_EQ(log, "");
    EXPECT_EQ(All(), std::vector<UnicodeString>{u"x"});
    EXPECT_THROW(lines.SetCapacity(0), std::length_error);

    // Reading outside the list gives empty values.
    EXPECT_EQ(lines.Get(-1), u"");
    EXPECT_EQ(lines.Get(1), u"");
    EXPECT_EQ(lines.GetObject(1), nullptr);
    EXPECT_EQ(lines.GetRange(-1), nullptr);
    EXPECT_EQ(lines.LineCharLength(5), 0);
    EXPECT_EQ(lines.LineCharIndex(5), 0);
    EXPECT_EQ(lines.GetExpandedString(1), u"");
    EXPECT_EQ(lines.GetExpandedStringLength(1), 0);
}

TEST_F(BufferFixture, ANewLineHoldsNoObjectAnUnknownRangeAndAnUnknownLength)
{
    TObject object;
    lines.Add(u"a");
    lines.PutObject(0, &object);
    lines.PutRange(0, reinterpret_cast<TNibRange>(7));
    lines.Put(0, u"b");  // the text changes, object and range stay
    EXPECT_EQ(lines.GetObject(0), &object);
    EXPECT_EQ(lines.GetRange(0), reinterpret_cast<TNibRange>(7));
    lines.InsertLines(0, 1);
    EXPECT_EQ(lines.GetObject(0), nullptr);
    EXPECT_EQ(lines.GetRange(0), NibUnknownRange);
    EXPECT_EQ(lines.Flags(0), sfExpandedLengthUnknown);
}

TEST_F(BufferFixture, TabsExpandAndFlagTheLine)
{
    lines.SetTabWidth(4);
    lines.Add(u"\tx");
    lines.Add(u"plain");
    lines.Add(u"");
    EXPECT_EQ(lines.GetExpandedString(0), u"\t\t\t\tx");
    EXPECT_EQ(lines.Flags(0), sfHasTabs);
    EXPECT_EQ(lines.GetExpandedStringLength(1), 5);
    EXPECT_EQ(lines.Flags(1), sfHasNoTabs);
    EXPECT_EQ(lines.GetExpandedStringLength(2), 0);
    EXPECT_EQ(lines.Flags(2), sfHasNoTabs);

    lines.SetTabWidth(2);
    EXPECT_EQ(lines.Flags(0), sfHasTabs | sfExpandedLengthUnknown);
    EXPECT_EQ(lines.Flags(1), sfExpandedLengthUnknown);
    EXPECT_EQ(lines.GetExpandedString(0), u"\t\tx");
    lines.SetTabWidth(1);
    EXPECT_EQ(lines.GetExpandedString(0), u" x");
    lines.Put(0, u"y\t");
    EXPECT_EQ(lines.Flags(0), sfExpandedLengthUnknown);
}

TEST_F(BufferFixture, ExpandedLengthCountsWideGlyphFillersFromTheFirstCall)
{
    lines.Add(u"\u4E00\u4E00\t");
    EXPECT_EQ(lines.GetExpandedString(0), u"\u4E00\u4E00\t\t\t\t\t\t");
    lines.Put(0, u"\u4E00\u4E00\t");
    EXPECT_EQ(lines.GetExpandedStringLength(0), 10);  // 8 after the tab, plus one filler per glyph
    EXPECT_EQ(lines.GetExpandedStringLength(0), 10);
    lines.Add(u"123456789");
    EXPECT_EQ(lines.LengthOfLongestLine(), 10);
}

TEST_F(BufferFixture, LongestLineFollowsEveryChange)
{
    EXPECT_EQ(lines.LengthOfLongestLine(), 0);
    lines.SetText(u"\n\n");
    EXPECT_EQ(lines.LengthOfLongestLine(), 0);
    lines.SetText(u"ab\ncd\nx");
    EXPECT_EQ(lines.LengthOfLongestLine(), 2);
    lines.Insert(0, u"qqq");
    EXPECT_EQ(lines.LengthOfLongestLine(), 3);
    lines.Add(u"a much longer line");
    EXPECT_EQ(lines.LengthOfLongestLine(), 18);
    lines.Exchange(0, 4);
    EXPECT_EQ(lines.LengthOfLongestLine(), 18);
    lines.Delete(0);
    EXPECT_EQ(lines.LengthOfLongestLine(), 3);
    lines.Put(3, u"\t");
    EXPECT_EQ(lines.LengthOfLongestLine(), 8);
    lines.SetTabWidth(2);
    EXPECT_EQ(lines.LengthOfLongestLine(), 2);
    TStringList more;
    more.Add(u"12345");
    lines.AddStrings(more);
    EXPECT_EQ(lines.LengthOfLongestLine(), 5);
    lines.Clear();
    EXPECT_EQ(lines.LengthOfLongestLine(), 0);
}

TEST_F(BufferFixture, CharacterIndexesCountNoLineBreaksAndFollowChangesInsideAnUpdate)
{
    lines.SetText(u"ab\r\ncde\r\n\r\nf");
    EXPECT_EQ(lines.LineCharIndex(0), 0);
    EXPECT_EQ(lines.LineCharIndex(1), 2);
    EXPECT_EQ(lines.LineCharIndex(3), 5);
    lines.BeginUpdate();
    lines.Insert(1, u"xyz");
    EXPECT_EQ(lines.LineCharIndex(2), 5);
    lines.Delete(0);
    EXPECT_EQ(lines.LineCharIndex(1), 3);
    lines.Put(0, u"");
    EXPECT_EQ(lines.LineCharIndex(1), 0);
    lines.Exchange(0, 1);
    EXPECT_EQ(lines.LineCharIndex(1), 3);
    lines.EndUpdate();
    EXPECT_EQ(lines.GetSeparatedText(u"|"), u"cde|||f");
    EXPECT_EQ(lines.LineCharLength(0), 3);
}

TEST_F(BufferFixture, InsertingStringsAndText)
{
    lines.SetText(u"first\r\nlast");
    log.clear();
    lines.InsertText(1, u"a\nb\r\n");
    EXPECT_EQ(All(), (std::vector<UnicodeString>{u"first", u"a", u"b", u"last"}));
    EXPECT_EQ(log, "<I1,2P1,1P2,1>");

    TObject object;
    TStringList source;
    source.Add(u"x", &object);
    source.Add(u"y");
    log.clear();
    lines.AddStrings(source);
    EXPECT_EQ(log, "<I4,2>");
    EXPECT_EQ(lines.GetObject(4), &object);
    EXPECT_EQ(lines[5], u"y");
}

TEST(NibEditTextBuffer, CapacityGrowsBySixteenThenByAQuarter)
{
    TNibEditStringList lines;
    for (int i = 0; i < 16; ++i) lines.Add(u"x");
    EXPECT_EQ(lines.Capacity(), 16);
    lines.Add(u"x");
    EXPECT_EQ(lines.Capacity(), 32);
    lines.SetCapacity(80);
    while (lines.Count() < 80) lines.Insert(0, u"y");
    lines.Insert(40, u"z");
    EXPECT_EQ(lines.Capacity(), 100);
    lines.Clear();
    EXPECT_EQ(lines.Capacity(), 0);
}

TEST(NibEditTextBuffer, ALoadLeavesTheRoomOfOneGrowth)
{
    // Without the room, the first line inserted after a load moves every record to a larger block.
    struct Case {
        int lines;
        int capacity;
    };
    for (const Case c : {Case{3, 19}, Case{64, 80}, Case{65, 81}, Case{1000, 1250}}) {
        UnicodeString text;
        for (int i = 0; i < c.lines; ++i) text += u"line " + FromUtf8(std::to_string(i)) + u"\r\n";
        text.pop_back();
        text.pop_back();
        TNibEditStringList lines;
        lines.SetText(text);
        EXPECT_EQ(lines.Capacity(), c.capacity) << c.lines;
        while (lines.Count() < c.capacity) lines.Insert(lines.Count() / 2, u"new");
        EXPECT_EQ(lines.Capacity(), c.capacity) << c.lines;
        EXPECT_EQ(lines[0], u"line 0") << c.lines;
        EXPECT_EQ(lines[lines.Count() - 1], u"line " + FromUtf8(std::to_string(c.lines - 1))) << c.lines;
        EXPECT_EQ(lines[c.lines / 2], u"new") << c.lines;
    }
    TNibEditStringList empty;
    empty.SetText(u"");
    EXPECT_EQ(empty.Capacity(), 0);
}

TEST(NibEditTextBuffer, RandomEditsMatchASimpleListOfLines)
{
    // The gap moves back and forth between edits; the lines must read as a plain list would.
    std::mt19937 random(12345);
    TNibEditStringList lines;
    std::vector<UnicodeString> model;
    for (int step = 0; step < 4000; ++step) {
        const int count = int(model.size());
        const int at = int(random() % unsigned(count + 1));
        const UnicodeString text = IntToStr(step);
        switch (random() % 6) {
        case 0:
        case 1:
            lines.Insert(at, text);
            model.insert(model.begin() + at, text);
            break;
        case 2:
            if (at < count) {
                lines.Delete(at);
                model.erase(model.begin() + at);
            }
            break;
        case 3: {
            const int n = int(random() % 4);
            lines.InsertLines(at, n);
            model.insert(model.begin() + at, std::size_t(n), UnicodeString());
            break;
        }
        case 4: {
            const int n = int(random() % 4);
            lines.DeleteLines(at, n);
            model.erase(model.begin() + at, model.begin() + std::min(count, at + n));
            break;
        }
        case 5:
            if (at < count) {
                lines.Put(at, text);
                model[std::size_t(at)] = text;
            }
            break;
        }
        ASSERT_EQ(lines.Count(), int(model.size()));
        if (step % 97 == 0) {
            for (int i = 0; i < lines.Count(); ++i) ASSERT_EQ(lines[i], model[std::size_t(i)]) << step;
        }
    }
    int chars = 0;
    for (int i = 0; i < lines.Count(); ++i) {
        ASSERT_EQ(lines[i], model[std::size_t(i)]);
        EXPECT_EQ(lines.LineCharIndex(i), chars);
        chars += int(model[std::size_t(i)].size());
    }
}

}  // namespace
