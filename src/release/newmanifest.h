// The manifest a run writes: begun from the previous one, stamped, listing
// the new release, and saved whole.

#ifndef NEWMANIFEST_H
#define NEWMANIFEST_H

#include "manifestwriter.h"
#include "releasefile.h"
#include "releaseoptions.h"

#include <QByteArray>
#include <QDomDocument>
#include <QString>
#include <QStringList>
#include <QVector>

/// The previous manifest with every release kept, or a new one when there is
/// none and none lies at \a manifestPath. Refuses a previous manifest that
/// the updater could not read or that holds the new version already.
bool startManifest(const ReleaseOptions &options, const QString &manifestPath, QDomDocument *document,
                   QString *error);

/// Stamps \a root with seconds since 1970, always above the previous
/// manifest's, whatever the clock says: an updater can then tell a replayed
/// older manifest by it.
bool stampPublished(QDomElement root, const QString &previousManifest, QString *error);

/// Stamps the stamped \a root with its expiry \a days after its
/// publication; with 0 days it has none, also where the previous one had.
void stampExpires(QDomElement root, int days);

/// The entries of \a files, the one at i of version \a versions at i.
QVector<Manifest::ListedFile> listedFiles(const QVector<ReleaseFile> &files, const QStringList &versions);

/// Replaces the manifest at \a path with \a bytes, whole or not at all.
bool writeManifest(const QString &path, const QByteArray &bytes, QString *error);

#endif // NEWMANIFEST_H
