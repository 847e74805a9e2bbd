#include "releaselisting.h"
#include "entryname.h"
#include "refusal.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

namespace {

// Windows cannot hold two names that differ only in letter case, whether
// files or folders, so every folder on the way counts too.
bool checkCaseClash(const QString &path, QHash<QString, QString> *byFoldedPath, QString *error)
{
    for (int end = path.indexOf(QLatin1Char('/')); ; end = path.indexOf(QLatin1Char('/'), end + 1)) {
        const QString part = path.left(end);
        const QString seen = byFoldedPath->value(part.toCaseFolded());
        if (!seen.isNull() && seen != part)
            return refuse(error, QStringLiteral("\"%1\" and \"%2\" differ only in letter case; Windows cannot "
                                                "hold both").arg(seen, part));
        byFoldedPath->insert(part.toCaseFolded(), part);
        if (end < 0)
            return true;
    }
}

} // namespace

bool listRelease(const QString &releaseDir, QVector<ReleaseFile> *files, QString *error)
{
    if (!QFileInfo(releaseDir).isDir())
        return refuse(error, QStringLiteral("the release folder %1 does not exist").arg(releaseDir));
    const QDir root(QFileInfo(releaseDir).absoluteFilePath());
    QStringList paths;
    // Linked folders are part of the release too; the iterator skips link loops.
    QDirIterator it(root.path(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext())
        paths.append(root.relativeFilePath(it.next()));
    if (paths.isEmpty())
        return refuse(error, QStringLiteral("the release folder %1 holds no files").arg(releaseDir));
    paths.sort();
    QHash<QString, QString> byFoldedPath;
    for (const QString &path : paths) {
        const int slash = path.lastIndexOf(QLatin1Char('/'));
        ReleaseFile file;
        file.dir = path.left(slash + 1);
        file.name = path.mid(slash + 1);
        QString reason;
        if (!isPublishable(file.dir, file.name, &reason))
            return refuse(error, QStringLiteral("the updater would refuse the file \"%1\": %2").arg(path, reason));
        if (!checkCaseClash(path, &byFoldedPath, error))
            return false;
        files->append(file);
    }
    return true;
}
