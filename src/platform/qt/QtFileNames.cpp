#include "platform/qt/QtFileNames.h"

#include <dirent.h>
#include <QFile>
#include <QUrl>
#include "platform/FileNames.h"

namespace {

/// The entries of folder (bytes) that Qt reads as name.
std::vector<std::string> EntriesReadAs(const std::string& folder, const QString& name)
{
    std::vector<std::string> found;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return found;
    while (const dirent* entry = ::readdir(dir))
        if (QFile::decodeName(entry->d_name) == name) found.emplace_back(entry->d_name);
    ::closedir(dir);
    return found;
}

}  // namespace

UnicodeString FileNameOfQtPath(const QString& path, UnicodeString& refusal)
{
    refusal.clear();
    if (!path.contains(QChar::ReplacementCharacter)) return path.toStdU16String();
    std::string bytes;
    const QStringList parts = path.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const std::vector<std::string> entries =
            part.contains(QChar::ReplacementCharacter) ? EntriesReadAs(bytes, part) : std::vector<std::string>();
        if (entries.size() > 1) {
            refusal = u"Cannot use \"" + path.toStdU16String() +
                      u"\": its name is not UTF-8 text, and more than one file in its folder reads the same";
            return {};
        }
        // A part that names nothing yet is a new name, kept as it was typed.
        bytes += entries.empty() ? QFile::encodeName(part).toStdString() : entries.front();
        if (i + 1 < parts.size()) bytes += '/';
    }
    return FileNameFromBytes(bytes);
}

std::vector<UnicodeString> FileNamesOfUriList(const QByteArray& list)
{
    std::vector<UnicodeString> files;
    for (const QByteArray& raw : list.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QUrl url = QUrl::fromEncoded(line);
        if (!url.isLocalFile()) continue;
        // The path still percent-encoded, so that its bytes come through as they are.
        const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        files.push_back(FileNameFromBytes(std::string_view(path.constData(), std::size_t(path.size()))));
    }
    return files;
}
