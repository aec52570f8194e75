#pragma once
// Forms whose content is still to come. Each exists already, so that the program creates its forms
// in their order; a form moves out of this file when it gets its content.
#include "platform/Events.h"

/// The "Terminal Settings" dialog.
class TConfigTerm : public TObject {};
/// The block transfer dialog.
class TUploadDialog : public TObject {};
/// The paired-words dialog.
class TEditPairsForm : public TObject {};
/// The COM port picker.
class TSelectComPortDlg : public TObject {};
/// The snapshot viewer.
class TTextViewer : public TObject {};
/// The TCP host address dialog, owned by the main window.
class THostAddressForm : public TObject {};
