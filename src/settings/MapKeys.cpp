#include "settings/MapKeys.h"

#include "platform/Dialogs.h"
#include "platform/Folders.h"
#include "settings/CaretNotation.h"
#include "settings/ConfigUnit.h"

const std::array<TMapKey, MapKeyCount> MapKeys = {{
    {u"Up Arrow", VK::UP},        {u"Down Arrow", VK::DOWN}, {u"Left Arrow", VK::LEFT},
    {u"Right Arrow", VK::RIGHT},  {u"Page Down", VK::NEXT},  {u"Page Up", VK::PRIOR},
    {u"Home", VK::HOME},          {u"End", VK::END},         {u"Backspace", VK::BACK},
    {u"Delete", VK::DELETE_},     {u"Insert", VK::INSERT},   {u"F1", 112},
    {u"F2", 113},                 {u"F3", 114},              {u"F4", 115},
    {u"F5", 116},                 {u"F6", 117},              {u"F7", 118},
    {u"F8", 119},                 {u"F9", 120},              {u"F10", 121},
    {u"F11", 122},                {u"F12", 123},
}};

const std::array<const char16_t*, MapKeyStateCount> MapKeyStateNames = {u"", u"Shift", u"Ctrl"};

namespace {

TFileDialogRequest KeyMapDialog(const char16_t* title, const UnicodeString& folder)
{
    TFileDialogRequest request;
    request.Title = title;
    request.Filter = u"Key Map File|*.kmap";
    request.DefaultExt = u"kmap";
    request.InitialDir = folder;
    return request;
}

UnicodeString SectionName(int state)
{
    return UnicodeString(u"State_") + MapKeyStateNames[std::size_t(state)];
}

bool ValidKey(int keyIndex, int state)
{
    return keyIndex >= 0 && keyIndex < MapKeyCount && state >= 0 && state < MapKeyStateCount;
}

} // namespace

UnicodeString DefaultKeyMapFileName()
{
    return GetKeyMapsFolder() + u"default.kmap";
}

TMapTermKeys::TMapTermKeys(const UnicodeString& settingsFileName) : fSettingsFileName(settingsFileName)
{
    UnicodeString error;
    if (!fSettings.LoadFromFile(fSettingsFileName, &error) && !error.empty()) {
        // What could not be read may still be the user's: it stays as it is.
        fSettingsUnread = true;
        ShowMessage(error + u" No key is mapped; the file is left as it is.");
    }
}

int TMapTermKeys::StateOf(TShiftState shift)
{
    // Only the keyboard's own modifiers choose the state; Shift with Ctrl, or Alt, is plain.
    TShiftState keys = shift & (ssShift | ssAlt | ssCtrl);
    return keys == ssShift ? 1 : keys == ssCtrl ? 2 : 0;
}

int TMapTermKeys::KeyIndexOf(std::uint16_t key)
{
    for (int i = 0; i < MapKeyCount; ++i)
        if (MapKeys[std::size_t(i)].VirtualKey == key) return i;
    return -1;
}

UnicodeString TMapTermKeys::MappKey(std::uint16_t key, TShiftState shift) const
{
    int index = KeyIndexOf(key);
    return index < 0 ? UnicodeString() : CaretDecode(GetKeyMapping(index, StateOf(shift)));
}

bool TMapTermKeys::IsKeyMapped(std::uint16_t key, TShiftState shift) const
{
    int index = KeyIndexOf(key);
    return index >= 0 && !GetKeyMapping(index, StateOf(shift)).empty();
}

UnicodeString TMapTermKeys::GetKeyMapping(int keyIndex, int state) const
{
    if (!ValidKey(keyIndex, state)) return UnicodeString();
    return fSettings.ReadString(SectionName(state), MapKeys[std::size_t(keyIndex)].Name, u"");
}

void TMapTermKeys::SetKeyMapping(int keyIndex, int state, const UnicodeString& caretText)
{
    if (ValidKey(keyIndex, state))
        fSettings.WriteString(SectionName(state), MapKeys[std::size_t(keyIndex)].Name, caretText);
}

UnicodeString TMapTermKeys::KeyCaption(int keyIndex, int state)
{
    if (!ValidKey(keyIndex, state)) return UnicodeString();
    UnicodeString key = MapKeys[std::size_t(keyIndex)].Name;
    return state == 0 ? key : UnicodeString(MapKeyStateNames[std::size_t(state)]) + u"-" + key;
}

bool TMapTermKeys::UpdateKeyMapping(int keyIndex, int state, UnicodeString& text)
{
    if (!ValidKey(keyIndex, state)) return false;
    SetKeyMapping(keyIndex, state, CaretEncode(CaretDecode(text)));
    text = GetKeyMapping(keyIndex, state);
    return true;
}

UnicodeString TMapTermKeys::DialogFolder() const
{
    return fLastFolder.empty() ? GetKeyMapsFolder() : fLastFolder;
}

bool TMapTermKeys::LoadKeyMapClick()
{
    UnicodeString fileName = Dialogs::Current().OpenFile(KeyMapDialog(u"Load Key Mappings", DialogFolder()));
    if (fileName.empty()) return false;
    fLastFolder = ExtractFilePath(fileName);
    UnicodeString error;
    if (!fSettings.LoadFromFile(fileName, &error)) {
        ShowMessage(error.empty() ? u"Cannot open file \"" + fileName + u"\"." : error);
        return false;
    }
    return true;
}

void TMapTermKeys::SaveKeyMapClick()
{
    UnicodeString fileName = Dialogs::Current().SaveFile(KeyMapDialog(u"Save Key Mappings", DialogFolder()));
    if (fileName.empty()) return;
    fLastFolder = ExtractFilePath(fileName);
    UnicodeString error = fSettings.SaveToFile(fileName);
    if (!error.empty()) ShowMessage(error);
}

void TMapTermKeys::ShowModal()
{
    if (fView) fView->ShowModal();
}

UnicodeString TMapTermKeys::CloseQuery()
{
    if (fSettingsUnread) return {};
    UnicodeString error = fSettings.SaveToFile(fSettingsFileName);
    if (!error.empty()) ShowMessage(error);
    return error;
}
