#include <gtest/gtest.h>
#include "codeeditor/EditPairsDlg.h"

namespace {

class AnsweringView : public TEditPairsView {
public:
    explicit AnsweringView(TEditPairsForm& form) : fForm(form) {}
    TModalResult ShowModal() override
    {
        if (WhileShown) WhileShown(fForm);
        return fForm.ModalResult;
    }
    void Changed() override { ++Changes; }
    std::function<void(TEditPairsForm&)> WhileShown;
    int Changes = 0;

private:
    TEditPairsForm& fForm;
};

std::vector<UnicodeString> Items(const TEditPairsForm& form)
{
    std::vector<UnicodeString> items;
    for (int i = 0; i < form.Items().Count(); ++i) items.push_back(form.Items()[i]);
    return items;
}

TEST(EditPairsDialog, AddTakesTheSortedPlaceAndRefusesAWordListedInAnyCase)
{
    TEditPairsForm form;
    TStringList words;
    words.Add(u"VALUE:");
    words.Add(u"CONST:");
    form.SetItems(words);
    EXPECT_EQ(Items(form), (std::vector<UnicodeString>{u"CONST:", u"VALUE:"}));
    EXPECT_FALSE(form.AddAct->Enabled);

    form.SetAddWordEdit(u"Const:");
    EXPECT_FALSE(form.AddAct->Enabled);
    EXPECT_FALSE(form.AddAct->Execute());

    form.SetAddWordEdit(u"defer:");
    EXPECT_TRUE(form.AddAct->Enabled);
    EXPECT_TRUE(form.AddAct->Execute());
    EXPECT_EQ(Items(form), (std::vector<UnicodeString>{u"CONST:", u"defer:", u"VALUE:"}));
    EXPECT_EQ(form.AddWordEdit(), u"");
    EXPECT_FALSE(form.AddAct->Enabled);
}

TEST(EditPairsDialog, RemoveDeletesEverySelectedItemAndClickCopiesAnItem)
{
    TEditPairsForm form;
    TStringList words;
    words.SetText(u"A:\r\nB:\r\nC:\r\nD:");
    form.SetItems(words);
    EXPECT_FALSE(form.RemoveAct->Enabled);
    form.SetSelected(0, true);
    form.SetSelected(2, true);
    form.SetSelected(3, true);
    EXPECT_TRUE(form.RemoveAct->Enabled);
    EXPECT_TRUE(form.RemoveAct->Execute());
    EXPECT_EQ(Items(form), std::vector<UnicodeString>{u"B:"});
    EXPECT_FALSE(form.Selected(0));
    EXPECT_FALSE(form.RemoveAct->Enabled);

    form.PairedWordsListClick(0);
    EXPECT_EQ(form.AddWordEdit(), u"B:");
    form.PairedWordsListClick(5);
    EXPECT_EQ(form.AddWordEdit(), u"B:");
}

TEST(EditPairsDialog, ShowModalGivesOkOnlyForTheOkActionAndCancelWithoutAView)
{
    TEditPairsForm form;
    EXPECT_EQ(form.ShowModal(), TModalResult::mrCancel);
    AnsweringView view(form);
    form.SetView(&view);
    view.WhileShown = [](TEditPairsForm& f) { f.OkAct->Execute(); };
    EXPECT_EQ(form.ShowModal(), TModalResult::mrOk);
    view.WhileShown = [](TEditPairsForm& f) { f.CancelAct->Execute(); };
    EXPECT_EQ(form.ShowModal(), TModalResult::mrCancel);
    // Closed by the window's own close box.
    view.WhileShown = nullptr;
    EXPECT_EQ(form.ShowModal(), TModalResult::mrCancel);
    EXPECT_GT(view.Changes, 0);
}

}  // namespace
