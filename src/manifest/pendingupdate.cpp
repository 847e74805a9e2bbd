#include "pendingupdate.h"
#include "releasenotes.h"

QString PendingUpdate::failureLine() const
{
    switch (status) {
    case Manifest::Status::Read:
        return QString();
    case Manifest::Status::Missing:
        return QStringLiteral("download version file failed!");
    case Manifest::Status::CannotOpen:
        return QStringLiteral("open download xml file failed!");
    case Manifest::Status::NotWellFormed:
        return QStringLiteral("xml format error !");
    case Manifest::Status::NotFilelist:
        break;
    }
    return QStringLiteral("xml body is not started with \u2018filelist\u2019 !");
}

PendingUpdate compareManifests(const QString &downloadedManifest, const QString &localManifest,
                               const QLocale &reader, const ReleaseTarget &target)
{
    PendingUpdate pending;
    const Manifest::Document downloaded = Manifest::read(downloadedManifest);
    pending.status = downloaded.status;
    if (downloaded.status != Manifest::Status::Read)
        return pending;
    const QDomElement root = downloaded.root();
    const QString installedRelease = target.prefix.isEmpty()
        ? QString() : Manifest::read(localManifest).root().attribute(QStringLiteral("curVersion"));
    const ReleaseChoice choice =
        chooseRelease(Manifest::releaseVersions(root), Manifest::offeredVersion(root), installedRelease, target);
    pending.choice = choice.outcome;
    pending.newVersion = choice.version;
    if (pending.newVersion.isEmpty())
        return pending;
    const QDomElement release = Manifest::currentRelease(root, pending.newVersion);
    if (release.isNull())
        return pending;
    pending.notes = ReleaseNotes::choose(release, reader);
    // One read of the local manifest answers every lookup of the release.
    const QHash<QString, QString> installed = Manifest::installedVersions(localManifest);
    for (const QDomElement &file : Manifest::fileElements(release)) {
        const Manifest::FileEntry entry = Manifest::readEntry(file);
        const QString version = installed.value(entry.name);
        if (version.isEmpty() || entry.version != version) {
            pending.updateDirs.append(entry.dir);
            pending.updateNames.append(entry.name);
        }
    }
    return pending;
}

QString localFileVersion(const QString &localManifest, const QString &wantedName)
{
    return Manifest::installedVersions(localManifest).value(wantedName);
}
