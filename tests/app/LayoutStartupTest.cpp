#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include "app/MainLayout.h"
#include "app/SettingsFile.h"
#include "app/StartupFixture.h"
#include "platform/Folders.h"
#include "settings/MapKeys.h"
#include "support/ScriptedDialogs.h"

namespace {

namespace fs = std::filesystem;

/// A layout other than the designed one, made of actions that exist.
TActionLayout CustomLayout()
{
    TActionLayout layout;
    layout.Bars.push_back(
        {MainMenuBarName,
         {{TLayoutItemKind::liSubMenu, u"&Tools", {{TLayoutItemKind::liAction, u"CustomiseAct", {}}}}}});
    layout.Bars.push_back({MainToolBarName, {{TLayoutItemKind::liAction, u"DefaultLayoutAct", {}}}});
    return layout;
}

class LayoutTest : public StartupTest {
protected:
    LayoutTest() { ForceDirectories(ExtractFilePath(UserLayoutFileName())); }

    /// Writes the user layout file and dates it relative to the program file.
    void WriteUserLayout(const TActionLayout& layout, std::chrono::seconds afterProgram)
    {
        ASSERT_EQ(SaveLayoutFile(layout, UserLayoutFileName()), u"");
        fs::path program = ToUtf8(ProgramFileName());
        fs::last_write_time(ToUtf8(UserLayoutFileName()), fs::last_write_time(program) + afterProgram);
    }

