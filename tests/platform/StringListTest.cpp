#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include "platform/Folders.h"
#include "platform/Stream.h"
#include "platform/StringList.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace {

std::vector<UnicodeString> Lines(const TStringList& list)
{
    std::vector<UnicodeString> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

/// Files in a folder of the test's own: a fixed name under the shared temporary folder clashed
/// with the same test run at once from another build tree.
class StringListFiles : public ::testing::Test {
protected:
    UnicodeString Write(const std::string& bytes)
    {
        fFolder.Write("in.txt", bytes);
        return fFolder.Name("in.txt");
    }
    TempFolder fFolder;
    const std::filesystem::path fDir{fFolder.Path()};
};

TEST(StringList, TextSplitsAtEveryKindOfLineBreak)
{
    struct Case {
        std::u16string text;
        std::vector<UnicodeString> lines;
    };
    const Case cases[] = {
        {u"", {}},
        {u"a", {u"a"}},
        {u"a\r\n", {u"a"}},
        {u"a\r\nb", {u"a", u"b"}},
        {u"a\rb\nc\r\nd", {u"a", u"b", u"c", u"d"}},
        {u"\r\n", {u""}},
        {u"a\r\r\nb", {u"a", u"", u"b"}},
        {u"a\n\rb", {u"a", u"", u"b"}},
        {u"a\n\n", {u"a", u""}},
    };
    for (const Case& c : cases) {
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Lines(list), c.lines) << ToUtf8(c.text);
    }
}

TEST(StringList, TextEndsEveryLineWithCrLf)
{
    TStringList list;
    list.Add(u"one");
    list.Add(u"");
    list.Add(u"two");
    EXPECT_EQ(list.Text(), u"one\r\n\r\ntwo\r\n");
}

TEST(StringList, SortedListKeepsDuplicatesAndFindsByCaseRule)
{
    TStringList list;
    list.SetSorted(true);
    for (auto s : {u"beta", u"Alpha", u"gamma", u"alpha", u"Beta"}) list.Add(s);
    EXPECT_EQ(list.Count(), 5);
    for (int i = 1; i < list.Count(); ++i) EXPECT_LE(CompareText(list[i - 1], list[i]), 0);
    int index = -1;
    EXPECT_TRUE(list.Find(u"BETA", index));
    EXPECT_TRUE(SameText(list[index], u"beta"));
    EXPECT_TRUE(index == 0 || !SameText(list[index - 1], u"beta")) << "Find lands on the first duplicate";
    EXPECT_FALSE(list.Find(u"delta", index));
    EXPECT_EQ(index, 4);

    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(u"BETA"), -1);
    EXPECT_EQ(list[list.IndexOf(u"Beta")], u"Beta");
    EXPECT_EQ(list[0], u"Alpha") << "upper case sorts first by code unit";
    EXPECT_THROW(list.Insert(0, u"x"), std::logic_error);
}

TEST(StringList, SortedListDuplicateRules)
{
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(TDuplicates::dupIgnore);
    list.Add(u"dup");
    EXPECT_EQ(list.Add(u"DUP"), 0);
    EXPECT_EQ(list.Count(), 1);
    list.SetDuplicates(TDuplicates::dupError);
    EXPECT_THROW(list.Add(u"Dup"), std::logic_error);
    EXPECT_EQ(list.Count(), 1);
}

TEST(StringList, CommaTextRoundTrip)
{
    const UnicodeString withNul = UnicodeString(u"tab\tnul") + u'\0' + u"end";
    TStringList list;
    for (const UnicodeString& s : {UnicodeString(u"12"), UnicodeString(), UnicodeString(u"a b"),
                                   UnicodeString(u"say \"hi\""), UnicodeString(u"x,y"), withNul})
        list.Add(s);
    EXPECT_EQ(list.CommaText(), u"12,,\"a b\",\"say \"\"hi\"\"\",\"x,y\",\"" + withNul + u"\"");
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(Lines(back), Lines(list));

    back.SetCommaText(u"  a b ,\"c\"\"d\", e,");
    EXPECT_EQ(Lines(back), (std::vector<UnicodeString>{u"a", u"b", u"c\"d", u"e", u""}));
    back.SetCommaText(u"\"unterminated");
    EXPECT_EQ(Lines(back), std::vector<UnicodeString>{u"unterminated"});
    back.Clear();
    back.Add(u"");
    EXPECT_EQ(back.CommaText(), u"\"\"");
}

