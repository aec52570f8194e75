#include "blocks/UploadDlg.h"

#include <algorithm>
#include "blocks/TransferCode.h"
#include "blocks/TransferReplies.h"
#include "link/ConnectionManager.h"
#include "platform/Dialogs.h"
#include "platform/Folders.h"
#include "platform/Stream.h"
#include "settings/ConfigUnit.h"

namespace {

/// The send limit of every byte, in seconds.
constexpr int kTxLimitSec = 10;
/// Start, eight data bits, parity and two stop bits: no framing the line may use takes longer.
constexpr int kLineBitsPerByte = 12;

/// The failure when the transfer software cannot be read: it names, in full, the file that was read,
/// so that the user knows where to put it.
UnicodeString MissingTransferSoftwareText(const UnicodeString& fileName)
{
    return u"Forth system requires block upload source, file \"" + ExpandFileName(fileName) + u"\" was not found";
}

void ShowError(const UnicodeString& text)
{
    Dialogs::Current().MessageBox(u"Error", text, TMsgDlgType::mtError, TMsgButtons::OK);
}

}  // namespace

void TSpinValue::SetMaxValue(int max)
{
    MaxValue = max;
    SetValue(Value);
}

void TSpinValue::SetValue(int value)
{
    Value = std::max(MinValue, std::min(value, MaxValue));
}

TUploadDialog::TUploadDialog(TConnectionMod& link) : fLink(link), fAlive(std::make_shared<TUploadDialog*>(this))
{
    UploadAct.Name = u"UploadAct";
    UploadAct.Hint = u"Begin upload";
    UploadAct.OnUpdate = [this](TObject*) {
        UploadAct.Enabled = DataStream && BlockCount >= 1 && CodeAvailable && !InProgress;
    };
    UploadAct.OnExecute = [this](TObject*) { StartTransfer(); };
    TimeOut.SetInterval(ReplyTimeOutMs);
    TimeOut.OnTimer = [this] { TimeOutTimer(); };
}

TUploadDialog::~TUploadDialog() = default;

bool TUploadDialog::Run(TStream& Stream, bool Upload)
{
    fCompleted = false;
    // Whatever ends the dialog, even an exception, the bytes go back where they went before.
    struct Restore {
        TConnectionMod& link;
        TConnectionMod::TConnectionManRxProc handler;
        ~Restore() { link.OnRxByte = std::move(handler); }
    } restore{fLink, fLink.OnRxByte};
    fLink.OnRxByte = [this](TObject* Sender, std::uint8_t Data) { DoRxByte(Sender, Data); };
    Stream.SetPosition(0);
    DataStream = &Stream;
    // An unknown configuration folder leaves the bare names, relative to the current folder.
    const UnicodeString folder = GetConfigFolder();
    UploadSourceFileName = Upload ? folder + u"UploadBlock.txt" : UnicodeString();
    DownLoadSourceFileName = Upload ? UnicodeString() : folder + u"SaveBlock.txt";
    ShowModal();
    return fCompleted;
}

void TUploadDialog::ShowModal()
{
    fShowing = true;
    FormActivate();
    // Set-up may already have failed and closed the dialog.
    if (fShowing && fView) fView->ShowModal();
}

void TUploadDialog::Close()
{
    if (!fShowing) return;
    fShowing = false;
    // The form's close query: it always allows closing and forgets the transfer.
    ResetTransfer();
    DataStream = nullptr;
    UploadSourceFileName.clear();
    DownLoadSourceFileName.clear();
    if (fView) {
        fView->Changed();
        fView->CloseModal();
    }
}

void TUploadDialog::ResetTransfer()
{
    StopWaiting();
    DownloadingBlock = false;
    DownloadBytesRead = 0;
    CurrentLine.clear();
    RxLines.Clear();
    CodeUploadList.Clear();
    BlockCount = -1;
    CodeAvailable = false;
    TransferBlockCount = 0;
    FramssToTransfer = 0;
    FramssTransfered = 0;
    InProgress = false;
}

