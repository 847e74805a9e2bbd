#include "optionchecks.h"
#include "entryname.h"
#include "refusal.h"
#include "zstdcompressor.h"

#include <QFileInfo>

bool checkVersion(const QString &version, QString *error)
{
    QString reason;
    if (!namesReleaseFolder(version, &reason))
        return refuse(error, QStringLiteral("\"%1\" cannot name a release folder: %2").arg(version, reason));
    return true;
}

bool checkCompression(const ReleaseOptions &options, QString *error)
{
    if (options.level < 1 || options.level > ZstdCompressor::maxLevel())
        return refuse(error, QStringLiteral("--level must be between 1 and %1").arg(ZstdCompressor::maxLevel()));
    if (options.patchesFrom < 0)
        return refuse(error, QStringLiteral("--patches-from must be 0 or more"));
    if (options.jobs < 0)
        return refuse(error, QStringLiteral("--jobs must be 0 or more"));
    if (options.expiresDays < 0 || options.expiresDays > maxExpiresDays)
        return refuse(error, QStringLiteral("--expires must be between 1 and %1 days").arg(maxExpiresDays));
    return true;
}

bool checkApart(const QString &releaseDir, const QString &releaseFolder, QString *error)
{
    const QString source = QFileInfo(releaseDir).canonicalFilePath() + QLatin1Char('/');
    const QString target = QFileInfo(releaseFolder).canonicalFilePath() + QLatin1Char('/');
    if (source.startsWith(target) || target.startsWith(source))
        return refuse(error, QStringLiteral("the release folder %1 and the folder %2 to publish hold one another")
                                 .arg(releaseFolder, releaseDir));
    return true;
}
