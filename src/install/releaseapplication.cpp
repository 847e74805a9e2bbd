#include "releaseapplication.h"
#include "commitstep.h"
#include "failedrelease.h"
#include "folderlock.h"
#include "keptrelease.h"
#include "manifest.h"
#include "releaseintake.h"

#include <QDir>

namespace {

UpdateError notDone(const QString &technical)
{
    return UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::Other), technical);
}

} // namespace

ReleaseApplication::ReleaseApplication(const QString &applicationDir, const QString &ownDir,
                                       const QByteArray &publicKeys)
    : ownDir(ownDir)
    , layout(ApplicationLayout::appliedFrom(applicationDir, ownDir))
    , publicKeys(publicKeys)
{
}

UpdateError ReleaseApplication::begin(FolderLock *lock)
{
    const FolderLock::Result locked = QDir().mkpath(ownDir) ? lock->tryLock() : FolderLock::Result::NotPossible;
    if (locked == FolderLock::Result::HeldByAnother)
        return notDone(QStringLiteral("another release is being applied"));
    if (locked != FolderLock::Result::Taken)
        return UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::CannotWrite, ownDir),
                           QStringLiteral("%1 cannot be written").arg(ownDir));
    recovery = ReleaseCommit(layout).recover();
    const QString restored = KeptRelease(layout).recover();
    recovery += (recovery.isEmpty() || restored.isEmpty() ? QString() : QStringLiteral("; ")) + restored;
    return UpdateError();
}

UpdateError ReleaseApplication::apply(const QString &stagedDir, const QByteArray &trialKey)
{
    FolderLock lock(ownDir + QLatin1Char('/') + lockName());
    UpdateError error = begin(&lock);
    if (error.failed())
        return error;
    KeptRelease(layout).remove();
    ReleasePlan plan;
    if (!ReleaseIntake(stagedDir, layout, publicKeys).take(&plan, &error))
        return error;
    QVector<ReleaseCommit::File> files;
    for (const PendingFile &file : qAsConst(plan.files))
        files.append({file.dir, file.name});
    ReleaseCommit commit(layout);
    commit.setKeepPrevious(!trialKey.isEmpty());
    if (!commit.commit(plan.version, files, plan.localManifest))
        return CommitStep::errorOf(commit, layout);
    // Unclaimed, the copy cannot be put back; the next update removes it.
    if (!trialKey.isEmpty() && !KeptRelease(layout).claim(trialKey))
        KeptRelease(layout).remove();
    return UpdateError();
}

UpdateError ReleaseApplication::restorePrevious(const QByteArray &trialKey)
{
    FolderLock lock(ownDir + QLatin1Char('/') + lockName());
    const UpdateError error = begin(&lock);
    if (error.failed())
        return error;
    KeptRelease kept(layout);
    if (!kept.isClaimedBy(trialKey))
        return notDone(QStringLiteral("no release is kept for this trial key"));
    const QString failed = Manifest::offeredVersion(Manifest::read(layout.localManifest()).root());
    // Recorded first: a restore that recovery finishes leaves it refused too.
    if (!FailedRelease::record(layout, failed))
        return notDone(QStringLiteral("%1 cannot be recorded as failed").arg(failed));
    if (!kept.restore())
        return notDone(kept.errorString());
    return UpdateError();
}

UpdateError ReleaseApplication::dropPrevious(const QByteArray &trialKey)
{
    FolderLock lock(ownDir + QLatin1Char('/') + lockName());
    const UpdateError error = begin(&lock);
    if (error.failed())
        return error;
    KeptRelease kept(layout);
    if (!kept.isClaimedBy(trialKey))
        return notDone(QStringLiteral("no release is kept for this trial key"));
    kept.remove();
    return UpdateError();
}
