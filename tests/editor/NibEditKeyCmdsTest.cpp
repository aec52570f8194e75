#include <gtest/gtest.h>

#include <sstream>

#include "editor/NibEditKeyCmds.h"

namespace {

constexpr TShiftState Shift = ssShift, Ctrl = ssCtrl, Alt = ssAlt;

TEST(NibEditKeyCmds, CommandIdentifiersGoBothWays)
{
    EXPECT_EQ(EditorCommands().size(), 101u);
    for (TNibEditorCommand command : EditorCommands()) {
        UnicodeString ident;
        ASSERT_TRUE(EditorCommandToIdent(command, ident));
        TNibEditorCommand back = 0xFFFF;
        ASSERT_TRUE(IdentToEditorCommand(ident, back));
        EXPECT_EQ(back, command) << ToUtf8(ident);
    }
    EXPECT_EQ(EditorCommandToCodeString(ecSelGotoXY), u"ecSelGotoXY");
    EXPECT_EQ(EditorCommandToCodeString(307), u"ecGotoMarker6");
    EXPECT_EQ(EditorCommandToCodeString(1001), u"ecUserFirst");
    EXPECT_EQ(EditorCommandToCodeString(1002), u"1002");
    EXPECT_EQ(EditorCommandToCodeString(624), u"624");
    TNibEditorCommand command = 0;
    EXPECT_TRUE(IdentToEditorCommand(u"ECMATCHBRACKET", command));
    EXPECT_EQ(command, ecMatchBracket);
    EXPECT_FALSE(IdentToEditorCommand(u"ecNothing", command));
}

TEST(NibEditKeyCmds, DefaultBindingsAndFirstMatchLookups)
{
    TNibEditKeyStrokes keys(nullptr);
    EXPECT_EQ(keys.FindKeycode(VK::UP, 0), -1);
    keys.ResetDefaults();
    ASSERT_EQ(keys.Count(), 82);

    struct Case {
        std::uint16_t Key;
        TShiftState Shift;
        TNibEditorCommand Command;
    };
    const Case cases[] = {
        {VK::UP, 0, ecUp},
        {VK::UP, Ctrl, ecScrollUp},
        {VK::END, Ctrl | Shift, ecSelEditorBottom},
        {VK::BACK, Shift, ecDeleteLastChar},
        {VK::BACK, Alt | Shift, ecRedo},
        {VK::RETURN, 0, ecLineBreak},
        {'M', Ctrl, ecLineBreak},
        {'C', Ctrl | Shift, ecColumnSelect},
        {'7', Ctrl, ecGotoMarker0 + 7},
        {'0', Ctrl | Shift, ecSetMarker0},
        {'B', Ctrl | Shift, ecMatchBracket},
    };
    for (const Case& c : cases) {
        const int index = keys.FindKeycode(c.Key, c.Shift);
        ASSERT_GE(index, 0) << c.Key << "/" << c.Shift;
        EXPECT_EQ(keys.Items(index).Command(), c.Command) << c.Key << "/" << c.Shift;
    }
    // Shift+Backspace is the second of the Backspace bindings; Ctrl+Shift+Up has none.
    EXPECT_EQ(keys.FindKeycode(VK::BACK, Shift), keys.FindKeycode(VK::BACK, 0) + 1);
    EXPECT_EQ(keys.FindKeycode(VK::UP, Ctrl | Shift), -1);
    EXPECT_EQ(keys.FindKeycode(VK::RETURN, 0), 40);
    EXPECT_EQ(keys.FindKeycode('B', Ctrl | Shift), 81);
    EXPECT_EQ(keys.FindCommand(ecLineBreak), 40);
    EXPECT_EQ(keys.FindCommand(ecCommentBlock), -1);
    EXPECT_EQ(keys.FindShortcut(ShortCut(VK::INSERT, Ctrl)), keys.FindCommand(ecCopy));
}

TEST(NibEditKeyCmds, SecondChordBindingsAreFoundOnlyAsPairs)
{
    TNibEditKeyStrokes keys(nullptr);
    keys.AddKey(ecUndo, 'K', Ctrl);
    TNibEditKeyStroke& chord = keys.Add();
    chord.SetCommand(ecCommentBlock);
    EXPECT_THROW(chord.SetShortCut(ShortCut('K', Ctrl)), ENibKeyError);  // Ctrl+K alone is taken
    chord.SetShortCut2(ShortCut('C', 0));
    chord.SetShortCut(ShortCut('K', Ctrl));
    EXPECT_EQ(keys.FindKeycode('K', Ctrl), 0);
    EXPECT_EQ(keys.FindKeycode2('K', Ctrl, 'C', 0), 1);
    EXPECT_EQ(keys.FindShortcut2(ShortCut('K', Ctrl), ShortCut('C', 0)), 1);
    EXPECT_EQ(keys.FindShortcut(ShortCut('K', Ctrl)), 0);  // the first chord alone
    keys.Delete(0);
    EXPECT_EQ(keys.FindKeycode('K', Ctrl), -1);
    EXPECT_EQ(chord.GetDisplayName(), u"ecCommentBlock - Ctrl+K C");
}

TEST(NibEditKeyCmds, TheDisplayNameAddsTheSecondChordOnlyWhenThereIsOne)
{
    struct Case { TShortCut First, Second; const char16_t* Name; };
    const Case cases[] = {
        {ShortCut(VK::UP, 0), 0, u"ecUp - Up"},
        {ShortCut('K', Ctrl), ShortCut('C', 0), u"ecUp - Ctrl+K C"},
        {0, ShortCut('C', Shift), u"ecUp -  Shift+C"},
        {0, 0, u"ecUp - "},
    };
    TNibEditKeyStrokes keys(nullptr);
    TNibEditKeyStroke& stroke = keys.Add();
    stroke.SetCommand(ecUp);
    for (const Case& c : cases) {
        stroke.SetShortCut(c.First);
        stroke.SetShortCut2(c.Second);
        EXPECT_EQ(stroke.GetDisplayName(), c.Name);
    }
}

TEST(NibEditKeyCmds, ADuplicateShortcutIsRefusedAndChangesNothing)
{
    TNibEditKeyStrokes keys(nullptr);
    keys.ResetDefaults();
    TNibEditKeyStroke& home = keys.Items(keys.FindCommand(ecLineStart));
    try {
        home.SetShortCut(ShortCut(VK::END, 0));
        FAIL() << "no error";
    } catch (const ENibKeyError& e) {
        EXPECT_STREQ(e.what(), "Shortcut already exists");
    }
    EXPECT_EQ(home.Key(), VK::HOME);
    EXPECT_NO_THROW(home.SetShortCut(ShortCut(VK::HOME, 0)));  // its own value
    EXPECT_NO_THROW(home.SetShortCut2(ShortCut(VK::END, 0)));  // Home, End is a new pair
    EXPECT_EQ(home.Key2(), VK::END);
    TNibEditKeyStroke& added = keys.Add();
    added.SetShortCut(ShortCut(VK::HOME, 0));
    EXPECT_THROW(added.SetShortCut2(ShortCut(VK::END, 0)), ENibKeyError);
    EXPECT_EQ(added.Key2(), 0);
}

TEST(NibEditKeyCmds, StreamHoldsTenBytesPerBindingAndRoundTrips)
{
    TNibEditKeyStrokes keys(nullptr);
    keys.ResetDefaults();
    keys.Items(5).SetKey2('Q');
    keys.Items(5).SetShift2(Alt);
    std::ostringstream out;
    keys.SaveToStream(out);
    const std::string bytes = out.str();
    ASSERT_EQ(bytes.size(), 824u);
    EXPECT_EQ(bytes.substr(0, 14), std::string("\x52\0\0\0\x26\0\0\0\0\0\0\0\x03\0", 14));  // 82, Up, ecUp
    // Ctrl+Shift+B at the end: key 66, shift 5, no second chord, command 250.
    EXPECT_EQ(bytes.substr(814), std::string("\x42\0\x05\0\0\0\0\0\xFA\0", 10));

    TNibEditKeyStrokes loaded(nullptr);
    loaded.AddKey(ecCut, 'Q', 0);
    std::istringstream in(bytes);
    loaded.LoadFromStream(in);
    ASSERT_EQ(loaded.Count(), 82);
    for (int i = 0; i < 82; ++i) {
        const TNibEditKeyStroke &a = keys.Items(i), &b = loaded.Items(i);
        EXPECT_EQ(std::tuple(a.Key(), a.Shift(), a.Key2(), a.Shift2(), a.Command()),
                  std::tuple(b.Key(), b.Shift(), b.Key2(), b.Shift2(), b.Command()))
            << i;
    }
}

TEST(NibEditKeyCmds, ShortOrEmptyStreams)
{
    TNibEditKeyStrokes keys(nullptr);
    keys.ResetDefaults();
    std::istringstream empty(std::string("\xFF\xFF\xFF\xFF", 4));  // -1: an empty table
    keys.LoadFromStream(empty);
    EXPECT_EQ(keys.Count(), 0);

    keys.ResetDefaults();
    std::istringstream cut(std::string("\x02\0\0\0\x26\0\0\0\0\0\0\0\x03\0\x28\0", 16));
    EXPECT_THROW(keys.LoadFromStream(cut), ENibError);
    EXPECT_EQ(keys.Count(), 82);
}

TEST(NibEditKeyCmds, AssignCopiesTheBindingsInOrder)
{
    TObject owner;
    TNibEditKeyStrokes source(nullptr), copy(&owner);
    source.ResetDefaults();
    copy.AddKey(ecCut, 'Q', 0);
    copy.Assign(source);
    ASSERT_EQ(copy.Count(), 82);
    EXPECT_EQ(copy.Items(81).Command(), ecMatchBracket);
    EXPECT_EQ(copy.Owner(), &owner);
    EXPECT_EQ(copy.Items(3).Index(), 3);
}

}  // namespace
