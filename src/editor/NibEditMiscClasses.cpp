#include "editor/NibEditMiscClasses.h"

#include <algorithm>
#include <string>
#include "editor/NibEditResources.h"

namespace {

/// Copies a bitmap's picture into another, resizing it.
void CopyPicture(Bitmap& to, const Bitmap& from)
{
    to.SetSize(from.Width(), from.Height());
    if (from.Width() > 0 && from.Height() > 0) {
        const TRect all{0, 0, from.Width(), from.Height()};
        to.GetCanvas().CopyRect(all, from, all);
    }
}

/// Draws srcRect of a picture in a cell LineHeight high: centred, or its middle rows when taller.
void DrawCentred(Canvas& c, const Bitmap& b, TRect src, int X, int Y, int LineHeight, TColor transparent)
{
    const int w = src.Width();
    const int h = src.Height();
    TRect dest;
    if (h > LineHeight) {
        src.Top += (h - LineHeight) / 2;
        src.Bottom = src.Top + LineHeight;
        dest = {X, Y, X + w, Y + LineHeight};
    } else {
        const int top = Y + (LineHeight - h) / 2;
        dest = {X, top, X + w, top + h};
    }
    if (transparent == clNone) c.CopyRect(dest, b, src);
    else c.CopyRectTransparent(dest, b, src, transparent);
}

/// The built-in bitmaps that image strips share, by upper-cased name.
struct SharedBitmap {
    int UsageCount = 0;
    UnicodeString Name;
    std::unique_ptr<Bitmap> Picture;
};

std::vector<SharedBitmap>& SharedBitmaps()
{
    static std::vector<SharedBitmap> list;
    return list;
}

} // namespace

void TNibSelectedColor::SetBackground(TColor value)
{
    if (fBG == value) return;
    fBG = value;
    Fire(OnChange, this);
}

void TNibSelectedColor::SetForeground(TColor value)
{
    if (fFG == value) return;
    fFG = value;
    Fire(OnChange, this);
}

void TNibSelectedColor::Assign(const TPersistent& Source)
{
    auto* src = dynamic_cast<const TNibSelectedColor*>(&Source);
    if (!src) return TPersistent::Assign(Source);
    fBG = src->fBG;
    fFG = src->fFG;
    Fire(OnChange, this);
}

TNibGutter::TNibGutter()
{
    fFont.Name = u"Courier New";
    fFont.SetSize(8);
    fFont.Style = 0;
}

void TNibGutter::Changed() { Fire(OnChange, this); }

void TNibGutter::SetFont(const TFont& value) { Set(fFont, value); }
void TNibGutter::SetColor(TColor value) { Set(fColor, value); }
void TNibGutter::SetBorderColor(TColor value) { Set(fBorderColor, value); }
void TNibGutter::SetWidth(int value) { Set(fWidth, std::max(0, value)); }
void TNibGutter::SetShowLineNumbers(bool value) { Set(fShowLineNumbers, value); }

void TNibGutter::SetDigitCount(int value)
{
    value = std::clamp(value, 2, 12);
    if (fDigitCount == value) return;
    fDigitCount = value;
    fAutoSizeDigitCount = value;
    Changed();
}

void TNibGutter::SetLeadingZeros(bool value) { Set(fLeadingZeros, value); }
void TNibGutter::SetZeroStart(bool value) { Set(fZeroStart, value); }
void TNibGutter::SetLeftOffset(int value) { Set(fLeftOffset, std::max(0, value)); }
void TNibGutter::SetRightOffset(int value) { Set(fRightOffset, std::max(0, value)); }
void TNibGutter::SetVisible(bool value) { Set(fVisible, value); }
void TNibGutter::SetUseFontStyle(bool value) { Set(fUseFontStyle, value); }
void TNibGutter::SetAutoSize(bool value) { Set(fAutoSize, value); }

void TNibGutter::SetBorderStyle(TNibGutterBorderStyle value)
{
    fBorderStyle = value;
    Changed();
}

void TNibGutter::SetLineNumberStart(int value)
{
    value = std::max(0, value);
    if (fLineNumberStart == value) return;
    fLineNumberStart = value;
    fZeroStart = value == 0;
    Changed();
}

void TNibGutter::SetGradient(bool value) { Set(fGradient, value); }
void TNibGutter::SetGradientStartColor(TColor value) { Set(fGradientStartColor, value); }
void TNibGutter::SetGradientEndColor(TColor value) { Set(fGradientEndColor, value); }
void TNibGutter::SetGradientSteps(int value) { Set(fGradientSteps, std::max(2, value)); }

