#pragma once
// The Block Manager page: a block file as a flat list of lines (line i is line i mod 16 of block
// i div 16), its grid, its undo records, its files and its actions. The main window owns one and
// shows its grid and status bar.
#include <cstdint>
#include <functional>
#include <string_view>
#include "blocks/BlockGrid.h"
#include "blocks/BlockUndo.h"
#include "platform/Actions.h"
#include "platform/StringList.h"
#include "platform/Text.h"

class TBlockManager : public TObject {
public:
    /// Shows a text in a panel of the page's status bar.
    using TShowStatus = std::function<void(int panel, const UnicodeString& text)>;

    /// pageActive tells whether the Block Manager's page is the one shown.
    TBlockManager(TShowStatus showStatus, std::function<bool()> pageActive);

    /// The lines; a line may be longer than 64 characters, which only a text file can hold.
    TStringList BlockEditData;
    /// Not empty exactly while the lines differ from the file: there is no other modified flag.
    TBlockUndoList BlockEditUndoList;
    /// Change id of the last editing operation; every operation takes the next one.
    std::uint32_t BlockEditLastChangeId = 1;
    /// The line's text when the in-place edit began.
    UnicodeString BlockEditEditLine;
    /// Set when the in-place edit was left with Esc.
    bool BlockEditAbortEditEdit = false;
    /// Full name of the file the lines came from or went to; empty for none.
    UnicodeString BlockEditCurrentFileName;
    TBlockGrid DrawGrid1;

    bool Modified() const { return !BlockEditUndoList.Empty(); }
    /// The page is shown and no line is being edited in place.
    bool BlockEditActive() const;

    // Files.
    /// Asks whether to save changed lines: true when they may be discarded (no change, No, or Yes
    /// with a completed save). Changes nothing but by saving; an edit in progress is ended first.
    bool QueryCloseBlockFile();
    /// Replaces the lines by the records of a block stream when the close question allows.
    bool LoadBlockStream(std::string_view Bytes);
    /// Replaces the lines by those of a block file or text file when the close question allows and
    /// the file can be read; false leaves everything as it was.
    bool LoadBlockFile(const UnicodeString& FileName);
    bool LoadBlockTextFile(const UnicodeString& FileName);
    /// Saves as block file or text file by the name's extension; refuses over-long lines in a block
    /// file. True when saved: the name becomes the current one and the undo records go.
    bool SaveBlockManagerFile(const UnicodeString& FileName);

    // Editing; every operation takes a new change id, and one Undo reverts all it did.
    void DeleteBlockLines(int First, int Last);
    /// Puts lines First..Last on the clipboard as text, each followed by CR LF.
    void CopyBlockLines(int First, int Last);
    void CutBlockLines(int First, int Last);
    void InsertBlankLinesAt(int Row, int Count);
    void InsertBlankLinesAfter(int Row, int Count);
    /// Inserts the lines, wrapped to 64 characters, before line Row.
    void PasteBlockLines(int Row, TStringList Lines);
    /// Reverts every record of the newest change.
    void UndoBlockEdit();
    /// Inserts 16 blank lines where the insert-block dialog's choice says.
    void InsertBlockAt(int Where);

    // Grid and status.
    /// Sizes the columns for 5 digits and 64 characters of the grid's font, measured on canvas;
    /// returns the width the grid wants.
    int LayoutBlockGrid(Canvas& canvas);
    void UpdateBlockStatus();
    void ShowBlockFileName();
    /// True for a row that is not a line, or a line scrolled into view.
    bool IsGridRowVisible(int Row) const;
    /// Scrolls a line that is out of view to the middle, and makes it the current row.
    void ShowGridRow(int Row);

    /// Adds the page's actions to the list.
    void CreateActions(TActionList& list);
    TAction* BlockEditClearAct = nullptr;
    TAction* BlockEditOpenFileAct = nullptr;
    TAction* BlockEdSaveFileAct = nullptr;
    TAction* BlockEditSaveFileAsAct = nullptr;
    TAction* BlockEditUndoAct = nullptr;
    TAction* BlockEditCopyLinesAct = nullptr;
    TAction* BlockEditCutLinesAct = nullptr;
    TAction* BlockEditPasteLinesAct = nullptr;
    TAction* DeleteLineAct = nullptr;
    TAction* BlockEditSelecyAllAct = nullptr;
    TAction* BlockEditInsertBlankAboveAct = nullptr;
    TAction* BlockEditInsertBlankBelowAct = nullptr;
    TAction* BlockEditSelectBlockAct = nullptr;
    TAction* BlockEditCopyBlockAct = nullptr;
    TAction* BlockEditCutBlockAct = nullptr;
    TAction* BlockEditInsertBlockAct = nullptr;
    TAction* BlockEditDeleteBlockAct = nullptr;

private:
    /// Takes lines read from a file or stream in place of the current ones.
    void ReplaceLines(TStringList Lines);
    /// RowCount := line count, or a repaint when it is that already; then the status.
    void SyncGrid();
    /// The current block's first and last line; false when the current row is past the lines.
    bool CurrentBlock(int& First, int& Last) const;
    std::uint32_t NextChangeId() { return ++BlockEditLastChangeId; }

    void DrawGrid1DrawCell(Canvas& canvas, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    void DrawGrid1GetEditText(int ACol, int ARow, UnicodeString& Value);
    void DrawGrid1SetEditText(int ACol, int ARow, const UnicodeString& Value);
    void DrawGrid1KeyDown(std::uint16_t& Key, TShiftState Shift);

    void BlockEditOpenFileActExecute();
    void BlockEdSaveFileActExecute();
    void BlockEditSaveFileAsActExecute();
    void BlockEditClearActExecute();
    void BlockEditPasteLinesActExecute();
    void BlockEditInsertBlockActExecute();

    TShowStatus fShowStatus;
    std::function<bool()> fPageActive;
};
