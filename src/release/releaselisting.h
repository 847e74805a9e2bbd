// Lists the folder to publish and checks that the updater can take its files.

#ifndef RELEASELISTING_H
#define RELEASELISTING_H

#include "releasefile.h"

#include <QString>
#include <QVector>

/// Appends every file under \a releaseDir to \a files, sorted by path,
/// linked folders included. Refuses an empty or missing folder, a name the
/// updater would refuse, and two paths that differ only in letter case.
bool listRelease(const QString &releaseDir, QVector<ReleaseFile> *files, QString *error);

#endif // RELEASELISTING_H
