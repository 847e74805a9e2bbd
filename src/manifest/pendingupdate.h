#ifndef PENDINGUPDATE_H
#define PENDINGUPDATE_H

#include "manifest.h"
#include "releasechoice.h"

#include <QLocale>
#include <QString>
#include <QStringList>

/// What the updater finds at start in the two manifests: the release that
/// the downloaded one names and its files whose version differs from the
/// installed one. A pure reading of the files; nothing is logged or shown.
struct PendingUpdate
{
    /// Of the downloaded manifest; nothing below is set unless it was Read.
    Manifest::Status status = Manifest::Status::Missing;
    /// The release to install: its curVersion, "1.0.0" where it has none,
    /// or what an administrator's hold chose; empty when the hold keeps
    /// the installed one.
    QString newVersion;
    /// How newVersion was chosen.
    ReleaseChoice::Outcome choice = ReleaseChoice::Outcome::Current;
    /// The notes of that release in the reader's language; empty: none.
    QString notes;
    /// The pending files' dir and name, parallel, in the manifest's order.
    QStringList updateDirs;
    QStringList updateNames;

    /// The line the log gets for a downloaded manifest that cannot be used;
    /// empty when it was read.
    QString failureLine() const;
};

/// Compares the downloaded manifest at \a downloadedManifest with the local
/// one at \a localManifest; the notes are chosen for \a reader, the release
/// as \a target holds it.
PendingUpdate compareManifests(const QString &downloadedManifest, const QString &localManifest,
                               const QLocale &reader = QLocale(), const ReleaseTarget &target = {});

/// The installed version of the file named \a wantedName according to the
/// local manifest at \a localManifest; empty when it names none.
QString localFileVersion(const QString &localManifest, const QString &wantedName);

#endif // PENDINGUPDATE_H
