#include "releaseplan.h"
#include "entrycheck.h"
#include "replayguard.h"

#include <QBuffer>
#include <QDateTime>
#include <QDomNodeList>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// The one refusal of an entry that is not the manifest's fault: a folder
// where the file must go.
bool refuseEntry(const ApplicationLayout &layout, const QString &dir, const QString &name, const QString &reason,
                 UpdateError *error)
{
    const bool folderInTheWay = !name.isEmpty() && QFileInfo(layout.destinationPath(dir, name)).isDir();
    *error = UpdateError(UpdateError::Kind::NotInstalled,
                         folderInTheWay ? FailureCause(FailureCause::Kind::FolderInTheWay, dir + name)
                                        : FailureCause(FailureCause::Kind::BadManifest),
                         name.isEmpty() ? reason : QStringLiteral("%1%2: %3").arg(dir, name, reason));
    return false;
}

// The bytes that are checked against the signature are the bytes used.
bool readDownloadedManifest(const ApplicationLayout &layout, QByteArray *bytes, QDomDocument *document)
{
    QFile file(layout.downloadedManifest());
    if (!file.open(QIODevice::ReadOnly) || file.size() > Manifest::maxBytes)
        return false;
    *bytes = file.readAll();
    QBuffer buffer(bytes);
    buffer.open(QIODevice::ReadOnly);
    return Manifest::parse(&buffer, document) && document->documentElement().tagName() == QLatin1String("filelist");
}

// The pending files are the release's entries in document order, with some
// left out; each is matched to its entry for the size and digest it gives.
bool matchEntries(const ApplicationLayout &layout, const QDomElement &release, const QStringList &dirs,
                  const QStringList &names, QVector<PendingFile> *files, UpdateError *error)
{
    const EntryCheck entryCheck(layout);
    const QDomNodeList entries = release.elementsByTagName(QStringLiteral("file"));
    QSet<QString> seen;
    int next = 0;
    for (int i = 0; i < dirs.size() && i < names.size(); ++i) {
        PendingFile file{dirs.at(i), names.at(i), {}, {}, -1};
        QDomElement entry;
        while (next < entries.length() && entry.isNull()) {
            const QDomElement candidate = entries.at(next++).toElement();
            if (candidate.attribute(QStringLiteral("dir")) == file.dir
                && candidate.attribute(QStringLiteral("name")) == file.name)
                entry = candidate;
        }
        QString reason;
        if (entry.isNull())
            return refuseEntry(layout, file.dir, file.name, QStringLiteral("the downloaded manifest changed after it was read"),
                               error);
        if (!entryCheck.allows(file.dir, file.name, &reason)
            || !Manifest::readIntegrity(entry, &file.integrity, &reason))
            return refuseEntry(layout, file.dir, file.name, reason, error);
        file.delivery = Manifest::readDelivery(entry);
        // The same file listed twice is fetched and installed once.
        const QString key = pathKey(layout.stagedPath(file.dir, file.name));
        if (!seen.contains(key)) {
            seen.insert(key);
            files->append(file);
        }
    }
    return true;
}

} // namespace

bool readReleasePlan(const ApplicationLayout &layout, const QString &version, const QStringList &dirs,
                     const QStringList &names, bool keyed, ReleasePlan *plan, UpdateError *error)
{
    plan->version = version;
    QDomDocument document;
    if (!readDownloadedManifest(layout, &plan->downloadedManifest, &document))
        return refuseEntry(layout, QString(), QString(), QStringLiteral("the downloaded manifest can no longer be read"),
                           error);
    QDomElement root = document.documentElement();
    if (!isNotExpired(root, QDateTime::currentSecsSinceEpoch(), error)
        || !isNotOlderThanInstalled(root, layout.localManifest(), keyed, version, error)
        || !matchEntries(layout, Manifest::currentRelease(root, version), dirs, names, &plan->files, error))
        return false;
    plan->manifestVersion = Manifest::offeredVersion(root);
    root.setAttribute(QStringLiteral("curVersion"), version);
    plan->localManifest = Manifest::rewrittenOrCopied(document, plan->downloadedManifest);
    return true;
}

const PendingFile *unverifiableFile(const ReleasePlan &plan)
{
    for (const PendingFile &file : plan.files) {
        if (!file.integrity.isComplete())
            return &file;
    }
    return nullptr;
}
