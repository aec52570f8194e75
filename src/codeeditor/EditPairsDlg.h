#pragma once
// The "Edit Paired Words" dialog: a sorted list of the document's paired words, an edit to add
// one, and removal of the selected ones.
#include <functional>
#include <vector>
#include "platform/Actions.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "platform/StringList.h"

/// Shows the dialog's widgets.
class TEditPairsView {
public:
    virtual ~TEditPairsView() = default;
    /// Runs the dialog modally at the form's Left and Top; returns how it was closed.
    virtual TModalResult ShowModal() = 0;
    /// The list, its selection, the edit or the actions' enabled states changed.
    virtual void Changed() = 0;
};

class TEditPairsForm : public TObject {
public:
    static constexpr const char16_t* Caption = u"Edit Paired Words";
    static constexpr const char16_t* LabelCaption = u"Current Document Paired Words";
    static constexpr const char16_t* AddWordHint = u"Enter new word to add to list";

    TEditPairsForm();

    void SetView(TEditPairsView* view) { fView = view; }
    /// Shows the dialog; mrCancel when there is no view to show it.
    TModalResult ShowModal();

    /// Replaces the list's items (they take their sorted places) and clears the selection.
    void SetItems(const TStringList& Words);
    /// The list's items, sorted without case.
    const TStringList& Items() const { return fItems; }
    bool Selected(int Index) const { return fSelected.at(std::size_t(Index)); }
    void SetSelected(int Index, bool Value);
    /// A click on an item copies it into the edit.
    void PairedWordsListClick(int Index);

    const UnicodeString& AddWordEdit() const { return fAddWordEdit; }
    void SetAddWordEdit(const UnicodeString& Text);

    /// Position and size on the screen; the opener centres the dialog over itself.
    TRect Bounds{0, 0, 320, 300};
    void CentreOn(const TRect& Opener);

    TActionList Actions{u"EditPairs"};
    TAction* AddAct = nullptr;
    TAction* RemoveAct = nullptr;
    TAction* OkAct = nullptr;
    TAction* CancelAct = nullptr;
    /// Set by OkAct and CancelAct; the view closes the dialog with it.
    TModalResult ModalResult = TModalResult::mrNone;

private:
    void AddActExecute();
    void AddActUpdate();
    void RemoveActExecute();
    void RemoveActUpdate();
    TAction* AddAction(const char16_t* Name, const char16_t* Caption, const char16_t* ShortCut,
                       std::function<void()> Execute, std::function<void()> Update);
    void Changed();

    TStringList fItems;
    std::vector<bool> fSelected;
    UnicodeString fAddWordEdit;
    TEditPairsView* fView = nullptr;
};
