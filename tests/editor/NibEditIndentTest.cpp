#include "editor/EditorFixture.h"

namespace {

void SetOption(TNibEdit& edit, TNibEditorOption option, bool on)
{
    TNibEditorOptions options = edit.Options();
    if (on) options.Include(option);
    else options.Exclude(option);
    edit.SetOptions(options);
}

} // namespace

TEST_F(EditorTest, BlockIndentAndUnindentAreOneUndoStepEach)
{
    SetLines({u"a", u"b", u"c", u"d", u"e"});
    edit.SetTabWidth(2);
    Select({1, 2}, {1, 5});
    edit.CommandProcessor(ecBlockIndent, u'\0', nullptr);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"a", u"  b", u"  c", u"  d", u"e"}));
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(3, 2));
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(1, 5));

    edit.CommandProcessor(ecBlockUnindent, u'\0', nullptr);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"a", u"b", u"c", u"d", u"e"}));
    edit.Undo();
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"a", u"  b", u"  c", u"  d", u"e"}));
    // The restored selection is the lines it was, not a column block.
    EXPECT_EQ(edit.ActiveSelectionMode(), smNormal);
    EXPECT_EQ(edit.SelText(), u"b\r\n  c\r\n  d\r\n");
    edit.Undo();
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"a", u"b", u"c", u"d", u"e"}));
    EXPECT_EQ(edit.ActiveSelectionMode(), smNormal);
    EXPECT_EQ(edit.SelText(), u"b\r\nc\r\nd\r\n");
    EXPECT_FALSE(edit.CanUndo());
    edit.Redo();
    EXPECT_EQ(edit.ActiveSelectionMode(), smNormal);
    edit.Redo();
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"a", u"b", u"c", u"d", u"e"}));
    EXPECT_EQ(edit.ActiveSelectionMode(), smNormal);
}

TEST_F(EditorTest, UnindentRemovesOneTabStepOfLeadingWhitespace)
{
    struct Case {
        UnicodeString line;
        int tabWidth;
        UnicodeString after;
    };
    const Case cases[] = {
        {u"\tx", 4, u"x"},   {u"\t\tx", 4, u"\tx"}, {u"   x", 2, u" x"},
        {u" \tx", 4, u"x"},  {u"  x", 4, u"x"},     {u"x", 4, u"x"},
    };
    for (const Case& c : cases) {
        SetLines({c.line, u"y"});
        edit.SetTabWidth(c.tabWidth);
        Select({1, 1}, {1, 2});
        edit.DoBlockUnindent();
        EXPECT_EQ(Lines()[0], c.after) << "\"" << std::string(c.line.begin(), c.line.end()) << "\"";
        if (c.after == c.line) {
            EXPECT_FALSE(edit.CanUndo());
        }
        edit.ClearUndo();
    }
}

TEST_F(EditorTest, TabAndShiftTabKeys)
{
    SetOption(edit, eoSmartTabs, false);
    SetLines({u"ab"});
    edit.SetTabWidth(4);
    edit.SetCaretXY({2, 1});
    edit.CommandProcessor(ecTab, u'\0', nullptr);
    EXPECT_EQ(Lines()[0], u"a   b");  // to the next tab stop with blanks
    EXPECT_EQ(edit.CaretX(), 5);
    edit.CommandProcessor(ecShiftTab, u'\0', nullptr);
    EXPECT_EQ(Lines()[0], u"ab");
    EXPECT_EQ(edit.CaretX(), 2);
    edit.Undo();
    edit.Undo();
    EXPECT_EQ(Lines()[0], u"ab");

    SetOption(edit, eoTabsToSpaces, false);
    edit.SetCaretXY({2, 1});
    edit.CommandProcessor(ecTab, u'\0', nullptr);
    EXPECT_EQ(Lines()[0], u"a\tb");

    SetOption(edit, eoSmartTabs, true);
    SetOption(edit, eoTabsToSpaces, true);
    SetLines({u"if  x then", u""});
    edit.SetCaretXY({1, 2});
    edit.CommandProcessor(ecTab, u'\0', nullptr);
    EXPECT_EQ(Lines()[1], u"    ");  // to the word after "if  " above
}

