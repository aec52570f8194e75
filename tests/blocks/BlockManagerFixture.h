#pragma once
// A Block Manager on its page, with scripted dialogs, a memory clipboard, a recording canvas and a
// folder of its own; the status bar's panels are recorded.
#include <gtest/gtest.h>
#include <map>
#include "blocks/BlockManager.h"
#include "blocks/BlockStatus.h"
#include "platform/Folders.h"
#include "support/MemoryClipboard.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

class BlockManagerTest : public ::testing::Test {
protected:
    BlockManagerTest()
    {
        manager.CreateActions(actions);
        manager.DrawGrid1.SetBounds(0, 0, 600, 10 * (manager.DrawGrid1.DefaultRowHeight() + 1));
    }

    /// Replaces the lines, as a file load would (no undo records).
    void SetLines(std::initializer_list<UnicodeString> lines)
    {
        TStringList list;
        for (const UnicodeString& line : lines) list.Add(line);
        SetLines(list);
    }
    void SetLines(const TStringList& lines)
    {
        manager.BlockEditData = lines;
        manager.BlockEditUndoList.Clear();
        manager.DrawGrid1.SetRowCount(lines.Count());
    }
    /// n lines "1", "2", ...
    void SetNumberedLines(int n)
    {
        TStringList list;
        for (int i = 1; i <= n; ++i) list.Add(IntToStr(i));
        SetLines(list);
    }
    /// The lines joined by "|", to compare in one line.
    UnicodeString Joined() const
    {
        UnicodeString out;
        for (int i = 0; i < manager.BlockEditData.Count(); ++i) out += (i ? u"|" : u"") + manager.BlockEditData[i];
        return out;
    }
    /// Runs an action by name, as its menu item would.
    bool Run(const char16_t* name) { return actions.Find(name)->Execute(); }
    bool Enabled(const char16_t* name)
    {
        TAction* action = actions.Find(name);
        action->Update();
        return action->Enabled;
    }

    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    TempFolder folder;
    std::map<int, UnicodeString> status;
    bool pageActive = true;
    TActionList actions{u"BLockUpload"};
    TBlockManager manager{[this](int panel, const UnicodeString& text) { status[panel] = text; }, [this] { return pageActive; }};
};
