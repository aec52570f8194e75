#pragma once
// Painting an editor on the fixed-metrics canvas and reading back what went where.
#include <vector>

#include "editor/EditorFixture.h"
#include "highlighter/NibHighlighterTavlo.h"

class PaintTest : public EditorTest {
protected:
    // The highlighter goes before the editor that holds it.
    ~PaintTest() override { edit.SetHighlighter(nullptr); }

    static constexpr int Cell = RecordingCanvas::CharWidth;
    static constexpr int Row = RecordingCanvas::CharHeight;
    static constexpr TColor clRed = 0x0000FF;
    static constexpr TColor clGreen = 0x008000;
    static constexpr TColor clBlue = 0xFF0000;

    /// One paint of the client area, or of the part `clip` of it.
    RecordingCanvas& Paint(const TRect* clip = nullptr)
    {
        canvas = RecordingCanvas();
        if (clip) canvas.SetClipRect(*clip);
        canvas.Calls.clear();
        edit.Paint(canvas);
        return canvas;
    }
    /// The text outputs right of the gutter on screen row `row` (0-based), left to right as drawn.
    std::vector<CanvasCall> TextOuts(int row) const
    {
        std::vector<CanvasCall> result;
        for (const CanvasCall& c : canvas.Of(CanvasCall::Kind::TextOut))
            if (c.Point.Y == row * Row && c.Rect.Left >= edit.GutterWidth()) result.push_back(c);
        return result;
    }
    /// The text outputs of a row joined: what the row reads as.
    UnicodeString RowText(int row) const
    {
        UnicodeString text;
        for (const CanvasCall& c : TextOuts(row)) text += c.Text;
        return text;
    }
    /// x of a display column with LeftChar 1.
    int X(int column) const { return edit.GutterWidth() + 2 + (column - 1) * Cell; }
    /// The Forth highlighter with keywords DUP, DROP and the line comment in their own colours.
    void UseForth()
    {
        for (const char16_t* word : {u"DUP", u"DROP", u"\\"}) forth.KeyWords().Add(word);
        forth.KeyAttri()->SetForeground(clBlue);
        forth.NumberAttri()->SetForeground(clRed);
        forth.CommentAttri()->SetForeground(clGreen);
        forth.SpaceAttri()->SetForeground(clNavy);
        edit.SetHighlighter(&forth);
    }

    TNibTavloHighlighter forth;
    RecordingCanvas canvas;
};