TEST_F(EditorTest, HomeAndEndKeysToggleBetweenTextAndLineEnds)
{
    SetOption(edit, eoEnhanceHomeKey, true);
    SetLines({u"  x   "});
    struct Step {
        TNibEditorCommand command;
        int caretX;
    };
    const Step steps[] = {{ecLineEnd, 4}, {ecLineEnd, 7}, {ecLineEnd, 4}, {ecLineStart, 3}, {ecLineStart, 1},
                          {ecLineStart, 3}};
    for (const Step& s : steps) {
        edit.CommandProcessor(s.command, u'\0', nullptr);
        EXPECT_EQ(edit.CaretX(), s.caretX) << s.command;
    }
    SetOption(edit, eoEnhanceEndKey, false);
    edit.CommandProcessor(ecLineEnd, u'\0', nullptr);
    EXPECT_EQ(edit.CaretX(), 7);
    edit.CommandProcessor(ecLineEnd, u'\0', nullptr);
    EXPECT_EQ(edit.CaretX(), 7);
}

TEST_F(EditorTest, CaseCommandsChangeTheWordOrTheSelectionAndUndoInOneStep)
{
    struct Case {
        TNibEditorCommand command;
        UnicodeString line;
        int caretX;
        UnicodeString after;
    };
    const Case cases[] = {
        {ecTitleCase, u"say hELLO", 6, u"say Hello"},
        {ecToggleCase, u"aBc d", 2, u"AbC d"},
        {ecUpperCase, u"ab  cd", 4, u"AB  cd"},  // in the blanks: the word before
        {ecLowerCase, u"ABC", 1, u"abc"},
        {ecUpperCaseBlock, u"abc", 2, u"aBc"},   // no selection: one character
    };
    for (const Case& c : cases) {
        SetLines({c.line});
        edit.SetCaretXY({c.caretX, 1});
        edit.CommandProcessor(c.command, u'\0', nullptr);
        EXPECT_EQ(Lines()[0], c.after) << c.command;
        if (c.command < ecUpperCaseBlock) {
            EXPECT_EQ(edit.CaretX(), c.caretX) << c.command;
        }
        edit.Undo();
        EXPECT_EQ(Lines()[0], c.line) << c.command;
    }
    SetLines({u"abc def"});
    Select({2, 1}, {6, 1});
    edit.CommandProcessor(ecToggleCaseBlock, u'\0', nullptr);
    EXPECT_EQ(Lines()[0], u"aBC Def");
    EXPECT_EQ(edit.SelText(), u"BC D");
}

TEST_F(EditorTest, SelectionTestsInEachMode)
{
    SetLines({u"abcdef", u"abcdef", u"abcdef"});
    Select({5, 1}, {2, 3});
    EXPECT_EQ(edit.UnifiedSelection(), (TBufferBlock{1, 2, 3, 5}));
    struct Case {
        TNibSelectionMode mode;
        TBufferCoord point;
        bool inside;
    };
    const Case cases[] = {
        {smNormal, {5, 1}, true},  {smNormal, {4, 1}, false}, {smNormal, {1, 3}, true}, {smNormal, {2, 3}, false},
        {smColumn, {2, 2}, true},  {smColumn, {5, 2}, false}, {smColumn, {1, 2}, false},
        {smLine, {6, 3}, true},    {smLine, {1, 4}, false},
    };
    for (const Case& c : cases) {
        edit.SetSelectionMode(c.mode);
        Select({5, 1}, {2, 3});
        EXPECT_EQ(edit.IsPointInSelection(c.point), c.inside) << int(c.mode) << " " << c.point;
    }
}

