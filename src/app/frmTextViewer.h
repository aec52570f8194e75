#pragma once
// The snapshot viewer "Screen Snapshot": a read-only copy of the terminal's text that the user can
// search, select and copy while the terminal goes on. This is what the window does;
// frmTextViewerForm gives it its widgets.
#include <array>
#include <cstdint>
#include "platform/Actions.h"
#include "platform/Control.h"
#include "platform/StringList.h"
#include "platform/Text.h"

/// What the viewer shows through its widgets.
class TTextViewerView {
public:
    virtual ~TTextViewerView() = default;
    /// The whole text was replaced; lines are separated by single line feeds.
    virtual void TextChanged(const UnicodeString& text) = 0;
    virtual void SelectionChanged(int start, int length) = 0;
    virtual void StatusPanelChanged(int panel, const UnicodeString& text) = 0;
    /// Shows the window without making it modal, and restores it when minimised.
    virtual void ShowViewer() = 0;
    virtual void FocusText() = 0;
    /// Puts the focus in the find edit with all of its text selected.
    virtual void FocusFindEdit() = 0;
};

/// Where `Phrase` next occurs in `text` at or after `start`, or -1. Whole words need a character
/// that is no letter, digit or underscore (or the text's end) on both sides of the match.
int FindInText(std::u16string_view text, std::u16string_view Phrase, int start, bool MatchCase, bool WholeWord);

class TTextViewer : public TObject {
public:
    static constexpr int StatusPanelCount = 6;

    explicit TTextViewer(TTextViewerView& view);

    const UnicodeString& Text() const { return fText; }
    /// Replaces the text with these lines and puts the caret at the start.
    void SetLines(const TStringList& lines);
    int SelStart() const { return fSelStart; }
    int SelLength() const { return fSelLength; }
    /// The selection moved (from the widget, or by the viewer's own commands); the caret panels follow.
    void SetSelection(int start, int length);
    UnicodeString SelText() const;

    /// Searches from the end of the selection onwards and selects the match; says so and returns
    /// false when there is none. There is no wrap to the top.
    bool FindPhrase(const UnicodeString& Phrase, bool MatchCase, bool WholeWord);
    /// The last status panel shows the current date and time.
    void SetSnapshotTime();
    const UnicodeString& StatusPanel(int panel) const { return fStatus.at(std::size_t(panel)); }
    void Show();

    /// Enter without Shift, Ctrl or Alt in the find edit runs Find Next; true when the key was taken.
    bool FindTextEditKeyDown(std::uint16_t key, TShiftState shift);

    /// The tool bar: the text of FindTextEdit and the states of WholeWordBtn and MatchCaseBtn.
    UnicodeString FindTextEdit;
    bool WholeWordBtn = false;
    bool MatchCaseBtn = false;

    TActionList ActionList1{u"ActionList1"};
    TAction* FindNextAct = nullptr;
    TAction* SearchAct = nullptr;
    TAction* SelectAllAct = nullptr;
    TAction* CopyToClipboardAct = nullptr;

private:
    void SetStatus(int panel, const UnicodeString& text);

    TTextViewerView& fView;
    UnicodeString fText;
    int fSelStart = 0;
    int fSelLength = 0;
    std::array<UnicodeString, StatusPanelCount> fStatus;
};
