#pragma once
// A main window without widgets: a view that records what it was shown, on a manual loop.
#include <map>
#include <vector>
#include "app/Application.h"
#include "app/ProgramForms.h"
#include "app/Unit1.h"
#include "platform/ManualLoop.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

class RecordingView : public TTavloTerminalView {
public:
    void CaptionChanged(const UnicodeString& caption) override { Caption = caption; }
    void ActivePageChanged(TMainPage page) override { Pages.push_back(page); }
    void BlockStatusChanged(int panel, const UnicodeString& text) override { BlockStatus[panel] = text; }
    void HostAddressFormCreated(THostAddressForm& form) override { HostForm = &form; }
    void ShowLayout(const TActionLayout& layout) override { Layouts.push_back(layout); }
    void ShowCustomizeDialog() override { ++CustomizeDialogs; }
    TRect WindowBounds() const override { return Bounds; }

    UnicodeString Caption;
    std::vector<TMainPage> Pages;
    std::map<int, UnicodeString> BlockStatus;
    THostAddressForm* HostForm = nullptr;
    /// Every layout the bars were told to show, in order.
    std::vector<TActionLayout> Layouts;
    int CustomizeDialogs = 0;
    TRect Bounds{100, 50, 900, 750};
};

/// A main window whose close questions answer Yes and are counted, so a test sees they were asked.
class QuestioningWindow : public TTavloTerminal {
public:
    using TTavloTerminal::TTavloTerminal;
    int Questions = 0;

protected:
    bool QueryCloseBlockFile() override { return ++Questions, true; }
    bool QueryCloseEditorFile() override { return ++Questions, true; }
};

/// Each test gets its own loop, so the status timer can start, its own application object, and
/// its own application-data folder, so that no test reads or writes the user's settings.
class StartupTest : public ::testing::Test {
protected:
    StartupTest()
    {
        MainLoop::SetCurrent(&loop);
        Application = &application;
    }
    ~StartupTest() override
    {
        ClearFormGlobals();
        Application = nullptr;
        MainLoop::SetCurrent(nullptr);
    }

    /// Makes a window and closes it as the user would, its close questions answered Yes: it must
    /// close after asking both. Returns the messages it showed.
    std::vector<UnicodeString> MessagesOfAClose()
    {
        ScriptedDialogs dialogs;
        QuestioningWindow window(view);
        window.FormCreate();
        bool canClose = false;
        window.FormCloseQuery(canClose);
        EXPECT_TRUE(canClose);
        EXPECT_EQ(window.Questions, 2);
        std::vector<UnicodeString> messages;
        for (const ScriptedDialogs::Question& question : dialogs.Questions) messages.push_back(question.Text);
        return messages;
    }

    TempFolder appData;
    AppDataAt appDataAt{appData.Path()};
    ManualLoop loop;
    TApplication application;
    /// The code editor measures its font when it is made.
    RecordingGraphicsFactory graphics;
    RecordingView view;
};
