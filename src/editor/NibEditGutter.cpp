// The editor control: painting of the gutter, the strip left of the text with the line numbers,
// the continuation glyphs of wrapped lines, the border and the marks.
#include <algorithm>
#include <vector>

#include "editor/NibEdit.h"
#include "editor/NibEditMiscProcs.h"

namespace {

/// The ten built-in bookmark glyphs.
constexpr int InternalImageCount = 10;

} // namespace

void TCustomNibEdit::PaintGutter(Canvas& ACanvas, const TRect& AClip, int aFirstRow, int aLastRow)
{
    const int vFirstLine = RowToLine(aFirstRow);
    const int vLastLine = RowToLine(aLastRow);
    const TNibGutter& gutter = *fGutter;

    if (gutter.Gradient())
        PaintGradient(ACanvas, gutter.GradientStartColor(), gutter.GradientEndColor(), true,
                      {0, 0, fGutterWidth, ClientHeight()}, gutter.GradientSteps());
    ACanvas.SetBrushColor(gutter.Color());

    if (gutter.ShowLineNumbers()) {
        if (gutter.UseFontStyle()) fTextDrawer->SetBaseFont(gutter.Font());
        else fTextDrawer->SetStyle(0);
        fTextDrawer->BeginDrawing(ACanvas);
        struct Restore {
            TCustomNibEdit& Edit;
            bool BaseFont;
            ~Restore()
            {
                Edit.fTextDrawer->EndDrawing();
                if (BaseFont) Edit.fTextDrawer->SetBaseFont(Edit.Font());
            }
        } restore{*this, gutter.UseFontStyle()};
        fTextDrawer->SetForeColor(gutter.UseFontStyle() ? gutter.Font().Color : Font().Color);
        fTextDrawer->SetBackColor(gutter.Color());

        // Rows of continuation lines carry no number: the band above each number is erased.
        const auto erase = [&](const TRect& band) {
            if (band.Top < band.Bottom) fTextDrawer->ExtTextOut(band.Left, band.Top, tooOpaque, band, {});
        };
        TRect rcLine = AClip;
        rcLine.Right = std::max(AClip.Right, fGutterWidth - 2);
        rcLine.Bottom = rcLine.Top;
        for (int line = vFirstLine; line <= vLastLine; ++line) {
            const int top = (LineToRow(line) - fTopLine) * fTextHeight;
            if (fWordWrapPlugin && !gutter.Gradient()) erase({rcLine.Left, rcLine.Bottom, rcLine.Right, top});
            rcLine.Top = top;
            rcLine.Bottom = top + fTextHeight;
            UnicodeString text = gutter.FormatLineNumber(line);
            if (OnGutterGetText) OnGutterGetText(this, line, text);
            const TSize extent = ACanvas.TextExtent(text);
            const int x = fGutterWidth - gutter.RightOffset() - 2 - extent.cx;
            const int y = top + (fTextHeight - extent.cy) / 2;
            if (gutter.Gradient()) {
                // The numbers stand on the gradient.
                ACanvas.SetBrushStyle(TBrushStyle::bsClear);
                ACanvas.ExtTextOut(x, y, ETO_CLIPPED, &rcLine, text, nullptr);
                ACanvas.SetBrushStyle(TBrushStyle::bsSolid);
            } else {
                ACanvas.ExtTextOut(x, y, ETO_OPAQUE | ETO_CLIPPED, &rcLine, text, nullptr);
            }
        }
        if (!gutter.Gradient()) erase({rcLine.Left, rcLine.Bottom, rcLine.Right, AClip.Bottom});
    } else if (!gutter.Gradient()) {
        ACanvas.FillRect(AClip);
    }

    if (fWordWrapPlugin && fWordWrapGlyph->Visible()) {
        if (gutter.Gradient()) ACanvas.SetBrushStyle(TBrushStyle::bsClear);
        const int x = fGutterWidth - gutter.RightOffset() - 2 - fWordWrapGlyph->Width();
        for (int row = aFirstRow; row <= aLastRow; ++row)
            if (LineToRow(RowToLine(row)) != row)
                fWordWrapGlyph->Draw(ACanvas, x, (row - fTopLine) * fTextHeight, fTextHeight);
        if (gutter.Gradient()) ACanvas.SetBrushStyle(TBrushStyle::bsSolid);
    }

    if (gutter.BorderStyle() != gbsNone && AClip.Right >= fGutterWidth - 2) {
        ACanvas.SetPenColor(gutter.BorderColor());
        ACanvas.SetPenWidth(1);
        if (gutter.BorderStyle() == gbsMiddle) {
            ACanvas.MoveTo(fGutterWidth - 2, AClip.Top);
            ACanvas.LineTo(fGutterWidth - 2, AClip.Bottom);
            ACanvas.SetPenColor(gutter.Color());
        }
        ACanvas.MoveTo(fGutterWidth - 1, AClip.Top);
        ACanvas.LineTo(fGutterWidth - 1, AClip.Bottom);
    }

    const auto rowTop = [&](int line) { return (LineToRow(line) - fTopLine) * fTextHeight; };
    if (fBookMarkOpt->GlyphsVisible() && fMarkList->Count() > 0 && vLastLine >= vFirstLine) {
        // One offset per painted row: where the next mark beside the row goes.
        std::vector<int> offsets(std::size_t(aLastRow - aFirstRow + 1), 0);
        const auto drawPass = [&](bool bookmarks) {
            bool others = false;
            for (int i = 0; i < fMarkList->Count(); ++i) {
                const TNibEditMark& mark = *fMarkList->Items(i);
                if (!mark.Visible() || mark.Line() < vFirstLine || mark.Line() > vLastLine) continue;
                if (mark.IsBookmark() != bookmarks) {
                    others = true;
                    continue;
                }
                const int row = LineToRow(mark.Line());
                if (row >= aFirstRow && row <= aLastRow)
                    PaintMark(ACanvas, mark, row, offsets[std::size_t(row - aFirstRow)]);
            }
            return others;
        };
        const bool first = fBookMarkOpt->DrawBookmarksFirst();
        if (drawPass(first)) drawPass(!first);
        if (OnGutterPaint) {
            for (int line = vFirstLine; line <= vLastLine; ++line) {
                const int row = LineToRow(line);
                const int x = row >= aFirstRow && row <= aLastRow ? offsets[std::size_t(row - aFirstRow)] : 0;
                OnGutterPaint(this, line, x, rowTop(line));
            }
        }
    } else if (OnGutterPaint) {
        for (int line = vFirstLine; line <= vLastLine; ++line) OnGutterPaint(this, line, 0, rowTop(line));
    }
}

