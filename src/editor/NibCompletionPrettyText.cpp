#include "editor/NibCompletionPrettyText.h"
#include <algorithm>
#include <climits>
#include "editor/NibAssert.h"
#include "editor/NibUnicode.h"
#include "platform/ColorNames.h"
#include "platform/Convert.h"
#include "platform/StringList.h"

namespace {

constexpr const char* Unit = "NibCompletionProposal";

/// A number or colour parameter, or none when it is neither: the command is then malformed, so that
/// an item is drawn without it rather than not at all.
template <typename Convert>
std::optional<std::int64_t> Number(std::u16string_view Param, Convert convert)
{
    try {
        return std::int64_t(convert(Param));
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

/// The chunk of a well-formed command, or none for a malformed or unknown one.
std::optional<TFormatChunk> ParseCommand(const UnicodeString& Name, std::u16string_view Param, bool StoreStyle)
{
    TFormatChunk chunk;
    if (Name == u"COLOR" || Name == u"HSPACE" || Name == u"IMAGE") {
        const std::optional<std::int64_t> value =
            Name == u"COLOR" ? Number(Param, StringToColor) : Number(Param, [](std::u16string_view p) { return StrToInt(p); });
        if (!value) return std::nullopt;
        chunk.Command = Name == u"COLOR" ? fcColor : Name == u"HSPACE" ? fcHSpace : fcImage;
        chunk.Data = *value;
    } else if (Name == u"COLUMN") {
        if (!Param.empty()) return std::nullopt;
        chunk.Command = fcColumn;
    } else if (Name == u"STYLE") {
        if (Param.size() != 2) return std::nullopt;
        const char16_t letter = UpCaseChar(Param[1]);
        const std::u16string_view actions = u"-~+";
        const std::size_t action = actions.find(Param[0]);
        if (action == std::u16string_view::npos || std::u16string_view(u"BISU").find(letter) == std::u16string_view::npos)
            return std::nullopt;
        chunk.Command = fcStyle;
        if (StoreStyle) chunk.StyleData = TFormatStyle{letter, int(action) - 1};
    } else {
        return std::nullopt;
    }
    return chunk;
}

TFontStyle FontStyleOf(char16_t letter)
{
    switch (letter) {
    case u'B': return TFontStyle::fsBold;
    case u'I': return TFontStyle::fsItalic;
    case u'U': return TFontStyle::fsUnderline;
    default: return TFontStyle::fsStrikeOut;
    }
}

TFontStyles ApplyStyle(TFontStyles styles, const TFormatStyle& change)
{
    const auto bit = TFontStyles(FontStyleOf(change.Style));
    if (change.Action > 0) return TFontStyles(styles | bit);
    if (change.Action < 0) return TFontStyles(styles & ~bit);
    return TFontStyles(styles ^ bit);
}

void SetFontStyle(Canvas& ACanvas, TFontStyles styles)
{
    TFont font = ACanvas.Font();
    font.Style = styles;
    ACanvas.SetFont(font);
}

}  // namespace

void FormattedTextParse(std::u16string_view Text, TFormatChunkList& Chunks, TFormatCommands StripCommands)
{
    UnicodeString pending;
    auto flush = [&] {
        if (pending.empty()) return;
        TFormatChunk chunk;
        chunk.Str = std::move(pending);
        Chunks.Add(std::move(chunk));
        pending.clear();
    };
    std::size_t i = 0;
    while (i < Text.size()) {
        if (Text[i] != u'\\') {
            const std::size_t end = std::min(Text.find(u'\\', i), Text.size());
            pending.append(Text.substr(i, end - i));
            i = end;
            continue;
        }
        ++i;
        if (i < Text.size() && Text[i] == u'\\') {
            pending += u'\\';
            ++i;
            continue;
        }
        flush();
        const std::size_t open = Text.find(u'{', i);
        if (open == std::u16string_view::npos) break;
        const std::size_t close = Text.find(u'}', open + 1);
        if (close == std::u16string_view::npos) break;
        const UnicodeString name = UpperCase(Text.substr(i, open - i));
        std::optional<TFormatChunk> chunk =
            ParseCommand(name, Text.substr(open + 1, close - open - 1), !StripCommands.Contains(fcStyle));
        if (chunk && !StripCommands.Contains(chunk->Command)) Chunks.Add(std::move(*chunk));
        i = close + 1;
    }
    flush();
}

int FormattedTextPaint(Canvas& ACanvas, const TRect& Rect, const TFormatChunkList& Chunks, bool OnlyCalcWidth,
                       const TCustomImageList* Images, const TProposalColumns* Columns)
{
    const TFont savedFont = ACanvas.Font();
    const bool hasColumns = Columns && Columns->Count() > 0;
    int column = hasColumns ? 0 : -1;
    if (column == 0) SetFontStyle(ACanvas, Columns->Items(0).FontStyle());
    // Wide sums: a huge space or column width must not wrap around.
    std::int64_t x = Rect.Left;
    std::int64_t columnStart = Rect.Left;
    ACanvas.SetBrushStyle(TBrushStyle::bsClear);
    for (int i = 0; i < Chunks.Count(); ++i) {
        const TFormatChunk& chunk = Chunks[i];
        bool passedRight = false;
        switch (chunk.Command) {
        case fcNoCommand:
            if (!OnlyCalcWidth) CanvasTextOut(ACanvas, int(std::clamp<std::int64_t>(x, INT_MIN, INT_MAX)), Rect.Top, chunk.Str);
            x += CanvasTextExtent(ACanvas, chunk.Str);
            passedRight = x > Rect.Right;
            break;
        case fcColor:
            if (!OnlyCalcWidth) {
                TFont font = ACanvas.Font();
                font.Color = TColor(chunk.Data);
                ACanvas.SetFont(font);
            }
            break;
        case fcStyle:
            if (chunk.StyleData) SetFontStyle(ACanvas, ApplyStyle(ACanvas.Font().Style, *chunk.StyleData));
            break;
        case fcColumn:
            if (!hasColumns || column < 0) break;
            columnStart += Columns->Items(column).ColumnWidth();
            x = columnStart;
            if (++column < Columns->Count()) SetFontStyle(ACanvas, Columns->Items(column).FontStyle());
            else column = -1;
            break;
        case fcHSpace:
            x += chunk.Data;
            passedRight = x > Rect.Right;
            break;
        case fcImage:
            NibAssert(Images != nullptr, Unit, __LINE__);
            // Measuring leaves the canvas as it is.
            if (!OnlyCalcWidth)
                Images->Draw(ACanvas, int(std::clamp<std::int64_t>(x, INT_MIN, INT_MAX)), Rect.Top, int(chunk.Data));
            x += Images->Width();
            passedRight = x > Rect.Right;
            break;
        }
        if (passedRight) break;
    }
    ACanvas.SetFont(savedFont);
    ACanvas.SetBrushStyle(TBrushStyle::bsSolid);
    return int(std::clamp<std::int64_t>(x, INT_MIN, INT_MAX));
}

void FormattedTextDraw(Canvas& ACanvas, const TRect& Rect, std::u16string_view Text, bool Selected,
                       const TProposalColumns* Columns, const TCustomImageList* Images)
{
    TFormatChunkList chunks;
    FormattedTextParse(Text, chunks, Selected ? TFormatCommands{fcColor} : TFormatCommands{});
    FormattedTextPaint(ACanvas, Rect, chunks, false, Images, Columns);
}

int FormattedTextWidth(Canvas& ACanvas, std::u16string_view Text, const TProposalColumns* Columns,
                       const TCustomImageList* Images)
{
    TFormatChunkList chunks;
    FormattedTextParse(Text, chunks, {fcColor});
    return FormattedTextPaint(ACanvas, {0, 0, INT_MAX, INT_MAX}, chunks, true, Images, Columns);
}

UnicodeString FormattedTextToPlain(std::u16string_view Text)
{
    TFormatChunkList chunks;
    FormattedTextParse(Text, chunks, {fcColor, fcStyle, fcColumn, fcHSpace, fcImage});
    UnicodeString plain;
    for (int i = 0; i < chunks.Count(); ++i) plain += chunks[i].Str;
    return plain;
}

UnicodeString FormatParameterList(std::u16string_view Text, int HighlightIndex)
{
    TStringList parameters;
    parameters.SetCommaText(Text);
    UnicodeString result;
    for (int i = 0; i < parameters.Count(); ++i) {
        if (i > 0) result += u' ';
        if (i == HighlightIndex) result += u"\\style{~B}" + parameters[i] + u"\\style{~B}";
        else result += parameters[i];
    }
    return result;
}
