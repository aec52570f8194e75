#include <gtest/gtest.h>

#include <climits>

#include <ostream>
#include <random>
#include <set>
#include <utility>
#include <string>
#include "highlighter/NibHighlighterTavlo.h"
#include "support/HighlighterNotices.h"

namespace {

struct Token {
    std::u16string text;
    TtkTokenKind kind;
    bool operator==(const Token&) const = default;
};

void PrintTo(const Token& t, std::ostream* os) { *os << "{\"" << ToUtf8(t.text) << "\", " << int(t.kind) << "}"; }

using Tokens = std::vector<Token>;

class Tavlo : public ::testing::Test {
protected:
    Tavlo()
    {
        for (const char16_t* w : {u":", u";", u"DUP", u"*", u"(", u"\\", u".\"", u"CHAR", u"EMIT", u"SQ"})
            h.KeyWords().Add(w);
        h.LocalWords().Add(u"SQ");
    }

    /// The tokens of one line, scanned from the range `range`.
    Tokens Scan(const UnicodeString& line, TNibRange range = nullptr)
    {
        h.SetRange(range);
        h.SetLine(line, 1);
        Tokens out;
        while (!h.GetEol()) {
            out.push_back({h.GetToken(), TtkTokenKind(h.GetTokenKind())});
            EXPECT_EQ(line.substr(std::size_t(h.GetTokenPos()), h.GetToken().size()), h.GetToken());
            h.Next();
        }
        return out;
    }

    TNibTavloHighlighter h;
};

} // namespace

TEST_F(Tavlo, SplitsADefinitionWithALocalWordAndComments)
{
    EXPECT_EQ(Scan(u": SQ DUP *  ; ( n -- n ) \\ rest"),
              (Tokens{{u":", tkKey}, {u" ", tkSpace}, {u"SQ", tkSymbol}, {u" ", tkSpace}, {u"DUP", tkKey},
                      {u" ", tkSpace}, {u"*", tkKey}, {u"  ", tkSpace}, {u";", tkKey}, {u" ", tkSpace},
                      {u"(", tkKey}, {u" n -- n )", tkComment}, {u" ", tkSpace}, {u"\\", tkKey},
                      {u" rest", tkComment}}));
}

TEST_F(Tavlo, StringsAndCharacterWords)
{
    EXPECT_EQ(Scan(u".\" hi there\" CHAR A EMIT"),
              (Tokens{{u".\"", tkKey}, {u" hi there\"", tkString}, {u" ", tkSpace}, {u"CHAR", tkKey},
                      {u" ", tkSpace}, {u"A", tkString}, {u" ", tkSpace}, {u"EMIT", tkKey}}));
    // The comparison is exact: a lower-case char is an ordinary word, and so is a string opener
    // that is not a keyword.
    EXPECT_EQ(Scan(u"char A S\" x\""),
              (Tokens{{u"char", tkIdentifier}, {u" ", tkSpace}, {u"A", tkNumber}, {u" ", tkSpace},
                      {u"S\"", tkIdentifier}, {u" ", tkSpace}, {u"x\"", tkIdentifier}}));
}

TEST_F(Tavlo, UnterminatedCommentAndStringRunToTheLineEnd)
{
    EXPECT_EQ(Scan(u"( open"), (Tokens{{u"(", tkKey}, {u" open", tkComment}}));
    EXPECT_EQ(Scan(u".\" open"), (Tokens{{u".\"", tkKey}, {u" open", tkString}}));
}

TEST_F(Tavlo, OpenerAtTheLineEndGivesNoEmptyTokenAndOpensNothingBelow)
{
    EXPECT_EQ(Scan(u"DUP \\"), (Tokens{{u"DUP", tkKey}, {u" ", tkSpace}, {u"\\", tkKey}}));
    EXPECT_EQ(h.GetRange(), nullptr);
    EXPECT_EQ(Scan(u"DUP", h.GetRange()), (Tokens{{u"DUP", tkKey}}));
}

