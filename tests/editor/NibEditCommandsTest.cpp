#include "editor/EditorFixture.h"

namespace {

/// A command handler that records what it sees and may cancel commands before they run.
struct Hook : TObject {
    void Handle(TObject*, bool After, bool& Handled, TNibEditorCommand& Command, char16_t&, void*, void*)
    {
        seen.push_back({After, Command});
        if (!After && Command == cancel) Handled = true;
    }
    TNibEditorCommand cancel = ecNone;
    std::vector<std::pair<bool, TNibEditorCommand>> seen;
};

} // namespace

TEST_F(EditorTest, TwoStrokeChordsWaitForTheSecondKeyAndStartOverOnAnyOther)
{
    edit.Keystrokes().Clear();
    edit.AddKey(ecSelectAll, 'K', ssCtrl, 'B', ssCtrl);
    edit.AddKey(ecLineEnd, 'B', ssCtrl);
    void* data = nullptr;
    EXPECT_EQ(edit.TranslateKeyCode('K', ssCtrl, data), ecNone);
    EXPECT_EQ(edit.TranslateKeyCode('B', ssCtrl, data), ecSelectAll);
    EXPECT_EQ(edit.TranslateKeyCode('B', ssCtrl, data), ecLineEnd);  // the chord is spent
    EXPECT_EQ(edit.TranslateKeyCode('K', ssCtrl, data), ecNone);
    EXPECT_EQ(edit.TranslateKeyCode('X', 0, data), ecNone);           // starts over
    EXPECT_EQ(edit.TranslateKeyCode('B', ssCtrl, data), ecLineEnd);
}

TEST_F(EditorTest, HookedHandlersSeeCommandsBeforeAndAfterAndMayCancelThem)
{
    Hook hook;
    const auto method = THookedCommandEvent::Bind<&Hook::Handle>(&hook);
    edit.RegisterCommandHandler(method, nullptr);
    edit.RegisterCommandHandler(method, nullptr);
    EXPECT_EQ(edit.HookedCommandHandlerCount(), 1);
    std::vector<TNibEditorCommand> processed;
    edit.OnCommandProcessed = [&](TObject*, TNibEditorCommand& c, char16_t&, void*) { processed.push_back(c); };

    Type(u"a");
    hook.cancel = ecChar;
    Type(u"b");
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"a"});
    const std::vector<std::pair<bool, TNibEditorCommand>> expected{{false, ecChar}, {true, ecChar}, {false, ecChar}};
    EXPECT_EQ(hook.seen, expected);
    EXPECT_EQ(processed, (std::vector<TNibEditorCommand>{ecChar, ecNone}));

    edit.UnregisterCommandHandler(method, nullptr);
    EXPECT_EQ(edit.HookedCommandHandlerCount(), 0);
}

TEST_F(EditorTest, UserCommandsReachTheApplicationOnly)
{
    int user = 0, plain = 0;
    edit.OnProcessUserCommand = [&](TObject*, TNibEditorCommand& c, char16_t&, void*) { user += c == ecUserFirst; };
    edit.OnProcessCommand = [&](TObject*, TNibEditorCommand& c, char16_t& ch, void*) {
        ++plain;
        if (ch == u'x') ch = u'y';
    };
    edit.CommandProcessor(ecUserFirst, u'\0', nullptr);
    edit.CommandProcessor(ecChar, u'x', nullptr);
    EXPECT_EQ(user, 1);
    EXPECT_EQ(plain, 1);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"y"});
}

TEST_F(EditorTest, ReadOnlyRefusesChangesButAllowsMovesSelectionAndCopy)
{
    SetLines({u"abc", u"def"});
    edit.SetCaretXY({2, 1});
    Type(u"x");
    edit.SetReadOnly(true);
    const std::vector<UnicodeString> before = Lines();
    for (TNibEditorCommand c : {ecChar, ecDeleteChar, ecDeleteLastChar, ecPaste, ecUndo, ecLineBreak, ecDeleteLine,
                                ecTab, ecBlockIndent, ecUpperCase, ecClearAll}) {
        clipboard.SetText(u"P");
        edit.CommandProcessor(c, u'z', nullptr);
        EXPECT_EQ(Lines(), before) << c;
    }
    edit.CommandProcessor(ecRight, u'\0', nullptr);
    EXPECT_EQ(edit.CaretXY(), BufferCoord(4, 1));
    edit.CommandProcessor(ecSelectAll, u'\0', nullptr);
    edit.CommandProcessor(ecCopy, u'\0', nullptr);
    EXPECT_EQ(clipboard.Text(), u"axbc\r\ndef");
}

