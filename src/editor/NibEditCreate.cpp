// The editor control: creation and destruction, whole-editor properties, the font, the paint lock
// and the conversions between client pixels and display positions.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "editor/NibAssert.h"
#include "editor/NibEdit.h"
#include "editor/NibEditMiscProcs.h"
#include "editor/NibUnicode.h"

namespace {

constexpr TFontStyles Bold = TFontStyles(TFontStyle::fsBold);
constexpr TFontStyles Italic = TFontStyles(TFontStyle::fsItalic);
/// Lime: the transparent colour of the continuation glyph.
constexpr TColor NibWrappedMaskColor = RGB(0, 255, 0);

/// The quotient rounded up, as 16-bit quantities.
int DivCeil(int Dividend, int Divisor)
{
    const auto d = std::uint16_t(Divisor);
    if (d == 0) return 0;
    const auto n = std::uint16_t(Dividend);
    return std::uint16_t(n / d + (n % d > 0 ? 1 : 0));
}

} // namespace

TCustomNibEdit::TCustomNibEdit()
{
    fOrigLines = std::make_unique<TNibEditStringList>([this](char16_t c) { return CharCells(c); });
    fLines = fOrigLines.get();
    fLines->OnChange = [this](TObject* Sender) { LinesChanged(Sender); };
    fLines->OnChanging = [this](TObject* Sender) { LinesChanging(Sender); };
    fLines->OnCleared = [this](TObject* Sender) { ListCleared(Sender); };
    fLines->OnDeleted = [this](TObject* Sender, int Index, int Count) { ListDeleted(Sender, Index, Count); };
    fLines->OnInserted = [this](TObject* Sender, int Index, int Count) { ListInserted(Sender, Index, Count); };
    fLines->OnPutted = [this](TObject* Sender, int Index, int Count) { ListPutted(Sender, Index, Count); };

    fOrigUndoList = std::make_unique<TNibEditUndoList>();
    fOrigRedoList = std::make_unique<TNibEditUndoList>();
    fUndoList = fOrigUndoList.get();
    fRedoList = fOrigRedoList.get();
    fUndoList->OnAddedUndo = [this](TObject* Sender) { UndoRedoAdded(Sender); };
    fRedoList->OnAddedUndo = [this](TObject* Sender) { UndoRedoAdded(Sender); };

    fSelectedColor = std::make_unique<TNibSelectedColor>();
    fSelectedColor->OnChange = [this](TObject*) { InvalidateSelection(); };
    fBookMarkOpt = std::make_unique<TNibBookMarkOpt>(this);
    fBookMarkOpt->OnChange = [this](TObject*) { InvalidateGutterLines(-1, -1); };
    fGutter = std::make_unique<TNibGutter>();
    fGutter->OnChange = [this](TObject*) { GutterChanged(); };
    fGutterWidth = fGutter->Width();
    fWordWrapGlyph = std::make_unique<TNibGlyph>(u"NibEditWrapped", NibWrappedMaskColor);
    fWordWrapGlyph->OnChange = [this](TObject*) { InvalidateGutterLines(-1, -1); };
    fTextOffset = fGutterWidth + 2;

    SetBounds(0, 0, 200, 150);
    SetCursor(TCursorShape::crIBeam);
    Control::SetColor(clWindow);
    fFontDummy.Name = u"Courier New";
    fFontDummy.SetSize(10);
    fTextDrawer = std::make_unique<TheTextDrawer>(Bold, fFontDummy);
    Control::SetFont(fFontDummy);

    fKbdHandler = std::make_unique<TNibEditKbdHandler>();
    fKeyStrokes = std::make_unique<TNibEditKeyStrokes>(this);
    fMarkList = std::make_unique<TNibEditMarkList>(this);
    fMarkList->OnChange = [this](TObject*) { InvalidateGutterLines(-1, -1); };
    fKeyStrokes->ResetDefaults();

    FontChanged();
}

