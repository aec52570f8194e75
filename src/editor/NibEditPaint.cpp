// The editor control: painting of the text lines. Each line is expanded (tabs, then wide glyphs),
// cut into highlighter tokens, neighbouring tokens that look the same are merged into one run, and
// each run is drawn with one text output in its normal or selection colours.
#include <algorithm>

#include "editor/NibEdit.h"
#include "editor/NibEditMiscProcs.h"

namespace {

constexpr TFontStyles Underline = TFontStyles(TFontStyle::fsUnderline);

TRect Intersect(const TRect& a, const TRect& b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

/// True when every character up to the first NUL is a space (an empty text counts).
bool AllSpaces(std::u16string_view Token)
{
    for (char16_t c : Token) {
        if (c == 0) break;
        if (c != u' ') return false;
    }
    return true;
}

} // namespace

/// One pass over the text area: the state the steps of painting share.
class TNibTextLinePainter {
public:
    TNibTextLinePainter(TCustomNibEdit& AEdit, Canvas& ACanvas, int aFirstRow, int aLastRow, int FirstCol, int LastCol)
        : fEdit(AEdit), fCanvas(ACanvas), fDrawer(*AEdit.fTextDrawer), fHighlighter(AEdit.fHighlighter),
          fFirstRow(aFirstRow), fLastRow(aLastRow), fFirstCol(FirstCol), fLastCol(LastCol),
          fCharWidth(AEdit.fCharWidth), fTextHeight(AEdit.fTextHeight),
          fShowSpecChar(AEdit.fOptions.Contains(eoShowSpecialChars))
    {
    }

    void Paint(TRect AClip);

private:
    /// The merge buffer: one run of neighbouring tokens that look the same.
    struct TTokenAccu {
        int Len = 0;
        int CharsBefore = 0;
        UnicodeString s;
        TColor FG = clNone;
        TColor BG = clNone;
        TFontStyles Style = 0;
    };

    int ColumnX(int Column) const { return fEdit.fTextOffset + (Column - 1) * fCharWidth; }
    bool Highlighted() const { return fHighlighter && fHighlighter->Enabled(); }
    /// The caret line's colour, else the highlighter's whitespace background, else the control's colour.
    TColor EditorBackground() const;
    void ComputeSelection(int vFirstLine, int vLastLine);
    /// The display ends of the chars that a column block holds on one line.
    void ComputeColumnBlockLine(int nLine);
    void PaintLines(const TRect& AClip, int vFirstLine, int vLastLine);
    void ComputeRowSelection(int cRow);
    void PaintPlainRow(const UnicodeString& sExp, int vFirstChar, int vLastChar);
    /// Paints one row of a line; the highlighter starts on the line at its first painted row and
    /// goes on from there on the later ones.
    void PaintHighlightedRow(int nLine, const UnicodeString& sLine, const UnicodeString& sExp, int vFirstChar,
                             int vLastChar, bool FirstRow);
    void AddHighlightToken(std::u16string_view Token, int CharsBefore, int TokenLen, TColor Foreground,
                           TColor Background, TFontStyles Style);
    void PaintHighlightToken(bool FillToEOL);
    void FillRow(int Right, bool Selected, bool& Corrected);
    /// Starts the fill right of the overhang of the run's last glyph (italic).
    void EndCorrection();
    void PaintToken(std::u16string_view Token, int TokenLen, int CharsBefore, int First, int Last);
    void SetDrawingColors(bool Selected);
    void DrawRightEdge(int Top, int Bottom);

    TCustomNibEdit& fEdit;
    Canvas& fCanvas;
    TheTextDrawer& fDrawer;
    TNibCustomHighlighter* fHighlighter;
    const int fFirstRow;
    const int fLastRow;
    const int fFirstCol;
    const int fLastCol;
    const int fCharWidth;
    const int fTextHeight;
    const bool fShowSpecChar;

