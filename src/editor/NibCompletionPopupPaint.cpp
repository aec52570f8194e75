// Painting of the popup: the list with its title bar, or a hint.
#include <algorithm>
#include "editor/NibCompletionPopup.h"
#include "editor/NibCompletionPrettyText.h"
#include "editor/NibUnicode.h"

namespace {

void SetFontColor(Canvas& canvas, TColor color)
{
    TFont font = canvas.Font();
    font.Color = color;
    canvas.SetFont(font);
}

}  // namespace

void TNibBaseCompletionProposalForm::Paint(Canvas& canvas)
{
    SizeBitmaps();
    if (FDisplayKind == ctCode) {
        PaintList(canvas);
        canvas.CopyRect({0, FHeightBuffer, FBitmap->Width(), FHeightBuffer + FBitmap->Height()}, *FBitmap,
                        {0, 0, FBitmap->Width(), FBitmap->Height()});
        if (!FTitle.empty()) PaintTitle(canvas);
    } else {
        PaintHint(canvas);
        canvas.CopyRect({0, 0, FBitmap->Width(), FBitmap->Height()}, *FBitmap, {0, 0, FBitmap->Width(), FBitmap->Height()});
    }
}

void TNibBaseCompletionProposalForm::PaintList(Canvas& canvas)
{
    Canvas& c = FBitmap->GetCanvas();
    c.SetFont(FFont);
    c.SetPenColor(fClBackGround);
    c.SetBrushColor(fClBackGround);
    c.SetBrushStyle(TBrushStyle::bsSolid);
    c.FillRect({0, 0, FBitmap->Width(), FBitmap->Height()});
    const int h = FEffectiveItemHeight;
    const int rows = std::min(FLinesInWindow, AssignedCount());
    for (int r = 0; r < rows; ++r) {
        const int index = TopRow() + r;
        if (index >= AssignedCount()) break;
        const TRect row{0, r * h, FBitmap->Width(), (r + 1) * h};
        const bool selected = index == FPosition;
        if (selected) {
            c.SetBrushColor(FClSelect);
            c.SetPenColor(FClSelect);
            c.FillRect(row);
            SetFontColor(c, fClSelectText);
        }
        bool customDraw = false;
        Fire(OnPaintItem, this, LogicalToPhysicalIndex(index), c, row, customDraw);
        if (!customDraw) {
            if (FFormattedText)
                FormattedTextDraw(c, {FMargin, row.Top, FBitmap->Width(), row.Bottom}, AssignedItem(index), selected,
                                  &FColumns, FImages);
            else
                CanvasTextOut(c, FMargin, row.Top, AssignedItem(index));
        }
        if (selected) {
            c.SetBrushColor(fClBackGround);
            c.SetPenColor(fClBackGround);
            c.SetFont(FFont);
        }
    }
}

void TNibBaseCompletionProposalForm::PaintTitle(Canvas& canvas)
{
    Canvas& c = FTitleBitmap->GetCanvas();
    const int w = FTitleBitmap->Width();
    const int h = FTitleBitmap->Height();
    c.SetBrushStyle(TBrushStyle::bsSolid);
    c.SetBrushColor(FClTitleBackground);
    c.FillRect({0, 0, w, h});
    c.SetPenColor(clBtnShadow);
    c.MoveTo(0, h - 1);
    c.LineTo(w, h - 1);
    c.SetFont(FTitleFont);
    const int x = FCenterTitle ? std::max((w - CanvasTextExtent(c, FTitle)) / 2, 2) : 2;
    CanvasTextRect(c, {0, 0, w, h - 1}, x, 1, FTitle);
    canvas.CopyRect({0, 0, w, h}, *FTitleBitmap, {0, 0, w, h});
}

void TNibBaseCompletionProposalForm::PaintHint(Canvas& canvas)
{
    Canvas& c = FBitmap->GetCanvas();
    const int w = FBitmap->Width();
    const int h = FBitmap->Height();
    c.SetFont(FFont);
    c.SetPenColor(fClBackGround);
    c.SetBrushColor(fClBackGround);
    c.SetBrushStyle(TBrushStyle::bsSolid);
    c.FillRect({0, 0, w, h});
    // A raised one-pixel frame: light at the top and left, dark at the bottom and right.
    c.SetPenColor(cl3DLight);
    c.MoveTo(0, h - 1);
    c.LineTo(0, 0);
    c.LineTo(w - 1, 0);
    c.SetPenColor(cl3DDkShadow);
    c.LineTo(w - 1, h - 1);
    c.LineTo(0, h - 1);
    for (int r = 0; r < FItemList.Count(); ++r) {
        const int y = r * FEffectiveItemHeight + FMargin;
        const TRect row{FMargin, y, w, y + FEffectiveItemHeight};
        bool customDraw = false;
        Fire(OnPaintItem, this, r, c, row, customDraw);
        if (customDraw) continue;
        const UnicodeString text = FDisplayKind == ctParams ? FormatParameterList(FItemList[r], FCurrentIndex) : FItemList[r];
        FormattedTextDraw(c, row, text, false, &FColumns, FImages);
    }
}
