#include "platform/ImageList.h"

TCustomImageList::TCustomImageList(int Width, int Height)
    : fWidth(Width), fHeight(Height), fStrip(GraphicsFactory::Current().CreateBitmap(0, Height))
{
}

int TCustomImageList::Add(const Bitmap& Image)
{
    // A bitmap loses its pixels when resized: the images so far move to a wider strip.
    std::unique_ptr<Bitmap> strip = GraphicsFactory::Current().CreateBitmap((fCount + 1) * fWidth, fHeight);
    if (fCount > 0) strip->GetCanvas().CopyRect({0, 0, fCount * fWidth, fHeight}, *fStrip, {0, 0, fCount * fWidth, fHeight});
    strip->GetCanvas().CopyRect({fCount * fWidth, 0, (fCount + 1) * fWidth, fHeight}, Image, {0, 0, fWidth, fHeight});
    fStrip = std::move(strip);
    return fCount++;
}

void TCustomImageList::Draw(Canvas& ACanvas, int X, int Y, int Index) const
{
    if (Index < 0 || Index >= fCount) return;
    ACanvas.CopyRect({X, Y, X + fWidth, Y + fHeight}, *fStrip, {Index * fWidth, 0, (Index + 1) * fWidth, fHeight});
}
