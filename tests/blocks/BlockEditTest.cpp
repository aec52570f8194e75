#include "BlockManagerFixture.h"
#include "app/ProgramForms.h"
#include "blocks/InsertBlockWhere.h"

namespace {

void Type(TBlockGrid& grid, std::u16string_view text)
{
    for (char16_t c : text) grid.KeyPress(c);
}

void Key(TBlockGrid& grid, int key, TShiftState shift = 0)
{
    std::uint16_t k = std::uint16_t(key);
    grid.KeyDown(k, shift);
}

/// Answers the insert-block dialog with a choice, or cancels it.
class ScriptedInsertBlockView : public TInsertBlockWhereView {
public:
    TModalResult ShowModal(int& ItemIndex) override
    {
        Shown = ItemIndex;
        if (Choice < 0) return TModalResult::mrCancel;
        ItemIndex = Choice;
        return TModalResult::mrOk;
    }
    int Choice = -1;
    int Shown = -1;
};

}  // namespace

TEST_F(BlockManagerTest, TypingIntoAnEmptyGridMakesALineThatOneUndoTakesBack)
{
    Type(manager.DrawGrid1, u"HELLO");
    EXPECT_TRUE(manager.DrawGrid1.EditorMode());
    EXPECT_FALSE(Enabled(u"DeleteLineAct"));
    Key(manager.DrawGrid1, VK::RETURN);
    EXPECT_EQ(Joined(), u"HELLO");
    EXPECT_EQ(manager.BlockEditUndoList.Count(), 2);
    EXPECT_EQ(status[spLines], u"1");

    Run(u"BlockEditUndoAct");
    EXPECT_EQ(manager.BlockEditData.Count(), 0);
    EXPECT_FALSE(manager.Modified());
    EXPECT_EQ(manager.DrawGrid1.RowCount(), 1);
}

TEST_F(BlockManagerTest, EscapeLeavesLinesAndUndoAlone)
{
    Type(manager.DrawGrid1, u"X");
    Key(manager.DrawGrid1, VK::ESCAPE);
    EXPECT_FALSE(manager.DrawGrid1.EditorMode());
    EXPECT_EQ(manager.BlockEditData.Count(), 0);
    EXPECT_FALSE(manager.Modified());

    SetLines({u"A", u"B"});
    manager.DrawGrid1.SetRow(1);
    Key(manager.DrawGrid1, VK::F1 + 1);  // F2
    Type(manager.DrawGrid1, u"ZZ");
    Key(manager.DrawGrid1, VK::ESCAPE);
    EXPECT_EQ(Joined(), u"A|B");
    EXPECT_FALSE(manager.Modified());

    // Ending an edit with the text unchanged records nothing either.
    const std::uint32_t id = manager.BlockEditLastChangeId;
    Key(manager.DrawGrid1, VK::RETURN);
    Key(manager.DrawGrid1, VK::RETURN);
    EXPECT_FALSE(manager.Modified());
    EXPECT_EQ(manager.BlockEditLastChangeId, id + 1);
}

TEST_F(BlockManagerTest, AnInPlaceEditChangesOneLineUndoably)
{
    SetLines({u"A", u"B"});
    manager.DrawGrid1.SetRow(1);
    Key(manager.DrawGrid1, VK::RETURN);
    Key(manager.DrawGrid1, VK::HOME);
    Type(manager.DrawGrid1, u"1");
    Key(manager.DrawGrid1, VK::END);
    Key(manager.DrawGrid1, VK::BACK);
    Type(manager.DrawGrid1, UnicodeString(70, u'2'));
    // Moving away ends the edit, as leaving the grid does.
    Key(manager.DrawGrid1, VK::UP);
    EXPECT_EQ(Joined(), u"A|1" + UnicodeString(70, u'2'));
    EXPECT_EQ(manager.DrawGrid1.Row(), 0);

    manager.UndoBlockEdit();
    EXPECT_EQ(Joined(), u"A|B");
}

TEST_F(BlockManagerTest, DeletedLinesComeBackInTheirPlaces)
{
    SetLines({u"A", u"B", u"C", u"D", u"E", u"F"});
    manager.DrawGrid1.SetSelection({1, 2, 1, 4});
    Run(u"DeleteLineAct");
    EXPECT_EQ(Joined(), u"A|B|F");
    EXPECT_EQ(manager.DrawGrid1.Row(), 2);
    const TBlockUndoRecord top = manager.BlockEditUndoList.PeekBlockUndo();
    EXPECT_EQ(top.Kind, buLineDeleted);
    EXPECT_EQ(top.Row, 2);
    EXPECT_EQ(top.Text, u"C");

    Run(u"BlockEditUndoAct");
    EXPECT_EQ(Joined(), u"A|B|C|D|E|F");
    EXPECT_FALSE(manager.Modified());
}

