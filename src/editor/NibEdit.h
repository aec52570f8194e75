#pragma once
// The text editor control. One class whose member functions live in files named by concern:
// NibEditCreate (creation, fields, font, paint lock, pixel conversions), NibEditCaret (caret,
// selection bounds, invalidation), NibEditTextChange (the text-change primitive), NibEditClipboard,
// NibEditScroll (scrolling, scroll bars, caret placement, range rescans), NibEditUndoRedo,
// NibEditCommands (the command path), NibEditPaint (painting of text lines) and NibEditGutter.
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "editor/NibEditKbdHandler.h"
#include "editor/NibEditKeyCmds.h"
#include "editor/NibEditMarks.h"
#include "editor/NibEditMiscClasses.h"
#include "editor/NibEditOptions.h"
#include "editor/NibEditPositions.h"
#include "editor/NibEditRescanSpan.h"
#include "editor/NibEditTextBuffer.h"
#include "editor/NibEditUndoList.h"
#include "editor/NibEditWordWrap.h"
#include "editor/NibEditWords.h"
#include "editor/NibTextDrawer.h"
#include "platform/Control.h"
#include "platform/MainLoop.h"
#include "platform/StringList.h"

/// The name of the private clipboard format that carries the selection mode of copied text.
inline constexpr char16_t NibEditClipboardFormat[] = u"NibEdit Control Block Type";

/// S without trailing spaces and tabs.
UnicodeString TrimTrailingBlanks(std::u16string_view S);

/// Tells whoever holds on to an editor that it is being destroyed.
using TNibFreeNotification = TMethod<void(TObject* Sender)>;
using TStatusChangeEvent = std::function<void(TObject* Sender, TNibStatusChanges Changes)>;
using TScrollEvent = std::function<void(TObject* Sender, TScrollBarKind ScrollBar)>;
/// Lets the application colour a whole line: set Special and change the colours.
using TSpecialLineColorsEvent =
    std::function<void(TObject* Sender, int Line, bool& Special, TColor& FG, TColor& BG)>;
/// Called after the editor has painted, with the canvas it painted on.
using TNibPaintEvent = std::function<void(TObject* Sender, Canvas& ACanvas)>;
/// May replace the text shown in the gutter beside a line.
using TGutterGetTextEvent = std::function<void(TObject* Sender, int ALine, UnicodeString& AText)>;
/// Called for each line beside which the gutter was painted; X is where the line's marks end.
using TGutterPaintEvent = std::function<void(TObject* Sender, int ALine, int X, int Y)>;

/// Sees a command before (AfterProcessing false) and after it runs; Handled cancels it.
using THookedCommandEvent = TMethod<void(TObject* Sender, bool AfterProcessing, bool& Handled,
                                         TNibEditorCommand& Command, char16_t& AChar, void* Data, void* HandlerData)>;
using TProcessCommandEvent =
    std::function<void(TObject* Sender, TNibEditorCommand& Command, char16_t& AChar, void* Data)>;
using TContextHelpEvent = std::function<void(TObject* Sender, const UnicodeString& Word)>;
using TKeyPressWEvent = std::function<void(TObject* Sender, char16_t& Key)>;
using TGutterClickEvent =
    std::function<void(TObject* Sender, TMouseButton Button, int X, int Y, int Line, TNibEditMark* Mark)>;
/// May change the mouse cursor chosen for a buffer position under the mouse.
using TMouseCursorEvent = std::function<void(TObject* Sender, const TBufferCoord& aLineCharPos, TCursorShape& aCursor)>;
using TDropFilesEvent = std::function<void(TObject* Sender, int X, int Y, const TStringList& Files)>;
/// The answer to a prompted replacement.
enum TNibReplaceAction : std::uint8_t { raCancel, raSkip, raReplace, raReplaceAll };
using TReplaceTextEvent = std::function<void(TObject* Sender, const UnicodeString& ASearch,
                                             const UnicodeString& AReplace, int Line, int Column,
                                             TNibReplaceAction& Action)>;
/// When the transient painting runs: before the editor changes what shows, or after.
enum TTransientType : std::uint8_t { ttBefore, ttAfter };
/// Draws over the text what comes and goes with the caret, such as a matching bracket.
using TPaintTransient = std::function<void(TObject* Sender, Canvas& ACanvas, TTransientType TransientType)>;
/// How the editor's text is smoothed.
enum TNibFontSmoothMethod : std::uint8_t { fsmNone, fsmAntiAlias, fsmClearType };
/// Whether the editor draws a border; without one the drag-scroll area keeps 2 pixels off each edge.
enum TNibBorderStyle : std::uint8_t { bsNone, bsSingle };
/// Commands that tell hooked handlers of focus gained and lost; they have no identifiers.
constexpr TNibEditorCommand ecGotFocus = 480, ecLostFocus = 481;
/// Where a drag is over a control.
enum TDragState : std::uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
/// An error of the editor control itself.
class ENibEditError : public ENibError {
public:
    using ENibError::ENibError;
};

