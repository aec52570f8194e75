// The editor control: the hint beside the vertical scroll bar that names the lines a dragged
// thumb brings into view.
#include <algorithm>
#include <cmath>
#include "editor/NibEdit.h"
#include "editor/NibEditStrConst.h"

namespace {

/// The format with its "%d" places filled in order.
UnicodeString FormatLines(std::u16string_view format, std::initializer_list<int> values)
{
    UnicodeString text(format);
    for (int value : values) {
        const std::size_t at = text.find(u"%d");
        if (at == UnicodeString::npos) break;
        text.replace(at, 2, IntToStr(value));
    }
    return text;
}

/// The widest a hint may be before its text breaks.
constexpr int kHintMaxWidth = 200;

} // namespace

void TCustomNibEdit::ShowScrollHint(int trackPos)
{
    if (!Host()) return;
    const UnicodeString text =
        fScrollHintFormat == shfTopToBottom
            ? FormatLines(SNibScrollInfoFmt,
                          {RowToLine(fTopLine),
                           RowToLine(fTopLine + std::min(fLinesInWindow, DisplayLineCount() - fTopLine))})
            : FormatLines(SNibScrollInfoFmtTop, {RowToLine(fTopLine)});
    const TSize size = Host()->HintSize(text, kHintMaxWidth);
    const int left = ClientWidth() - size.cx - 4;
    int top = 10;
    if (fOptions.Contains(eoScrollHintFollows)) {
        // Beside the thumb: its share of the bar's travel between the two arrows.
        const int barMax = std::max(1, ScrollInfo(TScrollBarKind::sbVertical).Max);
        const int travel = ClientHeight() - 2 * ScrollBarSize;
        top = int(std::lround(double(trackPos) / barMax * travel)) + ScrollBarSize + size.cy / 2;
    }
    Host()->ShowHint(text, fScrollHintColor, {left, top, left + size.cx, top + size.cy});
}
