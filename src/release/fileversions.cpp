#include "fileversions.h"
#include "entryname.h"
#include "manifest.h"
#include "serverfolder.h"
#include "serverlayout.h"

#include <QFile>

namespace {

bool sameContent(const QString &path, const QString &otherPath)
{
    QFile file(path);
    QFile other(otherPath);
    if (!file.open(QIODevice::ReadOnly) || !other.open(QIODevice::ReadOnly) || file.size() != other.size())
        return false;
    while (!file.atEnd()) {
        if (file.read(1 << 20) != other.read(1 << 20))
            return false;
    }
    return file.error() == QFileDevice::NoError && other.error() == QFileDevice::NoError;
}

} // namespace

PreviousRelease previousRelease(const QDomElement &root, const QString &serverRoot)
{
    const QString curVersion = Manifest::offeredVersion(root);
    QString reason;
    PreviousRelease previous;
    if (namesReleaseFolder(curVersion, &reason))
        previous.folder = onServer(serverRoot, ServerLayout::releaseFolder(curVersion));
    for (const QDomElement &file : Manifest::fileElements(Manifest::currentRelease(root, curVersion))) {
        const Manifest::FileEntry entry = Manifest::readEntry(file);
        const QString key = ServerLayout::filePath(entry.dir, entry.name);
        if (!previous.entries.contains(key))
            previous.entries.insert(key, file);
    }
    return previous;
}

QString fileVersion(const ReleaseFile &file, const QString &copy, const PreviousRelease &previous,
                    const QString &version)
{
    const QDomElement entry = previous.entries.value(file.path());
    const QString previousVersion = Manifest::readEntry(entry).version;
    if (previousVersion.isEmpty())
        return version;
    Manifest::FileIntegrity integrity;
    QString malformed;
    const bool hashed = Manifest::readIntegrity(entry, &integrity, &malformed) && !integrity.sha256.isEmpty();
    const bool unchanged = hashed
        ? integrity.sha256 == file.sha256 && (integrity.size < 0 || integrity.size == file.size)
        : !previous.folder.isEmpty() && sameContent(copy, previous.folder + QLatin1Char('/') + file.path());
    return unchanged ? previousVersion : version;
}
