#pragma once
// Text on a fixed grid of character cells: fonts for the 16 styles of a base font, shared by every
// drawer that uses the same base font, and output where each character starts on a cell boundary.
#include <array>
#include <memory>
#include <string_view>
#include <vector>
#include "platform/Canvas.h"
#include "platform/Graphics.h"

/// A font made for one style of a base font; shared by the drawers while any of them holds it.
using TheFontHandle = std::shared_ptr<const TFont>;

/// The font of one style combination and its cell size.
struct TheFontData {
    TFontStyles Style = 0;
    /// Empty until the font is made.
    TheFontHandle Handle;
    /// Advance of the letter M.
    int CharAdv = 0;
    int CharHeight = 0;
};

/// The fonts of one base font: one record per distinct base font, counted by its users.
struct TheSharedFontsInfo {
    int RefCount = 0;
    /// Users that hold font handles: the handles are dropped when none does.
    int LockCount = 0;
    /// The base font without its italic, underline and strike-out: what makes two records equal.
    TFont BaseLF;
    /// Indexed by the style set read as a number (bold 1, italic 2, underline 4, strike-out 8).
    std::array<TheFontData, 16> FontsData;
};

/// The one list of shared font records of the process.
class TheFontsInfoManager {
public:
    static TheFontsInfoManager& Get();

    /// The record of the base font, made when there is none; its RefCount goes up.
    TheSharedFontsInfo* GetFontsInfo(const TFont& ABaseFont);
    /// One user less; the last one frees the record. The user must have unlocked it first.
    void ReleaseFontsInfo(TheSharedFontsInfo* pFontsInfo);
    void LockFontsInfo(TheSharedFontsInfo* pFontsInfo);
    /// The last unlock drops the record's font handles.
    void UnLockFontsInfo(TheSharedFontsInfo* pFontsInfo);
    int Count() const { return int(FFontsInfo.size()); }

private:
    std::vector<std::unique_ptr<TheSharedFontsInfo>> FFontsInfo;
};

/// The fonts a drawer uses: one shared record, the current style, and a canvas to measure on.
class TheFontStock {
public:
    explicit TheFontStock(const TFont& InitialFont);
    /// Unlocks the record's handles before releasing the record.
    ~TheFontStock();
    TheFontStock(const TheFontStock&) = delete;
    TheFontStock& operator=(const TheFontStock&) = delete;

    void SetBaseFont(const TFont& Value);
    /// Makes the style's font current, making and measuring it when it does not exist yet.
    void SetStyle(TFontStyles Value);
    TFontStyles Style() const { return FCrntStyle; }
    const TheFontHandle& FontHandle() const { return FCrntFont; }
    int CharAdvance() const { return FpCrntFontData ? FpCrntFontData->CharAdv : 0; }
    int CharHeight() const { return FpCrntFontData ? FpCrntFontData->CharHeight : 0; }
    /// Lets the record drop its handles once no other stock holds them.
    void ReleaseFontHandles();
    const TheSharedFontsInfo* FontsInfo() const { return FpInfo; }

private:
    void ReleaseFontsInfo();
    void Measure(TheFontData& data);

    std::unique_ptr<Bitmap> FMeasure;
    TheSharedFontsInfo* FpInfo = nullptr;
    bool FUsingFontHandles = false;
    TheFontHandle FCrntFont;
    TFontStyles FCrntStyle = 0;
    TheFontData* FpCrntFontData = nullptr;
    TFont FBaseLF;
};

/// Options of ExtTextOut.
enum TTextOutOption : std::uint8_t { tooOpaque = 1, tooClipped = 2 };
using TTextOutOptions = std::uint8_t;

/// Draws text on a grid of cells in the styles of one base font.
class TheTextDrawer {
public:
    /// `CalcExtentBaseStyle` is the style whose letter M gives the cell width.
    TheTextDrawer(TFontStyles CalcExtentBaseStyle, const TFont& BaseFont);

    int GetCharWidth() const { return FBaseCharWidth + FCharExtra; }
    int GetCharHeight() const { return FBaseCharHeight; }
    /// Starts drawing on a canvas; nested calls on the same canvas only count.
    void BeginDrawing(Canvas& DC);
    /// The outermost call gives the canvas its font back.
    void EndDrawing();
    void TextOut(int X, int Y, std::u16string_view Text);
    /// Draws each character at the start of its own cell; a wide glyph takes whole cells, and an
    /// overhanging last glyph widens ARect so that it is not clipped.
    void ExtTextOut(int X, int Y, TTextOutOptions Options, TRect ARect, std::u16string_view Text);
    void SetBaseFont(const TFont& Value);
    void SetBaseStyle(TFontStyles Value);
    void SetStyle(TFontStyles Value);
    TFontStyles Style() const { return FFontStock.Style(); }
    void SetForeColor(TColor Value);
    void SetBackColor(TColor Value);
    TColor ForeColor() const { return FColor; }
    TColor BackColor() const { return FBkColor; }
    /// Extra pixels added to every cell.
    void SetCharExtra(int Value);
    int CharExtra() const { return FCharExtra; }
    void ReleaseTemporaryResources() { FFontStock.ReleaseFontHandles(); }
    /// Size and width of text in the base font without style.
    TSize TextExtent(std::u16string_view Text);
    int TextWidth(std::u16string_view Text);
    /// The advances of the last ExtTextOut, one per code unit.
    const std::vector<int>& LastAdvances() const { return FETODist; }
    const TheFontStock& FontStock() const { return FFontStock; }

private:
    void ClearCaches();
    void ApplyFont();
    /// Full ink width of a character in the current style: A + B, and C when it is positive.
    int FullWidth(char16_t c);

    Canvas* FDC = nullptr;
    TFont FSavedFont;
    TheFontStock FFontStock;
    std::unique_ptr<Bitmap> FStockBitmap;
    TFontStyles FCalcExtentBaseStyle;
    int FBaseCharWidth = 0;
    int FBaseCharHeight = 0;
    std::vector<int> FETODist;
    TColor FColor = clWindowText;
    TColor FBkColor = clWindow;
    int FCharExtra = 0;
    int FDrawingCount = 0;
    /// Per style, for the first 128 codes; all zero means not yet measured.
    std::array<std::array<TABC, 128>, 16> FCharABCWidthCache{};
    /// For the first 128 codes; 0 means not yet measured.
    std::array<int, 128> FCharWidthCache{};
};