    bool bDoRightEdge = false;
    int nRightEdge = 0;
    bool bAnySelection = false;
    TDisplayCoord vSelStart;
    TDisplayCoord vSelEnd;
    // A column block: its lines and its display columns, word wrap aside.
    int nBlockFirstLine = 0;
    int nBlockLastLine = 0;
    TNibSpan BlockColumns;
    bool bCurrentLine = false;
    bool bSpecialLine = false;
    TColor colFG = clNone;
    TColor colBG = clNone;
    TColor colSelFG = clNone;
    TColor colSelBG = clNone;
    TRect rcLine;
    TRect rcToken;
    int nLineSelStart = 0;
    int nLineSelEnd = 0;
    bool bComplexLine = false;
    bool bLineSelected = false;
    TTokenAccu TokenAccu;
};

TColor TNibTextLinePainter::EditorBackground() const
{
    if (fEdit.fActiveLineColor != clNone && bCurrentLine) return fEdit.fActiveLineColor;
    if (fHighlighter) {
        const TNibHighlighterAttributes* whitespace = fHighlighter->GetDefaultAttribute(4);
        if (whitespace && whitespace->Background() != clNone) return whitespace->Background();
    }
    return fEdit.Color();
}

void TNibTextLinePainter::Paint(TRect AClip)
{
    const int vFirstLine = fEdit.RowToLine(fFirstRow);
    const int vLastLine = fEdit.RowToLine(fLastRow);
    const int gutterWidth = fEdit.fGutterWidth;

    if (fEdit.fRightEdge > 0) {
        nRightEdge = fEdit.fTextOffset + fEdit.fRightEdge * fCharWidth;
        if (AClip.Left <= nRightEdge && nRightEdge <= AClip.Right) {
            bDoRightEdge = true;
            fCanvas.SetPenColor(fEdit.fRightEdgeColor);
            fCanvas.SetPenWidth(1);
        }
    }

    if (AClip.Left < gutterWidth + 2) {
        if (fHighlighter) fHighlighter->ResetRange();
        fCanvas.SetBrushColor(EditorBackground());
        fCanvas.FillRect({std::max(AClip.Left, gutterWidth), AClip.Top, gutterWidth + 2, AClip.Bottom});
        AClip.Left = gutterWidth + 2;
    }

    if (vLastLine >= vFirstLine) {
        ComputeSelection(vFirstLine, vLastLine);
        fDrawer.SetStyle(fEdit.Font().Style);
        fDrawer.BeginDrawing(fCanvas);
        struct EndDrawing {
            TheTextDrawer& Drawer;
            ~EndDrawing() { Drawer.EndDrawing(); }
        } endDrawing{fDrawer};
        PaintLines(AClip, vFirstLine, vLastLine);
    }

    rcToken = AClip;
    rcToken.Top = std::max(AClip.Top, (fLastRow - fEdit.fTopLine + 1) * fTextHeight);
    if (rcToken.Top < rcToken.Bottom) {
        if (fHighlighter) fHighlighter->ResetRange();
        fCanvas.SetBrushColor(EditorBackground());
        fCanvas.FillRect(rcToken);
        if (bDoRightEdge) DrawRightEdge(rcToken.Top, rcToken.Bottom);
    }
}

void TNibTextLinePainter::DrawRightEdge(int Top, int Bottom)
{
    fCanvas.SetPenColor(fEdit.fRightEdgeColor);
    fCanvas.MoveTo(nRightEdge, Top);
    fCanvas.LineTo(nRightEdge, Bottom + 1);
}

void TNibTextLinePainter::ComputeSelection(int vFirstLine, int vLastLine)
{
    bAnySelection = false;
    if (fEdit.fHideSelection && !fEdit.Focused()) return;
    // A column block whose ends have equal chars holds nothing, whatever their columns.
    if (!fEdit.SelAvail()) return;
    const TBufferCoord b = fEdit.BlockBegin();
    const TBufferCoord e = fEdit.BlockEnd();
    if (e.Line < vFirstLine || b.Line > vLastLine) return;
    bAnySelection = true;
    if (fEdit.fActiveSelectionMode == smColumn) {
        nBlockFirstLine = b.Line;
        nBlockLastLine = e.Line;
        BlockColumns = fEdit.ColumnBlockColumns(b, e);
        return;
    }
    vSelStart = fEdit.BufferToDisplayPos(b);
    vSelEnd = fEdit.BufferToDisplayPos(e);
}

// On each line a column block holds the chars that copy and delete take; they run from the row of
// the first to the row of the last like a normal selection, whatever rows word wrap gives them.
void TNibTextLinePainter::ComputeColumnBlockLine(int nLine)
{
    if (nLine < nBlockFirstLine || nLine > nBlockLastLine) {
        // Ends on row 0: none of the line's rows lies between them.
        vSelStart = vSelEnd = {};
        return;
    }
    const TNibSpan chars = fEdit.ColumnBlockChars(nLine, BlockColumns);
    vSelStart = fEdit.BufferToDisplayPos({chars.First, nLine});
    vSelEnd = fEdit.BufferToDisplayPos({chars.Last, nLine});
}

void TNibTextLinePainter::PaintLines(const TRect& AClip, int vFirstLine, int vLastLine)
{
    rcLine = AClip;
    rcLine.Left = fEdit.fGutterWidth + 2;
    rcLine.Bottom = (fFirstRow - fEdit.fTopLine) * fTextHeight;
    if (Highlighted()) TokenAccu.s.reserve(std::size_t(std::max(128, fEdit.fCharsInWindow)));
    const bool wordWrap = fEdit.fWordWrapPlugin != nullptr;

    for (int nLine = vFirstLine; nLine <= vLastLine; ++nLine) {
        const UnicodeString sLine = fEdit.fLines->GetExpandedString(nLine - 1);
        const UnicodeString sExp = fEdit.ExpandAtWideGlyphs(sLine);

        bCurrentLine = fEdit.fCaretY == nLine;
        colFG = fEdit.Font().Color;
        colBG = EditorBackground();
        bSpecialLine = fEdit.DoOnSpecialLineColors(nLine, colFG, colBG);
        if (bSpecialLine) {
            colSelFG = colBG;
            colSelBG = colFG;
        } else {
            colSelFG = fEdit.fSelectedColor->Foreground();
            colSelBG = fEdit.fSelectedColor->Background();
        }

        if (bAnySelection && fEdit.fActiveSelectionMode == smColumn) ComputeColumnBlockLine(nLine);

        const int firstRow = std::max(fEdit.LineToRow(nLine), fFirstRow);
        const int lastRow = std::min(fEdit.LineToRow(nLine + 1) - 1, fLastRow);
        for (int cRow = firstRow; cRow <= lastRow; ++cRow) {
            int vFirstChar = fFirstCol;
            int vLastChar = fLastCol;
            if (wordWrap) {
                // The plug-in's positions count the cells of the expanded line, as sExp does; the
                // editor's would count chars, which a tab or wide glyph before the row sets apart.
                INibEditBufferPlugin& wrap = *fEdit.fWordWrapPlugin;
                vFirstChar = wrap.DisplayToBufferPos({Highlighted() ? fFirstCol : 1, cRow}).Char;
                vLastChar = wrap.DisplayToBufferPos({fLastCol, cRow}).Char;
            }
            ComputeRowSelection(cRow);
            rcLine.Top = rcLine.Bottom;
            rcLine.Bottom += fTextHeight;
            bLineSelected = !bComplexLine && nLineSelStart > 0;
            rcToken = rcLine;
            if (Highlighted()) PaintHighlightedRow(nLine, sLine, sExp, vFirstChar, vLastChar, cRow == firstRow);
            else PaintPlainRow(sExp, vFirstChar, vLastChar);
            if (bDoRightEdge) DrawRightEdge(rcLine.Top, rcLine.Bottom);
        }
        bCurrentLine = false;
    }
}

void TNibTextLinePainter::ComputeRowSelection(int cRow)
{
    bComplexLine = false;
    nLineSelStart = 0;
    nLineSelEnd = 0;
    if (!bAnySelection || cRow < vSelStart.Row || cRow > vSelEnd.Row) return;
    nLineSelStart = fFirstCol;
    nLineSelEnd = fLastCol + 1;
    const TNibSelectionMode mode = fEdit.fActiveSelectionMode;
    if (mode == smLine) return;
    if (cRow == vSelStart.Row) {
        if (vSelStart.Column > fLastCol) {
            nLineSelStart = 0;
            nLineSelEnd = 0;
        } else if (vSelStart.Column > fFirstCol) {
            nLineSelStart = vSelStart.Column;
            bComplexLine = true;
        }
    }
    // A column block's row that word wrap ends before the block's last char is selected up to the
    // row's last char only: the cells after it hold no char.
    int endColumn = fLastCol + 1;
    if (cRow == vSelEnd.Row) endColumn = vSelEnd.Column;
    else if (mode == smColumn) endColumn = fEdit.fWordWrapPlugin->GetRowLength(cRow) + 1;
    if (endColumn < fFirstCol) {
        nLineSelStart = 0;
        nLineSelEnd = 0;
    } else if (endColumn < fLastCol) {
        nLineSelEnd = endColumn;
        bComplexLine = true;
    }
}

void TNibTextLinePainter::PaintPlainRow(const UnicodeString& sExp, int vFirstChar, int vLastChar)
{
    UnicodeString sToken;
    if (vFirstChar != fFirstCol || vLastChar != fLastCol) {
        if (vFirstChar >= 1 && std::size_t(vFirstChar) <= sExp.size())
            sToken = sExp.substr(std::size_t(vFirstChar - 1), std::size_t(std::max(vLastChar - vFirstChar, 0)));
    } else {
        sToken = sExp.substr(0, std::size_t(std::max(vLastChar, 0)));
    }
    if (fShowSpecChar && int(sExp.size()) < vLastChar) sToken += TCustomNibEdit::LineEndGlyph;
    const int len = int(sToken.size());

    if (bComplexLine) {
        SetDrawingColors(false);
        rcToken.Left = std::max(rcLine.Left, ColumnX(fFirstCol));
        rcToken.Right = std::min(rcLine.Right, ColumnX(nLineSelStart));
        PaintToken(sToken, len, 0, fFirstCol, nLineSelStart);
        rcToken.Left = std::max(rcLine.Left, ColumnX(nLineSelEnd));
        rcToken.Right = std::min(rcLine.Right, ColumnX(fLastCol));
        PaintToken(sToken, len, 0, nLineSelEnd, fLastCol);
        SetDrawingColors(true);
        rcToken.Left = std::max(rcLine.Left, ColumnX(nLineSelStart));
        rcToken.Right = std::min(rcLine.Right, ColumnX(nLineSelEnd));
        PaintToken(sToken, len, 0, nLineSelStart, nLineSelEnd - 1);
    } else {
        SetDrawingColors(bLineSelected);
        PaintToken(sToken, len, 0, fFirstCol, fLastCol);
    }
}

void TNibTextLinePainter::PaintHighlightedRow(int nLine, const UnicodeString& sLine, const UnicodeString& sExp,
                                              int vFirstChar, int vLastChar, bool FirstRow)
{
    TNibCustomHighlighter& h = *fHighlighter;
    if (FirstRow) {
        if (nLine == 1) h.ResetRange();
        else h.SetRange(fEdit.fLines->GetRange(nLine - 2));
        h.SetLineExpandedAtWideGlyphs(sLine, sExp, nLine - 1);
    }
    TokenAccu.Len = 0;
    int pos = 0;
    int len = 0;
    TNibHighlighterAttributes* attr = nullptr;
    // Under word wrap vLastChar lies one past the row: the character there starts the next row.
    const int lastChar = fEdit.fWordWrapPlugin ? vLastChar - 1 : vLastChar;
    while (!h.GetEol()) {
        pos = h.GetExpandedTokenPos();
        std::u16string_view sToken = h.ExpandedTokenText();
        len = int(sToken.size());
        bool goesOn = false;
        if (pos + len >= vFirstChar) {
            if (pos + len > lastChar) {
                if (pos > lastChar) break;
                len = lastChar - pos;
                // Under word wrap the rest of the token opens the next row: the scan stays on it.
                goesOn = fEdit.fWordWrapPlugin != nullptr;
            }
            pos -= vFirstChar - fFirstCol;
            if (fEdit.fWordWrapPlugin && pos < fFirstCol - 1) {
                // The part of a token that lies before the row is not shown on it.
                const int before = std::min(fFirstCol - 1 - pos, len);
                sToken.remove_prefix(std::size_t(before));
                pos += before;
                len -= before;
            }
            attr = h.GetTokenAttribute();
            if (attr) AddHighlightToken(sToken, pos, len, attr->Foreground(), attr->Background(), attr->Style());
            else AddHighlightToken(sToken, pos, len, colFG, colBG, fEdit.Font().Style);
        }
        if (goesOn) break;
        h.Next();
    }
    if (fShowSpecChar && h.GetEol()) {
        // The mark of a line that ends inside a comment belongs to the comment.
        TNibHighlighterAttributes* comment = h.GetDefaultAttribute(0);
        const TNibHighlighterAttributes* eolAttr = attr && attr == comment ? attr : h.GetDefaultAttribute(4);
        const char16_t glyph[1] = {TCustomNibEdit::LineEndGlyph};
        if (eolAttr) AddHighlightToken({glyph, 1}, pos + len, 1, eolAttr->Foreground(), eolAttr->Background(), 0);
        else AddHighlightToken({glyph, 1}, pos + len, 1, colFG, colBG, 0);
    }
    PaintHighlightToken(true);
}

void TNibTextLinePainter::AddHighlightToken(std::u16string_view Token, int CharsBefore, int TokenLen,
                                            TColor Foreground, TColor Background, TFontStyles Style)
{
    TokenLen = std::clamp(TokenLen, 0, int(Token.size()));
    if (Background == clNone || (fEdit.fActiveLineColor != clNone && bCurrentLine)) Background = EditorBackground();
    if (Foreground == clNone) Foreground = fEdit.Font().Color;

    if (TokenAccu.Len > 0) {
        const std::u16string_view token = Token.substr(0, std::size_t(TokenLen));
        int spaces = -1;  // evaluated once, when first needed
        const auto allSpaces = [&] {
            if (spaces < 0) spaces = AllSpaces(token) ? 1 : 0;
            return spaces == 1;
        };
        const bool sameStyle =
            Style == TokenAccu.Style || (!(Style & Underline) && !(TokenAccu.Style & Underline) && allSpaces());
        const bool sameColors =
            (bSpecialLine && !fEdit.fOptions.Contains(eoSpecialLineDefaultFg)) || bLineSelected ||
            (Background == TokenAccu.BG && (Foreground == TokenAccu.FG || allSpaces()));
        if (sameStyle && sameColors) {
            TokenAccu.s.append(token);
            TokenAccu.Len += TokenLen;
            return;
        }
        PaintHighlightToken(false);
    }
    TokenAccu.s.assign(Token.substr(0, std::size_t(TokenLen)));
    TokenAccu.Len = TokenLen;
    TokenAccu.CharsBefore = CharsBefore;
    TokenAccu.FG = Foreground;
    TokenAccu.BG = Background;
    TokenAccu.Style = Style;
}

void TNibTextLinePainter::PaintHighlightToken(bool FillToEOL)
{
    const int nC1 = std::max(fFirstCol, TokenAccu.CharsBefore + 1);
    const int nC2 = std::min(fLastCol, TokenAccu.CharsBefore + TokenAccu.Len + 1);
    bool bU1 = false, bSel, bU2 = false, bSplit = false;
    if (bComplexLine) {
        bU1 = nC1 < nLineSelStart;
        bSel = nC1 < nLineSelEnd && nC2 >= nLineSelStart;
        bU2 = nC2 >= nLineSelEnd;
        bSplit = bSel && (bU1 || bU2);
    } else {
        bSel = bLineSelected;
    }

    if (TokenAccu.Len > 0) {
        if (!bSpecialLine) {
            colBG = TokenAccu.BG;
            colFG = TokenAccu.FG;
        }
        if (bSpecialLine && fEdit.fOptions.Contains(eoSpecialLineDefaultFg)) colFG = TokenAccu.FG;
        if (fDrawer.Style() != TokenAccu.Style) fDrawer.SetStyle(TokenAccu.Style);
        const std::u16string_view s(TokenAccu.s.data(), std::size_t(TokenAccu.Len));
        if (bSplit) {
            if (bU1) {
                SetDrawingColors(false);
                rcToken.Right = ColumnX(nLineSelStart);
                PaintToken(s, TokenAccu.Len, TokenAccu.CharsBefore, nC1, nLineSelStart);
            }
            SetDrawingColors(true);
            rcToken.Right = ColumnX(std::min(nLineSelEnd, nC2));
            PaintToken(s, TokenAccu.Len, TokenAccu.CharsBefore, std::max(nLineSelStart, nC1), std::min(nLineSelEnd, nC2));
            if (bU2) {
                SetDrawingColors(false);
                rcToken.Right = ColumnX(nC2);
                PaintToken(s, TokenAccu.Len, TokenAccu.CharsBefore, nLineSelEnd, nC2);
            }
        } else {
            SetDrawingColors(bSel);
            rcToken.Right = ColumnX(nC2);
            PaintToken(s, TokenAccu.Len, TokenAccu.CharsBefore, nC1, nC2);
        }
    }

    if (FillToEOL && rcToken.Left < rcLine.Right) {
        if (!bSpecialLine) colBG = EditorBackground();
        bool corrected = false;
        if (bComplexLine) {
            const int nX1 = ColumnX(nLineSelStart);
            const int nX2 = ColumnX(nLineSelEnd);
            if (rcToken.Left < nX1) FillRow(nX1, false, corrected);
            if (rcToken.Left < nX2) FillRow(nX2, true, corrected);
            if (rcToken.Left < rcLine.Right) FillRow(rcLine.Right, false, corrected);
        } else {
            FillRow(rcLine.Right, bLineSelected, corrected);
        }
    }
}

// The overhang of the run's last glyph is corrected once: it borders only the first fill.
void TNibTextLinePainter::FillRow(int Right, bool Selected, bool& Corrected)
{
    SetDrawingColors(Selected);
    if (!Corrected && TokenAccu.Len > 0 && TokenAccu.Style != 0) EndCorrection();
    Corrected = true;
    rcToken.Right = Right;
    if (rcToken.Left < rcToken.Right) fCanvas.FillRect(rcToken);
    rcToken.Left = std::max(rcToken.Left, Right);
}

void TNibTextLinePainter::EndCorrection()
{
    const char16_t c = TokenAccu.s[std::size_t(TokenAccu.Len - 1)];
    const char16_t text[1] = {c};
    const int normal = fDrawer.TextWidth({text, 1});
    const TABC abc = fCanvas.CharABCWidths(c);
    const int real = abc.A + abc.B + (abc.C >= 0 ? abc.C : 0);
    if (real > normal) rcToken.Left += real - normal;
}

void TNibTextLinePainter::SetDrawingColors(bool Selected)
{
    const TColor bg = Selected ? colSelBG : colBG;
    fDrawer.SetBackColor(bg);
    fDrawer.SetForeColor(Selected ? colSelFG : colFG);
    fCanvas.SetBrushColor(bg);
}

void TNibTextLinePainter::PaintToken(std::u16string_view Token, int TokenLen, int CharsBefore, int First, int Last)
{
    TokenLen = std::min(TokenLen, int(Token.size()));
    UnicodeString shown(Token.substr(0, std::size_t(TokenLen)));
    bool doTabs = false;
    for (int k = Last - CharsBefore; k >= First - CharsBefore; --k) {
        if (k < 1 || k > TokenLen) continue;
        char16_t& c = shown[std::size_t(k - 1)];
        if (fShowSpecChar && c == u' ') {
            c = TCustomNibEdit::SpaceGlyph;
        } else if (c == u'\t') {
            c = u' ';
            if (fShowSpecChar) doTabs = true;
        }
    }

    if (Last >= First && rcToken.Right > rcToken.Left) {
        int nX = ColumnX(First);
        First -= CharsBefore;
        Last -= CharsBefore;
        UnicodeString text;
        if (First <= TokenLen) {
            const int start = std::max(First, 1);
            int fillers = 0;
            while (start + fillers <= TokenLen && shown[std::size_t(start + fillers - 1)] == NibWideGlyphFiller) ++fillers;
            if (start + fillers <= TokenLen) {
                // A glyph whose first cells lie left of First starts where those cells would be.
                const int cells = fEdit.CharCells(shown[std::size_t(start + fillers - 1)]);
                nX -= fCharWidth * std::max(cells - fillers - 1, 0);
            }
            int count = std::min(Last - start + 1, TokenLen - start + 1);
            if (fEdit.fWordWrapPlugin) {
                while (count > 0 && nX + fCharWidth * count > fEdit.ClientWidth()) {
                    --count;
                    while (count > 0 && shown[std::size_t(start + count - 2)] == NibWideGlyphFiller) --count;
                }
            }
            for (int i = start; i < start + count; ++i)
                if (shown[std::size_t(i - 1)] != NibWideGlyphFiller) text += shown[std::size_t(i - 1)];
        }
        fDrawer.ExtTextOut(nX, rcToken.Top, tooOpaque | tooClipped, rcToken, text);

        if (doTabs) {
            // Each tab's cells get one arrow in their middle; the copy is read before the tabs
            // became spaces.
            UnicodeString tabs(Token.substr(0, std::size_t(TokenLen)));
            for (int t = 1; t < First && t <= TokenLen; ++t)
                if (tabs[std::size_t(t - 1)] == u'\t') tabs[std::size_t(t - 1)] = u' ';
            const int tabWidth = std::max(fEdit.fTabWidth, 1);
            const char16_t arrow[1] = {TCustomNibEdit::TabGlyph};
            for (int t = std::max(First, 1); t <= Last && t <= TokenLen; ++t) {
                if (tabs[std::size_t(t - 1)] != u'\t') continue;
                int L = 1;
                while ((t + CharsBefore + L - 1) % tabWidth != 0) ++L;
                int x = ColumnX(CharsBefore + t + L / 2 - 1) + (L % 2 == 0 ? fCharWidth / 2 : fCharWidth);
                const TRect r{x, rcToken.Top, x + fDrawer.GetCharWidth(), rcToken.Bottom};
                fDrawer.ExtTextOut(x, rcToken.Top, tooOpaque | tooClipped, r, {arrow, 1});
                for (int k = t; k < t + L && k <= TokenLen; ++k) tabs[std::size_t(k - 1)] = u' ';
            }
        }
    }
    rcToken.Left = rcToken.Right;
}

// --- The control's side -------------------------------------------------------------------------

void TCustomNibEdit::Paint(Canvas& ACanvas)
{
    const TRect rcClip = Intersect(ACanvas.ClipBox(), ClientRect());
    if (rcClip.IsEmpty()) return;
    if (fCharWidth <= 0 || fTextHeight <= 0) {
        // A font without a cell leaves nothing to lay out: show the background only.
        ACanvas.SetBrushColor(Color());
        ACanvas.FillRect(rcClip);
        return;
    }
    int nC1 = fLeftChar;
    if (rcClip.Left > fGutterWidth + 2) nC1 += (rcClip.Left - fGutterWidth - 2) / fCharWidth;
    const int nC2 = fLeftChar + (rcClip.Right - fGutterWidth - 2 + fCharWidth - 1) / fCharWidth;
    const int nL1 = std::max(fTopLine + rcClip.Top / fTextHeight, fTopLine);
    const int nL2 = ClampInt(fTopLine + (rcClip.Bottom + fTextHeight - 1) / fTextHeight, 1, DisplayLineCount());

    // The host draws the caret over what was painted, so it needs no hiding here.
    struct PlaceCaret {
        TCustomNibEdit& Edit;
        ~PlaceCaret() { Edit.UpdateCaret(); }
    } placeCaret{*this};
    if (rcClip.Left < fGutterWidth) PaintGutter(ACanvas, {rcClip.Left, rcClip.Top, fGutterWidth, rcClip.Bottom}, nL1, nL2);
    if (rcClip.Right > fGutterWidth) {
        TRect text = rcClip;
        text.Left = std::max(text.Left, fGutterWidth);
        PaintTextLines(ACanvas, text, nL1, nL2, nC1, nC2);
    }
    DoOnPaint(ACanvas);
    if (fPaintTransientLock == 0) PaintTransient(ttAfter, &ACanvas);
}

void TCustomNibEdit::PaintTextLines(Canvas& ACanvas, TRect AClip, int aFirstRow, int aLastRow, int FirstCol,
                                    int LastCol)
{
    TNibTextLinePainter(*this, ACanvas, aFirstRow, aLastRow, FirstCol, LastCol).Paint(AClip);
}

bool TCustomNibEdit::DoOnSpecialLineColors(int Line, TColor& Foreground, TColor& Background)
{
    bool special = false;
    if (OnSpecialLineColors) OnSpecialLineColors(this, Line, special, Foreground, Background);
    return special;
}

void TCustomNibEdit::DoOnPaint(Canvas& ACanvas)
{
    if (!OnPaint) return;
    ACanvas.SetFont(Font());
    ACanvas.SetBrushColor(Color());
    OnPaint(this, ACanvas);
}
