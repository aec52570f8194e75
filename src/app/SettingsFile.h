#pragma once
// The settings file "Brennix.config": which option stands under which section and key, how the
// file is written and read, and how its display options reach the terminal screen.
#include "settings/ConfigObject.h"
#include "settings/ConfigUnit.h"

class TSimpleTerminal;

/// The configuration folder + "Brennix.config".
UnicodeString SettingsFileName();
/// The configuration folder + "Brennix.layout": the user's menu and tool-bar layout.
UnicodeString UserLayoutFileName();
/// The configuration folder + "Brennix.Default.layout": the layout as designed.
UnicodeString DefaultLayoutFileName();

/// "COM PORT" and "TCP PORT", each deleted and written anew.
void WriteConnectionSettings(const TConfigTermOptions& options, TNrKeyValueSections& store);
/// "DISPLAY" (deleted and written anew), then "EDITOR" (written over its keys).
void WriteDisplaySettings(const TConfigTermOptions& options, TNrKeyValueSections& store);
/// Clears the store, then writes every section in file order.
void StoreSettings(const TConfigTermOptions& options, TNrKeyValueSections& store);
/// Each key is read with the option's current value as default, so a missing key, a value that
/// does not convert, or one out of its option's range leaves the option as it was.
void ReadConnectionSettings(TConfigTermOptions& options, const TNrKeyValueSections& store);
void ReadDisplaySettings(TConfigTermOptions& options, const TNrKeyValueSections& store);
/// True when both stores hold the same "COM PORT" entries in the same order, or neither holds it.
bool SameComPortSettings(const TNrKeyValueSections& a, const TNrKeyValueSections& b);

/// Writes every option to fileName through a temporary file, so the old file survives a failure.
/// Empty on success, else the reason.
UnicodeString SaveSettingsFile(const TConfigTermOptions& options, const UnicodeString& fileName);
/// Reads fileName into the options; false, with the options unchanged, when the file is missing
/// or cannot be read, and then, for a file that is there, the reason in *error when given.
bool LoadSettingsFile(TConfigTermOptions& options, const UnicodeString& fileName, UnicodeString* error = nullptr);

/// The terminal's share of collecting the options from the controls: colours, font, size.
void CollectTerminalOptions(const TSimpleTerminal& terminal, TConfigTermOptions& options);
/// The terminal's share of applying the options: colours, font, columns, rows, tab stops.
void ApplyTerminalOptions(const TConfigTermOptions& options, TSimpleTerminal& terminal);
