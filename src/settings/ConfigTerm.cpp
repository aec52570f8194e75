#include "settings/ConfigTerm.h"

const std::array<const char16_t*, 21> CtrlCodeCaptions = {
    u" (0) Clear screen",        u" (1) Home cursor",       u" (2) Position cursor [x,y]",
    u" (3) Move cursor left",    u" (4) Move cursor right", u" (5) Move cursor up",
    u" (6) Move cursor down",    u" (7) Beep speaker",      u" (8) Backspace",
    u" (9) Tab",                 u" (10) Line feed",        u" (11) Clear to end of line",
    u" (12) Clear lines below",  u" (13) Carriage return",  u" (14) Position cursor [x]",
    u" (15) Position cursor [y]", u"(16) Clear Screen",     u" (17) Show cursor",
    u" (18) Hide cursor",        u" (19) Get x,y",          u" (20) Get Max X   Y",
};

const std::array<const char16_t*, 16> BaudRateItems = {
    u"110",   u"300",   u"600",    u"1200",   u"2400",   u"4800",   u"9600",   u"14400",
    u"19200", u"38400", u"57600",  u"115200", u"128000", u"230400", u"256000", u"460800",
};

const std::array<const char16_t*, 3> DtrControlItems = {u"Disabled", u"Enabled", u"Handshake"};
const std::array<const char16_t*, 4> RtsControlItems = {u"Disabled", u"Enabled", u"Handshake", u"Toggle"};

const std::array<const char16_t*, 4> CaptionBlocksItems = {
    u"No block captions", u"Printable comment at start of first block", u"Comment at start of all blocks",
    u"Printable comment at start of all blocks"};

namespace {

constexpr std::uint8_t DefaultXon = 19;
constexpr std::uint8_t DefaultXoff = 17;
constexpr TSpinRange FontSizeRange{8, 22};

/// The decimal text of a flow character as one byte; the default when it is not a number that
/// one byte holds.
std::uint8_t FlowChar(const UnicodeString& text, std::uint8_t fallback)
{
    const int value = StrToIntDef(Trim(text), -1);
    return value < 0 || value > 255 ? fallback : std::uint8_t(value);
}

template <typename Enum>
void SetIfSelected(int index, int count, Enum& value)
{
    if (index >= 0 && index < count) value = Enum(index);
}

}  // namespace

void ComOptionsToControls(TComOptions& options, const UnicodeString& portName, TConfigTermControls& c)
{
    c.ComPortID = portName;
    c.BaudRate = options.BaudRate();
    c.Parity = options.Parity();
    c.DataBits = options.DataBits();
    c.StopBits = options.StopBits();
    TComHardwareFlow& hardware = options.HardwareFlow();
    c.DtrControl = hardware.TxDtrState();
    c.RtsControl = hardware.RxRTSState();
    c.UseCtsFlow = hardware.TxUseCtsFlow();
    c.UseDsrFlow = hardware.TxUseDsrFlow();
    TComSoftwareFlow& software = options.SoftwareFlow();
    c.UseTxXFlow = software.TxFlow();
    c.UseRxXFlow = software.RxFlow();
    c.XonChar = IntToStr(software.XonChar());
    c.XoffChar = IntToStr(software.XoffChar());
}

