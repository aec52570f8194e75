#include <gtest/gtest.h>

#include "editor/EditorFixture.h"

namespace {

TEST_F(EditorTest, WordPositionsFromTheCaretAndFromAPosition)
{
    SetLines({u"abc def", u"  x"});
    edit.SetCaretXY({2, 1});
    EXPECT_EQ(edit.NextWordPos(), (TBufferCoord{5, 1}));
    EXPECT_EQ(edit.WordStart(), (TBufferCoord{1, 1}));
    EXPECT_EQ(edit.WordEnd(), (TBufferCoord{4, 1}));
    EXPECT_EQ(edit.PrevWordPos(), (TBufferCoord{1, 1}));
    EXPECT_EQ(edit.NextWordPosEx({8, 1}), (TBufferCoord{3, 2}));
    EXPECT_EQ(edit.PrevWordPosEx({1, 2}), (TBufferCoord{8, 1}));
    EXPECT_EQ(edit.CaretXY(), (TBufferCoord{2, 1}));  // asking moves nothing
}

TEST_F(EditorTest, MatchingBracketFromTheCaretKeepsTheSelection)
{
    SetLines({u"(a(b)c)", u"x"});
    Select({1, 2}, {2, 2});
    edit.InternalSetCaretXY({1, 1});
    EXPECT_EQ(edit.GetMatchingBracket(), (TBufferCoord{7, 1}));
    EXPECT_EQ(edit.GetMatchingBracketEx({5, 1}), (TBufferCoord{3, 1}));
    EXPECT_EQ(edit.GetMatchingBracketEx({2, 1}), (TBufferCoord{0, 0}));
    edit.FindMatchingBracket();
    EXPECT_EQ(edit.CaretXY(), (TBufferCoord{7, 1}));
    EXPECT_EQ(edit.SelText(), u"x");
    edit.InternalSetCaretXY({2, 1});
    edit.FindMatchingBracket();  // no bracket: the caret stays
    EXPECT_EQ(edit.CaretXY(), (TBufferCoord{2, 1}));

    UnicodeString token = u"?";
    TNibHighlighterAttributes* attri = nullptr;
    EXPECT_FALSE(edit.GetHighlighterAttriAtRowCol({1, 1}, token, attri));  // no highlighter
    EXPECT_TRUE(token.empty());
}

}  // namespace
