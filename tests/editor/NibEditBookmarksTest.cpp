#include "editor/EditorFixture.h"
#include "editor/NibAssert.h"

namespace {

class BookmarkTest : public EditorTest {
protected:
    static int X(int column) { return 32 + (column - 1) * 8 + 1; }
    void Lines100()
    {
        std::vector<UnicodeString> lines;
        for (int i = 1; i <= 100; ++i) lines.push_back(u"line");
        SetLines(lines);
    }
    /// Presses on the selection, drags past the threshold and releases at a column of line 1.
    void DragTo(int column, TShiftState shift = 0)
    {
        const TBufferCoord b = edit.BlockBegin();
        edit.MouseDown(TMouseButton::mbLeft, ssLeft, X(b.Char), 1);
        edit.MouseMove(ssLeft, X(column), 1);
        ASSERT_TRUE(edit.Dragging());
        edit.MouseUp(TMouseButton::mbLeft, shift, X(column), 1);
    }
};

} // namespace

TEST_F(BookmarkTest, SetMovesAndRefusesBookmarks)
{
    SetLines({u"a", u"b", u"c"});
    edit.SetBookMark(10, 1, 1);
    edit.SetBookMark(3, 1, 4);
    EXPECT_EQ(edit.Marks().Count(), 0);
    edit.SetBookMark(3, 1, 1);
    edit.SetBookMark(3, 2, 2);
    ASSERT_EQ(edit.Marks().Count(), 1);
    EXPECT_EQ(edit.BookMark(3)->Line(), 2);
    EXPECT_EQ(edit.BookMark(3)->Char(), 2);

    edit.OnPlaceBookmark = [](TObject*, std::unique_ptr<TNibEditMark>& mark) { mark.reset(); };
    edit.SetBookMark(4, 1, 1);
    EXPECT_EQ(edit.BookMark(4), nullptr);
    EXPECT_EQ(edit.Marks().Count(), 1);
}

TEST_F(BookmarkTest, AClearHandlerMayDropTakeOrReplaceTheMark)
{
    SetLines({u"a", u"b"});
    std::unique_ptr<TNibEditMark> taken;
    int seen = -1;
    const std::vector<std::function<void(std::unique_ptr<TNibEditMark>&)>> handlers = {
        [&](std::unique_ptr<TNibEditMark>& mark) { seen = mark->BookmarkNumber(); },
        [](std::unique_ptr<TNibEditMark>& mark) { mark.reset(); },
        [&](std::unique_ptr<TNibEditMark>& mark) { taken = std::move(mark); },
        [&](std::unique_ptr<TNibEditMark>& mark) { mark = std::make_unique<TNibEditMark>(nullptr); },
    };
    for (std::size_t i = 0; i < handlers.size(); ++i) {
        SCOPED_TRACE(i);
        edit.OnClearBookmark = [&, i](TObject*, std::unique_ptr<TNibEditMark>& mark) { handlers[i](mark); };
        edit.SetBookMark(2, 1, 2);
        edit.ClearBookMark(2);
        EXPECT_EQ(edit.BookMark(2), nullptr);
        EXPECT_EQ(edit.Marks().Count(), 0);
    }
    EXPECT_EQ(seen, 2);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->Line(), 2);
}

TEST_F(BookmarkTest, MarkerCommandsToggleMoveAndGoWithCentring)
{
    Lines100();
    edit.BookMarkOptions().SetEnableKeys(true);
    TBufferCoord at{3, 49};
    edit.CommandProcessor(ecSetMarker0 + 1, u'\0', &at);
    ASSERT_NE(edit.BookMark(1), nullptr);
    edit.SetTopLine(50);
    edit.CommandProcessor(ecGotoMarker0 + 1, u'\0', nullptr);
    EXPECT_EQ(edit.CaretXY(), BufferCoord(3, 49));
    EXPECT_EQ(edit.TopLine(), 45);

    edit.CommandProcessor(ecSetMarker0 + 1, u'\0', nullptr);  // on its own line: removed
    EXPECT_EQ(edit.BookMark(1), nullptr);
    edit.CommandProcessor(ecSetMarker0 + 1, u'\0', nullptr);
    edit.SetCaretXY({1, 60});
    edit.CommandProcessor(ecSetMarker0 + 1, u'\0', nullptr);  // elsewhere: moved
    ASSERT_NE(edit.BookMark(1), nullptr);
    EXPECT_EQ(edit.BookMark(1)->Line(), 60);
    EXPECT_EQ(edit.Marks().Count(), 1);

    edit.BookMarkOptions().SetEnableKeys(false);
    edit.SetCaretXY({1, 1});
    edit.CommandProcessor(ecGotoMarker0 + 1, u'\0', nullptr);
    EXPECT_EQ(edit.CaretY(), 1);
}

TEST_F(BookmarkTest, GotoLineAndCenter)
{
    Lines100();
    edit.GotoLineAndCenter(80);
    EXPECT_EQ(edit.CaretXY(), BufferCoord(1, 80));
    EXPECT_EQ(edit.TopLine(), 76);
}

