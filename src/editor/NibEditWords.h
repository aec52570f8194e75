#pragma once
// Character classes of the editor and the word positions that caret moves and selections use.
// Positions are 1-based; a position whose line is outside the text comes back unchanged.
#include "editor/NibEditHighlighter.h"
#include "editor/NibEditTextBuffer.h"
#include "editor/NibEditTypes.h"

/// Identifier, word-break and white characters: the highlighter's when one is assigned, else the
/// editor's own, widened by the additional character sets. The editor derives from this.
class TNibEditCharClasses {
public:
    virtual ~TNibEditCharClasses() = default;
    virtual bool IsIdentChar(char16_t C) const;
    virtual bool IsWhiteChar(char16_t C) const;
    virtual bool IsWordBreakChar(char16_t C) const;

    TNibCustomHighlighter* Highlighter() const { return fHighlighter; }
    void SetHighlighter(TNibCustomHighlighter* Value) { fHighlighter = Value; }
    /// The editor's own sets, used while it has no highlighter.
    TNibCharSet FAdditionalIdentChars;
    TNibCharSet FAdditionalWordBreakChars;

private:
    const TNibCharSet& AdditionalIdentChars() const;
    const TNibCharSet& AdditionalWordBreakChars() const;
    TNibCustomHighlighter* fHighlighter = nullptr;
};

/// The start of the next word: past the rest of the current word and the breaks after it; from
/// the end of a line, the first word of the next line.
TBufferCoord NextWordPosEx(const TNibEditStringList& Lines, const TNibEditCharClasses& Classes,
                           const TBufferCoord& XY);
/// The start of the word at XY.
TBufferCoord WordStartEx(const TNibEditStringList& Lines, const TNibEditCharClasses& Classes,
                         const TBufferCoord& XY);
/// The first word-break character at or after XY, or the end of the line.
TBufferCoord WordEndEx(const TNibEditStringList& Lines, const TNibEditCharClasses& Classes,
                       const TBufferCoord& XY);
/// The start of the word before XY; from the start of a line, the end of the line before.
TBufferCoord PrevWordPosEx(const TNibEditStringList& Lines, const TNibEditCharClasses& Classes,
                           const TBufferCoord& XY);
/// The identifier that holds the character at XY; empty when that character is none.
UnicodeString GetWordAtRowCol(const TNibEditStringList& Lines, const TNibEditCharClasses& Classes,
                              const TBufferCoord& XY);
