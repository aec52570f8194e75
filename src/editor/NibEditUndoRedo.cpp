// The editor control: undo and redo steps over the two change lists, grouped by change number,
// by eoGroupUndo and by bracket pairs of change reasons.
#include <algorithm>
#include <optional>
#include <utility>

#include "editor/NibEdit.h"
#include "editor/NibEditTempOption.h"
#include "editor/NibUnicode.h"

namespace {

/// The begin reason of an end reason and back: each pair sits side by side in the enumeration.
TNibChangeReason MatchingBegin(TNibChangeReason end) { return TNibChangeReason(end - 1); }
TNibChangeReason MatchingEnd(TNibChangeReason begin) { return TNibChangeReason(begin + 1); }

/// The lines of an outdent's removed text, split at CR LF, CR or LF.
std::vector<UnicodeString> Pieces(const UnicodeString& S)
{
    std::vector<UnicodeString> pieces(1);
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (S[i] == u'\r' || S[i] == u'\n') {
            if (S[i] == u'\r' && i + 1 < S.size() && S[i + 1] == u'\n') ++i;
            pieces.emplace_back();
        } else {
            pieces.back() += S[i];
        }
    }
    return pieces;
}

bool Before(const TBufferCoord& a, const TBufferCoord& b)
{
    return a.Line < b.Line || (a.Line == b.Line && a.Char < b.Char);
}

bool IsSelectionDeletion(TNibChangeReason r) { return r == crDelete || r == crDeleteAfterCursor; }
bool IsDeletion(TNibChangeReason r)
{
    return IsSelectionDeletion(r) || r == crSilentDelete || r == crSilentDeleteAfterCursor;
}

/// The item beneath the top of a list, or null.
const TNibEditUndoItem* Beneath(const TNibEditUndoList& list)
{
    return list.ItemCount() > 1 ? &list.Items(list.ItemCount() - 2) : nullptr;
}

/// Keeps the top item of `from` in the step, by the rules both directions share. Replayed is the
/// number of the item just replayed.
bool SameStep(const TNibEditUndoList& from, int number, int replayed, TNibChangeReason last, bool groupUndo,
              bool undoing)
{
    const TNibEditUndoItem& top = *from.PeekItem();
    // A group break marks the end of a step, and maybe the saved point: no step takes it along.
    if (top.ChangeReason == crGroupBreak) return false;
    if (top.ChangeNumber == number) return true;
    if (top.ChangeNumber == replayed) {
        // A step that reached into an earlier change by its reason takes that change whole, so
        // that it stops only where the text once stood; only the selection that a change replaced
        // by text, as typing over it does, comes back as a step of its own, as group undo gives it.
        const TNibEditUndoItem* beneath = Beneath(from);
        const bool firstOfChange = !beneath || beneath->ChangeNumber != top.ChangeNumber;
        if (!(undoing && IsSelectionDeletion(top.ChangeReason) && firstOfChange && !IsDeletion(last))) return true;
    }
    return groupUndo && top.ChangeReason == last && last != crIndent && last != crUnindent;
}

/// Puts a column block's pieces back into its lines at the chars they were taken from.
void PutColumnBack(TNibEditStringList& lines, int firstLine, const std::vector<TNibSpan>& chars,
                   const std::vector<UnicodeString>& pieces)
{
    for (std::size_t k = 0; k < chars.size() && k < pieces.size(); ++k) {
        const int line = firstLine + int(k);
        if (pieces[k].empty() || line > lines.Count()) continue;
        UnicodeString text = lines.Get(line - 1);
        const std::size_t at = std::size_t(chars[k].First - 1);
        if (text.size() < at) text.append(at - text.size(), u' ');
        text.insert(at, pieces[k]);
        lines.Put(line - 1, text);
    }
}

/// Takes a column block's chars out of its lines; returns them, one line's piece after another.
UnicodeString TakeColumnOut(TNibEditStringList& lines, int firstLine, const std::vector<TNibSpan>& chars)
{
    UnicodeString taken;
    for (std::size_t k = 0; k < chars.size(); ++k) {
        const int line = firstLine + int(k);
        if (k > 0) taken += u"\r\n";
        if (line > lines.Count()) continue;
        UnicodeString text = lines.Get(line - 1);
        const std::size_t at = std::min(text.size(), std::size_t(chars[k].First - 1));
        const std::size_t count = std::min(text.size() - at, std::size_t(chars[k].Last - chars[k].First));
        if (count == 0) continue;
        taken += text.substr(at, count);
        text.erase(at, count);
        lines.Put(line - 1, text);
    }
    return taken;
}

