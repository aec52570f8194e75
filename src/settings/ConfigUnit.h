#pragma once
// Every user option with its default, and the configuration folders.
#include <cstdint>
#include "link/ComRxOptions.h"
#include "platform/Graphics.h"
#include "platform/Text.h"

/// The control codes 0..20 that the terminal may act on.
enum TConfigTermCtrlCode : std::uint8_t {
    CTRL_0, CTRL_1, CTRL_2, CTRL_3, CTRL_4, CTRL_5, CTRL_6, CTRL_7, CTRL_8, CTRL_9, CTRL_10,
    CTRL_11, CTRL_12, CTRL_13, CTRL_14, CTRL_15, CTRL_16, CTRL_17, CTRL_18, CTRL_19, CTRL_20
};

/// Set of TConfigTermCtrlCode: bit n stands for control code n (three bytes when stored).
struct TConfigTermCtrlCodes {
    std::uint32_t Bits = 0;
    bool Contains(unsigned code) const { return code <= CTRL_20 && (Bits >> code & 1u) != 0; }
    void Include(TConfigTermCtrlCode code) { Bits |= 1u << code; }
    void Exclude(TConfigTermCtrlCode code) { Bits &= ~(1u << code); }
    static TConfigTermCtrlCodes All() { return {(1u << 21) - 1}; }
    friend bool operator==(const TConfigTermCtrlCodes&, const TConfigTermCtrlCodes&) = default;
};

/// Every user option of the program, each with its default; one instance lives as long as the
/// main window.
class TConfigTermOptions {
public:
    UnicodeString FontFace = u"Lucidia Console";
    std::int32_t FontSize = 10;
    TColor TextColor = 0x00FFFF;
    TColor BGColor = 0x800000;
    std::int32_t DisplayColumns = 80;
    std::int32_t DisplayRows = 100;
    std::int32_t DisplayTabSize = 8;
    std::uint32_t PasteTextLineDelayMS = 100;
    bool AbortPasteOnForthError = true;
    bool BackspaceErases = true;
    bool CrIsNewLine = false;
    TConfigTermCtrlCodes AllowedCtrlCodes{(1u << 20) - 1};
    std::int32_t EditorTabSize = 8;
    UnicodeString EditFontFace;
    std::int32_t EditFontSize = 0;
    bool EditCompileStartsLine = false;
    bool EditWordWrapBlockFile = false;
    bool EditSyncBlockFile = false;
    std::int32_t EditorCaptionBlocks = 0;
    UnicodeString TerminalHostAddress;
    UnicodeString TerminalHostPort;
    bool EditorUseSyntaxHighlighting = true;
    TColor EditorBgColor = 0xF0FBFF;
    TColor EditorBaseWordColor = 0x800000;
    TColor EditorCompiledWordColor = 0x800080;
    TColor EditorNumericColor = 0x0000FF;
    TColor EditorStringColor = 0xFF0000;
    TColor EditorCommentColor = 0x008000;
    TColor EditorSymbolColor = 0x000000;
    std::int32_t EditorMaxNumericBase = 16;
    UnicodeString ComPortName;
    /// The serial line settings; part of this object for its whole life, never replaced.
    TComOptions ComPortOptions;
    UnicodeString TcpHostAddress;
    UnicodeString TcpHostPort;
};

/// The user's application-data folder with a trailing separator; empty when unknown.
UnicodeString GetAppDataFolder();
/// The folder of the settings, layouts and transfer-code files, created on first use; ends in a
/// separator, or is empty (names then stay relative to the current folder) when it cannot be made.
UnicodeString GetConfigFolder();
/// The folder of the key maps; as GetConfigFolder.
UnicodeString GetKeyMapsFolder();
