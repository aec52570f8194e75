#pragma once
// An editor on the fake host: window present and focused, client 192 x 160, cells 8 x 16 from the
// fixed-metrics canvas (20 columns and 10 rows of text beside the 30-pixel gutter).
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

#include "editor/NibEdit.h"
#include "support/FakeControlHost.h"
#include "support/MemoryClipboard.h"
#include "support/RecordingCanvas.h"

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { host = std::make_unique<FakeControlHost>(edit, 192, 160); }

    void SetLines(const std::vector<UnicodeString>& lines)
    {
        edit.Lines().Clear();
        for (const UnicodeString& line : lines) edit.Lines().Add(line);
    }
    std::vector<UnicodeString> Lines() const
    {
        std::vector<UnicodeString> result;
        for (int i = 0; i < edit.Lines().Count(); ++i) result.push_back(edit.Lines()[i]);
        return result;
    }
    /// Types through the command path, as keys do.
    void Type(std::u16string_view text)
    {
        for (char16_t c : text) edit.CommandProcessor(ecChar, c, nullptr);
    }
    void Select(TBufferCoord from, TBufferCoord to) { edit.SetCaretAndSelection(to, from, to); }

    RecordingGraphicsFactory graphics;
    MemoryClipboard clipboard;
    TNibEdit edit;
    std::unique_ptr<FakeControlHost> host;
};

inline std::ostream& operator<<(std::ostream& os, const TBufferCoord& p)
{
    return os << "(" << p.Char << "," << p.Line << ")";
}