/// Gives a field a value for the life of the object: a change is replayed in its own selection
/// mode and inserting, whatever modes the user is in.
template <typename T>
class TempValue {
public:
    TempValue(T& field, T value) : fField(field), fSaved(field) { fField = value; }
    ~TempValue() { fField = fSaved; }

private:
    T& fField;
    T fSaved;
};

/// Restores a list's block change number at the end of a step, also when an error passes.
class BlockNumberScope {
public:
    BlockNumberScope(TNibEditUndoList& list, int number) : fList(list), fSaved(list.BlockChangeNumber())
    {
        fList.SetBlockChangeNumber(number);
    }
    ~BlockNumberScope() { fList.SetBlockChangeNumber(fSaved); }

private:
    TNibEditUndoList& fList;
    int fSaved;
};

/// Replays one undo or redo step from the top of `from`, one item per call of `replayItem`, while
/// the items belong to the step; `to` records them under the step's change number. A bracketed
/// step runs up to its `closing` reason and replays that as well.
template <typename ReplayItem>
void ReplayStep(TNibEditUndoList& from, TNibEditUndoList& to, bool bracketed, TNibChangeReason closing,
                bool groupUndo, bool undoing, ReplayItem replayItem)
{
    TNibChangeReason last = from.LastChangeReason();
    const int number = from.PeekItem()->ChangeNumber;
    BlockNumberScope toNumber(to, number);
    for (;;) {
        const int replayed = from.PeekItem()->ChangeNumber;
        replayItem();
        const TNibEditUndoItem* top = from.PeekItem();
        if (!top) break;
        const bool more = bracketed ? top->ChangeReason != closing
                                    : SameStep(from, number, replayed, last, groupUndo, undoing);
        if (!more) break;
        last = top->ChangeReason;
    }
    const TNibEditUndoItem* top = from.PeekItem();
    if (bracketed && top && top->ChangeReason == closing) replayItem();
}

} // namespace

bool TCustomNibEdit::CanUndo() const { return !ReadOnly() && fUndoList->CanUndo(); }
bool TCustomNibEdit::CanRedo() const { return !ReadOnly() && fRedoList->CanUndo(); }
bool TCustomNibEdit::CanPaste() const { return !ReadOnly() && ClipboardHasText(); }

void TCustomNibEdit::ClearUndo()
{
    fUndoList->Clear();
    fRedoList->Clear();
}

void TCustomNibEdit::LockUndo()
{
    fUndoList->Lock();
    fRedoList->Lock();
}

void TCustomNibEdit::UnlockUndo()
{
    fUndoList->Unlock();
    fRedoList->Unlock();
}

void TCustomNibEdit::RefreshModified()
{
    const bool modified = !fUndoList->InitialState();
    if (modified == fModified) return;
    fModified = modified;
    StatusChanged({scModified});
}

void TCustomNibEdit::UndoRedoAdded(TObject* Sender)
{
    RefreshModified();
    auto* list = static_cast<TNibEditUndoList*>(Sender);
    if (list == fUndoList && !fUndoList->InsideRedo()) {
        const TNibEditUndoItem* top = fUndoList->PeekItem();
        if (top && top->ChangeReason != crGroupBreak) fRedoList->Clear();
    }
    if (list->BlockCount() == 0) DoChange();
}

void TCustomNibEdit::MoveGroupBreak(TNibEditUndoList& From, TNibEditUndoList& To)
{
    const std::unique_ptr<TNibEditUndoItem> item = From.PopItem();
    BlockNumberScope number(To, item->ChangeNumber);
    To.AddGroupBreak();
}

