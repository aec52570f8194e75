#pragma once
// The key maps: a text bound to each of 23 special keys in three shift states, kept in ".kmap"
// files. This is what the "Map Terminal Keys" form does; the form itself only draws and forwards.
#include <array>
#include <cstdint>
#include "platform/Control.h"
#include "platform/Text.h"
#include "settings/ConfigObject.h"

/// One mappable key: its name in captions and files, and its virtual-key code.
struct TMapKey {
    const char16_t* Name;
    std::uint16_t VirtualKey;
};

constexpr int MapKeyCount = 23;
constexpr int MapKeyStateCount = 3;
extern const std::array<TMapKey, MapKeyCount> MapKeys;
/// Shift state names: "" (plain, shown as "Normal"), "Shift", "Ctrl".
extern const std::array<const char16_t*, MapKeyStateCount> MapKeyStateNames;

/// "default.kmap" in the key-map folder.
UnicodeString DefaultKeyMapFileName();

/// The widgets that show the key-map form.
class TMapTermKeysView {
public:
    virtual ~TMapTermKeysView() = default;
    /// Shows the form until the user closes it; closing runs CloseQuery.
    virtual void ShowModal() = 0;
};

class TMapTermKeys {
public:
    /// Loads the bindings from settingsFileName when it exists.
    explicit TMapTermKeys(const UnicodeString& settingsFileName);

    /// The default key-map file, loaded at creation and written at close.
    const UnicodeString& SettingsFileName() const { return fSettingsFileName; }
    TNrKeyValueSections& Settings() { return fSettings; }

    /// The decoded text that key in this shift state sends; empty when unbound or not a mapped key.
    UnicodeString MappKey(std::uint16_t key, TShiftState shift) const;
    bool IsKeyMapped(std::uint16_t key, TShiftState shift) const;

    /// The stored caret text of a key (index into MapKeys) in a state; empty when out of range.
    UnicodeString GetKeyMapping(int keyIndex, int state) const;
    void SetKeyMapping(int keyIndex, int state, const UnicodeString& caretText);
    /// The caption of a list row: "Shift-F1", or the key name alone for the plain state.
    static UnicodeString KeyCaption(int keyIndex, int state);

    /// The "Update" button: stores the typed text in normal caret form and puts the stored form
    /// back into text. False, with nothing changed, when no key is selected (keyIndex -1).
    bool UpdateKeyMapping(int keyIndex, int state, UnicodeString& text);

    /// The "Load" button: asks for a ".kmap" file and, on OK, replaces every binding with its own.
    /// False when cancelled or when the file cannot be read (then the user is told).
    bool LoadKeyMapClick();
    /// The "Save" button: asks for a file name and writes the bindings there; a failure is shown.
    void SaveKeyMapClick();
    /// The widget side sets itself here while it exists.
    void SetView(TMapTermKeysView* view) { fView = view; }
    /// Shows the form modally; without widgets there is nothing to show.
    void ShowModal();

    /// Closing the form: writes the bindings to the default file, unless it could not be read. Empty
    /// on success, else the reason, which has already been shown; the form closes either way.
    UnicodeString CloseQuery();

private:
    static int StateOf(TShiftState shift);
    static int KeyIndexOf(std::uint16_t key);
    UnicodeString DialogFolder() const;

    UnicodeString fSettingsFileName;
    /// The default key map exists but could not be read: it is never written over.
    bool fSettingsUnread = false;
    TNrKeyValueSections fSettings;
    /// The folder of the last file chosen in the load or save dialog.
    UnicodeString fLastFolder;
    TMapTermKeysView* fView = nullptr;
};
