#ifndef RELEASEPLAN_H
#define RELEASEPLAN_H

#include "applicationlayout.h"
#include "manifest.h"
#include "updateerror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

/// A file of the release to install, as its manifest entry describes it.
struct PendingFile
{
    QString dir;    // as in the manifest: empty or ending in "/"
    QString name;
    Manifest::FileIntegrity integrity;
    Manifest::Delivery delivery;
    /// The size of a copy that an earlier run staged; -1: none.
    qint64 stagedSize = -1;
};

/// What one update installs, read from the downloaded manifest before
/// anything is fetched.
struct ReleasePlan
{
    QString version;
    /// The release the downloaded manifest names current, in whose folder
    /// its signature lies; another than version under a hold.
    QString manifestVersion;
    /// The downloaded manifest's bytes: those a signature must cover.
    QByteArray downloadedManifest;
    /// The local manifest as the commit writes it.
    QByteArray localManifest;
    /// Each file once, in the manifest's order.
    QVector<PendingFile> files;
};

/// Reads the plan to install the files \a dirs / \a names (parallel lists,
/// as detection found them) of release \a version from the downloaded
/// manifest in \a layout. Refuses a manifest that can no longer be read,
/// one published before the installed one, one whose entries changed since
/// detection, and any entry that may not be written where it points; with
/// \a keyed, also a manifest without a publication time over an installed
/// one that has one.
bool readReleasePlan(const ApplicationLayout &layout, const QString &version, const QStringList &dirs,
                     const QStringList &names, bool keyed, ReleasePlan *plan, UpdateError *error);

/// The first file of \a plan whose entry gives no size and SHA-256, so that
/// no signature of the manifest can vouch for it; null when there is none.
const PendingFile *unverifiableFile(const ReleasePlan &plan);

#endif // RELEASEPLAN_H
