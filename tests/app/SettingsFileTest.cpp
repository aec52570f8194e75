#include "app/SettingsFile.h"

#include <gtest/gtest.h>
#include "support/TempFolder.h"
#include "support/UnusualOptions.h"
#include "terminal/SimpleTerminal.h"

namespace {

constexpr const char* FreshSettingsFile =
    "[COM PORT]\r\nPortName=\r\nBaudRate=3\r\nParity=0\r\nDataBits=2\r\nStopBits=0\r\nRxFlow=0\r\nTxFlow=0\r\n"
    "XonChar=0\r\nXoffChar=0\r\nTxDtrState=0\r\nRxRTSState=0\r\nTxUseCtsFlow=0\r\nTxUseDsrFlow=0\r\n"
    "TxDsrSensitivity=0\r\n"
    "[TCP PORT]\r\nHostAddress=\r\nHostPort=\r\n"
    "[DISPLAY]\r\nFontFace=Lucidia Console\r\nFontSize=10\r\nTextColor=65535\r\nBGColor=8388608\r\n"
    "DisplayColumns=80\r\nDisplayRows=100\r\nDisplayTabSize=8\r\nPasteTextLineDelayMS=100\r\n"
    "AbortPasteOnForthError=1\r\nBackspaceErases=1\r\nCrIsNewLine=0\r\nAllowedCtrlCodes=1048575\r\n"
    "[EDITOR]\r\nEditorTabSize=8\r\nEditorBgColor=15793151\r\nEditorUseSyntaxHighlighting=1\r\n"
    "EditorBaseWordColor=8388608\r\nEditorCompiledWordColor=8388736\r\nEditorNumericColor=255\r\n"
    "EditorStringColor=16711680\r\nEditorCommentColor=32768\r\nEditorSymbolColor=0\r\nEditFontFace=\r\n"
    "EditFontSize=0\r\nEditCompileStartsLine=0\r\nEditWordWrapBlockFile=0\r\nEditSyncBlockFile=0\r\n"
    "EditorCaptionBlocks=0\r\nEditorMaxNumericBase=16\r\n";

TNrKeyValueSections Parsed(std::u16string_view text)
{
    TStringList lines;
    lines.SetText(text);
    TNrKeyValueSections store;
    store.LoadFromStrings(lines);
    return store;
}

void ChangeEveryOption(TConfigTermOptions& o)
{
    o.FontFace = u"DejaVu Sans Mono";
    o.FontSize = 14;
    o.TextColor = 0x123456;
    o.BGColor = -16;
    o.DisplayColumns = 132;
    o.DisplayRows = 200;
    o.DisplayTabSize = 4;
    o.PasteTextLineDelayMS = 3000000000u;
    o.AbortPasteOnForthError = false;
    o.BackspaceErases = false;
    o.CrIsNewLine = true;
    o.AllowedCtrlCodes.Bits = 0x100005;
    o.EditorTabSize = 2;
    o.EditFontFace = u"Monospace";
    o.EditFontSize = 11;
    o.EditCompileStartsLine = true;
    o.EditWordWrapBlockFile = true;
    o.EditSyncBlockFile = true;
    o.EditorCaptionBlocks = 3;
    o.EditorUseSyntaxHighlighting = false;
    o.EditorBgColor = 1;
    o.EditorBaseWordColor = 2;
    o.EditorCompiledWordColor = 3;
    o.EditorNumericColor = 4;
    o.EditorStringColor = 5;
    o.EditorCommentColor = 6;
    o.EditorSymbolColor = 7;
    o.EditorMaxNumericBase = 32;
    o.ComPortName = u"ttyUSB0";
    o.TcpHostAddress = u"192.168.1.20";
    o.TcpHostPort = u"2323";
    TComOptions& com = o.ComPortOptions;
    com.SetBaudRate(Com_br115200);
    com.SetParity(Com_pOdd);
    com.SetDataBits(Com_dbSeven);
    com.SetStopBits(Com_sbTwo);
    com.SoftwareFlow().SetRxFlow(true);
    com.SoftwareFlow().SetTxFlow(true);
    com.SoftwareFlow().SetXonChar(17);
    com.SoftwareFlow().SetXoffChar(19);
    com.HardwareFlow().SetTxDtrState(Com_dtrHandshake);
    com.HardwareFlow().SetRxRTSState(Com_rtsToggle);
    com.HardwareFlow().SetTxUseCtsFlow(true);
    com.HardwareFlow().SetTxUseDsrFlow(true);
    com.HardwareFlow().SetTxDsrSensitivity(true);
}

class SettingsFileTest : public ::testing::Test {
protected:
    TempFolder tmp;
    AppDataAt appData{tmp.Path("appdata")};
};

} // namespace

