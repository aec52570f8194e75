#pragma once
// Pretty text of completion items: backslash commands in the text change the font colour and style,
// jump to the next column, add space or draw an image. "\\" stands for one backslash.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>
#include "editor/NibProposalColumns.h"
#include "platform/Canvas.h"
#include "platform/ImageList.h"
#include "platform/Text.h"

enum TFormatCommand : std::uint8_t { fcNoCommand, fcColor, fcStyle, fcColumn, fcHSpace, fcImage };

/// A set of format commands: bit n stands for the n-th command.
class TFormatCommands {
public:
    constexpr TFormatCommands() = default;
    constexpr TFormatCommands(std::initializer_list<TFormatCommand> commands)
    {
        for (TFormatCommand c : commands) fBits |= std::uint8_t(1u << c);
    }
    constexpr bool Contains(TFormatCommand c) const { return (fBits & (1u << c)) != 0; }

private:
    std::uint8_t fBits = 0;
};

/// What a style command does to one font style: 1 adds it, -1 removes it, 0 toggles it.
struct TFormatStyle {
    /// "B", "I", "U" or "S".
    char16_t Style;
    int Action;
};

/// One piece of parsed pretty text: plain text, or one command with its parameter.
struct TFormatChunk {
    /// The text of an fcNoCommand chunk; empty otherwise.
    UnicodeString Str;
    TFormatCommand Command = fcNoCommand;
    /// The colour (fcColor), pixel count (fcHSpace) or image index (fcImage).
    std::int64_t Data = 0;
    /// The style change of an fcStyle chunk.
    std::optional<TFormatStyle> StyleData;
};

/// The chunks of a pretty text in text order.
class TFormatChunkList {
public:
    int Count() const { return int(FChunks.size()); }
    const TFormatChunk& operator[](int Index) const { return FChunks.at(std::size_t(Index)); }
    void Add(TFormatChunk AChunk) { FChunks.push_back(std::move(AChunk)); }
    void Clear() { FChunks.clear(); }

private:
    std::vector<TFormatChunk> FChunks;
};

/// Appends the chunks of Text; commands of the kinds in StripCommands are read but not stored.
/// A malformed or unknown command is dropped; a colour, space or image parameter that is no number
/// (nor, for a colour, a colour identifier) throws EConvertError.
void FormattedTextParse(std::u16string_view Text, TFormatChunkList& Chunks, TFormatCommands StripCommands);
/// Draws the chunks from Rect.Left on Rect.Top, or with OnlyCalcWidth only measures them; returns
/// the X reached. Drawing stops after the chunk that passes Rect.Right. The canvas font is restored.
int FormattedTextPaint(Canvas& ACanvas, const TRect& Rect, const TFormatChunkList& Chunks, bool OnlyCalcWidth,
                       const TCustomImageList* Images, const TProposalColumns* Columns);
/// Draws a pretty text; a selected one ignores its colour commands and keeps the canvas colour.
void FormattedTextDraw(Canvas& ACanvas, const TRect& Rect, std::u16string_view Text, bool Selected,
                       const TProposalColumns* Columns, const TCustomImageList* Images);
/// The width of a pretty text.
int FormattedTextWidth(Canvas& ACanvas, std::u16string_view Text, const TProposalColumns* Columns,
                       const TCustomImageList* Images);
/// The text of a pretty text without its commands.
UnicodeString FormattedTextToPlain(std::u16string_view Text);
/// The comma-separated parameters joined by blanks, the one at HighlightIndex (0-based) toggled bold.
UnicodeString FormatParameterList(std::u16string_view Text, int HighlightIndex);
