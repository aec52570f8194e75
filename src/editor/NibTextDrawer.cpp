#include "editor/NibTextDrawer.h"

#include <algorithm>
#include <cstdlib>
#include "editor/NibAssert.h"

namespace {

constexpr char Unit[] = "NibEdit\\Source\\NibTextDrawer";

/// What tells two base fonts apart: italic, underline, strike-out and colour do not.
TFont ComparisonFont(const TFont& font)
{
    TFont f = font;
    f.Style &= std::uint8_t(TFontStyle::fsBold);
    f.Color = clBlack;
    return f;
}

std::unique_ptr<Bitmap> MeasuringBitmap() { return GraphicsFactory::Current().CreateBitmap(1, 1); }

} // namespace

TheFontsInfoManager& TheFontsInfoManager::Get()
{
    static TheFontsInfoManager manager;
    return manager;
}

TheSharedFontsInfo* TheFontsInfoManager::GetFontsInfo(const TFont& ABaseFont)
{
    const TFont key = ComparisonFont(ABaseFont);
    auto it = std::find_if(FFontsInfo.begin(), FFontsInfo.end(), [&](const auto& r) { return r->BaseLF == key; });
    TheSharedFontsInfo* info;
    if (it != FFontsInfo.end()) {
        info = it->get();
    } else {
        FFontsInfo.push_back(std::make_unique<TheSharedFontsInfo>());
        info = FFontsInfo.back().get();
        info->BaseLF = key;
    }
    ++info->RefCount;
    return info;
}

void TheFontsInfoManager::ReleaseFontsInfo(TheSharedFontsInfo* pFontsInfo)
{
    NibAssert(pFontsInfo != nullptr, Unit, __LINE__);
    NibAssert(pFontsInfo->LockCount < pFontsInfo->RefCount, Unit, __LINE__);
    if (pFontsInfo->RefCount < 2) {
        std::erase_if(FFontsInfo, [&](const auto& r) { return r.get() == pFontsInfo; });
    } else {
        --pFontsInfo->RefCount;
    }
}

void TheFontsInfoManager::LockFontsInfo(TheSharedFontsInfo* pFontsInfo) { ++pFontsInfo->LockCount; }

void TheFontsInfoManager::UnLockFontsInfo(TheSharedFontsInfo* pFontsInfo)
{
    NibAssert(pFontsInfo != nullptr && pFontsInfo->LockCount > 0, Unit, __LINE__);
    if (--pFontsInfo->LockCount == 0) {
        for (TheFontData& d : pFontsInfo->FontsData) d.Handle.reset();
    }
}

TheFontStock::TheFontStock(const TFont& InitialFont) : FMeasure(MeasuringBitmap()) { SetBaseFont(InitialFont); }

TheFontStock::~TheFontStock() { ReleaseFontsInfo(); }

void TheFontStock::ReleaseFontsInfo()
{
    if (!FpInfo) return;
    ReleaseFontHandles();
    TheFontsInfoManager::Get().ReleaseFontsInfo(FpInfo);
    FpInfo = nullptr;
    FpCrntFontData = nullptr;
    FCrntFont.reset();
}

void TheFontStock::ReleaseFontHandles()
{
    if (!FUsingFontHandles) return;
    FUsingFontHandles = false;
    TheFontsInfoManager::Get().UnLockFontsInfo(FpInfo);
}

void TheFontStock::SetBaseFont(const TFont& Value)
{
    TheFontsInfoManager& manager = TheFontsInfoManager::Get();
    TheSharedFontsInfo* info = manager.GetFontsInfo(Value);
    if (info == FpInfo) {
        manager.ReleaseFontsInfo(info);
    } else {
        ReleaseFontsInfo();
        FpInfo = info;
        FBaseLF = info->BaseLF;
        SetStyle(Value.Style);
    }
}

void TheFontStock::SetStyle(TFontStyles Value)
{
    NibAssert(Value < 16, Unit, __LINE__);
    if (!FUsingFontHandles) {
        TheFontsInfoManager::Get().LockFontsInfo(FpInfo);
        FUsingFontHandles = true;
    }
    TheFontData& data = FpInfo->FontsData[Value];
    if (&data == FpCrntFontData && data.Handle) return;
    FpCrntFontData = &data;
    FCrntStyle = Value;
    if (!data.Handle) {
        TFont font = FBaseLF;
        font.Style = Value;
        data.Style = Value;
        data.Handle = std::make_shared<const TFont>(font);
        Measure(data);
    }
    FCrntFont = data.Handle;
}

void TheFontStock::Measure(TheFontData& data)
{
    Canvas& c = FMeasure->GetCanvas();
    c.SetFont(*data.Handle);
    const TTextMetric tm = c.TextMetrics();
    const TABC abc = c.CharABCWidths(u'M');
    data.CharAdv = abc.A + abc.B + abc.C + tm.Overhang;
    if (data.CharAdv <= 0) data.CharAdv = tm.AveCharWidth;
    data.CharHeight = std::abs(tm.Height);
}

TheTextDrawer::TheTextDrawer(TFontStyles CalcExtentBaseStyle, const TFont& BaseFont)
    : FFontStock(BaseFont), FStockBitmap(MeasuringBitmap()), FCalcExtentBaseStyle(CalcExtentBaseStyle)
{
    SetBaseFont(BaseFont);
}

