#include <gtest/gtest.h>

#include "editor/EditorFixture.h"
#include "editor/NibEditSearch.h"
#include "highlighter/NibHighlighterTavlo.h"

namespace {

TEST_F(EditorTest, AHighlighterSearchEngineOrImageListThatIsDestroyedIsLetGo)
{
    SetLines({u": x dup ;"});
    auto highlighter = std::make_unique<TNibTavloHighlighter>();
    auto engine = std::make_unique<TNibEditSearch>();
    auto images = std::make_unique<TCustomImageList>(10, 12);
    edit.SetHighlighter(highlighter.get());
    edit.SetSearchEngine(engine.get());
    edit.BookMarkOptions().SetBookmarkImages(images.get());

    highlighter.reset();
    engine.reset();
    images.reset();
    EXPECT_EQ(edit.Highlighter(), nullptr);
    EXPECT_EQ(edit.SearchEngine(), nullptr);
    EXPECT_EQ(edit.BookMarkOptions().BookmarkImages(), nullptr);
    RecordingCanvas window;
    window.SetClipRect(edit.ClientRect());
    edit.Paint(window);  // paints without them
    EXPECT_THROW(edit.SearchReplace(u"x", u"", {}), ENibEditError);
}

TEST(EditorFreeNotification, AnEditorDestroyedFirstLeavesNothingBehind)
{
    RecordingGraphicsFactory graphics;
    TNibTavloHighlighter highlighter;
    TNibEditSearch engine;
    TCustomImageList images(10, 12);
    {
        TNibEdit edit;
        edit.SetHighlighter(&highlighter);
        edit.SetSearchEngine(&engine);
        edit.BookMarkOptions().SetBookmarkImages(&images);
        TNibEdit second;
        second.SetHighlighter(&highlighter);
        second.SetHighlighter(nullptr);
    }
    // Their destructors would call into the editors if these had stayed registered.
}

}  // namespace