TCustomNibEdit::~TCustomNibEdit()
{
    while (!fFreeNotifications.empty()) {
        const TNibFreeNotification notify = fFreeNotifications.back();
        fFreeNotifications.pop_back();
        notify(this);
    }
    ReleaseSharedLines();
    SetHighlighter(nullptr);
    SetSearchEngine(nullptr);
    // The marks ask their editor to repaint while they go: they must go before everything else.
    fMarkList.reset();
    fOrigLines->OnChange = nullptr;
    fOrigLines->OnChanging = nullptr;
    fOrigLines->OnCleared = nullptr;
    fOrigLines->OnDeleted = nullptr;
    fOrigLines->OnInserted = nullptr;
    fOrigLines->OnPutted = nullptr;
    fOrigUndoList->OnAddedUndo = nullptr;
    fOrigRedoList->OnAddedUndo = nullptr;
}

// --- Properties ---------------------------------------------------------------------------------

UnicodeString TCustomNibEdit::LineText() const
{
    if (fCaretY >= 1 && fCaretY <= fLines->Count()) return fLines->Get(fCaretY - 1);
    return {};
}

void TCustomNibEdit::SetLineText(const UnicodeString& Value)
{
    if (fCaretY >= 1 && fCaretY <= std::max(1, fLines->Count())) fLines->Put(fCaretY - 1, Value);
}

UnicodeString TCustomNibEdit::WordAtCursor() const { return GetWordAtRowCol(*fLines, *this, CaretXY()); }

void TCustomNibEdit::SetOptions(TNibEditorOptions Value)
{
    if (Value == fOptions) return;
    const TNibEditorOptions old = fOptions;
    if (!old.Contains(eoScrollPastEol)) SetLeftChar(fLeftChar);
    if (!old.Contains(eoScrollPastEof)) SetTopLine(fTopLine);
    fOptions = Value;
    InternalSetCaretXY(CaretXY());
    if (fOptions.Contains(eoScrollPastEol)) {
        const TBufferCoord b = fBlockBegin, e = fBlockEnd;
        SetBlockBegin(b);
        SetBlockEnd(e);
    }
    if (old.Contains(eoShowSpecialChars) != Value.Contains(eoShowSpecialChars)) Invalidate();
    const TNibEditorOptions scrollOptions{eoDisableScrollArrows, eoHideShowScrollbars, eoScrollPastEof,
                                          eoScrollPastEol};
    if (TNibEditorOptions::FromBits(old.ToBits() ^ Value.ToBits()).Intersects(scrollOptions)) UpdateScrollBars();
}

void TCustomNibEdit::SetTabWidth(int Value)
{
    Value = ClampInt(Value, 1, 256);
    if (Value == fTabWidth) return;
    fTabWidth = Value;
    fLines->SetTabWidth(Value);
    Invalidate();
    if (fWordWrapPlugin) {
        fWordWrapPlugin->Reset();
        InvalidateGutterLines(-1, -1);
    }
}

void TCustomNibEdit::SetReadOnly(bool Value)
{
    if (Value == fReadOnly) return;
    fReadOnly = Value;
    StatusChanged({scReadOnly});
}

void TCustomNibEdit::SetModified(bool Value)
{
    // The saved point is marked by a group break of its own, whatever the options: a break that a
    // later move or option change adds cannot then take its place, and no step takes it along.
    if (!Value && fUndoList->CanUndo()) fUndoList->AddGroupBreak();
    fUndoList->SetInitialState(!Value);
    if (Value == fModified) return;
    fModified = Value;
    StatusChanged({scModified});
}

void TCustomNibEdit::SetInsertMode(bool Value)
{
    if (Value == fInserting) return;
    fInserting = Value;
    InitializeCaret();
    StatusChanged({scInsertMode});
}

void TCustomNibEdit::SetInsertCaret(TNibEditCaretType Value)
{
    if (Value == fInsertCaret) return;
    fInsertCaret = Value;
    InitializeCaret();
}

