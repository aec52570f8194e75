#include <gtest/gtest.h>
#include <vector>
#include "codeeditor/LocalWords.h"

namespace {

std::vector<UnicodeString> Scan(std::string_view text)
{
    TStringList list;
    ScanLocalWords(text, list);
    std::vector<UnicodeString> words;
    for (int i = 0; i < list.Count(); ++i) words.push_back(list[i]);
    return words;
}

TEST(LocalWords, ANameIsTakenAfterEachColonThatOpensADefinition)
{
    using W = std::vector<UnicodeString>;
    EXPECT_EQ(Scan(": SQ DUP * ; : CUBE DUP SQ * ; "), (W{u"SQ", u"CUBE"}));
    // A colon inside a definition starts nothing; after ";" the next one does.
    EXPECT_EQ(Scan(": A : B ; : C ; "), (W{u"A", u"C"}));
    // Control bytes separate words as blanks do; a name that ends the text counts.
    EXPECT_EQ(Scan("\x01:\tX\r\n;\x1f: Y"), (W{u"X", u"Y"}));
    EXPECT_EQ(Scan(":: NOT-A-DEF ; ;: NEITHER "), W{});
    EXPECT_EQ(Scan(""), W{});
}

TEST(LocalWords, EightBitNamesKeepTheirCharacters)
{
    const std::vector<UnicodeString> words = Scan(": \xe9t\xe9 ; ");
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0], u"\u00e9t\u00e9");
}

}  // namespace
