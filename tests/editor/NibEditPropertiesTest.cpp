#include "editor/EditorFixture.h"

TEST_F(EditorTest, UndoLimitKeyBindingsAndLineSpacing)
{
    edit.SetMaxUndo(5);
    edit.SetMaxUndo(-1);
    EXPECT_EQ(edit.MaxUndo(), 5);
    EXPECT_EQ(edit.RedoList().MaxUndoActions(), 5);

    const int defaults = edit.Keystrokes().Count();
    edit.SetKeystrokes(nullptr);
    EXPECT_EQ(edit.Keystrokes().Count(), 0);
    edit.SetDefaultKeystrokes();
    EXPECT_EQ(edit.Keystrokes().Count(), defaults);

    edit.SetExtraLineSpacing(4);
    EXPECT_EQ(edit.LineHeight(), 20);
    EXPECT_EQ(edit.LinesInWindow(), 8);
}

TEST_F(EditorTest, WordWrapKeepsTheTopLineAndShowsLongLinesAsRows)
{
    std::vector<UnicodeString> lines;
    for (int i = 0; i < 30; ++i) lines.push_back(i == 5 ? UnicodeString(50, u'x') : UnicodeString(u"short"));
    SetLines(lines);
    edit.SetTopLine(10);
    edit.SetWordWrap(true);
    EXPECT_TRUE(edit.WordWrap());
    EXPECT_EQ(edit.DisplayLineCount(), 32);
    EXPECT_EQ(edit.RowToLine(edit.TopLine()), 10);
    edit.SetWordWrap(false);
    EXPECT_EQ(edit.TopLine(), 10);
}

TEST_F(EditorTest, FocusChangesReachHookedHandlersAsCommands)
{
    struct Seen : TObject {
        void Handle(TObject*, bool After, bool&, TNibEditorCommand& Command, char16_t&, void*, void*)
        {
            if (!After) commands.push_back(Command);
        }
        std::vector<TNibEditorCommand> commands;
    } seen;
    edit.RegisterCommandHandler(THookedCommandEvent::Bind<&Seen::Handle>(&seen), nullptr);
    edit.FocusChanged(false);
    edit.FocusChanged(true);
    EXPECT_EQ(seen.commands, (std::vector<TNibEditorCommand>{ecLostFocus, ecGotFocus}));
}

TEST_F(EditorTest, LinesAndGutterAreTakenAsCopies)
{
    TStringList lines;
    lines.SetText(u"one\r\ntwo\r\n\r\nfour");
    edit.SetLines(lines);
    lines.Clear();
    EXPECT_EQ(Lines(), (std::vector<UnicodeString>{u"one", u"two", u"", u"four"}));

    TNibGutter other;
    other.SetShowLineNumbers(true);
    other.SetDigitCount(6);
    edit.SetGutter(other);
    EXPECT_TRUE(edit.Gutter().ShowLineNumbers());
    EXPECT_EQ(edit.Gutter().DigitCount(), 6);
    edit.Loaded();
    EXPECT_EQ(edit.GutterWidth(), edit.Gutter().RealGutterWidth(edit.CharWidth()));
}
