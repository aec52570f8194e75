#include "settings/ConfigObject.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include "support/TempFolder.h"

namespace {

TStringList Lines(std::u16string_view text)
{
    TStringList lines;
    lines.SetText(text);
    return lines;
}

UnicodeString Saved(const TNrKeyValueSections& store)
{
    TStringList lines;
    store.SaveToStrings(lines);
    return lines.Text();
}

} // namespace

// Every reading rule at once: what a hand-edited file may hold, and what it saves back as.
TEST(ConfigObject, OddLinesParseAndSaveBack)
{
    TNrKeyValueSections store;
    store.LoadFromStrings(Lines(u"stray=before any header\n"
                                u"[ First ]\n"
                                u"  Name = Value \n"
                                u"name=second\n"
                                u"[   ]\n"
                                u"a=b=c\n"
                                u"=starts with equals\n"
                                u"no equals here\n"
                                u";comment=x\n"
                                u"#hash\n"
                                u"\n"
                                u"[Second\n"
                                u"[second]\n"
                                u"x=1\n"
                                u"[FIRST]\n"
                                u"late=yes\n"
                                u"[Empty]\n"));
    EXPECT_EQ(Saved(store), u"[First]\r\n"
                            u"Name=second\r\n"
                            u"a=b=c\r\n"
                            u"=starts with equals=\r\n"
                            u"no equals here=\r\n"
                            u";comment=x\r\n"
                            u"#hash=\r\n"
                            u"[Second=\r\n"
                            u"late=yes\r\n"
                            u"[second]\r\n"
                            u"x=1\r\n");
    EXPECT_EQ(store.GetValue(u"first", u"NAME"), u"second");
    EXPECT_EQ(store.IndexOf(u"Empty"), -1);
}

TEST(ConfigObject, SettersKeepFirstNameAndPlace)
{
    TNrKeyValueSections store;
    store.SetValue(u"Sec", u"Alpha", u"1");
    store.SetValue(u"Sec", u"Beta", u"2");
    store.SetValue(u"SEC", u"ALPHA", u"3");
    store.SetValue(u"", u"Key", u"ignored");
    store.SetValue(u"Sec", u"", u"ignored");
    store.AddSection(u"Empty");
    EXPECT_EQ(Saved(store), u"[Sec]\r\nAlpha=3\r\nBeta=2\r\n[Empty]\r\n");
    EXPECT_FALSE(store.KeyExists(u"", u"Alpha"));
    EXPECT_FALSE(store.KeyExists(u"Sec", u""));
    EXPECT_EQ(store.SectionAt(5), nullptr);
    EXPECT_EQ(store.SectionAt(0)->KeyNameAt(-1), u"");

    TNrKeyValueSections copy;
    copy.Assign(&store);
    EXPECT_EQ(Saved(copy), u"[Sec]\r\nAlpha=3\r\nBeta=2\r\n");
    EXPECT_TRUE(copy.CompareTo(&store));
    copy.SetValue(u"Sec", u"Beta", u"changed");
    EXPECT_FALSE(copy.CompareTo(&store));
    EXPECT_FALSE(copy.CompareTo(nullptr));

    store.DeleteSection(u"sec");
    store.SectionAt(0)->DeleteKey(u"none");
    EXPECT_EQ(Saved(store), u"[Empty]\r\n");
}

TEST(ConfigObject, LookupsStayRightAfterDeletesInTheMiddle)
{
    TNrKeyValueSections store;
    for (const char16_t* section : {u"A", u"B", u"\u00C9t\u00E9", u"D"})
        for (const char16_t* key : {u"k1", u"k2", u"k3"}) store.SetValue(section, key, UnicodeString(section) + key);
    store.DeleteSection(u"b");
    store.SectionAt(1)->DeleteKey(u"K1");
    EXPECT_EQ(store.IndexOf(u"\u00E9T\u00C9"), 1);
    EXPECT_EQ(store.IndexOf(u"d"), 2);
    EXPECT_EQ(store.IndexOf(u"B"), -1);
    EXPECT_EQ(store.SectionAt(1)->IndexOfKey(u"k3"), 1);
    EXPECT_EQ(store.GetValue(u"D", u"K3"), u"Dk3");

    store.SetValue(u"\u00E9t\u00E9", u"K3", u"updated");
    store.SetValue(u"\u00E9t\u00E9", u"K1", u"again");
    store.SetValue(u"b", u"k1", u"new");
    EXPECT_EQ(Saved(store), u"[A]\r\nk1=Ak1\r\nk2=Ak2\r\nk3=Ak3\r\n"
                            u"[\u00C9t\u00E9]\r\nk2=\u00C9t\u00E9k2\r\nk3=updated\r\nK1=again\r\n"
                            u"[D]\r\nk1=Dk1\r\nk2=Dk2\r\nk3=Dk3\r\n[b]\r\nk1=new\r\n");
}