void TCustomNibEdit::SetOverwriteCaret(TNibEditCaretType Value)
{
    if (Value == fOverwriteCaret) return;
    fOverwriteCaret = Value;
    InitializeCaret();
}

void TCustomNibEdit::SetSelectionMode(TNibSelectionMode Value)
{
    if (Value == fSelectionMode) return;
    fSelectionMode = Value;
    SetActiveSelectionMode(Value);
}

void TCustomNibEdit::SetActiveSelectionMode(TNibSelectionMode Value)
{
    const bool changed = Value != fActiveSelectionMode;
    if (changed && SelAvail()) InvalidateSelection();
    fActiveSelectionMode = Value;
    // A normal block never reaches past a line end: ends that a line or column block (or a
    // replayed change in such a mode) left there come back, also when the mode was already normal.
    if (Value == smNormal && SelAvail()) {
        fBlockBegin = ClampSelectionEnd(fBlockBegin);
        fBlockEnd = ClampSelectionEnd(fBlockEnd);
    }
    if (!changed) return;
    if (SelAvail()) InvalidateSelection();
    StatusChanged({scSelection});
}

void TCustomNibEdit::SetScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    UpdateScrollBars();
    Invalidate();
}

void TCustomNibEdit::SetActiveLineColor(TColor Value)
{
    if (Value == fActiveLineColor) return;
    fActiveLineColor = Value;
    InvalidateLine(fCaretY);
}

void TCustomNibEdit::SetHighlighter(TNibCustomHighlighter* Value)
{
    const auto hook = TNibMethodChain::TMethodEvent::Bind<&TCustomNibEdit::HighlighterAttrChanged>(this);
    const auto freed = TFreeNotification::Bind<&TCustomNibEdit::HighlighterFreed>(this);
    if (fHighlighter) {
        fHighlighter->UnhookAttrChangeEvent(hook);
        fHighlighter->RemoveFreeNotification(freed);
    }
    if (Value) {
        Value->HookAttrChangeEvent(hook);
        Value->AddFreeNotification(freed);
    }
    fHighlighter = Value;
    TNibEditCharClasses::SetHighlighter(Value);
    if (Value) HighlighterAttrChanged(Value);
}

void TCustomNibEdit::HighlighterFreed(TObject*)
{
    SetHighlighter(nullptr);
    RecalcCharExtent();
    Invalidate();
}

void TCustomNibEdit::HighlighterAttrChanged(TObject* Sender)
{
    RecalcCharExtent();
    // A change that keeps every line's range, such as a new local word that opens nothing,
    // only needs a repaint: a rescan would read every line of the text.
    if (Sender == fHighlighter && fHighlighter && fHighlighter->ChangeMayAlterRanges()) {
        // A rescan changes no text, so the selection that the end of the lines update collapses
        // is given back: a new word list (such as the rescan after an edit) must not drop it.
        const TBufferCoord blockBegin = fBlockBegin, blockEnd = fBlockEnd;
        fLines->BeginUpdate();
        ScanRanges();
        fLines->EndUpdate();
        fBlockBegin = blockBegin;
        fBlockEnd = blockEnd;
    } else {
        Invalidate();
    }
    SizeOrFontChanged(true);
}

// --- Font and metrics ---------------------------------------------------------------------------

void TCustomNibEdit::SetFont(const TFont& Value)
{
    std::unique_ptr<Bitmap> screen = GraphicsFactory::Current().CreateBitmap(1, 1);
    Canvas& dc = screen->GetCanvas();
    dc.SetFont(Value);
    const TTextMetric tm = dc.TextMetrics();
    if (tm.AveCharWidth == tm.MaxCharWidth) {
        ApplyFont(Value);
    } else {
        // Pitch is not a property of our fonts: the fixed-pitch substitute keeps the rest.
        fFontDummy.Color = Value.Color;
        fFontDummy.Height = Value.Height;
        fFontDummy.Style = Value.Style;
        fFontDummy.Name = Value.Name;
        fFontDummy.Quality = Value.Quality;
        ApplyFont(fFontDummy);
    }
}

