// Checks a run's options before anything is copied: the version, the
// compression options, and that the two folders lie apart.

#ifndef OPTIONCHECKS_H
#define OPTIONCHECKS_H

#include "releaseoptions.h"

#include <QString>

/// Whether \a version can name its release's folder on the server.
bool checkVersion(const QString &version, QString *error);

/// Whether --level, --patches-from, --jobs and --expires are in their ranges.
bool checkCompression(const ReleaseOptions &options, QString *error);

/// Ten years: an expiry beyond it would be none.
constexpr int maxExpiresDays = 3650;

/// Whether the folder to publish and the release folder hold one another:
/// copying a folder into itself, or into a folder it holds, would overwrite
/// or remove the release being copied.
bool checkApart(const QString &releaseDir, const QString &releaseFolder, QString *error);

#endif // OPTIONCHECKS_H
