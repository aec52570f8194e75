#pragma once
// A Code Editor page beside a Block Manager, on a manual loop with scripted dialogs: the page is
// shown, the editor focused and the options at their defaults.
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>
#include "app/ProgramForms.h"
#include "blocks/BlockManager.h"
#include "codeeditor/CodeEditorPage.h"
#include "codeeditor/EditPairsDlg.h"
#include "platform/ManualLoop.h"
#include "support/FakeControlHost.h"
#include "support/MemoryClipboard.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

class RecordingCodeView : public TCodeEditorView {
public:
    void StatusChanged(int Panel, const UnicodeString& Text) override { Status[Panel] = Text; }
    void ShowFindDialog(TFindDialogData& Dialog) override { Shown.push_back(&Dialog); }
    void ShowReplaceDialog(TFindDialogData& Dialog) override { Shown.push_back(&Dialog); }
    std::map<int, UnicodeString> Status;
    /// The dialogs shown, in order.
    std::vector<TFindDialogData*> Shown;
};

class CodeEditorTest : public ::testing::Test {
protected:
    CodeEditorTest()
    {
        MainLoop::SetCurrent(&loop);
        page.CodeEditPairedWordsList = std::make_unique<TStringList>();
        page.Options = &options;
        page.SetView(&view);
        page.CreateHighlighter();
        page.CreateActions(actions);
        host = std::make_unique<FakeControlHost>(page.ScriptEdit, 400, 300);
    }
    ~CodeEditorTest() override { MainLoop::SetCurrent(nullptr); }

    /// Replaces the text as typing would: the document becomes modified.
    void Type(const UnicodeString& text)
    {
        page.ScriptEdit.SelectAll();
        page.ScriptEdit.SetSelText(text);
    }
    UnicodeString Text() const { return page.ScriptEdit.Lines().Text(); }

    ManualLoop loop;
    ScriptedDialogs dialogs;
    RecordingGraphicsFactory graphics;
    MemoryClipboard clipboard;
    TempFolder folder;
    TConfigTermOptions options;
    bool pageActive = true;
    TBlockManager blocks{[](int, const UnicodeString&) {}, [] { return false; }};
    TCodeEditorPage page{blocks, {[this] { return pageActive; }, [] { return TRect{100, 50, 900, 750}; }}};
    TActionList actions{u"CodeEditor"};
    RecordingCodeView view;
    std::unique_ptr<FakeControlHost> host;
};
