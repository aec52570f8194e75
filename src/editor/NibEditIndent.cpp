// The editor control: block indent and unindent, the Tab and Shift+Tab keys with smart tabs, and
// small whole-editor operations (clearing, key bindings, the point-in-selection test).
#include <algorithm>

#include "editor/NibEdit.h"
#include "editor/NibEditTempOption.h"
#include "editor/NibUnicode.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

/// The characters an unindent removes from the start of S: a tab, or blanks up to a tab width
/// (and a tab that follows fewer of them).
int UnindentLength(std::u16string_view S, int TabWidth)
{
    if (!S.empty() && S[0] == u'\t') return 1;
    int n = 0;
    while (n < int(S.size()) && n < TabWidth && S[std::size_t(n)] == u' ') ++n;
    if (n < TabWidth && n < int(S.size()) && S[std::size_t(n)] == u'\t') ++n;
    return n;
}

} // namespace

bool TCustomNibEdit::IsPointInSelection(const TBufferCoord& Value) const
{
    const TBufferCoord b = BlockBegin(), e = BlockEnd();
    if (Value.Line < b.Line || Value.Line > e.Line || !SelAvail()) return false;
    switch (fActiveSelectionMode) {
    case smLine: return true;
    case smColumn: {
        const TNibSpan chars = ColumnBlockChars(Value.Line, ColumnBlockColumns(b, e));
        return Value.Char >= chars.First && Value.Char < chars.Last;
    }
    default:
        return !((Value.Line == b.Line && Value.Char < b.Char) || (Value.Line == e.Line && Value.Char >= e.Char));
    }
}

TBufferBlock TCustomNibEdit::UnifiedSelection() const
{
    return {std::min(fBlockBegin.Line, fBlockEnd.Line), std::min(fBlockBegin.Char, fBlockEnd.Char),
            std::max(fBlockBegin.Line, fBlockEnd.Line), std::max(fBlockBegin.Char, fBlockEnd.Char)};
}

void TCustomNibEdit::ClearAll()
{
    fLines->Clear();
    fMarkList->Clear();
    fBookMarks.fill(nullptr);
    ClearUndo();
    SetModified(false);
}

void TCustomNibEdit::ClearSelection()
{
    if (SelAvail()) SetSelText({});
}

void TCustomNibEdit::AddKey(TNibEditorCommand Command, std::uint16_t Key1, TShiftState Shift1, std::uint16_t Key2,
                            TShiftState Shift2)
{
    TNibEditKeyStroke& key = fKeyStrokes->Add();
    key.SetCommand(Command);
    key.SetKey(Key1);
    key.SetShift(Shift1);
    key.SetKey2(Key2);
    key.SetShift2(Shift2);
}

