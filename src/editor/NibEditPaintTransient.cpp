// The editor control: transient painting, which the application draws over the text before the
// editor changes what shows and after it.
#include "editor/NibEdit.h"

void TCustomNibEdit::DoOnPaintTransientEx(TTransientType TransientType, bool Lock)
{
    bool run = fPaintTransientLock == 0;
    if (Lock) {
        if (TransientType == ttBefore) {
            ++fPaintTransientLock;
        } else {
            --fPaintTransientLock;
            run = fPaintTransientLock == 0;
        }
    }
    if (run) PaintTransient(TransientType, nullptr);
}

void TCustomNibEdit::PaintTransient(TTransientType TransientType, Canvas* PaintCanvas)
{
    if (!OnPaintTransient) return;
    auto paint = [&](Canvas& ACanvas) {
        ACanvas.SetFont(Font());
        ACanvas.SetBrushColor(Color());
        const bool caretShown = HasStateFlag(sfCaretVisible);
        HideCaret();
        OnPaintTransient(this, ACanvas, TransientType);
        if (caretShown) ShowCaret();
    };
    if (PaintCanvas) paint(*PaintCanvas);
    else if (Host()) Host()->PaintOutsidePaint(paint);
}