TEST_F(Tavlo, PendingCharacterWordTravelsInTheRange)
{
    EXPECT_EQ(Scan(u"CHAR  "), (Tokens{{u"CHAR", tkKey}, {u"  ", tkSpace}}));
    TNibRange afterChar = h.GetRange();
    EXPECT_NE(afterChar, nullptr);
    EXPECT_EQ(Scan(u"", afterChar), Tokens{});
    EXPECT_NE(h.GetRange(), nullptr) << "an empty line keeps the character word pending";
    EXPECT_EQ(Scan(u"Q EMIT", afterChar), (Tokens{{u"Q", tkString}, {u" ", tkSpace}, {u"EMIT", tkKey}}));
    EXPECT_EQ(h.GetRange(), nullptr);

    // The same line scanned from the start of a text, after the line above was scanned last.
    Scan(u"CHAR");
    EXPECT_EQ(Scan(u"Q EMIT", nullptr), (Tokens{{u"Q", tkIdentifier}, {u" ", tkSpace}, {u"EMIT", tkKey}}));
    Scan(u"CHAR");
    h.ResetRange();
    h.SetLine(u"Q", 1);
    EXPECT_EQ(h.GetTokenID(), tkIdentifier);
}

TEST_F(Tavlo, CommentWordOutsideTheKeywordsIsAWord)
{
    h.KeyWords().Delete(h.KeyWords().IndexOf(u"("));
    EXPECT_EQ(Scan(u"( note ) DUP"),
              (Tokens{{u"(", tkIdentifier}, {u" ", tkSpace}, {u"note", tkIdentifier}, {u" ", tkSpace},
                      {u")", tkIdentifier}, {u" ", tkSpace}, {u"DUP", tkKey}}));
}

TEST_F(Tavlo, ListsChangedBetweenScansTakeEffect)
{
    EXPECT_EQ(Scan(u"ROT"), (Tokens{{u"ROT", tkIdentifier}}));
    h.KeyWords().Add(u"ROT");
    EXPECT_EQ(Scan(u"ROT"), (Tokens{{u"ROT", tkKey}}));
    h.LocalWords().Clear();
    EXPECT_EQ(Scan(u"SQ"), (Tokens{{u"SQ", tkKey}}));
}

TEST_F(Tavlo, ListsReplacedThroughTheSettersTakeEffectAtTheNextScan)
{
    // Scanned first, so that the scan has looked the words up before the lists change.
    EXPECT_EQ(Scan(u"CUBE ROT SQ"), (Tokens{{u"CUBE", tkIdentifier}, {u" ", tkSpace}, {u"ROT", tkIdentifier},
                                            {u" ", tkSpace}, {u"SQ", tkSymbol}}));
    TStringList words;
    words.SetText(u"CUBE");
    h.SetLocalWords(&words);
    words.SetText(u"ROT");
    h.SetKeyWords(&words);
    EXPECT_EQ(Scan(u"CUBE ROT SQ"), (Tokens{{u"CUBE", tkSymbol}, {u" ", tkSpace}, {u"ROT", tkKey},
                                            {u" ", tkSpace}, {u"SQ", tkIdentifier}}));
}

TEST_F(Tavlo, EmptyLineIsOneSpaceTokenAtItsEnd)
{
    h.SetLine(u"", 1);
    EXPECT_EQ(h.GetTokenID(), tkSpace);
    EXPECT_TRUE(h.GetEol());
}

TEST_F(Tavlo, LocalWordWinsOverKeyword)
{
    h.LocalWords().Add(u"DUP");
    EXPECT_EQ(Scan(u"DUP ("), (Tokens{{u"DUP", tkSymbol}, {u" ", tkSpace}, {u"(", tkKey}}));
    h.SetLine(u"DUP", 1);
    EXPECT_EQ(h.GetTokenAttribute(), h.SymbolAttri());
}

