// The editor control: finding, selecting and replacing a pattern through the assigned search engine.
#include "editor/NibEdit.h"

namespace {

/// Runs a clean-up when the scope ends, by any way out.
template <typename F>
struct TScopeExit {
    F f;
    ~TScopeExit() noexcept(false) { f(); }
};
template <typename F>
TScopeExit(F) -> TScopeExit<F>;

} // namespace

void TCustomNibEdit::SetSearchEngine(TNibEditSearchCustom* Value)
{
    const auto freed = TFreeNotification::Bind<&TCustomNibEdit::SearchEngineFreed>(this);
    if (fSearchEngine) fSearchEngine->RemoveFreeNotification(freed);
    fSearchEngine = Value;
    if (Value) Value->AddFreeNotification(freed);
}

TNibReplaceAction TCustomNibEdit::DoOnReplaceText(const UnicodeString& ASearch, const UnicodeString& AReplace,
                                                  int Line, int Column)
{
    TNibReplaceAction action = raCancel;
    Fire(OnReplaceText, this, ASearch, AReplace, Line, Column, action);
    return action;
}

int TCustomNibEdit::SearchReplace(const UnicodeString& ASearch, const UnicodeString& AReplace,
                                  TNibSearchOptions AOptions)
{
    if (!fSearchEngine) throw ENibEditError("No search engine has been assigned");
    if (ASearch.empty()) return 0;

    const bool backward = AOptions.Contains(ssoBackwards);
    bool prompt = AOptions.Contains(ssoPrompt);
    const bool replace = AOptions.Contains(ssoReplace);
    bool replaceAll = AOptions.Contains(ssoReplaceAll);
    const bool fromCaret = !AOptions.Contains(ssoEntireScope);
    if (!SelAvail()) AOptions.Exclude(ssoSelectedOnly);
    const bool selectedOnly = AOptions.Contains(ssoSelectedOnly);

    TBufferCoord start, end;
    if (selectedOnly) {
        start = BlockBegin();
        end = BlockEnd();
        if (fActiveSelectionMode == smLine) {
            start.Char = 1;
            end.Char = fLines->LineCharLength(end.Line - 1) + 1;
        } else if (fActiveSelectionMode == smColumn && end.Char < start.Char) {
            std::swap(start.Char, end.Char);
        }
    } else {
        const int count = fLines->Count();
        start = {1, 1};
        end = {count > 0 ? fLines->LineCharLength(count - 1) + 1 : 1, count};
        if (fromCaret) (backward ? end : start) = CaretXY();
    }
    const TNibSelectionMode mode = fActiveSelectionMode;
    TBufferCoord current = backward ? end : start;

    fSearchEngine->SetOptions(AOptions);
    fSearchEngine->SetPattern(ASearch);
    int result = 0;
    int replaceLen = 0;
    DoOnPaintTransient(ttBefore);
    bool endBlockNeeded = false;
    if (replaceAll && !prompt) {
        IncPaintLock();
        BeginUndoBlock();
        endBlockNeeded = true;
    }
    TScopeExit cleanup{[&] {
        if (endBlockNeeded) EndUndoBlock();
        if (replaceAll && !prompt) DecPaintLock();
        DoOnPaintTransient(ttAfter);
    }};

    // Forward, after a replacement that broke its line, the search goes on from the caret.
    int minChar = 0;
    while (current.Line >= start.Line && current.Line <= end.Line) {
        int matches = fSearchEngine->FindAll(fLines->Get(current.Line - 1));
        int offset = 0;
        int n = backward ? fSearchEngine->ResultCount() - 1 : 0;
        bool lineBroken = false;
        for (; matches > 0; --matches) {
            const int found = fSearchEngine->ResultPosition(n) + offset;
            const int len = fSearchEngine->ResultLength(n);
            n += backward ? -1 : 1;
            bool counts;
            if (selectedOnly && mode == smColumn)
                counts = (found >= start.Char && found + len <= end.Char) || end.Char - start.Char < 1;
            else if (selectedOnly && mode == smLine)
                counts = true;
            else
                counts = !((current.Line == start.Line && found < start.Char) ||
                           (current.Line == end.Line && found + len > end.Char));
            if (!counts || (!backward && found < minChar)) continue;

            ++result;
            current.Char = found;
            SetBlockBegin(current);
            SetCaretXYEx(false, {1, current.Line});
            EnsureCursorPosVisibleEx(true);
            current.Char += len;
            SetBlockEnd(current);
            InternalSetCaretXY(current);
            if (backward) InternalSetCaretXY(BlockBegin());
            if (!replace && !replaceAll) return result;

            TNibReplaceAction action = raReplace;
            if (prompt && OnReplaceText) {
                action = DoOnReplaceText(ASearch, AReplace, current.Line, found);
                if (action == raCancel) return result;
            }
            if (action == raSkip) {
                --result;
            } else {
                // Only the answer Replace All stops the questions and gathers the rest into one undo step.
                if (action == raReplaceAll) {
                    if (!replaceAll || prompt) {
                        replaceAll = true;
                        IncPaintLock();
                    }
                    prompt = false;
                    if (!endBlockNeeded) {
                        BeginUndoBlock();
                        endBlockNeeded = true;
                    }
                }
                {
                    // A match lies inside its line: in line mode the selection would take the whole line.
                    const bool lineMode = fActiveSelectionMode == smLine;
                    if (lineMode) SetActiveSelectionMode(smNormal);
                    TScopeExit restore{[&] {
                        if (lineMode) SetActiveSelectionMode(smLine);
                    }};
                    SetSelText(fSearchEngine->Replace(SelText(), AReplace));
                }
                if (fCaretY != current.Line) {
                    // The replacement broke the line: the rest of it now stands after the caret.
                    const int added = fCaretY - current.Line;
                    if (end.Line == current.Line) end.Char = fCaretX + (end.Char - current.Char);
                    end.Line += added;
                    if (!backward) {
                        current.Line = fCaretY;
                        minChar = fCaretX;
                        lineBroken = true;
                    }
                    if (!replaceAll) return result;
                    if (lineBroken) break;
                    continue;
                }
                replaceLen = fCaretX - found;
            }
            if (!backward) {
                // A skipped match is passed: the next search starts after it.
                InternalSetCaretX(found + (action == raSkip ? len : replaceLen));
                if (action != raSkip && len != replaceLen) {
                    offset += replaceLen - len;
                    if (mode != smColumn && fCaretY == end.Line) {
                        end.Char += replaceLen - len;
                        if (selectedOnly) SetBlockEnd(end);
                    }
                }
            }
            if (!replaceAll) return result;
        }
        if (!lineBroken) {
            current.Line += backward ? -1 : 1;
            minChar = 0;
        }
    }
    return result;
}
