#include "app/SettingsFile.h"

#include <limits>
#include "terminal/SimpleTerminal.h"

namespace {

constexpr char16_t ComPortSection[] = u"COM PORT";
constexpr char16_t TcpPortSection[] = u"TCP PORT";
constexpr char16_t DisplaySection[] = u"DISPLAY";
constexpr char16_t EditorSection[] = u"EDITOR";

constexpr std::uint32_t CtrlCodeBits = (1u << 21) - 1;

/// Reads an ordinal or a code into the range 0..last; anything else leaves value as it was.
template <typename T>
bool ReadRange(const TNrKeyValueSections& store, const char16_t* section, const char16_t* key, T current,
               int last, T& value)
{
    int read = store.ReadInteger(section, key, int(current));
    if (read < 0 || read > last) return false;
    value = T(read);
    return true;
}

void ReadString(const TNrKeyValueSections& store, const char16_t* section, const char16_t* key,
                UnicodeString& option)
{
    option = store.ReadString(section, key, option);
}

void ReadInteger(const TNrKeyValueSections& store, const char16_t* section, const char16_t* key,
                 std::int32_t& option)
{
    option = store.ReadInteger(section, key, option);
}

void ReadBool(const TNrKeyValueSections& store, const char16_t* section, const char16_t* key, bool& option)
{
    option = store.ReadBool(section, key, option);
}

} // namespace

UnicodeString SettingsFileName()
{
    return GetConfigFolder() + u"Brennix.config";
}

UnicodeString UserLayoutFileName()
{
    return GetConfigFolder() + u"Brennix.layout";
}

UnicodeString DefaultLayoutFileName()
{
    return GetConfigFolder() + u"Brennix.Default.layout";
}

void WriteConnectionSettings(const TConfigTermOptions& options, TNrKeyValueSections& store)
{
    // The flow views refresh themselves from the control block when read, so they are read from
    // a copy.
    TComOptions com;
    com.Assign(&options.ComPortOptions);
    const TComSoftwareFlow& soft = com.SoftwareFlow();
    const TComHardwareFlow& hard = com.HardwareFlow();
    store.DeleteSection(ComPortSection);
    store.WriteString(ComPortSection, u"PortName", options.ComPortName);
    store.WriteInteger(ComPortSection, u"BaudRate", com.BaudRate());
    store.WriteInteger(ComPortSection, u"Parity", com.Parity());
    store.WriteInteger(ComPortSection, u"DataBits", com.DataBits());
    store.WriteInteger(ComPortSection, u"StopBits", com.StopBits());
    store.WriteBool(ComPortSection, u"RxFlow", soft.RxFlow());
    store.WriteBool(ComPortSection, u"TxFlow", soft.TxFlow());
    store.WriteInteger(ComPortSection, u"XonChar", soft.XonChar());
    store.WriteInteger(ComPortSection, u"XoffChar", soft.XoffChar());
    store.WriteInteger(ComPortSection, u"TxDtrState", hard.TxDtrState());
    store.WriteInteger(ComPortSection, u"RxRTSState", hard.RxRTSState());
    store.WriteBool(ComPortSection, u"TxUseCtsFlow", hard.TxUseCtsFlow());
    store.WriteBool(ComPortSection, u"TxUseDsrFlow", hard.TxUseDsrFlow());
    store.WriteBool(ComPortSection, u"TxDsrSensitivity", hard.TxDsrSensitivity());

    store.DeleteSection(TcpPortSection);
    store.WriteString(TcpPortSection, u"HostAddress", options.TcpHostAddress);
    store.WriteString(TcpPortSection, u"HostPort", options.TcpHostPort);
}

