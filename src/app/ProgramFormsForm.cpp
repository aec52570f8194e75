#include "app/ProgramFormsForm.h"
#include "app/Unit1Form.h"
#include "app/frmTextViewerForm.h"
#include "blocks/InsertBlockWhereForm.h"
#include "blocks/UploadDlgForm.h"
#include "codeeditor/EditPairsDlgForm.h"
#include "settings/ConfigTermForm.h"
#include "settings/MapKeysForm.h"
#include "settings/SelectComPortForm.h"

TQtFormFactory::TQtFormFactory() = default;

TQtFormFactory::~TQtFormFactory()
{
    fTextViewerForm.reset();
    fSelectComPortForm.reset();
    fSelectComPortDlg.reset();
    fEditPairsDlgForm.reset();
    fEditPairsForm.reset();
    fUploadDialogForm.reset();
    fUploadDialog.reset();
    fInsertBlockWhereForm.reset();
    fInsertBlockWhereDlg.reset();
    fMapTermKeysForm.reset();
    fMapTermKeys.reset();
    fConfigTermForm.reset();
    fConfigTerm.reset();
    fMainWindow.reset();
    ClearFormGlobals();
}

TTavloTerminal* TQtFormFactory::CreateTavloTerminal()
{
    fMainWindow = std::make_unique<TTavloTerminalForm>();
    return &fMainWindow->Logic();
}

TConfigTerm* TQtFormFactory::CreateConfigTerm()
{
    fConfigTerm = std::make_unique<TConfigTerm>();
    fConfigTermForm = std::make_unique<TConfigTermForm>(*fConfigTerm, fMainWindow.get());
    return fConfigTerm.get();
}

TMapTermKeys* TQtFormFactory::CreateMapTermKeys()
{
    fMapTermKeys = std::make_unique<TMapTermKeys>(DefaultKeyMapFileName());
    // A dialog without a parent window lets focus bounce between windows under small window managers.
    fMapTermKeysForm = std::make_unique<TMapTermKeysForm>(*fMapTermKeys, fMainWindow.get());
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
    fUploadDialog = std::make_unique<TUploadDialog>(*ConnectionMod);
    fUploadDialogForm = std::make_unique<TUploadDialogForm>(*fUploadDialog, fMainWindow.get());
    return fUploadDialog.get();
}

TEditPairsForm* TQtFormFactory::CreateEditPairsForm()
{
    fEditPairsForm = std::make_unique<TEditPairsForm>();
    fEditPairsDlgForm = std::make_unique<TEditPairsDlgForm>(*fEditPairsForm, fMainWindow.get());
    return fEditPairsForm.get();
}

TSelectComPortDlg* TQtFormFactory::CreateSelectComPortDlg()
{
    fSelectComPortDlg = std::make_unique<TSelectComPortDlg>();
    // Its opener is the settings dialog.
    QWidget* opener = fConfigTermForm ? static_cast<QWidget*>(fConfigTermForm.get()) : fMainWindow.get();
    fSelectComPortForm = std::make_unique<TSelectComPortForm>(*fSelectComPortDlg, opener);
    return fSelectComPortDlg.get();
}

TTextViewer* TQtFormFactory::CreateTextViewer()
{
    fTextViewerForm = std::make_unique<TTextViewerForm>(fMainWindow.get());
    return &fTextViewerForm->Logic();
}
