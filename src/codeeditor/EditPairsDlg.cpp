#include "codeeditor/EditPairsDlg.h"
#include "platform/WindowPlacement.h"

TEditPairsForm::TEditPairsForm()
{
    fItems.SetSorted(true);
    AddAct = AddAction(u"AddAct", u"Add", u"Ins", [this] { AddActExecute(); }, [this] { AddActUpdate(); });
    RemoveAct = AddAction(u"RemoveAct", u"Remove", u"Del", [this] { RemoveActExecute(); },
                          [this] { RemoveActUpdate(); });
    OkAct = AddAction(u"OkAct", u"Ok", u"", [this] { ModalResult = TModalResult::mrOk; }, nullptr);
    CancelAct = AddAction(u"CancelAct", u"Cancel", u"", [this] { ModalResult = TModalResult::mrCancel; }, nullptr);
    Actions.UpdateActions();
}

TAction* TEditPairsForm::AddAction(const char16_t* Name, const char16_t* Caption, const char16_t* ShortCut,
                                   std::function<void()> Execute, std::function<void()> Update)
{
    TAction action;
    action.Name = Name;
    action.Caption = Caption;
    action.ShortCut = ShortCut;
    action.OnExecute = [Execute](TObject*) { Execute(); };
    if (Update) action.OnUpdate = [Update](TObject*) { Update(); };
    return &Actions.Add(std::move(action));
}

TModalResult TEditPairsForm::ShowModal()
{
    if (!fView) return TModalResult::mrCancel;
    ModalResult = TModalResult::mrNone;
    Changed();
    const TModalResult result = fView->ShowModal();
    return result == TModalResult::mrOk ? result : TModalResult::mrCancel;
}

void TEditPairsForm::SetItems(const TStringList& Words)
{
    fItems.Clear();
    for (int i = 0; i < Words.Count(); ++i) fItems.Add(Words[i]);
    fSelected.assign(std::size_t(fItems.Count()), false);
    Changed();
}

void TEditPairsForm::SetSelected(int Index, bool Value)
{
    fSelected.at(std::size_t(Index)) = Value;
    Changed();
}

void TEditPairsForm::PairedWordsListClick(int Index)
{
    if (Index >= 0 && Index < fItems.Count()) SetAddWordEdit(fItems[Index]);
}

void TEditPairsForm::SetAddWordEdit(const UnicodeString& Text)
{
    fAddWordEdit = Text;
    Changed();
}

void TEditPairsForm::CentreOn(const TRect& Opener) { Bounds = CentreOver(Opener, Bounds.Width(), Bounds.Height()); }

void TEditPairsForm::AddActExecute()
{
    const int index = fItems.Add(fAddWordEdit);
    fSelected.insert(fSelected.begin() + index, false);
    fAddWordEdit.clear();
    Changed();
}

void TEditPairsForm::AddActUpdate() { AddAct->Enabled = !fAddWordEdit.empty() && fItems.IndexOf(fAddWordEdit) < 0; }

void TEditPairsForm::RemoveActExecute()
{
    for (int i = fItems.Count() - 1; i >= 0; --i)
        if (fSelected[std::size_t(i)]) {
            fItems.Delete(i);
            fSelected.erase(fSelected.begin() + i);
        }
    Changed();
}

void TEditPairsForm::RemoveActUpdate()
{
    bool any = false;
    for (bool selected : fSelected) any = any || selected;
    RemoveAct->Enabled = fItems.Count() > 0 && any;
}

void TEditPairsForm::Changed()
{
    Actions.UpdateActions();
    if (fView) fView->Changed();
}
