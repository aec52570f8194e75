#pragma once
// The main window: the terminal page, the Block Manager page and the Code Editor page in one form.
// This is what the window does; Unit1Form gives it its widgets.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>
#include "app/PendingForms.h"
#include "app/ReceiveProcedure.h"
#include "blocks/BlockManager.h"
#include "link/ComOkBuffer.h"
#include "platform/ActionLayout.h"
#include "platform/Actions.h"
#include "platform/Events.h"
#include "platform/MainLoop.h"
#include "platform/StringList.h"
#include "platform/Text.h"
#include "settings/ConfigUnit.h"
#include "terminal/SimpleTerminal.h"

/// The pages of the main window, in their order.
enum TMainPage { pgTerminal, pgBlockManager, pgCodeEditor };

/// What the main window shows through its widgets.
class TTavloTerminalView {
public:
    virtual ~TTavloTerminalView() = default;
    virtual void CaptionChanged(const UnicodeString& caption) = 0;
    virtual void ActivePageChanged(TMainPage page) = 0;
    /// A panel of the Block Manager's status bar got a new text.
    virtual void BlockStatusChanged(int panel, const UnicodeString& text) = 0;
    /// The host address form was created; its widgets belong to the main window.
    virtual void HostAddressFormCreated(THostAddressForm& form) = 0;
    /// The menus and tool bars are to show this layout from now on.
    virtual void ShowLayout(const TActionLayout& layout) = 0;
    /// Lets the user edit the layout; a changed layout comes back through SetLayout.
    virtual void ShowCustomizeDialog() = 0;
};

/// The caption the window is designed with.
inline constexpr const char16_t* DesignCaption = u"Tavlo Terminal Ver 2.3";

class TTavloTerminal : public TObject {
public:
    /// Builds the window as designed; FormCreate then brings it to life.
    explicit TTavloTerminal(TTavloTerminalView& view);
    ~TTavloTerminal() override;

    void FormCreate();
    /// Saves the settings, then asks whether to save a changed block file and a changed code file;
    /// CanClose false keeps the window open.
    void FormCloseQuery(bool& CanClose);
    void FormDestroy();

    const UnicodeString& Caption() const { return fCaption; }
    void SetCaption(const UnicodeString& caption);
    TMainPage ActivePage() const { return fActivePage; }
    void SetActivePage(TMainPage page);

    /// The layout the menus and tool bars show; the designed one until another is loaded.
    const TActionLayout& Layout() const { return fLayout; }
    /// Takes a new layout (from the customise dialog or a layout file) and shows it.
    void SetLayout(TActionLayout layout);
    /// The three action lists, in their order.
    std::vector<TActionList*> ActionLists();
    /// True when an action of that name exists: layout files name actions.
    bool ActionExists(std::u16string_view name);

    /// Every byte from the target, in the main thread.
    void RxChar(TObject* Sender, std::uint8_t b);
    /// The 500 ms status refresh of the Code Editor page.
    void Timer1Timer();

    TSimpleTerminal SimpleTerminal1;
    TTimer Timer1;

    /// The terminal page's actions, with the settings, communication and transfer actions.
    TActionList Terminal{u"Terminal"};
    /// The Block Manager page's actions.
    TActionList BLockUpload{u"BLockUpload"};
    /// The Code Editor page's actions.
    TActionList CodeEditor{u"CodeEditor"};
    TAction* CustomiseAct = nullptr;
    TAction* DefaultLayoutAct = nullptr;
    TAction* TermMapKeysAct = nullptr;

    TRxState RxState;
    bool InPaste = false;
    bool AbortPaste = false;
    std::unique_ptr<TComOkBuffer> ComOkBuffer;
    std::unique_ptr<TStringList> PasteTextLinesBuffer;
    UnicodeString OriginalCaption;
    std::unique_ptr<TConfigTermOptions> Options;

    /// The Block Manager page: its lines, grid, files and actions.
    TBlockManager BlockManager{[this](int panel, const UnicodeString& text) { fView.BlockStatusChanged(panel, text); },
                               [this] { return fActivePage == pgBlockManager; }};

    UnicodeString CodeEditCurrentFileName;
    std::unique_ptr<TStringList> CodeEditPairedWordsList;
    int fCodeEditLastSearchResult = 0;
    UnicodeString fCodeEditLastSearchStr;

protected:
    /// Writes the settings file and the user layout; a failure is shown once and the close goes on.
    virtual void SaveSettings();
    /// Reads the settings file and, when there is one, applies it; saves the designed layout as
    /// the default layout and loads the user layout when it was made for this program.
    virtual void LoadSettings();
    /// Asks whether to save a changed block file; false on Cancel.
    virtual bool QueryCloseBlockFile();
    /// Asks whether to save a changed code file; false on Cancel.
    virtual bool QueryCloseEditorFile();

private:
    /// Creates the actions of every list from the window's action table.
    void CreateActions();
    void CustomiseActExecute(TObject* Sender);
    /// Restores the default layout file; says so when it cannot be loaded.
    void DefaultLayoutActExecute(TObject* Sender);
    void TermMapKeysActExecute(TObject* Sender);
    /// Loads a layout file, skipping actions that do not exist; nothing when it cannot be used.
    std::optional<TActionLayout> LoadLayout(const UnicodeString& fileName);

    /// Creates the connection manager, owned by the application.
    void CreateConnectionManager();
    /// Creates the Forth highlighter and attaches it to the code editor.
    void CreateHighlighter();
    /// Points the connection manager's events at RxChar and ConnectionChanged.
    void ConnectConnectionEvents();
    /// The link opened or closed: caption and remembered TCP host.
    void ConnectionChanged(TObject* Sender);
    /// Shows the block file name, or "(none)", in the Block Manager's status bar.
    void ShowBlockFileName();
    /// Shows the current line and block in the Block Manager's status bar.
    void UpdateBlockStatus();
    /// Empties the code editor.
    void ClearCodeEditorText();
    /// Loads the completion words of the code editor.
    void LoadCompletionWords();
    /// Sends one byte to the target.
    void SendChar(std::uint8_t c);

    TTavloTerminalView& fView;
    UnicodeString fCaption = DesignCaption;
    TMainPage fActivePage = pgTerminal;
    TActionLayout fLayout;
    std::unique_ptr<THostAddressForm> fHostAddressForm;
};
