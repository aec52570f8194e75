#include "app/Unit1.h"
#include <stdexcept>
#include "app/Application.h"
#include "app/MainLayout.h"
#include "app/ProgramForms.h"
#include "app/SettingsFile.h"
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

    Timer1.SetInterval(500);
    Timer1.OnTimer = [this] { Timer1Timer(); };
    Timer1.SetEnabled(true);

    CreateActions();
    BlockManager.CreateActions(BLockUpload);
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
    static const Row rows[] = {
        {&TTavloTerminal::Terminal, &TTavloTerminal::CustomiseAct, u"CustomiseAct", u"Settings", u"Customise",
         u"Customize the program menus and tool bar", u"", &TTavloTerminal::CustomiseActExecute, nullptr},
        {&TTavloTerminal::Terminal, &TTavloTerminal::DefaultLayoutAct, u"DefaultLayoutAct", u"Settings",
         u"Default Layout", u"Restore menus and tool bars to default state", u"",
         &TTavloTerminal::DefaultLayoutActExecute, nullptr},
        {&TTavloTerminal::Terminal, &TTavloTerminal::TermMapKeysAct, u"TermMapKeysAct", u"Terminal", u"Map Keys",
         u"Configure terminal keyboard mappings", u"", &TTavloTerminal::TermMapKeysActExecute, nullptr},
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
    CodeEditCurrentFileName.clear();
    ShowBlockFileName();
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
    // Files that cannot be written must not keep the user from closing: say so once.
    UnicodeString message;
    UnicodeString error = SaveSettingsFile(*Options, SettingsFileName());
    if (!error.empty()) message = u"Unable to save the settings: " + error;
    error = SaveLayoutFile(fLayout, UserLayoutFileName());
    if (!error.empty()) message += (message.empty() ? u"" : u"\n") + (u"Unable to save the layout: " + error);
    if (!message.empty()) ShowMessage(message);
}

void TTavloTerminal::LoadSettings()
{
    if (LoadSettingsFile(*Options, SettingsFileName())) ApplyTerminalOptions(*Options, SimpleTerminal1);
    // Without a default layout file only the default-layout action misses it, and it says so:
    // start-up goes on.
    SaveLayoutFile(fLayout, DefaultLayoutFileName());
    // A layout older than the program may name actions of another version: the designed one stays.
    if (UserLayoutIsCurrent(UserLayoutFileName(), ProgramFileName()))
        if (std::optional<TActionLayout> layout = LoadLayout(UserLayoutFileName())) SetLayout(std::move(*layout));
}

bool TTavloTerminal::QueryCloseBlockFile() { return BlockManager.QueryCloseBlockFile(); }

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

void TTavloTerminal::ShowBlockFileName() { BlockManager.ShowBlockFileName(); }

void TTavloTerminal::UpdateBlockStatus() { BlockManager.UpdateBlockStatus(); }

void TTavloTerminal::ClearCodeEditorText() {}

void TTavloTerminal::LoadCompletionWords() {}

void TTavloTerminal::SendChar(std::uint8_t c) {}