    /// Puts a folder where a configuration file belongs: writing it then fails, for root too.
    static void BlockFile(const UnicodeString& fileName) { ASSERT_TRUE(ForceDirectories(fileName + u"/")); }
};

/// The action names on a bar, sub-menus included.
void CollectActions(const std::vector<TLayoutItem>& items, std::vector<UnicodeString>& names)
{
    for (const TLayoutItem& item : items) {
        if (item.Kind == TLayoutItemKind::liAction) names.push_back(item.Name);
        CollectActions(item.Items, names);
    }
}

TEST_F(LayoutTest, TheDesignedLayoutHoldsTheWindowsActionsOnAMenuBarAndToolBars)
{
    TTavloTerminal window(view);
    const TActionLayout& layout = window.Layout();
    EXPECT_EQ(layout, DesignedLayout());
    ASSERT_EQ(layout.Bars.size(), 4u);
    EXPECT_EQ(layout.Bars[0].Name, u"Main Menu");
    EXPECT_EQ(layout.Bars[1].Name, u"Tool Bar");
    EXPECT_EQ(layout.Bars[2].Name, u"Block Tool Bar");
    EXPECT_EQ(layout.Bars[3].Name, u"Line Tool Bar");
    // The window's tool bar shows on every page: it holds no Block Manager action, which would be
    // disabled anywhere but on that page; the page's own bars hold nothing else.
    for (std::size_t bar = 1; bar < layout.Bars.size(); ++bar) {
        std::vector<UnicodeString> names;
        CollectActions(layout.Bars[bar].Items, names);
        EXPECT_FALSE(names.empty());
        for (const UnicodeString& name : names)
            EXPECT_EQ(window.BLockUpload.Find(name) != nullptr, bar > 1) << ToUtf8(name);
    }
    // Every action named in the table exists, so none is skipped when the file is read back.
    auto exists = [&](std::u16string_view name) { return window.ActionExists(name); };
    EXPECT_EQ(LayoutFromText(LayoutToText(layout), exists), layout);

    struct Expected {
        TAction* Action;
        const char16_t *Name, *Category, *Caption, *Hint;
    };
    for (const Expected& e : {
             Expected{window.CustomiseAct, u"CustomiseAct", u"Settings", u"Customise",
                      u"Customize the program menus and tool bar"},
             Expected{window.DefaultLayoutAct, u"DefaultLayoutAct", u"Settings", u"Default Layout",
                      u"Restore menus and tool bars to default state"},
             Expected{window.TermMapKeysAct, u"TermMapKeysAct", u"Terminal", u"Map Keys",
                      u"Configure terminal keyboard mappings"},
         }) {
        ASSERT_NE(e.Action, nullptr);
        EXPECT_EQ(window.Terminal.Find(e.Name), e.Action);
        EXPECT_EQ(e.Action->Category, e.Category);
        EXPECT_EQ(e.Action->Caption, e.Caption);
        EXPECT_EQ(e.Action->Hint, e.Hint);
        e.Action->Update();
        EXPECT_TRUE(e.Action->Enabled);
    }
}

TEST_F(LayoutTest, EveryStartSavesTheDesignedLayoutAsTheDefaultLayout)
{
    appData.Write("Brennix/Config/Brennix.Default.layout", "an old default");
    WriteUserLayout(CustomLayout(), std::chrono::hours(1));
    TTavloTerminal window(view);
    window.FormCreate();
    EXPECT_EQ(appData.Read("Brennix/Config/Brennix.Default.layout"), LayoutToText(DesignedLayout()));
}

TEST_F(LayoutTest, TheUserLayoutIsShownOnlyWhenItIsNewerThanTheProgram)
{
    struct Case {
        std::chrono::seconds AfterProgram;
        bool Loaded;
    };
    for (Case c : {Case{std::chrono::hours(1), true}, Case{-std::chrono::hours(1), false},
                   Case{std::chrono::seconds(0), false}}) {
        WriteUserLayout(CustomLayout(), c.AfterProgram);
        EXPECT_EQ(UserLayoutIsCurrent(UserLayoutFileName(), ProgramFileName()), c.Loaded);
        view.Layouts.clear();
        TTavloTerminal window(view);
        window.FormCreate();
        EXPECT_EQ(window.Layout(), c.Loaded ? CustomLayout() : DesignedLayout()) << c.AfterProgram.count();
        EXPECT_EQ(view.Layouts.size(), c.Loaded ? 1u : 0u);
    }
}

TEST_F(LayoutTest, AMalformedOrUnreadableUserLayoutLeavesTheDesignedOne)
{
    WriteUserLayout(CustomLayout(), std::chrono::hours(1));
    appData.Write("Brennix/Config/Brennix.layout", "Tavlo layout 1\nbar Tool Bar\nmenu &Open\n");
    fs::last_write_time(ToUtf8(UserLayoutFileName()),
                        fs::last_write_time(ToUtf8(ProgramFileName())) + std::chrono::hours(1));
    ScriptedDialogs dialogs;
    TTavloTerminal window(view);
    window.FormCreate();
    EXPECT_EQ(window.Layout(), DesignedLayout());
    EXPECT_TRUE(dialogs.Questions.empty());
}

TEST_F(LayoutTest, ACustomisedLayoutIsSavedAtCloseAndShownAtTheNextStart)
{
    {
        TTavloTerminal first(view);
        first.FormCreate();
        first.SetLayout(CustomLayout());
        bool canClose = false;
        first.FormCloseQuery(canClose);
        EXPECT_TRUE(canClose);
        first.FormDestroy();
    }
    EXPECT_EQ(appData.Read("Brennix/Config/Brennix.layout"), LayoutToText(CustomLayout()));
    TTavloTerminal second(view);
    second.FormCreate();
    EXPECT_EQ(second.Layout(), CustomLayout());
}

TEST_F(LayoutTest, ALayoutFileThatCannotBeWrittenIsReportedOnceAndTheCloseGoesOn)
{
    struct Case {
        bool BlockSettings;
        bool SettingsMentioned;
    };
    for (Case c : {Case{false, false}, Case{true, true}}) {
        TempFolder folder;
        AppDataAt at(folder.Path());
        BlockFile(UserLayoutFileName());
        if (c.BlockSettings) BlockFile(SettingsFileName());
        const std::vector<UnicodeString> messages = MessagesOfAClose();
        ASSERT_EQ(messages.size(), 1u);
        const UnicodeString& text = messages[0];
        EXPECT_NE(text.find(u"Unable to save the layout"), UnicodeString::npos);
        EXPECT_EQ(text.find(u"Unable to save the settings") != UnicodeString::npos, c.SettingsMentioned);
        EXPECT_TRUE(DirectoryExists(UserLayoutFileName() + u"/"));
    }
}

TEST_F(LayoutTest, ADefaultLayoutThatCannotBeSavedLetsStartUpGoOnAndTheActionSaysSo)
{
    BlockFile(DefaultLayoutFileName());
    ScriptedDialogs dialogs;
    TTavloTerminal window(view);
    window.FormCreate();
    EXPECT_TRUE(dialogs.Questions.empty());
    EXPECT_TRUE(window.ComOkBuffer);

    EXPECT_TRUE(window.DefaultLayoutAct->Execute());
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text, u"Unable to load default layout!");
}

