#include "checklist.h"
#include "entryname.h"
#include "manifest.h"
#include "releasenotes.h"
#include "serverlayout.h"

namespace {

// A patch starts from the file of the same folder and name in an earlier
// release; the manifest tells which one had that content.
QString earlierCopy(const QDomElement &root, const Manifest::FileEntry &entry, const QByteArray &sha256,
                    qint64 *size)
{
    for (const QString &earlier : Manifest::releaseVersions(root)) {
        QString reason;
        if (!namesReleaseFolder(earlier, &reason))
            continue;
        for (const QDomElement &file : Manifest::fileElements(Manifest::currentRelease(root, earlier))) {
            const Manifest::FileEntry copy = Manifest::readEntry(file);
            Manifest::FileIntegrity integrity;
            if (copy.dir == entry.dir && copy.name == entry.name && Manifest::readIntegrity(file, &integrity, &reason)
                && integrity.sha256 == sha256) {
                *size = integrity.size;
                return ServerLayout::releaseFolder(earlier) + ServerLayout::filePath(entry.dir, entry.name);
            }
        }
    }
    return QString();
}

} // namespace

bool CheckList::read(const QByteArray &bytes, bool keyed)
{
    signatureChecked = keyed;
    const QString manifestName = ServerLayout::manifestName();
    const Manifest::Document manifest = Manifest::fromBytes(bytes);
    if (manifest.status != Manifest::Status::Read) {
        addProblem(manifestName, tr("it is not a manifest the updater can read"));
        return false;
    }
    const QDomElement root = manifest.root();
    qint64 published = -1;
    QString reason;
    if (!Manifest::readPublished(root, &published, &reason))
        addProblem(manifestName, tr("%1, the updater refuses it").arg(reason));
    currentVersion = Manifest::offeredVersion(root);
    if (!namesReleaseFolder(currentVersion, &reason)) {
        addProblem(manifestName,
                   tr("its current release \"%1\" cannot name a release folder: %2").arg(currentVersion, reason));
        return false;
    }
    folder = ServerLayout::releaseFolder(currentVersion);
    const QDomElement release = Manifest::currentRelease(root, currentVersion);
    if (release.isNull()) {
        addProblem(manifestName,
                   tr("it names %1 as the current release but lists no such release").arg(currentVersion));
        return false;
    }
    languages = ReleaseNotes::languages(release);
    for (const QDomElement &entry : Manifest::fileElements(release))
        listEntry(entry);
    return true;
}

// The updater refuses a release that holds an entry it may not write, before
// it fetches anything: no entry of it is looked for.
void CheckList::listEntry(const QDomElement &element)
{
    const Manifest::FileEntry entry = Manifest::readEntry(element);
    const QString path = folder + ServerLayout::filePath(entry.dir, entry.name);
    Manifest::FileIntegrity integrity;
    QString reason;
    if (!isPublishable(entry.dir, entry.name, &reason))
        return addProblem(path, tr("the updater would refuse the file: %1").arg(reason));
    if (!Manifest::readIntegrity(element, &integrity, &reason))
        return addProblem(path, reason);
    if (signatureChecked && !integrity.isComplete())
        addProblem(path, tr("its entry has no size and sha256, an updater with a key refuses the release"));

    Item file{Item::Kind::File, path, integrity.size, integrity.sha256, -1, {}, {}, -1, {}};
    listed.append(file);
    // The updater takes a smaller way only to a file it can check.
    if (!integrity.isComplete())
        return;
    const Manifest::Delivery delivery = Manifest::readDelivery(element);
    if (delivery.compressedSize >= 0)
        listed.append({Item::Kind::Compressed, ServerLayout::compressedPath(path), delivery.compressedSize, {},
                       integrity.size, integrity.sha256, {}, -1, {}});
    for (const Manifest::Delivery::Patch &patch : delivery.patches) {
        Item item{Item::Kind::Patch, ServerLayout::patchPath(path, patch.from), patch.size,
                  {}, integrity.size, integrity.sha256, {}, -1, patch.from};
        item.reference =
            earlierCopy(element.ownerDocument().documentElement(), entry, patch.from, &item.referenceSize);
        listed.append(item);
    }
}

void CheckList::addProblem(const QString &path, const QString &problem)
{
    found.append({path, problem});
}