void TCustomNibEdit::SetFontSmoothing(TNibFontSmoothMethod Value)
{
    if (Value == fFontSmoothing) return;
    fFontSmoothing = Value;
    TFont font = Font();
    font.Quality = Value == fsmAntiAlias   ? TFontQuality::fqAntialiased
                   : Value == fsmClearType ? TFontQuality::fqClearType
                                           : TFontQuality::fqNonAntialiased;
    SetFont(font);
}

void TCustomNibEdit::ApplyFont(const TFont& Value)
{
    Control::SetFont(Value);
    FontChanged();
    if (fGutter->ShowLineNumbers()) GutterChanged();
}

void TCustomNibEdit::FontChanged()
{
    RecalcCharExtent();
    SizeOrFontChanged(true);
}

void TCustomNibEdit::RecalcCharExtent()
{
    bool used[4] = {false, false, false, false};
    bool anyAttribute = false;
    if (fHighlighter) {
        for (int i = 0; i < fHighlighter->AttributeCount(); ++i) {
            const TNibHighlighterAttributes* a = fHighlighter->AttributeAt(i);
            if (!a) continue;
            anyAttribute = true;
            used[a->Style() & (Bold | Italic)] = true;
        }
    }
    if (!anyAttribute) used[Font().Style & (Bold | Italic)] = true;
    fTextHeight = 0;
    fCharWidth = 0;
    fTextDrawer->SetBaseFont(Font());
    int styles = 0;
    for (int style = 0; style < 4; ++style) {
        if (!used[style]) continue;
        styles |= 1 << style;
        fTextDrawer->SetBaseStyle(TFontStyles(style));
        fTextHeight = std::max(fTextHeight, fTextDrawer->GetCharHeight());
        fCharWidth = std::max(fCharWidth, fTextDrawer->GetCharWidth());
    }
    fTextHeight += fExtraLineSpacing;
    // The cells of wide glyphs follow the font and the character width; a new word list of the
    // highlighter keeps both, and the lines' widths with them.
    const TNibCellMetrics metrics{Font(), styles, fCharWidth};
    if (metrics == fCellMetrics) return;
    fCellMetrics = metrics;
    fCellCache.clear();
    fLines->FontChanged();
}

void TCustomNibEdit::SizeOrFontChanged(bool bFont)
{
    if (HandleAllocated() && fCharWidth != 0) {
        fCharsInWindow = std::max(ClientWidth() - fGutterWidth - 2, 0) / fCharWidth;
        fLinesInWindow = fTextHeight > 0 ? ClientHeight() / fTextHeight : 0;
        if (fWordWrapPlugin) {
            fWordWrapPlugin->DisplayChanged();
            Invalidate();
        }
        if (bFont) {
            if (fGutter->ShowLineNumbers()) GutterChanged();
            else UpdateScrollBars();
            InitializeCaret();
            Invalidate();
        } else {
            UpdateScrollBars();
        }
        if (!fOptions.Contains(eoScrollPastEol)) SetLeftChar(fLeftChar);
        if (!fOptions.Contains(eoScrollPastEof)) SetTopLine(fTopLine);
    }
}

void TCustomNibEdit::Resize() { SizeOrFontChanged(false); }

void TCustomNibEdit::GutterChanged()
{
    if (fGutter->ShowLineNumbers() && fGutter->AutoSize()) fGutter->AutoSizeDigitCount(fLines->Count());
    const int width = fGutter->RealGutterWidth(fCharWidth);
    if (width == fGutterWidth) InvalidateGutterLines(-1, -1);
    else SetGutterWidth(width);
}

void TCustomNibEdit::SetGutterWidth(int Value)
{
    Value = std::max(Value, 0);
    if (Value == fGutterWidth) return;
    fGutterWidth = Value;
    UpdateTextOffset();
    if (HandleAllocated()) {
        if (fCharWidth > 0) fCharsInWindow = std::max(ClientWidth() - fGutterWidth - 2, 0) / fCharWidth;
        if (fWordWrapPlugin) fWordWrapPlugin->DisplayChanged();
        UpdateScrollBars();
        Invalidate();
    }
}

