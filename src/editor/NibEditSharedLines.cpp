// The editor control: showing another editor's line store with its undo and redo lists. The shown
// store's events reach both editors: the owner's handlers first, then this editor's own.
#include <algorithm>

#include "editor/NibAssert.h"
#include "editor/NibEdit.h"

namespace {

/// Word wrap switched off for a scope and back on at its end.
class TWordWrapOff {
public:
    explicit TWordWrapOff(TCustomNibEdit& Edit) : fEdit(Edit), fWasOn(Edit.WordWrap()) { fEdit.SetWordWrap(false); }
    ~TWordWrapOff() { fEdit.SetWordWrap(fWasOn); }
    TWordWrapOff(const TWordWrapOff&) = delete;
    TWordWrapOff& operator=(const TWordWrapOff&) = delete;

private:
    TCustomNibEdit& fEdit;
    bool fWasOn;
};

} // namespace

void TCustomNibEdit::SetLinesPointer(TCustomNibEdit* ANibEdit)
{
    if (!ANibEdit || ANibEdit == this) return;
    HookTextBuffer(ANibEdit->fLines, ANibEdit->fUndoList, ANibEdit->fRedoList);
    fChainedEditor = ANibEdit;
    ANibEdit->fLinesFollowers.push_back(this);
}

void TCustomNibEdit::RemoveLinesPointer()
{
    if (fChainedEditor) {
        auto& followers = fChainedEditor->fLinesFollowers;
        followers.erase(std::remove(followers.begin(), followers.end(), this), followers.end());
    }
    fChainedEditor = nullptr;
    UnHookTextBuffer();
}

void TCustomNibEdit::HookTextBuffer(TNibEditStringList* ABuffer, TNibEditUndoList* AUndo, TNibEditUndoList* ARedo)
{
    NibAssert(!fChainedEditor && fLines == fOrigLines.get(), "NibEdit\\Source\\NibEdit", __LINE__);
    TWordWrapOff wrapOff(*this);
    TNibEditStringList& own = *fOrigLines;
    fChainListCleared = ABuffer->OnCleared;
    fChainListDeleted = ABuffer->OnDeleted;
    fChainListInserted = ABuffer->OnInserted;
    fChainListPutted = ABuffer->OnPutted;
    fChainLinesChanging = ABuffer->OnChanging;
    fChainLinesChanged = ABuffer->OnChange;
    fChainUndoAdded = AUndo->OnAddedUndo;
    fChainRedoAdded = ARedo->OnAddedUndo;
    ABuffer->OnCleared = [this, &own](TObject* Sender) {
        Fire(fChainListCleared, Sender);
        Fire(own.OnCleared, Sender);
    };
    ABuffer->OnDeleted = [this, &own](TObject* Sender, int Index, int Count) {
        Fire(fChainListDeleted, Sender, Index, Count);
        Fire(own.OnDeleted, Sender, Index, Count);
    };
    ABuffer->OnInserted = [this, &own](TObject* Sender, int Index, int Count) {
        Fire(fChainListInserted, Sender, Index, Count);
        Fire(own.OnInserted, Sender, Index, Count);
    };
    ABuffer->OnPutted = [this, &own](TObject* Sender, int Index, int Count) {
        Fire(fChainListPutted, Sender, Index, Count);
        Fire(own.OnPutted, Sender, Index, Count);
    };
    ABuffer->OnChanging = [this, &own](TObject* Sender) {
        Fire(fChainLinesChanging, Sender);
        Fire(own.OnChanging, Sender);
    };
    ABuffer->OnChange = [this, &own](TObject* Sender) {
        Fire(fChainLinesChanged, Sender);
        Fire(own.OnChange, Sender);
    };
    AUndo->OnAddedUndo = [this](TObject* Sender) {
        Fire(fChainUndoAdded, Sender);
        Fire(fOrigUndoList->OnAddedUndo, Sender);
    };
    ARedo->OnAddedUndo = [this](TObject* Sender) {
        Fire(fChainRedoAdded, Sender);
        Fire(fOrigRedoList->OnAddedUndo, Sender);
    };
    fLines = ABuffer;
    fUndoList = AUndo;
    fRedoList = ARedo;
    LinesHookChanged();
}

void TCustomNibEdit::UnHookTextBuffer()
{
    NibAssert(!fChainedEditor, "NibEdit\\Source\\NibEdit", __LINE__);
    if (fLines == fOrigLines.get()) return;
    TWordWrapOff wrapOff(*this);
    fLines->OnCleared = std::move(fChainListCleared);
    fLines->OnDeleted = std::move(fChainListDeleted);
    fLines->OnInserted = std::move(fChainListInserted);
    fLines->OnPutted = std::move(fChainListPutted);
    fLines->OnChanging = std::move(fChainLinesChanging);
    fLines->OnChange = std::move(fChainLinesChanged);
    fUndoList->OnAddedUndo = std::move(fChainUndoAdded);
    fRedoList->OnAddedUndo = std::move(fChainRedoAdded);
    fChainListCleared = nullptr;
    fChainListDeleted = nullptr;
    fChainListInserted = nullptr;
    fChainListPutted = nullptr;
    fChainLinesChanging = nullptr;
    fChainLinesChanged = nullptr;
    fChainUndoAdded = nullptr;
    fChainRedoAdded = nullptr;
    fLines = fOrigLines.get();
    fUndoList = fOrigUndoList.get();
    fRedoList = fOrigRedoList.get();
    LinesHookChanged();
}

void TCustomNibEdit::LinesHookChanged()
{
    Invalidate();
    if (fOptions.Contains(eoAutoSizeMaxScrollWidth)) {
        const int longest = fLines->LengthOfLongestLine();
        if (longest > fMaxScrollWidth) SetMaxScrollWidth(longest);
    }
    UpdateScrollBars();
}

void TCustomNibEdit::ReleaseSharedLines()
{
    // Followers unhook in turn; each takes itself off the list.
    while (!fLinesFollowers.empty()) fLinesFollowers.back()->RemoveLinesPointer();
    if (fChainedEditor) RemoveLinesPointer();
}
