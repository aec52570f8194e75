#pragma once
// Colours, geometry and fonts shared by the drawing services.
#include <algorithm>
#include <climits>
#include <cstdint>
#include "platform/Text.h"

/// A colour: $00BBGGRR (red in the low byte); negative values refer to system colours.
using TColor = std::int32_t;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clNavy = 0x800000;
constexpr TColor clYellow = 0x00FFFF;
/// System colours: the high bit set, the system colour index in the low byte.
constexpr TColor clWindow = TColor(0x80000005u);
constexpr TColor clWindowText = TColor(0x80000008u);
constexpr TColor clHighlight = TColor(0x8000000Du);
constexpr TColor clHighlightText = TColor(0x8000000Eu);
constexpr TColor clBtnFace = TColor(0x8000000Fu);
constexpr TColor clBtnShadow = TColor(0x80000010u);
constexpr TColor clBtnText = TColor(0x80000012u);
constexpr TColor cl3DDkShadow = TColor(0x80000015u);
constexpr TColor cl3DLight = TColor(0x80000016u);

constexpr std::uint8_t GetRValue(TColor c) { return std::uint8_t(c & 0xFF); }
constexpr std::uint8_t GetGValue(TColor c) { return std::uint8_t((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(TColor c) { return std::uint8_t((c >> 16) & 0xFF); }
constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return TColor(r | (g << 8) | (b << 16)); }

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

/// Right and Bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

enum class TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
/// Set of TFontStyle bits.
using TFontStyles = std::uint8_t;
constexpr bool HasStyle(TFontStyles s, TFontStyle f) { return (s & std::uint8_t(f)) != 0; }

/// How a font's edges are drawn: as the system draws them by default, or asked for explicitly.
enum class TFontQuality : std::uint8_t { fqDefault, fqNonAntialiased, fqAntialiased, fqClearType };

/// A font as the forms describe it: a negative Height is the character height in pixels.
struct TFont {
    UnicodeString Name = u"Courier New";
    int Height = -13;
    TFontStyles Style = 0;
    TColor Color = clBlack;
    TFontQuality Quality = TFontQuality::fqDefault;
    /// Size in points at 96 dots per inch, derived from Height.
    int Size() const
    {
        const std::int64_t pixels = Height < 0 ? -std::int64_t(Height) : Height;
        return int((pixels * 72 + 48) / 96);
    }
    /// Sizes from a hand-edited settings file may be absurd: the height is kept within int.
    void SetSize(int points)
    {
        const std::int64_t height = -(std::int64_t(points) * 96 + 36) / 72;
        Height = int(std::clamp<std::int64_t>(height, INT_MIN + 1, INT_MAX));
    }
    friend bool operator==(const TFont&, const TFont&) = default;
};
