#include "editor/EditorFixture.h"
#include "editor/NibAssert.h"

TEST_F(EditorTest, NewEditorHasItsDefaultsAndFontMetrics)
{
    EXPECT_EQ(edit.Options().ToBits(), 0x026C0192u);
    EXPECT_TRUE(edit.Options().Contains(eoAutoIndent));
    EXPECT_TRUE(edit.Options().Contains(eoGroupUndo));
    EXPECT_TRUE(edit.Options().Contains(eoTabsToSpaces));
    EXPECT_EQ(edit.TabWidth(), 8);
    EXPECT_EQ(edit.RightEdge(), 80);
    EXPECT_EQ(edit.MaxScrollWidth(), 1024);
    EXPECT_EQ(edit.CaretXY(), BufferCoord(1, 1));
    EXPECT_EQ(edit.TopLine(), 1);
    EXPECT_EQ(edit.LeftChar(), 1);
    EXPECT_TRUE(edit.InsertMode());
    EXPECT_EQ(edit.GutterWidth(), 30);
    EXPECT_EQ(edit.TextOffset(), 32);
    EXPECT_EQ(edit.CharWidth(), 8);
    EXPECT_EQ(edit.LineHeight(), 16);
    EXPECT_EQ(edit.CharsInWindow(), 20);
    EXPECT_EQ(edit.LinesInWindow(), 10);
    EXPECT_EQ(edit.Font().Name, u"Courier New");
    EXPECT_EQ(edit.Font().Size(), 10);
}

TEST_F(EditorTest, ProportionalFontIsReplacedKeepingNameSizeStyleAndColour)
{
    graphics.DoubleWidth = {u'W'};  // measured bitmaps now report a maximum width above the average
    TFont font;
    font.Name = u"Sans";
    font.SetSize(14);
    font.Style = TFontStyles(TFontStyle::fsItalic);
    font.Color = clNavy;
    font.Quality = TFontQuality::fqAntialiased;
    edit.SetFont(font);
    EXPECT_EQ(edit.Font(), font);
    EXPECT_EQ(edit.CharWidth(), 8);
}

TEST_F(EditorTest, FontSmoothingGivesTheFontItsQualityUntilAnotherFontComes)
{
    EXPECT_EQ(edit.FontSmoothing(), fsmNone);
    EXPECT_EQ(edit.Font().Quality, TFontQuality::fqDefault);
    for (auto [method, quality] : {std::pair{fsmClearType, TFontQuality::fqClearType},
                                   std::pair{fsmNone, TFontQuality::fqNonAntialiased},
                                   std::pair{fsmAntiAlias, TFontQuality::fqAntialiased}}) {
        edit.SetFontSmoothing(method);
        EXPECT_EQ(edit.Font().Quality, quality);
    }
    edit.SetFont(TFont{});
    EXPECT_EQ(edit.Font().Quality, TFontQuality::fqDefault);
}

TEST_F(EditorTest, PixelConversionsRoundToNearestEvenAndStayInsideTheWindow)
{
    const int x0 = edit.GutterWidth() + 2;
    struct Case {
        int x, y;
        TDisplayCoord nearest, plain;
    };
    const Case cases[] = {
        {x0 + 12, 0, {3, 1}, {2, 1}},    // 1.5 cells goes to 2
        {x0 + 20, 0, {3, 1}, {3, 1}},    // 2.5 cells goes to 2 as well
        {x0 + 28, 17, {5, 2}, {4, 2}},   // 3.5 cells goes to 4
        {5, 0, {1, 1}, {1, 1}},          // inside the gutter
        {x0, 159, {1, 10}, {1, 10}},     // last whole row
        {x0, 170, {1, 10}, {1, 11}},     // below the window: nearest stays on the last whole row
    };
    for (const Case& c : cases) {
        EXPECT_EQ(edit.PixelsToNearestRowColumn(c.x, c.y), c.nearest) << c.x << "," << c.y;
        EXPECT_EQ(edit.PixelsToRowColumn(c.x, c.y), c.plain) << c.x << "," << c.y;
    }
    EXPECT_EQ(edit.RowColumnToPixels({3, 2}), (TPoint{x0 + 16, 16}));
}

TEST_F(EditorTest, StatusIsReportedOncePerPaintLockRelease)
{
    SetLines({u"abc", u"def"});
    std::vector<TNibStatusChanges> reports;
    edit.OnStatusChange = [&](TObject*, TNibStatusChanges c) { reports.push_back(c); };
    edit.IncPaintLock();
    edit.IncPaintLock();
    edit.SetCaretXY({2, 1});
    edit.SetCaretXY({3, 2});
    edit.DecPaintLock();
    EXPECT_TRUE(reports.empty());
    edit.DecPaintLock();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].Contains(scCaretX));
    EXPECT_TRUE(reports[0].Contains(scCaretY));
    EXPECT_TRUE(reports[0].Contains(scSelection));

    reports.clear();
    Type(u"x");
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_THROW(edit.DecPaintLock(), EAssertionFailed);
}

TEST_F(EditorTest, StatusIsReportedWithoutAWindowToo)
{
    host.reset();
    SetLines({u"abc"});
    int reports = 0;
    edit.OnStatusChange = [&](TObject*, TNibStatusChanges) { ++reports; };
    edit.SetCaretXY({3, 1});
    EXPECT_EQ(reports, 1);
}

TEST_F(EditorTest, LineTextReadsAndWritesTheCaretLineOnly)
{
    EXPECT_EQ(edit.LineText(), u"");
    edit.SetLineText(u"first");  // on an empty text this is the first line
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"first"}));
    edit.SetCaretXY({1, 1});
    edit.SetLineText(u"new");
    EXPECT_EQ(edit.LineText(), u"new");
}

TEST_F(EditorTest, LeftSpacingAndLeftSpaces)
{
    EXPECT_EQ(edit.LeftSpaces(u"\t  x"), 3);
    EXPECT_EQ(edit.LeftSpacesEx(u"\t  x", true), 10);
    EXPECT_EQ(edit.GetLeftSpacing(10, true), u"          ");  // eoTabsToSpaces is on
    edit.SetOptions(TNibEditorOptions(edit.Options()).Exclude(eoTabsToSpaces));
    EXPECT_EQ(edit.GetLeftSpacing(10, true), u"\t  ");
    EXPECT_EQ(edit.GetLeftSpacing(10, false), u"          ");
    edit.SetOptions(TNibEditorOptions(edit.Options()).Exclude(eoAutoIndent));
    EXPECT_EQ(edit.LeftSpaces(u"  x"), 0);
}
