#pragma once
// The drawing surface over a Qt image, the off-screen bitmap over it, and the factory that makes them.
#include <optional>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include "platform/Canvas.h"

/// A Canvas that paints on a QImage (the host widgets copy that image to the screen).
class QtCanvas : public Canvas {
public:
    /// The image must outlive the canvas; call Flush before reading or replacing it.
    explicit QtCanvas(QImage& image);
    /// Ends the painting in progress, so the image can be read, copied or replaced.
    void Flush();

    void SetFont(const TFont& font) override;
    const TFont& Font() const override { return fFont; }
    void SetBrushColor(TColor color) override { fBrushColor = color; }
    void SetBrushStyle(TBrushStyle style) override { fBrushStyle = style; }
    TBrushStyle GetBrushStyle() const override { return fBrushStyle; }
    void SetPenColor(TColor color) override { fPenColor = color; }
    void SetPenWidth(int width) override { fPenWidth = width; }
    void SetTextColor(TColor color) override { fTextColor = color; }

    void FillRect(const TRect& r) override;
    void FrameRect(const TRect& r) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;

    void ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::u16string_view text,
                    const int* dx) override;
    TSize TextExtent(std::u16string_view text) override;
    TABC CharABCWidths(char16_t c) override;
    TTextMetric TextMetrics() override;

    void SetClipRect(const TRect& r) override;
    void ClearClip() override;
    TRect ClipBox() const override;

    void CopyRect(const TRect& dest, const Bitmap& src, const TRect& srcRect) override;
    void CopyRectTransparent(const TRect& dest, const Bitmap& src, const TRect& srcRect, TColor transparent) override;
    void ScrollBand(const TRect& r, int dx, int dy) override;
    void InvertRect(const TRect& r) override;

private:
    /// The painter on the image, begun on first use with the clip applied; null for an empty image.
    QPainter* Painter();
    /// Text at one advance per code unit in a single glyph run; false when it cannot be done so.
    bool DrawGlyphRun(QPainter& painter, int x, int baseline, std::u16string_view text, const int* dx);

    QImage& fImage;
    QPainter fPainter;
    TFont fFont;
    QFont fQFont;
    /// The font's glyphs, made on first use after a font change.
    std::optional<QRawFont> fRawFont;
    TColor fBrushColor = clWhite;
    TBrushStyle fBrushStyle = TBrushStyle::bsSolid;
    TColor fPenColor = clBlack;
    int fPenWidth = 1;
    TColor fTextColor = clBlack;
    std::optional<QRect> fClip;
    QPoint fPenPos;
};

/// An off-screen image with its canvas.
class QtBitmap : public Bitmap {
public:
    QtBitmap(int width, int height);
    int Width() const override { return fImage.width(); }
    int Height() const override { return fImage.height(); }
    void SetSize(int width, int height) override;
    Canvas& GetCanvas() override { return fCanvas; }
    /// The pixels, with every drawing so far in them.
    const QImage& Image() const;

private:
    QImage fImage;
    mutable QtCanvas fCanvas{fImage};
};

class QtGraphicsFactory : public GraphicsFactory {
public:
    std::unique_ptr<Bitmap> CreateBitmap(int width, int height) override;
    /// System colours from the application's palette.
    TColor SystemColor(int index) const override;
};

/// The Qt rectangle of a rectangle whose right and bottom are exclusive.
QRect ToQRect(const TRect& r);
