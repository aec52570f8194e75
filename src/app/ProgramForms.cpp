#include "app/ProgramForms.h"
#include "app/Unit1.h"
#include "codeeditor/TextToBlock.h"
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
