// The editor control: the command path that keys, typed characters and program requests take,
// with the commands that change text by typing, line breaks, the clipboard and undo.
#include "editor/NibEdit.h"
#include "editor/NibEditBrackets.h"
#include "editor/NibEditTempOption.h"
#include "editor/NibUnicode.h"

namespace {

/// Commands that change the text: refused in read-only mode.
bool ChangesText(TNibEditorCommand Command)
{
    switch (Command) {
    case ecCut:
    case ecPaste:
    case ecUndo:
    case ecRedo:
    case ecDeleteLastChar:
    case ecDeleteChar:
    case ecDeleteWord:
    case ecDeleteLastWord:
    case ecDeleteBOL:
    case ecDeleteEOL:
    case ecDeleteLine:
    case ecClearAll:
    case ecLineBreak:
    case ecInsertLine:
    case ecChar:
    case ecImeStr:
    case ecBlockIndent:
    case ecBlockUnindent:
    case ecTab:
    case ecShiftTab:
    case ecUpperCase:
    case ecLowerCase:
    case ecToggleCase:
    case ecTitleCase:
    case ecUpperCaseBlock:
    case ecLowerCaseBlock:
    case ecToggleCaseBlock: return true;
    default: return false;
    }
}

bool OnlyBlanks(std::u16string_view S)
{
    for (char16_t c : S)
        if (c != u' ' && c != u'\t') return false;
    return true;
}

} // namespace

void TCustomNibEdit::ExecuteCommand(TNibEditorCommand Command, char16_t AChar, void* Data)
{
    if (ReadOnly() && ChangesText(Command)) return;
    TNibPaintLock lock(*this);
    if (ExecuteMoveCommand(Command, Data)) return;
    switch (Command) {
    case ecSelectAll: SelectAll(); break;
    case ecCopy: CopyToClipboard(); break;
    case ecCut:
        if (SelAvail()) CutToClipboard();
        break;
    case ecPaste: PasteFromClipboard(); break;
    case ecUndo: Undo(); break;
    case ecRedo: Redo(); break;
    case ecInsertMode: SetInsertMode(true); break;
    case ecOverwriteMode: SetInsertMode(false); break;
    case ecToggleMode: SetInsertMode(!fInserting); break;
    case ecNormalSelect: SetSelectionMode(smNormal); break;
    case ecColumnSelect: SetSelectionMode(smColumn); break;
    case ecLineSelect: SetSelectionMode(smLine); break;
    case ecLineBreak: InsertLineBreak(true); break;
    case ecInsertLine: InsertLineBreak(false); break;
    case ecChar:
        InsertChar(AChar);
        DoOnPaintTransient(ttAfter);
        break;
    case ecSelWord: SetSelWord(); break;
    case ecScrollUp: ScrollUpDown(false); break;
    case ecScrollDown: ScrollUpDown(true); break;
    case ecMatchBracket: SetCaretXY(::FindMatchingBracket(*fLines, fHighlighter, CaretXY())); break;
    case ecContextHelp:
        if (OnContextHelp) OnContextHelp(this, WordAtCursor());
        break;
    case ecDeleteLastChar:
        // One transient pass around the whole deletion, however often the caret moves inside it.
        DoOnPaintTransientEx(ttBefore, true);
        try {
            DeleteLastChar();
        } catch (...) {
            --fPaintTransientLock;
            throw;
        }
        DoOnPaintTransientEx(ttAfter, true);
        break;
    case ecDeleteChar: DeleteChar(); break;
    case ecDeleteWord: DeleteToWordEnd(false); break;
    case ecDeleteEOL: DeleteToWordEnd(true); break;
    case ecDeleteLastWord: DeleteToWordStart(false); break;
    case ecDeleteBOL: DeleteToWordStart(true); break;
    case ecDeleteLine: DeleteLine(); break;
    case ecClearAll: ClearAll(); break;
    case ecImeStr:
        if (Data) InsertImeStr(static_cast<const char16_t*>(Data));
        break;
    case ecBlockIndent: DoBlockIndent(); break;
    case ecBlockUnindent: DoBlockUnindent(); break;
    case ecTab: DoTabKey(); break;
    case ecShiftTab: DoShiftTabKey(); break;
    case ecUpperCase:
    case ecLowerCase:
    case ecToggleCase:
    case ecTitleCase:
    case ecUpperCaseBlock:
    case ecLowerCaseBlock:
    case ecToggleCaseBlock: DoCaseChange(Command); break;
    default:
        if (Command >= ecGotoMarker0 && Command <= ecGotoMarker9) {
            if (fBookMarkOpt->EnableKeys()) GotoBookMark(Command - ecGotoMarker0);
        } else if (Command >= ecSetMarker0 && Command <= ecSetMarker9) {
            if (fBookMarkOpt->EnableKeys()) SetMarkerCommand(Command - ecSetMarker0, Data);
        }
        break;
    }
}

