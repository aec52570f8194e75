#pragma once
// The Forth highlighter: blank-delimited words classed as keywords, local words, numbers and
// identifiers, with comment, string and character words that colour what follows them.
#include <bitset>
#include <functional>
#include <vector>
#include "editor/NibEditHighlighter.h"
#include "platform/StringList.h"

enum TtkTokenKind : std::uint8_t { tkSymbol, tkComment, tkKey, tkIdentifier, tkNull, tkNumber, tkSpace, tkString, tkChar };

/// How many words two lists share at their start (First) and, after those, at their end (Tail).
struct TSharedEnds {
    std::size_t First = 0;
    std::size_t Tail = 0;
};

/// Called with the attribute of each token before the editor uses it; may change the attribute.
using TGetTokenAttributeEvent = std::function<void(TNibHighlighterAttributes* attribute)>;

class TNibTavloHighlighter : public TNibCustomHighlighter {
public:
    TNibTavloHighlighter();

    TNibHighlighterAttributes* GetDefaultAttribute(int Index) const override;
    bool GetEol() const override { return Run == fLineLen + 1; }
    /// The pending character word, carried from one line to the next by the editor.
    TNibRange GetRange() const override;
    void SetRange(TNibRange Value) override;
    void ResetRange() override;
    TNibHighlighterAttributes* GetTokenAttribute() const override;
    int GetTokenKind() const override { return fTokenID; }
    bool IsKeyword(const UnicodeString& AKeyword) const override;
    bool IsIdentChar(char16_t C) const override { return C > 32; }
    bool IsWordBreakChar(char16_t C) const override { return C < 33; }
    void Next() override;
    /// Looks only at the words that may open a scan state: the range is all that a line carries.
    void ScanLineRange(const UnicodeString& Line, int LineNumber) override;

    bool IsLocalword(std::u16string_view AWord) const;
    TtkTokenKind GetTokenID() const { return fTokenID; }
    /// The scanned line's character at the current token's start + Offset, a negative Offset
    /// looking before the token; 0 for a place outside the line. The two differ in their default.
    char16_t GetCharBeforeToken(int Offset = -1) const;
    char16_t GetCharAfterToken(int Offset = 1) const;
    /// An optional "-", an optional base prefix ("#", "$" or "%"), digits, at most one trailing ".".
    bool IsNumber(std::u16string_view s) const;

    static UnicodeString GetLanguageName() { return u"Forth"; }
    static UnicodeString GetFriendlyLanguageName() { return u"Tavlo"; }
    UnicodeString ClassName() const override { return u"TNibTavloHighlighter"; }

    TNibHighlighterAttributes* CommentAttri() const { return fCommentAttri; }
    TNibHighlighterAttributes* IdentifierAttri() const { return fIdentifierAttri; }
    TNibHighlighterAttributes* KeyAttri() const { return fKeyAttri; }
    TNibHighlighterAttributes* NumberAttri() const { return fNumberAttri; }
    TNibHighlighterAttributes* SpaceAttri() const { return fSpaceAttri; }
    TNibHighlighterAttributes* StringAttri() const { return fStringAttri; }
    TNibHighlighterAttributes* SymbolAttri() const { return fSymbolAttri; }

    /// The lists themselves, for filling them without the change notification; change them before
    /// the next scan, which reads them again. The next notification then has every range rescanned.
    TStringList& KeyWords();
    TStringList& LocalWords();
    const TStringList& KeyWords() const { return fKeyWords; }
    const TStringList& LocalWords() const { return fLocalWords; }
    /// Replace a list and notify the editors.
    void SetKeyWords(const TStringList* Value);
    void SetLocalWords(const TStringList* Value);
    /// Makes the local words the distinct words of Words, in any order, and notifies the editors
    /// (that ranges may have changed only when a changed word opens a scan state); when the list
    /// holds those words already, nothing happens and the result is false.
    bool ReplaceLocalWords(const std::vector<UnicodeString>& Words);
    int MaxNumericBase() const { return fMaxNumericBase; }
    /// Kept within 2..32.
    void SetMaxNumericBase(int Value);
    bool DetectPreprocessor() const { return fDetectPreprocessor; }
    void SetDetectPreprocessor(bool Value);

