#pragma once
// The program's forms with their Qt widgets.
#include <memory>
#include <vector>
#include "app/PendingForms.h"
#include "blocks/InsertBlockWhere.h"
#include "app/ProgramForms.h"
#include "settings/MapKeys.h"

class QDialog;
class TInsertBlockWhereForm;
class TMapTermKeysForm;
class TTavloTerminalForm;

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
    /// An empty dialog for a form whose widgets are still to come.
    void AddDialog();

    std::unique_ptr<TTavloTerminalForm> fMainWindow;
    std::vector<std::unique_ptr<QDialog>> fDialogs;
    std::unique_ptr<TConfigTerm> fConfigTerm;
    std::unique_ptr<TMapTermKeys> fMapTermKeys;
    std::unique_ptr<TMapTermKeysForm> fMapTermKeysForm;
    std::unique_ptr<TInsertBlockWhereDlg> fInsertBlockWhereDlg;
    std::unique_ptr<TInsertBlockWhereForm> fInsertBlockWhereForm;
    std::unique_ptr<TUploadDialog> fUploadDialog;
    std::unique_ptr<TEditPairsForm> fEditPairsForm;
    std::unique_ptr<TSelectComPortDlg> fSelectComPortDlg;
    std::unique_ptr<TTextViewer> fTextViewer;
};
