#include "app/ProgramFormsForm.h"
#include <QDialog>
#include "app/Unit1Form.h"
#include "blocks/InsertBlockWhereForm.h"
#include "settings/MapKeysForm.h"

TQtFormFactory::TQtFormFactory() = default;

TQtFormFactory::~TQtFormFactory()
{
    fDialogs.clear();
    fTextViewer.reset();
    fSelectComPortDlg.reset();
    fEditPairsForm.reset();
    fUploadDialog.reset();
    fInsertBlockWhereForm.reset();
    fInsertBlockWhereDlg.reset();
    fMapTermKeysForm.reset();
    fMapTermKeys.reset();
    fConfigTerm.reset();
    fMainWindow.reset();
    ClearFormGlobals();
}

void TQtFormFactory::AddDialog() { fDialogs.push_back(std::make_unique<QDialog>()); }

TTavloTerminal* TQtFormFactory::CreateTavloTerminal()
{
    fMainWindow = std::make_unique<TTavloTerminalForm>();
    return &fMainWindow->Logic();
}

TConfigTerm* TQtFormFactory::CreateConfigTerm()
{
    fConfigTerm = std::make_unique<TConfigTerm>();
    AddDialog();
    return fConfigTerm.get();
}

TMapTermKeys* TQtFormFactory::CreateMapTermKeys()
{
    fMapTermKeys = std::make_unique<TMapTermKeys>(DefaultKeyMapFileName());
    fMapTermKeysForm = std::make_unique<TMapTermKeysForm>(*fMapTermKeys);
    return fMapTermKeys.get();
}

TInsertBlockWhereDlg* TQtFormFactory::CreateInsertBlockWhereDlg()
{
    fInsertBlockWhereDlg = std::make_unique<TInsertBlockWhereDlg>();
    fInsertBlockWhereForm = std::make_unique<TInsertBlockWhereForm>(*fInsertBlockWhereDlg, fMainWindow.get());
    return fInsertBlockWhereDlg.get();
}

TUploadDialog* TQtFormFactory::CreateUploadDialog()
{
    fUploadDialog = std::make_unique<TUploadDialog>();
    AddDialog();
    return fUploadDialog.get();
}

TEditPairsForm* TQtFormFactory::CreateEditPairsForm()
{
    fEditPairsForm = std::make_unique<TEditPairsForm>();
    AddDialog();
    return fEditPairsForm.get();
}

TSelectComPortDlg* TQtFormFactory::CreateSelectComPortDlg()
{
    fSelectComPortDlg = std::make_unique<TSelectComPortDlg>();
    AddDialog();
    return fSelectComPortDlg.get();
}

TTextViewer* TQtFormFactory::CreateTextViewer()
{
    fTextViewer = std::make_unique<TTextViewer>();
    AddDialog();
    return fTextViewer.get();
}
