#include <gtest/gtest.h>
#include "app/SettingsFile.h"
#include "app/StartupFixture.h"
#include "support/FakeControlHost.h"
#include "support/MemoryClipboard.h"
#include "support/ScriptedDialogs.h"

namespace {

class NoCodeView : public TCodeEditorView {
public:
    void StatusChanged(int Panel, const UnicodeString& Text) override { Status[Panel] = Text; }
    void ShowFindDialog(TFindDialogData&) override {}
    void ShowReplaceDialog(TFindDialogData&) override {}
    std::map<int, UnicodeString> Status;
};

/// The main window with its Code Editor page.
class CodeEditorWindow : public StartupTest {
protected:
    void Start()
    {
        window.FormCreate();
        window.CodeEditorPage.SetView(&codeView);
    }
    void Type(const UnicodeString& text)
    {
        TNibEdit& edit = window.CodeEditorPage.ScriptEdit;
        edit.SelectAll();
        edit.SetSelText(text);
    }

    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    TTavloTerminal window{view};
    NoCodeView codeView;
};

TEST_F(CodeEditorWindow, EnteringTheBlockManagerConvertsTheSourceOnlyWithTheSyncOption)
{
    Start();
    window.CodeEditorPage.CodeEditCurrentFileName = u"/src/app.forth";
    Type(u": SQ DUP * ;");
    window.SetActivePage(pgBlockManager);
    EXPECT_EQ(window.BlockManager.BlockEditData.Count(), 0);

    window.SetActivePage(pgCodeEditor);
    window.Options->EditSyncBlockFile = true;
    window.SetActivePage(pgBlockManager);
    ASSERT_EQ(window.BlockManager.BlockEditData.Count(), 16);
    EXPECT_EQ(window.BlockManager.BlockEditData[0], u": SQ DUP * ;");
    EXPECT_EQ(window.BlockManager.BlockEditCurrentFileName, u"/src/app.forth.blk");
    EXPECT_EQ(view.BlockStatus[9], u"/src/app.forth.blk");
}

TEST_F(CodeEditorWindow, TheModifiedMarkShowsWithinHalfASecond)
{
    Start();
    Type(u"1 2 +");
    loop.AdvanceMs(500);
    EXPECT_EQ(codeView.Status[5], u"*");
    EXPECT_EQ(codeView.Status[3], u"6");
}

TEST_F(CodeEditorWindow, SettingsGiveTheEditorItsOptionsAndTheCloseAsksAboutChanges)
{
    TConfigTermOptions options;
    options.EditorTabSize = 5;
    options.EditFontFace = u"Liberation Mono";
    options.EditFontSize = 14;
    options.EditorMaxNumericBase = 10;
    ASSERT_EQ(SaveSettingsFile(options, SettingsFileName()), u"");
    Start();
    TNibEdit& edit = window.CodeEditorPage.ScriptEdit;
    EXPECT_EQ(edit.TabWidth(), 5);
    EXPECT_EQ(edit.Font().Name, u"Liberation Mono");
    EXPECT_EQ(window.CodeEditorPage.Highlighter()->MaxNumericBase(), 10);
    EXPECT_EQ(edit.Highlighter(), window.CodeEditorPage.Highlighter());

    Type(u"1");
    dialogs.Answers = {TModalResult::mrCancel};
    bool canClose = true;
    window.FormCloseQuery(canClose);
    EXPECT_FALSE(canClose);
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text, u"Code editor contents have changed, save changes?");
    EXPECT_EQ(edit.Lines().Text(), u"1");
}

}  // namespace
