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
    const TBufferCoord b = fBlockBegin, e = fBlockEnd;
    const UnicodeString text = SelText();
    const TNibSelectionMode mode = fActiveSelectionMode;
    SetSelTextPrimitive({});
    const bool forward = b.Line < e.Line || (b.Line == e.Line && b.Char < e.Char);
    fUndoList->AddChange(forward ? crDelete : crDeleteAfterCursor, b, e, text, mode);
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
        const UnicodeString previous = fLines->Get(y - 2);
        const UnicodeString moved = fOptions.Contains(eoTrimTrailingSpaces) ? TrimTrailingBlanks(line) : line;
        InternalSetCaretXY({int(previous.size()) + 1, y - 1});
        fLines->Delete(y - 1);
        fMarkList->LinesDeleted(y, 1);
        ProperSetLine(y - 2, previous + moved);
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
        line.erase(std::size_t(first - 1), std::size_t(count));
        ProperSetLine(y - 1, line);
        InternalSetCaretX(x - count);
        // The indentation may go from its start: the undo item names the characters really removed.
        fUndoList->AddChange(crSilentDelete, {first, y}, {first + count, y}, deleted, smNormal);
        if (fOptions.Contains(eoTrimTrailingSpaces) && line.find(u'\t') != UnicodeString::npos) {
            // The stored line lost its trailing blanks: the caret keeps its place on screen.
            TNibTempOption pastEol(fOptions, eoScrollPastEol);
            const int expandedBefore = GetExpandedLength(line, fTabWidth);
            const int expandedAfter = fLines->GetExpandedStringLength(y - 1);
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
    const int length = int(line.size());
    const int x = fCaretX;
    const int y = fCaretY;
    UnicodeString deleted;
    TBufferCoord end;
    if (x <= length) {
        deleted = line.substr(std::size_t(x - 1), 1);
        line.erase(std::size_t(x - 1), 1);
        ProperSetLine(y - 1, line);
        end = {x + 1, y};
    } else if (y < fLines->Count()) {
        line.append(std::size_t(x - 1 - length), u' ');
        const UnicodeString next = fLines->Get(y);
        ProperSetLine(y - 1, line + next);
        fLines->Delete(y);
        fMarkList->LinesDeleted(y + 1, 1);
        // The pad is recorded too, so that undo gives the line back without it.
        BeginUndoBlock();
        if (x - 1 > length) fUndoList->AddChange(crWhiteSpaceAdd, {length + 1, y}, {x, y}, {}, smNormal);
        fUndoList->AddChange(crSilentDeleteAfterCursor, {x, y}, {1, y + 1}, u"\r\n", smNormal);
        EndUndoBlock();
        return;
    }
    if (!deleted.empty()) fUndoList->AddChange(crSilentDeleteAfterCursor, {x, y}, end, deleted, smNormal);
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
    if (w == caret) return;
    fActiveSelectionMode = smNormal;
    fBlockBegin = caret;
    fBlockEnd = w;
    const UnicodeString text = SelText();
    const int blanks = caret.Char - BlockBegin().Char;
    SetSelTextPrimitive(smNormal, RepeatChar(u' ', std::max(0, blanks)).c_str(), true);
    fUndoList->AddChange(crSilentDeleteAfterCursor, caret, w, text, smNormal);
    SetCaretXY(caret);
}

void TCustomNibEdit::DeleteToWordStart(bool ToLineStart)
{
    const TBufferCoord caret = CaretXY();
    const TBufferCoord w = ToLineStart ? TBufferCoord{1, caret.Line} : ::PrevWordPosEx(*fLines, *this, caret);
    if (w == caret) return;
    fActiveSelectionMode = smNormal;
    fBlockBegin = caret;
    fBlockEnd = w;
    const UnicodeString text = SelText();
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
        BeginUndoBlock();
        try {
            const TBufferCoord start = BlockBegin();
            fUndoList->AddChange(crDelete, fBlockBegin, fBlockEnd, SelText(), smNormal);
            SetSelTextPrimitive(text);
            fUndoList->AddChange(crInsert, start, BlockEnd(), {}, smNormal);
        } catch (...) {
            EndUndoBlock();
            throw;
        }
        EndUndoBlock();
        InvalidateGutterLines(-1, -1);
        return;
    }
    UnicodeString line = LineText();
    const int x = fCaretX;
    const int y = fCaretY;
    if (int(line.size()) < x - 1) line.append(std::size_t(x - 1 - int(line.size())), u' ');
    TNibTempOption pastEol(fOptions, eoScrollPastEol);
    UnicodeString removed;
    if (!fInserting) {
        removed = line.substr(std::size_t(x - 1), text.size());
        line.erase(std::size_t(x - 1), removed.size());
    }
    line.insert(std::size_t(x - 1), text);
    ProperSetLine(y - 1, line);
    InternalSetCaretX(x + int(text.size()));
    fUndoList->AddChange(crInsert, {x, y}, CaretXY(), removed, smNormal);
    if (fCaretX >= fLeftChar + fCharsInWindow) SetLeftChar(fLeftChar + std::min(25, fCharsInWindow - 1));
}
