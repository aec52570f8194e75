#include <gtest/gtest.h>

#include "settings/ConfigTerm.h"
#include "support/ScriptedDialogs.h"
#include "support/UnusualOptions.h"

namespace {

TEST(ConfigTerm, FillingAndReadingBackKeepsEveryOption)
{
    TConfigTermOptions options;
    SetUnusualOptions(options);
    const UnicodeString before = StoredOptions(options);
    TConfigTerm dialog;
    dialog.SetOptions(options);
    TConfigTermOptions read;
    dialog.GetOptions(read);
    EXPECT_EQ(StoredOptions(read), before);
}

TEST(ConfigTerm, ValuesOutsideTheControlsComeBackClamped)
{
    TConfigTermOptions options;
    options.DisplayColumns = 500;
    options.DisplayRows = 1;
    options.PasteTextLineDelayMS = 5000;
    options.DisplayTabSize = 0;
    options.EditorTabSize = 99;
    options.EditorMaxNumericBase = 64;
    options.EditorCaptionBlocks = 7;
    TConfigTerm dialog;
    dialog.SetOptions(options);
    dialog.GetOptions(options);
    EXPECT_EQ(options.DisplayColumns, 132);
    EXPECT_EQ(options.DisplayRows, 8);
    EXPECT_EQ(options.PasteTextLineDelayMS, 1000u);
    EXPECT_EQ(options.DisplayTabSize, 1);
    EXPECT_EQ(options.EditorTabSize, 16);
    EXPECT_EQ(options.EditorMaxNumericBase, 32);
    EXPECT_EQ(options.EditorCaptionBlocks, 3);
}

TEST(ConfigTerm, FlowCharactersFromTheirText)
{
    struct Case {
        const char16_t* Xon;
        const char16_t* Xoff;
        int XonChar;
        int XoffChar;
    };
    for (const Case& k : {Case{u"x1", u"", 19, 17}, Case{u"17", u"19", 17, 19}, Case{u" 3", u"99", 3, 99},
                         Case{u"300", u"256", 19, 17}, Case{u"255", u"0", 255, 0}, Case{u"-1", u"-300", 19, 17}}) {
        TConfigTermOptions options;
        TConfigTerm dialog;
        dialog.SetOptions(options);
        dialog.Controls().XonChar = k.Xon;
        dialog.Controls().XoffChar = k.Xoff;
        dialog.GetOptions(options);
        EXPECT_EQ(options.ComPortOptions.SoftwareFlow().XonChar(), k.XonChar) << ToUtf8(k.Xon);
        EXPECT_EQ(options.ComPortOptions.SoftwareFlow().XoffChar(), k.XoffChar) << ToUtf8(k.Xoff);
    }
}

TEST(ConfigTerm, WithoutOptionsTheSerialPageShowsItsDesign)
{
    TConfigTerm dialog;
    const TConfigTermControls& c = dialog.Controls();
    EXPECT_EQ(c.Parity, Com_pNone);
    EXPECT_EQ(BaudRateItems[std::size_t(c.BaudRate)], UnicodeString(u"1200"));
    EXPECT_EQ(c.DataBits, Com_dbEight);
    EXPECT_EQ(c.StopBits, Com_sbOne);
    EXPECT_EQ(c.DtrControl, 0);
    EXPECT_EQ(c.RtsControl, 0);
    EXPECT_EQ(c.XonChar, u"19");
    EXPECT_EQ(c.XoffChar, u"17");
    EXPECT_EQ(c.ComPortID, u"COM2");
}

TEST(ConfigTerm, AGroupWithoutSelectionLeavesItsSetting)
{
    TConfigTermOptions options;
    options.ComPortOptions.SetParity(Com_pOdd);
    TConfigTerm dialog;
    dialog.SetOptions(options);
    dialog.Controls().Parity = -1;
    dialog.GetOptions(options);
    EXPECT_EQ(options.ComPortOptions.Parity(), Com_pOdd);
}

TEST(ConfigTerm, AControlCodeButtonToggledTwiceChangesNothing)
{
    TConfigTermOptions options;
    const TConfigTermCtrlCodes before = options.AllowedCtrlCodes;
    TConfigTerm dialog;
    dialog.SetOptions(options);
    dialog.ToggleCtrlCode(3);
    dialog.ToggleCtrlCode(20);
    EXPECT_FALSE(dialog.Controls().Obeyed.Contains(3));
    EXPECT_TRUE(dialog.Controls().Obeyed.Contains(20));
    dialog.ToggleCtrlCode(3);
    dialog.ToggleCtrlCode(20);
    dialog.GetOptions(options);
    EXPECT_EQ(options.AllowedCtrlCodes, before);
}

TEST(ConfigTerm, TheFontDialogChangesOnlyFaceAndSize)
{
    ScriptedDialogs dialogs;
    TConfigTermOptions options;
    options.FontFace = u"Old";
    options.FontSize = 10;
    TConfigTerm dialog;
    dialog.SetOptions(options);
    dialog.Controls().DisplayColumns = 90;
    TFont chosen;
    chosen.Name = u"New";
    chosen.SetSize(30);
    chosen.Color = 0x0000FF;
    dialogs.FontAnswers = {std::nullopt, chosen};
    dialog.TerminalFontClick();
    EXPECT_EQ(dialog.Controls().FontFace, u"Old");
    dialog.TerminalFontClick();
    dialog.GetOptions(options);
    EXPECT_EQ(options.FontFace, u"New");
    EXPECT_EQ(options.FontSize, 22);  // the dialog's largest size
    EXPECT_EQ(options.TextColor, TConfigTermOptions().TextColor);
    EXPECT_EQ(options.DisplayColumns, 90);
    EXPECT_EQ(options.EditFontFace, u"");
    dialog.EditorFontClick();
    EXPECT_EQ(dialogs.FontFixedPitchOnly, (std::vector<bool>{true, true, true}));
}

TEST(ConfigTerm, SystemDefaultsReportFailureAndLeaveTheOptions)
{
    ScriptedDialogs dialogs;
    TConfigTermOptions options;
    options.ComPortName = u"/nonexistent/tty";
    TConfigTerm dialog;
    dialog.SetOptions(options);
    dialog.Controls().BaudRate = Com_br9600;
    dialog.SetSystemDefaultsClick();
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text,
              u"Unable to update system default serial port settings for port /nonexistent/tty !");
    EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtError);
    EXPECT_NE(options.ComPortOptions.BaudRate(), Com_br9600);
}

class FixedChooser : public TComPortChooser {
public:
    UnicodeString ChoosePort(const UnicodeString& preselected) override
    {
        Preselected = preselected;
        return Answer;
    }
    UnicodeString Preselected;
    UnicodeString Answer;
};

TEST(ConfigTerm, ThePortPickerStartsAtTheShownPortAndSetsTheChosenOne)
{
    TConfigTermOptions options;
    options.ComPortName = u"ttyS0";
    FixedChooser chooser;
    TConfigTerm dialog;
    dialog.SetPortChooser(&chooser);
    dialog.SetOptions(options);
    dialog.BrowseComPortsClick();
    EXPECT_EQ(chooser.Preselected, u"ttyS0");
    EXPECT_EQ(dialog.Controls().ComPortID, u"ttyS0");
    chooser.Answer = u"ttyUSB0";
    dialog.BrowseComPortsClick();
    dialog.GetOptions(options);
    EXPECT_EQ(options.ComPortName, u"ttyUSB0");
}

}  // namespace
