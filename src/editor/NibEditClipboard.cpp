// The editor control: the selected text, and copy, cut and paste with the private format that
// carries the selection mode.
#include "editor/NibEdit.h"

#include <algorithm>

#include "editor/NibUnicode.h"
#include "platform/Clipboard.h"

namespace {

/// Up to Count characters of S from the 1-based Start; nothing when Start lies past the end.
std::u16string_view CopyPart(const UnicodeString& S, int Start, int Count)
{
    if (Start < 1 || Start > int(S.size()) || Count <= 0) return {};
    return std::u16string_view(S).substr(std::size_t(Start - 1), std::size_t(Count));
}

} // namespace

UnicodeString TCustomNibEdit::SelText() const { return SelectedText(!fOptions.Contains(eoTrimTrailingSpaces)); }

UnicodeString TCustomNibEdit::SelectedText(bool PadColumns) const
{
    if (!SelAvail()) return {};
    const TBufferCoord bb = BlockBegin();
    const TBufferCoord be = BlockEnd();
    const int first = bb.Line - 1;
    const int last = be.Line - 1;
    // The text is sized first and filled in one pass: a selection may hold millions of lines.
    UnicodeString result;
    char16_t* out = nullptr;
    const auto put = [&out](std::u16string_view part) { out = std::copy(part.begin(), part.end(), out); };
    constexpr std::u16string_view lineBreak = u"\r\n";
    switch (fActiveSelectionMode) {
    case smNormal:
        if (first == last) {
            result = CopyPart(fLines->Get(first), bb.Char, be.Char - bb.Char);
        } else {
            const std::u16string_view head = CopyPart(fLines->Get(first), bb.Char, fLines->LineCharLength(first) - bb.Char + 1);
            const std::u16string_view tail = CopyPart(fLines->Get(last), 1, be.Char - 1);
            std::size_t size = head.size() + tail.size() + lineBreak.size() * std::size_t(last - first);
            for (int i = first + 1; i < last; ++i) size += std::size_t(fLines->LineCharLength(i));
            result.resize(size);
            out = result.data();
            put(head);
            put(lineBreak);
            for (int i = first + 1; i < last; ++i) {
                put(fLines->Get(i));
                put(lineBreak);
            }
            put(tail);
        }
        break;
    case smLine: {
        const bool lastLineOfText = last + 1 >= fLines->Count();
        std::size_t size = lineBreak.size() * std::size_t(last - first + (lastLineOfText ? 0 : 1));
        for (int i = first; i <= last; ++i) size += std::size_t(fLines->LineCharLength(i));
        result.resize(size);
        out = result.data();
        for (int i = first; i <= last; ++i) {
            put(fLines->Get(i));
            if (i < last || !lastLineOfText) put(lineBreak);
        }
        break;
    }
    case smColumn: {
        const TNibSpan columns = ColumnBlockColumns(bb, be);
        for (int line = bb.Line; line <= be.Line; ++line) {
            const TNibSpan chars = ColumnBlockChars(line, columns);
            const int count = chars.Last - chars.First;
            const std::u16string_view part = CopyPart(fLines->Get(line - 1), chars.First, count);
            result += part;
            if (PadColumns && int(part.size()) < count) result.append(std::size_t(count - int(part.size())), u' ');
            if (line < be.Line) result += u"\r\n";
        }
        break;
    }
    }
    return result;
}

void TCustomNibEdit::DoCopyToClipboard(const UnicodeString& SText)
{
    if (SText.empty()) return;
    SetClipboardTextWide(SText);
    std::string block(1, char(fActiveSelectionMode));
    block += ToAnsi(SText);
    block += '\0';
    Clipboard::Current().AddFormat(NibEditClipboardFormat, block);
}

void TCustomNibEdit::CopyToClipboard()
{
    if (!SelAvail()) return;
    // A copied column block keeps its filling blanks, so that it stays rectangular.
    DoCopyToClipboard(SelectedText(true));
}

void TCustomNibEdit::CutToClipboard()
{
    if (ReadOnly() || !SelAvail()) return;
    BeginUndoBlock();
    try {
        DoCopyToClipboard(SelText());
        SetSelText({});
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
}

void TCustomNibEdit::PasteFromClipboard()
{
    if (!CanPaste()) return;
    DoOnPaintTransient(ttBefore);
    BeginUndoBlock();
    TNibSelectionMode pasteMode = fSelectionMode;
    const Clipboard& clipboard = Clipboard::Current();
    if (clipboard.HasFormat(NibEditClipboardFormat)) {
        const std::string block = clipboard.FormatData(NibEditClipboardFormat);
        // A mode byte another program wrote wrongly falls back to the editor's own mode.
        if (!block.empty() && std::uint8_t(block[0]) <= smColumn) pasteMode = TNibSelectionMode(block[0]);
    }
    bool bracketOpen = false;
    try {
        fUndoList->AddChange(crPasteBegin, BlockBegin(), BlockEnd(), {}, smNormal);
        bracketOpen = true;
        if (SelAvail()) {
            AddSelectionDeletion(crDelete, SelectionDeletion());
            const TBufferCoord begin = BlockBegin();
            fBlockEnd = BlockEnd();
            fBlockBegin = begin;
        } else {
            CollapseForMode();
        }
        const UnicodeString text = GetClipboardTextWide();
        SetSelTextPrimitive(pasteMode, text.c_str(), true);
        // Where the text went in: a column block deleted first leaves it at the block's left edge.
        const TBufferCoord start = fInsertStart;
        const TBufferCoord end = BlockEnd();
        const bool inserted = !text.empty() && text[0] != 0;
        switch (inserted ? pasteMode : smColumn) {
        // The item's text is what the paste replaced beyond the selection: lines overwritten by a
        // line block in overwrite mode.
        case smNormal: fUndoList->AddChange(crPaste, start, end, fOverwrittenLines, smNormal); break;
        case smLine:
            if (fCaretX == 1)
                fUndoList->AddChange(crPaste, {1, start.Line}, {fCharsInWindow, end.Line - 1}, fOverwrittenLines,
                                     smLine);
            else
                fUndoList->AddChange(crPaste, {1, start.Line}, end, fOverwrittenLines, smNormal);
            break;
        case smColumn: break;  // the column insertion recorded its pieces; an empty text added nothing
        }
    } catch (...) {
        if (bracketOpen) fUndoList->AddChange(crPasteEnd, BlockBegin(), BlockEnd(), {}, smNormal);
        EndUndoBlock();
        throw;
    }
    fUndoList->AddChange(crPasteEnd, BlockBegin(), BlockEnd(), {}, smNormal);
    EndUndoBlock();
    if (fOptions.Contains(eoHideShowScrollbars)) UpdateScrollBars();
    EnsureCursorPosVisible();
    StatusChanged({scSelection});
    DoOnPaintTransient(ttAfter);
}
