#pragma once
// Round trips of the options: every option as the settings file holds it, and every field away from its default.
#include "settings/ConfigUnit.h"

/// Every option as the settings file holds it: equal texts mean equal options.
UnicodeString StoredOptions(const TConfigTermOptions& options);
/// Sets every option to a value other than its default, inside the dialog's ranges.
void SetUnusualOptions(TConfigTermOptions& options);
