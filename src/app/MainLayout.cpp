#include "app/MainLayout.h"

#include <stdexcept>
#include <vector>

namespace {

using K = TDesignRowKind;

constexpr TDesignRow DesignedRows[] = {
    {K::drBar, MainMenuBarName},
    {K::drMenu, u"&Comunication"},
    {K::drAction, u"ComConnectAct"},
    {K::drAction, u"TcpConnectAct"},
    {K::drAction, u"ComDisconnectAct"},
    {K::drSeparator},
    {K::drAction, u"ComPulseDTRAct"},
    {K::drAction, u"ComPulseRtsAct"},
    {K::drSeparator},
    {K::drAction, u"UploadBlockTransferAct"},
    {K::drAction, u"DownloadBlockTrabsferAct"},
    {K::drEnd},
    {K::drMenu, u"&Terminal"},
    {K::drAction, u"TermPasteAct"},
    {K::drAction, u"UploadTextFile"},
    {K::drAction, u"AbortPasteAct"},
    {K::drSeparator},
    {K::drAction, u"TermClearScreenAct"},
    {K::drAction, u"TermMapKeysAct"},
    {K::drSeparator},
    {K::drAction, u"TermSaveDisplayTextAct"},
    {K::drAction, u"TermScreenSnapshotAct"},
    {K::drAction, u"TermViewSnapshorAct"},
    {K::drEnd},
    {K::drMenu, u"&Block"},
    {K::drAction, u"BlockEditClearAct"},
    {K::drAction, u"BlockEditOpenFileAct"},
    {K::drAction, u"BlockEdSaveFileAct"},
    {K::drAction, u"BlockEditSaveFileAsAct"},
    {K::drAction, u"BlockEditUploadFileAct"},
    {K::drSeparator},
    {K::drAction, u"BlockEditUndoAct"},
    {K::drSeparator},
    {K::drAction, u"BlockEditSelectBlockAct"},
    {K::drAction, u"BlockEditCopyBlockAct"},
    {K::drAction, u"BlockEditCutBlockAct"},
    {K::drAction, u"BlockEditInsertBlockAct"},
    {K::drAction, u"BlockEditDeleteBlockAct"},
    {K::drEnd},
    {K::drMenu, u"&Line"},
    {K::drAction, u"BlockEditCopyLinesAct"},
    {K::drAction, u"BlockEditCutLinesAct"},
    {K::drAction, u"BlockEditPasteLinesAct"},
    {K::drAction, u"DeleteLineAct"},
    {K::drSeparator},
    {K::drAction, u"BlockEditSelecyAllAct"},
    {K::drAction, u"BlockEditInsertBlankAboveAct"},
    {K::drAction, u"BlockEditInsertBlankBelowAct"},
    {K::drEnd},
    {K::drMenu, u"&Editor"},
    {K::drAction, u"EditorNewAct"},
    {K::drAction, u"EditorOpenFileAct"},
    {K::drAction, u"EditorSaveFileAct"},
    {K::drAction, u"EditorSaveAsFileAct"},
    {K::drSeparator},
    {K::drAction, u"EditorTransToBlockEditAct"},
    {K::drAction, u"EditorEditPairedWordsAct"},
    {K::drAction, u"UpdateLocalWordsAct"},
    {K::drSeparator},
    {K::drAction, u"EditorUndoAct"},
    {K::drAction, u"EditorRedoAct"},
    {K::drSeparator},
    {K::drAction, u"EditorCutAct"},
    {K::drAction, u"EditorCopyAct"},
    {K::drAction, u"EditorPasteAct"},
    {K::drAction, u"EditorSelectAllAct"},
    {K::drSeparator},
    {K::drAction, u"EditorFindAct"},
    {K::drAction, u"EditorReplaceAct"},
    {K::drSeparator},
    {K::drAction, u"AutoIndentAct"},
    {K::drAction, u"EditIndentLinesAct"},
    {K::drAction, u"EditOutdentLinesAct"},
    {K::drEnd},
    {K::drMenu, u"&Settings"},
    {K::drAction, u"TermOptionsAct"},
    {K::drAction, u"CustomiseAct"},
    {K::drAction, u"DefaultLayoutAct"},
    {K::drEnd},
    {K::drBar, MainToolBarName},
    {K::drAction, u"ComConnectAct"},
    {K::drAction, u"TcpConnectAct"},
    {K::drAction, u"ComDisconnectAct"},
    {K::drSeparator},
    {K::drAction, u"ComPulseDTRAct"},
    {K::drAction, u"ComPulseRtsAct"},
    {K::drSeparator},
    {K::drAction, u"TermPasteAct"},
    {K::drAction, u"UploadTextFile"},
    {K::drAction, u"AbortPasteAct"},
    {K::drAction, u"TermClearScreenAct"},
    {K::drSeparator},
    {K::drAction, u"TermOptionsAct"},
    {K::drAction, u"TermMapKeysAct"},
    {K::drAction, u"CustomiseAct"},
    {K::drSeparator},
    {K::drAction, u"EditorOpenFileAct"},
    {K::drAction, u"EditorSaveFileAct"},
    {K::drAction, u"EditorTransToBlockEditAct"},
    {K::drBar, BlockToolBarName},
    {K::drAction, u"BlockEditClearAct"},
    {K::drAction, u"BlockEditOpenFileAct"},
    {K::drAction, u"BlockEdSaveFileAct"},
    {K::drAction, u"BlockEditSaveFileAsAct"},
    {K::drAction, u"BlockEditUploadFileAct"},
    {K::drSeparator},
    {K::drAction, u"BlockEditUndoAct"},
    {K::drSeparator},
    {K::drAction, u"BlockEditInsertBlockAct"},
    {K::drAction, u"BlockEditDeleteBlockAct"},
    {K::drBar, LineToolBarName},
    {K::drAction, u"BlockEditCopyLinesAct"},
    {K::drAction, u"BlockEditCutLinesAct"},
    {K::drAction, u"BlockEditPasteLinesAct"},
    {K::drAction, u"DeleteLineAct"},
    {K::drSeparator},
    {K::drAction, u"BlockEditInsertBlankAboveAct"},
    {K::drAction, u"BlockEditInsertBlankBelowAct"},
};

} // namespace

TActionLayout DesignedLayout()
{
    TActionLayout layout;
    std::vector<std::vector<TLayoutItem>*> open;
    for (const TDesignRow& row : DesignedRows) {
        if (row.Kind == K::drBar) {
            layout.Bars.push_back({row.Name, {}});
            open.assign(1, &layout.Bars.back().Items);
            continue;
        }
        // The table is code: a row outside a bar is a programming error.
        if (open.empty()) throw std::logic_error("Designed layout row outside a bar");
        std::vector<TLayoutItem>& items = *open.back();
        switch (row.Kind) {
        case K::drMenu:
            items.push_back({TLayoutItemKind::liSubMenu, row.Name, {}});
            open.push_back(&items.back().Items);
            break;
        case K::drEnd:
            open.pop_back();
            break;
        case K::drAction:
            items.push_back({TLayoutItemKind::liAction, row.Name, {}});
            break;
        case K::drSeparator:
            items.push_back({TLayoutItemKind::liSeparator, {}, {}});
            break;
        case K::drBar:
            break;
        }
    }
    return layout;
}