TEST(ConfigObject, CompareIsOneDirectional)
{
    TNrKeyValueSections small, large;
    small.SetValue(u"S", u"a", u"1");
    large.SetValue(u"s", u"A", u"1");
    large.SetValue(u"s", u"b", u"2");
    large.SetValue(u"Other", u"c", u"3");
    EXPECT_TRUE(small.CompareTo(&large));
    EXPECT_FALSE(large.CompareTo(&small));
    small.SetValue(u"S", u"a", u"1 ");
    EXPECT_FALSE(small.CompareTo(&large));
    EXPECT_TRUE(TNrKeyValueSections().CompareTo(&small));
}

struct TypedCase {
    const char16_t* Stored;  // nullptr: the key is missing
    int Integer;             // read with default -7
    bool BoolFromFalse;      // read with default false
    bool BoolFromTrue;       // read with default true
};

TEST(ConfigObject, TypedReadsNeverFail)
{
    const TypedCase cases[] = {
        {nullptr, -7, false, true},   {u"1", 1, true, true},        {u"01", 1, true, true},
        {u"0", 0, false, false},      {u"2", 2, false, false},      {u"-1", -1, false, false},
        {u"true", -7, false, true},   {u"", -7, false, true},       {u"12x", -7, false, true},
        {u"$10", 16, false, false},   {u"2147483647", 2147483647, false, false},
        {u"2147483648", -7, false, true},
    };
    for (const TypedCase& c : cases) {
        TNrKeyValueSections store;
        if (c.Stored) store.WriteString(u"S", u"K", c.Stored);
        SCOPED_TRACE(c.Stored ? ToUtf8(c.Stored) : "missing");
        EXPECT_EQ(store.ReadInteger(u"S", u"K", -7), c.Integer);
        EXPECT_EQ(store.ReadBool(u"S", u"K", false), c.BoolFromFalse);
        EXPECT_EQ(store.ReadBool(u"S", u"K", true), c.BoolFromTrue);
    }

    TNrKeyValueSections store;
    store.WriteString(u"S", u"Empty", u"");
    EXPECT_EQ(store.ReadString(u"S", u"Empty", u"default"), u"");
    EXPECT_EQ(store.ReadString(u"S", u"Missing", u"default"), u"default");
    store.WriteInt64(u"S", u"Big", 9000000000LL);
    EXPECT_EQ(store.ReadInt64(u"S", u"Big", 0), 9000000000LL);
    store.WriteFloat(u"S", u"F", 1.25);
    EXPECT_EQ(store.GetValue(u"S", u"F"), u"1.25");
    EXPECT_EQ(store.ReadFloat(u"S", u"F", 0), 1.25);
    EXPECT_EQ(store.ReadFloat(u"S", u"Big", 0), 9e9);
    EXPECT_EQ(store.ReadFloat(u"S", u"Empty", 2.5), 2.5);
    store.WriteBool(u"S", u"B", true);
    store.WriteInteger(u"S", u"I", -42);
    EXPECT_EQ(store.GetValue(u"S", u"B"), u"1");
    EXPECT_EQ(store.GetValue(u"S", u"I"), u"-42");

    store.WriteText(u"S", u"T", u"two\r\nlines");
    EXPECT_EQ(store.GetValue(u"S", u"T"), u"two\\r\\nlines");
    EXPECT_EQ(store.ReadText(u"S", u"T", u"x"), u"two\r\nlines");
    EXPECT_EQ(store.ReadText(u"S", u"None", u"x"), u"x");
    store.WriteCrypt(u"S", u"C", u"hidden", u"pass");
    EXPECT_NE(store.GetValue(u"S", u"C"), u"hidden");
    EXPECT_EQ(store.ReadCrypt(u"S", u"C", u"pass"), u"hidden");
}

TEST(ConfigObject, FileIsEightBitWithCrLfAndReadsAnyLineEnd)
{
    TempFolder tmp;
    TNrKeyValueSections store;
    store.SetValue(u"Sec", u"Name", u"caf\u00e9");
    store.SetValue(u"Sec", u"Control", u"\u00ff\x01");
    ASSERT_EQ(store.SaveToFile(tmp.Name("a.config")), u"");
    EXPECT_EQ(tmp.Read("a.config"), "[Sec]\r\nName=caf\xe9\r\nControl=\xff\x01\r\n");

    tmp.Write("b.config", "[One]\ra=1\nb=2\r\n[Two]\rc=3");
    ASSERT_TRUE(store.LoadFromFile(tmp.Name("b.config")));
    EXPECT_EQ(Saved(store), u"[One]\r\na=1\r\nb=2\r\n[Two]\r\nc=3\r\n");
}

