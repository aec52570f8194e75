// The editor control: word positions, matching brackets and highlighter tokens, at the caret or
// at a given position.
#include "editor/NibEdit.h"
#include "editor/NibEditBrackets.h"

TBufferCoord TCustomNibEdit::NextWordPosEx(const TBufferCoord& XY) const { return ::NextWordPosEx(*fLines, *this, XY); }
TBufferCoord TCustomNibEdit::WordStartEx(const TBufferCoord& XY) const { return ::WordStartEx(*fLines, *this, XY); }
TBufferCoord TCustomNibEdit::WordEndEx(const TBufferCoord& XY) const { return ::WordEndEx(*fLines, *this, XY); }
TBufferCoord TCustomNibEdit::PrevWordPosEx(const TBufferCoord& XY) const { return ::PrevWordPosEx(*fLines, *this, XY); }

void TCustomNibEdit::FindMatchingBracket() { InternalSetCaretXY(::FindMatchingBracket(*fLines, fHighlighter, CaretXY())); }

TBufferCoord TCustomNibEdit::GetMatchingBracketEx(const TBufferCoord& APoint) const
{
    return ::GetMatchingBracketEx(*fLines, fHighlighter, APoint);
}

bool TCustomNibEdit::GetHighlighterAttriAtRowCol(const TBufferCoord& XY, UnicodeString& Token,
                                                 TNibHighlighterAttributes*& Attri) const
{
    return ::GetHighlighterAttriAtRowCol(*fLines, fHighlighter, XY, Token, Attri);
}

bool TCustomNibEdit::GetHighlighterAttriAtRowColEx(const TBufferCoord& XY, UnicodeString& Token, int& TokenType,
                                                   int& Start, TNibHighlighterAttributes*& Attri) const
{
    return ::GetHighlighterAttriAtRowColEx(*fLines, fHighlighter, XY, Token, TokenType, Start, Attri);
}
