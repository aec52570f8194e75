#pragma once
// A list of equally sized images kept side by side in one bitmap strip.
#include <memory>
#include "platform/Canvas.h"
#include "platform/Events.h"
#include "platform/FreeNotifier.h"

class TCustomImageList : public TObject, public TFreeNotifier {
public:
    /// Makes the strip with the current graphics factory.
    TCustomImageList(int Width, int Height);
    ~TCustomImageList() override { NotifyFree(this); }
    TCustomImageList(const TCustomImageList&) = delete;
    TCustomImageList& operator=(const TCustomImageList&) = delete;

    int Width() const { return fWidth; }
    int Height() const { return fHeight; }
    int Count() const { return fCount; }
    /// Appends the top left Width x Height of the image; returns its index.
    int Add(const Bitmap& Image);
    /// Draws image Index with its top left at (X, Y); an index outside the list draws nothing.
    void Draw(Canvas& ACanvas, int X, int Y, int Index) const;

private:
    int fWidth;
    int fHeight;
    int fCount = 0;
    std::unique_ptr<Bitmap> fStrip;
};
