#include "settings/SelectComPort.h"

#include <filesystem>
#include "platform/SerialPortList.h"

std::vector<TComPortRow> SystemComPorts()
{
    std::vector<TComPortRow> rows;
    for (const UnicodeString& name : ListSerialPorts()) {
        std::error_code error;
        const std::filesystem::path path = "/dev/" + ToUtf8(name);
        // A by-id name is a link: the device is what it points at.
        std::filesystem::path device = std::filesystem::weakly_canonical(path, error);
        if (error) device = path;
        rows.push_back({name, FromUtf8(device.string())});
    }
    return rows;
}

TSelectComPortDlg::TSelectComPortDlg(std::function<std::vector<TComPortRow>()> listPorts)
    : fListPorts(std::move(listPorts))
{
    ChangeTimer.SetInterval(ChangeDelayMs);
    ChangeTimer.OnTimer = [this] { ChangeTimerTimer(); };
}

void TSelectComPortDlg::SetSelected(int row)
{
    fSelected = row >= 0 && row < int(fRows.size()) ? row : -1;
    if (fView) fView->RowsChanged();
}

UnicodeString TSelectComPortDlg::GetSelectedPort() const
{
    return fSelected >= 0 ? fRows[std::size_t(fSelected)].PortName : UnicodeString();
}

void TSelectComPortDlg::SelectPort(const UnicodeString& Name)
{
    for (std::size_t i = 0; i < fRows.size(); ++i)
        if (fRows[i].PortName == Name) return SetSelected(int(i));
}

void TSelectComPortDlg::RefreshPorts()
{
    fRows = fListPorts ? fListPorts() : std::vector<TComPortRow>{};
    // A fresh grid puts its selection on the first row.
    fSelected = fRows.empty() ? -1 : 0;
    if (fView) fView->RowsChanged();
}

void TSelectComPortDlg::FormActivate()
{
    fShown = true;
    RefreshPorts();
    SelectPort(fSelectedPortName);
}

void TSelectComPortDlg::FormHide()
{
    fShown = false;
    ChangeTimer.SetEnabled(false);
}

void TSelectComPortDlg::DeviceChange()
{
    if (!fShown) return;
    ChangeTimer.SetEnabled(false);
    ChangeTimer.SetEnabled(true);
}

void TSelectComPortDlg::ChangeTimerTimer()
{
    ChangeTimer.SetEnabled(false);
    if (!fShown) return;
    const UnicodeString selected = GetSelectedPort();
    RefreshPorts();
    SelectPort(selected);
}

UnicodeString TSelectComPortDlg::ChoosePort(const UnicodeString& preselected)
{
    fSelectedPortName = preselected;
    if (!fView) return {};
    return fView->ShowModal() == TModalResult::mrOk ? GetSelectedPort() : UnicodeString();
}
