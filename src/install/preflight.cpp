#include "preflight.h"
#include "entrycheck.h"
#include "writeprobe.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QtConcurrent>

#include <algorithm>
#include <functional>

namespace {

bool failNotWritable(const ApplicationLayout &layout, const QString &path, const QString &reason, UpdateError *error)
{
    const QString relative = QDir(layout.applicationDir()).relativeFilePath(path);
    *error = UpdateError(UpdateError::Kind::NotInstalled,
                         FailureCause(FailureCause::Kind::NotWritable,
                                      relative == QLatin1String(".") ? QString() : relative),
                         reason);
    return false;
}

// Each folder the commit writes in (the nearest existing one for a new
// folder) and each file it replaces; one look at each destination. Where
// another side applies the release, only the user's staging folder.
bool mayWriteEverywhere(const ApplicationLayout &layout, const ReleasePlan &plan, UpdateError *error)
{
    QString reason;
    if (layout.appliedForUser()) {
        if (QDir().mkpath(layout.downloadDir()) && canCreateFileIn(layout.downloadDir(), &reason))
            return true;
        return failNotWritable(layout, layout.downloadDir(), reason, error);
    }
    QStringList folders{layout.applicationDir(), layout.downloadDir()};
    QStringList replaced;
    for (const PendingFile &file : plan.files) {
        const QFileInfo destination(layout.destinationPath(file.dir, file.name));
        QString folder = destination.path();
        while (!QFileInfo(folder).isDir() && folder.size() > layout.applicationDir().size())
            folder = QFileInfo(folder).path();
        if (!folders.contains(folder))
            folders << folder;
        if (destination.isFile())
            replaced << destination.filePath();
    }
    for (const QString &folder : qAsConst(folders)) {
        if (!canCreateFileIn(folder, &reason))
            return failNotWritable(layout, folder, reason, error);
    }
    for (const QString &path : qAsConst(replaced)) {
        if (!mayReplaceFile(path, &reason))
            return failNotWritable(layout, path, reason, error);
    }
    return true;
}

// A disk that fills up half-way fails the update after the whole download; a
// release that cannot fit is not fetched at all. What an earlier run staged
// counts as there (and is noted for staging), and each compressed copy in
// flight lies beside its decoded file for a moment.
bool hasRoomForRelease(const ApplicationLayout &layout, ReleasePlan *plan, UpdateError *error)
{
    qint64 needed = Preflight::spaceMargin;
    QVector<qint64> compressed;
    for (PendingFile &file : plan->files) {
        if (file.integrity.size < 0)
            continue;
        const QFileInfo staged(layout.stagedPath(file.dir, file.name));
        file.stagedSize = staged.exists() ? staged.size() : -1;
        needed += file.integrity.size - qBound<qint64>(0, file.stagedSize, file.integrity.size);
        qint64 largest = file.delivery.compressedSize;
        for (const Manifest::Delivery::Patch &patch : file.delivery.patches)
            largest = qMax(largest, patch.size);
        if (largest > 0)
            compressed.append(largest);
    }
    std::sort(compressed.begin(), compressed.end(), std::greater<qint64>());
    for (int i = 0; i < compressed.size() && i < Preflight::mostCompressedAtOnce; ++i)
        needed += compressed.at(i);
    const QStorageInfo volume(layout.applicationDir());
    if (!volume.isValid() || volume.bytesAvailable() >= needed)
        return true;
    *error = UpdateError(UpdateError::Kind::NotInstalled,
                         FailureCause(FailureCause::Kind::NoSpace, QString(), needed - volume.bytesAvailable()),
                         QStringLiteral("the release needs %1 bytes, %2 are free on %3")
                             .arg(needed).arg(volume.bytesAvailable()).arg(volume.rootPath()));
    return false;
}

// Each folder once, and only inside the download directory.
bool makeStagingFolders(const ApplicationLayout &layout, const ReleasePlan &plan, UpdateError *error)
{
    QStringList folders{layout.partsDir()};
    QSet<QString> seen;
    for (const PendingFile &file : plan.files) {
        const QString folder = QFileInfo(layout.stagedPath(file.dir, file.name)).path();
        if (!seen.contains(folder)) {
            seen.insert(folder);
            folders << folder;
        }
    }
    QString reason;
    for (const QString &folder : qAsConst(folders)) {
        if (!makeFolderInside(layout.downloadDir(), folder, &reason)) {
            *error = UpdateError(UpdateError::Kind::NotInstalled, FailureCause::ofWriteFailure(layout.downloadDir()),
                                 reason);
            return false;
        }
    }
    return true;
}

} // namespace

Preflight::Preflight(const ApplicationLayout &layout, bool keyed, QObject *parent)
    : QObject(parent)
    , layout(layout)
    , keyed(keyed)
{
    connect(&watcher, &QFutureWatcher<Result>::finished, this, [this] {
        result = watcher.result();
        emit finished();
    });
}

void Preflight::start(const QString &version, const QStringList &dirs, const QStringList &names)
{
    watcher.setFuture(QtConcurrent::run(&Preflight::run, layout, keyed, version, dirs, names));
}

Preflight::Result Preflight::run(const ApplicationLayout &layout, bool keyed, const QString &version,
                                 const QStringList &dirs, const QStringList &names)
{
    Result result;
    if (layout.appliedForUser() && !keyed) {
        // What it would apply with more rights than the user's, nothing vouches for.
        result.error = UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::NotWritable),
                                   QStringLiteral("a build without a publisher's key updates no folder for all users"));
        return result;
    }
    if (readReleasePlan(layout, version, dirs, names, keyed, &result.plan, &result.error)
        && mayWriteEverywhere(layout, result.plan, &result.error)
        && hasRoomForRelease(layout, &result.plan, &result.error))
        makeStagingFolders(layout, result.plan, &result.error);
    return result;
}
