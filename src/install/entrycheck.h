#ifndef ENTRYCHECK_H
#define ENTRYCHECK_H

#include "applicationlayout.h"

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

/// Decides whether an entry may be written where it points: a release may
/// hold it (isPublishable), neither its staged copy nor its destination
/// leads outside through a link, and no folder stands where the file goes.
class EntryCheck
{
public:
    explicit EntryCheck(const ApplicationLayout &layout);

    bool allows(const QString &dir, const QString &name, QString *reason) const;

private:
    bool pathStaysInside(const QString &root, const QString &path) const;

    const ApplicationLayout layout;
    // Resolving links costs a system call per level: each folder once.
    mutable QHash<QString, bool> foldersInside;
};

#endif // ENTRYCHECK_H