class TCustomNibEdit : public Control,
                       public TNibEditCharClasses,
                       public TNibEditMarkOwner,
                       public INibWrapLineProvider {
public:
    TCustomNibEdit();
    ~TCustomNibEdit() override;
    TCustomNibEdit(const TCustomNibEdit&) = delete;
    TCustomNibEdit& operator=(const TCustomNibEdit&) = delete;

    // --- Text, lists and options -------------------------------------------------------------
    TNibEditStringList& Lines() const { return *fLines; }
    TNibEditUndoList& UndoList() const { return *fUndoList; }
    TNibEditUndoList& RedoList() const { return *fRedoList; }
    TNibEditMarkList& Marks() const { return *fMarkList; }
    TNibEditKeyStrokes& Keystrokes() const { return *fKeyStrokes; }
    TNibEditKbdHandler& KbdHandler() const { return *fKbdHandler; }
    TNibGutter& Gutter() const { return *fGutter; }
    TNibSelectedColor& SelectedColor() const { return *fSelectedColor; }
    TNibBookMarkOpt& BookMarkOptions() const { return *fBookMarkOpt; }
    TNibGlyph& WordWrapGlyph() const { return *fWordWrapGlyph; }
    TheTextDrawer& TextDrawer() const { return *fTextDrawer; }
    /// The line store's whole text.
    UnicodeString Text() const { return fLines->Text(); }
    void SetText(const UnicodeString& Value) { fLines->SetText(Value); }
    /// The caret line's text; empty when the caret line is outside the text.
    UnicodeString LineText() const;
    /// Ignored unless 1 <= CaretY <= max(1, line count).
    void SetLineText(const UnicodeString& Value);
    UnicodeString WordAtCursor() const;

    TNibEditorOptions Options() const { return fOptions; }
    void SetOptions(TNibEditorOptions Value);
    int TabWidth() const { return fTabWidth; }
    /// Kept within 1..256.
    void SetTabWidth(int Value);
    TNibCustomHighlighter* Highlighter() const { return fHighlighter; }
    /// Not owned; the editor follows its attribute changes and rescans every line's range. A
    /// highlighter that is destroyed is dropped.
    void SetHighlighter(TNibCustomHighlighter* Value);
    bool WordWrap() const { return fWordWrapPlugin != nullptr; }
    virtual bool ReadOnly() const { return fReadOnly; }
    virtual void SetReadOnly(bool Value);
    bool Modified() const { return fModified; }
    void SetModified(bool Value);
    bool InsertMode() const { return fInserting; }
    void SetInsertMode(bool Value);
    TNibEditCaretType InsertCaret() const { return fInsertCaret; }
    void SetInsertCaret(TNibEditCaretType Value);
    TNibEditCaretType OverwriteCaret() const { return fOverwriteCaret; }
    void SetOverwriteCaret(TNibEditCaretType Value);
    TNibSelectionMode SelectionMode() const { return fSelectionMode; }
    void SetSelectionMode(TNibSelectionMode Value);
    TNibSelectionMode ActiveSelectionMode() const { return fActiveSelectionMode; }
    void SetActiveSelectionMode(TNibSelectionMode Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    TColor ActiveLineColor() const { return fActiveLineColor; }
    void SetActiveLineColor(TColor Value);
    int RightEdge() const { return fRightEdge; }
    TColor RightEdgeColor() const { return fRightEdgeColor; }
    bool WantReturns() const { return fWantReturns; }
    bool WantTabs() const { return fWantTabs; }
    int MaxScrollWidth() const { return fMaxScrollWidth; }
    /// Kept within 1..2147483646.
    void SetMaxScrollWidth(int Value);
    bool AlwaysShowCaret() const { return fAlwaysShowCaret; }
    /// Keeps the caret shown without the focus, while a popup of the editor has it.
    void SetAlwaysShowCaret(bool Value);
    /// A proportional font is replaced by a fixed-pitch one of the same name, size, style, colour
    /// and quality.
    void SetFont(const TFont& Value) override;
    TNibFontSmoothMethod FontSmoothing() const { return fFontSmoothing; }
    /// A change gives the editor's font the matching quality (fsmNone: no smoothing); a font set
    /// later brings its own.
    void SetFontSmoothing(TNibFontSmoothMethod Value);

    // --- Paint lock and status ------------------------------------------------------------------
    void IncPaintLock() { ++fPaintLock; }
    /// At 0: scroll bars and caret brought up to date, collected status changes reported once.
    void DecPaintLock();
    void BeginUpdate() { IncPaintLock(); }
    void EndUpdate() { DecPaintLock(); }
    int PaintLock() const { return fPaintLock; }
    /// Collects changes; reports them at once while the paint lock is 0.
    void StatusChanged(TNibStatusChanges AChanges);
    bool HandleAllocated() const { return Host() != nullptr; }
    /// The notifications run first in the destructor, newest first.
    void AddFreeNotification(const TNibFreeNotification& h) { fFreeNotifications.push_back(h); }
    void RemoveFreeNotification(const TNibFreeNotification& h) { std::erase(fFreeNotifications, h); }

    // --- Metrics and coordinates ----------------------------------------------------------------
    int CharWidth() const { return fCharWidth; }
    int LineHeight() const { return fTextHeight; }
    int CharsInWindow() const override { return fCharsInWindow; }
    int LinesInWindow() const { return fLinesInWindow; }
    int GutterWidth() const { return fGutterWidth; }
    /// Clamped to >= 0; recomputes the text offset and the visible columns.
    void SetGutterWidth(int Value);
    int TextOffset() const { return fTextOffset; }
    TDisplayCoord PixelsToRowColumn(int X, int Y) const;
    /// Never returns the partly visible row below the last whole one.
    TDisplayCoord PixelsToNearestRowColumn(int X, int Y) const;
    TPoint RowColumnToPixels(const TDisplayCoord& RowCol) const;
    TDisplayCoord BufferToDisplayPos(const TBufferCoord& p) const;
    TBufferCoord DisplayToBufferPos(const TDisplayCoord& p) const;
    int RowToLine(int aRow) const;
    int LineToRow(int aLine) const;
    int DisplayLineCount() const;
    /// The line with fillers before every glyph wider than one cell.
    UnicodeString ExpandAtWideGlyphs(std::u16string_view S) const;

    // --- Caret and selection ---------------------------------------------------------------------
    TBufferCoord CaretXY() const { return {fCaretX, fCaretY}; }
    /// Moves the caret and collapses the selection onto it.
    virtual void SetCaretXY(const TBufferCoord& Value);
    int CaretX() const { return fCaretX; }
    int CaretY() const { return fCaretY; }
    void SetCaretX(int Value) { SetCaretXY({Value, fCaretY}); }
    void SetCaretY(int Value) { SetCaretXY({fCaretX, Value}); }
    /// Moves the caret and leaves the selection alone.
    virtual void InternalSetCaretXY(const TBufferCoord& Value);
    void InternalSetCaretX(int Value) { InternalSetCaretXY({Value, fCaretY}); }
    void InternalSetCaretY(int Value) { InternalSetCaretXY({fCaretX, Value}); }
    virtual void SetCaretXYEx(bool CallEnsureCursorPos, TBufferCoord Value);
    TDisplayCoord DisplayXY() const;
    int DisplayX() const { return DisplayXY().Column; }
    int DisplayY() const;
    bool CaretInView() const;
    int LastCaretX() const { return fLastCaretX; }

    /// The earlier of the two selection ends.
    TBufferCoord BlockBegin() const;
    /// The later of the two selection ends.
    TBufferCoord BlockEnd() const;
    void SetBlockBegin(TBufferCoord Value);
    void SetBlockEnd(TBufferCoord Value);
    bool SelAvail() const;
    bool SelTabBlock() const;
    bool SelTabLine() const;
    UnicodeString SelText() const;
    /// Replaces the selection in the active mode; the deletion and insertion are undoable.
    void SetSelText(const UnicodeString& Value);
    void SelectAll();
    /// Caret, then both selection ends, in one paint lock; the active selection mode is kept.
    void SetCaretAndSelection(const TBufferCoord& ptCaret, const TBufferCoord& ptBefore,
                              const TBufferCoord& ptAfter);
    /// Selects the word around a position.
    void SetWordBlock(TBufferCoord Value);
    /// Inserts a text as a column block at BlockBegin.
    void InsertBlock(const TBufferCoord& BB, const TBufferCoord& BE, const char16_t* ChangeStr,
                     bool AddToUndoList);
    /// Deletes the selection in the active mode, then inserts Value (up to its first NUL) in PasteMode;
    /// a column insertion goes to the caret's display column.
    void SetSelTextPrimitive(TNibSelectionMode PasteMode, const char16_t* Value, bool AddToUndoList);
    void SetSelTextPrimitive(const UnicodeString& Value);

    // --- Invalidation ----------------------------------------------------------------------------
    using Control::InvalidateRect;
    virtual void InvalidateRect(const TRect& ARect, bool Erase);
    /// (-1, -1) repaints the whole text area; Last past the text includes the area below it.
    void InvalidateLines(int FirstLine, int LastLine);
    void InvalidateLine(int ALine);
    void InvalidateSelection();
    /// Repaints the gutter beside lines FirstLine..LastLine; (-1, -1) the whole gutter.
    void InvalidateGutterLines(int FirstLine, int LastLine);
    /// Nothing for a line outside the text.
    void InvalidateGutterLine(int ALine) override
    {
        if (ALine >= 1 && ALine <= fLines->Count()) InvalidateGutterLines(ALine, ALine);
    }

    // --- Scrolling and caret placement ------------------------------------------------------------
    int TopLine() const { return fTopLine; }
    void SetTopLine(int Value);
    int LeftChar() const { return fLeftChar; }
    void SetLeftChar(int Value);
    void EnsureCursorPosVisible() { EnsureCursorPosVisibleEx(false, false); }
    void EnsureCursorPosVisibleEx(bool ForceToMiddle, bool EvenIfVisible = false);
    void UpdateScrollBars();
    void UpdateCaret();
    /// Chooses the caret shape for the mode and shows it when focused.
    void InitializeCaret();
    void HideCaret();
    void ShowCaret();
    TPoint CaretOffset() const { return fCaretOffset; }
    bool IsScrolling() const { return FIsScrolling; }

    // --- Clipboard, undo and redo --------------------------------------------------------------
    /// Puts the text on the clipboard with the private format recording the selection mode.
    void DoCopyToClipboard(const UnicodeString& SText);
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    bool CanPaste() const;
    void BeginUndoBlock() { fUndoList->BeginBlock(); }
    /// Closing the outermost block outside a paint lock ends the change: its lines are trimmed first.
    void EndUndoBlock();
    void ClearUndo();
    void LockUndo();
    void UnlockUndo();

    // --- Commands ----------------------------------------------------------------------------------
    /// The one path of every key, character and program request.
    virtual void CommandProcessor(TNibEditorCommand Command, char16_t AChar, void* Data);
    virtual void ExecuteCommand(TNibEditorCommand Command, char16_t AChar, void* Data);

    // --- Small routines ------------------------------------------------------------------------------
    /// Leading characters 1..32 of a line (a tab counting TabWidth when WantTabs); 0 without auto-indent.
    int LeftSpacesEx(const UnicodeString& Line, bool WantTabs) const;
    int LeftSpaces(const UnicodeString& Line) const { return LeftSpacesEx(Line, false); }
    /// Whitespace CharCount columns wide: tabs and spaces when WantTabs and tabs are kept, else spaces.
    UnicodeString GetLeftSpacing(int CharCount, bool WantTabs) const;

    // --- Control events ----------------------------------------------------------------------------------
    void Resize() override;
    bool MouseWheel(TShiftState shift, int wheelDelta, TPoint pos) override;
    void Scroll(TScrollBarKind kind, TScrollCode code, int position) override;
    void DoEnter() override;
    void DoExit() override;

    // --- Mark owner and word-wrap provider ------------------------------------------------------------
    TNibEditMarkList* GetMarkList() const override { return fMarkList.get(); }
    void PlaceBookmark(std::unique_ptr<TNibEditMark>& Mark) override;
    int LineCount() const override { return fLines->Count(); }
    UnicodeString ExpandedLine(int Index) const override;
    bool IsWordBreakChar(char16_t C) const override { return TNibEditCharClasses::IsWordBreakChar(C); }

    // --- Painting: text lines (NibEditPaint) and gutter (NibEditGutter) --------------------------
    /// Paints the part of the window that the canvas is clipped to.
    void Paint(Canvas& ACanvas) override;
    /// Paints the text area part of AClip: rows aFirstRow..aLastRow, display columns FirstCol..LastCol.
    virtual void PaintTextLines(Canvas& ACanvas, TRect AClip, int aFirstRow, int aLastRow, int FirstCol,
                                int LastCol);
    /// Paints the gutter part of AClip beside rows aFirstRow..aLastRow.
    virtual void PaintGutter(Canvas& ACanvas, const TRect& AClip, int aFirstRow, int aLastRow);
    /// Glyphs shown for a space, a tab and the end of a line.
    static constexpr char16_t SpaceGlyph = u'\u2219';
    static constexpr char16_t TabGlyph = u'\u2192';
    static constexpr char16_t LineEndGlyph = u'\u00B6';
    TSpecialLineColorsEvent OnSpecialLineColors;
    TNibPaintEvent OnPaint;
    TGutterGetTextEvent OnGutterGetText;
    TGutterPaintEvent OnGutterPaint;

protected:
    /// True when OnSpecialLineColors marks the line; it may change both colours.
    virtual bool DoOnSpecialLineColors(int Line, TColor& Foreground, TColor& Background);
    /// Fires OnPaint with the canvas set to the editor's font and colour.
    virtual void DoOnPaint(Canvas& ACanvas);

public:
    TNotifyEvent OnChange;
    TStatusChangeEvent OnStatusChange;
    TScrollEvent OnScroll;
    TPlaceMarkEvent OnPlaceBookmark;

protected:
    virtual void DoChange() { Fire(OnChange, this); }
    /// OnPlaceBookmark, which may replace the new mark or refuse it (nullptr).
    virtual void DoOnPlaceBookmark(std::unique_ptr<TNibEditMark>& Mark) { Fire(OnPlaceBookmark, this, Mark); }
    /// OnClearBookmark with the cleared mark, which the handler may keep.
    virtual void DoOnClearBookmark(std::unique_ptr<TNibEditMark>& Mark) { Fire(OnClearBookmark, this, Mark); }
    virtual void DoOnStatusChange(TNibStatusChanges Changes);
    virtual void LinesChanged(TObject* Sender);
    /// Measures the cell of the font in every style the highlighter uses.
    void RecalcCharExtent();
    void SizeOrFontChanged(bool bFont);
    void FontChanged();
    /// Recomputes the gutter width from its settings and the line count.
    void GutterChanged();
    void HighlighterAttrChanged(TObject* Sender);
    /// The highlighter or the search engine is being destroyed.
    void HighlighterFreed(TObject* Sender);
    void SearchEngineFreed(TObject*) { fSearchEngine = nullptr; }
    /// Stores a line, trimming trailing blanks with eoTrimTrailingSpaces.
    void ProperSetLine(int ALine, const UnicodeString& ALineText);
    /// ProperSetLine of the line with Count code units from the 0-based Start replaced by Text,
    /// made in the line's own storage.
    void ProperReplaceInLine(int ALine, int Start, int Count, std::u16string_view Text);
    /// With eoTrimTrailingSpaces, notes a line just stored that ends in a blank.
    void NoteTrailingBlank(int ALine);
    /// The scroll range of the longest line, for the bars and the thumb alike.
    int HorzMaxScroll() const;
    int VertMaxScroll() const;

private:
    TNibEditLayout Layout() const;
    /// A selection end kept within the text (and the line end in normal mode).
    TBufferCoord ClampSelectionEnd(TBufferCoord Value) const;
    /// The last char of a line that a position may take with eoScrollPastEol: the space past the
    /// line's end reaches MaxScrollWidth, but a longer line's own text is never cut. Undo and redo
    /// reach every char.
    int PastEolCharLimit(int Line) const;
    /// Repaints a client rectangle, or adds it to the pending one while the lines are changing.
    void InvalidateArea(const TRect& rect);
    /// Repaints the visible part of rows FirstRow..LastRow between two x positions.
    void InvalidateRows(int FirstRow, int LastRow, int Left, int Right);
    int CharCells(char16_t c) const;
    void ApplyFont(const TFont& Value);
    void UpdateTextOffset();
    void SetStateFlag(TNibStateFlag f) { fStateFlags.Include(f); }
    void ClearStateFlag(TNibStateFlag f) { fStateFlags.Exclude(f); }
    bool HasStateFlag(TNibStateFlag f) const { return fStateFlags.Contains(f); }

    // line-store listeners
    void LinesChanging(TObject* Sender);
    void ListCleared(TObject* Sender);
    void ListDeleted(TObject* Sender, int Index, int Count);
    void ListInserted(TObject* Sender, int Index, int Count);
    void ListPutted(TObject* Sender, int Index, int Count);
    /// Rescans highlighter ranges from a line until a stored range agrees; the last line scanned.
    int ScanFrom(int Index);
    void ScanRanges();
    /// Lines First..Last changed: their ranges are rescanned once the line store's change ends, in
    /// one pass with the lines changed next to them.
    void RescanLater(int First, int Last);
    /// Rescans the waiting lines and repaints those whose colours may have changed.
    void RescanPendingRanges();
    /// With eoAutoSizeMaxScrollWidth, widens the scroll width to a line that is longer.
    void GrowMaxScrollWidthFor(int Index);
    void UndoRedoAdded(TObject* Sender);

    // text changes
    /// Without a selection: takes the chosen selection mode with both ends on the caret.
    void CollapseForMode();
    /// The selected text; column blocks padded with blanks to a rectangle when asked.
    UnicodeString SelectedText(bool PadColumns) const;
    /// Display column and buffer char of one line, word wrap aside: the first char that starts at or
    /// after Column (past the line's end each position takes one column).
    int CharAtColumn(int Line, int Column) const;
    /// The display columns, word wrap aside, of a column block with the corners A and B: from the
    /// smaller of their columns up to the larger one.
    TNibSpan ColumnBlockColumns(const TBufferCoord& A, const TBufferCoord& B) const;
    /// The chars of a line that a column block over Columns holds: those that start between its
    /// columns, so that a tab or wide glyph straddling an edge belongs to one side only. What copy,
    /// cut, delete, painting and the point-in-selection test all take as the block.
    TNibSpan ColumnBlockChars(int Line, const TNibSpan& Columns) const;
    /// The chars that deleting the column block BB .. BE takes from each of its lines, first line
    /// first, cut at the line ends.
    std::vector<TNibSpan> ColumnBlockSpans(const TBufferCoord& BB, const TBufferCoord& BE) const;
    /// The selection as the undo item of its deletion records it: taken before the deletion.
    struct TSelectionDeletion {
        TBufferCoord Begin, End;
        UnicodeString Text;
        TNibSelectionMode Mode;
        /// A column block's chars on each line; empty outside column mode.
        std::vector<TNibSpan> ColumnChars;
    };
    TSelectionDeletion SelectionDeletion() const;
    /// Records a deletion of the selection taken by SelectionDeletion.
    void AddSelectionDeletion(TNibChangeReason Reason, TSelectionDeletion Deleted);
    /// The end of a text the primitive just inserted at Start, as a selection in Mode selects it.
    TBufferCoord InsertedEnd(const TBufferCoord& Start, TNibSelectionMode Mode, bool Empty) const;
    int ColumnOfChar(int Line, int Char) const;
    /// Deletes the selection in the active mode; returns where the caret goes.
    TBufferCoord DeleteSelection(TBufferCoord BB, TBufferCoord BE);
    int InsertNormal(const char16_t* Value);
    int InsertColumn(const char16_t* Value, bool AddToUndoList);
    /// Fills a line shorter than At.Char - 1 up to At with blanks (or, on an empty line and when
    /// asked, with the leading whitespace for those columns) and records the filling, so that undo
    /// takes it away and puts the caret back at At. Returns the char right after the filling.
    int PadLineTo(const TBufferCoord& At, bool LeadingWhitespace, bool AddToUndoList);
    /// At the end of a change: removes the trailing blanks of the lines it stored, with undo items.
    void TrimStoredLines();
    int InsertLine(const char16_t* Value);

    // undo and redo
    void UndoItem();
    void RedoItem();
    void RefreshModified();
    void MoveGroupBreak(TNibEditUndoList& From, TNibEditUndoList& To);

    // commands
    void InsertChar(char16_t AChar);
    /// A line break at the caret in one undo block; when the caret moves to the new line past a
    /// line end, the indentation is retyped there.
    void InsertLineBreak(bool MoveCaret);

    // painting
    /// The painter of one pass over the text area reads the editor's layout and colours.
    friend class TNibTextLinePainter;
    /// Draws one mark beside row `Row` and advances the row's mark offset.
    void PaintMark(Canvas& ACanvas, const TNibEditMark& Mark, int Row, int& Offset);

    std::unique_ptr<TNibEditStringList> fOrigLines;
    TNibEditStringList* fLines;
    std::unique_ptr<TNibEditUndoList> fOrigUndoList;
    std::unique_ptr<TNibEditUndoList> fOrigRedoList;
    TNibEditUndoList* fUndoList;
    TNibEditUndoList* fRedoList;
    TFont fFontDummy;
    std::unique_ptr<TheTextDrawer> fTextDrawer;
    /// What the cells of a glyph depend on: the base font, the styles measured and the cell width.
    struct TNibCellMetrics {
        TFont Font;
        int Styles = 0;
        int CharWidth = 0;
        friend bool operator==(const TNibCellMetrics&, const TNibCellMetrics&) = default;
    };
    TNibCellMetrics fCellMetrics;
    /// The cells of each glyph measured under fCellMetrics; 0 where not yet measured.
    mutable std::vector<std::uint8_t> fCellCache;
    std::unique_ptr<TNibSelectedColor> fSelectedColor;
    std::unique_ptr<TNibBookMarkOpt> fBookMarkOpt;
    std::unique_ptr<TNibGutter> fGutter;
    int fGutterWidth = 0;
    int fTextOffset = 0;
    std::unique_ptr<TNibGlyph> fWordWrapGlyph;
    std::unique_ptr<TNibWordWrapPlugin> fWordWrapPlugin;
    std::unique_ptr<TNibEditKbdHandler> fKbdHandler;
    std::unique_ptr<TNibEditKeyStrokes> fKeyStrokes;
    std::unique_ptr<TNibEditMarkList> fMarkList;
    TNibCustomHighlighter* fHighlighter = nullptr;
    TNibEditorOptions fOptions = NibDefaultOptions;
    int fTabWidth = 8;
    int fRightEdge = 80;
    TColor fRightEdgeColor = 0xC0C0C0;
    int fMaxScrollWidth = 1024;
    TColor fActiveLineColor = clNone;
    TScrollHintFormat fScrollHintFormat = shfTopLineOnly;
    TScrollStyle FScrollBars = ssBoth;
    TNibEditCaretType fInsertCaret = ctVerticalLine;
    TNibEditCaretType fOverwriteCaret = ctBlock;
    bool fInserting = true;
    bool fReadOnly = false;
    bool fModified = false;
    bool fAlwaysShowCaret = false;
    TNibSelectionMode fSelectionMode = smNormal;
    TNibSelectionMode fActiveSelectionMode = smNormal;
    bool fWantReturns = true;
    bool fWantTabs = false;
    TNibFontSmoothMethod fFontSmoothing = fsmNone;
    int fLeftChar = 1;
    int fTopLine = 1;
    int fCaretX = 1;
    int fLastCaretX = 1;
    int fCaretY = 1;
    TBufferCoord fBlockBegin{1, 1};
    TBufferCoord fBlockEnd{1, 1};
    int fCharWidth = 0;
    int fTextHeight = 0;
    int fCharsInWindow = 0;
    int fLinesInWindow = 0;
    int fPaintLock = 0;
    TNibStateFlags fStateFlags;
    std::vector<TNibFreeNotification> fFreeNotifications;
    TNibStatusChanges fStatusChanges;
    TRect fInvalidateRect;
    mutable bool fCaretAtEOL = false;
    /// Lines stored during the change (eoTrimTrailingSpaces): they lose their trailing blanks when it ends.
    std::vector<int> fLinesToTrim;
    /// Lines changed during the line store's change whose ranges are not yet rescanned.
    TNibRescanSpan fPendingRescan;
    /// Set while those ranges are stored, which changes no text.
    bool fRescanningRanges = false;
    /// Set while undo or redo replays recorded changes, which go back exactly: untrimmed and unpadded.
    bool fReplaying = false;
    /// The lines that the last line insertion in overwrite mode replaced, each with CR LF.
    UnicodeString fOverwrittenLines;
    /// Where the last text-change primitive began to insert, after deleting the selection.
    TBufferCoord fInsertStart;
    bool FIsScrolling = false;
    int fMouseWheelAccumulator = 0;
    TPoint fCaretOffset;
    TSize fCaretSize;
    /// The built-in bookmark glyphs, made when a mark first needs them.
    std::unique_ptr<TNibInternalImage> fInternalImage;

    // === Commands, input, bookmarks, drag and drop, indent, caret moves, search and replace ========
public:
    // --- Command processor: key translation, events and hooked handlers ----------------------------
    /// The command bound to a key; a key that only starts a two-stroke chord gives ecNone and waits.
    TNibEditorCommand TranslateKeyCode(std::uint16_t Code, TShiftState Shift, void*& Data);
    /// Adds a handler that sees every command before and after it runs; a known pair is ignored.
    void RegisterCommandHandler(const THookedCommandEvent& AHandlerProc, void* AHandlerData);
    void UnregisterCommandHandler(const THookedCommandEvent& AHandlerProc, void* AHandlerData);
    int HookedCommandHandlerCount() const { return int(fHookedCommandHandlers.size()); }
    TProcessCommandEvent OnProcessCommand;
    TProcessCommandEvent OnProcessUserCommand;
    TProcessCommandEvent OnCommandProcessed;
    TContextHelpEvent OnContextHelp;

    // --- Keyboard and mouse input -------------------------------------------------------------------
    /// Runs the key's command and drops its character; Escape cancels a drag of the selection.
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    /// A character from the platform: goes through DoKeyPressW.
    void KeyPress(char16_t& Key) override;
    void DoKeyPressW(char16_t Key);
    virtual void KeyPressW(char16_t& Key);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void InputMethodText(const UnicodeString& Text) override;
    /// The caret to the display position nearest to a client point; the selection stays.
    void ComputeCaret(int X, int Y);
    /// Starts, changes or stops drag-scrolling by how far a point lies outside the text area.
    void ComputeScroll(int X, int Y);
    /// Pixels the mouse must move with a button down before a press on the selection drags it.
    static constexpr int DragWidth = 4;
    static constexpr int DragHeight = 4;
    int ScrollDeltaX() const { return fScrollDeltaX; }
    int ScrollDeltaY() const { return fScrollDeltaY; }
    bool DragScrolling() const { return fScrollTimer.Enabled(); }
    /// True between a drag of the selection starting and its drop or cancel.
    bool Dragging() const { return fDragging; }
    TKeyPressWEvent OnKeyPressW;
    TGutterClickEvent OnGutterClick;

    // --- Bookmarks, drag and drop ----------------------------------------------------------------------
    void SetBookMark(int BookMark, int X, int Y);
    void ClearBookMark(int BookMark);
    virtual void GotoBookMark(int BookMark);
    /// Caret to the start of a line, centred when it was off screen.
    virtual void GotoLineAndCenter(int ALine);
    TNibEditMark* BookMark(int BookMark) const;
    /// Whether a drop of Source's selection is accepted; the caret follows the mouse, and the
    /// cursor shows a copy while Ctrl is held, else a move.
    void DragOver(TCustomNibEdit* Source, int X, int Y, TDragState State, TShiftState Shift, bool& Accept);
    /// Moves (or with Ctrl, or from another editor without Shift, copies) Source's selection here.
    void DragDrop(TCustomNibEdit* Source, int X, int Y, TShiftState Shift);
    void DragCanceled();
    TPlaceMarkEvent OnClearBookmark;
    TDropFilesEvent OnDropFiles;
    /// Hands files dropped on the editor to OnDropFiles.
    void DropFiles(int X, int Y, const TStringList& Files);
    /// With eoDropFiles the editor is a drop target for files from the desktop.
    bool AcceptsDroppedFiles() const override { return fOptions.Contains(eoDropFiles); }
    void FilesDropped(int x, int y, const std::vector<UnicodeString>& files) override;

    // --- Options, indent and unindent ------------------------------------------------------------------
    void SetWantReturns(bool Value) { fWantReturns = Value; }
    void SetWantTabs(bool Value) { fWantTabs = Value; }
    /// The arrows always; Tab while WantTabs and Enter while WantReturns.
    TDlgCodes DlgCode() const override
    {
        return DLGC_WANTARROWS | (fWantTabs ? DLGC_WANTTAB : 0) | (fWantReturns ? DLGC_WANTALLKEYS : 0);
    }
    void DoBlockIndent();
    void DoBlockUnindent();
    bool IsPointInSelection(const TBufferCoord& Value) const;
    /// The selection's lines and characters, each pair ordered on its own (a column block's corners).
    TBufferBlock UnifiedSelection() const;
    /// Clears text, marks, bookmarks, undo and redo.
    void ClearAll();
    void ClearSelection();
    void AddKey(TNibEditorCommand Command, std::uint16_t Key1, TShiftState Shift1, std::uint16_t Key2 = 0,
                TShiftState Shift2 = 0);

    // --- Caret moves, Home, End, Tab and case change ------------------------------------------------
    void MoveCaretAndSelection(const TBufferCoord& ptBefore, const TBufferCoord& ptAfter, bool SelectionCommand);
    void MoveCaretHorz(int DX, bool SelectionCommand);
    void MoveCaretVert(int DY, bool SelectionCommand);
    void DoHomeKey(bool Selection);
    void DoEndKey(bool Selection);
    void DoTabKey();
    void DoShiftTabKey();
    /// Upper, lower, toggle or title case of the word at the caret or of the selection.
    void DoCaseChange(TNibEditorCommand Cmd);
    /// Selects the word at the caret.
    void SetSelWord() { SetWordBlock(CaretXY()); }

    // --- Property setters with side effects -------------------------------------------------------
    void SetRightEdge(int Value);
    void SetRightEdgeColor(TColor Value);
    int MaxUndo() const { return fUndoList->MaxUndoActions(); }
    /// Both the undo and the redo list; negative values are ignored.
    void SetMaxUndo(int Value);
    bool HideSelection() const { return fHideSelection; }
    void SetHideSelection(bool Value);
    TNibBorderStyle BorderStyle() const { return fBorderStyle; }
    /// bsSingle has the host draw a single line around the editor and its scroll bars, bsNone nothing.
    void SetBorderStyle(TNibBorderStyle Value);
    int BorderWidth() const override { return fBorderStyle == bsSingle ? 1 : 0; }
    /// Null clears the bindings; otherwise they become copies of Value's.
    void SetKeystrokes(const TNibEditKeyStrokes* Value);
    /// The text becomes a copy of Value's lines, in one change of the line store.
    void SetLines(const TStringList& Value);
    /// Copies the settings of another gutter.
    void SetGutter(const TNibGutter& Value) { fGutter->Assign(Value); }
    /// The properties are all set: the gutter width and the scroll bars follow them.
    void Loaded();
    virtual void SetDefaultKeystrokes() { fKeyStrokes->ResetDefaults(); }
    void SetWordWrap(bool Value);
    int ExtraLineSpacing() const { return fExtraLineSpacing; }
    void SetExtraLineSpacing(int Value);
    void SetWordWrapGlyph(const TNibGlyph& Value) { fWordWrapGlyph->Assign(Value); }
    void AddKeyDownHandler(const TNibKeyHandler& h) { fKbdHandler->AddKeyDownHandler(h); }
    void RemoveKeyDownHandler(const TNibKeyHandler& h) { fKbdHandler->RemoveKeyDownHandler(h); }
    void AddKeyUpHandler(const TNibKeyHandler& h) { fKbdHandler->AddKeyUpHandler(h); }
    void RemoveKeyUpHandler(const TNibKeyHandler& h) { fKbdHandler->RemoveKeyUpHandler(h); }
    void AddKeyPressHandler(const TNibKeyPressHandler& h) { fKbdHandler->AddKeyPressHandler(h); }
    void RemoveKeyPressHandler(const TNibKeyPressHandler& h) { fKbdHandler->RemoveKeyPressHandler(h); }
    void AddMouseDownHandler(const TNibMouseHandler& h) { fKbdHandler->AddMouseDownHandler(h); }
    void RemoveMouseDownHandler(const TNibMouseHandler& h) { fKbdHandler->RemoveMouseDownHandler(h); }
    void AddMouseUpHandler(const TNibMouseHandler& h) { fKbdHandler->AddMouseUpHandler(h); }
    void RemoveMouseUpHandler(const TNibMouseHandler& h) { fKbdHandler->RemoveMouseUpHandler(h); }
    void AddMouseCursorHandler(const TNibMouseCursorHandler& h) { fKbdHandler->AddMouseCursorHandler(h); }
    void RemoveMouseCursorHandler(const TNibMouseCursorHandler& h) { fKbdHandler->RemoveMouseCursorHandler(h); }

    // --- Shared line store: showing another editor's text and undo lists ------------------------------
    /// Shows ANibEdit's text, undo and redo lists; both editors follow every change.
    void SetLinesPointer(TCustomNibEdit* ANibEdit);
    /// Back to the editor's own text.
    void RemoveLinesPointer();
    void HookTextBuffer(TNibEditStringList* ABuffer, TNibEditUndoList* AUndo, TNibEditUndoList* ARedo);
    void UnHookTextBuffer();
    TCustomNibEdit* ChainedEditor() const { return fChainedEditor; }

    // --- Search and replace ---------------------------------------------------------------------------
    TNibEditSearchCustom* SearchEngine() const { return fSearchEngine; }
    /// Not owned: an engine that is destroyed is dropped.
    void SetSearchEngine(TNibEditSearchCustom* Value);
    /// Finds, selects and optionally replaces ASearch; the number of matches (or replacements).
    int SearchReplace(const UnicodeString& ASearch, const UnicodeString& AReplace, TNibSearchOptions AOptions);
    TReplaceTextEvent OnReplaceText;

    // --- The selection as character indexes, and the mouse position (NibEditSelectionIndexes) -----
    /// Index of the selection's start (or of the caret without a selection) in the whole text, each
    /// line break counting 2.
    int SelStart() const;
    /// Moves the caret to an index and collapses the selection onto it.
    void SetSelStart(int Value);
    /// Index of the selection's end, or of the caret without a selection.
    int SelEnd() const;
    void SetSelEnd(int Value);
    /// Characters selected, line breaks counting 2; 0 without a selection.
    int SelLength() const;
    /// Selects Value characters on from the selection's start, or back from it when negative; the
    /// caret goes to the far end. A length beyond the text stops at its end or its start.
    void SetSelLength(int Value);
    /// The buffer position under the mouse pointer; false when the pointer is outside the control.
    bool GetPositionOfMouse(TBufferCoord& Position) const;
    /// The word under the mouse pointer; empty when there is none.
    UnicodeString WordAtMouse() const;

    // --- Word positions, brackets and tokens at a position (NibEditPositionQueries) --------------
    /// The start of the next word; the Ex forms start from XY, the others from the caret.
    virtual TBufferCoord NextWordPos() const { return NextWordPosEx(CaretXY()); }
    virtual TBufferCoord NextWordPosEx(const TBufferCoord& XY) const;
    virtual TBufferCoord WordStart() const { return WordStartEx(CaretXY()); }
    virtual TBufferCoord WordStartEx(const TBufferCoord& XY) const;
    virtual TBufferCoord WordEnd() const { return WordEndEx(CaretXY()); }
    virtual TBufferCoord WordEndEx(const TBufferCoord& XY) const;
    virtual TBufferCoord PrevWordPos() const { return PrevWordPosEx(CaretXY()); }
    virtual TBufferCoord PrevWordPosEx(const TBufferCoord& XY) const;
    /// The caret to the partner of the bracket at it; it stays where it is when there is none.
    virtual void FindMatchingBracket();
    /// The partner of the bracket at the caret, or at APoint; (0, 0) when there is none.
    virtual TBufferCoord GetMatchingBracket() const { return GetMatchingBracketEx(CaretXY()); }
    virtual TBufferCoord GetMatchingBracketEx(const TBufferCoord& APoint) const;
    /// The highlighter's token that holds the character at XY; false without one.
    bool GetHighlighterAttriAtRowCol(const TBufferCoord& XY, UnicodeString& Token,
                                     TNibHighlighterAttributes*& Attri) const;
    bool GetHighlighterAttriAtRowColEx(const TBufferCoord& XY, UnicodeString& Token, int& TokenType, int& Start,
                                       TNibHighlighterAttributes*& Attri) const;
    /// Repaints the whole gutter.
    void InvalidateGutter() { InvalidateGutterLines(-1, -1); }

    // --- The mouse cursor (NibEditMouseCursor) -----------------------------------------------------
    /// Chooses the cursor for where the mouse last was: the gutter's over the gutter; over the
    /// text the arrow on a selection that can be dragged, else the I-beam; then OnMouseCursor
    /// and the mouse-cursor handlers may change it.
    virtual void UpdateMouseCursor();
    TMouseCursorEvent OnMouseCursor;

    // --- The scroll hint (NibEditScrollHint) -----------------------------------------------------
    /// The hint beside the vertical bar while its thumb is dragged (eoShowScrollHint).
    TColor ScrollHintColor() const { return fScrollHintColor; }
    void SetScrollHintColor(TColor Value) { fScrollHintColor = Value; }
    TScrollHintFormat ScrollHintFormat() const { return fScrollHintFormat; }
    void SetScrollHintFormat(TScrollHintFormat Value) { fScrollHintFormat = Value; }

    // --- The focus list (NibEditFocusList) -------------------------------------------------------
    /// Controls that take the focus in the editor's place while the editor keeps its caret (the
    /// completion popup); the newest one is asked first.
    void AddFocusControl(Control* AControl);
    void RemoveFocusControl(Control* AControl);
    /// Focuses the newest control of the focus list when it can take the focus, else the editor.
    void SetFocus() override;

    // --- Changed key bindings in a stream (NibEditKeystrokeDifferences) -------------------------
    /// Writes how Keystrokes differ from the default bindings: "RemovedKeystrokes", the defaults
    /// the editor lacks, then "AddedKeystrokes", its bindings the defaults lack; each a name and a
    /// keystroke table. Nothing at all when the bindings are the defaults.
    void WriteKeystrokeDifferences(std::ostream& Stream) const;
    /// Applies the differences of a stream to Keystrokes: the removed bindings are deleted, the
    /// added ones appended. A stream that is not such differences raises ENibError and changes nothing.
    void ReadKeystrokeDifferences(std::istream& Stream);

    // --- Transient painting (NibEditPaintTransient) ----------------------------------------------
    TPaintTransient OnPaintTransient;

protected:
    /// Runs the transient painting unless a locked pass is open. Lock opens a pass with ttBefore and
    /// closes it with ttAfter; the calls in between run nothing.
    virtual void DoOnPaintTransientEx(TTransientType TransientType, bool Lock);
    virtual void DoOnPaintTransient(TTransientType TransientType) { DoOnPaintTransientEx(TransientType, false); }

private:
    /// Ctrl pressed or released while dragging: the cursor shows a copy or a move at once.
    void DragCursorFollowsCtrl(TShiftState Shift);
    /// OnPaintTransient with the editor's font and colour and the caret hidden, on the canvas of
    /// the paint in progress or, without one, on the host's.
    void PaintTransient(TTransientType TransientType, Canvas* PaintCanvas);
    int fPaintTransientLock = 0;
    /// The system's hint background colour.
    TColor fScrollHintColor = TColor(0x80000018u);
    /// Shows the top line (and the last, with shfTopToBottom) beside the dragged thumb at trackPos.
    void ShowScrollHint(int trackPos);
    std::vector<Control*> fFocusList;

public:

protected:
    virtual void DoOnProcessCommand(TNibEditorCommand& Command, char16_t& AChar, void* Data);
    virtual void DoOnCommandProcessed(TNibEditorCommand Command, char16_t AChar, void* Data);
    /// Runs the hooked handlers; one that sets Handled turns the command into ecNone.
    void NotifyHookedCommandHandlers(bool AfterProcessing, TNibEditorCommand& Command, char16_t& AChar, void* Data);
    virtual void DoOnGutterClick(TMouseButton Button, int X, int Y);
    virtual TNibReplaceAction DoOnReplaceText(const UnicodeString& ASearch, const UnicodeString& AReplace, int Line,
                                              int Column);

private:
    /// The commands of ExecuteCommand that are not plain calls, by group.
    bool ExecuteMoveCommand(TNibEditorCommand Command, void* Data);
    void PageUpDown(TNibEditorCommand Command);
    void PageTopBottom(bool Bottom, bool Selection);
    void ScrollUpDown(bool Down);
    void SetMarkerCommand(int BookMark, void* Data);
    /// Backspace, delete and the word and line deletions.
    void DeleteLastChar();
    void DeleteChar();
    void DeleteToWordEnd(bool ToLineEnd);
    void DeleteToWordStart(bool ToLineStart);
    void DeleteLine();
    /// The selection removed for backspace or delete, with its undo item.
    void DeleteSelectionForKey();
    void InsertImeStr(const char16_t* S);
    /// The indentation of the nearest line above ALine (1-based) narrower than Limit; 0 when none.
    int SmallerIndentAbove(int ALine, int Limit, bool Expanded) const;
    void DragScrollTick();
    /// On destruction: editors showing this one's text go back to their own, and a shown text is given back.
    void ReleaseSharedLines();
    /// After the shown store changed: repaint, widen the scroll width, update the bars.
    void LinesHookChanged();

    std::uint16_t fLastKey = 0;
    TShiftState fLastShiftState = 0;
    struct THookedCommandHandlerEntry {
        THookedCommandEvent Event;
        void* Data;
    };
    std::vector<THookedCommandHandlerEntry> fHookedCommandHandlers;
    UnicodeString FCharCodeString;
    int fMouseDownX = 0;
    int fMouseDownY = 0;
    int fScrollDeltaX = 0;
    int fScrollDeltaY = 0;
    TPoint fLastMouse;
    TShiftState fLastMouseShift = 0;
    bool fDragging = false;
    TTimer fScrollTimer;
    std::array<TNibEditMark*, 10> fBookMarks{};
    TNibEditSearchCustom* fSearchEngine = nullptr;
    bool fHideSelection = false;
    TNibBorderStyle fBorderStyle = bsSingle;
    int fExtraLineSpacing = 0;
    TCustomNibEdit* fChainedEditor = nullptr;
    /// The editors that show this one's text.
    std::vector<TCustomNibEdit*> fLinesFollowers;
    TNotifyEvent fChainListCleared;
    TStringListChangeEvent fChainListDeleted;
    TStringListChangeEvent fChainListInserted;
    TStringListChangeEvent fChainListPutted;
    TNotifyEvent fChainLinesChanging;
    TNotifyEvent fChainLinesChanged;
    TNotifyEvent fChainUndoAdded;
    TNotifyEvent fChainRedoAdded;
};

/// Holds an editor's paint lock for a scope; the release reports the collected status changes.
class TNibPaintLock {
public:
    explicit TNibPaintLock(TCustomNibEdit& AEdit) : fEdit(AEdit) { fEdit.IncPaintLock(); }
    ~TNibPaintLock() noexcept(false) { fEdit.DecPaintLock(); }
    TNibPaintLock(const TNibPaintLock&) = delete;
    TNibPaintLock& operator=(const TNibPaintLock&) = delete;

private:
    TCustomNibEdit& fEdit;
};

/// The editor as forms place it; it adds no operations.
class TNibEdit : public TCustomNibEdit {
};
