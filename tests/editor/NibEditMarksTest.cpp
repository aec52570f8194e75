#include <gtest/gtest.h>

#include <vector>

#include "editor/NibEditMarks.h"

namespace {

// An editor stand-in: it owns the mark list and records the gutter lines it is asked to repaint.
struct FakeEditor : TNibEditMarkOwner {
    TNibEditMarkList* GetMarkList() const override { return const_cast<TNibEditMarkList*>(&Marks); }
    void InvalidateGutterLine(int ALine) override { Repainted.push_back(ALine); }
    void PlaceBookmark(std::unique_ptr<TNibEditMark>& Mark) override
    {
        if (OnPlaceBookmark) OnPlaceBookmark(nullptr, Mark);
    }

    TNibEditMark* AddMark(int line, int bookmark = -1)
    {
        auto mark = std::make_unique<TNibEditMark>(this);
        mark->SetLine(line);
        mark->SetBookmarkNumber(bookmark);
        TNibEditMark* raw = mark.get();
        Marks.Add(std::move(mark));
        return raw;
    }
    std::vector<int> Lines() const
    {
        std::vector<int> lines;
        for (int i = 0; i < Marks.Count(); ++i) lines.push_back(Marks.Items(i)->Line());
        return lines;
    }

    TNibEditMarkList Marks{this};
    std::vector<int> Repainted;
    TPlaceMarkEvent OnPlaceBookmark;
};

TEST(NibEditMarks, MarksFollowDeletedAndInsertedLines)
{
    FakeEditor editor;
    for (int line : {4, 5, 6, 7, 8, 9}) editor.AddMark(line);
    editor.Marks.LinesDeleted(5, 3);  // lines 5..7
    EXPECT_EQ(editor.Lines(), (std::vector<int>{4, 5, 5, 5, 5, 6}));

    editor.Marks.LinesInserted(5, 2);
    EXPECT_EQ(editor.Lines(), (std::vector<int>{4, 7, 7, 7, 7, 8}));
    editor.Marks.LinesInserted(1, 1);
    EXPECT_EQ(editor.Lines(), (std::vector<int>{5, 8, 8, 8, 8, 9}));
}

TEST(NibEditMarks, VisibleListedMarksRepaintTheirGutterLines)
{
    FakeEditor editor;
    TNibEditMark* mark = editor.AddMark(3);
    EXPECT_TRUE(editor.Repainted.empty());  // invisible
    mark->SetVisible(true);
    mark->SetLine(6);
    mark->SetImageIndex(2);
    mark->SetChar(9);
    EXPECT_EQ(editor.Repainted, (std::vector<int>{3, 3, 6, 6}));

    auto extracted = editor.Marks.Extract(mark);
    ASSERT_EQ(extracted.get(), mark);
    EXPECT_EQ(mark->Edit(), nullptr);
    editor.Repainted.clear();
    mark->SetLine(1);
    EXPECT_TRUE(editor.Repainted.empty());
    EXPECT_EQ(editor.Marks.Extract(mark), nullptr);
}

TEST(NibEditMarks, ClearLineKeepsBookmarksAndEveryChangeIsAnnounced)
{
    FakeEditor editor;
    int changes = 0;
    editor.Marks.OnChange = [&](TObject*) { ++changes; };
    editor.AddMark(2);
    editor.AddMark(2, 4);
    editor.AddMark(3);
    editor.AddMark(2);
    editor.Marks.ClearLine(2);
    EXPECT_EQ(editor.Lines(), (std::vector<int>{2, 3}));
    EXPECT_TRUE(editor.Marks.First()->IsBookmark());
    EXPECT_EQ(changes, 6);
}

TEST(NibEditMarks, MarksForALineStopAtSixteen)
{
    FakeEditor editor;
    std::vector<TNibEditMark*> onLine;
    for (int i = 0; i < 20; ++i) {
        editor.AddMark(9);
        onLine.push_back(editor.AddMark(7));
    }
    TNibEditMarks marks;
    marks.fill(editor.Marks.First());
    editor.Marks.GetMarksForLine(7, marks);
    for (std::size_t i = 0; i < marks.size(); ++i) EXPECT_EQ(marks[i], onLine[i]) << i;
    editor.Marks.GetMarksForLine(8, marks);
    EXPECT_EQ(marks[0], nullptr);
}

TEST(NibEditMarks, BookmarkQueries)
{
    FakeEditor editor;
    TNibEditMark* mark = editor.AddMark(12, 3);
    mark->SetChar(5);
    int x = -1, y = -1;
    EXPECT_FALSE(editor.Marks.GetBookMark(4, x, y));
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_TRUE(editor.Marks.GetBookMark(3, x, y));
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 12);
    EXPECT_TRUE(editor.Marks.IsBookmark(3));
    editor.AddMark(1);  // a plain mark is no bookmark -1
    EXPECT_FALSE(editor.Marks.IsBookmark(-1));
}

TEST(NibEditMarks, PlaceLetsTheEditorReplaceOrDropTheMark)
{
    FakeEditor editor;
    editor.OnPlaceBookmark = [&](TObject*, std::unique_ptr<TNibEditMark>& mark) {
        if (mark->BookmarkNumber() == 1) mark.reset();
        else mark->SetLine(40);
    };
    auto first = std::make_unique<TNibEditMark>(&editor);
    first->SetBookmarkNumber(1);
    editor.Marks.Place(std::move(first));
    EXPECT_EQ(editor.Marks.Count(), 0);
    editor.Marks.Place(std::make_unique<TNibEditMark>(&editor));
    EXPECT_EQ(editor.Lines(), std::vector<int>{40});
}

}  // namespace
