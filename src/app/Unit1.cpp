#include "app/Unit1.h"
#include <stdexcept>
#include "app/ActionImages.h"
#include "app/Application.h"
#include "app/HostAddress.h"
#include "app/MainLayout.h"
#include "app/ProgramForms.h"
#include "app/DisplayLines.h"
#include "app/SettingsFile.h"
#include "app/frmTextViewer.h"
#include "link/ConnectionManager.h"
#include "platform/Dialogs.h"
#include "platform/Folders.h"
#include "settings/MapKeys.h"

TTavloTerminal::TTavloTerminal(TTavloTerminalView& view) : fView(view)
{
    // The terminal as the form designs it, until settings are applied.
    SimpleTerminal1.SetRows(200);
    SimpleTerminal1.SetColor(clMoneyGreen);
    TFont font = SimpleTerminal1.Font();
    font.Name = u"Lucida Console";
    font.Height = -13;
    SimpleTerminal1.SetFont(font);
    SimpleTerminal1.Loaded();

    Timer1.SetInterval(500);
    Timer1.OnTimer = [this] { Timer1Timer(); };
    Timer1.SetEnabled(true);
    PasteLineTimer.SetInterval(120);
    PasteLineTimer.OnTimer = [this] { PasteLineTimerTimer(); };

    SimpleTerminal1.OnKeyDown = [this](TObject* Sender, std::uint16_t& Key, TShiftState Shift) {
        SimpleTerminal1KeyDown(Sender, Key, Shift);
    };
    SimpleTerminal1.OnKeyPress = [this](TObject* Sender, char16_t& Key) { SimpleTerminal1KeyPress(Sender, Key); };
    SimpleTerminal1.OnMouseWheel = [this](TObject* Sender, TShiftState Shift, int WheelDelta) {
        return SimpleTerminal1MouseWheel(Sender, Shift, WheelDelta);
    };

    CreateActions();
    BlockManager.CreateActions(BLockUpload);
    CodeEditorPage.CreateActions(CodeEditor);
    AssignActionImages(ActionLists());
    fLayout = DesignedLayout();
}

