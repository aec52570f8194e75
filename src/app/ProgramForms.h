#pragma once
// The program's forms: each exists once, created in a fixed order, the main window first.

class TConnectionMod;
class TTavloTerminal;
class TConfigTerm;
class TMapTermKeys;
class TInsertBlockWhereDlg;
class TUploadDialog;
class TEditPairsForm;
class TSelectComPortDlg;
class TTextViewer;
class THostAddressForm;

/// The forms, each set while it exists (the host address form belongs to the main window, the
/// connection manager to the application object).
inline TConnectionMod* ConnectionMod = nullptr;
inline TTavloTerminal* TavloTerminal = nullptr;
inline TConfigTerm* ConfigTerm = nullptr;
inline TMapTermKeys* MapTermKeys = nullptr;
inline TInsertBlockWhereDlg* InsertBlockWhereDlg = nullptr;
inline TUploadDialog* UploadDialog = nullptr;
inline TEditPairsForm* EditPairsForm = nullptr;
inline TSelectComPortDlg* SelectComPortDlg = nullptr;
inline TTextViewer* TextViewer = nullptr;
inline THostAddressForm* HostAddressForm = nullptr;

/// Makes each form together with the widgets of the running toolkit (or, in tests, without any);
/// the factory keeps what it makes until the program ends.
class TFormFactory {
public:
    virtual ~TFormFactory() = default;
    virtual TTavloTerminal* CreateTavloTerminal() = 0;
    virtual TConfigTerm* CreateConfigTerm() = 0;
    virtual TMapTermKeys* CreateMapTermKeys() = 0;
    virtual TInsertBlockWhereDlg* CreateInsertBlockWhereDlg() = 0;
    virtual TUploadDialog* CreateUploadDialog() = 0;
    virtual TEditPairsForm* CreateEditPairsForm() = 0;
    virtual TSelectComPortDlg* CreateSelectComPortDlg() = 0;
    virtual TTextViewer* CreateTextViewer() = 0;
};

/// The units' start-up work, before any form exists (registrations of the highlighter class, the
/// editor's command names and clipboard format, the converter's word lists).
void InitializeUnits();

/// Sets up the application object: its title "Tavlo Terminal".
void InitializeApplication();

/// Creates the forms in the program's order, each into its global. The main window's FormCreate
/// runs as part of its creation, so before any other form exists.
void CreateForms(TFormFactory& factory);

/// Forgets every form global; called once the forms are gone.
void ClearFormGlobals();
