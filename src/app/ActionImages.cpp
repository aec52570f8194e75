#include "app/ActionImages.h"

namespace {

/// An action's name and its image's name.
struct TImageRow {
    const char16_t* Action;
    const char16_t* Image;
};

constexpr TImageRow DesignedImages[] = {
    // The terminal page.
    {u"ComConnectAct", SerialLinkImage},
    {u"TcpConnectAct", TcpLinkImage},
    {u"ComDisconnectAct", u"network-disconnect"},
    {u"ComPulseDTRAct", u"system-reboot"},
    {u"ComPulseRtsAct", u"media-skip-backward"},
    {u"TermOptionsAct", u"preferences-system"},
    {u"CustomiseAct", u"configure-toolbars"},
    {u"DefaultLayoutAct", u"document-revert"},
    {u"TermClearScreenAct", u"edit-clear"},
    {u"TermMapKeysAct", u"input-keyboard"},
    {u"TermPasteAct", u"edit-paste"},
    {u"UploadTextFile", u"document-send"},
    {u"AbortPasteAct", u"process-stop"},
    {u"UploadBlockTransferAct", u"go-up"},
    {u"DownloadBlockTrabsferAct", u"go-down"},
    {u"TermSaveDisplayTextAct", u"document-export"},
    {u"TermScreenSnapshotAct", u"camera-photo"},
    {u"TermViewSnapshorAct", u"document-print-preview"},
    // The Block Manager page.
    {u"BlockEditClearAct", u"document-new"},
    {u"BlockEditOpenFileAct", u"document-open"},
    {u"BlockEdSaveFileAct", u"document-save"},
    {u"BlockEditSaveFileAsAct", u"document-save-as"},
    {u"BlockEditUploadFileAct", u"go-up"},
    {u"BlockEditUndoAct", u"edit-undo"},
    {u"BlockEditSelectBlockAct", u"edit-select"},
    {u"BlockEditCopyBlockAct", u"edit-copy"},
    {u"BlockEditCutBlockAct", u"edit-cut"},
    {u"BlockEditInsertBlockAct", u"insert-object"},
    {u"BlockEditDeleteBlockAct", u"edit-delete"},
    {u"BlockEditCopyLinesAct", u"edit-copy"},
    {u"BlockEditCutLinesAct", u"edit-cut"},
    {u"BlockEditPasteLinesAct", u"edit-paste"},
    {u"DeleteLineAct", u"edit-table-delete-row"},
    {u"BlockEditSelecyAllAct", u"edit-select-all"},
    {u"BlockEditInsertBlankAboveAct", u"edit-table-insert-row-above"},
    {u"BlockEditInsertBlankBelowAct", u"edit-table-insert-row-below"},
    // The Code Editor page.
    {u"EditorNewAct", u"document-new"},
    {u"EditorOpenFileAct", u"document-open"},
    {u"EditorSaveFileAct", u"document-save"},
    {u"EditorSaveAsFileAct", u"document-save-as"},
    {u"EditorTransToBlockEditAct", u"go-next"},
    {u"EditorEditPairedWordsAct", u"accessories-dictionary"},
    {u"UpdateLocalWordsAct", u"view-refresh"},
    {u"EditorUndoAct", u"edit-undo"},
    {u"EditorRedoAct", u"edit-redo"},
    {u"EditorCutAct", u"edit-cut"},
    {u"EditorCopyAct", u"edit-copy"},
    {u"EditorPasteAct", u"edit-paste"},
    {u"EditorSelectAllAct", u"edit-select-all"},
    {u"EditorFindAct", u"edit-find"},
    {u"EditorReplaceAct", u"edit-find-replace"},
    {u"AutoIndentAct", u"format-justify-left"},
    {u"EditIndentLinesAct", u"format-indent-more"},
    {u"EditOutdentLinesAct", u"format-indent-less"},
    // The snapshot viewer.
    {u"FindNextAct", u"go-down-search"},
    {u"SearchAct", u"edit-find"},
    {u"SelectAllAct", u"edit-select-all"},
    {u"CopyToClipboardAct", u"edit-copy"},
};

} // namespace

void AssignActionImages(const std::vector<TActionList*>& lists)
{
    for (const TImageRow& row : DesignedImages)
        if (TAction* action = FindAction(lists, row.Action)) action->ImageName = row.Image;
}