void TTavloTerminal::CreateActions()
{
    using Handler = void (TTavloTerminal::*)(TObject*);
    /// One action of the window; no Update handler means always enabled.
    struct Row {
        TActionList TTavloTerminal::*List;
        TAction* TTavloTerminal::*Field;
        const char16_t* Name;
        const char16_t* Category;
        const char16_t* Caption;
        const char16_t* Hint;
        const char16_t* ShortCut;
        Handler Execute;
        Handler Update;
    };
    using T = TTavloTerminal;
    static const Row rows[] = {
        {&T::Terminal, &T::ComConnectAct, u"ComConnectAct", u"Comunication", u"Connect Com",
         u"Activate selected com port device", u"", &T::ComConnectActExecute, &T::ConnectActUpdate},
        {&T::Terminal, &T::TcpConnectAct, u"TcpConnectAct", u"Comunication", u"Connect TCP",
         u"Activate TCP connection", u"", &T::TcpConnectActExecute, &T::ConnectActUpdate},
        {&T::Terminal, &T::ComDisconnectAct, u"ComDisconnectAct", u"Comunication", u"Close",
         u"Disable active connection", u"", &T::ComDisconnectActExecute, &T::ComDisconnectActUpdate},
        {&T::Terminal, &T::ComPulseDTRAct, u"ComPulseDTRAct", u"Comunication", u"Pulse DTR",
         u"Pulse DTR line (used to reset propeller chip)", u"", &T::ComPulseDTRActExecute,
         &T::ComPulseDTRActUpdate},
        {&T::Terminal, &T::ComPulseRtsAct, u"ComPulseRtsAct", u"Comunication", u"Pulse RTS",
         u"Pulse RTS line (used to reset propeller chip)", u"", &T::ComPulseRtsActExecute,
         &T::ComPulseRtsActUpdate},
        {&T::Terminal, &T::TermOptionsAct, u"TermOptionsAct", u"Settings", u"Options", u"Configure terminal options",
         u"", &T::TermOptionsActExecute, nullptr},
        {&T::Terminal, &T::CustomiseAct, u"CustomiseAct", u"Settings", u"Customise",
         u"Customize the program menus and tool bar", u"", &T::CustomiseActExecute, nullptr},
        {&T::Terminal, &T::DefaultLayoutAct, u"DefaultLayoutAct", u"Settings", u"Default Layout",
         u"Restore menus and tool bars to default state", u"", &T::DefaultLayoutActExecute, nullptr},
        {&T::Terminal, &T::TermClearScreenAct, u"TermClearScreenAct", u"Terminal", u"Clear Screen",
         u"Clear terminal buffer and home cursor", u"", &T::TermClearScreenActExecute, nullptr},
        {&T::Terminal, &T::TermMapKeysAct, u"TermMapKeysAct", u"Terminal", u"Map Keys",
         u"Configure terminal keyboard mappings", u"", &T::TermMapKeysActExecute, nullptr},
        {&T::Terminal, &T::TermPasteAct, u"TermPasteAct", u"Terminal", u"Paste",
         u"Paste text from clipboard to terminal", u"", &T::TermPasteActExecute, &T::TermPasteActUpdate},
        {&T::Terminal, &T::UploadTextFile, u"UploadTextFile", u"Terminal", u"Paste File",
         u"Upload a text file to the terminal", u"", &T::UploadTextFileExecute, &T::UploadTextFileUpdate},
        {&T::Terminal, &T::AbortPasteAct, u"AbortPasteAct", u"Terminal", u"Abort Paste",
         u"Abort paste text to terminal", u"", &T::AbortPasteActExecute, &T::AbortPasteActUpdate},
        {&T::Terminal, &T::UploadBlockTransferAct, u"UploadBlockTransferAct", u"Comunication", u"Upload Block File",
         u"Upload a block file or binary COG image to the forth system", u"", &T::UploadBlockTransferActExecute,
         &T::BlockTransferActUpdate},
        {&T::Terminal, &T::DownloadBlockTrabsferAct, u"DownloadBlockTrabsferAct", u"Comunication",
         u"Download Block File", u"Download forth blocks to a binary COG image or, forth block file", u"",
         &T::DownloadBlockTrabsferActExecute, &T::BlockTransferActUpdate},
        {&T::BLockUpload, &T::BlockEditUploadFileAct, u"BlockEditUploadFileAct", u"Block", u"Upload Blocks",
         u"Upload editor contents as block file", u"", &T::BlockEditUploadFileActExecute,
         &T::BlockEditUploadFileActUpdate},
        {&T::Terminal, &T::TermSaveDisplayTextAct, u"TermSaveDisplayTextAct", u"Terminal",
         u"Save Display", u"Save terminal display as a text file", u"",
         &T::TermSaveDisplayTextActExecute, &T::TermSaveDisplayTextActUpdate},
        {&T::Terminal, &T::TermScreenSnapshotAct, u"TermScreenSnapshotAct", u"Terminal",
         u"Update Snapshot", u"Copy display to snapshot viewer", u"", &T::TermScreenSnapshotActExecute,
         nullptr},
        {&T::Terminal, &T::TermViewSnapshorAct, u"TermViewSnapshorAct", u"Terminal",
         u"View Snapshot", u"Display snapshot window", u"", &T::TermViewSnapshorActExecute, nullptr},
    };
    for (const Row& row : rows) {
        TAction action;
        action.Name = row.Name;
        action.Category = row.Category;
        action.Caption = row.Caption;
        action.Hint = row.Hint;
        action.ShortCut = row.ShortCut;
        action.OnExecute = [this, execute = row.Execute](TObject* Sender) { (this->*execute)(Sender); };
        if (row.Update) action.OnUpdate = [this, update = row.Update](TObject* Sender) { (this->*update)(Sender); };
        this->*row.Field = &(this->*row.List).Add(std::move(action));
    }
}

TTavloTerminal::~TTavloTerminal() = default;

