#pragma once
// The main window: the terminal page, the Block Manager page and the Code Editor page in one form.
// This is what the window does; Unit1Form gives it its widgets.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>
#include "app/HostAddress.h"
#include "app/ReceiveProcedure.h"
#include "app/TerminalControl.h"
#include "blocks/BlockManager.h"
#include "codeeditor/CodeEditorPage.h"
#include "link/ComOkBuffer.h"
#include "platform/ActionLayout.h"
#include "platform/Actions.h"
#include "platform/Events.h"
#include "platform/MainLoop.h"
#include "platform/StringList.h"
#include "platform/Text.h"
#include "settings/ConfigUnit.h"

/// The pages of the main window, in their order.
enum TMainPage { pgTerminal, pgBlockManager, pgCodeEditor };

/// What the main window shows through its widgets.
class TStream;

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
    /// The main window's position and size on the screen, to centre the host dialog over it.
    virtual TRect WindowBounds() const = 0;
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

    TTerminalControl SimpleTerminal1;
    TTimer Timer1;
    /// Sends the next line of a paste; disabled while no paste runs.
    TTimer PasteLineTimer;

    /// The terminal page's actions, with the settings, communication and transfer actions.
    TActionList Terminal{u"Terminal"};
    /// The Block Manager page's actions.
    TActionList BLockUpload{u"BLockUpload"};
    /// The Code Editor page's actions.
    TActionList CodeEditor{u"CodeEditor"};
    TAction* CustomiseAct = nullptr;
    TAction* DefaultLayoutAct = nullptr;
    TAction* TermMapKeysAct = nullptr;
    TAction* TermSaveDisplayTextAct = nullptr;
    TAction* TermScreenSnapshotAct = nullptr;
    TAction* TermViewSnapshorAct = nullptr;
    TAction* TermPasteAct = nullptr;
    TAction* UploadTextFile = nullptr;
    TAction* AbortPasteAct = nullptr;
    TAction* ComConnectAct = nullptr;
    TAction* TcpConnectAct = nullptr;
    TAction* ComDisconnectAct = nullptr;
    TAction* ComPulseDTRAct = nullptr;
    TAction* ComPulseRtsAct = nullptr;
    TAction* TermOptionsAct = nullptr;
    TAction* TermClearScreenAct = nullptr;
    TAction* UploadBlockTransferAct = nullptr;
    TAction* DownloadBlockTrabsferAct = nullptr;
    TAction* BlockEditUploadFileAct = nullptr;

    /// Moves blocks between the stream and the target in the transfer dialog; received bytes go
    /// to the dialog meanwhile and come back to RxChar however it ends. True when every block went
    /// through.
    bool RunBlockTransfer(TStream& Stream, bool Upload);

    /// Seconds a byte may wait for the link before the user is asked; tests shorten it.
    int SendTimeLimitSec = 10;
    /// Sends one byte to the target within SendTimeLimitSec; asks Retry or Cancel when it times out.
    /// Throws with "The terminal connection was closed." once the link is gone.
    void SendChar(std::uint8_t c);
    /// Sends each character's byte while the link stays connected.
    void SendString(const UnicodeString& s);
    /// The string, then CR.
    void SendLine(const UnicodeString& s);
    /// Starts pasting a copy of the lines, one per tick of PasteLineTimer.
    void StartPaste(const TStringList* Lines);
    void SimpleTerminal1KeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    void SimpleTerminal1KeyPress(TObject* Sender, char16_t& Key);
    void PasteLineTimerTimer();
    /// Caption = OriginalCaption, with " [Msg]" when Msg is not empty.
    void SetCaptionMsg(const UnicodeString& Msg);
    /// The terminal page became the active page: the terminal takes the keys.
    void PageControl1Enter();

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

    /// The Code Editor page: its editor, document, highlighter and actions.
    TCodeEditorPage CodeEditorPage{BlockManager, {[this] { return fActivePage == pgCodeEditor; },
                                                  [this] { return fView.WindowBounds(); }}};

