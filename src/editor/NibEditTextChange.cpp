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
            AddSelectionDeletion(crDelete, SelectionDeletion());
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
            const int head = std::clamp(BB.Char - 1, 0, fLines->LineCharLength(BB.Line - 1));
            if (BE.Line == BB.Line) {
                // Within one line the deletion is made in the line's own storage.
                const int tail = std::clamp(BE.Char - 1, head, fLines->LineCharLength(BB.Line - 1));
                ProperReplaceInLine(BB.Line - 1, head, tail - head, {});
            } else {
                UnicodeString line = Copy(fLines->Get(BB.Line - 1), 1, BB.Char - 1);
                const UnicodeString& last = fLines->Get(BE.Line - 1);
                if (BE.Char - 1 < int(last.size())) line += last.substr(std::size_t(BE.Char - 1));
                fLines->DeleteLines(BB.Line, BE.Line - BB.Line);
                ProperSetLine(BB.Line - 1, line);
            }
        }
        InternalSetCaretXY(BB);
        if (BE.Line > BB.Line) fMarkList->LinesDeleted(BB.Char > 1 ? BB.Line + 1 : BB.Line, BE.Line - BB.Line);
        return BB;
    }
    case smColumn: {
        const TBufferCoord topLeft{ColumnBlockChars(BB.Line, ColumnBlockColumns(BB, BE)).First, BB.Line};
        const std::vector<TNibSpan> spans = ColumnBlockSpans(BB, BE);
        for (std::size_t k = 0; k < spans.size(); ++k) {
            if (spans[k].Last == spans[k].First) continue;
            const int line = BB.Line + int(k);
            UnicodeString text = fLines->Get(line - 1);
            text.erase(std::size_t(spans[k].First - 1), std::size_t(spans[k].Last - spans[k].First));
            ProperSetLine(line - 1, text);
        }
        InternalSetCaretXY(topLeft);
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
    PadLineTo(CaretXY(), false, true);
    const UnicodeString line = fLines->Get(caretY - 1);
    const UnicodeString left = line.substr(0, std::size_t(fCaretX - 1));
    const UnicodeString right = line.substr(std::size_t(fCaretX - 1));

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
    // rectangular.
    const int insertCol = ColumnOfChar(fCaretY, fCaretX);
    const bool record = AddToUndoList && !fReplaying;
    int caretY = fCaretY;
    int count = 0;
    int caretX = fCaretX;
    const char16_t* P = Value;
    for (;;) {
        const char16_t* start = P;
        P = FindLineEnd(P);
        const UnicodeString piece(start, std::size_t(P - start));
        if (!piece.empty()) {
            // Every line added below the text gets its own line break item, also those that
            // empty pieces passed over, so that undo removes them all.
            while (fLines->Count() < caretY) {
                const int last = fLines->Count();
                const int before = last > 0 ? fLines->LineCharLength(last - 1) : 0;
                fLines->Add({});
                if (last == 0) continue;  // an empty store and one empty line are the same text
                ++count;
                if (record) fUndoList->AddChange(crLineBreak, {before + 1, last}, {before + 1, last}, {}, smNormal);
            }
            const int at = PadLineTo({CharAtColumn(caretY, insertCol), caretY}, false, AddToUndoList);
            UnicodeString line = fLines->Get(caretY - 1);
            line.insert(std::size_t(at - 1), piece);
            ProperSetLine(caretY - 1, line);
            if (record)
                // A column piece whatever mode the editor selects in: undo must take the piece only.
                fUndoList->AddChange(crPaste, {at, caretY}, {at + int(piece.size()), caretY}, {}, smColumn);
            caretX = at + int(piece.size());
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

int TCustomNibEdit::PadLineTo(const TBufferCoord& At, bool LeadingWhitespace, bool AddToUndoList)
{
    const int length = fLines->LineCharLength(At.Line - 1);
    const int missing = At.Char - 1 - length;
    if (missing <= 0) return At.Char;
    const UnicodeString line = fLines->Get(At.Line - 1);
    const UnicodeString fill =
        LeadingWhitespace && length == 0 ? GetLeftSpacing(missing, true) : RepeatChar(u' ', missing);
    ProperSetLine(At.Line - 1, line + fill);
    // From At back to the old line end: undo selects the filling (the selection stops at the line
    // end) and leaves the caret at At.
    if (AddToUndoList && !fReplaying) fUndoList->AddChange(crWhiteSpaceAdd, At, {length + 1, At.Line}, {}, smNormal);
    return length + 1 + int(fill.size());
}

void TCustomNibEdit::TrimStoredLines()
{
    std::vector<int> lines;
    lines.swap(fLinesToTrim);
    // The removed blanks belong to the step of the change that left them: beneath a group break
    // the change placed after itself, and inside its bracket when it closed one, where undo and
    // redo look for the step's end.
    std::unique_ptr<TNibEditUndoItem> groupBreak;
    if (fUndoList->LastChangeReason() == crGroupBreak) groupBreak = fUndoList->PopItem();
    std::unique_ptr<TNibEditUndoItem> closing;
    if (const TNibEditUndoItem* last = fUndoList->PeekItem(); last && IsBracketEnd(last->ChangeReason))
        closing = fUndoList->PopItem();
    const TNibEditUndoItem* top = closing ? closing.get() : fUndoList->PeekItem();
    const int savedNumber = fUndoList->BlockChangeNumber();
    if (fUndoList->BlockCount() == 0 && top && top->ChangeReason != crGroupBreak)
        fUndoList->SetBlockChangeNumber(top->ChangeNumber);
    auto putBack = [&] {
        fUndoList->SetBlockChangeNumber(savedNumber);
        if (closing) fUndoList->PushItem(std::move(closing));
        if (groupBreak) fUndoList->PushItem(std::move(groupBreak));
    };
    const TBufferCoord begin = fBlockBegin, end = fBlockEnd;
    const TNibSelectionMode mode = fActiveSelectionMode;
    fLines->BeginUpdate();
    try {
        for (int i : lines) {
            if (i < 0 || i >= fLines->Count()) continue;
            const UnicodeString line = fLines->Get(i);
            const UnicodeString trimmed = TrimTrailingBlanks(line);
            if (trimmed.size() == line.size()) continue;
            fLines->Put(i, trimmed);
            fUndoList->AddChange(crSilentDeleteAfterCursor, {int(trimmed.size()) + 1, i + 1},
                                 {int(line.size()) + 1, i + 1}, line.substr(trimmed.size()), smNormal);
        }
    } catch (...) {
        fLines->EndUpdate();
        putBack();
        throw;
    }
    fLines->EndUpdate();
    putBack();
    // Trimming moves no text: the selection the change left stays.
    fActiveSelectionMode = mode;
    fBlockBegin = mode == smNormal ? ClampSelectionEnd(begin) : begin;
    fBlockEnd = mode == smNormal ? ClampSelectionEnd(end) : end;
}

void TCustomNibEdit::EndUndoBlock()
{
    if (fUndoList->BlockCount() == 1 && fPaintLock == 0 && !fLinesToTrim.empty()) {
        TNibPaintLock lock(*this);
        TrimStoredLines();
    }
    fUndoList->EndBlock();
}

TBufferCoord TCustomNibEdit::InsertedEnd(const TBufferCoord& Start, TNibSelectionMode Mode, bool Empty) const
{
    if (Empty) return Start;
    if (Mode == smLine && fCaretX == 1) return {std::max(fCharsInWindow, 2), fCaretY - 1};
    return CaretXY();
}

int TCustomNibEdit::CharAtColumn(int Line, int Column) const
{
    return CharStartingAtOrAfter(Layout(), Line, Column);
}

int TCustomNibEdit::ColumnOfChar(int Line, int Char) const
{
    TNibEditLayout layout = Layout();
    layout.WordWrap = nullptr;
    return ::BufferToDisplayPos(layout, {Char, Line}).Column;
}

TNibSpan TCustomNibEdit::ColumnBlockColumns(const TBufferCoord& A, const TBufferCoord& B) const
{
    const int a = ColumnOfChar(A.Line, A.Char);
    const int b = ColumnOfChar(B.Line, B.Char);
    return {std::min(a, b), std::max(a, b)};
}

// Word wrap aside, so that undo puts the chars back where they were on an unwrapped line.
TNibSpan TCustomNibEdit::ColumnBlockChars(int Line, const TNibSpan& Columns) const
{
    return {CharAtColumn(Line, Columns.First), CharAtColumn(Line, Columns.Last)};
}

std::vector<TNibSpan> TCustomNibEdit::ColumnBlockSpans(const TBufferCoord& BB, const TBufferCoord& BE) const
{
    const TNibSpan columns = ColumnBlockColumns(BB, BE);
    std::vector<TNibSpan> spans;
    for (int line = BB.Line; line <= BE.Line && line <= fLines->Count(); ++line) {
        const int length = fLines->LineCharLength(line - 1);
        TNibSpan chars = ColumnBlockChars(line, columns);
        chars.Last = std::min(chars.Last, length + 1);
        if (chars.First > length) chars.Last = chars.First;
        spans.push_back(chars);
    }
    return spans;
}

TCustomNibEdit::TSelectionDeletion TCustomNibEdit::SelectionDeletion() const
{
    // The text without the blanks a column copy fills in.
    TSelectionDeletion d{fBlockBegin, fBlockEnd, SelectedText(false), fActiveSelectionMode, {}};
    if (d.Mode == smColumn && SelAvail()) d.ColumnChars = ColumnBlockSpans(BlockBegin(), BlockEnd());
    // A block that starts past the end of its line takes its text from the line end: recorded
    // from there, so that undo puts the text back without filling the line with blanks.
    TBufferCoord& first = fBlockBegin == BlockBegin() ? d.Begin : d.End;
    if (d.Mode == smNormal && first.Line >= 1 && first.Line <= fLines->Count())
        first.Char = std::min(first.Char, fLines->LineCharLength(first.Line - 1) + 1);
    return d;
}

void TCustomNibEdit::AddSelectionDeletion(TNibChangeReason Reason, TSelectionDeletion Deleted)
{
    fUndoList->AddChange(Reason, Deleted.Begin, Deleted.End, std::move(Deleted.Text), Deleted.Mode, Deleted.ColumnChars);
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
            // Only a line really inserted counts for the marks; overwriting one does not, and there
            // is none to overwrite from the last line on.
            if (caretY >= fLines->Count() || fInserting) {
                fLines->Insert(caretY - 1, {});
                ++count;
            } else {
                fOverwrittenLines += fLines->Get(caretY - 1) + u"\r\n";
            }
            ProperSetLine(caretY - 1, piece);
            ++caretY;
            P = SkipLineEnd(P);
        } else {
            if (caretY > fLines->Count()) ++count;
            ProperSetLine(caretY - 1, piece + fLines->Get(caretY - 1));
            InternalSetCaretXY({1 + int(piece.size()), caretY});
            break;
        }
    }
    return count;
}

void TCustomNibEdit::SetWordBlock(TBufferCoord Value)
{
    Value.Line = ClampInt(Value.Line, 1, fLines->Count());
    if (fOptions.Contains(eoScrollPastEol) && !fWordWrapPlugin) Value.Char = ClampInt(Value.Char, 1, PastEolCharLimit(Value.Line));
    else Value.Char = std::max(Value.Char, 1);
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
