#include "settings/MapKeys.h"

#include <gtest/gtest.h>
#include "platform/Dialogs.h"
#include "settings/ConfigUnit.h"
#include "support/TempFolder.h"

namespace {

/// Answers the file choosers with set names and records what was asked and shown.
class ScriptedDialogs : public Dialogs {
public:
    UnicodeString OpenAnswer, SaveAnswer;
    TFileDialogRequest LastRequest;
    int Messages = 0;

    TModalResult MessageBox(const UnicodeString&, const UnicodeString&, TMsgDlgType, TMsgButtons) override
    {
        ++Messages;
        return TModalResult::mrOk;
    }
    bool ChooseFont(TFont&, bool) override { return false; }
    bool ChooseColor(TColor&) override { return false; }

protected:
    UnicodeString ShowOpenFile(const TFileDialogRequest& request) override
    {
        LastRequest = request;
        return OpenAnswer;
    }
    UnicodeString ShowSaveFile(const TFileDialogRequest& request) override
    {
        LastRequest = request;
        return SaveAnswer;
    }
};

class MapKeysTest : public ::testing::Test {
protected:
    TempFolder tmp;
    AppDataAt appData{tmp.Path("appdata")};
    ScriptedDialogs dialogs;
    void SetUp() override { Dialogs::SetCurrent(&dialogs); }
    void TearDown() override { Dialogs::SetCurrent(nullptr); }
};

constexpr int F1 = 11;

} // namespace

TEST_F(MapKeysTest, LoadedFileAnswersInAllThreeStates)
{
    tmp.Write("test.kmap", "[State_]\r\nF1=plain^M\r\nUp Arrow=^[[A\r\n"
                           "[State_Shift]\r\nF1=shifted\r\n"
                           "[State_Ctrl]\r\nF1=^^ctrl\r\nA=never\r\n");
    TMapTermKeys keys(tmp.Name("test.kmap"));
    EXPECT_EQ(keys.MappKey(112, 0), u"plain\r");
    EXPECT_EQ(keys.MappKey(112, ssShift), u"shifted");
    EXPECT_EQ(keys.MappKey(112, ssCtrl), u"^ctrl");
    EXPECT_EQ(keys.MappKey(112, ssAlt), u"plain\r");
    EXPECT_EQ(keys.MappKey(112, ssShift | ssCtrl), u"plain\r");
    EXPECT_EQ(keys.MappKey(VK::UP, 0), u"\x1b[A");
    EXPECT_EQ(keys.MappKey(VK::UP, ssShift), u"");
    EXPECT_EQ(keys.MappKey(65, ssCtrl), u"");
    EXPECT_TRUE(keys.IsKeyMapped(112, ssCtrl));
    EXPECT_FALSE(keys.IsKeyMapped(VK::DOWN, 0));
}

TEST_F(MapKeysTest, UpdateStoresTheNormalCaretForm)
{
    TMapTermKeys keys(tmp.Name("none.kmap"));
    UnicodeString text = u"^a\x02";
    ASSERT_TRUE(keys.UpdateKeyMapping(F1, 2, text));
    EXPECT_EQ(text, u"^A^B");
    EXPECT_EQ(keys.GetKeyMapping(F1, 2), u"^A^B");
    text = u"^@";
    keys.UpdateKeyMapping(0, 0, text);
    EXPECT_EQ(text, u"");
    EXPECT_FALSE(keys.IsKeyMapped(VK::UP, 0));

    text = u"ignored";
    EXPECT_FALSE(keys.UpdateKeyMapping(-1, 0, text));
    EXPECT_EQ(text, u"ignored");
    EXPECT_EQ(keys.Settings().SectionCount(), 2);
    EXPECT_EQ(TMapTermKeys::KeyCaption(F1, 1), u"Shift-F1");
    EXPECT_EQ(TMapTermKeys::KeyCaption(4, 0), u"Page Down");
}

