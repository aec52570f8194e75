#include <gtest/gtest.h>

#include "editor/NibEditHighlighter.h"
#include "support/TempFolder.h"

namespace {

/// Splits a line into single characters, each a token of its own; blanks have kind 1.
class CharHighlighter : public TNibCustomHighlighter {
public:
    CharHighlighter()
    {
        fWord = AddAttribute(std::make_unique<TNibHighlighterAttributes>(u"Word", u"Word"));
        fSpace = AddAttribute(std::make_unique<TNibHighlighterAttributes>(u"Space", u"Space"));
        fAlpha = AddAttribute(std::make_unique<TNibHighlighterAttributes>(u"alpha", u"Alpha"));
        SetAttributesOnChange();
    }
    TNibHighlighterAttributes* GetDefaultAttribute(int Index) const override { return Index == 0 ? fWord : nullptr; }
    bool GetEol() const override { return Run > fLineLen; }
    TNibHighlighterAttributes* GetTokenAttribute() const override { return GetTokenKind() ? fSpace : fWord; }
    int GetTokenKind() const override { return ScannedLine().substr(std::size_t(fTokenPos), 1) == u" " ? 1 : 0; }
    void Next() override
    {
        fTokenPos = Run;
        ++Run;
        TNibCustomHighlighter::Next();
    }
    static UnicodeString GetLanguageName() { return u"Chars"; }
    static UnicodeString GetFriendlyLanguageName() { return u"One character a token"; }

    /// Duplicate names are refused.
    void AddAgain() { AddAttribute(std::make_unique<TNibHighlighterAttributes>(u"WORD", u"again")); }

    TNibHighlighterAttributes* fWord;
    TNibHighlighterAttributes* fSpace;
    TNibHighlighterAttributes* fAlpha;
};

class OtherHighlighter : public CharHighlighter {
public:
    static UnicodeString GetLanguageName() { return u"Other"; }
};

struct Editor : TObject {
    int changes = 0;
    void HighlighterChanged(TObject*) { ++changes; }
    TNibMethodChain::TMethodEvent Hook() { return TNibMethodChain::TMethodEvent::Bind<&Editor::HighlighterChanged>(this); }
};

struct Token {
    UnicodeString text;
    int pos;
    bool operator==(const Token&) const = default;
};

std::vector<Token> ExpandedTokens(CharHighlighter& h)
{
    std::vector<Token> out;
    while (!h.GetEol()) {
        out.push_back({h.GetExpandedToken(), h.GetExpandedTokenPos()});
        h.Next();
    }
    return out;
}

} // namespace

TEST(NibEditHighlighter, AttributesAreSortedByNameAndUnique)
{
    CharHighlighter h;
    ASSERT_EQ(h.AttributeCount(), 3);
    EXPECT_EQ(h.AttributeAt(0)->Name(), u"alpha");
    EXPECT_EQ(h.AttributeAt(1)->Name(), u"Space");
    EXPECT_EQ(h.AttributeAt(2)->Name(), u"Word");
    EXPECT_EQ(h.AttributeAt(-1), nullptr);
    EXPECT_EQ(h.AttributeAt(3), nullptr);
    EXPECT_THROW(h.AddAgain(), std::logic_error);
    EXPECT_EQ(h.AttributeCount(), 3);
}

TEST(NibEditHighlighter, ChangesNotifyHookedEditorsOnceAfterNestedUpdates)
{
    CharHighlighter h;
    Editor e;
    h.HookAttrChangeEvent(e.Hook());
    h.fWord->SetForeground(clBlack);
    EXPECT_EQ(e.changes, 1);
    h.fWord->SetForeground(clBlack);
    EXPECT_EQ(e.changes, 1);

    h.BeginUpdate();
    h.BeginUpdate();
    h.fWord->SetBackground(clWhite);
    h.fSpace->SetForeground(clYellow);
    h.EndUpdate();
    h.fAlpha->SetStyle(std::uint8_t(TFontStyle::fsBold));
    EXPECT_EQ(e.changes, 1);
    h.EndUpdate();
    EXPECT_EQ(e.changes, 2);

    h.BeginUpdate();
    h.fWord->SetBackground(clWhite);
    h.EndUpdate();
    EXPECT_EQ(e.changes, 2);

    h.SetEnabled(false);
    EXPECT_EQ(e.changes, 3);
    h.UnhookAttrChangeEvent(e.Hook());
    h.SetEnabled(true);
    EXPECT_EQ(e.changes, 3);
}

