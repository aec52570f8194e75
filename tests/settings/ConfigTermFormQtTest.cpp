#include "settings/ConfigTermForm.h"

#include <gtest/gtest.h>
#include <QPushButton>
#include <QTabWidget>
#include "platform/QtTestApplication.h"
#include "support/ScriptedDialogs.h"
#include "support/UnusualOptions.h"

namespace {

class ConfigTermFormTest : public ::testing::Test {
protected:
    /// The control-code button whose caption is that text.
    QPushButton* CtrlButton(const char16_t* caption)
    {
        for (QPushButton* button : form.findChildren<QPushButton*>())
            if (button->text() == QString::fromStdU16String(caption)) return button;
        return nullptr;
    }

    QApplication& app = TestApplication();
    ScriptedDialogs dialogs;
    TConfigTerm logic;
    TConfigTermForm form{logic, nullptr};
};

TEST_F(ConfigTermFormTest, TheWidgetsShowAndGiveBackEveryOption)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Terminal Settings"));
    ASSERT_EQ(form.Pages()->count(), 5);
    const char* pages[] = {"Terminal", "Command Codes", "Com Port", "Editor", "Block File"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(form.Pages()->tabText(i), QString::fromUtf8(pages[i]));

    TConfigTermOptions options;
    SetUnusualOptions(options);
    const UnicodeString before = StoredOptions(options);
    logic.SetOptions(options);
    logic.Controls() = TConfigTermControls{};  // only the widgets remember now
    TConfigTermOptions read;
    logic.GetOptions(read);
    EXPECT_EQ(StoredOptions(read), before);
}

TEST_F(ConfigTermFormTest, ControlCodeButtonsToggleWhatTheyShow)
{
    TConfigTermOptions options;
    logic.SetOptions(options);
    for (const char16_t* caption : CtrlCodeCaptions) ASSERT_NE(CtrlButton(caption), nullptr) << ToUtf8(caption);
    QPushButton* getMax = CtrlButton(u" (20) Get Max X   Y");
    QPushButton* clear = CtrlButton(u"(16) Clear Screen");
    getMax->click();
    clear->click();
    clear->click();
    logic.GetOptions(options);
    EXPECT_TRUE(options.AllowedCtrlCodes.Contains(20));
    EXPECT_TRUE(options.AllowedCtrlCodes.Contains(16));
}

}  // namespace