TEST_F(BlockManagerTest, UndoRevertsOneOperationAtATime)
{
    SetLines({u"A", u"B", u"C"});
    manager.DeleteBlockLines(0, 0);
    manager.InsertBlankLinesAt(1, 2);
    manager.PasteBlockLines(0, [] {
        TStringList l;
        l.Add(u"P");
        l.Add(u"Q");
        return l;
    }());
    EXPECT_EQ(Joined(), u"P|Q|B|||C");
    manager.UndoBlockEdit();
    EXPECT_EQ(Joined(), u"B|||C");
    manager.UndoBlockEdit();
    EXPECT_EQ(Joined(), u"B|C");
    manager.UndoBlockEdit();
    EXPECT_EQ(Joined(), u"A|B|C");
    EXPECT_FALSE(manager.Modified());
    manager.UndoBlockEdit();
    EXPECT_EQ(Joined(), u"A|B|C");
}

TEST_F(BlockManagerTest, InsertBelowGoesBetweenOrAppends)
{
    SetLines({u"A", u"B", u"C"});
    manager.DrawGrid1.SetRow(1);
    Run(u"BlockEditInsertBlankBelowAct");
    EXPECT_EQ(Joined(), u"A|B||C");
    manager.DrawGrid1.SetRow(3);
    Run(u"BlockEditInsertBlankBelowAct");
    EXPECT_EQ(Joined(), u"A|B||C|");
    manager.DrawGrid1.SetRow(0);
    Run(u"BlockEditInsertBlankAboveAct");
    EXPECT_EQ(Joined(), u"|A|B||C|");
    EXPECT_EQ(manager.DrawGrid1.RowCount(), 6);
}

TEST_F(BlockManagerTest, InsertBlockPlacesSixteenBlankLines)
{
    ScriptedInsertBlockView view;
    TInsertBlockWhereDlg dialog;
    dialog.SetView(&view);
    InsertBlockWhereDlg = &dialog;
    struct Case {
        int choice;
        int count;
        int firstBlank;
        int rowAfter;
    };
    // 20 lines, the current one in the second block (row 17).
    const Case cases[] = {
        {ibAtStart, 36, 0, 33},
        {ibBeforeCurrent, 36, 16, 33},
        {ibAfterCurrent, 48, 20, 17},
        {ibAtEnd, 48, 20, 17},
    };
    for (const Case& c : cases) {
        SetNumberedLines(20);
        manager.DrawGrid1.SetRow(17);
        view.Choice = c.choice;
        Run(u"BlockEditInsertBlockAct");
        EXPECT_EQ(manager.BlockEditData.Count(), c.count) << c.choice;
        EXPECT_EQ(manager.BlockEditData[c.firstBlank], u"") << c.choice;
        EXPECT_EQ(manager.DrawGrid1.Row(), c.rowAfter) << c.choice;
        EXPECT_EQ(manager.BlockEditData[c.rowAfter], u"18") << c.choice;
        EXPECT_EQ(manager.DrawGrid1.RowCount(), c.count) << c.choice;
        manager.UndoBlockEdit();
        EXPECT_EQ(manager.BlockEditData.Count(), 20) << c.choice;
        EXPECT_FALSE(manager.Modified()) << c.choice;
    }
    // A full block in the middle gets its new block right after it.
    SetNumberedLines(40);
    manager.DrawGrid1.SetRow(3);
    view.Choice = ibAfterCurrent;
    Run(u"BlockEditInsertBlockAct");
    EXPECT_EQ(manager.BlockEditData[15], u"16");
    EXPECT_EQ(manager.BlockEditData[16], u"");
    EXPECT_EQ(manager.BlockEditData[32], u"17");

    // Cancel inserts nothing; the dialog shows the last choice again.
    view.Choice = -1;
    Run(u"BlockEditInsertBlockAct");
    EXPECT_EQ(manager.BlockEditData.Count(), 56);
    EXPECT_EQ(view.Shown, ibAfterCurrent);
    InsertBlockWhereDlg = nullptr;
}

TEST_F(BlockManagerTest, InsertBlockIntoAnEmptyList)
{
    manager.InsertBlockAt(ibAfterCurrent);
    EXPECT_EQ(manager.BlockEditData.Count(), 16);
    manager.InsertBlockAt(ibAtEnd);
    EXPECT_EQ(manager.BlockEditData.Count(), 32);
}