void TCustomNibEdit::UpdateTextOffset() { fTextOffset = fGutterWidth + 2 - (fLeftChar - 1) * fCharWidth; }

// --- Paint lock and status ----------------------------------------------------------------------

void TCustomNibEdit::DecPaintLock()
{
    NibAssert(fPaintLock > 0, "NibEdit\\Source\\NibEdit", __LINE__);
    // The outermost lock outside undo blocks ends a change: its lines are trimmed, still locked.
    if (fPaintLock == 1 && !fLinesToTrim.empty() && fUndoList->BlockCount() == 0) TrimStoredLines();
    if (--fPaintLock > 0) return;
    if (HandleAllocated()) {
        if (HasStateFlag(sfScrollbarChanged)) UpdateScrollBars();
        if (fWordWrapPlugin && fStatusChanges.Intersects({scCaretX, scCaretY})) {
            const TDisplayCoord vCaretPos = DisplayXY();
            if (fCharsInWindow >= 1 && vCaretPos.Column > fCharsInWindow + 1) {
                if (fCaretAtEOL) {
                    fCaretAtEOL = false;
                } else if (fStatusChanges.Contains(scCaretY)) {
                    fCaretX = DisplayToBufferPos({fCharsInWindow + 1, vCaretPos.Row}).Char;
                    fStatusChanges.Include(scCaretX);
                    fLastCaretX = DisplayX();
                }
                SetStateFlag(sfCaretChanged);
            }
        }
        if (HasStateFlag(sfCaretChanged)) UpdateCaret();
    }
    // Reported with or without a window: a listener must never miss a change.
    if (!fStatusChanges.Empty()) DoOnStatusChange(fStatusChanges);
}

void TCustomNibEdit::StatusChanged(TNibStatusChanges AChanges)
{
    fStatusChanges += AChanges;
    if (fPaintLock == 0) DoOnStatusChange(fStatusChanges);
}

void TCustomNibEdit::DoOnStatusChange(TNibStatusChanges Changes)
{
    fStatusChanges = {};
    if (OnStatusChange) OnStatusChange(this, Changes);
}

// --- Coordinates --------------------------------------------------------------------------------

TDisplayCoord TCustomNibEdit::PixelsToRowColumn(int X, int Y) const
{
    if (fCharWidth <= 0 || fTextHeight <= 0) return {1, 1};
    const int x0 = X - fGutterWidth - 2;
    return {std::max(1, fLeftChar + x0 / fCharWidth), std::max(1, fTopLine + Y / fTextHeight)};
}

TDisplayCoord TCustomNibEdit::PixelsToNearestRowColumn(int X, int Y) const
{
    if (fCharWidth <= 0 || fTextHeight <= 0) return {1, 1};
    const float f = float(X - fGutterWidth - 2) / float(fCharWidth);
    if (Y >= fLinesInWindow * fTextHeight) Y = std::max(fLinesInWindow * fTextHeight - 1, 0);
    const std::int64_t column = std::int64_t(fLeftChar) + std::int64_t(std::nearbyint(f));
    return {int(std::max<std::int64_t>(1, column)), std::max(1, fTopLine + Y / fTextHeight)};
}

TPoint TCustomNibEdit::RowColumnToPixels(const TDisplayCoord& RowCol) const
{
    return {(RowCol.Column - 1) * fCharWidth + fTextOffset, (RowCol.Row - fTopLine) * fTextHeight};
}

int TCustomNibEdit::CharCells(char16_t c) const
{
    if (c < 0x80 || fCharWidth <= 0) return 1;
    // Measuring a glyph asks the font; each one is asked once per font.
    if (fCellCache.empty()) fCellCache.resize(0x10000);
    std::uint8_t& cached = fCellCache[c];
    if (cached == 0) {
        const char16_t text[1] = {c};
        cached = std::uint8_t(std::clamp(DivCeil(fTextDrawer->TextWidth({text, 1}), fCharWidth), 1, 255));
    }
    return cached;
}

