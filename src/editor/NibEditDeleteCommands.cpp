// The editor control: backspace, delete, the word and line deletions, and text from an input method.
#include "editor/NibEdit.h"
#include "editor/NibEditTempOption.h"
#include "editor/NibUnicode.h"

int TCustomNibEdit::SmallerIndentAbove(int ALine, int Limit, bool Expanded) const
{
    for (int i = ALine - 1; i >= 1; --i) {
        const UnicodeString line = fLines->Get(i - 1);
        const int indent = Expanded ? LeftSpacesEx(line, true) : LeftSpaces(line);
        if (indent < Limit) return indent;
    }
    return 0;
}

void TCustomNibEdit::DeleteSelectionForKey()
{
    TSelectionDeletion deleted = SelectionDeletion();
    SetSelTextPrimitive({});
    const TBufferCoord &b = deleted.Begin, &e = deleted.End;
    const bool forward = b.Line < e.Line || (b.Line == e.Line && b.Char < e.Char);
    AddSelectionDeletion(forward ? crDelete : crDeleteAfterCursor, std::move(deleted));
}

void TCustomNibEdit::DeleteLastChar()
{
    if (SelAvail()) {
        DeleteSelectionForKey();
        return;
    }
    UnicodeString line = LineText();
    const int length = int(line.size());
    const int x = fCaretX;
    const int y = fCaretY;
    const TBufferCoord old = CaretXY();
    UnicodeString deleted;
    if (x > length + 1) {
        int newX = x - 1;
        if (fOptions.Contains(eoSmartTabDelete)) {
            if (length > 0) {
                newX = length + 1;
            } else {
                const int s1 = x - 1;
                int s2 = SmallerIndentAbove(y, s1, fOptions.Contains(eoTrimTrailingSpaces));
                if (s2 == s1) s2 = 0;
                newX = x - (s1 - s2);
            }
        }
        InternalSetCaretX(newX);
    } else if (x == 1) {
        if (y == 1) return;
        // The moved line's trailing blanks go when the change ends, with an undo item of their own.
        const UnicodeString previous = fLines->Get(y - 2);
        InternalSetCaretXY({int(previous.size()) + 1, y - 1});
        fLines->Delete(y - 1);
        fMarkList->LinesDeleted(y, 1);
        ProperSetLine(y - 2, previous + line);
        deleted = u"\r\n";
    } else {
        const int s1 = LeftSpaces(line);
        const char16_t before = line[std::size_t(x - 2)];
        int first = x - 1, count = 1;
        if (before <= u' ' && s1 == x - 1) {
            if (fOptions.Contains(eoSmartTabDelete)) {
                const int s2 = SmallerIndentAbove(y, s1, false);
                first = 1;
                count = s1 - s2;
            } else {
                const int column = DisplayX();
                int b = (column - 1) % fTabWidth;
                if (b == 0) b = fTabWidth;
                const UnicodeString expanded = fLines->GetExpandedString(y - 1);
                const int start = column - b;
                count = 0;
                auto at = [&](int i) {
                    return i >= 1 && i <= int(expanded.size()) ? expanded[std::size_t(i - 1)] : u'\0';
                };
                while (count < fTabWidth && count < b && at(start + count) != u'\t') ++count;
                if (at(start + count) == u'\t') ++count;
                count = std::max(1, std::min(count, s1));
                first = count == s1 ? 1 : s1 - count + 1;
            }
        }
        deleted = line.substr(std::size_t(first - 1), std::size_t(count));
        const UnicodeString between = line.substr(std::size_t(first - 1 + count), std::size_t(x - first - count));
        line.erase(std::size_t(first - 1), std::size_t(count));
        ProperSetLine(y - 1, line);
        InternalSetCaretX(x - count);
        if (deleted + between == between + deleted) {
            // Removing the characters just before the caret gives the same line: the item names
            // those, and undo puts the caret back where it stood.
            fUndoList->AddChange(crSilentDelete, {x - count, y}, old, deleted, smNormal);
        } else {
            // The indentation went from its start: the item names the characters really removed,
            // and a caret item before it puts the caret back.
            BeginUndoBlock();
            fUndoList->AddChange(crCaret, old, old, {}, smNormal);
            fUndoList->AddChange(crSilentDelete, {first, y}, {first + count, y}, deleted, smNormal);
            EndUndoBlock();
        }
        if (fOptions.Contains(eoTrimTrailingSpaces) && line.find(u'\t') != UnicodeString::npos) {
            // The stored line lost its trailing blanks: the caret keeps its place on screen.
            TNibTempOption pastEol(fOptions, eoScrollPastEol);
            const int expandedBefore = GetExpandedLength(line, fTabWidth);
            const int expandedAfter = GetExpandedLength(TrimTrailingBlanks(line), fTabWidth);
            InternalSetCaretX(fCaretX + expandedBefore - expandedAfter);
        }
        EnsureCursorPosVisible();
        return;
    }
    if (CaretXY() != old) fUndoList->AddChange(crSilentDelete, CaretXY(), old, deleted, smNormal);
    EnsureCursorPosVisible();
}

