#include "settings/ConfigUnit.h"

#include "platform/Folders.h"

namespace {

UnicodeString FolderBelowAppData(std::u16string_view subFolder)
{
    UnicodeString base = GetAppDataFolder();
    if (base.empty()) return UnicodeString();
    UnicodeString folder = base + UnicodeString(subFolder);
    return ForceDirectories(folder) ? folder : UnicodeString();
}

} // namespace

UnicodeString GetAppDataFolder()
{
    return AppDataFolder();
}

UnicodeString GetConfigFolder()
{
    return FolderBelowAppData(u"Brennix/Config/");
}

UnicodeString GetKeyMapsFolder()
{
    return FolderBelowAppData(u"Brennix/Key Maps/");
}
