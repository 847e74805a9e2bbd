#include "programfolders.h"

#include <QDir>

#ifdef Q_OS_WIN
#include <windows.h>

#include <shlobj.h>
#endif

namespace ProgramFolders {

#ifdef Q_OS_WIN

namespace {

QString knownFolder(const KNOWNFOLDERID &id)
{
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}

} // namespace

QStringList programFiles()
{
    QStringList folders;
    for (const KNOWNFOLDERID &id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86}) {
        const QString folder = knownFolder(id);
        if (!folder.isEmpty() && !folders.contains(folder, Qt::CaseInsensitive))
            folders.append(folder);
    }
    return folders;
}

QString programData()
{
    return knownFolder(FOLDERID_ProgramData);
}

QString userProfiles()
{
    return knownFolder(FOLDERID_UserProfiles);
}

#else

QStringList programFiles()
{
    return {};
}

QString programData()
{
    return QString();
}

QString userProfiles()
{
    return QString();
}

#endif

bool isWithin(const QString &path, const QString &folder)
{
    const auto comparable = [](const QString &name) {
        QString cleaned = name;
        cleaned.replace(QLatin1Char('\\'), QLatin1Char('/'));
        while (cleaned.endsWith(QLatin1Char('/')))
            cleaned.chop(1);
        return cleaned;
    };
    const QString inner = comparable(path);
    const QString outer = comparable(folder);
    if (outer.isEmpty() || !inner.startsWith(outer, Qt::CaseInsensitive))
        return false;
    return inner.size() == outer.size() || inner.at(outer.size()) == QLatin1Char('/');
}

} // namespace ProgramFolders