    TGetTokenAttributeEvent OnGetTokenAttribute;

private:
    /// The base's line-end test without the virtual call, for the inner loops.
    bool LineEndAt(int Pos) const { return TNibCustomHighlighter::AtLineEnd(Pos); }
    enum TWordRead : std::uint8_t { wrLineEnd, wrBlanks, wrWord };
    /// Moves Run past the run of blanks or the word at Run.
    TWordRead ReadWord();
    /// Sets the kind of a word and the scan state that it opens.
    void ClassifyWord(std::u16string_view word);
    /// The scan state a keyword that is not local opens (tkNull for none), and where it closes.
    static TtkTokenKind StateOpenedBy(std::u16string_view word, unsigned kinds, char16_t& end);
    /// False for a word too long for, or ending unlike, every word that may open a scan state.
    bool MayOpenState(std::u16string_view word) const
    {
        return word.size() <= fLongestOpener && word.back() < 128 && fOpenerEnds.test(word.back());
    }
    /// Makes a list the sorted, distinct words of another and notifies the editors.
    void ReplaceList(TStringList& list, const TStringList* source);
    /// Fills a list with sorted, distinct words and notifies the editors.
    void FillList(TStringList& list, const std::vector<std::u16string_view>& words, bool altersRanges);
    /// The change notification; a list handed out since the last one may have changed any range.
    void NotifyChange(bool altersRanges);
    /// Whether a word opens a scan state unless it is local: only such a word becoming or stopping
    /// being local can change the range a line ends with.
    bool OpensState(std::u16string_view word) const;
    /// The local words that go (indexes, ascending) and those that join when Words, which share
    /// `ends` with the words of the last call, replace them; false, with the results unfinished,
    /// when more than a few words differ.
    bool FewLocalChanges(const std::vector<UnicodeString>& Words, const TSharedEnds& ends, std::vector<int>& gone,
                         std::vector<std::u16string_view>& added);
    /// The lists a word is in (WordKind bits), from a table made from the four lists when stale.
    unsigned WordKinds(std::u16string_view word);
    void RefreshWordTable();
    struct WordSlot;
    /// The fresh table's slot of a word that is not empty, or the empty slot where it would go.
    WordSlot& Slot(std::u16string_view word);

    enum WordKind : unsigned { wkKey = 1, wkLocal = 2, wkComment = 4, wkString = 8 };
    struct WordSlot {
        /// Empty for an empty slot; a word that left every list keeps its slot, with no kinds.
        UnicodeString Word;
        unsigned Kinds = 0;
    };
    /// Every listed word with the lists it is in, hashed with open addressing (a power-of-two size):
    /// one short probe per scanned word.
    std::vector<WordSlot> fWordTable;
    bool fWordTableStale = true;
    std::size_t fWordTableUsed = 0;
    /// The words of the last ReplaceLocalWords, in their order, while the list holds no others.
    std::vector<UnicodeString> fLastWords;
    bool fLastWordsKnown = false;
    /// A list was handed out for changing without the notification since the last notification.
    bool fListsHandedOut = false;

    TtkTokenKind fTokenID = tkNull;
    TNibHighlighterAttributes* fCommentAttri;
    TNibHighlighterAttributes* fIdentifierAttri;
    TNibHighlighterAttributes* fKeyAttri;
    TNibHighlighterAttributes* fNumberAttri;
    TNibHighlighterAttributes* fLocalAttri;
    TNibHighlighterAttributes* fSpaceAttri;
    TNibHighlighterAttributes* fStringAttri;
    TNibHighlighterAttributes* fSymbolAttri;
    TStringList fKeyWords;
    TStringList fCommentWords;
    TStringList fStringWords;
    TStringList fLocalWords;
    bool fDetectPreprocessor = false;
    /// The last characters and the greatest length of the comment, string and character words.
    std::bitset<128> fOpenerEnds;
    std::size_t fLongestOpener = 0;
    /// Scan state: tkNull normal, tkComment or tkString after their opening word, tkChar after CHAR.
    TtkTokenKind fTokenParamType = tkNull;
    char16_t fTokenParamEnd = 0;
    int fMaxNumericBase = 16;
};