TEST_F(Tavlo, CharactersAroundTheTokenStartAreThoseOfTheScannedLine)
{
    struct Case {
        int Token;  // 0 for DUP, 2 for Swap
        int Offset;
        char16_t Char;
    };
    const Case cases[] = {
        {0, 0, u'D'}, {0, 3, u' '}, {0, 7, u'p'}, {0, 8, u'\0'}, {0, -1, u'\0'},
        {2, 0, u'S'}, {2, -1, u' '}, {2, -4, u'D'}, {2, -5, u'\0'}, {2, 3, u'p'}, {2, 4, u'\0'},
        {2, INT_MAX, u'\0'}, {2, INT_MIN, u'\0'},
    };
    for (const Case& c : cases) {
        h.SetLine(u"DUP Swap", 1);
        for (int i = 0; i < c.Token; ++i) h.Next();
        EXPECT_EQ(h.GetCharBeforeToken(c.Offset), c.Char) << c.Token << " " << c.Offset;
        EXPECT_EQ(h.GetCharAfterToken(c.Offset), c.Char) << c.Token << " " << c.Offset;
    }
    // By default the character just before the token and the one just after its start.
    h.SetLine(u"DUP Swap", 1);
    h.Next();
    EXPECT_EQ(h.GetCharBeforeToken(), u'P');
    EXPECT_EQ(h.GetCharAfterToken(), u'S');
    h.Next();
    EXPECT_EQ(h.GetCharBeforeToken(), u' ');
    EXPECT_EQ(h.GetCharAfterToken(), u'w');
}

TEST(TavloNumbers, ByBase)
{
    struct Case {
        int base;
        const char16_t* word;
        bool number;
    };
    const Case cases[] = {
        {16, u"BEEF", true},  {16, u"-10", true},   {16, u"$ff", false}, {16, u"$FF.", true},
        {16, u"10.", true},   {16, u"-", false},    {16, u"$", false},   {16, u"1.5", false},
        {16, u"G", false},    {16, u"-$1F", true},  {16, u"10..", false}, {16, u".", false},
        {10, u"A", false},    {10, u"99", true},    {10, u"$A", true},   {10, u"#12", true},
        {10, u"#1A", false},  {10, u"-#", false},   {2, u"101", true},   {2, u"12", false},
        {2, u"%101", true},   {2, u"%2", false},    {2, u"#9", true},    {36, u"V", true},
        {36, u"W", false},    {32, u"v", false},    {32, u"-V.", true},  {32, u"$G", false},
    };
    TNibTavloHighlighter h;
    for (const Case& c : cases) {
        h.SetMaxNumericBase(c.base);
        EXPECT_EQ(h.IsNumber(c.word), c.number) << "base " << c.base << " word " << ToUtf8(c.word);
    }
    h.SetMaxNumericBase(1);
    EXPECT_EQ(h.MaxNumericBase(), 2);
}

TEST(TavloAttributes, NamesStylesAndRoles)
{
    TNibTavloHighlighter h;
    ASSERT_EQ(h.AttributeCount(), 8);
    EXPECT_EQ(h.KeyAttri()->Name(), u"ReservedWord");
    EXPECT_EQ(h.KeyAttri()->FriendlyName(), u"Reserved Word");
    EXPECT_EQ(h.KeyAttri()->Style(), std::uint8_t(TFontStyle::fsBold));
    EXPECT_EQ(h.CommentAttri()->Style(), std::uint8_t(TFontStyle::fsItalic));
    EXPECT_EQ(h.CommentAttri()->Foreground(), clNone);
    EXPECT_FALSE(h.KeyAttri()->StyleIsStored());
    const TNibHighlighterAttributes* roles[] = {h.CommentAttri(), h.IdentifierAttri(), h.KeyAttri(),
                                                h.StringAttri(),  h.SpaceAttri(),      h.SymbolAttri()};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(h.GetDefaultAttribute(i), roles[i]);
    EXPECT_EQ(h.GetDefaultAttribute(6), nullptr);
    EXPECT_GE(GetPlaceableHighlighters().FindByName(u"Forth"), 0);
    EXPECT_EQ(h.ExportName(), u"TavloHighlighter");
    EXPECT_EQ(GetPlaceableHighlighters().FindByClass(&h), GetPlaceableHighlighters().FindByFriendlyName(u"Tavlo"));
}

TEST(TavloAttributes, TokenAttributePassesThroughTheHandler)
{
    TNibTavloHighlighter h;
    h.OnGetTokenAttribute = [](TNibHighlighterAttributes* a) { a->SetBackground(clYellow); };
    h.SetLine(u"12", 1);
    EXPECT_EQ(h.GetTokenAttribute(), h.NumberAttri());
    EXPECT_EQ(h.NumberAttri()->Background(), clYellow);
}

