#ifndef MACHINEINSTALL_H
#define MACHINEINSTALL_H

#include "applicationlayout.h"

#include <QString>

/// An application folder installed for all users of the PC, which its
/// users may not change: where the user stages a release for it, and the
/// names and places of the side that applies it with more rights
/// (brenvoth-update-service.exe, as a service or started elevated).
namespace MachineInstall {

/// Under Program Files, or a folder its user may not write.
bool isPerMachine(const QString &applicationDir);
/// Staged in the user's own %LOCALAPPDATA%\Brenvoth, downloaded as the user.
ApplicationLayout userLayout(const QString &applicationDir);
/// The per-user folder a user stages in, below their local application data.
QString userDir(const QString &localAppData);

/// The one folder a user of \a profilesDir stages in, for the user whose
/// profile \a requested lies in: the applying side works it out itself and
/// takes no other. Empty when \a requested lies in no profile.
QString stagedDirOfProfile(const QString &profilesDir, const QString &requested);

QString serviceName();
QString programName();
/// Below HKEY_LOCAL_MACHINE: the one folder the service may update.
QString settingsKey();
QString folderSetting();

/// The applying side's own folder under ProgramData, which only the system
/// and administrators may write: its copy of the release, its journal,
/// its log and the result it leaves for the updater.
QString stateDir();
QString resultFile();
QString logFile();

} // namespace MachineInstall

#endif // MACHINEINSTALL_H
