#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include "platform/QtTestApplication.h"
#include "platform/qt/QtDialogs.h"
#include "support/TempFolder.h"

namespace {

/// Answers the next modal dialog, once it runs, with what answer does to it.
void WhenShown(const std::function<void(QWidget*)>& answer)
{
    QTimer::singleShot(0, [answer] { answer(QApplication::activeModalWidget()); });
}

/// Picks a file in the next file chooser and notes the folder it started in.
void Pick(const std::string& file, QString& startedIn)
{
    WhenShown([file, &startedIn](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        startedIn = dialog->directory().absolutePath();
        dialog->selectFile(QString::fromStdString(file));
        static_cast<QDialog*>(dialog)->accept();
    });
}

}  // namespace

TEST(QtDialogsQt, FileFiltersBecomeQtNameFilters)
{
    EXPECT_EQ(ToQtFileFilter(u"Forth Block File|*.blk|Text File|*.txt;*.forth|Any File|*.*"),
              QStringLiteral("Forth Block File (*.blk);;Text File (*.txt *.forth);;Any File (*)"));
    EXPECT_EQ(ToQtFileFilter(u"Text files (*.txt)|*.txt"), QStringLiteral("Text files (*.txt)"));
}

TEST(QtDialogsQt, AQuestionRightAfterAChooserHasTheChoosersOpenerAsParent)
{
    TestApplication();
    QWidget opener;
    opener.show();
    QApplication::setActiveWindow(&opener);
    QtDialogs dialogs;
    QWidget* parent = nullptr;
    // Looks at the dialog once it runs and cancels it.
    auto cancelShownDialog = [&] {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            parent = dialog->parentWidget();
            dialog->reject();
        });
    };
    cancelShownDialog();
    EXPECT_EQ(dialogs.SaveFile({u"Save", u"Text File|*.txt", u".txt", {}, {}}), u"");
    EXPECT_EQ(parent, &opener);

    // The chooser has closed and the window manager has not yet given the focus back.
    QApplication::setActiveWindow(nullptr);
    parent = nullptr;
    cancelShownDialog();
    EXPECT_EQ(dialogs.MessageBox(u"Warning", u"Save anyway?", TMsgDlgType::mtWarning, TMsgButtons::OKCancel),
              TModalResult::mrCancel);
    EXPECT_EQ(parent, &opener);
}

TEST(QtDialogsQt, TheChooserStartsInTheWorkingFolderThenWhereTheLastFileWasChosen)
{
    TestApplication();
    TempFolder folder;
    folder.Write("first.forth", "");
    QtDialogs dialogs;
    QString startedIn;

    Pick(folder.Path("first.forth"), startedIn);
    EXPECT_EQ(dialogs.OpenFile({u"Open", u"Any File|*.*", u"", u"", u""}), FromUtf8(folder.Path("first.forth")));
    EXPECT_EQ(startedIn, QDir::currentPath());

    Pick(folder.Path("second.txt"), startedIn);
    EXPECT_EQ(dialogs.SaveFile({u"Save", u"Text File|*.txt", u".txt", u"", u""}), FromUtf8(folder.Path("second.txt")));
    EXPECT_EQ(startedIn.toStdString() + '/', folder.Path());
}

TEST(QtDialogsQt, AMessageWhileAnotherWindowHasTheKeysBelongsToTheMainWindow)
{
    TestApplication();
    QMainWindow main;
    main.show();
    QApplication::setActiveWindow(nullptr);

    QtDialogs dialogs;
    QWidget* parent = nullptr;
    WhenShown([&parent](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        parent = modal->parentWidget();
        qobject_cast<QMessageBox*>(modal)->done(QMessageBox::Ok);
    });
    EXPECT_EQ(dialogs.MessageBox(u"Caption", u"Text", TMsgDlgType::mtError, TMsgButtons::OK), TModalResult::mrOk);
    EXPECT_EQ(parent, &main);
}
