// Decides each file's version: the previous release's where its content is
// the same, the new one's otherwise.

#ifndef FILEVERSIONS_H
#define FILEVERSIONS_H

#include "releasefile.h"

#include <QDomElement>
#include <QHash>
#include <QString>

/// The release that the previous manifest names as current: its folder on the
/// server and its first entry of each dir + name.
struct PreviousRelease
{
    QString folder;
    QHash<QString, QDomElement> entries;
};

/// The current release of the manifest \a root, read as the updater reads a
/// published manifest. A version that names no release folder has no copies
/// to compare with.
PreviousRelease previousRelease(const QDomElement &root, const QString &serverRoot);

/// The previous entry's version when the content is the same, by its hash or,
/// without one, by comparing \a copy with the previous release's copy of the
/// file; else \a version.
QString fileVersion(const ReleaseFile &file, const QString &copy, const PreviousRelease &previous,
                    const QString &version);

#endif // FILEVERSIONS_H