void TUploadDialog::FormActivate()
{
    if (UploadSourceFileName.empty())
        PrepareDownload();
    else
        PrepareUpload();
    DisplayState();
    if (!DataStream) return;
    // Nothing to upload: refused before the target is asked anything.
    if (PerformUpload && TransferBlockCount == 0) {
        Fail(u"The source image is empty, there is nothing to upload.");
        return;
    }
    RequestBlockCount();
}

void TUploadDialog::PrepareTransfer(bool Upload)
{
    ResetTransfer();
    C_FirstBlock.MinValue = 0;
    C_FirstBlock.SetMaxValue(1);
    SetProgress(0, ProgressMax);
    DisplayStatus(u"");
    Caption = Upload ? u"Upload Forth Blocks" : u"Download Forth Blocks";
    PerformUpload = Upload;
    C_SourceBlocksReadOnly = Upload;
    C_SourceBlocksColor = Upload ? clBtnFace : clWindow;
    StartBtnCaption = Upload ? u" Upload" : u" Download";
    StartBtnGlyph = Upload ? 2 : 3;
    C_PadByteEnabled = Upload;
}

void TUploadDialog::PrepareUpload()
{
    PrepareTransfer(true);
    if (DataStream) {
        TransferBlockCount = int((DataStream->Size() + FrameDataSize - 1) / FrameDataSize);
        C_SourceBlocks.SetMaxValue(TransferBlockCount);
        C_SourceBlocks.SetValue(TransferBlockCount);
    }
}

void TUploadDialog::PrepareDownload()
{
    PrepareTransfer(false);
    if (DataStream) TransferBlockCount = 1;
}

void TUploadDialog::DisplayStatus(const UnicodeString& S)
{
    StatusLabel = u"Status: " + S;
    if (fView) fView->Changed();
}

void TUploadDialog::DisplayState()
{
    C_AvailableBlocks = BlockCount < 0 ? UnicodeString(u"???") : IntToStr(BlockCount);
    C_UploadCodeAvailableColor = CodeAvailable ? CodeAvailableColor : CodeMissingColor;
    const char16_t* word = PerformUpload ? u"load-blocks" : u"send-blocks";
    C_CodeState = u"Forth \"" + UnicodeString(word) + (CodeAvailable ? u"\" word available." : u"\" word not detected.");
    UploadAct.Update();
    if (fView) fView->Changed();
}

void TUploadDialog::SetProgress(int position, int max)
{
    ProgressMax = max;
    ProgressPosition = position;
    if (fView) fView->Changed();
}

void TUploadDialog::Fail(const UnicodeString& Msg)
{
    DownloadingBlock = false;
    DownloadBytesRead = 0;
    StopWaiting();
    CurrentLine.clear();
    RxLines.Clear();
    ShowError(Msg);
    Close();
}

void TUploadDialog::FailSend()
{
    Fail(fLink.IsActive() ? u"The terminal timed out attempting to send data." : u"The terminal connection was closed.");
}

void TUploadDialog::StopWaiting()
{
    ResponceHandler = nullptr;
    TimeOut.SetEnabled(false);
}

void TUploadDialog::Await(TResponse next, int timeOutMs, int lineBytes)
{
    ResponceHandler = next;
    TimeOut.SetInterval(timeOutMs + LineTimeMs(lineBytes));
    TimeOut.SetEnabled(true);
}

void TUploadDialog::Command(TResponse next, const UnicodeString& line, int timeOutMs)
{
    StopWaiting();
    CurrentLine.clear();
    RxLines.Clear();
    if (!SendLine(line)) return FailSend();
    Await(next, timeOutMs, int(line.size()) + 1);
}

bool TUploadDialog::SendText(const UnicodeString& S)
{
    // 8-bit text as everything else the program sends: a character above U+00FF goes as "?",
    // never as a low byte that may be a control code.
    for (char c : ToAnsi(S))
        if (!fLink.IsActive() || !fLink.TxByte(std::uint8_t(c), kTxLimitSec)) return false;
    return true;
}