void TCustomNibEdit::DoBlockIndent()
{
    if (!SelAvail()) return;
    // Blanks put on a line that had none are trimmed when the lock ends: after the selection is
    // set in the user's mode, so that it is cut back to where those lines end again.
    TNibPaintLock lock(*this);
    const TNibSelectionMode mode = fActiveSelectionMode;
    const TBufferCoord caret = CaretXY();
    TBufferCoord bb = BlockBegin(), be = BlockEnd();
    const bool tabsToSpaces = fOptions.Contains(eoTabsToSpaces);
    const int lastLine = be.Char == 1 ? be.Line - 1 : be.Line;
    const int caretX = be.Char == 1 ? 1 : fCaretX + (tabsToSpaces ? fTabWidth : 1);
    const UnicodeString spaces = tabsToSpaces ? RepeatChar(u' ', fTabWidth) : UnicodeString(u"\t");
    const int length = int(spaces.size());
    UnicodeString text;
    for (int line = bb.Line; line <= lastLine; ++line) {
        if (line > bb.Line) text += u"\r\n";
        text += spaces;
    }
    BeginUndoBlock();
    try {
        const TBufferCoord at{mode == smColumn ? std::min(bb.Char, be.Char) : 1, bb.Line};
        InsertBlock(at, at, text.c_str(), true);
        fUndoList->AddChange(crIndent, bb, be, {}, smColumn);
        fUndoList->AddChange(crIndent, {bb.Char + length, bb.Line}, {be.Char + length, be.Line}, {}, smColumn);
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
    if (be.Char > 1) be.Char += length;
    SetCaretAndSelection({caretX, caret.Line}, {bb.Char + length, bb.Line}, be);
    fActiveSelectionMode = mode;
}

void TCustomNibEdit::DoBlockUnindent()
{
    if (!SelAvail()) return;
    const TNibSelectionMode mode = fActiveSelectionMode;
    TBufferCoord caret = CaretXY();
    TBufferCoord bb = BlockBegin(), be = BlockEnd();
    const int lastLine = be.Char == 1 ? be.Line - 1 : be.Line;
    const bool column = mode == smColumn;
    const int from = column ? std::min(bb.Char, be.Char) : 1;
    std::vector<int> lengths;
    UnicodeString deleted;
    bool any = false;
    for (int line = bb.Line; line <= lastLine; ++line) {
        const UnicodeString text = fLines->Get(line - 1);
        const int skip = column ? std::min({bb.Char - 1, be.Char - 1, int(text.size())}) : 0;
        const int n = UnindentLength(std::u16string_view(text).substr(std::size_t(skip)), fTabWidth);
        lengths.push_back(n);
        any = any || n > 0;
        deleted += text.substr(std::size_t(skip), std::size_t(n));
        if (line < lastLine) deleted += u"\r\n";
        if (line == caret.Line && caret.Char != 1) caret.Char -= n;
    }
    if (!any) return;
    for (int line = bb.Line; line <= lastLine; ++line) {
        const int n = lengths[std::size_t(line - bb.Line)];
        if (n == 0) continue;
        UnicodeString text = fLines->Get(line - 1);
        text.erase(std::size_t(std::min(from - 1, int(text.size()))), std::size_t(n));
        ProperSetLine(line - 1, text);
    }
    fUndoList->AddChange(crUnindent, bb, be, deleted, mode);
    if (!column) {
        bb.Char = std::max(1, bb.Char - lengths.front());
        be.Char = std::max(1, be.Char - lengths.back());
        SetCaretAndSelection(caret, bb, be);
    } else {
        SetCaretAndSelection(CaretXY(), bb, be);
    }
    fActiveSelectionMode = mode;
}

void TCustomNibEdit::DoTabKey()
{
    const TBufferCoord bb = BlockBegin(), be = BlockEnd();
    if (fOptions.Contains(eoTabIndent) && SelAvail()) {
        const bool lines = bb.Line != be.Line && fActiveSelectionMode != smColumn;
        const bool wholeLine = bb.Line == be.Line && bb.Char <= 1 && be.Char > fLines->LineCharLength(be.Line - 1);
        if (lines || wholeLine) {
            DoBlockIndent();
            if (wholeLine) {
                if (fBlockBegin.Char >= fBlockEnd.Char) fBlockEnd.Char = 1;
                else fBlockBegin.Char = 1;
            }
            return;
        }
    }
    const int column = DisplayX();
    int width = 0;
    bool smart = false;
    if (fOptions.Contains(eoSmartTabs) && fCaretY > 1 && fCaretY <= fLines->Count()) {
        for (int i = fCaretY - 1; i >= 1; --i) {
            const UnicodeString above = fLines->Get(i - 1);
            const int p = DisplayToBufferPos({column, LineToRow(i)}).Char;
            if (int(above.size()) < p) continue;
            int j = p;
            while (j <= int(above.size()) && !IsBlank(above[std::size_t(j - 1)])) ++j;
            while (j <= int(above.size()) && IsBlank(above[std::size_t(j - 1)])) ++j;
            width = j - p;
            smart = true;
            break;
        }
    }
    BeginUndoBlock();
    try {
        if (SelAvail()) {
            AddSelectionDeletion(crDelete, SelectionDeletion());
            SetSelTextPrimitive({});
        }
        const TBufferCoord start = CaretXY();
        const UnicodeString line = LineText();
        const bool tabsToSpaces = fOptions.Contains(eoTabsToSpaces);
        if (width == 0) width = tabsToSpaces ? fTabWidth - (start.Char - 1) % fTabWidth : fTabWidth;
        UnicodeString text;
        int newX;
        if (tabsToSpaces) {
            text = RepeatChar(u' ', width);
            newX = start.Char + width;
        } else if (fOptions.Contains(eoTrimTrailingSpaces) && start.Char > int(line.size())) {
            const int target = smart ? column + width : column + fTabWidth - (column - 1) % fTabWidth;
            newX = start.Char + target - column;
        } else {
            text = u"\t";
            const std::size_t before = std::min(line.size(), std::size_t(start.Char - 1));
            const bool onlyBlanks = std::all_of(line.begin(), line.begin() + std::ptrdiff_t(before), IsBlank);
            if (smart && onlyBlanks) {
                const int target = column + width;
                int at = column;
                text.clear();
                const int nextStop = at + fTabWidth - (at - 1) % fTabWidth;
                if (target >= nextStop) {
                    text += u'\t';
                    at = nextStop;
                    for (; target - at >= fTabWidth; at += fTabWidth) text += u'\t';
                }
                text += RepeatChar(u' ', target - at);
            }
            newX = start.Char + (fOptions.Contains(eoTrimTrailingSpaces) && line.empty()
                                     ? GetExpandedLength(text, fTabWidth)
                                     : int(text.size()));
        }
        // The text goes in as plain text in every selection mode (a caret past the line end has the
        // line filled up to it first, recorded on its own), so one item records it.
        if (!text.empty()) {
            fBlockBegin = fBlockEnd = start;
            SetSelTextPrimitive(smNormal, text.c_str(), true);
            fUndoList->AddChange(crInsert, start, {start.Char + int(text.size()), start.Line}, {}, smNormal);
        }
        TNibTempOption pastEol(fOptions, eoScrollPastEol);
        SetCaretXY({newX, start.Line});
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
    EnsureCursorPosVisible();
}

void TCustomNibEdit::DoShiftTabKey()
{
    const TBufferCoord bb = BlockBegin(), be = BlockEnd();
    if (fOptions.Contains(eoTabIndent) && SelAvail()) {
        const bool lines = bb.Line != be.Line && fActiveSelectionMode != smColumn;
        const bool wholeLine = bb.Line == be.Line && bb.Char <= 1 && be.Char > fLines->LineCharLength(be.Line - 1);
        if (lines || wholeLine) {
            DoBlockUnindent();
            return;
        }
    }
    const TBufferCoord caret = CaretXY();
    int newX = caret.Char;
    if (fOptions.Contains(eoSmartTabs) && caret.Char != 1 && caret.Line > 1 && caret.Line <= fLines->Count()) {
        for (int i = caret.Line - 1; i >= 1; --i) {
            const UnicodeString above = fLines->Get(i - 1);
            if (int(above.size()) < caret.Char - 1) continue;
            int j = caret.Char - 1;
            while (j > 1 && above[std::size_t(j - 1)] == u' ') --j;
            while (j > 1 && above[std::size_t(j - 1)] != u' ') --j;
            newX = std::max(1, j);
            break;
        }
    }
    if (newX == caret.Char) {
        const int prevTab = ((caret.Char - 2) / fTabWidth) * fTabWidth + 1;
        const UnicodeString line = LineText();
        if (int(line.size()) >= newX) {
            if (prevTab < newX && newX >= 2 && line[std::size_t(newX - 2)] == u'\t') {
                --newX;
            } else {
                while (newX > prevTab && newX >= 2 && line[std::size_t(newX - 2)] == u' ') --newX;
            }
        } else {
            newX = prevTab;
        }
    }
    newX = std::max(1, newX);
    if (newX == caret.Char) return;
    fActiveSelectionMode = smNormal;
    SetCaretAndSelection(caret, {newX, caret.Line}, caret);
    const UnicodeString removed = SelectedText(false);
    SetSelTextPrimitive(smNormal, u"", true);
    fUndoList->AddChange(crSilentDelete, {newX, caret.Line}, caret, removed, smNormal);
    TNibTempOption pastEol(fOptions, eoScrollPastEol);
    SetCaretXY({newX, caret.Line});
}
