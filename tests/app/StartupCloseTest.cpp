#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "app/StartupFixture.h"

namespace {

// A main window whose close questions answer as scripted and say when they were asked.
class ScriptedWindow : public TTavloTerminal {
public:
    ScriptedWindow(TTavloTerminalView& view, bool blockAnswer, bool editorAnswer)
        : TTavloTerminal(view), fBlockAnswer(blockAnswer), fEditorAnswer(editorAnswer)
    {
    }
    std::vector<std::string> Calls;

protected:
    void SaveSettings() override { Calls.push_back("SaveSettings"); }
    bool QueryCloseBlockFile() override
    {
        Calls.push_back("QueryCloseBlockFile");
        return fBlockAnswer;
    }
    bool QueryCloseEditorFile() override
    {
        Calls.push_back("QueryCloseEditorFile");
        return fEditorAnswer;
    }

private:
    bool fBlockAnswer;
    bool fEditorAnswer;
};

struct CloseCase {
    bool BlockAnswer;
    bool EditorAnswer;
    bool CanClose;
    std::vector<std::string> Calls;
};

TEST_F(StartupTest, CloseQuerySavesFirstThenAsksInOrderAndStopsAtTheFirstCancel)
{
    const std::vector<CloseCase> cases = {
        {true, true, true, {"SaveSettings", "QueryCloseBlockFile", "QueryCloseEditorFile"}},
        {false, true, false, {"SaveSettings", "QueryCloseBlockFile"}},
        {true, false, false, {"SaveSettings", "QueryCloseBlockFile", "QueryCloseEditorFile"}},
    };
    for (const CloseCase& c : cases) {
        ScriptedWindow window(view, c.BlockAnswer, c.EditorAnswer);
        window.FormCreate();
        bool canClose = true;
        window.FormCloseQuery(canClose);
        EXPECT_EQ(canClose, c.CanClose) << c.BlockAnswer << c.EditorAnswer;
        EXPECT_EQ(window.Calls, c.Calls) << c.BlockAnswer << c.EditorAnswer;
    }
}

}  // namespace