void TTavloTerminal::FormCreate()
{
    CreateConnectionManager();
    CodeEditorPage.fCodeEditLastSearchResult = 0;
    CodeEditorPage.fCodeEditLastSearchStr.clear();
    CreateHighlighter();
    ConnectConnectionEvents();
    OriginalCaption = fCaption;
    fHostAddressForm = std::make_unique<THostAddressForm>();
    HostAddressForm = fHostAddressForm.get();
    fView.HostAddressFormCreated(*fHostAddressForm);
    PasteTextLinesBuffer = std::make_unique<TStringList>();
    CodeEditorPage.CodeEditPairedWordsList = std::make_unique<TStringList>();
    SetActivePage(pgTerminal);
    CodeEditorPage.CodeEditCurrentFileName.clear();
    ShowBlockFileName();
    RxState.RxCmdNeedsParam = cmd_NONE;
    ComOkBuffer = std::make_unique<TComOkBuffer>();
    Options = std::make_unique<TConfigTermOptions>();
    fRxContext.emplace(TRxContext{SimpleTerminal1, *ComOkBuffer, *Options, InPaste, AbortPaste,
                                  [this](std::uint8_t c) { SendChar(c); }, [this] { SimpleTerminal1.Beep(); }});
    CodeEditorPage.Options = Options.get();
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
    CodeEditorPage.CodeEditPairedWordsList.reset();
    PasteTextLinesBuffer.reset();
    fRxContext.reset();
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
    if (page == pgTerminal) PageControl1Enter();
    // With the sync option the Block Manager always shows the current source converted.
    if (page == pgBlockManager && Options && Options->EditSyncBlockFile) CodeEditorPage.TransformToBlockEditor();
}

void TTavloTerminal::SetLayout(TActionLayout layout)
{
    fLayout = std::move(layout);
    fView.ShowLayout(fLayout);
}

std::vector<TActionList*> TTavloTerminal::ActionLists()
{
    return {&Terminal, &BLockUpload, &CodeEditor};
}

bool TTavloTerminal::ActionExists(std::u16string_view name)
{
    return FindAction(ActionLists(), name) != nullptr;
}

std::optional<TActionLayout> TTavloTerminal::LoadLayout(const UnicodeString& fileName)
{
    return LoadLayoutFile(fileName, [this](std::u16string_view name) { return ActionExists(name); });
}

void TTavloTerminal::CustomiseActExecute(TObject* Sender)
{
    fView.ShowCustomizeDialog();
}

void TTavloTerminal::DefaultLayoutActExecute(TObject* Sender)
{
    UnicodeString fileName = DefaultLayoutFileName();
    std::optional<TActionLayout> layout;
    if (FileExists(fileName)) layout = LoadLayout(fileName);
    if (layout)
        SetLayout(std::move(*layout));
    else
        Dialogs::Current().MessageBox(u"Error", u"Unable to load default layout!", TMsgDlgType::mtError,
                                      TMsgButtons::OK);
}

void TTavloTerminal::TermMapKeysActExecute(TObject* Sender)
{
    if (MapTermKeys) MapTermKeys->ShowModal();
}

void TTavloTerminal::TermSaveDisplayTextActExecute(TObject* Sender)
{
    TFileDialogRequest request;
    request.Title = u"Save Display As Text";
    request.Filter = u"Text File|*.txt";
    request.DefaultExt = u".txt";
    const UnicodeString fileName = Dialogs::Current().SaveFile(request);
    if (fileName.empty()) return;
    const UnicodeString error = SaveDisplayText(SimpleTerminal1, fileName);
    if (!error.empty()) ShowMessage(u"Unable to save the display: " + error);
}

void TTavloTerminal::TermSaveDisplayTextActUpdate(TObject* Sender) { TermSaveDisplayTextAct->Enabled = !InPaste; }

void TTavloTerminal::TermScreenSnapshotActExecute(TObject* Sender)
{
    if (!TextViewer) return;
    TStringList lines;
    GetDisplayLines(SimpleTerminal1, lines);
    TextViewer->SetLines(lines);
    TextViewer->SetSnapshotTime();
    TextViewer->Show();
}

