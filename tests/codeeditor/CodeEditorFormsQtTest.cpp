#include <gtest/gtest.h>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include "codeeditor/EditPairsDlgForm.h"
#include "codeeditor/FindDialogForm.h"
#include "platform/QtTestApplication.h"

namespace {

QPushButton* ButtonNamed(QWidget& parent, const QString& text)
{
    for (QPushButton* button : parent.findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

TEST(EditPairsDlgFormQtTest, TheWidgetsShowAndDriveTheDialog)
{
    TestApplication();
    TEditPairsForm dialog;
    TEditPairsDlgForm form(dialog, nullptr);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Edit Paired Words"));
    TStringList words;
    words.SetText(u"VAR:\r\nCONST:");
    dialog.SetItems(words);
    ASSERT_EQ(form.PairedWordsList()->count(), 2);
    EXPECT_EQ(form.PairedWordsList()->item(0)->text(), QStringLiteral("CONST:"));

    QPushButton* add = form.Button(dialog.AddAct);
    EXPECT_FALSE(add->isEnabled());
    form.AddWordEdit()->setText(QStringLiteral("defer:"));
    EXPECT_TRUE(add->isEnabled());
    add->click();
    ASSERT_EQ(form.PairedWordsList()->count(), 3);
    EXPECT_EQ(form.PairedWordsList()->item(1)->text(), QStringLiteral("defer:"));
    EXPECT_TRUE(form.AddWordEdit()->text().isEmpty());

    QPushButton* remove = form.Button(dialog.RemoveAct);
    EXPECT_FALSE(remove->isEnabled());
    form.PairedWordsList()->item(0)->setSelected(true);
    form.PairedWordsList()->item(2)->setSelected(true);
    EXPECT_TRUE(remove->isEnabled());
    remove->click();
    ASSERT_EQ(form.PairedWordsList()->count(), 1);
    EXPECT_EQ(dialog.Items()[0], u"defer:");
}

TEST(FindDialogFormQtTest, ButtonsStoreTheTextsAndOptionsAndCallBack)
{
    TestApplication();
    TFindDialogForm form(true, nullptr);
    TFindDialogData data{u"dup", u"", {frHideUpDown, frDown, frMatchCase}};
    int finds = 0, replaces = 0;
    form.OnFind = [&] { ++finds; };
    form.OnReplace = [&] { ++replaces; };
    form.ShowFor(data);
    EXPECT_EQ(form.FindEdit()->text(), QStringLiteral("dup"));
    EXPECT_TRUE(form.MatchCase()->isChecked());
    EXPECT_FALSE(form.findChild<QGroupBox*>()->isVisible());

    form.FindEdit()->setText(QStringLiteral("over"));
    form.ReplaceEdit()->setText(QStringLiteral("OVER"));
    form.WholeWord()->setChecked(true);
    form.MatchCase()->setChecked(false);
    ButtonNamed(form, QStringLiteral("&Find Next"))->click();
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(data.FindText, u"over");
    EXPECT_EQ(data.ReplaceText, u"OVER");
    EXPECT_EQ(data.Options, (TFindOptions{frHideUpDown, frDown, frWholeWord}));

    ButtonNamed(form, QStringLiteral("Replace &All"))->click();
    EXPECT_EQ(replaces, 1);
    EXPECT_TRUE(data.Options.Contains(frReplaceAll));
    ButtonNamed(form, QStringLiteral("&Replace"))->click();
    EXPECT_TRUE(data.Options.Contains(frReplace));
    EXPECT_FALSE(data.Options.Contains(frReplaceAll));

    bool closed = false;
    form.OnClose = [&] { closed = true; };
    ButtonNamed(form, QStringLiteral("Cancel"))->click();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form.isVisible());
}

}  // namespace
