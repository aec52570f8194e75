#pragma once
// "Terminal Settings": the state of every control of the dialog, how options fill it and how it
// is read back. This is what the dialog does; its widgets live in ConfigTermForm.
#include <array>
#include <vector>
#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "platform/Text.h"
#include "settings/ConfigUnit.h"

/// Ranges of the spin edits.
struct TSpinRange {
    int Min;
    int Max;
    int Clamp(int value) const { return value < Min ? Min : value > Max ? Max : value; }
};
inline constexpr TSpinRange DisplayColumnsRange{32, 132};
inline constexpr TSpinRange DisplayRowsRange{8, 200};
inline constexpr TSpinRange PasteLineDelayRange{0, 1000};
inline constexpr TSpinRange TabSizeRange{1, 16};
inline constexpr TSpinRange MaxNumericBaseRange{2, 32};

/// Captions of the control-code buttons; item n is control code n.
extern const std::array<const char16_t*, 21> CtrlCodeCaptions;
/// Items of the baud rate list, in TComBaudRate order.
extern const std::array<const char16_t*, 16> BaudRateItems;
extern const std::array<const char16_t*, 3> DtrControlItems;
extern const std::array<const char16_t*, 4> RtsControlItems;
/// Items of the block caption radio group.
extern const std::array<const char16_t*, 4> CaptionBlocksItems;

/// What the dialog's controls hold. Radio groups hold the index of their selected button, -1
/// for none.
struct TConfigTermControls {
    // Terminal page: the sample shows background, font and text colour.
    TColor BgColor = 0;
    TColor TextColor = 0;
    UnicodeString FontFace;
    int FontSize = 0;
    int DisplayColumns = DisplayColumnsRange.Min;
    int DisplayRows = DisplayRowsRange.Min;
    int PasteLineDelay = PasteLineDelayRange.Min;
    int DisplayTabSize = TabSizeRange.Min;
    bool AbortPasteOnForthError = false;
    // Command codes page: a code is obeyed when its button shows the obeyed image.
    TConfigTermCtrlCodes Obeyed;
    bool CrIsNewLine = false;
    bool BackspaceErases = false;
    // Serial page.
    UnicodeString ComPortID;
    int BaudRate = -1;
    int Parity = -1;
    int DataBits = -1;
    int StopBits = -1;
    int DtrControl = -1;
    int RtsControl = -1;
    bool UseCtsFlow = false;
    bool UseDsrFlow = false;
    bool UseTxXFlow = false;
    bool UseRxXFlow = false;
    UnicodeString XonChar;
    UnicodeString XoffChar;
    // Editor page: the sample shows background, font and the colour of each word kind.
    TColor EditorBgColor = 0;
    TColor EditorBaseWordColor = 0;
    TColor EditorCompiledWordColor = 0;
    TColor EditorNumericColor = 0;
    TColor EditorStringColor = 0;
    TColor EditorCommentColor = 0;
    TColor EditorSymbolColor = 0;
    UnicodeString EditFontFace;
    int EditFontSize = 0;
    bool EditorUseSyntaxHighlighting = false;
    int EditorTabSize = TabSizeRange.Min;
    int EditorMaxNumericBase = MaxNumericBaseRange.Min;
    // Block file page.
    bool EditCompileStartsLine = false;
    bool EditWordWrapBlockFile = false;
    bool EditSyncBlockFile = false;
    int EditorCaptionBlocks = 0;
};

/// Fills the serial page's controls from serial options and a port name.
void ComOptionsToControls(TComOptions& options, const UnicodeString& portName, TConfigTermControls& controls);
/// Reads the serial page's controls back; a group with no selection leaves its setting, Xon and
/// Xoff texts that are not numbers give 19 and 17.
void ControlsToComOptions(const TConfigTermControls& controls, TComOptions& options, UnicodeString& portName);

class TConfigTerm;

/// The widgets that show the dialog.
class TConfigTermView {
public:
    virtual ~TConfigTermView() = default;
    /// Shows the controls' state.
    virtual void ControlsChanged(const TConfigTermControls& controls) = 0;
    /// Copies what the user set into controls.
    virtual void ReadControls(TConfigTermControls& controls) = 0;
    /// Shows the dialog until the user closes it; mrOk on OK.
    virtual TModalResult ShowModal() = 0;
};

/// Chooses a serial port; the port picker, or a fake in tests.
class TComPortChooser {
public:
    virtual ~TComPortChooser() = default;
    /// The chosen port, or empty when cancelled or nothing was chosen.
    virtual UnicodeString ChoosePort(const UnicodeString& preselected) = 0;
};

class TConfigTerm : public TObject {
public:
    /// The serial page without options: 1200 baud, no parity, 8 data bits, 1 stop bit, no flow control.
    TConfigTerm();

    /// Fills every control from the options, spin edits clamped to their ranges.
    void SetOptions(TConfigTermOptions& Options);
    /// Stores every control back into the options.
    void GetOptions(TConfigTermOptions& Options);
    TModalResult ShowModal();

    /// The state of the controls, as last shown or read.
    TConfigTermControls& Controls() { return fControls; }

    /// A control-code button was clicked: it swaps obeyed and blocked.
    void ToggleCtrlCode(int code);
    /// The "Font" buttons: the font dialog starts with the sample's face and size and changes
    /// only those.
    void TerminalFontClick();
    void EditorFontClick();
    /// " ---": the port picker, preset to the port shown; OK with a port shows that port.
    void BrowseComPortsClick();
    /// "Set System Defaults": the serial page's settings become the port's own; the options are
    /// untouched. Reports by message box.
    void SetSystemDefaultsClick();

    void SetView(TConfigTermView* view) { fView = view; }
    void SetPortChooser(TComPortChooser* chooser) { fPortChooser = chooser; }

private:
    /// The controls as the user left them.
    void Pull();
    void Push();
    /// Runs the font dialog on a face and size; true when the user confirmed.
    static bool ChooseFont(UnicodeString& face, int& size);

    TConfigTermControls fControls;
    TConfigTermView* fView = nullptr;
    TComPortChooser* fPortChooser = nullptr;
};