TEST(ConfigObject, ANameOrValueBeyondEightBitsMakesTheFileUtf8BehindItsMark)
{
    TempFolder tmp;
    struct Case {
        const char* What;
        UnicodeString Section, Key, Value;
    };
    const Case cases[] = {
        {"value", u"Terminal", u"FontFace", u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF"},
        {"key", u"Terminal", u"\u043F\u0435\u0447\u0430\u0442\u044C \u00e9", u"caf\u00e9"},
        {"section", u"\u0421\u0435\u043A\u0446\u0438\u044F", u"Key", u"x"},
        {"pair of surrogates", u"Terminal", u"Glyph", u"\U0001F4BE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        TNrKeyValueSections store;
        store.SetValue(u"First", u"Plain", u"caf\u00e9");
        store.SetValue(c.Section, c.Key, c.Value);
        ASSERT_EQ(store.SaveToFile(tmp.Name("wide.config")), u"");
        EXPECT_EQ(tmp.Read("wide.config"), "\xEF\xBB\xBF" + ToUtf8(Saved(store)));
        TMemoryStream stream;
        ASSERT_TRUE(store.SaveToStream(&stream));
        EXPECT_EQ(stream.Bytes(), tmp.Read("wide.config"));

        TNrKeyValueSections loaded;
        ASSERT_TRUE(loaded.LoadFromFile(tmp.Name("wide.config")));
        EXPECT_EQ(Saved(loaded), Saved(store));
        EXPECT_EQ(loaded.ReadString(c.Section, c.Key, u"missing"), c.Value);
        EXPECT_EQ(loaded.GetValue(u"first", u"PLAIN"), u"caf\u00e9");
    }
}

/// A stream that takes at most a few bytes, as a full medium does.
class FullStream : public TMemoryStream {
public:
    int Write(const void* buffer, int count) override { return TMemoryStream::Write(buffer, std::min(count, 5)); }
};

TEST(ConfigObject, StreamRoundTripEqualsTheFileRoundTrip)
{
    TempFolder tmp;
    TNrKeyValueSections store;
    store.SetValue(u"Sec", u"Name", u"caf\u00e9");
    store.SetValue(u"Sec", u"Wide", u"\u20ac");
    store.AddSection(u"Empty");
    store.SetValue(u"Two", u"a", u"x=y");
    ASSERT_EQ(store.SaveToFile(tmp.Name("a.config")), u"");
    TMemoryStream stream("prefix");
    stream.SetPosition(6);
    ASSERT_TRUE(store.SaveToStream(&stream));
    EXPECT_EQ(stream.Bytes(), "prefix" + tmp.Read("a.config"));

    TNrKeyValueSections fromFile;
    TNrKeyValueSections fromStream;
    fromStream.SetValue(u"Old", u"gone", u"1");
    ASSERT_TRUE(fromFile.LoadFromFile(tmp.Name("a.config")));
    stream.SetPosition(6);
    ASSERT_TRUE(fromStream.LoadFromStream(&stream));
    EXPECT_EQ(Saved(fromStream), Saved(fromFile));
    EXPECT_EQ(Saved(fromStream), u"[Sec]\r\nName=caf\u00e9\r\nWide=\u20ac\r\n[Two]\r\na=x=y\r\n");

    // A stream with a byte-order mark is decoded as such a file is.
    TMemoryStream utf8("\xEF\xBB\xBF[S]\nk=\xE2\x82\xAC");
    ASSERT_TRUE(fromStream.LoadFromStream(&utf8));
    EXPECT_EQ(fromStream.GetValue(u"S", u"k"), u"\u20ac");

    EXPECT_FALSE(store.SaveToStream(nullptr));
    EXPECT_FALSE(fromStream.LoadFromStream(nullptr));
    EXPECT_EQ(fromStream.GetValue(u"S", u"k"), u"\u20ac");
    FullStream full;
    EXPECT_FALSE(store.SaveToStream(&full));
}

TEST(ConfigObject, MissingOrUnreadableFileKeepsTheStore)
{
    TempFolder tmp;
    TNrKeyValueSections store;
    store.SetValue(u"Keep", u"me", u"1");
    UnicodeString error;
    EXPECT_FALSE(store.LoadFromFile(tmp.Name("missing.config"), &error));
    EXPECT_EQ(error, u"") << "a missing file is no fault";
    std::filesystem::create_directory(tmp.Path("folder.config"));
    EXPECT_FALSE(store.LoadFromFile(tmp.Name("folder.config")));
    ASSERT_EQ(::mkfifo(tmp.Path("pipe.config").c_str(), 0600), 0);
    EXPECT_FALSE(store.LoadFromFile(tmp.Name("pipe.config"), &error));
    EXPECT_EQ(error, u"Cannot open file \"" + tmp.Name("pipe.config") + u"\": it is a FIFO, not a regular file.");
    EXPECT_EQ(store.GetValue(u"Keep", u"me"), u"1");
}

TEST(ConfigObject, FailedSaveIsReportedAndSaveReplacesWholly)
{
    TempFolder tmp;
    tmp.Write("plain", "not a folder");
    TNrKeyValueSections store;
    store.SetValue(u"S", u"k", u"v");
    EXPECT_NE(store.SaveToFile(tmp.Name("plain/a.config")), u"");

    tmp.Write("old.config", "[Old]\r\nlonger=than the new text\r\n");
    ASSERT_EQ(store.SaveToFile(tmp.Name("old.config")), u"");
    EXPECT_EQ(tmp.Read("old.config"), "[S]\r\nk=v\r\n");
}