void TNibGutter::Assign(const TPersistent& Source)
{
    auto* src = dynamic_cast<const TNibGutter*>(&Source);
    if (!src) return TPersistent::Assign(Source);
    TCursorShape cursor = fCursor;
    TNotifyEvent onChange = std::move(OnChange);
    *this = *src;
    fCursor = cursor;
    OnChange = std::move(onChange);
    Changed();
}

int TNibGutter::ShownNumber(int Line) const
{
    if (fZeroStart) return Line - 1;
    if (fLineNumberStart > 1) return Line + fLineNumberStart - 1;
    return Line;
}

void TNibGutter::AutoSizeDigitCount(int LinesCount)
{
    if (!(fVisible && fAutoSize && fShowLineNumbers)) {
        fAutoSizeDigitCount = fDigitCount;
        return;
    }
    int digits = std::max(int(std::to_string(ShownNumber(LinesCount)).size()), fDigitCount);
    if (digits == fAutoSizeDigitCount) return;
    fAutoSizeDigitCount = digits;
    Changed();
}

UnicodeString TNibGutter::FormatLineNumber(int Line) const
{
    std::string digits = std::to_string(ShownNumber(Line));
    std::size_t width = std::size_t(fAutoSizeDigitCount);
    UnicodeString text = FromAnsi(std::string(width > digits.size() ? width - digits.size() : 0, ' ') + digits);
    if (fLeadingZeros) {
        for (std::size_t i = 0; i + 1 < width && i < text.size() && text[i] == u' '; ++i) text[i] = u'0';
    }
    return text;
}

int TNibGutter::RealGutterWidth(int CharWidth) const
{
    if (!fVisible) return 0;
    if (fShowLineNumbers) return fLeftOffset + fRightOffset + fAutoSizeDigitCount * CharWidth + 2;
    return fWidth;
}

void TNibBookMarkOpt::SetDrawBookmarksFirst(bool value) { Set(fDrawBookmarksFirst, value); }
void TNibBookMarkOpt::SetEnableKeys(bool value) { Set(fEnableKeys, value); }
void TNibBookMarkOpt::SetGlyphsVisible(bool value) { Set(fGlyphsVisible, value); }
void TNibBookMarkOpt::SetLeftMargin(int value) { Set(fLeftMargin, value); }
void TNibBookMarkOpt::SetXoffset(int value) { Set(fXoffset, value); }

TNibBookMarkOpt::~TNibBookMarkOpt()
{
    if (fBookmarkImages) fBookmarkImages->RemoveFreeNotification(ImagesFreedHandler());
}

void TNibBookMarkOpt::SetBookmarkImages(TCustomImageList* value)
{
    if (fBookmarkImages) fBookmarkImages->RemoveFreeNotification(ImagesFreedHandler());
    fBookmarkImages = value;
    if (value) value->AddFreeNotification(ImagesFreedHandler());
    Fire(OnChange, this);
}

void TNibBookMarkOpt::Assign(const TPersistent& Source)
{
    auto* src = dynamic_cast<const TNibBookMarkOpt*>(&Source);
    if (!src) return TPersistent::Assign(Source);
    if (fBookmarkImages) fBookmarkImages->RemoveFreeNotification(ImagesFreedHandler());
    fBookmarkImages = src->fBookmarkImages;
    if (fBookmarkImages) fBookmarkImages->AddFreeNotification(ImagesFreedHandler());
    fDrawBookmarksFirst = src->fDrawBookmarksFirst;
    fEnableKeys = src->fEnableKeys;
    fGlyphsVisible = src->fGlyphsVisible;
    fLeftMargin = src->fLeftMargin;
    fXoffset = src->fXoffset;
    Fire(OnChange, this);
}

TNibGlyph::TNibGlyph(std::u16string_view Name, TColor MaskColor)
    : fGlyph(GraphicsFactory::Current().CreateBitmap(0, 0))
{
    if (!Name.empty()) {
        fInternalGlyph = LoadNibEditBitmap(Name);
        fInternalMaskColor = MaskColor;
    }
}

void TNibGlyph::SetGlyph(const Bitmap& Value)
{
    CopyPicture(*fGlyph, Value);
    Fire(OnChange, this);
}

void TNibGlyph::SetMaskColor(TColor Value)
{
    if (fMaskColor == Value) return;
    fMaskColor = Value;
    Fire(OnChange, this);
}

void TNibGlyph::SetVisible(bool Value)
{
    if (fVisible == Value) return;
    fVisible = Value;
    Fire(OnChange, this);
}

int TNibGlyph::Width() const
{
    if (fGlyph->Width() > 0 && fGlyph->Height() > 0) return fGlyph->Width();
    return fInternalGlyph ? fInternalGlyph->Width() : 0;
}

