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
            fUndoList->AddChange(crDelete, fBlockBegin, fBlockEnd, SelText(), fActiveSelectionMode);
        else
            fActiveSelectionMode = fSelectionMode;
        const TBufferCoord start = BlockBegin();
        fBlockEnd = BlockEnd();
        fBlockBegin = start;
        SetSelTextPrimitive(Value);
        if (!Value.empty() && fActiveSelectionMode != smColumn)
            fUndoList->AddChange(crInsert, start, BlockEnd(), {}, smNormal);
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
}

void TCustomNibEdit::SetSelTextPrimitive(const UnicodeString& Value)
{
    SetSelTextPrimitive(fActiveSelectionMode, Value.c_str(), true);
}

void TCustomNibEdit::SetSelTextPrimitive(TNibSelectionMode PasteMode, const char16_t* Value, bool AddToUndoList)
{
    TNibPaintLock lock(*this);
    fLines->BeginUpdate();
    try {
        TBufferCoord BB = BlockBegin();
        const TBufferCoord BE = BlockEnd();
        if (SelAvail()) {
            BB = DeleteSelection(BB, BE);
            InternalSetCaretXY(BB);
        }
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
    if (int(left.size()) < fCaretX - 1) left.append(std::size_t(fCaretX - 1 - int(left.size())), u' ');
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
    const int insertPos = fCaretX;
    int caretY = fCaretY;
    int count = 0;
    const char16_t* P = Value;
    int lastLength = 0;
    for (;;) {
        const char16_t* start = P;
        P = FindLineEnd(P);
        const UnicodeString piece(start, std::size_t(P - start));
        lastLength = int(piece.size());
        if (!piece.empty()) {
            UnicodeString line;
            if (caretY <= fLines->Count()) {
                line = fLines->Get(caretY - 1);
                if (int(line.size()) < insertPos - 1) line.append(std::size_t(insertPos - 1 - int(line.size())), u' ');
                line.insert(std::size_t(insertPos - 1), piece);
            } else {
                ++count;
                const int before = fLines->Count() > 0 ? fLines->LineCharLength(fLines->Count() - 1) : 0;
                line = RepeatChar(u' ', insertPos - 1) + piece;
                fLines->Add({});
                if (AddToUndoList)
                    fUndoList->AddChange(crLineBreak, {before + 1, caretY - 1}, {before + 1, caretY - 1}, {}, smNormal);
            }
            ProperSetLine(caretY - 1, line);
            if (AddToUndoList)
                fUndoList->AddChange(crPaste, {insertPos, caretY}, {insertPos + lastLength, caretY}, {},
                                     fActiveSelectionMode);
        }
        if (!*P) break;
        P = SkipLineEnd(P);
        ++caretY;
    }
    InternalSetCaretXY({fCaretX + lastLength, caretY});
    return count;
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