void TCustomNibEdit::Undo()
{
    if (ReadOnly()) return;
    // A change still open under an outer paint lock ends before it is undone.
    if (!fLinesToTrim.empty()) TrimStoredLines();
    if (fUndoList->LastChangeReason() == crGroupBreak) MoveGroupBreak(*fUndoList, *fRedoList);
    if (!fUndoList->PeekItem()) {
        RefreshModified();
        return;
    }
    const TNibChangeReason last = fUndoList->LastChangeReason();
    // An indent step ends with the undo of its column insert; what the user gets back is the
    // selection that was indented, in the user's own mode, not the removed column.
    const TNibSelectionMode ownMode = fSelectionMode;
    std::optional<std::pair<TBufferCoord, TBufferCoord>> indented;
    auto undoItem = [this, &indented] {
        const TNibEditUndoItem* top = fUndoList->PeekItem();
        if (top && top->ChangeReason == crIndent) indented = {top->ChangeStartPos, top->ChangeEndPos};
        UndoItem();
    };
    ReplayStep(*fUndoList, *fRedoList, IsBracketEnd(last), MatchingBegin(last), fOptions.Contains(eoGroupUndo), true,
               undoItem);
    // Also after a step whose last item recorded nothing, such as a bracket's begin.
    RefreshModified();
    // The items were replayed in their own modes; the user's mode holds again.
    SetActiveSelectionMode(ownMode);
    if (indented) SetCaretAndSelection(indented->second, indented->first, indented->second);
}

void TCustomNibEdit::Redo()
{
    if (ReadOnly()) return;
    if (!fLinesToTrim.empty()) TrimStoredLines();
    // A group break on top is no step: it goes back where it came from.
    if (fRedoList->LastChangeReason() == crGroupBreak) MoveGroupBreak(*fRedoList, *fUndoList);
    if (!fRedoList->PeekItem()) {
        RefreshModified();
        return;
    }
    const TNibChangeReason last = fRedoList->LastChangeReason();
    ReplayStep(*fRedoList, *fUndoList, IsBracketBegin(last), MatchingEnd(last), fOptions.Contains(eoGroupUndo), false,
               [this] { RedoItem(); });
    SetActiveSelectionMode(fSelectionMode);
    if (fRedoList->LastChangeReason() == crGroupBreak) MoveGroupBreak(*fRedoList, *fUndoList);
    RefreshModified();
}

