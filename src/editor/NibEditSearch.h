#pragma once
// The plain-text search engine: every non-overlapping match of a pattern in one line, found with a
// shift table over the whole range of UTF-16 code units.
#include <vector>
#include "editor/NibEditMiscClasses.h"

class TNibEditSearch : public TNibEditSearchCustom {
public:
    TNibEditSearch();

    /// The pattern as it was given.
    UnicodeString Pattern() const override { return CasedPat; }
    void SetPattern(const UnicodeString& Value) override;
    int ResultLength(int Index) const override { return PatLen; }
    int ResultPosition(int Index) const override;
    int ResultCount() const override { return int(fResults.size()); }
    /// Takes case sensitivity and whole words from the options; the editor handles the others.
    void SetOptions(TNibSearchOptions Value) override;
    /// An empty pattern throws ENibError "Pattern is empty".
    int FindAll(const UnicodeString& NewText) override;
    UnicodeString Replace(const UnicodeString& aOccurrence, const UnicodeString& aReplacement) override;

    bool CaseSensitive() const { return fCaseSensitive; }
    void SetCaseSensitive(bool Value);
    bool Whole() const { return fWhole; }
    /// The 1-based start of the first match, or 0.
    int FindFirst(const UnicodeString& NewText);
    /// The 1-based start of the next match after the last one, or 0.
    int Next();
    /// Moves the results after position First by -Delta, after text before them changed length.
    void FixResults(int First, int Delta);
    /// True when the scan has nothing more to look at.
    bool Finished() const { return Run >= fTextLen || PatLen >= fTextLen; }
    /// Matches found since the pattern was last set.
    int Count() const { return fCount; }

private:
    void InitShiftTable();
    /// True when the match ending at Run stands between delimiters.
    bool IsWholeWord() const;

    int Run = 0;
    UnicodeString Pat;
    UnicodeString CasedPat;
    int fCount = 0;
    int fTextLen = 0;
    int Look_At = 0;
    int PatLen = 0;
    int PatLenSucc = 0;
    std::vector<int> Shift;
    bool fCaseSensitive = false;
    bool fWhole = false;
    std::vector<int> fResults;
    bool fShiftInitialized = false;
    UnicodeString FTextToSearch;
};