void TTavloTerminal::TermViewSnapshorActExecute(TObject* Sender)
{
    if (TextViewer) TextViewer->Show();
}

void TTavloTerminal::RxChar(TObject* Sender, std::uint8_t b)
{
    // Bytes that arrive before the window is created or once it is being destroyed have nowhere to go.
    if (fRxContext) ::RxChar(RxState, *fRxContext, b);
}

void TTavloTerminal::Timer1Timer() { CodeEditorPage.Timer1Timer(); }

void TTavloTerminal::SaveSettings()
{
    CollectTerminalOptions(SimpleTerminal1, *Options);
    CodeEditorPage.CollectTermOptions(*Options);
    // Files that cannot be written must not keep the user from closing: say so once.
    UnicodeString message;
    UnicodeString error = fSettingsUnread ? UnicodeString() : SaveSettingsFile(*Options, SettingsFileName());
    if (!error.empty()) message = u"Unable to save the settings: " + error;
    error = SaveLayoutFile(fLayout, UserLayoutFileName());
    if (!error.empty()) message += (message.empty() ? u"" : u"\n") + (u"Unable to save the layout: " + error);
    if (!message.empty()) ShowMessage(message);
}

void TTavloTerminal::LoadSettings()
{
    UnicodeString error;
    if (LoadSettingsFile(*Options, SettingsFileName(), &error)) {
        ApplyTerminalOptions(*Options, SimpleTerminal1);
        ApplyCodeEditorOptions();
        fHostAddressForm->HostAddressEdit = Options->TcpHostAddress;
        fHostAddressForm->HostPortEdit = Options->TcpHostPort;
    } else if (!error.empty()) {
        // What could not be read may still be the user's: it stays as it is.
        fSettingsUnread = true;
        ShowMessage(error + u" The settings start from their defaults; the file is left as it is.");
    }
    // Without a default layout file only the default-layout action misses it, and it says so:
    // start-up goes on.
    SaveLayoutFile(fLayout, DefaultLayoutFileName());
    // A layout older than the program may name actions of another version: the designed one stays.
    if (UserLayoutIsCurrent(UserLayoutFileName(), ProgramFileName()))
        if (std::optional<TActionLayout> layout = LoadLayout(UserLayoutFileName())) SetLayout(std::move(*layout));
}

bool TTavloTerminal::QueryCloseBlockFile() { return BlockManager.QueryCloseBlockFile(); }

bool TTavloTerminal::QueryCloseEditorFile() { return CodeEditorPage.QueryCloseEditorFile(); }

void TTavloTerminal::CreateConnectionManager()
{
    if (!Application) throw std::logic_error("The main window needs the application object");
    ConnectionMod = Application->Own(std::make_unique<TConnectionMod>());
}

void TTavloTerminal::CreateHighlighter() { CodeEditorPage.CreateHighlighter(); }

void TTavloTerminal::ConnectConnectionEvents()
{
    ConnectionMod->OnRxByte = [this](TObject* Sender, std::uint8_t Data) { RxChar(Sender, Data); };
    ConnectionMod->OnConnected = [this](TObject* Sender) { ConnectionChanged(Sender); };
    ConnectionMod->OnClosed = [this](TObject* Sender) { ConnectionChanged(Sender); };
}

void TTavloTerminal::ShowBlockFileName() { BlockManager.ShowBlockFileName(); }

void TTavloTerminal::UpdateBlockStatus() { BlockManager.UpdateBlockStatus(); }

void TTavloTerminal::ClearCodeEditorText() { CodeEditorPage.ScriptEdit.SetText(u""); }

void TTavloTerminal::LoadCompletionWords() { CodeEditorPage.LoadCompletionWords(); }

void TTavloTerminal::ApplyCodeEditorOptions()
{
    CodeEditorPage.ApplyTermOptions();
    if (fActivePage == pgBlockManager) CodeEditorPage.EditorTransToBlockEditAct->Execute();
    CodeEditorPage.ApplyEditorHighlightOptions();
}