TEST(StringList, UnsortedIndexOfIgnoresCaseUnlessAsked)
{
    TStringList list;
    list.SetText(u"One\r\ntwo\r\nONE");
    EXPECT_EQ(list.IndexOf(u"one"), 0);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(u"ONE"), 2);
    EXPECT_EQ(list.IndexOf(u"one"), -1);
    EXPECT_THROW(list.Delete(3), std::out_of_range);
}

TEST(StringList, NameValueAccess)
{
    TStringList list;
    list.SetText(u"Port=COM4\r\nplain\r\nBaud=115200\r\nEmpty=\r\nUrl=a=b");
    EXPECT_EQ(list.Names(0), u"Port");
    EXPECT_EQ(list.Names(1), u"");
    EXPECT_EQ(list.ValueFromIndex(1), u"");
    EXPECT_EQ(list.Values(u"PORT"), u"COM4");
    EXPECT_EQ(list.Values(u"Url"), u"a=b");
    EXPECT_EQ(list.IndexOfName(u"Empty"), 3);
    EXPECT_EQ(list.IndexOfName(u"plain"), -1);

    list.SetValue(u"baud", u"9600");
    EXPECT_EQ(list[2], u"baud=9600");
    list.SetValue(u"New", u"1");
    EXPECT_EQ(list[list.Count() - 1], u"New=1");
    list.SetValue(u"Port", u"");
    EXPECT_EQ(list.IndexOfName(u"Port"), -1);
}

TEST_F(StringListFiles, LoadDetectsByteOrderMarks)
{
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"utf-8", "\xEF\xBB\xBF" "caf\xC3\xA9\r\n\xE2\x82\xAC"},
        {"utf-16 le", std::string("\xFF\xFE" "c\0a\0f\0\xE9\0\r\0\n\0\xAC\x20", 16)},
        {"utf-16 be", std::string("\xFE\xFF" "\0c\0a\0f\0\xE9\0\r\0\n\x20\xAC", 16)},
    };
    for (const Case& c : cases) {
        TStringList list;
        ASSERT_TRUE(list.LoadFromFile(Write(c.bytes))) << c.name;
        EXPECT_EQ(Lines(list), (std::vector<UnicodeString>{u"caf\u00E9", u"\u20AC"})) << c.name;
    }
}

TEST_F(StringListFiles, SaveWritesTheEncodingTheFileWasReadInByteForByte)
{
    std::vector<MarkedTextFile> files = MarkedTextFiles();
    files.push_back({"8-bit", TTextEncoding::Ansi, EveryByteText()});
    const UnicodeString out = FromUtf8((fDir / "out.txt").string());
    for (const MarkedTextFile& file : files) {
        SCOPED_TRACE(file.Name);
        TStringList list;
        ASSERT_TRUE(list.LoadFromFile(Write(file.Bytes)));
        EXPECT_EQ(list.Encoding(), file.Encoding);
        ASSERT_TRUE(list.SaveToFile(out));
        std::string bytes;
        ASSERT_TRUE(ReadFileBytes(out, bytes));
        EXPECT_EQ(bytes, file.Bytes);
    }
    // A list that was never loaded writes 8-bit text.
    TStringList fresh;
    fresh.SetText(kMarkedText);
    EXPECT_EQ(fresh.Encoding(), TTextEncoding::Ansi);
}

