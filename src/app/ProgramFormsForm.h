#pragma once
// The program's forms with their Qt widgets.
#include <memory>
#include "codeeditor/EditPairsDlg.h"
#include "blocks/InsertBlockWhere.h"
#include "blocks/UploadDlg.h"
#include "app/ProgramForms.h"
#include "settings/ConfigTerm.h"
#include "settings/MapKeys.h"
#include "settings/SelectComPort.h"

class TConfigTermForm;
class TEditPairsDlgForm;
class TInsertBlockWhereForm;
class TMapTermKeysForm;
class TSelectComPortForm;
class TTavloTerminalForm;
class TUploadDialogForm;
class TTextViewerForm;

class TQtFormFactory : public TFormFactory {
public:
    TQtFormFactory();
    /// Destroys the other forms first, the main window last, then forgets the globals.
    ~TQtFormFactory() override;

    TTavloTerminalForm* MainWindow() const { return fMainWindow.get(); }

    TTavloTerminal* CreateTavloTerminal() override;
    TConfigTerm* CreateConfigTerm() override;
    TMapTermKeys* CreateMapTermKeys() override;
    TInsertBlockWhereDlg* CreateInsertBlockWhereDlg() override;
    TUploadDialog* CreateUploadDialog() override;
    TEditPairsForm* CreateEditPairsForm() override;
    TSelectComPortDlg* CreateSelectComPortDlg() override;
    TTextViewer* CreateTextViewer() override;

private:
    std::unique_ptr<TTavloTerminalForm> fMainWindow;
    std::unique_ptr<TConfigTerm> fConfigTerm;
    std::unique_ptr<TConfigTermForm> fConfigTermForm;
    std::unique_ptr<TMapTermKeys> fMapTermKeys;
    std::unique_ptr<TMapTermKeysForm> fMapTermKeysForm;
    std::unique_ptr<TInsertBlockWhereDlg> fInsertBlockWhereDlg;
    std::unique_ptr<TInsertBlockWhereForm> fInsertBlockWhereForm;
    std::unique_ptr<TUploadDialog> fUploadDialog;
    std::unique_ptr<TUploadDialogForm> fUploadDialogForm;
    std::unique_ptr<TEditPairsForm> fEditPairsForm;
    std::unique_ptr<TEditPairsDlgForm> fEditPairsDlgForm;
    std::unique_ptr<TSelectComPortDlg> fSelectComPortDlg;
    std::unique_ptr<TSelectComPortForm> fSelectComPortForm;
    std::unique_ptr<TTextViewerForm> fTextViewerForm;
};
