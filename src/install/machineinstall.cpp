#include "machineinstall.h"
#include "programfolders.h"
#include "writeprobe.h"

#include <QStandardPaths>

namespace MachineInstall {

bool isPerMachine(const QString &applicationDir)
{
#ifndef Q_OS_WIN
    // Nothing here applies a release with more rights than the user's: a
    // folder the user may not write keeps the message that says so.
    Q_UNUSED(applicationDir)
    return false;
#else
    for (const QString &folder : ProgramFolders::programFiles()) {
        if (ProgramFolders::isWithin(applicationDir, folder))
            return true;
    }
    QString reason;
    return !canCreateFileIn(applicationDir, &reason);
#endif
}

ApplicationLayout userLayout(const QString &applicationDir)
{
    // On Windows the generic data location is %LOCALAPPDATA%: not roamed.
    return ApplicationLayout::stagedByUser(
        applicationDir, userDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)), stateDir());
}

QString userDir(const QString &localAppData)
{
    return localAppData + QStringLiteral("/Brenvoth");
}

QString stagedDirOfProfile(const QString &profilesDir, const QString &requested)
{
    if (profilesDir.isEmpty() || !ProgramFolders::isWithin(requested, profilesDir))
        return QString();
    // Windows' separators whatever the platform: a request is a Windows path.
    const QString inside = QString(requested).replace(QLatin1Char('\\'), QLatin1Char('/')).mid(profilesDir.size());
    const QString profile = inside.section(QLatin1Char('/'), 0, 0, QString::SectionSkipEmpty);
    if (profile.isEmpty() || profile == QLatin1String(".") || profile == QLatin1String(".."))
        return QString();
    // Local application data is never redirected to a server, unlike roaming.
    return userDir(profilesDir + QLatin1Char('/') + profile + QStringLiteral("/AppData/Local"))
           + QLatin1Char('/') + ApplicationLayout::downloadFolderName();
}

QString serviceName()
{
    return QStringLiteral("BrenvothUpdateService");
}

QString programName()
{
    return QStringLiteral("brenvoth-update-service.exe");
}

QString settingsKey()
{
    return QStringLiteral("SOFTWARE\\Brenvoth\\UpdateService");
}

QString folderSetting()
{
    return QStringLiteral("ApplicationFolder");
}

QString stateDir()
{
    const QString programData = ProgramFolders::programData();
    return programData.isEmpty() ? QString() : programData + QStringLiteral("/Brenvoth/UpdateService");
}

QString resultFile()
{
    return stateDir() + QStringLiteral("/result");
}

QString logFile()
{
    return stateDir() + QStringLiteral("/service.log");
}

} // namespace MachineInstall