TEST(TavloAttributes, ListSettersNotifyTheEditors)
{
    TNibTavloHighlighter h;
    THighlighterNotices notices(h);
    TStringList words;
    words.SetText(u"SWAP\r\nDROP\r\nSWAP");
    h.SetKeyWords(&words);
    EXPECT_EQ(notices.Count(), 1);
    EXPECT_EQ(h.KeyWords().Count(), 2);
    EXPECT_TRUE(h.IsKeyword(u"DROP"));
    EXPECT_FALSE(h.IsKeyword(u"drop"));
    h.SetLocalWords(nullptr);
    h.SetLocalWords(&words);
    EXPECT_TRUE(h.IsLocalword(u"SWAP"));
    h.CommentAttri()->SetForeground(clNavy);
    EXPECT_EQ(notices.Count(), 3);
}

TEST(TavloAttributes, LocalWordsReplacedByTheSameSetNotifyNoEditor)
{
    TNibTavloHighlighter h;
    THighlighterNotices notices(h);
    // One of each word, as written, in the order of their code units.
    EXPECT_TRUE(h.ReplaceLocalWords({u"b", u"SQ", u"B", u"b", u"\u00e9", u"a", u"SQ"}));
    EXPECT_EQ(notices.Count(), 1);
    EXPECT_EQ(h.LocalWords().Text(), u"B\r\nSQ\r\na\r\nb\r\n\u00e9\r\n");
    EXPECT_TRUE(h.IsLocalword(u"b"));
    // The same words in another order, repeated or not, change nothing.
    EXPECT_FALSE(h.ReplaceLocalWords({u"\u00e9", u"a", u"b", u"B", u"SQ", u"SQ"}));
    EXPECT_EQ(notices.Count(), 1);
    EXPECT_TRUE(h.ReplaceLocalWords({u"\u00e9", u"a", u"b", u"B"}));
    EXPECT_EQ(notices.Count(), 2);
    EXPECT_FALSE(h.IsLocalword(u"SQ"));
    // The setter given the list itself keeps it, and notifies as it always does.
    h.SetLocalWords(&h.LocalWords());
    EXPECT_EQ(notices.Count(), 3);
    EXPECT_EQ(h.LocalWords().Text(), u"B\r\na\r\nb\r\n\u00e9\r\n");
    EXPECT_TRUE(h.ReplaceLocalWords({}));
    EXPECT_EQ(h.LocalWords().Count(), 0);
}

TEST(TavloAttributes, LocalWordsSayWhetherTheyMayChangeRanges)
{
    TNibTavloHighlighter h;
    TStringList keys;
    keys.SetText(u"CHAR\r\n(\r\n.\"\r\nNEW\r\nDUP");
    h.SetKeyWords(&keys);
    THighlighterNotices notices(h);
    // A change of local words alters ranges only where a keyword that opens a comment, a string
    // or a character word becomes or stops being local.
    const struct {
        std::vector<UnicodeString> words;
        bool alters;
    } steps[] = {
        {{u"NEW"}, false},
        {{u"NEW", u"CHAR"}, true},
        {{u"NEW", u"CHAR", u"DUP"}, false},
        {{u"NEW", u"DUP"}, true},
        {{u"NEW", u"("}, true},
        {{u"NEW", u".\""}, true},
        {{u".\"", u"[CHAR]", u"S\"", u"\\"}, false},  // openers, but no keywords here
        {{u"[CHAR]"}, true},
    };
    for (const auto& step : steps) {
        notices.MayAlterRanges.clear();
        ASSERT_TRUE(h.ReplaceLocalWords(step.words));
        EXPECT_EQ(notices.MayAlterRanges, std::vector<bool>{step.alters}) << ToUtf8(step.words.front());
    }
    // A list handed out for direct changes may have changed anything, once.
    h.KeyWords().Add(u"[CHAR]");
    for (bool alters : {true, false}) {
        notices.MayAlterRanges.clear();
        ASSERT_TRUE(h.ReplaceLocalWords({u"[CHAR]", alters ? u"A" : u"B"}));
        EXPECT_EQ(notices.MayAlterRanges, std::vector<bool>{alters});
    }
    // Outside a notification every change counts.
    EXPECT_TRUE(h.ChangeMayAlterRanges());
    // An update fires once, altering ranges when any change in it did.
    h.BeginUpdate();
    h.ReplaceLocalWords({u"[CHAR]", u"C"});
    h.ReplaceLocalWords({u"C"});
    h.ReplaceLocalWords({u"D"});
    h.EndUpdate();
    EXPECT_EQ(notices.MayAlterRanges, (std::vector<bool>{false, true}));
}