void ControlsToComOptions(const TConfigTermControls& c, TComOptions& options, UnicodeString& portName)
{
    TComParity parity = options.Parity();
    SetIfSelected(c.Parity, 4, parity);
    options.SetParity(parity);
    TComDataBits dataBits = options.DataBits();
    SetIfSelected(c.DataBits, 3, dataBits);
    options.SetDataBits(dataBits);
    TComStopBits stopBits = options.StopBits();
    SetIfSelected(c.StopBits, 3, stopBits);
    options.SetStopBits(stopBits);
    TComBaudRate baud = options.BaudRate();
    SetIfSelected(c.BaudRate, int(BaudRateItems.size()), baud);
    options.SetBaudRate(baud);

    TComHardwareFlow& hardware = options.HardwareFlow();
    TComDtrState dtr = hardware.TxDtrState();
    SetIfSelected(c.DtrControl, int(DtrControlItems.size()), dtr);
    hardware.SetTxDtrState(dtr);
    TComRtsState rts = hardware.RxRTSState();
    SetIfSelected(c.RtsControl, int(RtsControlItems.size()), rts);
    hardware.SetRxRTSState(rts);
    hardware.SetTxUseCtsFlow(c.UseCtsFlow);
    hardware.SetTxUseDsrFlow(c.UseDsrFlow);

    TComSoftwareFlow& software = options.SoftwareFlow();
    software.SetTxFlow(c.UseTxXFlow);
    software.SetRxFlow(c.UseRxXFlow);
    software.SetXonChar(FlowChar(c.XonChar, DefaultXon));
    software.SetXoffChar(FlowChar(c.XoffChar, DefaultXoff));
    // A device name or path is kept as typed; only blanks around it are never part of it.
    portName = Trim(c.ComPortID);
}

TConfigTerm::TConfigTerm()
{
    fControls.Parity = Com_pNone;
    fControls.BaudRate = Com_br1200;
    fControls.DataBits = Com_dbEight;
    fControls.StopBits = Com_sbOne;
    fControls.DtrControl = Com_dtrDisabled;
    fControls.RtsControl = Com_rtsDisabled;
    fControls.XonChar = u"19";
    fControls.XoffChar = u"17";
    fControls.ComPortID = u"COM2";
}

void TConfigTerm::SetOptions(TConfigTermOptions& o)
{
    TConfigTermControls& c = fControls;
    c.BgColor = o.BGColor;
    c.TextColor = o.TextColor;
    c.FontFace = o.FontFace;
    c.FontSize = o.FontSize;
    c.DisplayColumns = DisplayColumnsRange.Clamp(o.DisplayColumns);
    c.DisplayRows = DisplayRowsRange.Clamp(o.DisplayRows);
    c.PasteLineDelay = PasteLineDelayRange.Clamp(int(std::min<std::uint32_t>(o.PasteTextLineDelayMS, 1u << 30)));
    c.DisplayTabSize = TabSizeRange.Clamp(o.DisplayTabSize);
    c.AbortPasteOnForthError = o.AbortPasteOnForthError;
    c.Obeyed = o.AllowedCtrlCodes;
    c.CrIsNewLine = o.CrIsNewLine;
    c.BackspaceErases = o.BackspaceErases;
    c.EditFontFace = o.EditFontFace;
    c.EditFontSize = o.EditFontSize;
    c.EditorTabSize = TabSizeRange.Clamp(o.EditorTabSize);
    c.EditorBgColor = o.EditorBgColor;
    c.EditorUseSyntaxHighlighting = o.EditorUseSyntaxHighlighting;
    c.EditorBaseWordColor = o.EditorBaseWordColor;
    c.EditorCompiledWordColor = o.EditorCompiledWordColor;
    c.EditorNumericColor = o.EditorNumericColor;
    c.EditorStringColor = o.EditorStringColor;
    c.EditorCommentColor = o.EditorCommentColor;
    c.EditorSymbolColor = o.EditorSymbolColor;
    c.EditorMaxNumericBase = MaxNumericBaseRange.Clamp(o.EditorMaxNumericBase);
    c.EditCompileStartsLine = o.EditCompileStartsLine;
    c.EditWordWrapBlockFile = o.EditWordWrapBlockFile;
    c.EditSyncBlockFile = o.EditSyncBlockFile;
    c.EditorCaptionBlocks = o.EditorCaptionBlocks & 3;
    ComOptionsToControls(o.ComPortOptions, o.ComPortName, c);
    Push();
}

