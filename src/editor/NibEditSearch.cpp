#include "editor/NibEditSearch.h"

#include <algorithm>
#include "editor/NibEditMiscProcs.h"
#include "editor/NibUnicode.h"

TNibEditSearch::TNibEditSearch() : Shift(65536, 0) {}

// The new pattern is compared with the one as written, so that the same word in other case takes
// effect.
void TNibEditSearch::SetPattern(const UnicodeString& Value)
{
    if (Value != CasedPat) {
        CasedPat = Value;
        Pat = fCaseSensitive ? Value : LowerCaseWide(Value);
        fShiftInitialized = false;
    }
    fCount = 0;
}

void TNibEditSearch::SetCaseSensitive(bool Value)
{
    if (fCaseSensitive == Value) return;
    fCaseSensitive = Value;
    Pat = fCaseSensitive ? CasedPat : LowerCaseWide(CasedPat);
    fShiftInitialized = false;
}

void TNibEditSearch::SetOptions(TNibSearchOptions Value)
{
    SetCaseSensitive(Value.Contains(ssoMatchCase));
    fWhole = Value.Contains(ssoWholeWord);
}

int TNibEditSearch::ResultPosition(int Index) const
{
    if (Index < 0 || Index >= ResultCount()) return 0;
    return fResults[std::size_t(Index)];
}

UnicodeString TNibEditSearch::Replace(const UnicodeString&, const UnicodeString& aReplacement) { return aReplacement; }

int TNibEditSearch::FindAll(const UnicodeString& NewText)
{
    fResults.clear();
    for (int found = FindFirst(NewText); found > 0; found = Next()) fResults.push_back(found);
    return ResultCount();
}

void TNibEditSearch::InitShiftTable()
{
    PatLen = int(Pat.size());
    if (PatLen == 0) throw ENibError("Pattern is empty");
    PatLenSucc = PatLen + 1;
    Look_At = 1;
    std::fill(Shift.begin(), Shift.end(), PatLenSucc);
    for (int i = 1; i <= PatLen; ++i) Shift[Pat[std::size_t(i - 1)]] = PatLenSucc - i;
    const char16_t last = Pat[std::size_t(PatLen - 1)];
    while (Look_At < PatLen && Pat[std::size_t(PatLen - 1 - Look_At)] != last) ++Look_At;
    fShiftInitialized = true;
}

int TNibEditSearch::FindFirst(const UnicodeString& NewText)
{
    if (!fShiftInitialized) InitShiftTable();
    fTextLen = int(NewText.size());
    if (fTextLen < PatLen) return 0;
    FTextToSearch.assign(NewText);
    if (!fCaseSensitive) CharLowerBufferWide(FTextToSearch.data(), fTextLen);
    Run = -1;
    return Next();
}

bool TNibEditSearch::IsWholeWord() const
{
    const int start = Run - PatLen + 1;
    if (start > 0 && !IsDefaultWordBreakChar(FTextToSearch[std::size_t(start - 1)])) return false;
    // At the end of the text the terminating zero follows, which is a delimiter.
    return IsDefaultWordBreakChar(FTextToSearch.c_str()[Run + 1]);
}

int TNibEditSearch::Next()
{
    // Indexes into the text; the character at fTextLen is the string's terminating zero.
    const char16_t* text = FTextToSearch.c_str();
    const char16_t* pat = Pat.c_str();
    const char16_t last = pat[PatLen - 1];
    Run += PatLen;
    while (Run < fTextLen) {
        if (text[Run] != last) {
            Run += Shift[text[Run + 1]];
            continue;
        }
        const char16_t* window = text + Run - PatLen + 1;
        if (std::equal(pat, pat + PatLen - 1, window) && (!fWhole || IsWholeWord())) {
            ++fCount;
            return Run - PatLen + 2;
        }
        Run += Look_At;
        if (Run >= fTextLen) return 0;
        Run += Shift[text[Run]] - 1;
    }
    return 0;
}

void TNibEditSearch::FixResults(int First, int Delta)
{
    if (Delta == 0) return;
    for (std::size_t i = fResults.size(); i-- > 0 && fResults[i] > First;) fResults[i] -= Delta;
}