// A mark drawn from the bookmark images takes the row's first place when it is of the kind drawn
// first; a second built-in glyph beside the same row is not drawn but still moves the offset on.
void TCustomNibEdit::PaintMark(Canvas& ACanvas, const TNibEditMark& Mark, int Row, int& Offset)
{
    const int top = (Row - fTopLine) * fTextHeight;
    const TCustomImageList* images = fBookMarkOpt->BookmarkImages();
    if (!Mark.InternalImage() && images) {
        if (Mark.ImageIndex() < 0 || Mark.ImageIndex() >= images->Count()) return;
        if (Mark.IsBookmark() == fBookMarkOpt->DrawBookmarksFirst()) Offset = 0;
        else if (Offset == 0) Offset = fBookMarkOpt->Xoffset();
        images->Draw(ACanvas, fBookMarkOpt->LeftMargin() + Offset, top, Mark.ImageIndex());
        Offset += fBookMarkOpt->Xoffset();
        return;
    }
    if (Mark.ImageIndex() < 0 || Mark.ImageIndex() >= InternalImageCount) return;
    if (!fInternalImage) fInternalImage = std::make_unique<TNibInternalImage>(u"NibEditInternalImages", InternalImageCount);
    if (Offset == 0) fInternalImage->Draw(ACanvas, Mark.ImageIndex(), fBookMarkOpt->LeftMargin() + Offset, top, fTextHeight);
    Offset += fBookMarkOpt->Xoffset();
}
