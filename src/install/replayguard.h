#ifndef REPLAYGUARD_H
#define REPLAYGUARD_H

#include "updateerror.h"

#include <QDomElement>
#include <QString>

/// A signed manifest of an older release, served again, would take the
/// user back to it: the publication times of manifests may only grow.
/// Whether the downloaded manifest whose root is \a downloadedRoot, naming
/// release \a offeredVersion, is not older than the local one at
/// \a localManifest. Without a key nothing is signed, so only a manifest
/// with a time is held to it; with one (\a keyed), a manifest without a
/// time is refused where the installed one has one.
bool isNotOlderThanInstalled(const QDomElement &downloadedRoot, const QString &localManifest, bool keyed,
                             const QString &offeredVersion, UpdateError *error);

#endif // REPLAYGUARD_H