TEST_F(LayoutTest, DefaultLayoutRestoresTheDefaultFileOrSaysItCannot)
{
    ScriptedDialogs dialogs;
    TTavloTerminal window(view);
    window.FormCreate();
    window.SetLayout(CustomLayout());
    view.Layouts.clear();
    window.DefaultLayoutAct->Execute();
    EXPECT_EQ(window.Layout(), DesignedLayout());
    EXPECT_EQ(view.Layouts, std::vector<TActionLayout>{DesignedLayout()});
    EXPECT_TRUE(dialogs.Questions.empty());

    for (const char* content : {static_cast<const char*>(nullptr), "not a layout"}) {
        DeleteFile(DefaultLayoutFileName());
        if (content) appData.Write("Brennix/Config/Brennix.Default.layout", content);
        window.SetLayout(CustomLayout());
        dialogs.Questions.clear();
        window.DefaultLayoutAct->Execute();
        EXPECT_EQ(window.Layout(), CustomLayout());
        ASSERT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(dialogs.Questions[0].Text, u"Unable to load default layout!");
        EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtError);
        EXPECT_EQ(dialogs.Questions[0].Buttons, TMsgButtons::OK);
    }
}

TEST_F(LayoutTest, CustomiseShowsTheDialog)
{
    TTavloTerminal window(view);
    window.FormCreate();
    EXPECT_TRUE(window.CustomiseAct->Execute());
    EXPECT_EQ(view.CustomizeDialogs, 1);
}

// The key-map form's widgets, closed by the user at once.
class ClosingKeyMapView : public TMapTermKeysView {
public:
    explicit ClosingKeyMapView(TMapTermKeys& keys) : fKeys(keys) { keys.SetView(this); }
    ~ClosingKeyMapView() override { fKeys.SetView(nullptr); }
    void ShowModal() override { ++Shown, fKeys.CloseQuery(); }
    int Shown = 0;

private:
    TMapTermKeys& fKeys;
};

TEST_F(LayoutTest, MapKeysShowsTheKeyMapFormWhoseCloseSavesTheDefaultKeyMap)
{
    ScriptedDialogs dialogs;
    TTavloTerminal window(view);
    window.FormCreate();
    ForceDirectories(ExtractFilePath(DefaultKeyMapFileName()));
    TMapTermKeys keys(DefaultKeyMapFileName());
    MapTermKeys = &keys;
    ClosingKeyMapView keyView(keys);
    keys.SetKeyMapping(11, 2, u"^[OP");

    EXPECT_TRUE(window.TermMapKeysAct->Execute());
    EXPECT_EQ(keyView.Shown, 1);
    EXPECT_EQ(TMapTermKeys(DefaultKeyMapFileName()).GetKeyMapping(11, 2), u"^[OP");
    EXPECT_TRUE(dialogs.Questions.empty());

    DeleteFile(DefaultKeyMapFileName());
    BlockFile(DefaultKeyMapFileName());
    window.TermMapKeysAct->Execute();
    EXPECT_EQ(keyView.Shown, 2);
    EXPECT_EQ(dialogs.Questions.size(), 1u);
}

} // namespace