void TCustomNibEdit::InsertChar(char16_t AChar)
{
    if (AChar < u' ' || AChar == 127) return;
    if (SelAvail()) {
        SetSelText(UnicodeString(1, AChar));
        return;
    }
    // The character goes into the line where it is stored: a long line is not copied.
    const UnicodeString& line = fLines->Get(fCaretY - 1);
    const bool blankLine = OnlyBlanks(line);
    const int length = int(line.size());
    const int x = fCaretX;
    const int y = fCaretY;
    // Past the line end there is nothing to overwrite: the character goes in after filling blanks
    // (on an empty line the leading whitespace for those columns), which undo takes away with it.
    const bool overwrite = !fInserting && x <= length;
    TNibTempOption pastEol(fOptions, eoScrollPastEol);
    if (!overwrite) {
        // Only a line within MaxScrollWidth refuses text past it; a longer line takes text wherever
        // the caret stands (also just behind blanks that were trimmed from its end).
        if (!fWordWrapPlugin && !fOptions.Contains(eoAutoSizeMaxScrollWidth) && x > fMaxScrollWidth &&
            length < fMaxScrollWidth)
            return;
        const bool pad = x > length + 1;
        if (pad) BeginUndoBlock();
        try {
            const int at = pad ? PadLineTo(CaretXY(), true, true) : x;
            ProperReplaceInLine(y - 1, at - 1, 0, {&AChar, 1});
            int newX;
            if (fOptions.Contains(eoTrimTrailingSpaces) && AChar == u' ' && blankLine)
                newX = 1 + GetExpandedLength(fLines->Get(y - 1), fTabWidth);
            else if (length == 0)
                newX = fLines->LineCharLength(y - 1) + 1;
            else
                newX = x + 1;
            fUndoList->AddChange(crInsert, {at, y}, {at + 1, y}, {}, smNormal);
            InternalSetCaretXY({newX, y});
        } catch (...) {
            if (pad) EndUndoBlock();
            throw;
        }
        if (pad) EndUndoBlock();
    } else {
        const UnicodeString old(1, line[std::size_t(x - 1)]);
        ProperReplaceInLine(y - 1, x - 1, 1, {&AChar, 1});
        fUndoList->AddChange(crInsert, {x, y}, {x + 1, y}, old, smNormal);
        InternalSetCaretXY({x + 1, y});
    }
    if (fCaretX >= fLeftChar + fCharsInWindow) SetLeftChar(fLeftChar + std::min(25, fCharsInWindow - 1));
}

void TCustomNibEdit::InsertLineBreak(bool MoveCaret)
{
    BeginUndoBlock();
    try {
        if (SelAvail()) {
            TSelectionDeletion deleted = SelectionDeletion();
            SetSelTextPrimitive({});
            AddSelectionDeletion(crDelete, std::move(deleted));
        }
        const UnicodeString line = LineText();
        const int x = fCaretX;
        const int y = fCaretY;
        const bool atStart = x == 1;
        const TBufferCoord caret{x, y};
        TBufferCoord target = caret;
        UnicodeString retype;
        if (line.empty()) {
            if (fLines->Count() == 0) fLines->Add({});
            int indent = 0;
            if (fOptions.Contains(eoAutoIndent)) {
                for (int i = y - 1; i >= 0; --i) {
                    if (fLines->Get(i).empty()) continue;
                    indent = LeftSpacesEx(fLines->Get(i), true);
                    break;
                }
            }
            fLines->Insert(y - 1, {});
            fUndoList->AddChange(crLineBreak, caret, caret, {}, smNormal);
            target = {indent + 1, y + 1};
        } else if (x > int(line.size())) {
            int indent = 0;
            UnicodeString source;
            if (fOptions.Contains(eoAutoIndent)) {
                for (int i = y - 1; i >= 0; --i) {
                    source = fLines->Get(i);
                    if (!source.empty()) break;
                }
                indent = LeftSpaces(source);
            }
            fLines->Insert(y, {});
            fUndoList->AddChange(crLineBreak, caret, caret, {}, smNormal);
            target = {1, y + 1};
            // Retyped on the new line only: Insert Line leaves the caret on its own line.
            if (MoveCaret && indent > 0) retype = source.substr(0, std::size_t(indent));
        } else if (x == 1) {
            fLines->Insert(y - 1, {});
            fUndoList->AddChange(crLineBreak, caret, caret, line, smNormal);
            target = {1, y + 1};
        } else {
            const UnicodeString left = line.substr(0, std::size_t(x - 1));
            const UnicodeString moved = line.substr(std::size_t(x - 1));
            const int columns = fOptions.Contains(eoAutoIndent) ? LeftSpacesEx(left, true) : 0;
            const UnicodeString spacing = GetLeftSpacing(columns, true);
            fLines->Insert(y, spacing + moved);
            ProperSetLine(y - 1, left);
            fUndoList->AddChange(crLineBreak, caret, caret, moved, smNormal);
            target = {int(spacing.size()) + 1, y + 1};
        }
        if (MoveCaret) InternalSetCaretXY(target);
        if (!retype.empty()) {
            // Retyped as plain tabs: a smart tab jumps to the next word of the line above, which
            // is not the indentation, and on a line of whitespace it is the line's end, so the
            // indentation would grow with every break.
            TNibTempOption plainTabs(fOptions, eoSmartTabs, false);
            for (char16_t c : retype) CommandProcessor(c == u'\t' ? ecTab : ecChar, c, nullptr);
        }
        fMarkList->LinesInserted(atStart ? y : y + 1, 1);
        SetBlockBegin(CaretXY());
        EnsureCursorPosVisible();
        fLastCaretX = DisplayX();
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
}
