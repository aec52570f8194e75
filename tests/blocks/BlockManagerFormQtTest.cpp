#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QMainWindow>
#include <QTimer>
#include "blocks/BlockManagerForm.h"
#include "blocks/InsertBlockWhereForm.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtActionBars.h"

TEST(BlockManagerFormQtTest, TheGridGetsItsWidthAndItsPopUpMenu)
{
    TestApplication();
    TBlockManager manager(nullptr, [] { return true; });
    TActionList list(u"BLockUpload");
    manager.CreateActions(list);
    QMainWindow window;
    QtActionBars bars(window, {&list}, u"Main Menu");
    TBlockManagerForm form(manager);
    form.AddPopUpMenu(bars);

    EXPECT_GT(form.GridHost()->width(), manager.DrawGrid1.ColWidths(0) + manager.DrawGrid1.ColWidths(1));
    const QList<QAction*> items = form.GridHost()->Surface()->actions();
    EXPECT_EQ(items.size(), 12);
    EXPECT_EQ(items.front(), bars.QtAction(*manager.BlockEditUndoAct));
    EXPECT_EQ(items.front()->shortcut(), QKeySequence(QStringLiteral("Alt+Backspace")));
}

TEST(BlockManagerFormQtTest, TheInsertBlockDialogReturnsTheChosenPlace)
{
    TestApplication();
    TInsertBlockWhereDlg dialog;
    QWidget opener;
    TInsertBlockWhereForm form(dialog, &opener);
    EXPECT_EQ(form.parentWidget(), &opener);

    QTimer::singleShot(0, &form, [&] {
        EXPECT_TRUE(form.InsertPosition()->button(ibAfterCurrent)->isChecked());
        form.InsertPosition()->button(ibAtStart)->click();
        form.accept();
    });
    EXPECT_EQ(dialog.ShowModal(), TModalResult::mrOk);
    EXPECT_EQ(dialog.ItemIndex, ibAtStart);

    QTimer::singleShot(0, &form, [&] {
        form.InsertPosition()->button(ibAtEnd)->click();
        form.reject();
    });
    EXPECT_EQ(dialog.ShowModal(), TModalResult::mrCancel);
    EXPECT_EQ(dialog.ItemIndex, ibAtStart);
}