int TNibGlyph::Height() const
{
    if (fGlyph->Width() > 0 && fGlyph->Height() > 0) return fGlyph->Height();
    return fInternalGlyph ? fInternalGlyph->Height() : 0;
}

void TNibGlyph::Draw(Canvas& ACanvas, int X, int Y, int LineHeight) const
{
    const Bitmap* picture = fGlyph.get();
    TColor mask = fMaskColor;
    if (fGlyph->Width() <= 0 || fGlyph->Height() <= 0) {
        if (!fInternalGlyph) return;
        picture = fInternalGlyph.get();
        mask = fInternalMaskColor;
    }
    DrawCentred(ACanvas, *picture, {0, 0, picture->Width(), picture->Height()}, X, Y, LineHeight, mask);
}

void TNibGlyph::Assign(const TPersistent& Source)
{
    auto* src = dynamic_cast<const TNibGlyph*>(&Source);
    if (!src) return TPersistent::Assign(Source);
    fVisible = src->fVisible;
    fInternalMaskColor = src->fInternalMaskColor;
    fMaskColor = src->fMaskColor;
    if (src->fInternalGlyph) {
        if (!fInternalGlyph) fInternalGlyph = GraphicsFactory::Current().CreateBitmap(0, 0);
        CopyPicture(*fInternalGlyph, *src->fInternalGlyph);
    } else {
        fInternalGlyph.reset();
    }
    CopyPicture(*fGlyph, *src->fGlyph);
    Fire(OnChange, this);
}

TNibInternalImage::TNibInternalImage(std::u16string_view Name, int Count)
{
    std::vector<SharedBitmap>& list = SharedBitmaps();
    const UnicodeString key = UpperCase(Name);
    auto it = std::find_if(list.begin(), list.end(), [&](const SharedBitmap& s) { return s.Name == key; });
    if (it == list.end()) {
        list.push_back({0, key, LoadNibEditBitmap(Name)});
        it = list.end() - 1;
    }
    ++it->UsageCount;
    fImages = it->Picture.get();
    fCount = std::max(1, Count);
    fWidth = (fImages->Width() + fCount / 2) / fCount;
    fHeight = fImages->Height();
}

TNibInternalImage::~TNibInternalImage()
{
    std::vector<SharedBitmap>& list = SharedBitmaps();
    auto it = std::find_if(list.begin(), list.end(), [&](const SharedBitmap& s) { return s.Picture.get() == fImages; });
    if (it != list.end() && --it->UsageCount == 0) list.erase(it);
}

int TNibInternalImage::SharedBitmapCount() { return int(SharedBitmaps().size()); }

void TNibInternalImage::DrawImage(Canvas& ACanvas, int Number, int X, int Y, int LineHeight, TColor TransparentColor) const
{
    if (Number < 0 || Number >= fCount) return;
    DrawCentred(ACanvas, *fImages, {Number * fWidth, 0, (Number + 1) * fWidth, fHeight}, X, Y, LineHeight,
                TransparentColor);
}

void TNibInternalImage::Draw(Canvas& ACanvas, int Number, int X, int Y, int LineHeight) const
{
    DrawImage(ACanvas, Number, X, Y, LineHeight, clNone);
}

void TNibInternalImage::DrawTransparent(Canvas& ACanvas, int Number, int X, int Y, int LineHeight,
                                        TColor TransparentColor) const
{
    DrawImage(ACanvas, Number, X, Y, LineHeight, TransparentColor);
}

void TNibMethodChain::Add(const TMethodEvent& AEvent)
{
    if (!AEvent) throw ENibMethodChain(std::string(ClassName()) + ".Entry : the parameter `AEvent' must be specified.");
    fNotifyProcs.push_back(AEvent);
}

void TNibMethodChain::Remove(const TMethodEvent& AEvent)
{
    if (!AEvent) throw ENibMethodChain(std::string(ClassName()) + ".Remove: the parameter `AEvent' must be specified.");
    for (std::size_t i = fNotifyProcs.size(); i-- > 0;) {
        if (fNotifyProcs[i] == AEvent) fNotifyProcs.erase(fNotifyProcs.begin() + std::ptrdiff_t(i));
    }
}

void TNibMethodChain::Fire()
{
    // The count is read again after every call: a handler may add or remove handlers.
    for (std::size_t i = 0; i < fNotifyProcs.size();) {
        TMethodEvent event = fNotifyProcs[i++];
        try {
            DoFire(event);
        } catch (const std::exception& e) {
            if (!DoHandleException(e)) return;
        }
    }
}

bool TNibMethodChain::DoHandleException(const std::exception& E)
{
    if (!OnException) throw;
    bool doContinue = true;
    OnException(this, E, doContinue);
    return doContinue;
}
