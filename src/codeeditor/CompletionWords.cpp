#include "codeeditor/CompletionWords.h"
#include "platform/Folders.h"

UnicodeString ForthWordsFileIn(const UnicodeString& ProgramFolder)
{
    const UnicodeString beside = ProgramFolder + u"ForthWords.txt";
    const UnicodeString installed = ProgramFolder + u"../share/tavlo-terminal/ForthWords.txt";
    return FileExists(beside) || !FileExists(installed) ? beside : installed;
}

UnicodeString ForthWordsFileName() { return ForthWordsFileIn(ProgramFolder()); }

UnicodeString EscapeCompletionText(std::u16string_view S)
{
    UnicodeString result;
    result.reserve(S.size());
    for (char16_t c : S) {
        result += c;
        if (c == u'\\') result += c;
    }
    return result;
}

UnicodeString CompletionItemText(std::u16string_view Word, std::u16string_view Description)
{
    return u" \\column{}\\style{+B}" + EscapeCompletionText(Word) + u"\\style{-B} " + EscapeCompletionText(Description);
}

bool SplitCompletionLine(std::u16string_view Line, UnicodeString& Word, UnicodeString& Description)
{
    const UnicodeString s = Trim(Line);
    if (s.empty()) return false;
    const std::size_t blank = s.find(u' ');
    if (blank == UnicodeString::npos) {
        Word = s;
        Description.clear();
    } else {
        Word = Trim(std::u16string_view(s).substr(0, blank));
        Description = Trim(std::u16string_view(s).substr(blank + 1));
    }
    return true;
}

void LoadCompletionWordFile(const UnicodeString& FileName, TStringList& InsertList, TStringList& ItemList)
{
    if (!FileExists(FileName)) return;
    TStringList lines;
    lines.SetSorted(true);
    lines.SetDuplicates(TDuplicates::dupIgnore);
    TStringList raw;
    if (!raw.LoadFromFile(FileName)) return;
    for (int i = 0; i < raw.Count(); ++i) lines.Add(raw[i]);
    UnicodeString word, description;
    for (int i = 0; i < lines.Count(); ++i) {
        if (!SplitCompletionLine(lines[i], word, description)) continue;
        InsertList.Add(word);
        ItemList.Add(CompletionItemText(word, description));
    }
}
