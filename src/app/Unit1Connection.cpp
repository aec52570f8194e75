// The main window's connection actions: open and close the link, pulse the reset lines, the
// options dialog with its reopen question, the caption that names the link.
#include "app/ActionImages.h"
#include "app/HostAddress.h"
#include "app/ProgramForms.h"
#include "app/SettingsFile.h"
#include "app/Unit1.h"
#include "link/ConnectionManager.h"
#include "platform/Dialogs.h"
#include "platform/WindowPlacement.h"
#include "settings/ConfigObject.h"
#include "settings/ConfigTerm.h"

void TTavloTerminal::SetCaptionMsg(const UnicodeString& Msg)
{
    SetCaption(Msg.empty() ? OriginalCaption : OriginalCaption + u" [" + Msg + u"]");
}

void TTavloTerminal::ConnectionChanged(TObject* Sender)
{
    // Parameter bytes cut off on the last link must not swallow the first bytes of the next.
    RxState = TRxState{};
    SetCaptionMsg(ConnectionMod->ConnectionName());
    if (ConnectionMod->PortType() == cmp_TcpClient) {
        Options->TcpHostAddress = fHostAddressForm->HostAddressEdit;
        Options->TcpHostPort = fHostAddressForm->HostPortEdit;
    }
    if (!ConnectionMod->IsConnected()) EndPasteOnClose();
}

void TTavloTerminal::ComConnectActExecute(TObject* Sender)
{
    ConnectionMod->OpenComPort(Options->ComPortName, Options->ComPortOptions);
    SetCaptionMsg(ConnectionMod->ConnectionName());
    ComDisconnectAct->ImageName = SerialLinkImage;
    ComDisconnectAct->Update();
}

void TTavloTerminal::TcpConnectActExecute(TObject* Sender)
{
    if (ConnectionMod->IsActive()) return;
    const TRect main = fView.WindowBounds();
    THostAddressForm& form = *fHostAddressForm;
    const TRect place = CentreOver(main, form.Width(), form.Height());
    form.Top = place.Top;
    form.Left = place.Left;
    if (form.ShowModal() != TModalResult::mrOk) return;
    ConnectionMod->OpenTcpPort(form.HostAddressEdit, form.HostPortEdit);
    TcpConnectAct->Enabled = false;
    ComConnectAct->Enabled = false;
    SetCaptionMsg(ConnectionMod->ConnectionName());
    ComDisconnectAct->ImageName = TcpLinkImage;
    ComDisconnectAct->Update();
}

void TTavloTerminal::ConnectActUpdate(TObject* Sender)
{
    const bool idle = !ConnectionMod || !ConnectionMod->IsActive();
    ComConnectAct->Enabled = idle;
    TcpConnectAct->Enabled = idle;
}

void TTavloTerminal::ComDisconnectActExecute(TObject* Sender)
{
    ConnectionMod->ClosePort();
    SetCaptionMsg(u"");
    EndPasteOnClose();
}

void TTavloTerminal::ComDisconnectActUpdate(TObject* Sender)
{
    ComDisconnectAct->Enabled = ConnectionMod && ConnectionMod->IsActive();
}

void TTavloTerminal::ComPulseDTRActExecute(TObject* Sender) { ConnectionMod->ComPulseDTR(); }

void TTavloTerminal::ComPulseDTRActUpdate(TObject* Sender)
{
    ComPulseDTRAct->Enabled = ConnectionMod && ConnectionMod->ComCanPulseDTR() &&
                              ConnectionMod->PortType() == cmp_RS232 && !InPaste;
}

void TTavloTerminal::ComPulseRtsActExecute(TObject* Sender) { ConnectionMod->ComPulseRTS(); }

void TTavloTerminal::ComPulseRtsActUpdate(TObject* Sender)
{
    ComPulseRtsAct->Enabled = ConnectionMod && ConnectionMod->ComCanPulseRTS() &&
                              ConnectionMod->PortType() == cmp_RS232 && !InPaste;
}

void TTavloTerminal::TermOptionsActExecute(TObject* Sender)
{
    if (!ConfigTerm) return;
    // Only an open serial port can be asked about: TCP and closed links take the settings later.
    const bool serial = ConnectionMod->IsActive() && ConnectionMod->PortType() == cmp_RS232;
    TNrKeyValueSections before;
    TNrKeyValueSections after;
    CollectTerminalOptions(SimpleTerminal1, *Options);
    CodeEditorPage.CollectTermOptions(*Options);
    ConfigTerm->SetOptions(*Options);
    if (serial) WriteConnectionSettings(*Options, before);
    if (ConfigTerm->ShowModal() != TModalResult::mrOk) return;
    ConfigTerm->GetOptions(*Options);
    ApplyTerminalOptions(*Options, SimpleTerminal1);
    ApplyCodeEditorOptions();
    if (!serial) return;
    WriteConnectionSettings(*Options, after);
    if (SameComPortSettings(before, after)) return;
    if (Dialogs::Current().MessageBox(u"", u"Com port is active, apply new setting and reset com port?",
                                      TMsgDlgType::mtInformation, TMsgButtons::YesNo) != TModalResult::mrYes)
        return;
    ConnectionMod->ClosePort();
    SetCaptionMsg(u"");
    EndPasteOnClose();
    ConnectionMod->OpenComPort(Options->ComPortName, Options->ComPortOptions);
}

void TTavloTerminal::TermClearScreenActExecute(TObject* Sender)
{
    SimpleTerminal1.ClrScreen();
    SimpleTerminal1.GoHome();
    SimpleTerminal1.SetDisplayCursor(true);
}

bool TTavloTerminal::SimpleTerminal1MouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta)
{
    if (!SimpleTerminal1.Focused() || WheelDelta == 0) return false;
    // Wheel down (a negative delta) moves the view down one row.
    SimpleTerminal1.MoveViewTop(WheelDelta < 0 ? SimpleTerminal1.CellHeight() : -SimpleTerminal1.CellHeight());
    return true;
}

void TTavloTerminal::PageControl1Enter() { SimpleTerminal1.SetFocus(); }
