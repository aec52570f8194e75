// The editor control: the one primitive that replaces the selection with a text, in normal, line
// or column mode, and the selection operations built on the same positions.
#include "editor/NibEdit.h"
#include "editor/NibEditMiscProcs.h"
#include "editor/NibUnicode.h"

namespace {

bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

/// Steps over one line end: CR LF, CR or LF.
const char16_t* SkipLineEnd(const char16_t* P)
{
    if (*P == u'\r') ++P;
    if (*P == u'\n') ++P;
    return P;
}

/// The line ends from P to the end of the text, CR LF counting once.
int CountLineEnds(const char16_t* P)
{
    int count = 0;
    while (*P) {
        if (IsLineEnd(*P)) {
            ++count;
            P = SkipLineEnd(P);
        } else {
            ++P;
        }
    }
    return count;
}

/// Up to Count characters of S from the 1-based Start; nothing when Start lies past the end.
UnicodeString Copy(const UnicodeString& S, int Start, int Count)
{
    if (Start < 1 || Start > int(S.size()) || Count <= 0) return {};
    return S.substr(std::size_t(Start - 1), std::size_t(Count));
}

} // namespace

UnicodeString TrimTrailingBlanks(std::u16string_view S)
{
    std::size_t n = S.size();
    while (n > 0 && (S[n - 1] == u' ' || S[n - 1] == u'\t')) --n;
    return UnicodeString(S.substr(0, n));
}

