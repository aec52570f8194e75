#include <gtest/gtest.h>

#include "app/SettingsFile.h"
#include "settings/ConfigTerm.h"
#include "support/ScriptedDialogs.h"

namespace {

/// Every option as the settings file holds it: equal stores mean equal options.
UnicodeString Stored(const TConfigTermOptions& options)
{
    TNrKeyValueSections store;
    StoreSettings(options, store);
    TStringList lines;
    store.SaveToStrings(lines);
    return lines.Text();
}

/// Options with no field at its default, all inside the dialog's ranges.
void Unusual(TConfigTermOptions& o)
{
    o.FontFace = u"Mono";
    o.FontSize = 14;
    o.TextColor = 0x123456;
    o.BGColor = 0x654321;
    o.DisplayColumns = 100;
    o.DisplayRows = 50;
    o.DisplayTabSize = 4;
    o.PasteTextLineDelayMS = 250;
    o.AbortPasteOnForthError = false;
    o.BackspaceErases = false;
    o.CrIsNewLine = true;
    o.AllowedCtrlCodes.Bits = 0x15A5A5;
    o.EditorTabSize = 3;
    o.EditFontFace = u"Edit Mono";
    o.EditFontSize = 12;
    o.EditCompileStartsLine = true;
    o.EditWordWrapBlockFile = true;
    o.EditSyncBlockFile = true;
    o.EditorCaptionBlocks = 2;
    o.EditorUseSyntaxHighlighting = false;
    o.EditorBgColor = 1;
    o.EditorBaseWordColor = 2;
    o.EditorCompiledWordColor = 3;
    o.EditorNumericColor = 4;
    o.EditorStringColor = 5;
    o.EditorCommentColor = 6;
    o.EditorSymbolColor = 7;
    o.EditorMaxNumericBase = 20;
    o.ComPortName = u"/dev/serial/by-id/usb-FTDI-if00-port0";
    TComOptions& c = o.ComPortOptions;
    c.SetBaudRate(Com_br57600);
    c.SetParity(Com_pMark);
    c.SetDataBits(Com_dbSeven);
    c.SetStopBits(Com_sbTwo);
    c.HardwareFlow().SetTxDtrState(Com_dtrHandshake);
    c.HardwareFlow().SetRxRTSState(Com_rtsToggle);
    c.HardwareFlow().SetTxUseCtsFlow(true);
    c.HardwareFlow().SetTxUseDsrFlow(true);
    c.SoftwareFlow().SetTxFlow(true);
    c.SoftwareFlow().SetRxFlow(true);
    c.SoftwareFlow().SetXonChar(5);
    c.SoftwareFlow().SetXoffChar(200);
}

TEST(ConfigTerm, FillingAndReadingBackKeepsEveryOption)
{
    TConfigTermOptions options;
    Unusual(options);
    const UnicodeString before = Stored(options);
    TConfigTerm dialog;
    dialog.SetOptions(options);
    TConfigTermOptions read;
    dialog.GetOptions(read);
    EXPECT_EQ(Stored(read), before);
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
    for (const Case& k : {Case{u"x1", u"", 19, 17}, Case{u"17", u"19", 17, 19}, Case{u" 3", u"99", 3, 99}}) {
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
