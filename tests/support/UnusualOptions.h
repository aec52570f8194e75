#pragma once
// Options for round trips through the settings dialog: every field away from its default.
#include "settings/ConfigUnit.h"

/// Every option as the settings file holds it: equal texts mean equal options.
UnicodeString StoredOptions(const TConfigTermOptions& options);
/// Sets every option to a value other than its default, inside the dialog's ranges.
void SetUnusualOptions(TConfigTermOptions& options);