TEST_F(BookmarkTest, DraggingTheSelectionMovesOrCopiesIt)
{
    struct Case {
        const char* name;
        TBufferCoord from, to;
        int dropColumn;
        TShiftState shift;
        UnicodeString after;
    };
    const Case cases[] = {
        {"move after", {1, 1}, {5, 1}, 9, 0, u"def abc ghi"},
        {"copy with Ctrl", {1, 1}, {5, 1}, 9, ssCtrl, u"abc def abc ghi"},
        {"move before", {9, 1}, {12, 1}, 1, 0, u"ghiabc def "},
        {"onto itself", {1, 1}, {5, 1}, 3, 0, u"abc def ghi"},
    };
    for (const Case& c : cases) {
        SetLines({u"abc def ghi"});
        Select(c.from, c.to);
        const UnicodeString moved = edit.SelText();
        DragTo(c.dropColumn, c.shift);
        EXPECT_EQ(Lines()[0], c.after) << c.name;
        if (c.after != u"abc def ghi") {
            EXPECT_EQ(edit.SelText(), moved) << c.name;
            edit.Undo();
            EXPECT_EQ(Lines()[0], u"abc def ghi") << c.name;
        }
    }
}

TEST_F(BookmarkTest, EscapeCancelsADragAndTheReleaseThenDropsNothing)
{
    SetLines({u"abc def ghi"});
    Select({1, 1}, {5, 1});
    edit.MouseDown(TMouseButton::mbLeft, ssLeft, X(2), 1);
    edit.MouseMove(ssLeft, X(10), 1);
    ASSERT_TRUE(edit.Dragging());
    std::uint16_t escape = VK::ESCAPE;
    edit.KeyDown(escape, 0);
    EXPECT_FALSE(edit.Dragging());
    edit.MouseUp(TMouseButton::mbLeft, 0, X(10), 1);
    EXPECT_EQ(Lines()[0], u"abc def ghi");
}

TEST_F(BookmarkTest, DroppingFromAnotherEditorCopiesUnlessShiftIsHeld)
{
    TNibEdit other;
    FakeControlHost otherHost(other, 192, 160);
    other.Lines().Add(u"xyz");
    other.SetCaretAndSelection({3, 1}, {1, 1}, {3, 1});
    SetLines({u"abc"});
    bool accept = false;
    edit.DragOver(&other, X(2), 1, dsDragMove, 0, accept);
    EXPECT_TRUE(accept);
    edit.DragDrop(&other, X(2), 1, 0);
    EXPECT_EQ(Lines()[0], u"axybc");
    EXPECT_EQ(other.Lines()[0], u"xyz");
    edit.DragDrop(&other, X(1), 1, ssShift);
    EXPECT_EQ(other.Lines()[0], u"z");
    EXPECT_EQ(Lines()[0], u"xyaxybc");

    edit.SetReadOnly(true);
    edit.DragOver(&other, X(2), 1, dsDragMove, 0, accept);
    EXPECT_FALSE(accept);
}

TEST_F(BookmarkTest, DoubleClickSelectsTheWordButNotOverTheGutter)
{
    // The order in which the host reports a double click.
    auto doubleClick = [&](int x) {
        edit.MouseDown(TMouseButton::mbLeft, ssLeft, x, 1);
        edit.MouseUp(TMouseButton::mbLeft, 0, x, 1);
        edit.DblClick();
        edit.MouseDown(TMouseButton::mbLeft, ssLeft | ssDouble, x, 1);
        edit.MouseUp(TMouseButton::mbLeft, 0, x, 1);
    };
    SetLines({u"one two"});
    doubleClick(X(6));
    EXPECT_EQ(edit.SelText(), u"two");
    doubleClick(5);
    EXPECT_FALSE(edit.SelAvail());
}

TEST_F(BookmarkTest, AnEditorShowingAnothersTextSharesItsChangesAndUndo)
{
    SetLines({u"abc"});
    {
        TNibEdit view;
        FakeControlHost viewHost(view, 192, 160);
        view.SetLinesPointer(&edit);
        EXPECT_EQ(&view.Lines(), &edit.Lines());
        EXPECT_THROW(view.HookTextBuffer(&edit.Lines(), &edit.UndoList(), &edit.RedoList()), EAssertionFailed);
        view.SetCaretXY({4, 1});
        view.CommandProcessor(ecChar, u'd', nullptr);
        EXPECT_EQ(Lines()[0], u"abcd");
        EXPECT_TRUE(edit.Modified());
        edit.Undo();
        EXPECT_EQ(view.Lines()[0], u"abc");
    }
    Type(u"x");  // the view is gone: the store's own handlers are back
    EXPECT_EQ(Lines()[0], u"abcx");

    TNibEdit view;
    {
        TNibEdit owner;
        owner.Lines().Add(u"owned");
        view.SetLinesPointer(&owner);
        EXPECT_EQ(view.Text(), u"owned");
    }
    EXPECT_EQ(view.ChainedEditor(), nullptr);
    EXPECT_EQ(view.Lines().Count(), 0);
}
