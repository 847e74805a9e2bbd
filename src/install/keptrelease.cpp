#include "keptrelease.h"
#include "durablefiles.h"
#include "failedrelease.h"
#include "manifest.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString planIn(const QString &folder)
{
    return folder + QLatin1Char('/') + ApplicationLayout::bookkeepingFolderName() + QStringLiteral("/kept");
}

} // namespace

KeptRelease::KeptRelease(const ApplicationLayout &layout)
    : layout(layout)
    , keptLayout(layout.applicationDir(), layout.keptReleaseDir())
{
}

// The plan goes into the backup folder first, which then becomes the kept
// copy in one rename: there is never a kept copy without its plan.
bool KeptRelease::keep(const CommitJournal &done, const QByteArray &previousManifest) const
{
    CommitJournal restorePlan{Manifest::offeredVersion(Manifest::fromBytes(previousManifest).root()), done.files,
                              done.existed, done.createdDirs, previousManifest};
    for (int i = 0; i < restorePlan.files.size(); ++i)
        restorePlan.files[i].removed = !done.existed.at(i);
    const QString kept = layout.keptReleaseDir();
    remove();
    if (!restorePlan.write(planIn(layout.backupDir())) || !QDir().mkpath(QFileInfo(kept).path())
        || !QDir().rename(layout.backupDir(), kept))
        return false;
    flushDirectory(QFileInfo(kept).path());
    return true;
}

bool KeptRelease::exists() const
{
    return QFileInfo::exists(planIn(layout.keptReleaseDir()));
}

QString KeptRelease::version() const
{
    CommitJournal plan;
    return readPlan(&plan) ? plan.version : QString();
}

bool KeptRelease::readPlan(CommitJournal *plan) const
{
    return plan->read(planIn(layout.keptReleaseDir()));
}

bool KeptRelease::restore()
{
    CommitJournal plan;
    if (!readPlan(&plan)) {
        error = QStringLiteral("the kept release cannot be read");
        return false;
    }
    ReleaseCommit commit(keptLayout);
    commit.setStepHook(stepHook);
    if (!commit.commit(plan.version, plan.files, plan.localManifest)) {
        error = commit.errorString();
        return false;
    }
    removeAddedFolders(plan);
    return true;
}

QString KeptRelease::recover()
{
    CommitJournal plan;
    const bool planRead = readPlan(&plan);
    QString recovered = ReleaseCommit(keptLayout).recover();
    if (planRead && !QFileInfo::exists(layout.keptReleaseDir()))
        removeAddedFolders(plan);
    // A restore cut off before its journal left the release that failed in place.
    const QString installed = Manifest::offeredVersion(Manifest::read(layout.localManifest()).root());
    if (!exists() || !FailedRelease::isRecorded(layout, installed))
        return recovered;
    if (!restore())
        return QStringLiteral("could not put back %1 in place of %2, which failed: %3").arg(plan.version, installed, error);
    return QStringLiteral("put back %1 in place of %2, which failed").arg(plan.version, installed);
}

// Folders that only the new release's files made go with them; any other
// file in one keeps it.
void KeptRelease::removeAddedFolders(const CommitJournal &plan) const
{
    for (int i = plan.createdDirs.size() - 1; i >= 0; --i)
        QDir(layout.applicationDir()).rmdir(plan.createdDirs.at(i));
}

void KeptRelease::remove() const
{
    QDir(layout.keptReleaseDir()).removeRecursively();
}
