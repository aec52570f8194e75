// The faces that the designed fonts name ("Lucida Console", "Courier New") are missing on Linux:
// every control that draws text in cells then draws in a fixed-pitch face of the same size, and
// keeps the name it was given.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include "QtMainWindowFixture.h"
#include "app/ProgramForms.h"
#include "app/ProgramFormsForm.h"
#include "app/Unit1Form.h"
#include "app/frmTextViewerForm.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtColor.h"
#include "support/MemoryClipboard.h"
#include "support/ScriptedDialogs.h"

namespace {

class FixedPitchFacesQtTest : public QtMainWindowFixture {
protected:
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    TQtFormFactory forms;
};

/// Every character the same width, as the control's canvas draws it.
void ExpectDrawnFixedPitch(const char* control, const TFont& font)
{
    QImage image(1, 1, QImage::Format_RGB32);
    QtCanvas canvas(image);
    canvas.SetFont(font);
    const TSize narrow = canvas.TextExtent(u"iiiiiiii");
    EXPECT_EQ(narrow.cx, canvas.TextExtent(u"WWWWWWWW").cx) << control;
    EXPECT_EQ(narrow.cx, canvas.TextExtent(u"........").cx) << control;
    const QFontInfo drawn(ToQFont(font));
    EXPECT_TRUE(drawn.fixedPitch()) << control << " draws in " << drawn.family().toStdString();
    EXPECT_EQ(drawn.pixelSize(), -font.Height) << control;
}

TEST_F(FixedPitchFacesQtTest, TheTerminalViewerGridPopupAndEditorDrawInAFixedPitchFaceAndKeepTheirNames)
{
    for (const char* missing : {"Lucida Console", "Lucidia Console", "Courier New"})
        if (QFontDatabase::hasFamily(QString::fromLatin1(missing))) GTEST_SKIP() << missing << " is installed";
    CreateForms(forms);
    TTavloTerminal& logic = forms.MainWindow()->Logic();

    const TFont& terminal = logic.SimpleTerminal1.Font();
    EXPECT_EQ(terminal.Name, u"Lucida Console");
    ExpectDrawnFixedPitch("terminal", terminal);
    const TFont& grid = logic.BlockManager.DrawGrid1.Font();
    EXPECT_EQ(grid.Name, u"Lucida Console");
    ExpectDrawnFixedPitch("block grid", grid);
    const TFont& editor = logic.CodeEditorPage.ScriptEdit.Font();
    EXPECT_EQ(editor.Name, u"Courier New");
    ExpectDrawnFixedPitch("code editor", editor);
    const TFont& popup = logic.CodeEditorPage.NibCompletionProposal1.Form().ItemFont();
    EXPECT_EQ(popup.Name, u"Lucida Console");
    ExpectDrawnFixedPitch("completion list", popup);

    TTextViewerForm* viewer = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* form = dynamic_cast<TTextViewerForm*>(widget)) viewer = form;
    ASSERT_NE(viewer, nullptr);
    const QFont viewerFont = viewer->TextViewer()->font();
    EXPECT_TRUE(QFontInfo(viewerFont).fixedPitch()) << QFontInfo(viewerFont).family().toStdString();
    const QFontMetrics metrics(viewerFont);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiiiiiii")), metrics.horizontalAdvance(QStringLiteral("WWWWWWWW")));
    EXPECT_EQ(QFontInfo(viewerFont).pixelSize(), 13);

    // The settings, saved at close, keep the names, not the faces drawn in their place.
    EXPECT_TRUE(forms.MainWindow()->close());
    const std::string saved = appData.Read("Brennix/Config/Brennix.config");
    EXPECT_NE(saved.find("FontFace=Lucida Console\r\n"), std::string::npos);
    EXPECT_NE(saved.find("EditFontFace=Courier New\r\n"), std::string::npos);
}

}  // namespace
