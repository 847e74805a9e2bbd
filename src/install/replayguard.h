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

/// A mirror, or someone on its way, could serve an old signed manifest for
/// ever, and no fix would arrive: a manifest may say when it goes stale.
/// Whether the downloaded manifest whose root is \a downloadedRoot is
/// still fresh at \a now (seconds since 1970); one without "expires" is.
bool isNotExpired(const QDomElement &downloadedRoot, qint64 now, UpdateError *error);

#endif // REPLAYGUARD_H
