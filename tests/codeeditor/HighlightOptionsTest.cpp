#include <gtest/gtest.h>
#include "codeeditor/HighlightOptions.h"
#include "support/HighlighterNotices.h"

namespace {

TEST(HighlightOptions, ColoursBaseKeywordsAndSwitchReachTheHighlighter)
{
    TNibTavloHighlighter highlighter;
    THighlighterNotices notices(highlighter);
    TConfigTermOptions options;
    options.EditorUseSyntaxHighlighting = false;
    options.EditorBaseWordColor = 0x010203;
    options.EditorCommentColor = 0x040506;
    options.EditorNumericColor = 0x070809;
    options.EditorStringColor = 0x0A0B0C;
    options.EditorCompiledWordColor = 0x0D0E0F;
    options.EditorSymbolColor = 0x101112;
    options.EditorMaxNumericBase = 32;
    TStringList words;
    words.Add(u"SWAP");
    words.Add(u"DUP");

    ApplyEditorHighlightOptions(options, words, highlighter);

    EXPECT_FALSE(highlighter.Enabled());
    EXPECT_EQ(highlighter.KeyAttri()->Foreground(), 0x010203);
    EXPECT_EQ(highlighter.CommentAttri()->Foreground(), 0x040506);
    EXPECT_EQ(highlighter.NumberAttri()->Foreground(), 0x070809);
    EXPECT_EQ(highlighter.StringAttri()->Foreground(), 0x0A0B0C);
    EXPECT_EQ(highlighter.SymbolAttri()->Foreground(), 0x0D0E0F);
    EXPECT_EQ(highlighter.IdentifierAttri()->Foreground(), 0x101112);
    // Bold keywords and italic comments as created become plain.
    EXPECT_EQ(highlighter.KeyAttri()->Style(), 0);
    EXPECT_EQ(highlighter.CommentAttri()->Style(), 0);
    EXPECT_EQ(highlighter.MaxNumericBase(), 32);
    EXPECT_GT(notices.Count(), 0);
    ASSERT_EQ(highlighter.KeyWords().Count(), 2);
    EXPECT_TRUE(highlighter.IsKeyword(u"DUP"));
    EXPECT_FALSE(highlighter.IsKeyword(u"dup"));

    // A second application replaces the keywords, and tells the editors that every line's range
    // may have changed: CHAR now carries a character word into the next line.
    words.Clear();
    words.Add(u"OVER");
    words.Add(u"CHAR");
    notices.MayAlterRanges.clear();
    ApplyEditorHighlightOptions(options, words, highlighter);
    EXPECT_FALSE(highlighter.IsKeyword(u"DUP"));
    EXPECT_TRUE(highlighter.IsKeyword(u"OVER"));
    EXPECT_GT(notices.Rescans(), 0);
}

}  // namespace