// Few or many names changed at a time, repeated names, names that are keywords too: the scan
// classes every word as the list holds it.
TEST(TavloAttributes, LocalWordsChangedAnyWayAreScannedAsListed)
{
    TNibTavloHighlighter h;
    std::vector<UnicodeString> vocabulary;
    for (int i = 0; i < 400; ++i) vocabulary.push_back(u"w" + IntToStr(i));
    TStringList keys;
    keys.SetText(u"w1\r\nw2\r\nw3\r\nCHAR");
    h.SetKeyWords(&keys);
    std::mt19937 random(3);
    std::set<UnicodeString> local;
    for (int step = 0; step < 300; ++step) {
        const std::set<UnicodeString> before = local;
        // Later on, names mostly join a few at a time, so that the table fills up as it goes.
        const unsigned changes = step < 100 && step % 5 == 0 ? 1 + random() % 40 : random() % 4;
        for (unsigned n = 0; n < changes; ++n) {
            const UnicodeString& w = vocabulary[random() % vocabulary.size()];
            if (!local.erase(w) || (step >= 100 && random() % 4 != 0)) local.insert(w);
        }
        std::vector<UnicodeString> words(local.begin(), local.end());
        for (unsigned n = random() % 3; n > 0 && !words.empty(); --n) words.push_back(words[random() % words.size()]);
        std::shuffle(words.begin(), words.end(), random);
        EXPECT_EQ(h.ReplaceLocalWords(words), local != before);
        // Read through a const view: the list handed out for changing makes the table anew.
        ASSERT_EQ(std::as_const(h).LocalWords().Count(), int(local.size())) << "step " << step;
        for (const UnicodeString& w : vocabulary) {
            h.SetLine(w, 1);
            const bool listed = local.count(w) != 0;
            ASSERT_EQ(h.GetTokenID() == tkSymbol, listed) << ToUtf8(w) << " at step " << step;
            ASSERT_EQ(h.IsLocalword(w), listed);
        }
    }
    EXPECT_GT(local.size(), 250u);
}

// The range-only walk of a line against the full scan, over lines of openers, near misses,
// closers, blanks of every kind (CR and LF inside a line too), wide glyphs and empty lines, with
// openers that are keywords, local words or neither.
TEST(TavloRanges, LineRangeScanAgreesWithTheFullScan)
{
    const UnicodeString openers[] = {u"(", u"\\", u".(", u".\\", u".\"", u"S\"", u"C\"", u"ABORT\"", u"CHAR", u"[CHAR]"};
    const UnicodeString others[] = {u"X(",  u"((", u"CHAR(", u"[CHAR", u"ABORT\"\"", u"\\\\", u")", u"\"", u"a)b",
                                    u"x\"y", u"DUP", u"漢字", u"é(", u"-12", u"\x01", u"R", u"]"};
    const UnicodeString blanks[] = {u" ", u"\t", u"\r", u"\n", u"  ", u"\r\n", u"\x1F"};
    std::mt19937 random(11);
    const auto pick = [&](const auto& from) { return from[random() % std::size(from)]; };
    TNibTavloHighlighter full, fast;
    for (int round = 0; round < 60; ++round) {
        TStringList keys;
        std::vector<UnicodeString> locals;
        for (const UnicodeString& w : openers) {
            if (random() % 4 != 0) keys.Add(w);
            if (random() % 5 == 0) locals.push_back(w);
        }
        keys.Add(u"DUP");
        for (TNibTavloHighlighter* h : {&full, &fast}) {
            h->SetKeyWords(&keys);
            h->ReplaceLocalWords(locals);
            h->ResetRange();
        }
        for (int n = 0; n < 200; ++n) {
            UnicodeString line;
            for (unsigned pieces = random() % 9; pieces > 0; --pieces) {
                const unsigned kind = random() % 3;
                line += kind == 0 ? pick(openers) : kind == 1 ? pick(others) : pick(blanks);
                if (random() % 2) line += pick(blanks);
            }
            full.SetLine(line, n);
            full.NextToEol();
            fast.ScanLineRange(line, n);
            ASSERT_EQ(fast.GetRange(), full.GetRange()) << "round " << round << ", line \"" << ToUtf8(line) << "\"";
        }
    }
}

