#include <gtest/gtest.h>

#include <string>
#include "editor/EditorFixture.h"
#include "editor/NibEditSearch.h"

namespace {

/// Writes down each transient paint: its type, where it drew and whether the caret was hidden.
class PaintTransient : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        SetLines({u"one foo", u"two", u"foo three"});
        edit.SetSearchEngine(&engine);
        edit.OnPaintTransient = [this](TObject*, Canvas& ACanvas, TTransientType type) {
            calls += type == ttBefore ? 'B' : 'A';
            if (&ACanvas != &host->OutsidePaint) calls += 'p';
            if (host->CaretShown) calls += '!';
            if (ACanvas.Font().Name != edit.Font().Name) calls += 'f';
        };
        calls.clear();
    }

    TNibEditSearch engine;
    std::string calls;
};

TEST_F(PaintTransient, ASearchIsBracketedAndEachCaretPlacementInsideItToo)
{
    edit.SearchReplace(u"foo", u"", {});
    // Before the search; each caret placement (to the line start, then to the match end); after.
    EXPECT_EQ(calls, "BBABAA");
    EXPECT_EQ(edit.SelText(), u"foo");
    EXPECT_TRUE(host->CaretShown);  // hidden for each call only
}

TEST_F(PaintTransient, ABackspaceIsOnePassHoweverTheCaretMoves)
{
    edit.SetCaretXY({1, 2});
    calls.clear();
    edit.CommandProcessor(ecDeleteLastChar, 0, nullptr);
    EXPECT_EQ(edit.Lines()[0], u"one footwo");
    EXPECT_EQ(calls, "BA");
    // A second pass after it runs in full again.
    calls.clear();
    edit.CommandProcessor(ecDeleteLastChar, 0, nullptr);
    EXPECT_EQ(calls, "BA");
}

TEST_F(PaintTransient, TypingEndsWithAnAfterPassAndPaintingDrawsOnItsOwnCanvas)
{
    edit.CommandProcessor(ecChar, u'x', nullptr);
    EXPECT_EQ(calls, "BAA");

    calls.clear();
    RecordingCanvas window;
    window.SetClipRect(edit.ClientRect());
    edit.Paint(window);
    EXPECT_EQ(calls, "Ap");

    // Without a handler the host is never asked for a canvas.
    edit.OnPaintTransient = nullptr;
    host->OutsidePaint.Calls.clear();
    edit.SetCaretXY({2, 3});
    EXPECT_TRUE(host->OutsidePaint.Calls.empty());
}

}  // namespace
