// The main window's sending: bytes and strings to the target, typed and mapped keys, timed paste.
#include <algorithm>
#include <limits>
#include <stdexcept>
#include "app/ProgramForms.h"
#include "app/Unit1.h"
#include "blocks/BlockFile.h"
#include "blocks/BlockLines.h"
#include "link/ConnectionManager.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "settings/MapKeys.h"

namespace {

constexpr std::uint32_t MinPasteIntervalMs = 10;

/// Counts a send in progress for as long as it lives, also when the send throws.
class SendScope {
public:
    explicit SendScope(int& depth) : fDepth(depth) { ++fDepth; }
    ~SendScope() { --fDepth; }
    SendScope(const SendScope&) = delete;
    SendScope& operator=(const SendScope&) = delete;

private:
    int& fDepth;
};

}  // namespace

void TTavloTerminal::SendChar(std::uint8_t c)
{
    if (!ConnectionMod || !ConnectionMod->IsConnected()) return;
    // A send that waits, or whose question is shown, keeps the link to itself: bytes sent
    // meanwhile (replies of the receive procedure) follow it in order instead of cutting in.
    if (fSendDepth > 0) {
        fQueuedTx.push_back(char(c));
        return;
    }
    SendScope scope(fSendDepth);
    std::string pending(1, char(c));
    while (!pending.empty()) {
        const std::uint8_t b = std::uint8_t(pending.front());
        for (;;) {
            if (ConnectionMod->TxByte(b, SendTimeLimitSec)) break;
            if (!ConnectionMod->IsConnected()) ConnectionLost();
            TModalResult answer = Dialogs::Current().MessageBox(
                u"", u"The terminal timed out attempting to send data.", TMsgDlgType::mtError,
                TMsgButtons::RetryCancel);
            if (answer == TModalResult::mrRetry) {
                if (!ConnectionMod->IsConnected()) ConnectionLost();
                continue;
            }
            ConnectionMod->ClosePort();
            ConnectionLost();
        }
        pending.erase(0, 1);
        pending += fQueuedTx;
        fQueuedTx.clear();
    }
}

void TTavloTerminal::ConnectionLost()
{
    fQueuedTx.clear();
    SetCaption(OriginalCaption);
    AbortPaste = true;
    InPaste = false;
    PasteLineTimer.SetEnabled(false);
    UpdatePasteActions();
    throw std::runtime_error("The terminal connection was closed.");
}

void TTavloTerminal::SendString(const UnicodeString& s)
{
    const AnsiString bytes = ToAnsi(s);
    for (char c : bytes) {
        if (!ConnectionMod || !ConnectionMod->IsConnected()) return;
        SendChar(std::uint8_t(c));
    }
}

void TTavloTerminal::SendLine(const UnicodeString& s)
{
    SendString(s);
    SendChar(13);
}

void TTavloTerminal::SimpleTerminal1KeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift)
{
    if (!MapTermKeys) return;
    const UnicodeString mapped = MapTermKeys->MappKey(Key, Shift);
    if (mapped.empty()) return;
    Key = 0;
    SendString(mapped);
}

void TTavloTerminal::SimpleTerminal1KeyPress(TObject* Sender, char16_t& Key)
{
    SendChar(std::uint8_t(ToAnsi(std::u16string_view(&Key, 1)).front()));
}

void TTavloTerminal::StartPaste(const TStringList* Lines)
{
    if (!Lines) return;
    InPaste = true;
    AbortPaste = false;
    UpdatePasteActions();
    PasteTextLinesBuffer->Clear();
    for (int i = 0; i < Lines->Count(); ++i) PasteTextLinesBuffer->Add((*Lines)[i]);
    PasteLineTimer.SetEnabled(false);
    // A delay from a hand-made settings file may exceed the timer's int: the longest one it takes.
    const std::uint32_t delay = std::clamp(Options->PasteTextLineDelayMS, MinPasteIntervalMs,
                                           std::uint32_t(std::numeric_limits<int>::max()));
    PasteLineTimer.SetInterval(int(delay));
    PasteLineTimer.SetEnabled(true);
}

void TTavloTerminal::PasteLineTimerTimer()
{
    PasteLineTimer.SetEnabled(false);
    // A send still waits or asks: the next line would cut into its bytes, or ask again.
    if (fSendDepth > 0) {
        PasteLineTimer.SetEnabled(true);
        return;
    }
    SendNextPasteLine();
}

void TTavloTerminal::SendNextPasteLine()
{
    if (AbortPaste) {
        InPaste = false;
        UpdatePasteActions();
        return;
    }
    if (PasteTextLinesBuffer->Count() == 0) {
        InPaste = false;
        UpdatePasteActions();
        return;
    }
    if (!ConnectionMod->IsConnected()) {
        EndPasteOnClose();
        return;
    }
    SendLine((*PasteTextLinesBuffer)[0]);
    PasteTextLinesBuffer->Delete(0);
    PasteLineTimer.SetEnabled(true);
}

void TTavloTerminal::EndPasteOnClose()
{
    if (!InPaste) return;
    PasteLineTimer.SetEnabled(false);
    const int unsent = PasteTextLinesBuffer->Count();
    PasteTextLinesBuffer->Clear();
    InPaste = false;
    AbortPaste = true;
    UpdatePasteActions();
    // A send in progress reports the closed link itself.
    if (fSendDepth > 0) return;
    ShowMessage(u"The terminal connection was closed.\nThe paste was aborted; " + IntToStr(unsent) +
                (unsent == 1 ? u" line was" : u" lines were") + u" not sent.");
}

void TTavloTerminal::UpdatePasteActions()
{
    AbortPasteAct->Update();
    TermPasteAct->Update();
    UploadTextFile->Update();
}

void TTavloTerminal::TermPasteActExecute(TObject* Sender)
{
    Clipboard& clipboard = Clipboard::Current();
    if (!clipboard.HasText()) return;
    TStringList lines;
    lines.SetText(clipboard.Text());
    StartPaste(&lines);
}

void TTavloTerminal::TermPasteActUpdate(TObject* Sender)
{
    Clipboard* clipboard = nullptr;
    try {
        clipboard = &Clipboard::Current();
    } catch (const std::logic_error&) {
    }
    TermPasteAct->Enabled = !InPaste && ConnectionMod && ConnectionMod->IsConnected() && clipboard &&
                            clipboard->HasText();
}

void TTavloTerminal::UploadTextFileExecute(TObject* Sender)
{
    TFileDialogRequest request;
    request.Title = u"Select File To Paste";
    request.DefaultExt = u".blk";
    request.Filter = u"Forth Block File|*.blk|Forth File|*.forth|Text File|*.txt|Any Files|*.*";
    const UnicodeString fileName = Dialogs::Current().OpenFile(request);
    if (fileName.empty()) return;
    TStringList lines;
    const bool blocks = IsBlockFileName(fileName);
    UnicodeString error;
    const bool read = blocks ? LoadBlockFileLines(fileName, lines, &error) : lines.LoadFromFile(fileName, &error);
    if (!read) throw std::runtime_error(ToUtf8(error));
    if (blocks) WrapBlockLines(lines);
    StartPaste(&lines);
}

void TTavloTerminal::UploadTextFileUpdate(TObject* Sender)
{
    UploadTextFile->Enabled = !InPaste && ConnectionMod && ConnectionMod->IsConnected();
}

void TTavloTerminal::AbortPasteActExecute(TObject* Sender)
{
    AbortPaste = true;
    InPaste = false;
}

void TTavloTerminal::AbortPasteActUpdate(TObject* Sender)
{
    AbortPasteAct->Enabled = InPaste && !AbortPaste;
}
