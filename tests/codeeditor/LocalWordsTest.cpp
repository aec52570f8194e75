#include <gtest/gtest.h>
#include <vector>
#include "codeeditor/LocalWords.h"

namespace {

using W = std::vector<UnicodeString>;

W Scan(std::u16string_view text, const TStringList& paired = TStringList())
{
    TNibEditStringList lines;
    lines.SetText(text);
    W names;
    ScanLocalWords(lines, paired, names);
    return names;
}

TEST(LocalWords, ANameIsTakenAfterEachColonThatOpensADefinition)
{
    EXPECT_EQ(Scan(u": SQ DUP * ; : CUBE DUP SQ * ;"), (W{u"SQ", u"CUBE"}));
    // A colon inside a definition starts nothing; after ";" the next one does.
    EXPECT_EQ(Scan(u": A : B ; : C ;"), (W{u"A", u"C"}));
    // Control characters separate words as blanks do; the name may stand on a later line.
    EXPECT_EQ(Scan(u"\x01:\tX\r\n;\x1f:\r\n\r\n  Y"), (W{u"X", u"Y"}));
    EXPECT_EQ(Scan(u":: NOT-A-DEF ; ;: NEITHER"), W{});
    // Names come in the order met, repeated ones too.
    EXPECT_EQ(Scan(u": B ; : A ; : B ;"), (W{u"B", u"A", u"B"}));
    EXPECT_EQ(Scan(u""), W{});
}

TEST(LocalWords, TheScanTellsWhetherTheNamesChanged)
{
    TNibEditStringList lines;
    lines.SetText(u": SQ DUP * ; : CUBE DUP SQ * ;");
    W names{u"SQ", u"CUBE", u"OLD"};
    EXPECT_TRUE(ScanLocalWords(lines, TStringList(), names));
    EXPECT_EQ(names, (W{u"SQ", u"CUBE"}));
    EXPECT_FALSE(ScanLocalWords(lines, TStringList(), names));
    lines.Put(0, u": SQ DUP * ; : CUBE DUP SQ * ; : OLD ;");
    EXPECT_TRUE(ScanLocalWords(lines, TStringList(), names));
    EXPECT_EQ(names, (W{u"SQ", u"CUBE", u"OLD"}));
    lines.Put(0, u": SQ DUP * ; : CUBA DUP SQ * ; : OLD ;");
    EXPECT_TRUE(ScanLocalWords(lines, TStringList(), names));
    EXPECT_EQ(names, (W{u"SQ", u"CUBA", u"OLD"}));
}

TEST(LocalWords, CommentsHideDefinitionsAndStringsDoNot)
{
    EXPECT_EQ(Scan(u"\\ : LINE ;\r\n( : COMMENT ) : SQ DUP * ;\r\n.( : SHOWN ) : CUBE ;"), (W{u"SQ", u"CUBE"}));
    // A comment word that ends its line hides nothing of the next.
    EXPECT_EQ(Scan(u"\\\n: NEXT ;"), W{u"NEXT"});
    EXPECT_EQ(Scan(u"\\ x\r: NEXT ;"), W{u"NEXT"});
    // An open parenthesis without its end hides the rest of the text.
    EXPECT_EQ(Scan(u"( : A ;\r\n: B ;"), W{});
    // A string is glued to its word, so its words count as the converter writes them.
    EXPECT_EQ(Scan(u".\" say : HELLO\" ;"), W{u"HELLO\""});
    // A defining word takes the next word as its name, whatever it is: no comment starts there.
    EXPECT_EQ(Scan(u"' ( : A ;"), W{u"A"});
}

TEST(LocalWords, NamesAreTheirEightBitText)
{
    EXPECT_EQ(Scan(u": \u00e9t\u00e9 ; : \u2211X ;"), (W{u"\u00e9t\u00e9", u"?X"}));
}

TEST(LocalWords, PairedWordsAndWordsDefinedWithCreateTakeTheNextWord)
{
    TStringList paired;
    paired.Add(u"maker");
    // The word after a paired word is its name: no comment starts there.
    EXPECT_EQ(Scan(u"MAKER ( : A ;", paired), W{u"A"});
    EXPECT_EQ(Scan(u"MAKER ( : A ;"), W{});
    // CONST: makes words with CREATE: from then on its next word is glued to it.
    EXPECT_EQ(Scan(u": CONST: CREATE , DOES> @ ; 5 CONST: ( : B ;"), (W{u"CONST:", u"B"}));
    EXPECT_EQ(Scan(u": CONST: , DOES> @ ; 5 CONST: ( : B ;"), W{u"CONST:"});
}

TEST(LocalWords, ANameLongerThanABlockHoldsIsCut)
{
    const UnicodeString name(1500, u'N');
    EXPECT_EQ(Scan(u": " + name + u" ;"), W{name.substr(0, 1020)});
}

}  // namespace
