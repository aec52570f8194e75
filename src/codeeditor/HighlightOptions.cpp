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
    TStringList& keyWords = Highlighter.KeyWords();
    keyWords.Clear();
    for (int i = 0; i < KeyWords.Count(); ++i) keyWords.Add(KeyWords[i]);
    Highlighter.SetMaxNumericBase(Options.EditorMaxNumericBase);
}
