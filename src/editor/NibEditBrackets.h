#pragma once
// The highlighter's token under a position, and the bracket that matches the one at a position.
#include "editor/NibEditHighlighter.h"
#include "editor/NibEditTextBuffer.h"
#include "editor/NibEditTypes.h"

/// The token that holds the character at XY, with its kind, 1-based start and attribute. False,
/// with Token empty and Attri null, without a highlighter, outside the text or past a line's end.
bool GetHighlighterAttriAtRowColEx(const TNibEditStringList& Lines, TNibCustomHighlighter* Highlighter,
                                   const TBufferCoord& XY, UnicodeString& Token, int& TokenType, int& Start,
                                   TNibHighlighterAttributes*& Attri);
bool GetHighlighterAttriAtRowCol(const TNibEditStringList& Lines, TNibCustomHighlighter* Highlighter,
                                 const TBufferCoord& XY, UnicodeString& Token, TNibHighlighterAttributes*& Attri);

/// The partner of the bracket ("()[]{}<>") at APoint, skipping brackets inside string and comment
/// tokens; (0, 0) when APoint holds no bracket or the bracket has no partner.
TBufferCoord GetMatchingBracketEx(const TNibEditStringList& Lines, TNibCustomHighlighter* Highlighter,
                                  const TBufferCoord& APoint);
/// Where a match-bracket command puts the caret: on the partner, or where it is when there is none.
TBufferCoord FindMatchingBracket(const TNibEditStringList& Lines, TNibCustomHighlighter* Highlighter,
                                 const TBufferCoord& Caret);