TEST(NibEditHighlighter, AttributeDefaultsAndAssignment)
{
    CharHighlighter h, other;
    EXPECT_EQ(h.fWord->Foreground(), clNone);
    EXPECT_FALSE(h.fWord->ForegroundIsStored());
    h.fWord->SetForeground(clNavy);
    EXPECT_TRUE(h.fWord->ForegroundIsStored());

    other.fWord->SetForeground(clYellow);
    other.fSpace->SetStyle(std::uint8_t(TFontStyle::fsItalic));
    other.SetDefaultFilter(u"Forth (*.f)|*.f");
    other.SetEnabled(false);
    h.Assign(other);
    EXPECT_EQ(h.fWord->Foreground(), clYellow);
    EXPECT_EQ(h.fSpace->Style(), std::uint8_t(TFontStyle::fsItalic));
    EXPECT_EQ(h.DefaultFilter(), u"Forth (*.f)|*.f");
    EXPECT_FALSE(h.Enabled());
}

TEST(NibEditHighlighter, FirstTokenOfALineIsReadBeforeNext)
{
    CharHighlighter h;
    h.SetLine(u"ab", 1);
    std::vector<Token> tokens;
    while (!h.GetEol()) {
        tokens.push_back({h.GetToken(), h.GetTokenPos()});
        h.Next();
    }
    EXPECT_EQ(tokens, (std::vector<Token>{{u"a", 0}, {u"b", 1}}));
}

TEST(NibEditHighlighter, ExpandedTokensTakeTheFillersOfAWideGlyph)
{
    CharHighlighter h;
    const UnicodeString filler(1, NibWideGlyphFiller);
    h.SetLineExpandedAtWideGlyphs(u"a\u4E00b", u"a" + filler + u"\u4E00b", 1);
    EXPECT_EQ(ExpandedTokens(h),
              (std::vector<Token>{{u"a", 0}, {filler + u"\u4E00", 1}, {u"b", 3}}));

    h.SetLineExpandedAtWideGlyphs(u"a\u4E00b", u"a" + filler + u"\u4E00b", 1);
    EXPECT_EQ(h.PosToExpandedPos(0), 0);
    EXPECT_EQ(h.PosToExpandedPos(1), 1);
    EXPECT_EQ(h.PosToExpandedPos(2), 3);
    EXPECT_EQ(h.PosToExpandedPos(3), 4);
    EXPECT_EQ(h.PosToExpandedPos(9), 4);

    h.SetLine(u"ab", 2);
    EXPECT_EQ(h.PosToExpandedPos(2), 2);
    EXPECT_EQ(h.GetExpandedToken(), u"a");
}

TEST(NibEditHighlighter, ScansTheLowerCasedLineAndShowsItAsWritten)
{
    CharHighlighter h;
    h.SetLine(u"Q", 1);
    EXPECT_EQ(h.GetToken(), u"Q");
    EXPECT_TRUE(h.AtLineEnd(1));
    h.SetLine(u"a\rb", 1);
    EXPECT_TRUE(h.AtLineEnd(1));
    EXPECT_FALSE(h.AtLineEnd(2));
}

TEST(NibEditHighlighter, CharacterClasses)
{
    CharHighlighter h;
    EXPECT_FALSE(h.IsWordBreakChar(u'_'));
    EXPECT_TRUE(h.IsWordBreakChar(u'@'));
    EXPECT_TRUE(h.IsWordBreakChar(u'\u00B4'));
    EXPECT_TRUE(h.IsWhiteChar(u'\u00E9'));
    EXPECT_TRUE(h.IsWhiteChar(u' '));
    EXPECT_FALSE(h.IsWhiteChar(u'x'));
    EXPECT_FALSE(h.IsWhiteChar(u'('));
}

TEST(NibEditHighlighter, RegistryFindsClassesByNameAndInstance)
{
    TNibHighlighterList list;
    list.Add(HighlighterClassOf<CharHighlighter>());
    list.Add(HighlighterClassOf<CharHighlighter>());
    list.Add(HighlighterClassOf<OtherHighlighter>());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.FindByName(u"Other"), 1);
    EXPECT_EQ(list.FindByName(u"other"), -1);
    EXPECT_EQ(list.FindByFriendlyName(u"One character a token"), 0);
    OtherHighlighter other;
    EXPECT_EQ(list.FindByClass(&other), 0);
    EXPECT_EQ(list[1].Create()->AttributeCount(), 3);
    EXPECT_EQ(TNibCustomHighlighter::GetLanguageName(), u"<Unknown>");
}

TEST(NibEditHighlighter, LoadedNotifiesOnceForEverythingSetWhileLoading)
{
    CharHighlighter h;
    Editor e;
    h.HookAttrChangeEvent(e.Hook());
    h.Loading();
    h.fWord->SetForeground(clNavy);
    h.fSpace->SetStyle(std::uint8_t(TFontStyle::fsBold));
    EXPECT_EQ(e.changes, 0);
    h.Loaded();
    EXPECT_EQ(e.changes, 1);
    EXPECT_FALSE(h.IsLoading());
}