TEST_F(EditorTest, TypingPadsPastTheLineEndOverwritesAndUndoesInOneStep)
{
    struct Case {
        const char* name;
        UnicodeString line;
        int x;
        bool tabsToSpaces, insert;
        UnicodeString typed, afterUndo;
        int caretX;
    };
    const Case cases[] = {
        {"pad with blanks", u"ab", 5, true, true, u"ab  q", u"ab", 6},
        {"pad with blanks without tabs-to-spaces", u"ab", 5, false, true, u"ab  q", u"ab", 6},
        {"empty line padded to a tab", u"", 10, false, true, u"\t q", u"", 4},
        {"empty line padded with blanks", u"", 4, true, true, u"   q", u"", 5},
        {"overwrite inside", u"abc", 2, true, false, u"aqc", u"abc", 3},
        {"overwrite at the end", u"ab", 3, true, false, u"abq", u"ab", 4},
    };
    for (const Case& c : cases) {
        SetLines({c.line});
        TNibEditorOptions options = edit.Options();
        if (c.tabsToSpaces) options.Include(eoTabsToSpaces);
        else options.Exclude(eoTabsToSpaces);
        edit.SetOptions(options);
        edit.SetInsertMode(c.insert);
        edit.SetCaretXY({c.x, 1});
        Type(u"q");
        EXPECT_EQ(Lines()[0], c.typed) << c.name;
        EXPECT_EQ(edit.CaretX(), c.caretX) << c.name;
        edit.Undo();
        EXPECT_EQ(Lines()[0], c.afterUndo) << c.name;
        EXPECT_FALSE(edit.CanUndo()) << c.name;
    }
}

TEST_F(EditorTest, BackspaceCases)
{
    struct Case {
        const char* name;
        std::vector<UnicodeString> lines;
        TBufferCoord caret;
        bool smart;
        std::vector<UnicodeString> after;
        TBufferCoord caretAfter;
    };
    const Case cases[] = {
        {"plain", {u"abc"}, {3, 1}, true, {u"ac"}, {2, 1}},
        {"joins lines", {u"ab", u"cd"}, {1, 2}, true, {u"abcd"}, {3, 1}},
        {"smart to the indentation above", {u"  a", u"      b"}, {7, 2}, true, {u"  a", u"  b"}, {3, 2}},
        {"smart without a smaller indentation", {u"    b"}, {5, 1}, true, {u"b"}, {1, 1}},
        {"smart mixed indentation", {u"    a", u"\t    bar"}, {6, 2}, true, {u"    a", u"    bar"}, {5, 2}},
        {"past the line end", {u"ab"}, {6, 1}, true, {u"ab"}, {3, 1}},
        {"past the end without smart delete", {u"ab"}, {6, 1}, false, {u"ab"}, {5, 1}},
    };
    for (const Case& c : cases) {
        SetLines(c.lines);
        TNibEditorOptions options = edit.Options();
        if (c.smart) options.Include(eoSmartTabDelete);
        else options.Exclude(eoSmartTabDelete);
        edit.SetOptions(options);
        edit.SetCaretXY(c.caret);
        edit.CommandProcessor(ecDeleteLastChar, u'\0', nullptr);
        EXPECT_EQ(Lines(), c.after) << c.name;
        EXPECT_EQ(edit.CaretXY(), c.caretAfter) << c.name;
        edit.Undo();
        EXPECT_EQ(Lines(), c.lines) << c.name;
    }
}