void TCustomNibEdit::UndoItem()
{
    const std::unique_ptr<TNibEditUndoItem> item = fUndoList->PopItem();
    if (!item) return;
    fActiveSelectionMode = item->ChangeSelMode;
    TNibPaintLock lock(*this);
    TNibTempOption pastEol(fOptions, eoScrollPastEol);
    TempValue<bool> inserting(fInserting, true);
    TempValue<bool> replaying(fReplaying, true);
    TempValue<TNibSelectionMode> selectionMode(fSelectionMode, item->ChangeSelMode);
    const TBufferCoord start = item->ChangeStartPos;
    const TBufferCoord end = item->ChangeEndPos;
    const TNibSelectionMode mode = item->ChangeSelMode;
    const TNibChangeReason reason = item->ChangeReason;
    switch (reason) {
    case crInsert:
    case crPaste:
    case crDragDropInsert: {
        SetCaretAndSelection(start, start, end);
        UnicodeString old = SelectedText(false);
        SetSelTextPrimitive(mode, item->ChangeStr.c_str(), false);
        // The redo item spans the text put back, so that redo replaces it (an overwrite) or
        // inserts in front of nothing (a plain insert).
        fRedoList->AddChange(reason, start, InsertedEnd(start, mode, item->ChangeStr.empty()), std::move(old), mode);
        SetCaretXY(start);
        break;
    }
    case crDeleteAfterCursor:
    case crDelete:
    case crSilentDelete:
    case crSilentDeleteAfterCursor:
    case crDeleteAll: {
        const bool afterCursor = reason == crDeleteAfterCursor || reason == crSilentDeleteAfterCursor;
        if (mode == smColumn) {
            // Back at the chars of each line where the deletion took them, whatever the tab width
            // is by now.
            PutColumnBack(*fLines, std::min(start.Line, end.Line), item->ColumnChars, Pieces(item->ChangeStr));
        } else {
            const TBufferCoord p = Before(end, start) ? end : start;
            if (afterCursor && p.Line > fLines->Count()) {
                InternalSetCaretXY({1, fLines->Count()});
                fLines->Add({});
            }
            SetCaretXY(p);
            SetSelTextPrimitive(mode, item->ChangeStr.c_str(), false);
        }
        const TBufferCoord q = afterCursor ? start : end;
        if (reason == crSilentDelete || reason == crSilentDeleteAfterCursor) SetCaretXY(q);
        else SetCaretAndSelection(q, start, end);
        fRedoList->AddChange(reason, start, end, {}, mode, item->ColumnChars);
        if (reason == crDeleteAll) {
            InternalSetCaretXY({1, 1});
            fBlockEnd = {1, 1};
        }
        EnsureCursorPosVisible();
        break;
    }
    case crLineBreak: {
        SetCaretXY(start);
        UnicodeString made;
        if (fCaretY >= 1) {
            UnicodeString line = fLines->Get(fCaretY - 1);
            const UnicodeString& str = item->ChangeStr;
            // Padding only makes room for moved-back text: an empty one must not leave blanks behind.
            if (!str.empty() && int(line.size()) < fCaretX - 1 && str[0] != u' ')
                line.append(std::size_t(fCaretX - 1 - int(line.size())), u' ');
            ProperSetLine(fCaretY - 1, line + str);
            if (end.Line < fLines->Count()) {
                made = fLines->Get(end.Line);
                fLines->Delete(end.Line);
                fMarkList->LinesDeleted(fCaretY + 1, 1);
            }
        }
        // The line the break made, indentation and all, for redo to put back as it was.
        fRedoList->AddChange(crLineBreak, start, end, made, mode);
        break;
    }
    case crIndent:
        SetCaretAndSelection(end, start, end);
        fRedoList->AddChange(reason, start, end, item->ChangeStr, mode);
        break;
    case crUnindent: {
        // Back at the char of every line where the outdent took it (a column outdent counts chars).
        const int column = mode == smColumn ? std::min(start.Char, end.Char) : 1;
        const std::vector<UnicodeString> pieces = Pieces(item->ChangeStr);
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            const int line = start.Line + int(k);
            if (pieces[k].empty() || line > fLines->Count()) continue;
            UnicodeString text = fLines->Get(line - 1);
            text.insert(std::min(text.size(), std::size_t(column - 1)), pieces[k]);
            fLines->Put(line - 1, text);
        }
        SetCaretAndSelection(start, start, end);
        fRedoList->AddChange(reason, start, end, item->ChangeStr, mode);
        break;
    }
    case crCaret:
        fRedoList->AddChange(crCaret, CaretXY(), CaretXY(), {}, fActiveSelectionMode);
        SetCaretXY(start);
        break;
    case crSelection:
        fRedoList->AddChange(crSelection, BlockBegin(), BlockEnd(), {}, fActiveSelectionMode);
        SetCaretAndSelection(CaretXY(), start, end);
        break;
    case crWhiteSpaceAdd: {
        SetCaretAndSelection(start, start, end);
        UnicodeString old = SelectedText(false);
        SetSelTextPrimitive(mode, item->ChangeStr.c_str(), true);
        fRedoList->AddChange(reason, start, end, std::move(old), mode);
        SetCaretXY(start);
        break;
    }
    default:
        // A bracket moves to the other list, so that the step it encloses is undone and redone
        // as one, also when it encloses nothing.
        if (IsBracketBegin(reason) || IsBracketEnd(reason)) fRedoList->AddChange(reason, start, end, {}, mode);
        break;
    }
}

