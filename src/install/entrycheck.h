#ifndef ENTRYCHECK_H
#define ENTRYCHECK_H

#include "entryname.h"

#include <QHash>
#include <QString>

/// \a path as the file system compares names: Windows ignores letter case.
QString pathKey(const QString &path);

/// Whether \a path, with every symbolic link of its existing part resolved,
/// is \a root itself or lies below it.
bool staysInside(const QString &root, const QString &path);

/// Creates \a folder and every missing level above it, but only where the
/// result stays inside \a root.
bool makeFolderInside(const QString &root, const QString &folder, QString *errorText);

/// Decides whether an entry may be written where it points: its text is
/// safe, neither it nor its staged copy is one of the updater's own files
/// (in the download directory, or its lock in the application directory),
/// neither its staged copy nor its destination leads outside
/// through a link, and no folder stands where the file goes.
class EntryCheck
{
public:
    explicit EntryCheck(const QString &applicationDir);

    bool allows(const QString &dir, const QString &name, QString *reason) const;

    /// The updater's own files next to the staged release.
    static QString manifestName() { return QStringLiteral("version.xml"); }
    static QString signatureName() { return QStringLiteral("version.xml.minisig"); }
    static QString bookkeepingFolder() { return QStringLiteral(".updater"); }
    /// Beside the application: download/ goes with each commit.
    static QString lockName() { return updaterLockName(); }

    /// Where the file \a dir + \a name is staged and where it goes.
    QString stagedPath(const QString &dir, const QString &name) const;
    QString destinationPath(const QString &dir, const QString &name) const;

private:
    bool isReserved(const QString &staged, const QString &destination) const;
    bool pathStaysInside(const QString &root, const QString &path) const;

    const QString applicationDir;
    const QString downloadDir;
    // Resolving links costs a system call per level: each folder once.
    mutable QHash<QString, bool> foldersInside;
};

#endif // ENTRYCHECK_H