bool TUploadDialog::SendLine(const UnicodeString& S)
{
    if (!SendText(S) || !fLink.IsActive() || !fLink.TxByte(13, kTxLimitSec)) return false;
    // The target answers only once it has the whole line: nothing more follows to gather.
    fLink.TxFlush();
    return true;
}

int TUploadDialog::LineTimeMs(int bytes) const
{
    if (fLink.PortType() != cmp_RS232) return 0;
    const std::int64_t rate = ComBaudRateValue(fLink.ComRx1.Options().BaudRate());
    if (rate <= 0) return 0;
    return int(std::int64_t(bytes) * kLineBitsPerByte * 1000 / rate + 1);
}

const UnicodeString& TUploadDialog::FirstReplyLine() const
{
    static const UnicodeString none;
    return RxLines.Count() > 0 ? RxLines[0] : none;
}

void TUploadDialog::DoRxByte(TObject* Sender, std::uint8_t Data)
{
    if (DownloadingBlock && !PerformUpload) {
        if (DownloadBytesRead < FrameSize) {
            TransferFrameBuffer[std::size_t(DownloadBytesRead++)] = Data;
            if (DownloadBytesRead < FrameSize) return;
        }
        DownloadingBlock = false;
        MainLoop::Current().Post([alive = std::weak_ptr<TUploadDialog*>(fAlive)] {
            if (auto self = alive.lock()) (*self)->FrameArrived();
        });
        return;
    }
    if (Data == 13) {
        // An empty line answers nothing: a stray CR must not pass for the next command's reply.
        if (CurrentLine.empty()) return;
        RxLines.Add(CurrentLine);
        CurrentLine.clear();
        MainLoop::Current().Post([alive = std::weak_ptr<TUploadDialog*>(fAlive)] {
            if (auto self = alive.lock()) (*self)->LineArrived();
        });
    } else if (Data >= 32) {
        CurrentLine += char16_t(Data);
    }
}

void TUploadDialog::LineArrived()
{
    // A notification of a line that an earlier state already took finds no line since its command.
    if (ResponceHandler && RxLines.Count() > 0) (this->*ResponceHandler)(false);
}

void TUploadDialog::FrameArrived()
{
    if (ResponceHandler && DownloadBytesRead == FrameSize) (this->*ResponceHandler)(false);
}

void TUploadDialog::TimeOutTimer()
{
    TimeOut.SetEnabled(false);
    CurrentLine.clear();
    RxLines.Clear();
    if (ResponceHandler) (this->*ResponceHandler)(true);
}

void TUploadDialog::SetFirstBlock(int value)
{
    C_FirstBlock.SetValue(value);
    if (!PerformUpload) {
        C_SourceBlocks.SetMaxValue(BlockCount - C_FirstBlock.Value);
    }
    if (fView) fView->Changed();
}

void TUploadDialog::SetSourceBlocks(int value)
{
    if (!C_SourceBlocksReadOnly) C_SourceBlocks.SetValue(value);
    if (fView) fView->Changed();
}

void TUploadDialog::SetPadByte(int itemIndex)
{
    if (C_PadByteEnabled) C_PadByte = itemIndex == 0 ? 0 : 1;
    if (fView) fView->Changed();
}

void TUploadDialog::RequestBlockCount()
{
    BlockCount = -1;
    DisplayStatus(u"Requesting block count..");
    Command(&TUploadDialog::BlockCountReply, u"blk-count U.", ReplyTimeOutMs);
}

void TUploadDialog::BlockCountReply(bool TimedOut)
{
    StopWaiting();
    SetProgress(0, ProgressMax);
    DisplayStatus(u"");
    if (TimedOut) return Fail(u"Forth system did not respond.");
    const std::optional<int> count = ReplyNumber(FirstReplyLine());
    if (!count) return Fail(u"Unable to request block count from forth system.");
    const int N = *count;
    if (N < 1 || N > MaxBlockCount)
        return Fail(u"The forth system reported " + IntToStr(N) + u" blocks, a block count of 1 to " +
                    IntToStr(MaxBlockCount) + u" is needed to transfer blocks.");
    BlockCount = N;
    C_FirstBlock.SetMaxValue(N - 1);
    C_SourceBlocks.SetMaxValue(N);
    if (PerformUpload) {
        if (N < TransferBlockCount) return Fail(u"The source image is to large to fit on the connected forth system.");
        C_FirstBlock.SetMaxValue(N - TransferBlockCount);
        DisplayState();
        CheckLoadBlocks();
    } else {
        TransferBlockCount = N;
        C_SourceBlocks.SetValue(std::min(C_SourceBlocks.Value, N - C_FirstBlock.Value));
        DisplayState();
        CheckSendBlocks();
    }
}