TEST_F(EditorTest, ClearAllForgetsTextMarksAndUndo)
{
    SetLines({u"a", u"b"});
    edit.SetBookMark(1, 1, 2);
    Type(u"x");
    edit.CommandProcessor(ecClearAll, u'\0', nullptr);
    EXPECT_EQ(edit.Lines().Count(), 0);
    EXPECT_EQ(edit.Marks().Count(), 0);
    EXPECT_EQ(edit.BookMark(1), nullptr);
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_FALSE(edit.Modified());
}

TEST_F(EditorTest, UnderWordWrapHomeEndAndArrowsKnowTheEndOfAWrappedRow)
{
    edit.SetWordWrap(true);
    SetLines({u"aaaa bbbb cccc dddd eeee ffff"});
    const int rowTwoStart = edit.DisplayToBufferPos({1, 2}).Char;
    ASSERT_GT(rowTwoStart, 1);

    edit.CommandProcessor(ecLineEnd, u'\0', nullptr);
    EXPECT_EQ(edit.CaretX(), rowTwoStart);
    EXPECT_EQ(edit.DisplayXY().Row, 1);  // shown at the end of the first row
    edit.CommandProcessor(ecRight, u'\0', nullptr);
    EXPECT_EQ(edit.CaretX(), rowTwoStart);
    EXPECT_EQ(edit.DisplayXY(), (TDisplayCoord{1, 2}));
    edit.CommandProcessor(ecLineEnd, u'\0', nullptr);
    EXPECT_EQ(edit.CaretX(), 30);
    edit.CommandProcessor(ecLineStart, u'\0', nullptr);
    EXPECT_EQ(edit.CaretX(), rowTwoStart);
    edit.CommandProcessor(ecLeft, u'\0', nullptr);
    EXPECT_EQ(edit.CaretX(), rowTwoStart);
    EXPECT_EQ(edit.DisplayXY().Row, 1);
    edit.CommandProcessor(ecLineStart, u'\0', nullptr);
    EXPECT_EQ(edit.CaretX(), 1);
}

TEST_F(EditorTest, UnderWordWrapHomeAndEndInAnEmptyEditorStayAtTheStart)
{
    edit.SetWordWrap(true);
    SetLines({});
    for (bool enhanced : {false, true}) {
        SetOption(edit, eoEnhanceHomeKey, enhanced);
        SetOption(edit, eoEnhanceEndKey, enhanced);
        for (TNibEditorCommand command : {ecLineStart, ecLineEnd, ecSelLineStart, ecSelLineEnd}) {
            edit.CommandProcessor(command, u'\0', nullptr);
            EXPECT_EQ(edit.CaretXY(), BufferCoord(1, 1)) << command << (enhanced ? " enhanced" : "");
        }
    }
}

TEST_F(EditorTest, AnIndentTheTrimTakesBackLeavesTheSelectionWhereTheLineEnds)
{
    // The Code Editor's indent by one column on an empty line whose tab the trim removes again:
    // typing over the selection fills no blank in front of the text, and undo puts none back.
    SetLines({u"", u"\t", u"a"});
    SetOption(edit, eoTrimTrailingSpaces, true);
    SetOption(edit, eoTabsToSpaces, false);
    edit.CommandProcessor(ecLineSelect, u'\0', nullptr);
    edit.SetCaretXY({4, 1});
    edit.CommandProcessor(ecDeleteEOL, u'\0', nullptr);  // leaves a normal block active
    ASSERT_EQ(Lines(), (std::vector<UnicodeString>{u"", u"a"}));
    edit.SetCaretAndSelection({1, 1}, {2, 2}, {1, 1});
    const int tabWidth = edit.TabWidth();
    edit.SetTabWidth(1);
    edit.DoBlockIndent();
    edit.SetTabWidth(tabWidth);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"", u"\ta"}));
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(1, 1));

    Type(u"x");
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"x"}));
    edit.CommandProcessor(ecUndo, u'\0', nullptr);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"", u"\ta"}));
    edit.CommandProcessor(ecUndo, u'\0', nullptr);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"", u"a"}));
    edit.CommandProcessor(ecUndo, u'\0', nullptr);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"", u"\t", u"a"}));
}