void TConfigTerm::GetOptions(TConfigTermOptions& o)
{
    Pull();
    const TConfigTermControls& c = fControls;
    o.FontFace = c.FontFace;
    o.FontSize = c.FontSize;
    o.TextColor = c.TextColor;
    o.BGColor = c.BgColor;
    o.DisplayColumns = c.DisplayColumns;
    o.DisplayRows = c.DisplayRows;
    o.PasteTextLineDelayMS = std::uint32_t(c.PasteLineDelay);
    o.DisplayTabSize = c.DisplayTabSize;
    o.AbortPasteOnForthError = c.AbortPasteOnForthError;
    o.AllowedCtrlCodes = c.Obeyed;
    o.CrIsNewLine = c.CrIsNewLine;
    o.BackspaceErases = c.BackspaceErases;
    o.EditFontFace = c.EditFontFace;
    o.EditFontSize = c.EditFontSize;
    o.EditorTabSize = c.EditorTabSize;
    o.EditorBgColor = c.EditorBgColor;
    o.EditorUseSyntaxHighlighting = c.EditorUseSyntaxHighlighting;
    o.EditorBaseWordColor = c.EditorBaseWordColor;
    o.EditorCompiledWordColor = c.EditorCompiledWordColor;
    o.EditorNumericColor = c.EditorNumericColor;
    o.EditorStringColor = c.EditorStringColor;
    o.EditorCommentColor = c.EditorCommentColor;
    o.EditorSymbolColor = c.EditorSymbolColor;
    o.EditorMaxNumericBase = c.EditorMaxNumericBase;
    o.EditCompileStartsLine = c.EditCompileStartsLine;
    o.EditWordWrapBlockFile = c.EditWordWrapBlockFile;
    o.EditSyncBlockFile = c.EditSyncBlockFile;
    o.EditorCaptionBlocks = c.EditorCaptionBlocks;
    ControlsToComOptions(c, o.ComPortOptions, o.ComPortName);
}

TModalResult TConfigTerm::ShowModal()
{
    return fView ? fView->ShowModal() : TModalResult::mrCancel;
}

void TConfigTerm::ToggleCtrlCode(int code)
{
    if (code < CTRL_0 || code > CTRL_20) return;
    Pull();
    if (fControls.Obeyed.Contains(unsigned(code)))
        fControls.Obeyed.Exclude(TConfigTermCtrlCode(code));
    else
        fControls.Obeyed.Include(TConfigTermCtrlCode(code));
    Push();
}

bool TConfigTerm::ChooseFont(UnicodeString& face, int& size)
{
    TFont font;
    font.Name = face;
    font.SetSize(FontSizeRange.Clamp(size));
    // Both fonts draw on grids of equal cells.
    if (!Dialogs::Current().ChooseFont(font, true)) return false;
    face = font.Name;
    size = FontSizeRange.Clamp(font.Size());
    return true;
}

void TConfigTerm::TerminalFontClick()
{
    Pull();
    if (ChooseFont(fControls.FontFace, fControls.FontSize)) Push();
}

void TConfigTerm::EditorFontClick()
{
    Pull();
    if (ChooseFont(fControls.EditFontFace, fControls.EditFontSize)) Push();
}

void TConfigTerm::BrowseComPortsClick()
{
    if (!fPortChooser) return;
    Pull();
    const UnicodeString port = fPortChooser->ChoosePort(Trim(fControls.ComPortID));
    if (port.empty()) return;
    fControls.ComPortID = port;
    Push();
}

void TConfigTerm::SetSystemDefaultsClick()
{
    Pull();
    TComOptions options;
    UnicodeString name;
    ControlsToComOptions(fControls, options, name);
    if (options.SetDefaultComOptions(name))
        Dialogs::Current().MessageBox(u"", u"System default serial port settings for port " + name + u" are updated.",
                                      TMsgDlgType::mtInformation, TMsgButtons::OK);
    else
        Dialogs::Current().MessageBox(u"",
                                      u"Unable to update system default serial port settings for port " + name + u" !",
                                      TMsgDlgType::mtError, TMsgButtons::OK);
}

void TConfigTerm::Pull()
{
    if (fView) fView->ReadControls(fControls);
}

void TConfigTerm::Push()
{
    if (fView) fView->ControlsChanged(fControls);
}
