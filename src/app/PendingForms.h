#pragma once
// Forms whose content is still to come. Each exists already, so that the program creates its forms
// in their order; a form moves out of this file when it gets its content.
#include "platform/Events.h"

/// The paired-words dialog.
class TEditPairsForm : public TObject {};
