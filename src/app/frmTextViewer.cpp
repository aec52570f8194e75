#include "app/frmTextViewer.h"

#include <algorithm>
#include <ctime>
#include "app/ActionImages.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"

namespace {

bool IsWordChar(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

bool SameUnit(char16_t a, char16_t b, bool MatchCase) { return MatchCase ? a == b : UpCaseChar(a) == UpCaseChar(b); }

/// The current date and time in the system's own format.
UnicodeString NowText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%x %X", &local);
    return FromAnsi(std::string_view(buffer, n));
}

}  // namespace

int FindInText(std::u16string_view text, std::u16string_view Phrase, int start, bool MatchCase, bool WholeWord)
{
    if (Phrase.empty() || start < 0) return -1;
    const std::size_t n = Phrase.size();
    for (std::size_t at = std::size_t(start); at + n <= text.size(); ++at) {
        bool match = true;
        for (std::size_t i = 0; i < n && match; ++i) match = SameUnit(text[at + i], Phrase[i], MatchCase);
        if (!match) continue;
        if (WholeWord && ((at > 0 && IsWordChar(text[at - 1])) || (at + n < text.size() && IsWordChar(text[at + n]))))
            continue;
        return int(at);
    }
    return -1;
}

TTextViewer::TTextViewer(TTextViewerView& view) : fView(view)
{
    auto add = [this](const char16_t* name, const char16_t* caption, const char16_t* hint, const char16_t* shortCut,
                      TNotifyEvent execute, TNotifyEvent update) {
        TAction action;
        action.Name = name;
        action.Caption = caption;
        action.Hint = hint;
        action.ShortCut = shortCut;
        action.OnExecute = std::move(execute);
        action.OnUpdate = std::move(update);
        return &ActionList1.Add(std::move(action));
    };
    FindNextAct = add(
        u"FindNextAct", u"Find Next", u"FInd Next Match", u"F3",
        [this](TObject*) { FindPhrase(FindTextEdit, MatchCaseBtn, WholeWordBtn); },
        [this](TObject*) { FindNextAct->Enabled = !Trim(FindTextEdit).empty(); });
    SearchAct = add(u"SearchAct", u"Find", u"", u"Ctrl+F", [this](TObject*) { fView.FocusFindEdit(); }, nullptr);
    SelectAllAct = add(u"SelectAllAct", u"Select All", u"Select all text", u"Ctrl+A",
                       [this](TObject*) { SetSelection(0, int(fText.size())); }, nullptr);
    CopyToClipboardAct = add(
        u"CopyToClipboardAct", u"Copy", u"Copy to clipboard", u"Ctrl+C",
        [this](TObject*) { Clipboard::Current().SetText(SelText()); },
        [this](TObject*) { CopyToClipboardAct->Enabled = fSelLength > 0; });
    AssignActionImages({&ActionList1});

    SetStatus(0, u"Line");
    SetStatus(2, u"Column");
    SetStatus(4, u"Snapshot Time");
    SetSelection(0, 0);
}

void TTextViewer::SetStatus(int panel, const UnicodeString& text)
{
    fStatus.at(std::size_t(panel)) = text;
    fView.StatusPanelChanged(panel, text);
}

void TTextViewer::SetLines(const TStringList& lines)
{
    fText.clear();
    for (int i = 0; i < lines.Count(); ++i) {
        if (i > 0) fText.push_back(u'\n');
        fText += lines[i];
    }
    fView.TextChanged(fText);
    SetSelection(0, 0);
}

void TTextViewer::SetSelection(int start, int length)
{
    const int size = int(fText.size());
    fSelStart = std::clamp(start, 0, size);
    fSelLength = std::clamp(length, 0, size - fSelStart);
    fView.SelectionChanged(fSelStart, fSelLength);
    // The caret panels count from 1.
    const std::size_t lineStart = fSelStart == 0 ? 0 : fText.rfind(u'\n', std::size_t(fSelStart - 1)) + 1;
    const int line = int(std::count(fText.begin(), fText.begin() + fSelStart, u'\n'));
    SetStatus(1, IntToStr(line + 1));
    SetStatus(3, IntToStr(fSelStart - int(lineStart) + 1));
}

UnicodeString TTextViewer::SelText() const { return fText.substr(std::size_t(fSelStart), std::size_t(fSelLength)); }

bool TTextViewer::FindPhrase(const UnicodeString& Phrase, bool MatchCase, bool WholeWord)
{
    const int start = fSelLength > 0 ? fSelStart + fSelLength : fSelStart;
    const int found = FindInText(fText, Phrase, start, MatchCase, WholeWord);
    if (found < 0) {
        Dialogs::Current().MessageBox(u"Information", u"Unable to find search phrase \"" + Phrase + u"\".",
                                      TMsgDlgType::mtInformation, TMsgButtons::OK);
        return false;
    }
    fView.FocusText();
    SetSelection(found, int(Phrase.size()));
    return true;
}

void TTextViewer::SetSnapshotTime() { SetStatus(5, NowText()); }

void TTextViewer::Show() { fView.ShowViewer(); }

bool TTextViewer::FindTextEditKeyDown(std::uint16_t key, TShiftState shift)
{
    if (key != VK::RETURN || (shift & (ssShift | ssCtrl | ssAlt)) != 0) return false;
    FindNextAct->Execute();
    return true;
}
