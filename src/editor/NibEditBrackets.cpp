#include "editor/NibEditBrackets.h"

#include <string_view>

namespace {

constexpr std::u16string_view Brackets = u"()[]{}<>";

// Roles of the highlighter's default attributes whose brackets do not count.
constexpr int CommentRole = 0;
constexpr int StringRole = 3;

}  // namespace

bool GetHighlighterAttriAtRowColEx(const TNibEditStringList& Lines, TNibCustomHighlighter* Highlighter,
                                   const TBufferCoord& XY, UnicodeString& Token, int& TokenType, int& Start,
                                   TNibHighlighterAttributes*& Attri)
{
    Token.clear();
    Attri = nullptr;
    if (!Highlighter || XY.Line < 1 || XY.Line > Lines.Count()) return false;
    if (XY.Line == 1)
        Highlighter->ResetRange();
    else
        Highlighter->SetRange(Lines.GetRange(XY.Line - 2));
    const UnicodeString& line = Lines[XY.Line - 1];
    Highlighter->SetLine(line, XY.Line - 1);
    if (XY.Char >= 1 && XY.Char <= int(line.size())) {
        while (!Highlighter->GetEol()) {
            Start = Highlighter->GetTokenPos() + 1;
            Token = Highlighter->GetToken();
            if (Start <= XY.Char && XY.Char < Start + int(Token.size())) {
                Attri = Highlighter->GetTokenAttribute();
                TokenType = Highlighter->GetTokenKind();
                return true;
            }
            Highlighter->Next();
        }
    }
    Token.clear();
    return false;
}

bool GetHighlighterAttriAtRowCol(const TNibEditStringList& Lines, TNibCustomHighlighter* Highlighter,
                                 const TBufferCoord& XY, UnicodeString& Token, TNibHighlighterAttributes*& Attri)
{
    int tokenType = 0, start = 0;
    return GetHighlighterAttriAtRowColEx(Lines, Highlighter, XY, Token, tokenType, start, Attri);
}

TBufferCoord GetMatchingBracketEx(const TNibEditStringList& Lines, TNibCustomHighlighter* Highlighter,
                                  const TBufferCoord& APoint)
{
    const TBufferCoord none{0, 0};
    if (APoint.Line < 1 || APoint.Line > Lines.Count()) return none;
    const UnicodeString& start = Lines[APoint.Line - 1];
    if (APoint.Char < 1 || APoint.Char > int(start.size())) return none;
    const char16_t bracket = start[std::size_t(APoint.Char - 1)];
    const std::size_t at = Brackets.find(bracket);
    if (at == std::u16string_view::npos) return none;
    const bool opening = at % 2 == 0;
    const char16_t partner = Brackets[opening ? at + 1 : at - 1];

    // A bracket inside a string or comment token does not count.
    const auto counts = [&](const TBufferCoord& p) {
        UnicodeString token;
        TNibHighlighterAttributes* attri = nullptr;
        if (!GetHighlighterAttriAtRowCol(Lines, Highlighter, p, token, attri) || !attri) return true;
        return attri != Highlighter->GetDefaultAttribute(StringRole) &&
               attri != Highlighter->GetDefaultAttribute(CommentRole);
    };
    int depth = 1;
    const auto weigh = [&](const UnicodeString& line, int lineNo, int chr) {
        const char16_t c = line[std::size_t(chr - 1)];
        if ((c != bracket && c != partner) || !counts({chr, lineNo})) return false;
        depth += c == bracket ? 1 : -1;
        return depth == 0;
    };

    if (opening) {
        for (int lineNo = APoint.Line, from = APoint.Char + 1; lineNo <= Lines.Count(); ++lineNo, from = 1) {
            const UnicodeString& line = Lines[lineNo - 1];
            for (int chr = from; chr <= int(line.size()); ++chr)
                if (weigh(line, lineNo, chr)) return {chr, lineNo};
        }
    } else {
        for (int lineNo = APoint.Line, from = APoint.Char - 1; lineNo >= 1;) {
            const UnicodeString& line = Lines[lineNo - 1];
            for (int chr = from; chr >= 1; --chr)
                if (weigh(line, lineNo, chr)) return {chr, lineNo};
            if (--lineNo >= 1) from = Lines.LineCharLength(lineNo - 1);
        }
    }
    return none;
}

TBufferCoord FindMatchingBracket(const TNibEditStringList& Lines, TNibCustomHighlighter* Highlighter,
                                 const TBufferCoord& Caret)
{
    const TBufferCoord partner = GetMatchingBracketEx(Lines, Highlighter, Caret);
    return partner == TBufferCoord{0, 0} ? Caret : partner;
}
