#include "pendingupdate.h"
#include "releasenotes.h"

#include <QDomNodeList>

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
                               const QLocale &reader)
{
    PendingUpdate pending;
    const Manifest::Document downloaded = Manifest::read(downloadedManifest);
    pending.status = downloaded.status;
    if (downloaded.status != Manifest::Status::Read)
        return pending;
    const QDomElement root = downloaded.root();
    pending.newVersion = root.attribute(QStringLiteral("curVersion"), QStringLiteral("1.0.0"));
    const QDomElement release = Manifest::currentRelease(root, pending.newVersion);
    if (release.isNull())
        return pending;
    pending.notes = ReleaseNotes::choose(release, reader);
    // One read of the local manifest answers every lookup of the release.
    const QHash<QString, QString> installed = Manifest::installedVersions(localManifest);
    const QDomNodeList files = release.elementsByTagName(QStringLiteral("file"));
    for (int i = 0; i < files.length(); ++i) {
        const QDomElement file = files.at(i).toElement();
        const QString name = file.attribute(QStringLiteral("name"));
        const QString version = installed.value(name);
        if (version.isEmpty() || file.attribute(QStringLiteral("version")) != version) {
            pending.updateDirs.append(file.attribute(QStringLiteral("dir")));
            pending.updateNames.append(name);
        }
    }
    return pending;
}

QString localFileVersion(const QString &localManifest, const QString &wantedName)
{
    return Manifest::installedVersions(localManifest).value(wantedName);
}
