#pragma once
// A Canvas with fixed metrics that records every call, recording bitmaps, and their factory.
#include <climits>
#include <set>
#include <vector>
#include "platform/Canvas.h"

/// One recorded canvas call; fields a call does not use keep their defaults.
struct CanvasCall {
    enum class Kind : std::uint8_t {
        SetFont, SetBrushColor, SetBrushStyle, SetPenColor, SetPenWidth, SetTextColor, FillRect, FrameRect,
        MoveTo, LineTo, TextOut, SetClipRect, ClearClip, CopyRect, ScrollBand, InvertRect
    };
    Kind What;
    /// FillRect, FrameRect, InvertRect, SetClipRect, CopyRect's destination, ScrollBand's band, TextOut's rectangle.
    TRect Rect;
    bool HasRect = false;
    /// MoveTo, LineTo and TextOut's position; ScrollBand's (dx, dy).
    TPoint Point;
    /// The colour set; the brush colour of FillRect and FrameRect; the pen colour of LineTo; the
    /// text colour of TextOut; CopyRect's transparent colour (clNone when opaque).
    TColor Color = clNone;
    /// The brush colour at TextOut.
    TColor Background = clNone;
    /// SetPenWidth's width, SetBrushStyle's style, TextOut's options.
    int Value = 0;
    UnicodeString Text;
    /// TextOut's advances, when given.
    std::vector<int> Dx;
    /// SetFont's font; the font in use at TextOut.
    TFont Font;
    /// CopyRect's source.
    const Bitmap* Source = nullptr;
    TRect SourceRect;
};

class RecordingCanvas : public Canvas {
public:
    static constexpr int CharWidth = 8;
    static constexpr int CharHeight = 16;
    static constexpr int Ascent = 13;

    void SetFont(const TFont& font) override;
    const TFont& Font() const override { return fFont; }
    void SetBrushColor(TColor color) override;
    void SetBrushStyle(TBrushStyle style) override;
    TBrushStyle GetBrushStyle() const override { return BrushStyle; }
    void SetPenColor(TColor color) override;
    void SetPenWidth(int width) override;
    void SetTextColor(TColor color) override;
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
    /// The clip rectangle; without one, a surface as large as coordinates go.
    TRect ClipBox() const override { return Clipped ? Clip : TRect{0, 0, INT_MAX, INT_MAX}; }
    void CopyRect(const TRect& dest, const Bitmap& src, const TRect& srcRect) override;
    /// Recorded as a CopyRect whose Color is the transparent colour (clNone for an opaque copy).
    void CopyRectTransparent(const TRect& dest, const Bitmap& src, const TRect& srcRect, TColor transparent) override;
    void ScrollBand(const TRect& r, int dx, int dy) override;
    void InvertRect(const TRect& r) override;

    /// Width of one code unit: CharWidth; twice that for the double-width ones and U+4E00..U+9FFF;
    /// 0 for the combining acute accent U+0301 and the zero-width space U+200B.
    int WidthOf(char16_t c) const;
    /// The recorded calls of one kind, in order.
    std::vector<CanvasCall> Of(CanvasCall::Kind what) const;

    std::vector<CanvasCall> Calls;
    /// Code units drawn twice as wide as the others.
    std::set<char16_t> DoubleWidth;
    TColor BrushColor = clWhite;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
    TColor PenColor = clBlack;
    int PenWidth = 1;
    TColor TextColor = clBlack;
    bool Clipped = false;
    TRect Clip;

private:
    CanvasCall& Record(CanvasCall::Kind what);
    TFont fFont;
};

class RecordingGraphicsFactory;

/// An off-screen image whose canvas records.
class RecordingBitmap : public Bitmap {
public:
    RecordingBitmap(int width, int height, RecordingGraphicsFactory* factory = nullptr);
    ~RecordingBitmap() override;
    int Width() const override { return fWidth; }
    int Height() const override { return fHeight; }
    void SetSize(int width, int height) override;
    Canvas& GetCanvas() override { return Recorder; }

    RecordingCanvas Recorder;

private:
    friend class RecordingGraphicsFactory;
    int fWidth;
    int fHeight;
    RecordingGraphicsFactory* fFactory;
};

/// Makes recording bitmaps and keeps track of the ones alive; installs itself as the current factory.
class RecordingGraphicsFactory : public GraphicsFactory {
public:
    RecordingGraphicsFactory();
    ~RecordingGraphicsFactory() override;
    std::unique_ptr<Bitmap> CreateBitmap(int width, int height) override;

    /// Double-width code units given to every bitmap made from now on.
    std::set<char16_t> DoubleWidth;
    /// The bitmaps made by this factory that still exist, oldest first.
    std::vector<RecordingBitmap*> Bitmaps;
};