TEST_F(MapKeysTest, BlanksAtTheEndsSurviveSaveAndReload)
{
    UnicodeString fileName = tmp.Name("blanks.kmap");
    {
        TMapTermKeys keys(fileName);
        UnicodeString text = u" 1 2 ";
        keys.UpdateKeyMapping(F1, 0, text);
        EXPECT_EQ(keys.CloseQuery(), u"");
    }
    EXPECT_EQ(tmp.Read("blanks.kmap"), "[State_]\r\nF1=^`1 2^`\r\n");
    EXPECT_EQ(TMapTermKeys(fileName).MappKey(112, 0), u" 1 2 ");
}

TEST_F(MapKeysTest, EveryControlCharacterSurvivesUpdateSaveAndReload)
{
    // Code 0 cannot be bound; every other control character, alone, inside or at either end.
    UnicodeString fileName = tmp.Name("controls.kmap");
    for (char16_t c = 1; c < 32; ++c) {
        const UnicodeString bindings[] = {UnicodeString(1, c), u"a" + UnicodeString(1, c) + u"b",
                                          UnicodeString(1, c) + u" x " + UnicodeString(1, c)};
        for (const UnicodeString& binding : bindings) {
            {
                TMapTermKeys keys(tmp.Name("none.kmap"));
                UnicodeString text = binding;
                keys.UpdateKeyMapping(F1, 0, text);
                ASSERT_EQ(keys.Settings().SaveToFile(fileName), u"");
            }
            EXPECT_EQ(TMapTermKeys(fileName).MappKey(112, 0), binding) << int(c);
        }
    }
}

TEST_F(MapKeysTest, DefaultFileLivesInTheKeyMapFolder)
{
    EXPECT_EQ(DefaultKeyMapFileName(), FromUtf8(tmp.Path("appdata/Brennix/Key Maps/default.kmap")));
}

TEST_F(MapKeysTest, LoadAndSaveButtons)
{
    TMapTermKeys keys(tmp.Name("default.kmap"));
    UnicodeString text = u"saved";
    keys.UpdateKeyMapping(F1, 1, text);

    dialogs.SaveAnswer = tmp.Name("chosen.kmap");
    keys.SaveKeyMapClick();
    EXPECT_EQ(dialogs.LastRequest.Title, u"Save Key Mappings");
    EXPECT_EQ(dialogs.LastRequest.Filter, u"Key Map File|*.kmap");
    EXPECT_EQ(dialogs.LastRequest.DefaultExt, u"kmap");
    EXPECT_EQ(dialogs.LastRequest.InitialDir, GetKeyMapsFolder());
    EXPECT_EQ(tmp.Read("chosen.kmap"), "[State_Shift]\r\nF1=saved\r\n");

    text = u"other";
    keys.UpdateKeyMapping(0, 0, text);
    dialogs.OpenAnswer = tmp.Name("chosen.kmap");
    EXPECT_TRUE(keys.LoadKeyMapClick());
    EXPECT_EQ(dialogs.LastRequest.Title, u"Load Key Mappings");
    EXPECT_EQ(dialogs.LastRequest.InitialDir, tmp.Name());
    EXPECT_EQ(keys.MappKey(VK::UP, 0), u"");
    EXPECT_EQ(keys.MappKey(112, ssShift), u"saved");

    dialogs.OpenAnswer.clear();
    EXPECT_FALSE(keys.LoadKeyMapClick());
    EXPECT_EQ(dialogs.Messages, 0);
}

TEST_F(MapKeysTest, WriteFailuresAreShownAndKeepTheBindings)
{
    tmp.Write("plain", "a file, not a folder");
    TMapTermKeys keys(tmp.Name("plain/default.kmap"));
    UnicodeString text = u"kept";
    keys.UpdateKeyMapping(F1, 0, text);

    dialogs.SaveAnswer = tmp.Name("plain/chosen.kmap");
    keys.SaveKeyMapClick();
    EXPECT_EQ(dialogs.Messages, 1);
    EXPECT_NE(keys.CloseQuery(), u"");
    EXPECT_EQ(dialogs.Messages, 2);
    EXPECT_EQ(keys.MappKey(112, 0), u"kept");

    std::filesystem::create_directory(tmp.Path("folder.kmap"));
    dialogs.OpenAnswer = tmp.Name("folder.kmap");
    EXPECT_FALSE(keys.LoadKeyMapClick());
    EXPECT_EQ(dialogs.Messages, 3);
    EXPECT_EQ(keys.MappKey(112, 0), u"kept");
}