TEST_F(StringListFiles, AUtf8MarkBeforeBytesThatAreNotUtf8IsNoPartOfTheLinesAndGoesBackOnSave)
{
    struct Case {
        const char* Name;
        std::string Bytes;
        std::vector<UnicodeString> Lines;
    };
    const Case cases[] = {
        {"a section header first", "\xEF\xBB\xBF[COM PORT]\r\nPortName=caf\xE9\r\n", {u"[COM PORT]", u"PortName=caf\u00E9"}},
        {"a sequence cut at the end", "\xEF\xBB\xBF" "a\r\n\xE2\x82", {u"a", u"\u00E2\u0082"}},
        // What follows the mark is 8-bit text, even where it starts as a UTF-16 mark or another UTF-8 one.
        {"then a utf-16 mark", "\xEF\xBB\xBF\xFF\xFE" "a\r\n", {u"\u00FF\u00FE" "a"}},
        {"then a second utf-8 mark", "\xEF\xBB\xBF\xEF\xBB\xBF\xE9\r\n", {u"\u00EF\u00BB\u00BF\u00E9"}},
    };
    const UnicodeString out = fFolder.Name("out.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TStringList fromFile, fromStream;
        ASSERT_TRUE(fromFile.LoadFromFile(Write(c.Bytes)));
        TMemoryStream in(c.Bytes);
        fromStream.LoadFromStream(in);
        for (const TStringList* list : {&fromFile, &fromStream}) {
            EXPECT_EQ(Lines(*list), c.Lines);
            EXPECT_EQ(list->Encoding(), TTextEncoding::Ansi);
            EXPECT_TRUE(list->LoadedExactly());
        }
        const std::string saved = c.Bytes + (c.Bytes.ends_with("\r\n") ? "" : "\r\n");
        ASSERT_TRUE(fromFile.SaveToFile(out));
        EXPECT_EQ(fFolder.Read("out.txt"), saved);
        TMemoryStream stream;
        ASSERT_TRUE(fromStream.SaveToStream(stream));
        EXPECT_EQ(stream.Bytes(), saved);

        // Told to write 8-bit text, the list writes the lines alone; a list loaded since from a file
        // without the mark forgets it too.
        fromFile.SetEncoding(TTextEncoding::Ansi);
        ASSERT_TRUE(fromFile.SaveToFile(out));
        EXPECT_EQ(fFolder.Read("out.txt"), saved.substr(Utf8ByteOrderMark.size()));
        ASSERT_TRUE(fromStream.LoadFromFile(Write("plain\r\n")));
        ASSERT_TRUE(fromStream.SaveToFile(out));
        EXPECT_EQ(fFolder.Read("out.txt"), "plain\r\n");
    }
}

TEST_F(StringListFiles, LoadWithoutMarkTakesEveryByteAsItIs)
{
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') bytes += char(b);
    TStringList list;
    ASSERT_TRUE(list.LoadFromFile(Write(bytes + "\nx")));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], FromAnsi(bytes));
}

TEST_F(StringListFiles, LoadOfMissingFileFailsAndKeepsTheList)
{
    TStringList list;
    list.Add(u"kept");
    EXPECT_FALSE(list.LoadFromFile(FromUtf8((fDir / "missing.txt").string())));
    EXPECT_EQ(Lines(list), std::vector<UnicodeString>{u"kept"});
}

TEST_F(StringListFiles, SaveWritesEightBitTextWithCrLf)
{
    TStringList list;
    list.SetText(u"caf\u00E9\n\u20AC x");
    UnicodeString name = FromUtf8((fDir / "out.txt").string());
    ASSERT_TRUE(list.SaveToFile(name));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(name, bytes));
    EXPECT_EQ(bytes, "caf\xE9\r\n? x\r\n");

    UnicodeString reason;
    EXPECT_FALSE(list.SaveToFile(FromUtf8(fDir.string()), &reason)) << "the target is a folder";
    EXPECT_FALSE(reason.empty());
}

} // namespace