void TCustomNibEdit::SetSelText(const UnicodeString& Value)
{
    BeginUndoBlock();
    try {
        if (SelAvail())
            fUndoList->AddChange(crDelete, fBlockBegin, fBlockEnd, SelectedText(false), fActiveSelectionMode);
        else
            CollapseForMode();
        const TBufferCoord begin = BlockBegin();
        fBlockEnd = BlockEnd();
        fBlockBegin = begin;
        SetSelTextPrimitive(Value);
        TBufferCoord start = fInsertStart;
        // A line block is replaced from the start of its first line.
        if (fActiveSelectionMode == smLine) start.Char = 1;
        if (!Value.empty() && fActiveSelectionMode != smColumn)
            fUndoList->AddChange(crInsert, start, BlockEnd(), fOverwrittenLines, smNormal);
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
}

void TCustomNibEdit::CollapseForMode()
{
    fActiveSelectionMode = fSelectionMode;
    // Ends that made no block in the old mode (a column of no width) must not make one in the new.
    fBlockBegin = CaretXY();
    fBlockEnd = fBlockBegin;
}

void TCustomNibEdit::SetSelTextPrimitive(const UnicodeString& Value)
{
    SetSelTextPrimitive(fActiveSelectionMode, Value.c_str(), true);
}

void TCustomNibEdit::SetSelTextPrimitive(TNibSelectionMode PasteMode, const char16_t* Value, bool AddToUndoList)
{
    TNibPaintLock lock(*this);
    fOverwrittenLines.clear();
    fLines->BeginUpdate();
    try {
        TBufferCoord BB = BlockBegin();
        const TBufferCoord BE = BlockEnd();
        if (SelAvail()) {
            BB = DeleteSelection(BB, BE);
            InternalSetCaretXY(BB);
        }
        fInsertStart = CaretXY();
        if (Value && *Value) {
            const TBufferCoord start = CaretXY();
            int added = 0;
            switch (PasteMode) {
            case smNormal: added = InsertNormal(Value); break;
            case smColumn: added = InsertColumn(Value, AddToUndoList); break;
            case smLine: added = InsertLine(Value); break;
            }
            if (added > 0)
                fMarkList->LinesInserted(PasteMode == smNormal && start.Char > 1 ? start.Line + 1 : start.Line, added);
        }
        if (fCaretY < 1) InternalSetCaretY(1);
    } catch (...) {
        fLines->EndUpdate();
        throw;
    }
    fLines->EndUpdate();
}

TBufferCoord TCustomNibEdit::DeleteSelection(TBufferCoord BB, TBufferCoord BE)
{
    switch (fActiveSelectionMode) {
    case smNormal: {
        if (fLines->Count() > 0) {
            UnicodeString line = Copy(fLines->Get(BB.Line - 1), 1, BB.Char - 1);
            const UnicodeString& last = fLines->Get(BE.Line - 1);
            if (BE.Char - 1 < int(last.size())) line += last.substr(std::size_t(BE.Char - 1));
            fLines->DeleteLines(BB.Line, BE.Line - BB.Line);
            if (fOptions.Contains(eoScrollPastEol) && fOptions.Contains(eoTrimTrailingSpaces))
                line = TrimTrailingBlanks(line);
            ProperSetLine(BB.Line - 1, line);
        }
        InternalSetCaretXY(BB);
        if (BE.Line > BB.Line) fMarkList->LinesDeleted(BB.Char > 1 ? BB.Line + 1 : BB.Line, BE.Line - BB.Line);
        return BB;
    }
    case smColumn: {
        // Per row the same display columns as a column copy takes, so tabs and wide glyphs
        // give up exactly the characters that were copied.
        const TDisplayCoord from = BufferToDisplayPos(BB);
        const TDisplayCoord to = BufferToDisplayPos(BE);
        const int colFrom = std::min(from.Column, to.Column);
        const int colTo = std::max(from.Column, to.Column);
        TBufferCoord topLeft = BB;
        for (int row = from.Row; row <= to.Row; ++row) {
            const TBufferCoord l = DisplayToBufferPos({colFrom, row});
            const TBufferCoord r = DisplayToBufferPos({colTo, row});
            if (row == from.Row) topLeft = {l.Char, l.Line};
            if (l.Line < 1 || l.Line > fLines->Count()) continue;
            UnicodeString line = fLines->Get(l.Line - 1);
            if (l.Char <= int(line.size())) {
                line.erase(std::size_t(l.Char - 1), std::size_t(r.Char - l.Char));
                ProperSetLine(l.Line - 1, line);
            }
        }
        InternalSetCaretXY({topLeft.Char, fBlockEnd.Line});
        return topLeft;
    }
    case smLine: {
        if (BE.Line >= fLines->Count()) {
            fLines->Put(BE.Line - 1, {});
            for (int i = BE.Line - 1; i >= BB.Line; --i) fLines->Delete(i - 1);
        } else {
            for (int i = BE.Line; i >= BB.Line; --i) fLines->Delete(i - 1);
        }
        InternalSetCaretXY({1, BB.Line});
        fMarkList->LinesDeleted(BB.Line, BE.Line - BB.Line + 1);
        return {1, BB.Line};
    }
    }
    return BB;
}

int TCustomNibEdit::InsertNormal(const char16_t* Value)
{
    int caretY = fCaretY;
    const UnicodeString line = fLines->Get(caretY - 1);
    UnicodeString left = Copy(line, 1, fCaretX - 1);
    if (int(left.size()) < fCaretX - 1) {
        // The filling blanks are part of what went in: undo takes them away with the text.
        fInsertStart = {int(left.size()) + 1, caretY};
        left.append(std::size_t(fCaretX - 1 - int(left.size())), u' ');
    }
    const UnicodeString right = fCaretX - 1 < int(line.size()) ? line.substr(std::size_t(fCaretX - 1)) : UnicodeString();

    const char16_t* P = FindLineEnd(Value);
    UnicodeString stored;
    if (IsLineEnd(*P)) {
        stored = left + UnicodeString(Value, std::size_t(P - Value));
        ProperSetLine(caretY - 1, stored);
        fLines->InsertLines(caretY, CountLineEnds(P));
    } else {
        stored = left + UnicodeString(Value, std::size_t(P - Value)) + right;
        ProperSetLine(caretY - 1, stored);
    }
    int count = 0;
    while (*P) {
        P = SkipLineEnd(P);
        ++caretY;
        const char16_t* start = P;
        P = FindLineEnd(P);
        stored = UnicodeString(start, std::size_t(P - start));
        if (!*P) stored += right;
        ProperSetLine(caretY - 1, stored);
        ++count;
    }
    // In code units, at the end of the text as inserted, before any trimming of the stored line.
    InternalSetCaretXY({1 + int(stored.size()) - int(right.size()), caretY});
    return count;
}

int TCustomNibEdit::InsertColumn(const char16_t* Value, bool AddToUndoList)
{
    // Every piece goes to the same display column, so that tabs and wide glyphs keep the block
    // rectangular and a column cut is undone where it was made.
    const int insertCol = ColumnOfChar(fCaretY, fCaretX);
    int caretY = fCaretY;
    int count = 0;
    int caretX = fCaretX;
    const char16_t* P = Value;
    for (;;) {
        const char16_t* start = P;
        P = FindLineEnd(P);
        const UnicodeString piece(start, std::size_t(P - start));
        if (!piece.empty()) {
            UnicodeString line;
            int at;
            int from;  // the first code unit this insertion adds, filling blanks included
            if (caretY <= fLines->Count()) {
                line = fLines->Get(caretY - 1);
                from = int(line.size());
                const int width = ColumnOfChar(caretY, int(line.size()) + 1) - 1;
                if (width < insertCol - 1) {
                    line.append(std::size_t(insertCol - 1 - width), u' ');
                    at = int(line.size());
                } else {
                    at = CharAtColumn(caretY, insertCol) - 1;
                    from = at;
                }
                line.insert(std::size_t(at), piece);
            } else {
                // Every line added below the text gets its own line break item, also those that
                // empty pieces passed over, so that undo removes them all.
                while (fLines->Count() < caretY) {
                    const int last = fLines->Count();
                    const int before = last > 0 ? fLines->LineCharLength(last - 1) : 0;
                    fLines->Add({});
                    ++count;
                    if (AddToUndoList)
                        fUndoList->AddChange(crLineBreak, {before + 1, last}, {before + 1, last}, {}, smNormal);
                }
                line = RepeatChar(u' ', insertCol - 1) + piece;
                at = insertCol - 1;
                from = at;
            }
            ProperSetLine(caretY - 1, line);
            if (AddToUndoList)
                // A column piece whatever mode the editor selects in: undo must take the piece only.
                fUndoList->AddChange(crPaste, {from + 1, caretY}, {at + 1 + int(piece.size()), caretY}, {},
                                     smColumn);
            caretX = at + 1 + int(piece.size());
        } else {
            caretX = CharAtColumn(caretY, insertCol);
        }
        if (!*P) break;
        P = SkipLineEnd(P);
        ++caretY;
    }
    InternalSetCaretXY({caretX, caretY});
    return count;
}

TBufferCoord TCustomNibEdit::InsertedEnd(const TBufferCoord& Start, TNibSelectionMode Mode, bool Empty) const
{
    if (Empty) return Start;
    if (Mode == smLine && fCaretX == 1) return {std::max(fCharsInWindow, 2), fCaretY - 1};
    return CaretXY();
}

int TCustomNibEdit::CharAtColumn(int Line, int Column) const
{
    TNibEditLayout layout = Layout();
    layout.WordWrap = nullptr;
    return ::DisplayToBufferPos(layout, {Column, Line}).Char;
}

int TCustomNibEdit::ColumnOfChar(int Line, int Char) const
{
    TNibEditLayout layout = Layout();
    layout.WordWrap = nullptr;
    return ::BufferToDisplayPos(layout, {Char, Line}).Column;
}

int TCustomNibEdit::InsertLine(const char16_t* Value)
{
    int caretY = fCaretY;
    int count = 0;
    const char16_t* P = Value;
    for (;;) {
        const char16_t* start = P;
        P = FindLineEnd(P);
        const UnicodeString piece(start, std::size_t(P - start));
        if (*P) {
            // Only a line really inserted counts for the marks; overwriting one does not.
            if (caretY == fLines->Count() || fInserting) {
                fLines->Insert(caretY - 1, {});
                ++count;
            } else {
                fOverwrittenLines += fLines->Get(caretY - 1) + u"\r\n";
            }
            ProperSetLine(caretY - 1, piece);
            ++caretY;
            P = SkipLineEnd(P);
        } else {
            if (caretY <= fLines->Count()) {
                fLines->Put(caretY - 1, piece + fLines->Get(caretY - 1));
            } else {
                fLines->Add(piece);
                ++count;
            }
            if (fOptions.Contains(eoTrimTrailingSpaces))
                fLines->Put(caretY - 1, TrimTrailingBlanks(fLines->Get(caretY - 1)));
            InternalSetCaretXY({1 + int(piece.size()), caretY});
            break;
        }
    }
    return count;
}

void TCustomNibEdit::SetWordBlock(TBufferCoord Value)
{
    if (fOptions.Contains(eoScrollPastEol) && !fWordWrapPlugin) Value.Char = ClampInt(Value.Char, 1, fMaxScrollWidth + 1);
    else Value.Char = std::max(Value.Char, 1);
    Value.Line = ClampInt(Value.Line, 1, fLines->Count());
    const UnicodeString T = fLines->Get(Value.Line - 1) + u'\0';
    const int length = int(T.size());
    if (Value.Char > length) {
        InternalSetCaretXY({length, Value.Line});
        return;
    }
    int end = length;
    for (int i = Value.Char; i <= length; ++i) {
        if (!IsIdentChar(T[std::size_t(i - 1)])) {
            end = i;
            break;
        }
    }
    int start = 1;
    for (int i = Value.Char - 1; i >= 1; --i) {
        if (!IsIdentChar(T[std::size_t(i - 1)])) {
            start = i + 1;
            break;
        }
    }
    SetCaretAndSelection({end, Value.Line}, {start, Value.Line}, {end, Value.Line});
    InvalidateLine(Value.Line);
    StatusChanged({scSelection});
}

void TCustomNibEdit::InsertBlock(const TBufferCoord& BB, const TBufferCoord& BE, const char16_t* ChangeStr,
                                 bool AddToUndoList)
{
    SetCaretAndSelection(BB, BB, BE);
    fActiveSelectionMode = smColumn;
    SetSelTextPrimitive(smColumn, ChangeStr, AddToUndoList);
    StatusChanged({scSelection});
}
