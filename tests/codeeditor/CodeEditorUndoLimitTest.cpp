// A single step larger than the undo limit undoes and redoes whole, through the paths the keys,
// the menu and the replace dialog take; the older steps the limit drops take the saved point along
// only as far as undo can still reach it.
#include <functional>

#include "codeeditor/CodeEditorFixture.h"

namespace {

class CodeEditorUndoLimit : public CodeEditorTest {
protected:
    TNibEdit& Edit() { return page.ScriptEdit; }
    void Command(TNibEditorCommand c) { Edit().CommandProcessor(c, u'\0', nullptr); }
    void SetOption(TNibEditorOption o, bool on)
    {
        TNibEditorOptions options = Edit().Options();
        if (on) options.Include(o);
        else options.Exclude(o);
        Edit().SetOptions(options);
    }
    void SelectLines(TNibSelectionMode mode, TBufferCoord from, TBufferCoord to)
    {
        Command(mode == smNormal ? ecNormalSelect : mode == smLine ? ecLineSelect : ecColumnSelect);
        Edit().SetCaretAndSelection(to, from, to);
    }
    void ReplaceAll(const UnicodeString& what, const UnicodeString& by)
    {
        Edit().SetCaretXY({1, 1});
        page.ReplaceDialog1.FindText = what;
        page.ReplaceDialog1.ReplaceText = by;
        page.ReplaceDialog1.Options = {frDown, frMatchCase, frReplaceAll};
        page.ReplaceDialog1Replace();
    }
    void PasteBlock(const UnicodeString& text, TNibSelectionMode mode)
    {
        clipboard.SetText(text);
        clipboard.AddFormat(NibEditClipboardFormat, std::string(1, char(mode)) + ToAnsi(text) + '\0');
        Command(ecPaste);
    }
    void DropAt(TBufferCoord at, TShiftState shift)
    {
        const TPoint p = Edit().RowColumnToPixels({at.Char, at.Line});
        Edit().DragDrop(&Edit(), p.X, p.Y, shift);
    }
};

/// Ten lines with leading and trailing blanks and a word to replace on each.
UnicodeString TenLines()
{
    UnicodeString text;
    for (char16_t c = u'a'; c < u'a' + 10; ++c) text += u"  DUP " + UnicodeString(1, c) + u" DUP \r\n";
    return text + u"end";
}

TEST_F(CodeEditorUndoLimit, AStepLargerThanTheLimitUndoesAndRedoesWhole)
{
    using Step = std::function<void()>;
    struct Case {
        const char* Name;
        bool Trim;
        Step Edit;
    };
    const Case cases[] = {
        {"Replace All", false, [this] { ReplaceAll(u"DUP", u"dup"); }},
        {"Replace All by a longer text", true, [this] { ReplaceAll(u"DUP", u"OVER SWAP "); }},
        {"block indent", false,
         [this] {
             SelectLines(smNormal, {1, 1}, {1, 11});
             Command(ecBlockIndent);
         }},
        {"block indent of a column", true,
         [this] {
             SelectLines(smColumn, {3, 1}, {5, 10});
             Command(ecBlockIndent);
         }},
        {"block unindent that trims", true,
         [this] {
             SelectLines(smLine, {1, 1}, {1, 10});
             Command(ecBlockUnindent);
         }},
        {"F7", false,
         [this] {
             SelectLines(smNormal, {1, 1}, {4, 10});
             page.EditIndentLinesAct->Execute();
         }},
        {"F8 that trims", true,
         [this] {
             SelectLines(smLine, {1, 2}, {1, 11});
             page.EditOutdentLinesAct->Execute();
         }},
        {"paste of a column of many lines", false,
         [this] {
             Edit().SetCaretXY({4, 2});
             PasteBlock(u"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8", smColumn);
         }},
        {"paste of many lines that trims", true,
         [this] {
             Edit().SetCaretXY({1, 3});
             PasteBlock(u"p \r\nq \r\nr \r\ns \r\nt \r\nu \r\n", smNormal);
         }},
        {"drag of a column", false,
         [this] {
             SelectLines(smColumn, {3, 1}, {6, 9});
             DropAt({5, 10}, 0);
         }},
        {"drag copy of lines that trims", true,
         [this] {
             SelectLines(smLine, {1, 1}, {1, 8});
             DropAt({3, 10}, ssCtrl);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Edit().SetText(TenLines());
        Edit().ClearUndo();
        Edit().SetModified(false);
        Edit().SetMaxUndo(8);
        SetOption(eoTrimTrailingSpaces, c.Trim);
        // An older step, then the save: the step that outgrows the limit drops the older one whole,
        // and the saved text lies beneath it.
        Edit().SetCaretXY({4, 11});
        Edit().CommandProcessor(ecChar, u'!', nullptr);
        Edit().SetModified(false);
        const UnicodeString before = Text();
        c.Edit();
        const UnicodeString after = Text();
        ASSERT_NE(after, before);
        ASSERT_GT(Edit().UndoList().ItemCount(), Edit().MaxUndo()) << "the step fits the limit";
        for (int round = 0; round < 2; ++round) {
            EXPECT_TRUE(Edit().Modified());
            Command(ecUndo);
            EXPECT_EQ(Text(), before);
            EXPECT_FALSE(Edit().Modified());
            EXPECT_FALSE(Edit().CanUndo());
            EXPECT_GT(Edit().RedoList().ItemCount(), Edit().MaxUndo());
            Command(ecRedo);
            EXPECT_EQ(Text(), after);
            EXPECT_FALSE(Edit().CanRedo());
        }
        // The next change drops the large step whole, and with it the way back to the saved text.
        Edit().CommandProcessor(ecChar, u'?', nullptr);
        while (Edit().CanUndo()) Command(ecUndo);
        EXPECT_EQ(Text(), after);
        EXPECT_TRUE(Edit().Modified());
    }
}

} // namespace
