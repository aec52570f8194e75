#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>
#include "editor/NibEdit.h"
#include "support/RecordingCanvas.h"

namespace {

constexpr TShiftState Ctrl = ssCtrl;

/// Editors need the graphics to measure their font.
class KeystrokeDifferences : public testing::Test {
    RecordingGraphicsFactory graphics;
};

/// Every binding as command and both chords, in order.
std::vector<std::string> Bindings(const TCustomNibEdit& edit)
{
    std::vector<std::string> result;
    for (int i = 0; i < edit.Keystrokes().Count(); ++i) {
        const TNibEditKeyStroke& k = edit.Keystrokes().Items(i);
        result.push_back(std::to_string(k.Command()) + ":" + std::to_string(k.GetShortCut()) + "," +
                         std::to_string(k.GetShortCut2()));
    }
    return result;
}

TEST_F(KeystrokeDifferences, AnAddedAndARemovedBindingReachAnotherEditorWithDefaultBindings)
{
    TNibEdit changed;
    changed.AddKey(ecCommentBlock, 'K', Ctrl, 'C', 0);
    changed.Keystrokes().Delete(changed.Keystrokes().FindCommand(ecDeleteLine));
    std::stringstream stream;
    changed.WriteKeystrokeDifferences(stream);

    TNibEdit fresh;
    const std::vector<std::string> defaults = Bindings(fresh);
    stream.seekg(0);
    fresh.ReadKeystrokeDifferences(stream);
    EXPECT_EQ(Bindings(fresh), Bindings(changed));
    EXPECT_NE(Bindings(fresh), defaults);
    // Both tables, the removed one first: a name, a count and one 10-byte binding each.
    const std::string bytes = stream.str();
    EXPECT_EQ(bytes.size(), 1 + 17 + 4 + 10 + 1 + 15 + 4 + 10);
    EXPECT_EQ(bytes.substr(1, 17), "RemovedKeystrokes");
}

TEST_F(KeystrokeDifferences, ADefaultKeyBoundToAnotherCommandComesBackSo)
{
    TNibEdit changed;
    const int ctrlY = changed.Keystrokes().FindKeycode('Y', Ctrl);
    ASSERT_EQ(changed.Keystrokes().Items(ctrlY).Command(), ecDeleteLine);
    changed.Keystrokes().Items(ctrlY).SetCommand(ecCommentBlock);
    std::stringstream stream;
    changed.WriteKeystrokeDifferences(stream);

    TNibEdit fresh;
    stream.seekg(0);
    fresh.ReadKeystrokeDifferences(stream);
    const int found = fresh.Keystrokes().FindKeycode('Y', Ctrl);
    ASSERT_GE(found, 0);
    EXPECT_EQ(fresh.Keystrokes().Items(found).Command(), ecCommentBlock);
    EXPECT_EQ(fresh.Keystrokes().FindCommand(ecDeleteLine), -1);
    EXPECT_EQ(fresh.Keystrokes().Count(), changed.Keystrokes().Count());
}

TEST_F(KeystrokeDifferences, DefaultBindingsWriteNothing)
{
    TNibEdit edit;
    std::stringstream stream;
    edit.WriteKeystrokeDifferences(stream);
    EXPECT_TRUE(stream.str().empty());
}

TEST_F(KeystrokeDifferences, ADamagedStreamChangesNothing)
{
    TNibEdit changed;
    changed.AddKey(ecCommentBlock, 'K', Ctrl, 'C', 0);
    std::stringstream good;
    changed.WriteKeystrokeDifferences(good);
    const std::string bytes = good.str();
    for (const std::string& damaged : {bytes.substr(0, bytes.size() - 3), std::string("\x03XYZ") + bytes}) {
        TNibEdit edit;
        const std::vector<std::string> before = Bindings(edit);
        std::istringstream stream(damaged);
        EXPECT_THROW(edit.ReadKeystrokeDifferences(stream), ENibError);
        EXPECT_EQ(Bindings(edit), before);
    }
}

}  // namespace
