#ifndef ENTRYNAME_H
#define ENTRYNAME_H

#include <QString>

/// Checks the text of a manifest entry, as the updater and the publishing
/// tool both must: \a dir must be relative ("" or segments ending in "/"),
/// \a name a plain file name, neither with a drive letter, a backslash, a
/// ".." segment or a control character, and no folder or name that Windows
/// would change or open as a device (a trailing dot or blank, CON, NUL,
/// COM1...). On refusal \a reason says why.
bool isSafeEntry(const QString &dir, const QString &name, QString *reason);

/// The updater's lock beside the application, a name no release file may take.
inline QString updaterLockName()
{
    return QStringLiteral("BrenvothUpdater.lock");
}

#endif // ENTRYNAME_H
