#ifndef SERVICESETUP_H
#define SERVICESETUP_H

#include <QString>

/// What Brenvoth's installer runs, with administrator rights, beside the
/// updater in Program Files: the service installed or removed.
namespace ServiceSetup {

/// Installs (or updates) the demand-start service that runs this program
/// as LocalSystem, with the folder it lives in as the one application
/// folder it may update, which must lie under Program Files; makes its own
/// folder under ProgramData. False, with \a error, when anything fails.
bool install(QString *error);
/// Stops and removes the service, its setting and its own folder.
bool uninstall(QString *error);

/// The applying side's own folder made, or taken over, with the owner and
/// access it must have, whoever made it before.
bool secureStateFolder(QString *error);

/// The application folder written at install; empty when there is none
/// or it no longer lies under Program Files.
QString configuredFolder();

} // namespace ServiceSetup

#endif // SERVICESETUP_H
