#pragma once
// "Select Com Port": the serial ports the system knows, re-read when devices come and go while
// the picker is shown. This is what the picker does; its widgets live in SelectComPortForm.
#include <functional>
#include <vector>
#include "platform/Dialogs.h"
#include "platform/MainLoop.h"
#include "platform/Text.h"
#include "settings/ConfigTerm.h"

/// One row of the picker: the name the settings keep, and the device behind it.
struct TComPortRow {
    UnicodeString PortName;
    UnicodeString Device;
    friend bool operator==(const TComPortRow&, const TComPortRow&) = default;
};

/// The serial ports of the running system under their bare names, each with its device path.
std::vector<TComPortRow> SystemComPorts();

class TSelectComPortDlg;

/// The widgets that show the picker.
class TSelectComPortView {
public:
    virtual ~TSelectComPortView() = default;
    /// The rows or the selection changed.
    virtual void RowsChanged() = 0;
    /// Shows the picker until the user closes it; mrOk on OK.
    virtual TModalResult ShowModal() = 0;
};

class TSelectComPortDlg : public TObject, public TComPortChooser {
public:
    /// The delay after the last device change before the list is read again.
    static constexpr int ChangeDelayMs = 1700;

    explicit TSelectComPortDlg(std::function<std::vector<TComPortRow>()> listPorts = SystemComPorts);

    /// The port to highlight when the picker is shown.
    UnicodeString fSelectedPortName;

    const std::vector<TComPortRow>& Rows() const { return fRows; }
    /// The selected row, -1 for none.
    int Selected() const { return fSelected; }
    void SetSelected(int row);
    /// The port name of the selected row; empty when none is selected.
    UnicodeString GetSelectedPort() const;
    /// Selects the row of that port when there is one; else the selection stays.
    void SelectPort(const UnicodeString& Name);
    /// Reads the port list again.
    void RefreshPorts();

    /// The picker is being shown: the list is read and the preset port highlighted.
    void FormActivate();
    /// The picker was closed: device changes no longer matter to it.
    void FormHide();
    /// A device came or went: the list is read again once changes have settled.
    void DeviceChange();
    void ChangeTimerTimer();

    /// Presets the port, shows the picker; the chosen port on OK, else empty.
    UnicodeString ChoosePort(const UnicodeString& preselected) override;
    void SetView(TSelectComPortView* view) { fView = view; }

    TTimer ChangeTimer;

private:
    std::function<std::vector<TComPortRow>()> fListPorts;
    std::vector<TComPortRow> fRows;
    int fSelected = -1;
    bool fShown = false;
    TSelectComPortView* fView = nullptr;
};
