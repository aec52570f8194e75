#include "codeeditor/HighlightOptions.h"

namespace {

void Colour(TNibHighlighterAttributes* attribute, TColor colour)
{
    attribute->SetStyle(0);
    attribute->SetForeground(colour);
}

}  // namespace

void ApplyEditorHighlightOptions(const TConfigTermOptions& Options, const TStringList& KeyWords,
                                 TNibTavloHighlighter& Highlighter)
{
    Highlighter.SetEnabled(Options.EditorUseSyntaxHighlighting);
    Colour(Highlighter.GetDefaultAttribute(2), Options.EditorBaseWordColor);
    Colour(Highlighter.CommentAttri(), Options.EditorCommentColor);
    Colour(Highlighter.NumberAttri(), Options.EditorNumericColor);
    Colour(Highlighter.StringAttri(), Options.EditorStringColor);
    Colour(Highlighter.SymbolAttri(), Options.EditorCompiledWordColor);
    Colour(Highlighter.IdentifierAttri(), Options.EditorSymbolColor);
    Highlighter.SetMaxNumericBase(Options.EditorMaxNumericBase);
    // Through the setter, so that the editors rescan and repaint with the new words at once.
    Highlighter.SetKeyWords(&KeyWords);
}