// The names of a document as edits change them: a few inserted, deleted, replaced or moved at one
// place, names defined twice, now and then a change of many, and the list changed behind the scan's back
// through the list handed out or the setter. The list always holds the distinct names, and the
// result says whether that set changed.
TEST(TavloAttributes, LocalWordsFollowTheEditsOfADocumentsNames)
{
    std::vector<UnicodeString> vocabulary;
    for (int i = 0; i < 400; ++i) vocabulary.push_back(u"n" + IntToStr(i));
    vocabulary.push_back(u"CHAR");
    TNibTavloHighlighter h;
    TStringList keys;
    keys.SetText(u"CHAR\r\nn1");
    h.SetKeyWords(&keys);
    std::mt19937 random(17);
    const auto word = [&] { return vocabulary[random() % vocabulary.size()]; };
    std::vector<UnicodeString> doc;
    for (int i = 0; i < 100; ++i) doc.push_back(word());
    std::set<UnicodeString> held;
    for (int step = 0; step < 2000; ++step) {
        const std::size_t at = random() % (doc.size() + 1);
        switch (random() % 10) {
        case 0:
        case 1:
            for (unsigned n = 1 + random() % 3; n > 0; --n) doc.insert(doc.begin() + std::ptrdiff_t(at), word());
            break;
        case 9:
            // A definition moved a little, past one or two others.
            if (at + 3 < doc.size()) {
                const auto from = doc.begin() + std::ptrdiff_t(at);
                std::rotate(from, from + 1, from + 2 + random() % 2);
            }
            break;
        case 2:
        case 3:
            doc.erase(doc.begin() + std::ptrdiff_t(at),
                      doc.begin() + std::ptrdiff_t(std::min(doc.size(), at + 1 + random() % 3)));
            break;
        case 4:
            if (at < doc.size()) doc[at] = word();
            break;
        case 5:
            // A name defined once more, elsewhere; or one of two definitions taken away.
            if (!doc.empty()) doc.insert(doc.begin() + std::ptrdiff_t(at), doc[random() % doc.size()]);
            break;
        case 6:
            if (random() % 10 == 0) std::shuffle(doc.begin(), doc.end(), random);
            else for (unsigned n = 20 + random() % 20; n > 0; --n) doc.insert(doc.begin() + std::ptrdiff_t(at), word());
            break;
        case 7:
            if (random() % 4 == 0) {
                h.LocalWords().Add(word());
                held.clear();
                const TStringList& list = std::as_const(h).LocalWords();
                for (int i = 0; i < list.Count(); ++i) held.insert(list[i]);
            }
            break;
        case 8:
            if (random() % 4 == 0) {
                TStringList other;
                other.Add(word());
                h.SetLocalWords(&other);
                held = {other[0]};
            }
            break;
        }
        const std::set<UnicodeString> names(doc.begin(), doc.end());
        ASSERT_EQ(h.ReplaceLocalWords(doc), names != held) << "step " << step;
        held = names;
        const TStringList& list = std::as_const(h).LocalWords();
        std::set<UnicodeString> listed;
        for (int i = 0; i < list.Count(); ++i) listed.insert(list[i]);
        ASSERT_EQ(listed, names) << "step " << step;
        ASSERT_EQ(list.Count(), int(names.size())) << "step " << step;
        for (int n = 0; n < 20; ++n) {
            const UnicodeString& w = n % 2 ? word() : doc.empty() ? vocabulary[0] : doc[random() % doc.size()];
            h.ResetRange();
            h.SetLine(w, 1);
            ASSERT_EQ(h.GetTokenID() == tkSymbol, names.count(w) != 0) << ToUtf8(w) << " at step " << step;
        }
    }
}
