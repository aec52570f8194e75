#pragma once
// The drawing surface that the system's own controls paint on.
#include <cstdint>
#include <memory>
#include <string_view>
#include "platform/Graphics.h"

/// Metrics of the selected font, in pixels.
struct TTextMetric {
    int Height = 0;
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0;
    int ExternalLeading = 0;
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
    int Overhang = 0;
};

/// Widths of one glyph: A (left bearing), B (ink), C (right bearing); the advance is A + B + C.
struct TABC {
    int A = 0;
    int B = 0;
    int C = 0;
};

enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };

/// Options of ExtTextOut: fill the rectangle with the brush first, clip the text to it.
constexpr unsigned ETO_OPAQUE = 2;
constexpr unsigned ETO_CLIPPED = 4;

class Bitmap;

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void SetFont(const TFont& font) = 0;
    virtual const TFont& Font() const = 0;
    virtual void SetBrushColor(TColor color) = 0;
    virtual void SetBrushStyle(TBrushStyle style) = 0;
    virtual TBrushStyle GetBrushStyle() const = 0;
    virtual void SetPenColor(TColor color) = 0;
    virtual void SetPenWidth(int width) = 0;
    /// Colour of text output; a font's own colour is taken when the font is set.
    virtual void SetTextColor(TColor color) = 0;

    virtual void FillRect(const TRect& r) = 0;
    virtual void FrameRect(const TRect& r) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;

    /// Text at (x, y) (top left of the cell); `dx`, when given, holds one advance per code unit.
    virtual void ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::u16string_view text,
                            const int* dx) = 0;
    void TextOut(int x, int y, std::u16string_view text) { ExtTextOut(x, y, 0, nullptr, text, nullptr); }
    /// Size of the text in the current font; any code unit answers, a lone surrogate included.
    virtual TSize TextExtent(std::u16string_view text) = 0;
    virtual TABC CharABCWidths(char16_t c) = 0;
    /// Metrics of the current font; text output places the cell top, not the baseline, at y.
    virtual TTextMetric TextMetrics() = 0;

    /// Limits every following output to r; ClearClip lifts the limit.
    virtual void SetClipRect(const TRect& r) = 0;
    virtual void ClearClip() = 0;
    /// The rectangle that output is limited to; without a limit, the whole surface.
    virtual TRect ClipBox() const = 0;

    /// Copies srcRect of a bitmap to dest (same size) on this canvas.
    virtual void CopyRect(const TRect& dest, const Bitmap& src, const TRect& srcRect) = 0;
    /// As CopyRect, leaving the pixels of the bitmap that have colour `transparent` as they were here.
    virtual void CopyRectTransparent(const TRect& dest, const Bitmap& src, const TRect& srcRect,
                                     TColor transparent) = 0;
    /// Moves the pixels of r by (dx, dy) within this canvas; what is uncovered keeps its old pixels.
    virtual void ScrollBand(const TRect& r, int dx, int dy) = 0;
    /// Inverts every pixel of r (exclusive or with white).
    virtual void InvertRect(const TRect& r) = 0;
};

/// An off-screen image with its own canvas.
class Bitmap {
public:
    virtual ~Bitmap() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetSize(int width, int height) = 0;
    virtual Canvas& GetCanvas() = 0;
};

/// The RGB value of a colour: system colours are resolved by the current graphics factory (the
/// standard scheme when none is installed); other values are returned as they are.
TColor ColorToRGB(TColor color);

/// Makes bitmaps of the active drawing backend (the toolkit's, or the recording one in tests).
class GraphicsFactory {
public:
    /// A factory that is the current one stops being current.
    virtual ~GraphicsFactory();
    virtual std::unique_ptr<Bitmap> CreateBitmap(int width, int height) = 0;
    /// The RGB value of system colour `index` (the low byte of a negative colour); the default
    /// gives the system's standard scheme.
    virtual TColor SystemColor(int index) const;
    /// The factory in use; throws std::logic_error when none is set.
    static GraphicsFactory& Current();
    /// The factory in use, or nullptr when none is set (a program without a display draws nothing).
    static GraphicsFactory* CurrentOrNull();
    static void SetCurrent(GraphicsFactory* factory);
};
