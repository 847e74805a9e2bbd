#ifndef PROGRAMFOLDERS_H
#define PROGRAMFOLDERS_H

#include <QString>
#include <QStringList>

/// The folders that Windows keeps for programs installed for all users.
namespace ProgramFolders {

/// Program Files, and Program Files (x86) where there is one, with '/'
/// separators; none where the system has no such folders.
QStringList programFiles();

/// ProgramData, where services keep what only the system and administrators
/// may change; empty where the system has none.
QString programData();

/// The folder holding the users' profiles (C:\Users); empty where there is none.
QString userProfiles();

/// Whether \a path is \a folder or lies below it, its names compared as
/// Windows compares them: in any case, either separator, a trailing one
/// or not. "C:/Program Files Extra" does not lie below "C:/Program Files".
bool isWithin(const QString &path, const QString &folder);

} // namespace ProgramFolders

#endif // PROGRAMFOLDERS_H
