#include "blocks/BlockManager.h"
#include <algorithm>
#include "blocks/BlockLines.h"
#include "blocks/BlockStatus.h"
#include "platform/Canvas.h"

namespace {

constexpr TColor SelectedBackground = 0xA4A0A0;
constexpr TColor EvenBlockBackground = 0xF0CAA6;
constexpr TColor OddBlockBackground = 0xC0DCC0;
constexpr TColor OverLongText = 0xFFFFFF;
constexpr TColor OverLongBackground = 0x0000FF;

}  // namespace

TBlockManager::TBlockManager(TShowStatus showStatus, std::function<bool()> pageActive)
    : fShowStatus(std::move(showStatus)), fPageActive(std::move(pageActive))
{
    TFont font = DrawGrid1.Font();
    font.Name = u"Lucida Console";
    font.Height = -13;
    DrawGrid1.SetFont(font);
    DrawGrid1.OnDrawCell = [this](Canvas& canvas, int ACol, int ARow, const TRect& Rect, TGridDrawState State) {
        DrawGrid1DrawCell(canvas, ACol, ARow, Rect, State);
    };
    DrawGrid1.OnGetEditText = [this](int ACol, int ARow, UnicodeString& Value) { DrawGrid1GetEditText(ACol, ARow, Value); };
    DrawGrid1.OnSetEditText = [this](int ACol, int ARow, const UnicodeString& Value) {
        DrawGrid1SetEditText(ACol, ARow, Value);
    };
    DrawGrid1.OnKeyDown = [this](std::uint16_t& Key, TShiftState Shift) { DrawGrid1KeyDown(Key, Shift); };
    DrawGrid1.OnClick = [this](TObject*) { UpdateBlockStatus(); };
}

bool TBlockManager::BlockEditActive() const { return fPageActive && fPageActive() && !DrawGrid1.EditorMode(); }

void TBlockManager::SyncGrid()
{
    if (DrawGrid1.RowCount() != std::max(BlockEditData.Count(), 1)) DrawGrid1.SetRowCount(BlockEditData.Count());
    else DrawGrid1.Invalidate();
    UpdateBlockStatus();
}

bool TBlockManager::CurrentBlock(int& First, int& Last) const
{
    First = DrawGrid1.Row() / BlockLinesPerBlock * BlockLinesPerBlock;
    Last = std::min(First + BlockLinesPerBlock - 1, BlockEditData.Count() - 1);
    return First <= Last;
}

void TBlockManager::UpdateBlockStatus()
{
    const TBlockPosition p = GetBlockPosition(DrawGrid1.Row(), BlockEditData.Count());
    if (!fShowStatus) return;
    fShowStatus(spLine, NumberOrDashes(p.Line));
    fShowStatus(spLines, NumberOrDashes(p.Lines));
    fShowStatus(spBlock, NumberOrDashes(p.Block));
    fShowStatus(spBlocks, NumberOrDashes(p.Blocks));
    fShowStatus(spLineInBlock, NumberOrDashes(p.LineInBlock));
}

void TBlockManager::ShowBlockFileName()
{
    if (fShowStatus) fShowStatus(spFileName, BlockFileNameText(BlockEditCurrentFileName));
}

bool TBlockManager::IsGridRowVisible(int Row) const
{
    if (Row < 0 || Row >= BlockEditData.Count()) return true;
    return DrawGrid1.TopRow() <= Row && Row <= DrawGrid1.TopRow() + DrawGrid1.VisibleRowCount() - 1;
}

void TBlockManager::ShowGridRow(int Row)
{
    if (Row < 0 || Row >= BlockEditData.Count()) return;
    if (!IsGridRowVisible(Row)) DrawGrid1.SetTopRow(std::max(Row - DrawGrid1.VisibleRowCount() / 2, 0));
    DrawGrid1.SetRow(Row);
}

int TBlockManager::LayoutBlockGrid(Canvas& canvas)
{
    canvas.SetFont(DrawGrid1.Font());
    DrawGrid1.SetColWidths(0, canvas.TextExtent(u"00000").cx + 4);
    // The sample holds 16 characters of varied widths: four of it make a line of 64.
    DrawGrid1.SetColWidths(1, 4 * canvas.TextExtent(u"12345678QW\\/>@MT").cx + 5);
    DrawGrid1.SetDefaultRowHeight(canvas.TextMetrics().Height + 4);
    return DrawGrid1.ColWidths(0) + DrawGrid1.ColWidths(1) + 20;
}

void TBlockManager::DrawGrid1DrawCell(Canvas& canvas, int ACol, int ARow, const TRect& Rect, TGridDrawState State)
{
    canvas.SetFont(DrawGrid1.Font());
    const bool hasLine = ARow >= 0 && ARow < BlockEditData.Count();
    UnicodeString text;
    if (hasLine) text = ACol == 0 ? IntToStr(ARow + 1) : BlockEditData[ARow];
    const bool overLong = hasLine && int(BlockEditData[ARow].size()) > BlockLineLength;
    TColor font = clBlack, background;
    if (State & gdSelected) background = SelectedBackground;
    else if (!overLong) background = (ARow / BlockLinesPerBlock) % 2 == 0 ? EvenBlockBackground : OddBlockBackground;
    else font = OverLongText, background = OverLongBackground;
    canvas.SetBrushColor(background);
    canvas.FillRect(Rect);
    if (!hasLine) return;
    canvas.SetTextColor(font);
    const int top = Rect.Top + std::max((Rect.Height() - canvas.TextMetrics().Height) / 2, 0);
    const int left = ACol == 1 ? Rect.Left + 2 : Rect.Right - 4 - canvas.TextExtent(text).cx;
    canvas.TextOut(left, top, text);
}

void TBlockManager::DrawGrid1GetEditText(int ACol, int ARow, UnicodeString& Value)
{
    if (ACol != 1) return;
    BlockEditEditLine.clear();
    BlockEditAbortEditEdit = false;
    if (ARow >= 0 && ARow < BlockEditData.Count()) {
        BlockEditEditLine = BlockEditData[ARow];
        Value = BlockEditEditLine;
    }
}

void TBlockManager::DrawGrid1KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK::ESCAPE && DrawGrid1.EditorMode()) {
        BlockEditAbortEditEdit = true;
        DrawGrid1.SetEditorMode(false);
        Key = 0;
    }
}

void TBlockManager::DrawGrid1SetEditText(int ACol, int ARow, const UnicodeString& Value)
{
    if (ACol != 1 || DrawGrid1.EditorMode()) return;
    const std::uint32_t changeId = NextChangeId();
    // An aborted edit changes nothing, not even an empty list.
    if (BlockEditAbortEditEdit) {
        BlockEditAbortEditEdit = false;
        return;
    }
    if (ARow == 0 && BlockEditData.Count() == 0) {
        BlockEditData.Add(UnicodeString());
        BlockEditUndoList.PushBlockUndo(buLineInserted, changeId, 0, UnicodeString());
        UpdateBlockStatus();
        DrawGrid1.Invalidate();
    }
    if (ARow >= 0 && ARow < BlockEditData.Count() && Value != BlockEditEditLine) {
        BlockEditUndoList.PushBlockUndo(buLineChanged, changeId, ARow, BlockEditEditLine);
        BlockEditData.SetString(ARow, Value);
        BlockEditEditLine.clear();
        DrawGrid1.Invalidate();
    }
}
