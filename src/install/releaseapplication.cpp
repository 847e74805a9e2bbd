#include "releaseapplication.h"
#include "commitstep.h"
#include "folderlock.h"
#include "releaseintake.h"

#include <QDir>

ReleaseApplication::ReleaseApplication(const QString &applicationDir, const QString &ownDir,
                                       const QByteArray &publicKeys)
    : ownDir(ownDir)
    , layout(layoutFor(applicationDir, ownDir))
    , publicKeys(publicKeys)
{
}

ApplicationLayout ReleaseApplication::layoutFor(const QString &applicationDir, const QString &ownDir)
{
    return ApplicationLayout(applicationDir, ownDir + QStringLiteral("/staging"));
}

UpdateError ReleaseApplication::apply(const QString &stagedDir)
{
    FolderLock lock(ownDir + QLatin1Char('/') + lockName());
    const FolderLock::Result locked = QDir().mkpath(ownDir) ? lock.tryLock() : FolderLock::Result::NotPossible;
    if (locked == FolderLock::Result::HeldByAnother)
        return UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::Other),
                           QStringLiteral("another release is being applied"));
    if (locked != FolderLock::Result::Taken)
        return UpdateError(UpdateError::Kind::NotInstalled, FailureCause(FailureCause::Kind::CannotWrite, ownDir),
                           QStringLiteral("%1 cannot be written").arg(ownDir));
    ReleaseCommit commit(layout);
    recovery = commit.recover();
    ReleasePlan plan;
    UpdateError error;
    if (!ReleaseIntake(stagedDir, layout, publicKeys).take(&plan, &error))
        return error;
    QVector<ReleaseCommit::File> files;
    for (const PendingFile &file : qAsConst(plan.files))
        files.append({file.dir, file.name});
    if (!commit.commit(plan.version, files, plan.localManifest))
        return CommitStep::errorOf(commit, layout);
    return UpdateError();
}
