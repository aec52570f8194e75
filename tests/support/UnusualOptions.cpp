#include "support/UnusualOptions.h"

#include "app/SettingsFile.h"

UnicodeString StoredOptions(const TConfigTermOptions& options)
{
    TNrKeyValueSections store;
    StoreSettings(options, store);
    TStringList lines;
    store.SaveToStrings(lines);
    return lines.Text();
}

void SetUnusualOptions(TConfigTermOptions& o)
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