TEST_F(EditorTest, BackspaceAtTheStartOfTheTextChangesAndRecordsNothing)
{
    SetLines({u"abc"});
    edit.CommandProcessor(ecDeleteLastChar, u'\0', nullptr);
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"abc"});
    EXPECT_FALSE(edit.CanUndo());
}

TEST_F(EditorTest, DeleteKeysRemoveCharactersWordsAndLines)
{
    struct Case {
        TNibEditorCommand command;
        std::vector<UnicodeString> lines;
        TBufferCoord caret;
        std::vector<UnicodeString> after;
    };
    const Case cases[] = {
        {ecDeleteChar, {u"abc"}, {2, 1}, {u"ac"}},
        {ecDeleteChar, {u"ab", u"cd"}, {5, 1}, {u"ab  cd"}},
        {ecDeleteWord, {u"one two three"}, {5, 1}, {u"one  three"}},
        {ecDeleteWord, {u"one two", u"x"}, {4, 1}, {u"onetwo", u"x"}},
        {ecDeleteWord, {u"ab", u"  cd"}, {3, 1}, {u"abcd"}},
        {ecDeleteEOL, {u"one two"}, {4, 1}, {u"one"}},
        {ecDeleteLastWord, {u"one two"}, {8, 1}, {u"one "}},
        {ecDeleteBOL, {u"one two"}, {5, 1}, {u"two"}},
        {ecDeleteLine, {u"a", u"b", u"c"}, {1, 2}, {u"a", u"c"}},
        {ecDeleteLine, {u"a", u"b"}, {1, 2}, {u"a", u""}},
        {ecDeleteLine, {u"a", u""}, {1, 2}, {u"a", u""}},
    };
    for (const Case& c : cases) {
        SetLines(c.lines);
        edit.SetCaretXY(c.caret);
        edit.CommandProcessor(c.command, u'\0', nullptr);
        EXPECT_EQ(Lines(), c.after) << c.command;
        edit.Undo();
        EXPECT_EQ(Lines(), c.lines) << c.command;
    }
}

TEST_F(EditorTest, EnterWithAutoIndentUndoesAndRedoes)
{
    SetLines({u"    abcdef"});
    edit.SetCaretXY({8, 1});
    edit.CommandProcessor(ecLineBreak, u'\0', nullptr);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"    abc", u"    def"}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(5, 2));
    edit.Undo();
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"    abcdef"});
    EXPECT_EQ(edit.CaretXY(), BufferCoord(8, 1));
    edit.Redo();
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"    abc", u"    def"}));

    SetLines({u"  x"});
    edit.SetCaretXY({4, 1});
    edit.CommandProcessor(ecLineBreak, u'\0', nullptr);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"  x", u"  "}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(3, 2));
    edit.Undo();
    EXPECT_EQ(Lines(), std::vector<UnicodeString>{u"  x"});

    // The retyped indentation is the line's own, also with smart tabs, whose jump to the next word
    // above would find the end of a line of whitespace.
    TNibEditorOptions o = edit.Options();
    edit.SetOptions(o.Include(eoSmartTabs).Exclude(eoTabsToSpaces).Exclude(eoTrimTrailingSpaces));
    SetLines({u"\t \tx"});
    edit.SetCaretXY({6, 1});
    edit.CommandProcessor(ecLineBreak, u'\0', nullptr);
    edit.CommandProcessor(ecLineBreak, u'\0', nullptr);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"\t \tx", u"\t \t", u"\t \t"}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(4, 3));

    // Insert Line leaves the caret where it is: nothing is retyped there, however often it runs.
    SetLines({u"  x"});
    edit.SetCaretXY({4, 1});
    for (int i = 0; i < 3; ++i) edit.CommandProcessor(ecInsertLine, u'\0', nullptr);
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"  x", u"", u"", u""}));
    EXPECT_EQ(edit.CaretXY(), BufferCoord(4, 1));
}

