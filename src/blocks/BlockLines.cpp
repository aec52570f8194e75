#include "blocks/BlockLines.h"

UnicodeString SplitBlockLine(UnicodeString& S)
{
    UnicodeString head;
    if (int(S.size()) <= BlockLineLength) {
        head.swap(S);
        return head;
    }
    std::size_t blank = S.find_last_of(u' ', BlockLineLength - 1);
    if (blank == UnicodeString::npos) {
        head.swap(S);
        return head;
    }
    head = TrimRight(std::u16string_view(S).substr(0, blank + 1));
    S.erase(0, blank + 1);
    return head;
}

void WrapBlockLines(TStringList& Lines)
{
    // From the last line to the first, so that the lines inserted are not visited again.
    for (int i = Lines.Count() - 1; i >= 0; --i) {
        UnicodeString S = TrimRight(Lines[i]);
        // Most lines come from block records: trimming is all they need.
        if (int(S.size()) <= BlockLineLength) {
            if (S.size() != Lines[i].size()) Lines.SetString(i, S);
            continue;
        }
        int j = i;
        while (int(S.size()) > BlockLineLength) {
            Lines.SetString(j, SplitBlockLine(S));
            ++j;
            Lines.Insert(j, UnicodeString());
        }
        Lines.SetString(j, S);
    }
}

bool BlockLinesFit(const TStringList& Lines)
{
    for (int i = 0; i < Lines.Count(); ++i)
        if (int(Lines[i].size()) > BlockLineLength) return false;
    return true;
}