void TCustomNibEdit::DeleteChar()
{
    if (SelAvail()) {
        DeleteSelectionForKey();
        return;
    }
    UnicodeString line = LineText();
    const int x = fCaretX;
    const int y = fCaretY;
    if (x <= int(line.size())) {
        const UnicodeString deleted = line.substr(std::size_t(x - 1), 1);
        line.erase(std::size_t(x - 1), 1);
        ProperSetLine(y - 1, line);
        fUndoList->AddChange(crSilentDeleteAfterCursor, {x, y}, {x + 1, y}, deleted, smNormal);
    } else if (y < fLines->Count()) {
        // Past the line end the line is filled up to the caret first; undo takes the filling away.
        BeginUndoBlock();
        try {
            PadLineTo(CaretXY(), false, true);
            const UnicodeString next = fLines->Get(y);
            ProperSetLine(y - 1, fLines->Get(y - 1) + next);
            fLines->Delete(y);
            fMarkList->LinesDeleted(y + 1, 1);
            fUndoList->AddChange(crSilentDeleteAfterCursor, {x, y}, {1, y + 1}, u"\r\n", smNormal);
        } catch (...) {
            EndUndoBlock();
            throw;
        }
        EndUndoBlock();
    }
}

void TCustomNibEdit::DeleteToWordEnd(bool ToLineEnd)
{
    const TBufferCoord caret = CaretXY();
    const UnicodeString line = LineText();
    const int length = int(line.size());
    TBufferCoord w = ToLineEnd ? TBufferCoord{length + 1, caret.Line} : ::WordEndEx(*fLines, *this, caret);
    const bool before = w.Line < caret.Line || (w.Line == caret.Line && w.Char < caret.Char);
    if (before || (w == caret && caret.Line < fLines->Count())) {
        if (w.Char > length) {
            w = {1, caret.Line + 1};
        } else if (line[std::size_t(w.Char - 1)] != u' ') {
            ++w.Char;
        }
        const UnicodeString wLine = fLines->Get(w.Line - 1);
        while (w.Char <= int(wLine.size()) && wLine[std::size_t(w.Char - 1)] == u' ') ++w.Char;
    }
    if (w == caret || w.Line > std::max(fLines->Count(), 1)) return;
    // From a caret past the line end the blanks up to the caret come first, recorded on their own,
    // so that the deletion starts at the caret and undo gives the line back as it was.
    BeginUndoBlock();
    try {
        PadLineTo(caret, false, true);
        fActiveSelectionMode = smNormal;
        SetCaretAndSelection(caret, caret, w);
        const UnicodeString text = SelectedText(false);
        SetSelTextPrimitive(smNormal, u"", true);
        fUndoList->AddChange(crSilentDeleteAfterCursor, caret, w, text, smNormal);
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
    SetCaretXY(caret);
}

void TCustomNibEdit::DeleteToWordStart(bool ToLineStart)
{
    const TBufferCoord caret = CaretXY();
    const TBufferCoord w = ToLineStart ? TBufferCoord{1, caret.Line} : ::PrevWordPosEx(*fLines, *this, caret);
    if (w == caret) return;
    fActiveSelectionMode = smNormal;
    SetCaretAndSelection(caret, w, caret);
    const UnicodeString text = SelectedText(false);
    SetSelTextPrimitive(smNormal, u"", true);
    fUndoList->AddChange(crSilentDelete, w, caret, text, smNormal);
    SetCaretXY(w);
}

void TCustomNibEdit::DeleteLine()
{
    const int count = fLines->Count();
    const int y = fCaretY;
    if (count == 0 || (y == count && LineText().empty())) return;
    SetBlockBegin(CaretXY());
    const UnicodeString line = LineText();
    if (y == count) {
        fLines->Put(y - 1, {});
        fUndoList->AddChange(crSilentDeleteAfterCursor, {1, y}, {int(line.size()) + 1, y}, line, smNormal);
    } else {
        fLines->Delete(y - 1);
        fMarkList->LinesDeleted(y, 1);
        fUndoList->AddChange(crSilentDeleteAfterCursor, {1, y}, {1, y + 1}, line + u"\r\n", smNormal);
    }
    SetCaretXY({1, y});
}

void TCustomNibEdit::InsertImeStr(const char16_t* S)
{
    const UnicodeString text(S);
    if (SelAvail()) {
        SetSelText(text);
        InvalidateGutterLines(-1, -1);
        return;
    }
    const int x = fCaretX;
    const int y = fCaretY;
    TNibTempOption pastEol(fOptions, eoScrollPastEol);
    BeginUndoBlock();
    try {
        // Past the line end the line is filled up to the caret first, recorded on its own.
        PadLineTo(CaretXY(), false, true);
        UnicodeString removed;
        if (!fInserting) {
            // Overwritten is what the string's first line covers: a line break in it inserts.
            UnicodeString line = fLines->Get(y - 1);
            removed = line.substr(std::size_t(x - 1), std::min(text.find_first_of(u"\r\n"), text.size()));
            line.erase(std::size_t(x - 1), removed.size());
            ProperSetLine(y - 1, line);
        }
        // A line break in the string breaks the line, as a typed or pasted one does, so that what
        // the string put in is what undo takes and redo puts back.
        SetSelTextPrimitive(smNormal, text.c_str(), false);
        fUndoList->AddChange(crInsert, {x, y}, CaretXY(), removed, smNormal);
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
    if (fCaretX >= fLeftChar + fCharsInWindow) SetLeftChar(fLeftChar + std::min(25, fCharsInWindow - 1));
}
