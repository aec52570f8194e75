// The Block Manager's actions: what each is called, when it is enabled and what it does.
#include "app/ProgramForms.h"
#include "blocks/BlockLines.h"
#include "blocks/BlockManager.h"
#include "blocks/InsertBlockWhere.h"
#include "platform/Clipboard.h"

void TBlockManager::CreateActions(TActionList& list)
{
    /// One action: name, category, caption, hint, shortcut, what it does, when it is enabled.
    struct Row {
        TAction* TBlockManager::*Field;
        const char16_t* Name;
        const char16_t* Category;
        const char16_t* Caption;
        const char16_t* Hint;
        const char16_t* ShortCut;
        std::function<void(TBlockManager&)> Run;
        std::function<bool(const TBlockManager&)> Enabled;
    };
    auto active = [](const TBlockManager& m) { return m.BlockEditActive(); };
    auto activeWithLines = [](const TBlockManager& m) { return m.BlockEditActive() && m.BlockEditData.Count() > 0; };
    auto selection = [](TBlockManager& m, void (TBlockManager::*op)(int, int)) {
        const TGridRect s = m.DrawGrid1.Selection();
        (m.*op)(s.Top, s.Bottom);
    };
    auto currentBlock = [](TBlockManager& m, void (TBlockManager::*op)(int, int)) {
        int first, last;
        if (m.CurrentBlock(first, last)) (m.*op)(first, last);
    };
    auto rowToBlockStart = [](TBlockManager& m) {
        const int start = m.DrawGrid1.Row() / BlockLinesPerBlock * BlockLinesPerBlock;
        if (start < m.DrawGrid1.RowCount()) m.DrawGrid1.SetRow(start);
    };
    const Row rows[] = {
        {&TBlockManager::BlockEditClearAct, u"BlockEditClearAct", u"Block", u"New", u"Start a new block file", u"",
         [](TBlockManager& m) { m.BlockEditClearActExecute(); },
         [](const TBlockManager& m) { return (m.BlockEditActive() && m.BlockEditData.Count() > 0) || m.Modified(); }},
        {&TBlockManager::BlockEditOpenFileAct, u"BlockEditOpenFileAct", u"Block", u"Open File",
         u"Select a file to open in the block editor", u"", [](TBlockManager& m) { m.BlockEditOpenFileActExecute(); },
         active},
        {&TBlockManager::BlockEdSaveFileAct, u"BlockEdSaveFileAct", u"Block", u"Save File",
         u"Save the block editor to a block or text file", u"Ctrl+S",
         [](TBlockManager& m) { m.BlockEdSaveFileActExecute(); },
         [](const TBlockManager& m) { return m.BlockEditData.Count() > 0 && m.Modified(); }},
        {&TBlockManager::BlockEditSaveFileAsAct, u"BlockEditSaveFileAsAct", u"Block", u"Save File As",
         u"Save the block editor to a new file", u"", [](TBlockManager& m) { m.BlockEditSaveFileAsActExecute(); },
         [](const TBlockManager& m) { return m.BlockEditData.Count() > 0; }},
        {&TBlockManager::BlockEditUndoAct, u"BlockEditUndoAct", u"Line", u"Undo", u"Undo last change to block editor",
         u"Alt+Backspace", [](TBlockManager& m) { m.UndoBlockEdit(); },
         [](const TBlockManager& m) { return m.BlockEditActive() && m.Modified(); }},
        {&TBlockManager::BlockEditCopyLinesAct, u"BlockEditCopyLinesAct", u"Line", u"Copy Lines",
         u"Copy the selected lines to the clipboard", u"Ctrl+C",
         [selection](TBlockManager& m) { selection(m, &TBlockManager::CopyBlockLines); }, activeWithLines},
        {&TBlockManager::BlockEditCutLinesAct, u"BlockEditCutLinesAct", u"Line", u"Cut Lines",
         u"Move selected lines to the clipboard ", u"Ctrl+X",
         [selection](TBlockManager& m) { selection(m, &TBlockManager::CutBlockLines); }, activeWithLines},
        {&TBlockManager::BlockEditPasteLinesAct, u"BlockEditPasteLinesAct", u"Line", u"Paste Lines",
         u"Paste lines from clipboard", u"Ctrl+V", [](TBlockManager& m) { m.BlockEditPasteLinesActExecute(); },
         [](const TBlockManager& m) { return m.BlockEditActive() && Clipboard::Current().HasText(); }},
        {&TBlockManager::DeleteLineAct, u"DeleteLineAct", u"Line", u"Delete Line", u"Delete the selected line(s)", u"Del",
         [](TBlockManager& m) {
             const int top = m.DrawGrid1.Selection().Top;
             m.DeleteBlockLines(top, m.DrawGrid1.Selection().Bottom);
             if (top < m.DrawGrid1.RowCount()) m.DrawGrid1.SetRow(top);
         },
         activeWithLines},
        {&TBlockManager::BlockEditSelecyAllAct, u"BlockEditSelecyAllAct", u"Line", u"Select All",
         u"Select all the lines in the block editor", u"Ctrl+A",
         [](TBlockManager& m) { m.DrawGrid1.SetSelection({1, 0, 1, m.BlockEditData.Count() - 1}); }, activeWithLines},
        {&TBlockManager::BlockEditInsertBlankAboveAct, u"BlockEditInsertBlankAboveAct", u"Line", u"Insert Above",
         u"Insert a blank line above the current line", u"Ins",
         [](TBlockManager& m) { m.InsertBlankLinesAt(m.DrawGrid1.Row(), 1); }, active},
        {&TBlockManager::BlockEditInsertBlankBelowAct, u"BlockEditInsertBlankBelowAct", u"Line", u"Insert Below",
         u"Insert a blank line below the current line", u"Shift+Ins",
         [](TBlockManager& m) { m.InsertBlankLinesAfter(m.DrawGrid1.Row(), 1); }, active},
        {&TBlockManager::BlockEditSelectBlockAct, u"BlockEditSelectBlockAct", u"Block", u"Select Block",
         u"Mark all block lines as selected", u"Ctrl+B",
         [](TBlockManager& m) {
             int first, last;
             if (m.CurrentBlock(first, last)) m.DrawGrid1.SetSelection({1, first, 1, last});
         },
         activeWithLines},
        {&TBlockManager::BlockEditCopyBlockAct, u"BlockEditCopyBlockAct", u"Block", u"Copy Block",
         u"Copy the block with the selected line to the windows clipboard", u"",
         [currentBlock](TBlockManager& m) { currentBlock(m, &TBlockManager::CopyBlockLines); },
         [](const TBlockManager& m) { return m.BlockEditData.Count() > 0; }},
        {&TBlockManager::BlockEditCutBlockAct, u"BlockEditCutBlockAct", u"Block", u"Cut Block",
         u"Move  the current block to the clipboard", u"",
         [currentBlock, rowToBlockStart](TBlockManager& m) {
             currentBlock(m, &TBlockManager::CopyBlockLines);
             currentBlock(m, &TBlockManager::DeleteBlockLines);
             rowToBlockStart(m);
         },
         activeWithLines},
        {&TBlockManager::BlockEditInsertBlockAct, u"BlockEditInsertBlockAct", u"Block", u"Insert Block",
         u"Insert an empty block into the block file", u"", [](TBlockManager& m) { m.BlockEditInsertBlockActExecute(); },
         active},
        {&TBlockManager::BlockEditDeleteBlockAct, u"BlockEditDeleteBlockAct", u"Block", u"Delete Block",
         u"Delete the block that contains the selected line", u"",
         [currentBlock, rowToBlockStart](TBlockManager& m) {
             currentBlock(m, &TBlockManager::DeleteBlockLines);
             rowToBlockStart(m);
         },
         activeWithLines},
    };
    for (const Row& row : rows) {
        TAction action;
        action.Name = row.Name;
        action.Category = row.Category;
        action.Caption = row.Caption;
        action.Hint = row.Hint;
        action.ShortCut = row.ShortCut;
        action.OnExecute = [this, run = row.Run](TObject*) { run(*this); };
        action.OnUpdate = [this, enabled = row.Enabled](TObject* Sender) {
            static_cast<TAction*>(Sender)->Enabled = enabled(*this);
        };
        this->*row.Field = &list.Add(std::move(action));
    }
}

void TBlockManager::BlockEditPasteLinesActExecute()
{
    TStringList lines;
    lines.SetText(Clipboard::Current().Text());
    PasteBlockLines(DrawGrid1.Row(), std::move(lines));
}

void TBlockManager::BlockEditInsertBlockActExecute()
{
    if (InsertBlockWhereDlg && InsertBlockWhereDlg->ShowModal() == TModalResult::mrOk)
        InsertBlockAt(InsertBlockWhereDlg->ItemIndex);
}