TEST_F(SettingsFileTest, FreshOptionsWriteTheFileByteForByte)
{
    EXPECT_EQ(SettingsFileName(), FromUtf8(tmp.Path("appdata/Brennix/Config/Brennix.config")));
    ASSERT_EQ(SaveSettingsFile(TConfigTermOptions(), SettingsFileName()), u"");
    EXPECT_EQ(tmp.Read("appdata/Brennix/Config/Brennix.config"), FreshSettingsFile);
}

TEST_F(SettingsFileTest, ChangedOptionsRoundTrip)
{
    TConfigTermOptions changed;
    ChangeEveryOption(changed);
    ASSERT_EQ(SaveSettingsFile(changed, SettingsFileName()), u"");

    TConfigTermOptions loaded;
    ASSERT_TRUE(LoadSettingsFile(loaded, SettingsFileName()));
    EXPECT_EQ(StoredOptions(loaded), StoredOptions(changed));
    EXPECT_NE(StoredOptions(loaded), FromAnsi(FreshSettingsFile));
    EXPECT_EQ(loaded.PasteTextLineDelayMS, 3000000000u);
    EXPECT_EQ(loaded.BGColor, -16);
    EXPECT_EQ(loaded.ComPortOptions.DCB(), changed.ComPortOptions.DCB());
    EXPECT_EQ(loaded.ComPortOptions.HardwareFlow().TxDtrState(), Com_dtrHandshake);
}

TEST_F(SettingsFileTest, HandEditedFileAppliesWhatItCan)
{
    tmp.Write("edited.config", "; my settings\n"
                               "[display]\n"
                               "DisplayRows = 50\n"
                               "FontSize=twelve\n"
                               "AllowedCtrlCodes=2097151\n"
                               "just some garbage\n"
                               "[EDITOR]\n"
                               "EditorMaxNumericBase=10\n"
                               "[COM PORT]\n"
                               "RxFlow=true\n"
                               "TxFlow=1\n"
                               "BaudRate=6\n"
                               "XonChar=255\n"
                               "[Unknown Section]\n"
                               "x=y\n");
    TConfigTermOptions options;
    ASSERT_TRUE(LoadSettingsFile(options, tmp.Name("edited.config")));
    EXPECT_EQ(options.DisplayRows, 50);
    EXPECT_EQ(options.FontSize, 10);
    EXPECT_TRUE(options.AllowedCtrlCodes.Contains(CTRL_20));
    EXPECT_EQ(options.EditorMaxNumericBase, 10);
    EXPECT_FALSE(options.ComPortOptions.SoftwareFlow().RxFlow());
    EXPECT_TRUE(options.ComPortOptions.SoftwareFlow().TxFlow());
    EXPECT_EQ(options.ComPortOptions.BaudRate(), Com_br9600);
    EXPECT_EQ(options.ComPortOptions.SoftwareFlow().XonChar(), 255);
    EXPECT_EQ(options.DisplayColumns, 80);
}

TEST_F(SettingsFileTest, ValuesOutOfRangeKeepTheOption)
{
    const char16_t* cases[] = {
        u"BaudRate=16",   u"BaudRate=-1",   u"Parity=4",       u"Parity=-1",    u"DataBits=3",
        u"StopBits=3",    u"XonChar=256",   u"XoffChar=-1",    u"TxDtrState=3", u"RxRTSState=4",
        u"RxRTSState=-2",
    };
    for (const char16_t* line : cases) {
        TConfigTermOptions options;
        ReadConnectionSettings(options, Parsed(u"[COM PORT]\nBaudRate=6\nParity=1\nDataBits=1\nStopBits=2\n"
                                               u"XonChar=19\nXoffChar=17\nTxDtrState=1\nRxRTSState=2"));
        TComDcb before = options.ComPortOptions.DCB();
        ReadConnectionSettings(options, Parsed(UnicodeString(u"[COM PORT]\n") + line));
        EXPECT_EQ(options.ComPortOptions.DCB(), before) << ToUtf8(line);
    }
    TConfigTermOptions options;
    ReadDisplaySettings(options, Parsed(u"[DISPLAY]\nPasteTextLineDelayMS=-5\nAllowedCtrlCodes=1048575"));
    EXPECT_EQ(options.PasteTextLineDelayMS, 100u);
    EXPECT_FALSE(options.AllowedCtrlCodes.Contains(CTRL_20));
    EXPECT_TRUE(options.AllowedCtrlCodes.Contains(CTRL_19));
    ReadDisplaySettings(options, Parsed(u"[DISPLAY]\nAllowedCtrlCodes=-1"));
    EXPECT_EQ(options.AllowedCtrlCodes, TConfigTermCtrlCodes::All());
}

