#include "app/ProgramForms.h"
#include "app/Unit1.h"
#include "codeeditor/TextToBlock.h"
#include "settings/ConfigTerm.h"
#include "settings/SelectComPort.h"
#include "platform/Dialogs.h"

void InitializeUnits()
{
    // The sockets need no start-up on this system.
    InitTextToBlockWords();
}

void InitializeApplication() { SetApplicationTitle(u"Tavlo Terminal"); }

void CreateForms(TFormFactory& factory)
{
    TavloTerminal = factory.CreateTavloTerminal();
    TavloTerminal->FormCreate();
    ConfigTerm = factory.CreateConfigTerm();
    MapTermKeys = factory.CreateMapTermKeys();
    InsertBlockWhereDlg = factory.CreateInsertBlockWhereDlg();
    UploadDialog = factory.CreateUploadDialog();
    EditPairsForm = factory.CreateEditPairsForm();
    SelectComPortDlg = factory.CreateSelectComPortDlg();
    // The settings dialog browses the ports through the picker, made after it.
    if (ConfigTerm && SelectComPortDlg) ConfigTerm->SetPortChooser(SelectComPortDlg);
    TextViewer = factory.CreateTextViewer();
}

void ClearFormGlobals()
{
    ConnectionMod = nullptr;
    TavloTerminal = nullptr;
    ConfigTerm = nullptr;
    MapTermKeys = nullptr;
    InsertBlockWhereDlg = nullptr;
    UploadDialog = nullptr;
    EditPairsForm = nullptr;
    SelectComPortDlg = nullptr;
    TextViewer = nullptr;
    HostAddressForm = nullptr;
}