void TheTextDrawer::ClearCaches()
{
    for (auto& perStyle : FCharABCWidthCache) perStyle.fill(TABC{});
    FCharWidthCache.fill(-1);
    FETODist.clear();
}

void TheTextDrawer::SetBaseFont(const TFont& Value)
{
    ClearCaches();
    TFont plain = Value;
    plain.Style = 0;
    FStockBitmap->GetCanvas().SetFont(plain);
    FFontStock.SetBaseFont(Value);
    FFontStock.SetStyle(FCalcExtentBaseStyle);
    FBaseCharWidth = FFontStock.CharAdvance();
    FBaseCharHeight = FFontStock.CharHeight();
    SetStyle(Value.Style);
}

void TheTextDrawer::SetBaseStyle(TFontStyles Value)
{
    if (FCalcExtentBaseStyle == Value) return;
    FCalcExtentBaseStyle = Value;
    ClearCaches();
    const TFontStyles current = FFontStock.Style();
    FFontStock.SetStyle(Value);
    FBaseCharWidth = FFontStock.CharAdvance();
    FBaseCharHeight = FFontStock.CharHeight();
    SetStyle(current);
}

void TheTextDrawer::SetStyle(TFontStyles Value)
{
    FFontStock.SetStyle(Value);
    ApplyFont();
}

void TheTextDrawer::ApplyFont()
{
    if (!FDC) return;
    TFont font = *FFontStock.FontHandle();
    font.Color = FColor;
    FDC->SetFont(font);
}

void TheTextDrawer::SetForeColor(TColor Value)
{
    if (FColor == Value) return;
    FColor = Value;
    if (FDC) FDC->SetTextColor(Value);
}

void TheTextDrawer::SetBackColor(TColor Value)
{
    if (FBkColor == Value) return;
    FBkColor = Value;
    if (FDC) FDC->SetBrushColor(Value);
}

// The advances of ExtTextOut carry the extra pixels, so nothing is applied to the canvas.
void TheTextDrawer::SetCharExtra(int Value) { FCharExtra = Value; }

void TheTextDrawer::BeginDrawing(Canvas& DC)
{
    if (FDC == &DC) {
        ++FDrawingCount;
        return;
    }
    NibAssert(FDC == nullptr && FDrawingCount == 0, Unit, __LINE__);
    FDC = &DC;
    FSavedFont = DC.Font();
    ApplyFont();
    DC.SetTextColor(FColor);
    DC.SetBrushColor(FBkColor);
    ++FDrawingCount;
}

void TheTextDrawer::EndDrawing()
{
    NibAssert(FDrawingCount >= 1, Unit, __LINE__);
    if (--FDrawingCount == 0) {
        FDC->SetFont(FSavedFont);
        FDC = nullptr;
    }
}

void TheTextDrawer::TextOut(int X, int Y, std::u16string_view Text)
{
    NibAssert(FDC != nullptr, Unit, __LINE__);
    const TRect empty{X, Y, X, Y};
    FDC->ExtTextOut(X, Y, 0, &empty, Text, nullptr);
}

int TheTextDrawer::FullWidth(char16_t c)
{
    TABC abc;
    if (c < 128) {
        TABC& cached = FCharABCWidthCache[FFontStock.Style()][c];
        if (cached.A == 0 && cached.B == 0 && cached.C == 0) cached = FDC->CharABCWidths(c);
        abc = cached;
    } else {
        abc = FDC->CharABCWidths(c);
    }
    return abc.A + abc.B + (abc.C >= 0 ? abc.C : 0);
}

void TheTextDrawer::ExtTextOut(int X, int Y, TTextOutOptions Options, TRect ARect, std::u16string_view Text)
{
    NibAssert(FDC != nullptr, Unit, __LINE__);
    const int cell = GetCharWidth();
    FETODist.resize(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const int w = TextWidth(Text.substr(i, 1));
        // A character that measures nothing wide still takes its cell, so the ones after it keep
        // their columns.
        if (cell <= 0) FETODist[i] = w;
        else if (w <= cell) FETODist[i] = cell;
        else FETODist[i] = (w + cell - 1) / cell * cell;
    }
    if (!Text.empty()) {
        const int full = FullWidth(Text.back());
        if (full > FETODist.back()) {
            ARect.Right += full - FETODist.back();
            FETODist.back() = full;
        }
    }
    unsigned flags = 0;
    if (Options & tooOpaque) flags |= ETO_OPAQUE;
    if (Options & tooClipped) flags |= ETO_CLIPPED;
    FDC->ExtTextOut(X, Y, flags, &ARect, Text, FETODist.data());
}

TSize TheTextDrawer::TextExtent(std::u16string_view Text) { return FStockBitmap->GetCanvas().TextExtent(Text); }

int TheTextDrawer::TextWidth(std::u16string_view Text)
{
    if (Text.size() == 1 && Text[0] < 128) {
        int& cached = FCharWidthCache[Text[0]];
        if (cached < 0) cached = TextExtent(Text).cx;
        return cached;
    }
    return TextExtent(Text).cx;
}
