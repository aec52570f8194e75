#include "support/RecordingCanvas.h"

#include <algorithm>

using Kind = CanvasCall::Kind;

CanvasCall& RecordingCanvas::Record(Kind what)
{
    CanvasCall call;
    call.What = what;
    Calls.push_back(std::move(call));
    return Calls.back();
}

void RecordingCanvas::SetFont(const TFont& font)
{
    fFont = font;
    TextColor = font.Color;
    Record(Kind::SetFont).Font = font;
}

void RecordingCanvas::SetBrushColor(TColor color)
{
    BrushColor = color;
    Record(Kind::SetBrushColor).Color = color;
}

void RecordingCanvas::SetBrushStyle(TBrushStyle style)
{
    BrushStyle = style;
    Record(Kind::SetBrushStyle).Value = int(style);
}

void RecordingCanvas::SetPenColor(TColor color)
{
    PenColor = color;
    Record(Kind::SetPenColor).Color = color;
}

void RecordingCanvas::SetPenWidth(int width)
{
    PenWidth = width;
    Record(Kind::SetPenWidth).Value = width;
}

void RecordingCanvas::SetTextColor(TColor color)
{
    TextColor = color;
    Record(Kind::SetTextColor).Color = color;
}

void RecordingCanvas::FillRect(const TRect& r)
{
    CanvasCall& c = Record(Kind::FillRect);
    c.Rect = r;
    c.HasRect = true;
    c.Color = BrushColor;
}

void RecordingCanvas::FrameRect(const TRect& r)
{
    CanvasCall& c = Record(Kind::FrameRect);
    c.Rect = r;
    c.HasRect = true;
    c.Color = BrushColor;
}

void RecordingCanvas::MoveTo(int x, int y)
{
    Record(Kind::MoveTo).Point = {x, y};
}

void RecordingCanvas::LineTo(int x, int y)
{
    CanvasCall& c = Record(Kind::LineTo);
    c.Point = {x, y};
    c.Color = PenColor;
}

void RecordingCanvas::ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::u16string_view text,
                                 const int* dx)
{
    CanvasCall& c = Record(Kind::TextOut);
    c.Point = {x, y};
    c.Value = int(options);
    if (rect) {
        c.Rect = *rect;
        c.HasRect = true;
    }
    c.Text = UnicodeString(text);
    if (dx) c.Dx.assign(dx, dx + text.size());
    c.Color = TextColor;
    c.Background = BrushColor;
    c.Font = fFont;
}

int RecordingCanvas::WidthOf(char16_t c) const
{
    if (c == 0x0301 || c == 0x200B) return 0;
    return DoubleWidth.count(c) || (c >= 0x4E00 && c <= 0x9FFF) ? 2 * CharWidth : CharWidth;
}

TSize RecordingCanvas::TextExtent(std::u16string_view text)
{
    int width = 0;
    for (char16_t c : text) width += WidthOf(c);
    return {width, CharHeight};
}

TABC RecordingCanvas::CharABCWidths(char16_t c)
{
    return {0, WidthOf(c), 0};
}

TTextMetric RecordingCanvas::TextMetrics()
{
    TTextMetric m;
    m.Height = CharHeight;
    m.Ascent = Ascent;
    m.Descent = CharHeight - Ascent;
    m.AveCharWidth = CharWidth;
    m.MaxCharWidth = DoubleWidth.empty() ? CharWidth : 2 * CharWidth;
    return m;
}

void RecordingCanvas::SetClipRect(const TRect& r)
{
    Clipped = true;
    Clip = r;
    CanvasCall& c = Record(Kind::SetClipRect);
    c.Rect = r;
    c.HasRect = true;
}

void RecordingCanvas::ClearClip()
{
    Clipped = false;
    Record(Kind::ClearClip);
}

void RecordingCanvas::CopyRect(const TRect& dest, const Bitmap& src, const TRect& srcRect)
{
    CanvasCall& c = Record(Kind::CopyRect);
    c.Rect = dest;
    c.HasRect = true;
    c.Source = &src;
    c.SourceRect = srcRect;
}

void RecordingCanvas::CopyRectTransparent(const TRect& dest, const Bitmap& src, const TRect& srcRect,
                                          TColor transparent)
{
    CopyRect(dest, src, srcRect);
    Calls.back().Color = transparent;
}

void RecordingCanvas::ScrollBand(const TRect& r, int dx, int dy)
{
    CanvasCall& c = Record(Kind::ScrollBand);
    c.Rect = r;
    c.HasRect = true;
    c.Point = {dx, dy};
}

std::vector<CanvasCall> RecordingCanvas::Of(Kind what) const
{
    std::vector<CanvasCall> out;
    std::copy_if(Calls.begin(), Calls.end(), std::back_inserter(out),
                 [what](const CanvasCall& c) { return c.What == what; });
    return out;
}

RecordingBitmap::RecordingBitmap(int width, int height, RecordingGraphicsFactory* factory)
    : fWidth(width), fHeight(height), fFactory(factory)
{
    if (fFactory) {
        Recorder.DoubleWidth = fFactory->DoubleWidth;
        fFactory->Bitmaps.push_back(this);
    }
}

RecordingBitmap::~RecordingBitmap()
{
    if (fFactory) std::erase(fFactory->Bitmaps, this);
}

void RecordingBitmap::SetSize(int width, int height)
{
    fWidth = width;
    fHeight = height;
}

RecordingGraphicsFactory::RecordingGraphicsFactory()
{
    SetCurrent(this);
}

RecordingGraphicsFactory::~RecordingGraphicsFactory()
{
    for (RecordingBitmap* b : Bitmaps) b->fFactory = nullptr;
}

std::unique_ptr<Bitmap> RecordingGraphicsFactory::CreateBitmap(int width, int height)
{
    return std::make_unique<RecordingBitmap>(width, height, this);
}