void WriteDisplaySettings(const TConfigTermOptions& options, TNrKeyValueSections& store)
{
    store.DeleteSection(DisplaySection);
    store.WriteString(DisplaySection, u"FontFace", options.FontFace);
    store.WriteInteger(DisplaySection, u"FontSize", options.FontSize);
    store.WriteInteger(DisplaySection, u"TextColor", options.TextColor);
    store.WriteInteger(DisplaySection, u"BGColor", options.BGColor);
    store.WriteInteger(DisplaySection, u"DisplayColumns", options.DisplayColumns);
    store.WriteInteger(DisplaySection, u"DisplayRows", options.DisplayRows);
    store.WriteInteger(DisplaySection, u"DisplayTabSize", options.DisplayTabSize);
    store.WriteInt64(DisplaySection, u"PasteTextLineDelayMS", options.PasteTextLineDelayMS);
    store.WriteBool(DisplaySection, u"AbortPasteOnForthError", options.AbortPasteOnForthError);
    store.WriteBool(DisplaySection, u"BackspaceErases", options.BackspaceErases);
    store.WriteBool(DisplaySection, u"CrIsNewLine", options.CrIsNewLine);
    store.WriteInteger(DisplaySection, u"AllowedCtrlCodes", int(options.AllowedCtrlCodes.Bits & CtrlCodeBits));

    store.WriteInteger(EditorSection, u"EditorTabSize", options.EditorTabSize);
    store.WriteInteger(EditorSection, u"EditorBgColor", options.EditorBgColor);
    store.WriteBool(EditorSection, u"EditorUseSyntaxHighlighting", options.EditorUseSyntaxHighlighting);
    store.WriteInteger(EditorSection, u"EditorBaseWordColor", options.EditorBaseWordColor);
    store.WriteInteger(EditorSection, u"EditorCompiledWordColor", options.EditorCompiledWordColor);
    store.WriteInteger(EditorSection, u"EditorNumericColor", options.EditorNumericColor);
    store.WriteInteger(EditorSection, u"EditorStringColor", options.EditorStringColor);
    store.WriteInteger(EditorSection, u"EditorCommentColor", options.EditorCommentColor);
    store.WriteInteger(EditorSection, u"EditorSymbolColor", options.EditorSymbolColor);
    store.WriteString(EditorSection, u"EditFontFace", options.EditFontFace);
    store.WriteInteger(EditorSection, u"EditFontSize", options.EditFontSize);
    store.WriteBool(EditorSection, u"EditCompileStartsLine", options.EditCompileStartsLine);
    store.WriteBool(EditorSection, u"EditWordWrapBlockFile", options.EditWordWrapBlockFile);
    store.WriteBool(EditorSection, u"EditSyncBlockFile", options.EditSyncBlockFile);
    store.WriteInteger(EditorSection, u"EditorCaptionBlocks", options.EditorCaptionBlocks);
    store.WriteInteger(EditorSection, u"EditorMaxNumericBase", options.EditorMaxNumericBase);
}

void StoreSettings(const TConfigTermOptions& options, TNrKeyValueSections& store)
{
    store.Clear();
    WriteConnectionSettings(options, store);
    WriteDisplaySettings(options, store);
}

void ReadConnectionSettings(TConfigTermOptions& options, const TNrKeyValueSections& store)
{
    TComOptions& com = options.ComPortOptions;
    const char16_t* s = ComPortSection;
    ReadString(store, s, u"PortName", options.ComPortName);
    TComBaudRate rate{};
    if (ReadRange(store, s, u"BaudRate", com.BaudRate(), Com_br460800, rate)) com.SetBaudRate(rate);
    TComParity parity{};
    if (ReadRange(store, s, u"Parity", com.Parity(), Com_pMark, parity)) com.SetParity(parity);
    TComDataBits dataBits{};
    if (ReadRange(store, s, u"DataBits", com.DataBits(), Com_dbEight, dataBits)) com.SetDataBits(dataBits);
    TComStopBits stopBits{};
    if (ReadRange(store, s, u"StopBits", com.StopBits(), Com_sbTwo, stopBits)) com.SetStopBits(stopBits);

    TComSoftwareFlow& soft = com.SoftwareFlow();
    soft.SetRxFlow(store.ReadBool(s, u"RxFlow", soft.RxFlow()));
    soft.SetTxFlow(store.ReadBool(s, u"TxFlow", soft.TxFlow()));
    std::uint8_t code = 0;
    if (ReadRange(store, s, u"XonChar", soft.XonChar(), 255, code)) soft.SetXonChar(code);
    if (ReadRange(store, s, u"XoffChar", soft.XoffChar(), 255, code)) soft.SetXoffChar(code);

    TComHardwareFlow& hard = com.HardwareFlow();
    TComDtrState dtr{};
    if (ReadRange(store, s, u"TxDtrState", hard.TxDtrState(), Com_dtrHandshake, dtr)) hard.SetTxDtrState(dtr);
    TComRtsState rts{};
    if (ReadRange(store, s, u"RxRTSState", hard.RxRTSState(), Com_rtsToggle, rts)) hard.SetRxRTSState(rts);
    hard.SetTxUseCtsFlow(store.ReadBool(s, u"TxUseCtsFlow", hard.TxUseCtsFlow()));
    hard.SetTxUseDsrFlow(store.ReadBool(s, u"TxUseDsrFlow", hard.TxUseDsrFlow()));
    hard.SetTxDsrSensitivity(store.ReadBool(s, u"TxDsrSensitivity", hard.TxDsrSensitivity()));

    ReadString(store, TcpPortSection, u"HostAddress", options.TcpHostAddress);
    ReadString(store, TcpPortSection, u"HostPort", options.TcpHostPort);
}

