#include <gtest/gtest.h>

#include "editor/EditorFixture.h"

namespace {

struct HorizontalMove {
    TNibEditorCommand Command;
    bool ScrollPastEol;
    TBufferCoord From;
    TBufferCoord To;
};

// Left and Right at the ends of lines, each move as a key gives it, with and without a caret that
// may stand past the line end.
TEST_F(EditorTest, LeftAndRightCrossLineEnds)
{
    SetLines({u"abc", u"", u"\tx", u"last"});
    const HorizontalMove cases[] = {
        {ecLeft, true, {1, 2}, {4, 1}},     // to the previous line's end, after its last char
        {ecLeft, false, {1, 2}, {4, 1}},
        {ecLeft, false, {1, 4}, {3, 3}},    // after the tab and the x
        {ecLeft, false, {1, 3}, {1, 2}},    // onto an empty line
        {ecLeft, false, {1, 1}, {1, 1}},    // nothing before the text's start
        {ecLeft, true, {7, 1}, {6, 1}},     // past the end, one step back
        {ecRight, false, {3, 1}, {4, 1}},   // onto the line end
        {ecRight, false, {4, 1}, {1, 2}},   // from the line end to the next line
        {ecRight, false, {1, 2}, {1, 3}},   // across an empty line
        {ecRight, false, {5, 4}, {5, 4}},   // the text's end stays
        {ecRight, true, {4, 1}, {1, 2}},    // from the line end to the next line either way
        {ecRight, true, {5, 4}, {6, 4}},    // past the text's end when that is allowed
    };
    for (const HorizontalMove& c : cases) {
        TNibEditorOptions options = edit.Options();
        if (c.ScrollPastEol) options.Include(eoScrollPastEol);
        else options.Exclude(eoScrollPastEol);
        edit.SetOptions(options);
        edit.SetCaretXY(c.From);
        edit.CommandProcessor(c.Command, u'\0', nullptr);
        EXPECT_EQ(edit.CaretXY(), c.To) << (c.Command == ecLeft ? "Left" : "Right") << " from " << c.From
                                       << (c.ScrollPastEol ? " past the end" : "");
    }
}

// Right without a caret past the line end walks every place of the text once, and Left walks back.
TEST_F(EditorTest, RightAndLeftWalkEveryPlaceOfTheText)
{
    SetLines({u"ab", u"", u"c"});
    edit.SetOptions(TNibEditorOptions(edit.Options()).Exclude(eoScrollPastEol));
    const TBufferCoord places[] = {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {1, 3}, {2, 3}};
    edit.SetCaretXY({1, 1});
    for (const TBufferCoord& p : places) {
        EXPECT_EQ(edit.CaretXY(), p);
        edit.CommandProcessor(ecRight, u'\0', nullptr);
    }
    EXPECT_EQ(edit.CaretXY(), BufferCoord(2, 3));
    for (auto p = std::rbegin(places); p != std::rend(places); ++p) {
        EXPECT_EQ(edit.CaretXY(), *p);
        edit.CommandProcessor(ecLeft, u'\0', nullptr);
    }
    EXPECT_EQ(edit.CaretXY(), BufferCoord(1, 1));
}

}  // namespace
