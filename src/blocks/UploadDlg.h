#pragma once
// The block transfer dialog: uploads blocks to the target or downloads them into a file by Forth
// commands and checksummed frames, one reply at a time, on the main loop's timer. This is what
// the dialog does; UploadDlgForm gives it its widgets.
#include <cstdint>
#include <memory>
#include "blocks/BlockFrame.h"
#include "platform/Actions.h"
#include "platform/Events.h"
#include "platform/Graphics.h"
#include "platform/MainLoop.h"
#include "platform/StringList.h"
#include "platform/Text.h"

class TConnectionMod;
class TStream;

/// A spin edit's range and value; the value always stays inside the range, as the widget keeps it.
struct TSpinValue {
    int MinValue = 0;
    int MaxValue = 0;
    int Value = 0;
    void SetMaxValue(int max);
    void SetValue(int value);
};

/// The widgets that show the transfer dialog.
class TUploadDialogView {
public:
    virtual ~TUploadDialogView() = default;
    /// Shows the dialog until CloseModal is called.
    virtual void ShowModal() = 0;
    virtual void CloseModal() = 0;
    /// Something shown changed: the widgets read the dialog's display fields again.
    virtual void Changed() = 0;
};

class TUploadDialog : public TObject {
public:
    /// The lamp of the transfer word: lime when found, maroon when not.
    static constexpr TColor CodeAvailableColor = 0x00FF00;
    static constexpr TColor CodeMissingColor = 0x000080;

    explicit TUploadDialog(TConnectionMod& link);
    ~TUploadDialog() override;
    TUploadDialog(const TUploadDialog&) = delete;
    TUploadDialog& operator=(const TUploadDialog&) = delete;

    /// Transfers between the stream and the target: received bytes come to DoRxByte while the
    /// dialog is shown, and go back to the handler that had them whichever way it closes. An upload
    /// sends the stream from its start; a download writes the blocks to it. True when every block
    /// went through; false after a failure, a refusal or a close before the end.
    bool Run(TStream& Stream, bool Upload);

    /// Sets the dialog up for the stream and file names given and shows it modally.
    void ShowModal();
    /// Closes the dialog at any moment; the exchange stops where it is.
    void Close();
    bool Showing() const { return fShowing; }
    /// The widget side sets itself here while it exists.
    void SetView(TUploadDialogView* view) { fView = view; }

    /// Every byte from the target while the dialog runs, in the main thread.
    void DoRxByte(TObject* Sender, std::uint8_t Data);

    /// The user changed a spin edit or the pad choice.
    void SetFirstBlock(int value);
    void SetSourceBlocks(int value);
    void SetPadByte(int itemIndex);

    /// Starts the transfer; enabled once the target's block count and transfer word are known.
    TAction UploadAct;

    /// What the widgets show.
    UnicodeString Caption = u"Transfer Blocks";
    TSpinValue C_FirstBlock{0, 128, 0};
    TSpinValue C_SourceBlocks{1, 128, 1};
    bool C_SourceBlocksReadOnly = false;
    /// Button face while read-only (upload), window colour while editable (download).
    TColor C_SourceBlocksColor = clWindow;
    UnicodeString C_AvailableBlocks = u"????";
    TColor C_UploadCodeAvailableColor = CodeMissingColor;
    UnicodeString C_CodeState;
    int C_PadByte = 0;
    bool C_PadByteEnabled = true;
    UnicodeString StatusLabel = u"Status: ";
    int ProgressPosition = 0;
    int ProgressMax = 100;
    UnicodeString StartBtnCaption;
    /// 2: the upload glyph, 3: the download glyph.
    int StartBtnGlyph = 2;

    /// Source (upload) or destination (download); not owned.
    TStream* DataStream = nullptr;
    /// Transfer-code files; a non-empty upload name makes the dialog upload.
    UnicodeString UploadSourceFileName;
    UnicodeString DownLoadSourceFileName;

    int BlockCount = -1;
    bool CodeAvailable = false;
    bool InProgress = false;
    bool PerformUpload = false;

    /// The most blocks the spin boxes count to (64 MiB): a larger reported count is refused.
    static constexpr int MaxBlockCount = 65535;
    static constexpr int ReplyTimeOutMs = 2000;
    static constexpr int SoftwareLineTimeOutMs = 200;

private:
    /// A state: called with the next reply line, or with TimedOut when none came in time.
    using TResponse = void (TUploadDialog::*)(bool TimedOut);

    void FormActivate();
    void PrepareUpload();
    void PrepareDownload();
    /// The controls, caption and start button of an idle dialog for the given direction.
    void PrepareTransfer(bool Upload);
    /// Back to the state of a dialog that runs nothing.
    void ResetTransfer();
    void DisplayStatus(const UnicodeString& S);
    void DisplayState();
    void SetProgress(int position, int max);
    void Fail(const UnicodeString& Msg);
    /// A send did not go through: the link is gone or stuck.
    void FailSend();
    /// Stops waiting: no reply and no time-out reaches a state any more.
    void StopWaiting();
    /// Waits for `next` for the time-out plus the time the link needs to move `lineBytes`.
    void Await(TResponse next, int timeOutMs, int lineBytes);
    /// Sends the line and a CR and waits for the reply; fails the transfer when it cannot be sent.
    void Command(TResponse next, const UnicodeString& line, int timeOutMs);
    bool SendText(const UnicodeString& S);
    bool SendLine(const UnicodeString& S);
    /// Milliseconds the link needs to move that many bytes: the serial line's own time, 0 on TCP.
    int LineTimeMs(int bytes) const;
    const UnicodeString& FirstReplyLine() const;

    void LineArrived();
    void FrameArrived();
    void TimeOutTimer();

    void RequestBlockCount();
    void BlockCountReply(bool TimedOut);
    void CheckLoadBlocks();
    void CheckSendBlocks();
    void CheckWordReply(bool TimedOut);
    void OfferTransferSoftware();
    void UploadTransferSoftware(const UnicodeString& fileName);
    void SendNextSoftwareLine();
    void SoftwareLineReply(bool TimedOut);
    void StartTransfer();
    void TransferReply(bool TimedOut);
    void SendNextFrame();
    void FrameReply(bool TimedOut);
    void RequestNextFrame();
    void CheckDownloadedFrame(bool TimedOut);

    TConnectionMod& fLink;
    TUploadDialogView* fView = nullptr;
    bool fShowing = false;
    /// The last block of the transfer went through.
    bool fCompleted = false;
    TTimer TimeOut;
    TResponse ResponceHandler = nullptr;
    UnicodeString CurrentLine;
    TStringList RxLines;
    TStringList CodeUploadList;
    int TransferBlockCount = 0;
    int FramssToTransfer = 0;
    int FramssTransfered = 0;
    TTransferFrame TransferFrameBuffer{};
    bool DownloadingBlock = false;
    int DownloadBytesRead = 0;
    /// Posted notifications hold it weakly, so none reaches a dialog that is gone.
    std::shared_ptr<TUploadDialog*> fAlive;
};
