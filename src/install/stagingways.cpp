#include "stagingways.h"
#include "serverlayout.h"

#include <QCryptographicHash>

namespace {

// A compressed download lies apart from the staged files, named by its
// address, so that a later run can continue it.
QString partPath(const ApplicationLayout &layout, const QString &url)
{
    const QByteArray key = QCryptographicHash::hash(url.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return layout.partsDir() + QLatin1Char('/') + QString::fromLatin1(key);
}

} // namespace

StagingWay rawWay(const QString &url, const QString &path, const QString &shownName,
                  const Manifest::FileIntegrity &expected)
{
    return {url, path, shownName, expected, -1, false, QString(), QByteArray()};
}

QVector<StagingWay> waysTo(const PendingFile &file, const ApplicationLayout &layout, const QString &releaseUrl)
{
    const QString path = ServerLayout::filePath(file.dir, file.name);
    const QString staged = layout.stagedPath(file.dir, file.name);
    const auto compressedWay = [&](const QString &compressedPath, qint64 size) {
        const QString url = releaseUrl + compressedPath;
        return StagingWay{url, partPath(layout, url), compressedPath, {size, {}}, -1, true, QString(), QByteArray()};
    };
    QVector<StagingWay> ways;
    if (file.integrity.isComplete()) {
        for (const Manifest::Delivery::Patch &patch : file.delivery.patches) {
            StagingWay way = compressedWay(ServerLayout::patchPath(path, patch.from), patch.size);
            way.reference = layout.destinationPath(file.dir, file.name);
            way.from = patch.from;
            ways.append(way);
        }
        if (file.delivery.compressedSize >= 0)
            ways.append(compressedWay(ServerLayout::compressedPath(path), file.delivery.compressedSize));
    }
    ways.append(rawWay(releaseUrl + path, staged, path, file.integrity));
    return ways;
}