TEST_F(SettingsFileTest, MissingOrUnreadableFileChangesNothing)
{
    TConfigTermOptions options;
    options.DisplayRows = 42;
    EXPECT_FALSE(LoadSettingsFile(options, tmp.Name("missing.config")));
    std::filesystem::create_directory(tmp.Path("folder.config"));
    EXPECT_FALSE(LoadSettingsFile(options, tmp.Name("folder.config")));
    EXPECT_EQ(options.DisplayRows, 42);
}

TEST_F(SettingsFileTest, UnwritableFolderIsReportedNotThrown)
{
    tmp.Write("plain", "a file, not a folder");
    UnicodeString error;
    EXPECT_NO_THROW(error = SaveSettingsFile(TConfigTermOptions(), tmp.Name("plain/Brennix.config")));
    EXPECT_NE(error, u"");
}

TEST_F(SettingsFileTest, SameComPortSettings)
{
    TConfigTermOptions options;
    TNrKeyValueSections a, b;
    EXPECT_TRUE(SameComPortSettings(a, b));
    WriteConnectionSettings(options, a);
    EXPECT_FALSE(SameComPortSettings(a, b));
    EXPECT_FALSE(SameComPortSettings(b, a));
    WriteConnectionSettings(options, b);
    EXPECT_TRUE(SameComPortSettings(a, b));
    options.TcpHostPort = u"23";
    WriteConnectionSettings(options, b);
    EXPECT_TRUE(SameComPortSettings(a, b));
    options.ComPortOptions.SetParity(Com_pEven);
    WriteConnectionSettings(options, b);
    EXPECT_FALSE(SameComPortSettings(a, b));
    a.Assign(&b);
    a.SetValue(u"COM PORT", u"Extra", u"");
    EXPECT_FALSE(SameComPortSettings(a, b));
}

TEST_F(SettingsFileTest, FileWithoutDisplaySectionStillAppliesTheDefaults)
{
    tmp.Write("nodisplay.config", "[TCP PORT]\r\nHostPort=23\r\n");
    TConfigTermOptions options;
    ASSERT_TRUE(LoadSettingsFile(options, tmp.Name("nodisplay.config")));
    EXPECT_EQ(options.TcpHostPort, u"23");

    TSimpleTerminal terminal;
    ApplyTerminalOptions(options, terminal);
    EXPECT_EQ(terminal.Rows(), 100);
    EXPECT_EQ(terminal.Columns(), 80);
    EXPECT_EQ(terminal.Color(), clNavy);
    EXPECT_EQ(terminal.Font().Color, clYellow);
    EXPECT_EQ(terminal.Font().Name, u"Lucidia Console");
    EXPECT_EQ(terminal.HorzTabSpacing(), 8);
}

TEST_F(SettingsFileTest, TerminalOptionsCollectAsApplied)
{
    TConfigTermOptions options;
    options.BGColor = 0x102030;
    options.TextColor = 0x405060;
    options.FontFace = u"Monospace";
    options.FontSize = 12;
    options.DisplayColumns = 100;
    options.DisplayRows = 60;
    options.DisplayTabSize = 4;
    TSimpleTerminal terminal;
    ApplyTerminalOptions(options, terminal);
    EXPECT_EQ(terminal.HorzTabSpacing(), 4);

    TConfigTermOptions collected;
    CollectTerminalOptions(terminal, collected);
    EXPECT_EQ(collected.BGColor, options.BGColor);
    EXPECT_EQ(collected.TextColor, options.TextColor);
    EXPECT_EQ(collected.FontFace, options.FontFace);
    EXPECT_EQ(collected.FontSize, 12);
    EXPECT_EQ(collected.DisplayColumns, 100);
    EXPECT_EQ(collected.DisplayRows, 60);
}