void TUploadDialog::CheckLoadBlocks()
{
    CodeAvailable = false;
    SetProgress(0, ProgressMax);
    DisplayStatus(u"Checking for \"upload-blocks\" on forth system...");
    Command(&TUploadDialog::CheckWordReply, u"' load-blocks .", ReplyTimeOutMs);
}

void TUploadDialog::CheckSendBlocks()
{
    CodeAvailable = false;
    SetProgress(0, ProgressMax);
    DisplayStatus(u"Checking for \"send-blocks\" on forth system...");
    Command(&TUploadDialog::CheckWordReply, u"' send-blocks .", ReplyTimeOutMs);
}

void TUploadDialog::CheckWordReply(bool TimedOut)
{
    StopWaiting();
    DisplayStatus(u"");
    if (TimedOut) return Fail(u"Forth system did not respond.");
    if (ReplyNumber(FirstReplyLine())) {
        CodeAvailable = true;
        DisplayState();
        return;
    }
    OfferTransferSoftware();
}

void TUploadDialog::OfferTransferSoftware()
{
    const UnicodeString& fileName = PerformUpload ? UploadSourceFileName : DownLoadSourceFileName;
    if (fileName.empty() || !FileExists(fileName)) {
        return Fail(MissingTransferSoftwareText(fileName));
    }
    const UnicodeString question =
        PerformUpload ? u"Forth system word \"load-blocks\" not available, upload forth transfer software?"
                      : u"Forth system word \"send-blocks\" not available, upload forth transfer software?";
    if (Dialogs::Current().MessageBox(u"Confirm", question, TMsgDlgType::mtConfirmation, TMsgButtons::OKCancel) ==
        TModalResult::mrOk)
        UploadTransferSoftware(fileName);
    else
        Close();
}

void TUploadDialog::UploadTransferSoftware(const UnicodeString& fileName)
{
    DisplayStatus(u"Uploading forth transfer software...");
    // A copy: closing the dialog on a failure below clears the file names.
    const UnicodeString name = fileName;
    UnicodeString error;
    if (!CodeUploadList.LoadFromFile(name, &error)) {
        return Fail(FileExists(name) ? error : MissingTransferSoftwareText(name));
    }
    PrepareSoftwareLines(CodeUploadList);
    SetProgress(0, CodeUploadList.Count());
    SendNextSoftwareLine();
}

void TUploadDialog::SendNextSoftwareLine()
{
    if (CodeUploadList.Count() == 0) {
        SetProgress(0, ProgressMax);
        DisplayStatus(u"");
        return PerformUpload ? CheckLoadBlocks() : CheckSendBlocks();
    }
    SetProgress(ProgressPosition + 1, ProgressMax);
    const UnicodeString line = CodeUploadList[0];
    CodeUploadList.Delete(0);
    Command(&TUploadDialog::SoftwareLineReply, line, SoftwareLineTimeOutMs);
}

void TUploadDialog::SoftwareLineReply(bool TimedOut)
{
    StopWaiting();
    // The target need not answer every line in time: silence counts as taken.
    if (TimedOut || ReplyIsOk(FirstReplyLine())) return SendNextSoftwareLine();
    Fail(u"Upload of transfer software failed, " + FirstReplyLine());
}

