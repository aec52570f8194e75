// The Paired Words dialog is centred over the main window at every open: the first open, whose
// size the page knows only without the window frame, in the same place as the later ones.
#include <gtest/gtest.h>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include "QtMainWindowFixture.h"
#include "app/ProgramForms.h"
#include "app/ProgramFormsForm.h"
#include "app/Unit1Form.h"
#include "codeeditor/EditPairsDlg.h"
#include "codeeditor/EditPairsDlgForm.h"
#include "support/MemoryClipboard.h"
#include "support/ScriptedDialogs.h"

namespace {

class PairedWordsPlacementQtTest : public QtMainWindowFixture {
protected:
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    TQtFormFactory forms;
};

TEST_F(PairedWordsPlacementQtTest, ThreeOpensShowTheDialogCentredInOnePlace)
{
    CreateForms(forms);
    TTavloTerminalForm* window = forms.MainWindow();
    window->show();
    window->Logic().SetActivePage(pgCodeEditor);
    window->Logic().CodeEditorPage.ScriptEdit.SetText(u": squared dup * ;");
    ASSERT_TRUE(window->frameGeometry() != window->geometry()) << "the window system draws no frame";

    std::vector<QRect> shown;
    for (int open = 0; open < 3; ++open) {
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<TEditPairsDlgForm*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown.push_back(dialog->frameGeometry());
            QTest::mouseClick(dialog->Button(EditPairsForm->CancelAct), Qt::LeftButton);
        });
        window->Logic().CodeEditorPage.EditorEditPairedWordsAct->Execute();
    }
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], shown[0]);
    EXPECT_EQ(shown[2], shown[0]);
    const QPoint offCentre = shown[0].center() - window->frameGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << ", " << offCentre.y();
    EXPECT_TRUE(window->close());
}

}  // namespace