TNibEditLayout TCustomNibEdit::Layout() const
{
    TNibEditLayout layout;
    layout.Lines = fLines;
    layout.TabWidth = fTabWidth;
    layout.CharCells = [this](char16_t c) { return CharCells(c); };
    layout.WordWrap = fWordWrapPlugin.get();
    return layout;
}

UnicodeString TCustomNibEdit::ExpandAtWideGlyphs(std::u16string_view S) const
{
    // Characters below U+0080 take one cell in every font: a run of them is copied as it is.
    const std::size_t plain = std::size_t(std::find_if(S.begin(), S.end(), [](char16_t c) { return c >= 0x80; }) - S.begin());
    UnicodeString result(S.substr(0, plain));
    if (plain == S.size()) return result;
    result.reserve(S.size());
    for (char16_t c : S.substr(plain)) {
        const int cells = CharCells(c);
        if (cells > 1) result.append(std::size_t(cells - 1), NibWideGlyphFiller);
        result += c;
    }
    return result;
}

UnicodeString TCustomNibEdit::ExpandedLine(int Index) const { return ExpandAtWideGlyphs(fLines->GetExpandedString(Index)); }

TDisplayCoord TCustomNibEdit::BufferToDisplayPos(const TBufferCoord& p) const { return ::BufferToDisplayPos(Layout(), p); }
TBufferCoord TCustomNibEdit::DisplayToBufferPos(const TDisplayCoord& p) const { return ::DisplayToBufferPos(Layout(), p); }
int TCustomNibEdit::RowToLine(int aRow) const { return ::RowToLine(Layout(), aRow); }
int TCustomNibEdit::LineToRow(int aLine) const { return ::LineToRow(Layout(), aLine); }
int TCustomNibEdit::DisplayLineCount() const { return ::DisplayLineCount(Layout()); }

// --- Small routines -----------------------------------------------------------------------------

int TCustomNibEdit::LeftSpacesEx(const UnicodeString& Line, bool WantTabs) const
{
    if (!fOptions.Contains(eoAutoIndent)) return 0;
    int result = 0;
    for (char16_t c : Line) {
        if (c < 1 || c > 32) break;
        result += (c == u'\t' && WantTabs) ? fTabWidth : 1;
    }
    return result;
}

UnicodeString TCustomNibEdit::GetLeftSpacing(int CharCount, bool WantTabs) const
{
    if (WantTabs && !fOptions.Contains(eoTabsToSpaces) && CharCount >= fTabWidth)
        return RepeatChar(u'\t', CharCount / fTabWidth) + RepeatChar(u' ', CharCount % fTabWidth);
    return RepeatChar(u' ', CharCount);
}

void TCustomNibEdit::ProperSetLine(int ALine, const UnicodeString& ALineText)
{
    fLines->Put(ALine, ALineText);
    NoteTrailingBlank(ALine);
}

void TCustomNibEdit::ProperReplaceInLine(int ALine, int Start, int Count, std::u16string_view Text)
{
    fLines->ReplaceInLine(ALine, Start, Count, Text);
    NoteTrailingBlank(ALine);
}

void TCustomNibEdit::NoteTrailingBlank(int ALine)
{
    // Trimmed when the change ends, after its own undo items, so that undo puts the blanks back.
    const UnicodeString& text = fLines->Get(ALine);
    if (fOptions.Contains(eoTrimTrailingSpaces) && !fReplaying && !text.empty() &&
        (text.back() == u' ' || text.back() == u'\t') &&
        std::find(fLinesToTrim.begin(), fLinesToTrim.end(), ALine) == fLinesToTrim.end())
        fLinesToTrim.push_back(ALine);
}

void TCustomNibEdit::PlaceBookmark(std::unique_ptr<TNibEditMark>& Mark) { DoOnPlaceBookmark(Mark); }