void TUploadDialog::StartTransfer()
{
    InProgress = true;
    UploadAct.Update();
    if (!PerformUpload) {
        DisplayStatus(u"Requesting block download...");
        TransferBlockCount = C_SourceBlocks.Value;
        FramssToTransfer = C_SourceBlocks.Value;
    } else {
        DisplayStatus(u"Requesting block upload...");
    }
    SetProgress(0, FramssToTransfer);
    FramssTransfered = 0;
    DownloadingBlock = false;
    DownloadBytesRead = 0;
    const int first = C_FirstBlock.Value;
    const int last = first + TransferBlockCount - 1;
    Command(&TUploadDialog::TransferReply,
            IntToStr(first) + u" " + IntToStr(last) + (PerformUpload ? u" load-blocks" : u" send-blocks"),
            ReplyTimeOutMs);
}

void TUploadDialog::TransferReply(bool TimedOut)
{
    StopWaiting();
    SetProgress(0, ProgressMax);
    DisplayStatus(u"");
    if (TimedOut) return Fail(u"Forth system did not respond.");
    if (!ReplyIsReady(FirstReplyLine(), PerformUpload))
        return Fail(u"Request to transfer block failed, " + FirstReplyLine());
    if (PerformUpload) {
        FramssToTransfer = TransferBlockCount;
        SetProgress(0, FramssToTransfer);
        SendNextFrame();
    } else {
        RequestNextFrame();
    }
}

void TUploadDialog::SendNextFrame()
{
    StopWaiting();
    if (FramssTransfered >= FramssToTransfer) {
        InProgress = false;
        fCompleted = true;
        return Close();
    }
    DisplayStatus(u"Uploading block frames...");
    BuildFrame(*DataStream, C_PadByte == 0 ? ' ' : 0, TransferFrameBuffer);
    SetProgress(ProgressPosition + 1, ProgressMax);
    CurrentLine.clear();
    RxLines.Clear();
    if (!fLink.TxBytes(TransferFrameBuffer.data(), FrameSize, kTxLimitSec)) return FailSend();
    fLink.TxFlush();
    ++FramssTransfered;
    Await(&TUploadDialog::FrameReply, ReplyTimeOutMs, FrameSize);
}

void TUploadDialog::FrameReply(bool TimedOut)
{
    StopWaiting();
    if (TimedOut && !fLink.IsActive()) return Fail(u"Block upload failed, the connection was lost.");
    if (TimedOut) return Fail(u"Block upload failed, timed out waiting for responce");
    const UnicodeString& line = FirstReplyLine();
    if (!line.empty() && line.back() == u'>') return SendNextFrame();
    // " OK" ends the exchange: only after the last frame is that a success.
    if (ReplyIsOk(line) && FramssTransfered >= FramssToTransfer) {
        InProgress = false;
        fCompleted = true;
        return Close();
    }
    Fail(u"Block upload failed, " + line);
}

void TUploadDialog::RequestNextFrame()
{
    StopWaiting();
    DownloadingBlock = false;
    DownloadBytesRead = 0;
    if (FramssTransfered >= FramssToTransfer) {
        InProgress = false;
        fCompleted = true;
        return Close();
    }
    DisplayStatus(u"Downloading block frames...");
    SetProgress(ProgressPosition + 1, ProgressMax);
    DownloadingBlock = true;
    CurrentLine.clear();
    RxLines.Clear();
    if (!SendLine(u">")) return FailSend();
    // The frame comes back over the same line: its time counts too.
    Await(&TUploadDialog::CheckDownloadedFrame, ReplyTimeOutMs, 2 + FrameSize);
}

void TUploadDialog::CheckDownloadedFrame(bool TimedOut)
{
    StopWaiting();
    const bool complete = DownloadBytesRead == FrameSize;
    DownloadingBlock = false;
    DownloadBytesRead = 0;
    if ((TimedOut || !complete) && !fLink.IsActive()) return Fail(u"Block download failed, the connection was lost.");
    if (TimedOut || !complete) return Fail(u"Block download failed, timed out waiting for responce");
    if (!FrameChecksumValid(TransferFrameBuffer)) return Fail(u"Block download failed, data block is invalid.");
    if (DataStream->Write(TransferFrameBuffer.data(), FrameDataSize) != FrameDataSize)
        return Fail(u"Block download failed, the destination file could not be written.");
    ++FramssTransfered;
    RequestNextFrame();
}