TEST_F(BlockManagerTest, CutBlockTakesTheCurrentBlockToTheClipboard)
{
    SetNumberedLines(21);
    manager.DrawGrid1.SetRow(18);
    Run(u"BlockEditCopyBlockAct");
    EXPECT_EQ(clipboard.Text(), u"17\r\n18\r\n19\r\n20\r\n21\r\n");

    manager.DrawGrid1.SetRow(5);
    Run(u"BlockEditCutBlockAct");
    EXPECT_EQ(clipboard.Text().substr(0, 6), u"1\r\n2\r\n");
    EXPECT_EQ(manager.BlockEditData.Count(), 5);
    EXPECT_EQ(manager.BlockEditData[0], u"17");
    EXPECT_EQ(manager.DrawGrid1.Row(), 0);

    Run(u"BlockEditUndoAct");
    EXPECT_EQ(manager.BlockEditData.Count(), 21);
    EXPECT_EQ(manager.BlockEditData[0], u"1");
    EXPECT_FALSE(manager.Modified());
}

TEST_F(BlockManagerTest, LinesGoToTheClipboardAndComeBackWrapped)
{
    SetLines({u"A", u"B", u"C"});
    manager.DrawGrid1.SetSelection({1, 1, 1, 2});
    Run(u"BlockEditCutLinesAct");
    EXPECT_EQ(clipboard.Text(), u"B\r\nC\r\n");
    EXPECT_EQ(Joined(), u"A");

    clipboard.SetText(u"x\r\n" + UnicodeString(50, u'w') + u" " + UnicodeString(49, u'v'));
    manager.DrawGrid1.SetRow(0);
    Run(u"BlockEditPasteLinesAct");
    EXPECT_EQ(Joined(), u"x|" + UnicodeString(50, u'w') + u"|" + UnicodeString(49, u'v') + u"|A");
    Run(u"BlockEditUndoAct");
    EXPECT_EQ(Joined(), u"A");
}

TEST_F(BlockManagerTest, SelectAllAndSelectBlock)
{
    SetNumberedLines(20);
    manager.DrawGrid1.SetRow(17);
    Run(u"BlockEditSelectBlockAct");
    EXPECT_EQ(manager.DrawGrid1.Selection(), (TGridRect{1, 16, 1, 19}));
    Run(u"BlockEditSelecyAllAct");
    EXPECT_EQ(manager.DrawGrid1.Selection(), (TGridRect{1, 0, 1, 19}));
    Run(u"BlockEditCopyLinesAct");
    EXPECT_EQ(clipboard.Text().size(), 20 * 2 + 9 + 11 * 2u);
}

TEST_F(BlockManagerTest, ActionsNeedTheirPageAndLines)
{
    EXPECT_FALSE(Enabled(u"BlockEditClearAct"));
    EXPECT_FALSE(Enabled(u"BlockEdSaveFileAct"));
    EXPECT_FALSE(Enabled(u"DeleteLineAct"));
    EXPECT_TRUE(Enabled(u"BlockEditInsertBlankAboveAct"));
    EXPECT_FALSE(Enabled(u"BlockEditPasteLinesAct"));

    SetLines({u"A"});
    EXPECT_TRUE(Enabled(u"DeleteLineAct"));
    EXPECT_FALSE(Enabled(u"BlockEdSaveFileAct"));
    EXPECT_TRUE(Enabled(u"BlockEditSaveFileAsAct"));
    manager.InsertBlankLinesAt(0, 1);
    EXPECT_TRUE(Enabled(u"BlockEdSaveFileAct"));

    pageActive = false;
    for (const char16_t* name : {u"BlockEditOpenFileAct", u"BlockEditUndoAct", u"DeleteLineAct", u"BlockEditCutBlockAct",
                                 u"BlockEditInsertBlockAct"})
        EXPECT_FALSE(Enabled(name)) << ToUtf8(name);
    // These work from any page.
    for (const char16_t* name : {u"BlockEditClearAct", u"BlockEdSaveFileAct", u"BlockEditCopyBlockAct"})
        EXPECT_TRUE(Enabled(name)) << ToUtf8(name);
}

TEST_F(BlockManagerTest, TheCloseQuestionCountsAnEditInProgress)
{
    Type(manager.DrawGrid1, u"typed");
    dialogs.Answers = {TModalResult::mrCancel};
    EXPECT_FALSE(manager.QueryCloseBlockFile());
    EXPECT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(Joined(), u"typed");
}