TEST(NibEditHighlighter, AttributesSurviveAFileAndTheFileKeepsItsOtherSections)
{
    TempFolder tmp;
    tmp.Write("colours.ini", "[Other]\r\nkept=1\r\n[Word]\r\nForeground=5\r\n");
    CharHighlighter saved;
    saved.fWord->SetForeground(clNavy);
    saved.fWord->SetBackground(clNone);
    saved.fSpace->SetStyle(std::uint8_t(TFontStyle::fsBold) | std::uint8_t(TFontStyle::fsStrikeOut));
    saved.fAlpha->SetBackground(-16);  // a system colour reference
    ASSERT_TRUE(saved.SaveToFile(tmp.Name("colours.ini")));
    const std::string text = tmp.Read("colours.ini");
    EXPECT_NE(text.find("[Other]\r\nkept=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Space]\r\nBackground=536870911\r\nForeground=536870911\r\nStyle=9\r\n"),
              std::string::npos);

    CharHighlighter loaded;
    Editor e;
    loaded.HookAttrChangeEvent(e.Hook());
    ASSERT_TRUE(loaded.LoadFromFile(tmp.Name("colours.ini")));
    EXPECT_EQ(e.changes, 1);
    for (int i = 0; i < saved.AttributeCount(); ++i) {
        EXPECT_EQ(loaded.AttributeAt(i)->Foreground(), saved.AttributeAt(i)->Foreground());
        EXPECT_EQ(loaded.AttributeAt(i)->Background(), saved.AttributeAt(i)->Background());
        EXPECT_EQ(loaded.AttributeAt(i)->Style(), saved.AttributeAt(i)->Style());
    }
}

TEST(NibEditHighlighter, LoadingAFileNotifiesOnceForAChangeAndNeverForNone)
{
    TempFolder tmp;
    CharHighlighter source;
    source.fWord->SetForeground(clNavy);
    ASSERT_TRUE(source.SaveToFile(tmp.Name("navy.ini")));
    tmp.Write("other.ini", "[Other]\r\nkept=1\r\n");
    struct Case {
        const char* File;
        bool Result;
        int Changes;
    };
    const Case cases[] = {
        {"navy.ini", true, 1},      // one attribute differs
        {"other.ini", false, 0},    // no section of an attribute
        {"missing.ini", false, 0},
    };
    for (const Case& c : cases) {
        CharHighlighter h;
        Editor e;
        h.HookAttrChangeEvent(e.Hook());
        EXPECT_EQ(h.LoadFromFile(tmp.Name(c.File)), c.Result) << c.File;
        EXPECT_EQ(e.changes, c.Changes) << c.File;
        // The same file again changes nothing.
        h.LoadFromFile(tmp.Name(c.File));
        EXPECT_EQ(e.changes, c.Changes) << c.File;
    }
}

TEST(NibEditHighlighter, LoadingAFileLeavesACallersLoadingPhaseOpen)
{
    TempFolder tmp;
    CharHighlighter source;
    source.fSpace->SetBackground(clYellow);
    ASSERT_TRUE(source.SaveToFile(tmp.Name("colours.ini")));
    CharHighlighter h;
    Editor e;
    h.HookAttrChangeEvent(e.Hook());
    h.Loading();
    EXPECT_TRUE(h.LoadFromFile(tmp.Name("colours.ini")));
    EXPECT_TRUE(h.IsLoading());
    h.fWord->SetForeground(clNavy);
    EXPECT_EQ(e.changes, 0);
    h.Loaded();
    EXPECT_EQ(e.changes, 1);
    EXPECT_EQ(h.fSpace->Background(), clYellow);
}

TEST(NibEditHighlighter, AFileMissingKeysOrSectionsKeepsWhatItLacks)
{
    TempFolder tmp;
    tmp.Write("part.ini", "[word]\nStyle=2\nForeground=x\n[Space]\nBackground=7\n");
    CharHighlighter h;
    h.fWord->SetForeground(clNavy);
    h.fAlpha->SetForeground(clYellow);
    EXPECT_FALSE(h.LoadFromFile(tmp.Name("part.ini")));  // no section for "alpha"
    EXPECT_EQ(h.fWord->Style(), std::uint8_t(TFontStyle::fsItalic));
    EXPECT_EQ(h.fWord->Foreground(), clNavy);  // no number: kept
    EXPECT_EQ(h.fSpace->Background(), 7);
    EXPECT_EQ(h.fAlpha->Foreground(), clYellow);
    EXPECT_FALSE(h.IsLoading());
    EXPECT_FALSE(h.LoadFromFile(tmp.Name("missing.ini")));
    EXPECT_FALSE(h.SaveToFile(tmp.Name("no-folder/x.ini")));
}