protected:
    /// Writes the settings file (unless it could not be read) and the user layout; a failure is
    /// shown once and the close goes on.
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
    /// Asks for a file name and writes the screen's text to it.
    void TermSaveDisplayTextActExecute(TObject* Sender);
    /// Enabled while no paste runs.
    void TermSaveDisplayTextActUpdate(TObject* Sender);
    /// Copies the screen's text into the snapshot viewer and shows it.
    void TermScreenSnapshotActExecute(TObject* Sender);
    void TermViewSnapshorActExecute(TObject* Sender);
    /// Loads a layout file, skipping actions that do not exist; nothing when it cannot be used.
    std::optional<TActionLayout> LoadLayout(const UnicodeString& fileName);

    /// Creates the connection manager, owned by the application.
    void CreateConnectionManager();
    /// Creates the Forth highlighter and attaches it to the code editor.
    void CreateHighlighter();
    /// Points the connection manager's events at RxChar and ConnectionChanged.
    void ConnectConnectionEvents();
    /// The link opened or closed: caption, remembered TCP host, a paste cut off by the close.
    void ConnectionChanged(TObject* Sender);
    void TermPasteActExecute(TObject* Sender);
    void TermPasteActUpdate(TObject* Sender);
    void UploadTextFileExecute(TObject* Sender);
    void UploadTextFileUpdate(TObject* Sender);
    void AbortPasteActExecute(TObject* Sender);
    void AbortPasteActUpdate(TObject* Sender);
    void ComConnectActExecute(TObject* Sender);
    void TcpConnectActExecute(TObject* Sender);
    /// Enabled while no link is active (both connect actions).
    void ConnectActUpdate(TObject* Sender);
    void ComDisconnectActExecute(TObject* Sender);
    void ComDisconnectActUpdate(TObject* Sender);
    void ComPulseDTRActExecute(TObject* Sender);
    void ComPulseDTRActUpdate(TObject* Sender);
    void ComPulseRtsActExecute(TObject* Sender);
    void ComPulseRtsActUpdate(TObject* Sender);
    void TermOptionsActExecute(TObject* Sender);
    void TermClearScreenActExecute(TObject* Sender);
    /// Uploads a file chosen by the user, loaded whole.
    void UploadBlockTransferActExecute(TObject* Sender);
    /// Downloads blocks into a file chosen by the user.
    void DownloadBlockTrabsferActExecute(TObject* Sender);
    /// Enabled while a link is connected and no paste runs (both file transfers).
    void BlockTransferActUpdate(TObject* Sender);
    /// Uploads the Block Manager's lines as a block file.
    void BlockEditUploadFileActExecute(TObject* Sender);
    void BlockEditUploadFileActUpdate(TObject* Sender);
    /// Wheel over the focused terminal: the view moves one row down or up.
    bool SimpleTerminal1MouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta);
    /// Refreshes the enabled state of the three paste actions.
    void UpdatePasteActions();
    /// Sends the next paste line, or ends the paste.
    void SendNextPasteLine();
    /// The link closed under a running paste: the paste ends, and the user learns how many lines
    /// were not sent.
    void EndPasteOnClose();
    /// The link is gone while sending: the paste stops and the caption is reset; throws.
    [[noreturn]] void ConnectionLost();
    /// Shows the block file name, or "(none)", in the Block Manager's status bar.
    void ShowBlockFileName();
    /// Shows the current line and block in the Block Manager's status bar.
    void UpdateBlockStatus();
    /// Empties the code editor.
    void ClearCodeEditorText();
    /// Loads the completion words of the code editor.
    void LoadCompletionWords();
    /// The code editor's share of applying the options; the Block Manager, when shown, takes the
    /// source converted with the new options.
    void ApplyCodeEditorOptions();

    TTavloTerminalView& fView;
    UnicodeString fCaption = DesignCaption;
    TMainPage fActivePage = pgTerminal;
    TActionLayout fLayout;
    /// The settings file exists but could not be read at start-up: it is never written over.
    bool fSettingsUnread = false;
    std::unique_ptr<THostAddressForm> fHostAddressForm;
    /// What every received byte acts on, made once the window's buffers exist, not for each byte.
    std::optional<TRxContext> fRxContext;
    /// Sends in progress: a nested send (a reply of the receive procedure while the question of
    /// a stuck send is shown) queues its bytes behind the outer one.
    int fSendDepth = 0;
    std::string fQueuedTx;
};