void ReadDisplaySettings(TConfigTermOptions& options, const TNrKeyValueSections& store)
{
    const char16_t* d = DisplaySection;
    ReadString(store, d, u"FontFace", options.FontFace);
    ReadInteger(store, d, u"FontSize", options.FontSize);
    ReadInteger(store, d, u"TextColor", options.TextColor);
    ReadInteger(store, d, u"BGColor", options.BGColor);
    ReadInteger(store, d, u"DisplayColumns", options.DisplayColumns);
    ReadInteger(store, d, u"DisplayRows", options.DisplayRows);
    ReadInteger(store, d, u"DisplayTabSize", options.DisplayTabSize);
    std::int64_t delay = store.ReadInt64(d, u"PasteTextLineDelayMS", options.PasteTextLineDelayMS);
    if (delay >= 0 && delay <= std::numeric_limits<std::uint32_t>::max())
        options.PasteTextLineDelayMS = std::uint32_t(delay);
    ReadBool(store, d, u"AbortPasteOnForthError", options.AbortPasteOnForthError);
    ReadBool(store, d, u"BackspaceErases", options.BackspaceErases);
    ReadBool(store, d, u"CrIsNewLine", options.CrIsNewLine);
    options.AllowedCtrlCodes.Bits =
        std::uint32_t(store.ReadInteger(d, u"AllowedCtrlCodes", int(options.AllowedCtrlCodes.Bits))) & CtrlCodeBits;

    const char16_t* e = EditorSection;
    ReadInteger(store, e, u"EditorTabSize", options.EditorTabSize);
    ReadBool(store, e, u"EditorUseSyntaxHighlighting", options.EditorUseSyntaxHighlighting);
    ReadInteger(store, e, u"EditorBgColor", options.EditorBgColor);
    ReadInteger(store, e, u"EditorBaseWordColor", options.EditorBaseWordColor);
    ReadInteger(store, e, u"EditorCompiledWordColor", options.EditorCompiledWordColor);
    ReadInteger(store, e, u"EditorNumericColor", options.EditorNumericColor);
    ReadInteger(store, e, u"EditorStringColor", options.EditorStringColor);
    ReadInteger(store, e, u"EditorCommentColor", options.EditorCommentColor);
    ReadInteger(store, e, u"EditorSymbolColor", options.EditorSymbolColor);
    ReadString(store, e, u"EditFontFace", options.EditFontFace);
    ReadInteger(store, e, u"EditFontSize", options.EditFontSize);
    ReadBool(store, e, u"EditCompileStartsLine", options.EditCompileStartsLine);
    ReadBool(store, e, u"EditWordWrapBlockFile", options.EditWordWrapBlockFile);
    ReadBool(store, e, u"EditSyncBlockFile", options.EditSyncBlockFile);
    ReadInteger(store, e, u"EditorCaptionBlocks", options.EditorCaptionBlocks);
    ReadInteger(store, e, u"EditorMaxNumericBase", options.EditorMaxNumericBase);
}

bool SameComPortSettings(const TNrKeyValueSections& a, const TNrKeyValueSections& b)
{
    const TNrKeyValueList* x = a.FindSection(ComPortSection);
    const TNrKeyValueList* y = b.FindSection(ComPortSection);
    if (!x || !y) return !x && !y;
    if (x->KeyCount() != y->KeyCount()) return false;
    for (int i = 0; i < x->KeyCount(); ++i)
        if (x->KeyValueAt(i) != y->KeyValueAt(i)) return false;
    return true;
}

UnicodeString SaveSettingsFile(const TConfigTermOptions& options, const UnicodeString& fileName)
{
    TNrKeyValueSections store;
    StoreSettings(options, store);
    return store.SaveToFile(fileName);
}

bool LoadSettingsFile(TConfigTermOptions& options, const UnicodeString& fileName, UnicodeString* error)
{
    TNrKeyValueSections store;
    if (!store.LoadFromFile(fileName, error)) return false;
    ReadConnectionSettings(options, store);
    ReadDisplaySettings(options, store);
    return true;
}

void CollectTerminalOptions(const TSimpleTerminal& terminal, TConfigTermOptions& options)
{
    options.BGColor = terminal.Color();
    options.TextColor = terminal.Font().Color;
    options.FontFace = terminal.Font().Name;
    options.FontSize = terminal.Font().Size();
    options.DisplayColumns = terminal.Columns();
    options.DisplayRows = terminal.Rows();
}

void ApplyTerminalOptions(const TConfigTermOptions& options, TSimpleTerminal& terminal)
{
    terminal.SetColor(options.BGColor);
    TFont font = terminal.Font();
    font.Color = options.TextColor;
    font.Name = options.FontFace;
    font.SetSize(options.FontSize);
    terminal.SetFont(font);
    terminal.SetColumns(options.DisplayColumns);
    terminal.SetRows(options.DisplayRows);
    terminal.SetHorzTabSpacing(options.DisplayTabSize);
}
