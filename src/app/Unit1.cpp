#include "app/Unit1.h"
#include <stdexcept>
#include "app/Application.h"
#include "app/ProgramForms.h"
#include "app/SettingsFile.h"
#include "link/ConnectionManager.h"
#include "platform/Dialogs.h"

TTavloTerminal::TTavloTerminal(TTavloTerminalView& view) : fView(view)
{
    // The terminal as the form designs it, until settings are applied.
    SimpleTerminal1.SetRows(200);
    SimpleTerminal1.SetColor(clMoneyGreen);
    TFont font = SimpleTerminal1.Font();
    font.Name = u"Lucida Console";
    font.Height = -13;
    SimpleTerminal1.SetFont(font);

    Timer1.SetInterval(500);
    Timer1.OnTimer = [this] { Timer1Timer(); };
    Timer1.SetEnabled(true);
}

TTavloTerminal::~TTavloTerminal() = default;

void TTavloTerminal::FormCreate()
{
    CreateConnectionManager();
    fCodeEditLastSearchResult = 0;
    fCodeEditLastSearchStr.clear();
    CreateHighlighter();
    ConnectConnectionEvents();
    OriginalCaption = fCaption;
    fHostAddressForm = std::make_unique<THostAddressForm>();
    HostAddressForm = fHostAddressForm.get();
    fView.HostAddressFormCreated(*fHostAddressForm);
    PasteTextLinesBuffer = std::make_unique<TStringList>();
    CodeEditPairedWordsList = std::make_unique<TStringList>();
    SetActivePage(pgTerminal);
    BlockEditCurrentFileName.clear();
    CodeEditCurrentFileName.clear();
    ShowBlockFileName();
    BlockEditEditLine.clear();
    BlockEditAbortEditEdit = false;
    BlockEditLastChangeId = 1;
    BlockEditData = std::make_unique<TStringList>();
    BlockEditUndoList = std::make_unique<TStringList>();
    RxState.RxCmdNeedsParam = cmd_NONE;
    ComOkBuffer = std::make_unique<TComOkBuffer>();
    Options = std::make_unique<TConfigTermOptions>();
    RxState.ParamsRequired = 0;
    RxState.Params.clear();
    InPaste = false;
    AbortPaste = false;
    UpdateBlockStatus();
    LoadSettings();
    SimpleTerminal1.Reset();
    ClearCodeEditorText();
    LoadCompletionWords();
}

void TTavloTerminal::FormCloseQuery(bool& CanClose)
{
    // The settings are saved whatever the answers, even when the close is then cancelled.
    SaveSettings();
    CanClose = QueryCloseBlockFile();
    if (CanClose) CanClose = QueryCloseEditorFile();
}

void TTavloTerminal::FormDestroy()
{
    CodeEditPairedWordsList.reset();
    PasteTextLinesBuffer.reset();
    ComOkBuffer.reset();
    if (HostAddressForm == fHostAddressForm.get()) HostAddressForm = nullptr;
    // The connection manager outlives the window: it must not call into it any more.
    if (ConnectionMod) {
        ConnectionMod->OnRxByte = nullptr;
        ConnectionMod->OnConnected = nullptr;
        ConnectionMod->OnClosed = nullptr;
    }
}

void TTavloTerminal::SetCaption(const UnicodeString& caption)
{
    fCaption = caption;
    fView.CaptionChanged(fCaption);
}

void TTavloTerminal::SetActivePage(TMainPage page)
{
    fActivePage = page;
    fView.ActivePageChanged(page);
}

void TTavloTerminal::RxChar(TObject* Sender, std::uint8_t b)
{
    // Bytes that arrive once the window is being destroyed have nowhere to go.
    if (!ComOkBuffer || !Options) return;
    TRxContext context{SimpleTerminal1, *ComOkBuffer, *Options, InPaste, AbortPaste,
                       [this](std::uint8_t c) { SendChar(c); }, [this] { SimpleTerminal1.Beep(); }};
    ::RxChar(RxState, context, b);
}

void TTavloTerminal::Timer1Timer() {}

void TTavloTerminal::SaveSettings()
{
    CollectTerminalOptions(SimpleTerminal1, *Options);
    // A settings file that cannot be written must not keep the user from closing: say so once.
    UnicodeString error = SaveSettingsFile(*Options, SettingsFileName());
    if (!error.empty()) ShowMessage(u"Unable to save the settings: " + error);
}

void TTavloTerminal::LoadSettings()
{
    if (LoadSettingsFile(*Options, SettingsFileName())) ApplyTerminalOptions(*Options, SimpleTerminal1);
}

bool TTavloTerminal::QueryCloseBlockFile() { return true; }

bool TTavloTerminal::QueryCloseEditorFile() { return true; }

void TTavloTerminal::CreateConnectionManager()
{
    if (!Application) throw std::logic_error("The main window needs the application object");
    ConnectionMod = Application->Own(std::make_unique<TConnectionMod>());
}

void TTavloTerminal::CreateHighlighter() {}

void TTavloTerminal::ConnectConnectionEvents()
{
    ConnectionMod->OnRxByte = [this](TObject* Sender, std::uint8_t Data) { RxChar(Sender, Data); };
    ConnectionMod->OnConnected = [this](TObject* Sender) { ConnectionChanged(Sender); };
    ConnectionMod->OnClosed = [this](TObject* Sender) { ConnectionChanged(Sender); };
}

void TTavloTerminal::ConnectionChanged(TObject* Sender) {}

void TTavloTerminal::ShowBlockFileName()
{
    fView.BlockStatusChanged(9, BlockEditCurrentFileName.empty() ? UnicodeString(u"(none)") : BlockEditCurrentFileName);
}

void TTavloTerminal::UpdateBlockStatus() {}

void TTavloTerminal::ClearCodeEditorText() {}

void TTavloTerminal::LoadCompletionWords() {}

void TTavloTerminal::SendChar(std::uint8_t c) {}