void TCustomNibEdit::RedoItem()
{
    const std::unique_ptr<TNibEditUndoItem> item = fRedoList->PopItem();
    if (!item) return;
    fActiveSelectionMode = item->ChangeSelMode;
    TNibPaintLock lock(*this);
    TNibTempOption pastEol(fOptions, eoScrollPastEol);
    TempValue<bool> inserting(fInserting, true);
    TempValue<bool> replaying(fReplaying, true);
    TempValue<TNibSelectionMode> selectionMode(fSelectionMode, item->ChangeSelMode);
    fUndoList->SetInsideRedo(true);
    struct InsideRedo {
        TNibEditUndoList& list;
        ~InsideRedo() { list.SetInsideRedo(false); }
    } insideRedo{*fUndoList};
    const TBufferCoord start = item->ChangeStartPos;
    const TBufferCoord end = item->ChangeEndPos;
    const TNibSelectionMode mode = item->ChangeSelMode;
    const TNibChangeReason reason = item->ChangeReason;
    switch (reason) {
    case crInsert:
    case crPaste:
    case crDragDropInsert: {
        SetCaretAndSelection(start, start, end);
        UnicodeString old = SelectedText(false);
        SetSelTextPrimitive(mode, item->ChangeStr.c_str(), false);
        const TBufferCoord after = InsertedEnd(start, mode, item->ChangeStr.empty());
        fUndoList->AddChange(reason, start, after, std::move(old), mode);
        SetCaretXY(CaretXY());
        if (reason == crDragDropInsert) SetCaretAndSelection(start, start, after);
        break;
    }
    case crDeleteAfterCursor:
    case crSilentDeleteAfterCursor:
    case crDelete:
    case crSilentDelete: {
        if (mode == smColumn) {
            const int first = std::min(start.Line, end.Line);
            UnicodeString old = TakeColumnOut(*fLines, first, item->ColumnChars);
            fUndoList->AddChange(reason, start, end, std::move(old), mode, item->ColumnChars);
            SetCaretXY({item->ColumnChars.empty() ? start.Char : item->ColumnChars.front().First, first});
            break;
        }
        SetCaretAndSelection(start, start, end);
        UnicodeString old = SelectedText(false);
        SetSelTextPrimitive(mode, item->ChangeStr.c_str(), false);
        fUndoList->AddChange(reason, start, end, std::move(old), mode);
        // Where the text closed up: the earlier end (a forward deletion's far end is gone).
        SetCaretXY(Before(end, start) ? end : start);
        break;
    }
    case crLineBreak: {
        // The break as it was made, not a new one under today's options: the line split at Start,
        // and the line it made put back as recorded.
        if (fLines->Count() == 0) fLines->Add({});
        const int y = std::clamp(start.Line, 1, fLines->Count());
        UnicodeString line = fLines->Get(y - 1);
        const std::size_t cut = std::min(line.size(), std::size_t(std::max(start.Char - 1, 0)));
        const UnicodeString moved = line.substr(cut);
        line.erase(cut);
        fLines->Put(y - 1, line);
        fLines->Insert(y, item->ChangeStr);
        fMarkList->LinesInserted(cut == 0 ? y : y + 1, 1);
        fUndoList->AddChange(crLineBreak, start, end, moved, mode);
        SetCaretXY({int(item->ChangeStr.size() - std::min(moved.size(), item->ChangeStr.size())) + 1, y + 1});
        break;
    }
    case crIndent:
        SetCaretAndSelection(end, start, end);
        fUndoList->AddChange(reason, start, end, item->ChangeStr, mode);
        break;
    case crUnindent: {
        const int column = mode == smColumn ? std::min(start.Char, end.Char) : 1;
        const std::vector<UnicodeString> pieces = Pieces(item->ChangeStr);
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            const int line = start.Line + int(k);
            if (pieces[k].empty() || line > fLines->Count()) continue;
            UnicodeString text = fLines->Get(line - 1);
            if (column <= int(text.size())) {
                text.erase(std::size_t(column - 1), pieces[k].size());
                fLines->Put(line - 1, text);
            }
        }
        if (mode == smColumn) {
            SetCaretAndSelection(start, start, end);
        } else {
            const TBufferCoord b{start.Char - fTabWidth, start.Line};
            SetCaretAndSelection(b, b, {end.Char - int(pieces.back().size()), end.Line});
        }
        fUndoList->AddChange(reason, start, end, item->ChangeStr, mode);
        break;
    }
    case crCaret:
        fUndoList->AddChange(crCaret, CaretXY(), CaretXY(), {}, fActiveSelectionMode);
        SetCaretXY(start);
        break;
    case crSelection:
        fUndoList->AddChange(crSelection, BlockBegin(), BlockEnd(), {}, fActiveSelectionMode);
        SetCaretAndSelection(CaretXY(), start, end);
        break;
    case crWhiteSpaceAdd:
        fUndoList->AddChange(reason, start, end, {}, mode);
        SetCaretAndSelection(end, end, end);
        SetSelTextPrimitive(mode, item->ChangeStr.c_str(), true);
        SetCaretXY(start);
        break;
    default:
        if (IsBracketBegin(reason) || IsBracketEnd(reason)) fUndoList->AddChange(reason, start, end, {}, mode);
        break;
    }
}
