#include "blocks/BlockLines.h"

#include <string_view>
#include <vector>

namespace {

/// The text without the blanks and control characters at its end (TrimRight without the copy,
/// which for one long line would be the size of the file).
std::u16string_view TrimmedRight(std::u16string_view S)
{
    std::size_t end = S.size();
    while (end > 0 && S[end - 1] <= u' ') --end;
    return S.substr(0, end);
}

/// SplitBlockLine on a view: returns the head and leaves Rest on what follows it, so that a long
/// line is cut into pieces without copying its rest for each piece.
UnicodeString TakeHead(std::u16string_view& Rest)
{
    std::size_t blank = std::u16string_view::npos;
    if (int(Rest.size()) > BlockLineLength) blank = Rest.find_last_of(u' ', BlockLineLength - 1);
    if (blank == std::u16string_view::npos) {
        UnicodeString head(Rest);
        Rest = {};
        return head;
    }
    UnicodeString head(TrimmedRight(Rest.substr(0, blank + 1)));
    Rest.remove_prefix(blank + 1);
    return head;
}

/// A line of the wrapped list with the object it carries.
struct WrappedLine {
    UnicodeString Text;
    TObject* Object = nullptr;
};

/// Appends the pieces of one right-trimmed over-long line; the first keeps the line's object.
void AppendPieces(std::u16string_view Rest, TObject* Object, std::vector<WrappedLine>& Out)
{
    while (int(Rest.size()) > BlockLineLength) {
        Out.push_back({TakeHead(Rest), Object});
        Object = nullptr;
    }
    Out.push_back({UnicodeString(Rest), Object});
}

}  // namespace

UnicodeString SplitBlockLine(UnicodeString& S)
{
    std::u16string_view rest = S;
    UnicodeString head = TakeHead(rest);
    S = UnicodeString(rest);
    return head;
}

void WrapBlockLines(TStringList& Lines)
{
    // The lines before the first over-long one only need trimming, in place; from that one on the
    // list is rebuilt in one pass, so that inserting pieces never moves the lines after them.
    int first = 0;
    for (; first < Lines.Count(); ++first) {
        const std::u16string_view S = TrimmedRight(Lines[first]);
        if (int(S.size()) > BlockLineLength) break;
        if (S.size() != Lines[first].size()) Lines.SetString(first, UnicodeString(S));
    }
    if (first == Lines.Count()) return;
    std::vector<WrappedLine> wrapped;
    for (int i = first; i < Lines.Count(); ++i) AppendPieces(TrimmedRight(Lines[i]), Lines.Objects(i), wrapped);
    while (Lines.Count() > first) Lines.Delete(Lines.Count() - 1);
    for (const WrappedLine& line : wrapped) Lines.Add(line.Text, line.Object);
}

bool BlockLinesFit(const TStringList& Lines)
{
    for (int i = 0; i < Lines.Count(); ++i)
        if (int(Lines[i].size()) > BlockLineLength) return false;
    return true;
}