TEST_F(EditorTest, TypedRunsUndoAndRedoInGroups)
{
    Type(u"ab");
    edit.CommandProcessor(ecDeleteLastChar, u'\0', nullptr);
    Type(u"cd");
    ASSERT_EQ(Lines(), std::vector<UnicodeString>{u"acd"});
    std::vector<UnicodeString> undos, redos;
    for (int i = 0; i < 3; ++i) {
        edit.Undo();
        undos.push_back(edit.Text());
    }
    for (int i = 0; i < 3; ++i) {
        edit.Redo();
        redos.push_back(edit.Text());
    }
    EXPECT_EQ(undos, (std::vector<UnicodeString>{u"a", u"ab", u""}));
    EXPECT_EQ(redos, (std::vector<UnicodeString>{u"ab", u"a", u"acd"}));
}

TEST_F(EditorTest, EachTypedCharacterReportsItsStatusOnce)
{
    int reports = 0;
    edit.OnStatusChange = [&](TObject*, TNibStatusChanges) { ++reports; };
    Type(u"abc");
    EXPECT_EQ(reports, 3);
}

TEST_F(EditorTest, MovesAndTheirSelectingTwins)
{
    SetLines({u"one two", u"three", u"x"});
    edit.CommandProcessor(ecWordRight, u'\0', nullptr);
    EXPECT_EQ(edit.CaretXY(), BufferCoord(5, 1));
    edit.CommandProcessor(ecSelDown, u'\0', nullptr);
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(5, 1));
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(5, 2));
    edit.CommandProcessor(ecSelLineEnd, u'\0', nullptr);
    EXPECT_EQ(edit.SelText(), u"two\r\nthree");
    edit.CommandProcessor(ecLeft, u'\0', nullptr);
    EXPECT_FALSE(edit.SelAvail());
    edit.CommandProcessor(ecEditorBottom, u'\0', nullptr);
    EXPECT_EQ(edit.CaretXY(), BufferCoord(2, 3));
    edit.CommandProcessor(ecRight, u'\0', nullptr);
    EXPECT_EQ(edit.CaretXY(), BufferCoord(3, 3));  // past the end: eoScrollPastEol is on
    edit.CommandProcessor(ecSelEditorTop, u'\0', nullptr);
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(1, 1));
    TBufferCoord target{2, 2};
    edit.CommandProcessor(ecGotoXY, u'\0', &target);
    EXPECT_EQ(edit.CaretXY(), target);
    EXPECT_FALSE(edit.SelAvail());
}

TEST_F(EditorTest, InputMethodTextInsertsOrOverwritesAndUndoesAsARun)
{
    SetLines({u"abcd"});
    edit.SetCaretXY({2, 1});
    edit.InputMethodText(u"\u65E5\u672C");
    EXPECT_EQ(Lines()[0], u"a\u65E5\u672Cbcd");
    EXPECT_EQ(edit.CaretX(), 4);
    edit.SetInsertMode(false);
    edit.InputMethodText(u"xy");
    EXPECT_EQ(Lines()[0], u"a\u65E5\u672Cxyd");
    edit.Undo();  // with eoGroupUndo, like a typed run
    EXPECT_EQ(Lines()[0], u"abcd");
}

TEST_F(EditorTest, PagingAndScrollingByCommand)
{
    std::vector<UnicodeString> lines(100, u"line");
    SetLines(lines);
    edit.CommandProcessor(ecPageDown, u'\0', nullptr);
    EXPECT_EQ(edit.TopLine(), 11);
    EXPECT_EQ(edit.CaretY(), 11);
    edit.CommandProcessor(ecPageBottom, u'\0', nullptr);
    EXPECT_EQ(edit.CaretY(), 20);
    edit.CommandProcessor(ecScrollDown, u'\0', nullptr);
    EXPECT_EQ(edit.TopLine(), 12);
    EXPECT_EQ(edit.CaretY(), 20);
    edit.CommandProcessor(ecSelPageUp, u'\0', nullptr);
    EXPECT_EQ(edit.TopLine(), 2);
    EXPECT_EQ(edit.BlockBegin(), BufferCoord(1, 10));
    EXPECT_EQ(edit.BlockEnd(), BufferCoord(1, 20));
}
